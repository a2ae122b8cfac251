#pragma once
// The web request form window: a browser filling the window above a "Kapat" button.
// Whoever opens it sets the caption and the address.
#include <QDialog>

class QPushButton;
class QWebEngineView;
class QWidget;

class Tformistekyeni : public QDialog {
    Q_OBJECT
public:
    explicit Tformistekyeni(QWidget *parent = nullptr);
    ~Tformistekyeni() override;

    // Caption and address in one step.
    void Ac(const QString &baslik, const QString &adres);

    QWebEngineView *sitem = nullptr;
    QWidget *Panel1 = nullptr;
    QPushButton *Button1 = nullptr;

public Q_SLOTS:
    void Button1Click();
};

#include "formistekyeniu.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

Tformistekyeni::Tformistekyeni(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("formistekyeni"));
    resize(780, 555);
    auto *kok = new QVBoxLayout(this);
    kok->setContentsMargins(0, 0, 0, 0);
    kok->setSpacing(0);

    sitem = new QWebEngineView(this);
    sitem->setObjectName(QStringLiteral("sitem"));
    kok->addWidget(sitem, 1);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *alt = new QHBoxLayout(Panel1);
    alt->setContentsMargins(6, 6, 6, 6);
    alt->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("Kapat"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    alt->addWidget(Button1);
    kok->addWidget(Panel1);
    connect(Button1, &QPushButton::clicked, this, &Tformistekyeni::Button1Click);

    if (QScreen *ekran = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(ekran->availableGeometry().center());
        move(r.topLeft());
    }
}

Tformistekyeni::~Tformistekyeni() = default;

void Tformistekyeni::Ac(const QString &baslik, const QString &adres)
{
    setWindowTitle(baslik);
    sitem->setUrl(QUrl(adres));
}

void Tformistekyeni::Button1Click()
{
    close();
}

#pragma once
// The login window: chooses the server, learns the external address, asks the server
// for the record of this computer and admits the user when the typed name and password
// equal the record's. Shown modally before the main window ever appears; it closes with
// QDialog::Accepted only when the session record is filled, and ends the process itself
// on "Vazgeç", on another client version and for a computer the server does not know.
#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMovie;
class QPushButton;
class TSonucBilgisi;
namespace platform {
class TSQLConnection;
}

class Tgirisform : public QDialog {
    Q_OBJECT
public:
    // Without a parent window: the login has its own task-bar entry while the main window
    // is not shown yet.
    explicit Tgirisform(QWidget *parent = nullptr);
    ~Tgirisform() override;

    // Set by the caller before showing: the main window's connection and its session
    // record itself (the login writes into it).
    platform::TSQLConnection *bagim = nullptr;
    TSonucBilgisi *Bilgim = nullptr;
    // The computer identifier sent to the server, computed at creation.
    QString idsi;

    QLabel *Image1 = nullptr;
    QLabel *adreslbl = nullptr;
    QCheckBox *benihatirla = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *adi = nullptr;
    QLineEdit *sifre = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    // The busy animation beside the buttons, hidden while idle.
    QLabel *RxGIFAnimator1 = nullptr;

    // The settings file of the remembered login in the data folder.
    static QString AyarDosyasi();

    // Steps of the login, each on the UI thread.
    void Devamet(const QString &disip);
    void HatirlananlariYukle();
    void HatirlananlariKaydet();
    // The external address; blocks until the service answers, so it runs in the background.
    static QString DisIpAl();

public Q_SLOTS:
    void Button1Click();
    void Button2Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void FormCreate();
    bool adiKeyDown(QKeyEvent *event);
    bool sifreKeyDown(QKeyEvent *event);
    void animasyon(bool calissin);
    void girisiAc();
    void adiSec();
    void bosUyari(const QString &metin, QLineEdit *kutu);
    // The login call on a clone of bagim (background); true when the record arrived.
    static bool GirisCagrisi(platform::TSQLConnection &klon, TSonucBilgisi &bilgi, const QString &idsi);
    // Where the login hands over and never comes back.
    [[noreturn]] void GuncellemeAc(int surum);
    [[noreturn]] void IstekFormuAc();
    void CariSec();

    QMovie *m_bekle = nullptr;
};

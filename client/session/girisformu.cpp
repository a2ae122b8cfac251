#include "girisformu.h"

#include "baglantiu.h"
#include "beklesinu.h"
#include "buildconfig.h"
#include "dialogs.h"
#include "disip.h"
#include "exception.h"
#include "formistekyeniu.h"
#include "inidosyasi.h"
#include "proxim.h"
#include "shell.h"
#include "sqlconnection.h"
#include "utils.h"
#include "utilsmachine.h"

#include <QCheckBox>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString Bolum = QStringLiteral("kullanici");
const QString AnahtarIsim = QStringLiteral("isim");
const QString AnahtarSifre = QStringLiteral("sifre");
const QString AnahtarHatirla = QStringLiteral("hatırla");

const QString HataliGiris = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");

QString resimAdresiOf(const QString &webAdresi)
{
    return webAdresi + QStringLiteral("resimgoster.ashx?id=");
}

// The boxes show every input in upper case, also text set from the settings file.
void buyukHarfYap(QLineEdit *kutu)
{
    QObject::connect(kutu, &QLineEdit::textChanged, kutu, [kutu](const QString &metin) {
        const QString buyuk = metin.toUpper();
        if (buyuk == metin)
            return;
        const int imlec = kutu->cursorPosition();
        kutu->setText(buyuk);
        kutu->setCursorPosition(qMin(imlec, int(buyuk.size())));
    });
}

bool enterMi(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

QLabel *kirmiziEtiket(const QString &metin, QWidget *ust, const char *ad)
{
    auto *l = new QLabel(metin, ust);
    l->setObjectName(QLatin1String(ad));
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(226, 10, 23));
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    return l;
}

} // namespace

Tgirisform::Tgirisform(QWidget *parent)
    // A plain window, not a dialog: window managers keep dialogs off the task bar and tie
    // them to a leader window, while the login must be found on its own.
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));
    QFont yazi(QStringLiteral("Tahoma"));
    yazi.setPixelSize(13);
    yazi.setBold(true);
    setFont(yazi);
    setFixedSize(368, 550);

    auto *kok = new QVBoxLayout(this);
    kok->setContentsMargins(24, 24, 24, 12);
    // The wholesaler's logo on the background, when the program carries it.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    const QPixmap logo(QStringLiteral(":/korvel/logo.png"));
    if (!logo.isNull()) {
        Image1->setPixmap(logo.scaledToWidth(280, Qt::SmoothTransformation));
        Image1->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 230); border-radius: 6px; padding: 6px;"));
    }
    kok->addStretch(2);
    kok->addWidget(Image1);
    kok->addStretch(2);

    auto *izgara = new QGridLayout;
    izgara->setHorizontalSpacing(6);
    izgara->setVerticalSpacing(8);
    Label1 = kirmiziEtiket(QStringLiteral(" Kullanıcı Adı:"), this, "Label1");
    Label2 = kirmiziEtiket(QStringLiteral(" Şifre:"), this, "Label2");
    adi = new QLineEdit(this);
    adi->setObjectName(QStringLiteral("adi"));
    sifre = new QLineEdit(this);
    sifre->setObjectName(QStringLiteral("sifre"));
    sifre->setEchoMode(QLineEdit::Password);
    buyukHarfYap(adi);
    buyukHarfYap(sifre);
    izgara->addWidget(Label1, 0, 0);
    izgara->addWidget(adi, 0, 1);
    izgara->addWidget(Label2, 1, 0);
    izgara->addWidget(sifre, 1, 1);

    benihatirla = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    benihatirla->setObjectName(QStringLiteral("benihatirla"));
    benihatirla->setChecked(true);
    benihatirla->setStyleSheet(QStringLiteral("QCheckBox { color: white; }"));
    izgara->addWidget(benihatirla, 2, 1);
    kok->addLayout(izgara);

    auto *dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("Giriş"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    RxGIFAnimator1 = new QLabel(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setFixedSize(28, 28);
    m_bekle = new QMovie(QStringLiteral(":/korvel/bekle.gif"), QByteArray(), this);
    m_bekle->setScaledSize(QSize(28, 28));
    RxGIFAnimator1->setMovie(m_bekle);
    RxGIFAnimator1->hide();
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addWidget(RxGIFAnimator1);
    kok->addLayout(dugmeler);
    kok->addStretch(4);

    adreslbl = new QLabel(QStringLiteral("Korvel Oto Yedek Parça San. ve Tic. A.Ş.\n"
                                         "Oto Sanayi Sitesi 12. Blok No: 7\n"
                                         "Osmangazi / BURSA\n"
                                         "Tel: (0224) 555 01 02"),
                          this);
    adreslbl->setObjectName(QStringLiteral("adreslbl"));
    adreslbl->setAlignment(Qt::AlignCenter);
    QFont adresYazi(QStringLiteral("Arial"));
    adresYazi.setPixelSize(15);
    adresYazi.setBold(true);
    adreslbl->setFont(adresYazi);
    adreslbl->setStyleSheet(QStringLiteral("color: black;"));
    auto *golge = new QGraphicsDropShadowEffect(adreslbl);
    golge->setColor(Qt::white);
    golge->setOffset(1, 1);
    golge->setBlurRadius(0);
    adreslbl->setGraphicsEffect(golge);
    kok->addWidget(adreslbl);

    // Enter is ours in both boxes; the buttons never act as the dialog's default.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    adi->installEventFilter(this);
    sifre->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &Tgirisform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tgirisform::Button2Click);

    if (QScreen *ekran = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(ekran->availableGeometry().center());
        move(r.topLeft());
    }
    setFocusProxy(adi);
    adi->setFocus();

    FormCreate();
}

Tgirisform::~Tgirisform() = default;

void Tgirisform::FormCreate()
{
    SetSunucuAdresi(QString::fromUtf8(buildconfig::ServerHost));
    SetWebAdresi(QString::fromUtf8(buildconfig::WebBaseAddress));
    SetResimAdresi(resimAdresiOf(QString::fromUtf8(buildconfig::WebBaseAddress)));
    idsi = BilgisayarIdAl();
    HatirlananlariYukle();
}

QString Tgirisform::AyarDosyasi()
{
    return VeriKlasoruAl() + QStringLiteral("/ayar.ini");
}

void Tgirisform::HatirlananlariYukle()
{
    IniDosyasi ini;
    // A missing or malformed file leaves the window as it was created.
    if (!ini.Yukle(AyarDosyasi()))
        return;
    benihatirla->setChecked(ini.OkuMantiksal(Bolum, AnahtarHatirla, true));
    if (benihatirla->isChecked()) {
        adi->setText(ini.OkuMetin(Bolum, AnahtarIsim));
        sifre->setText(ini.OkuMetin(Bolum, AnahtarSifre));
    }
}

void Tgirisform::HatirlananlariKaydet()
{
    IniDosyasi ini;
    const QString yol = AyarDosyasi();
    ini.Yukle(yol); // other keys of the file survive; a malformed file is replaced
    ini.YazMetin(Bolum, AnahtarIsim, adi->text());
    ini.YazMetin(Bolum, AnahtarSifre, sifre->text());
    ini.YazMantiksal(Bolum, AnahtarHatirla, benihatirla->isChecked());
    ini.Kaydet(yol);
}

QString Tgirisform::DisIpAl()
{
    return DisIpSorgula(DisIpAdresi());
}

// ------------------------------------------------------------------ keys

bool Tgirisform::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *tus = static_cast<QKeyEvent *>(event);
        if (watched == adi)
            return adiKeyDown(tus);
        if (watched == sifre)
            return sifreKeyDown(tus);
    }
    return QDialog::eventFilter(watched, event);
}

void Tgirisform::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the login: its only ways out are the buttons and the close box.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tgirisform::bosUyari(const QString &metin, QLineEdit *kutu)
{
    platform::MessageBeep(platform::BeepType::Hand);
    // The platform's standard warning dialog, not MesajGoster: no sound of its own.
    std::unique_ptr<QMessageBox> dlg(platform::CreateMessageDialog(metin, platform::MessageKind::Warning,
                                                                   platform::MessageButton::Ok));
    dlg->setWindowTitle(QStringLiteral("Uyarı"));
    if (QPushButton *ok = platform::DialogButton(*dlg, platform::MessageButton::Ok)) {
        ok->setText(QStringLiteral("Tamam"));
        dlg->setDefaultButton(ok);
    }
    platform::ExecMessageDialog(*dlg);
    kutu->selectAll();
    kutu->setFocus();
}

bool Tgirisform::adiKeyDown(QKeyEvent *event)
{
    if (!enterMi(event))
        return false;
    if (adi->text().trimmed().isEmpty()) {
        bosUyari(QStringLiteral("Lütfen kullanıcı adını giriniz !"), adi);
        return true;
    }
    sifre->selectAll();
    sifre->setFocus();
    return true;
}

bool Tgirisform::sifreKeyDown(QKeyEvent *event)
{
    if (!enterMi(event))
        return false;
    if (sifre->text().trimmed().isEmpty()) {
        bosUyari(QStringLiteral("Lütfen kullanıcı şifresini giriniz !"), sifre);
        return true;
    }
    Button1Click();
    return true;
}

// ------------------------------------------------------------------ buttons

void Tgirisform::Button2Click()
{
    platform::TerminateProcessNow(0);
}

void Tgirisform::Button1Click()
{
    if (!Button1->isEnabled())
        return; // Enter in the password box while a login is under way
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    animasyon(true);

    struct Adres {
        QString disip;
        bool lan = false;
    };
    auto adres = std::make_shared<Adres>();
    QPointer<Tgirisform> form(this);
    Async([adres] {
        adres->disip = DisIpAl();
        adres->lan = adres->disip == OfisAdresi();
    })->Await([form, adres] {
        if (!form)
            return;
        if (adres->lan) {
            SetSunucuAdresi(QString::fromUtf8(buildconfig::LanHost));
            SetWebAdresi(QString::fromUtf8(buildconfig::LanWebBaseAddress));
            SetResimAdresi(resimAdresiOf(QString::fromUtf8(buildconfig::LanWebBaseAddress)));
        }
        form->Button1->setText(QStringLiteral("Giriş!"));
        form->animasyon(false);
        form->Devamet(adres->disip);
    });
}

void Tgirisform::animasyon(bool calissin)
{
    RxGIFAnimator1->setVisible(calissin);
    if (calissin)
        m_bekle->start();
    else
        m_bekle->stop();
}

void Tgirisform::girisiAc()
{
    Button1->setEnabled(true);
}

void Tgirisform::adiSec()
{
    adi->selectAll();
    adi->setFocus();
}

void Tgirisform::Devamet(const QString &disip)
{
    if (disip.trimmed().isEmpty()) {
        MesajGoster(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !"), platform::MessageKind::Error,
                    platform::MessageButton::Ok, platform::MessageButton::Ok);
        girisiAc();
        return;
    }
    Bilgim->SetDisip(disip);
    bagim->SetHostName(SunucuAdresi());

    // The clone has its own socket, so the background never touches bagim itself.
    std::shared_ptr<platform::TSQLConnection> klon(bagim->Clone().release());
    auto basarili = std::make_shared<bool>(false);
    TSonucBilgisi *bilgi = Bilgim;
    const QString id = idsi;
    QPointer<Tgirisform> form(this);
    Async([klon, bilgi, id, basarili] { *basarili = GirisCagrisi(*klon, *bilgi, id); })->Await([form, basarili] {
        if (!form)
            return;
        form->animasyon(false);
        if (!*basarili) {
            MesajGoster(QStringLiteral("Bağlantı Kurulamadı !"), platform::MessageKind::Error,
                        platform::MessageButton::Ok, platform::MessageButton::Ok);
            form->girisiAc();
            form->adiSec();
            return;
        }
        TSonucBilgisi &b = *form->Bilgim;
        if (b.Version() != buildconfig::ClientVersion)
            form->GuncellemeAc(b.Version());
        if (!b.Varmi())
            form->IstekFormuAc();
        if (form->adi->text() == b.ADI() && form->sifre->text() == b.SIFRE()) {
            // Saved before the AKTIF check: an inactive user's name is remembered too.
            form->HatirlananlariKaydet();
            if (b.AKTIF() == 1) {
                if (b.MusteriTipi() == 1 || b.MusteriTipi() == 2)
                    form->CariSec();
                form->done(QDialog::Accepted);
                return;
            }
        }
        MesajGoster(HataliGiris, platform::MessageKind::Warning, platform::MessageButton::Ok,
                    platform::MessageButton::Ok);
        form->girisiAc();
        form->adiSec();
    });
}

bool Tgirisform::GirisCagrisi(platform::TSQLConnection &klon, TSonucBilgisi &bilgi, const QString &idsi)
{
    if (!BaglantiAc(klon, false))
        return false;
    try {
        TServerMethods1Client proxy(&klon);
        const TSonucBilgisi *cevap = proxy.BuyukGetir(idsi);
        if (!cevap)
            throw platform::Exception(QStringLiteral("Sunucu oturum bilgisi döndürmedi."));
        bilgi.Kopyala(*cevap);
    } catch (const platform::Exception &) {
        klon.Close();
        return false;
    }
    klon.Close();

    bilgi.SetBilgiSayarAdi(BilgisayarAdiAl());
    bilgi.SetBilgisayarKullanici(KullaniciAdiAl());
    bilgi.SetIcip(IcIpAl());
    bilgi.SetBILGISAYARID(BilgisayarIdAl());
    bilgi.SetDisip(DisIpAl());
    return true;
}

// ------------------------------------------------------------------ hand-overs

void Tgirisform::GuncellemeAc(int surum)
{
    // The self-update window takes over here once it exists; it always ends the process.
    Q_UNUSED(surum);
    platform::TerminateProcessNow(0);
}

void Tgirisform::IstekFormuAc()
{
    // The identifier goes into the query as it is; percent-encoding leaves the letters,
    // digits and dashes of an identifier unchanged and keeps any odd character inside it.
    const QString adres = WebAdresi() + QStringLiteral("formmailgonder.aspx?carino=0&kullanici= &id=")
                          + QString::fromLatin1(QUrl::toPercentEncoding(BilgisayarIdAl()));
    {
        Tformistekyeni istek;
        istek.Ac(QStringLiteral("Korvel Oto Yedek Parça B2B İstek Formu"), adres);
        istek.exec();
    }
    platform::TerminateProcessNow(0);
}

void Tgirisform::CariSec()
{
    // Staff choose the account to act for on the customer desk once it exists; until then
    // the login goes on with the account the server's record names.
}

void Tgirisform::paintEvent(QPaintEvent *event)
{
    // The background picture: the wholesaler's colours from dark to red.
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0.0, QColor(40, 44, 52));
    g.setColorAt(0.6, QColor(61, 65, 74));
    g.setColorAt(1.0, QColor(226, 10, 23));
    p.fillRect(rect(), g);
    QDialog::paintEvent(event);
}

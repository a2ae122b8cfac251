// The login window against the real substitute server: remembered credentials, the Enter
// keys, the credential check, the LAN switch and the ways the login ends the process
// (each run in a child process whose exit code is checked).
#include "baglantiu.h"
#include "beklesinu.h"
#include "buildconfig.h"
#include "childprocess.h"
#include "dialogs.h"
#include "disip.h"
#include "formistekyeniu.h"
#include "girisformu.h"
#include "inidosyasi.h"
#include "modaldialog.h"
#include "sahteipservisi.h"
#include "sqlconnection.h"
#include "testmain.h"
#include "utils.h"
#include "utilsmachine.h"

#include <QCheckBox>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

namespace {

const QString HataliGiris = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");
const char SenaryoDegiskeni[] = "KORVEL_GIRIS_SENARYO";

// A login window on a connection to the test's server, as the main window sets it up.
struct Giris {
    TSonucBilgisi bilgi;
    platform::TSQLConnection bag;
    std::unique_ptr<Tgirisform> form;

    Giris(int port, const QString &idsi)
    {
        bag.SetPort(QString::number(port));
        form = std::make_unique<Tgirisform>();
        form->bagim = &bag;
        form->Bilgim = &bilgi;
        form->idsi = idsi;
        form->show();
    }
    ~Giris()
    {
        form.reset();
        AsyncHavuzu()->waitForDone(20000);
    }
    void yaz(const QString &ad, const QString &sifre)
    {
        QTest::keyClicks(form->adi, ad);
        QTest::keyClicks(form->sifre, sifre);
    }
};

QString ayarYolu()
{
    return Tgirisform::AyarDosyasi();
}

} // namespace

class TstGirisForm : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    testsupport::ChildProcess m_server;
    QString m_ipAdresi;

    void senaryoCalistir(const QByteArray &senaryo);

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (qEnvironmentVariableIsSet(SenaryoDegiskeni)) {
            senaryoCalistir(qgetenv(SenaryoDegiskeni));
            std::fflush(stdout);
            std::_Exit(3); // the scenario came back: the process was not ended by the login
        }
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        const QString db = m_dir.filePath(QStringLiteral("b2b.sqlite"));
        QVERIFY2(m_server.start(QStringLiteral(KORVEL_SERVER_BIN),
                                {QStringLiteral("--db"), db, QStringLiteral("--port"), QStringLiteral("0"),
                                 QStringLiteral("--web-port"), QStringLiteral("0")}),
                 qPrintable(m_server.errorString()));

        // Users and computers the cases need; the server reads them on every call.
        {
            QSqlDatabase sql = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
            sql.setDatabaseName(db);
            QVERIFY(sql.open());
            QSqlQuery q(sql);
            const char *const komutlar[] = {
                "INSERT INTO kullanicilar (sirano, adi, sifre, musteritipi, aktif, surum) VALUES "
                "(901, 'ALI', 'SIFRE1', 0, 1, NULL), (902, 'VELI', 'S2', 0, 0, NULL), "
                "(903, 'ayse', 's3', 0, 1, NULL), (904, 'MURATT', 'M4', 2, 1, NULL), "
                "(905, 'ESKI', 'E5', 0, 1, 3)",
                "INSERT INTO bilgisayarlar (bilgisayarid, sirano) VALUES ('PC-OK', 901), ('PC-PASIF', 902), "
                "('PC-KUCUK', 903), ('PC-PERSONEL', 904), ('PC-ESKI', 905)",
            };
            for (const char *k : komutlar)
                QVERIFY2(q.exec(QString::fromLatin1(k)), qPrintable(q.lastError().text()));
            sql.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
        m_ipAdresi = QStringLiteral("http://127.0.0.1:%1/ip").arg(m_server.webPort());
    }

    void init()
    {
        SetDisIpAdresi(m_ipAdresi);
        SetOfisAdresi(QString::fromUtf8(buildconfig::OfficeAddress));
        QFile::remove(ayarYolu());
    }

    void cleanupTestCase()
    {
        if (m_server.isRunning())
            m_server.stop();
    }

    void remembered_data()
    {
        QTest::addColumn<QByteArray>("dosya"); // empty: no file
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<bool>("isaretli");
        QTest::newRow("first start without ayar.ini") << QByteArray() << QString() << QString() << true;
        QTest::newRow("remembered") << QByteArray("[kullanici]\nisim=ALI\nsifre=SIFRE1\nhatırla=1\n")
                                    << QStringLiteral("ALI") << QStringLiteral("SIFRE1") << true;
        QTest::newRow("not remembered although stored")
            << QByteArray("[kullanici]\nisim=ALI\nsifre=SIFRE1\nhatırla=0\n") << QString() << QString() << false;
        QTest::newRow("missing check key counts as checked")
            << QByteArray("[kullanici]\nisim=ALI\n") << QStringLiteral("ALI") << QString() << true;
        QTest::newRow("malformed file counts as absent")
            << QByteArray("[kullanici]\nisim=ALI\nçöp satır\n\xff") << QString() << QString() << true;
    }

    void remembered()
    {
        QFETCH(QByteArray, dosya);
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(bool, isaretli);
        if (!dosya.isEmpty()) {
            QFile f(ayarYolu());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(dosya);
        }
        Tgirisform form;
        QCOMPARE(form.adi->text(), ad);
        QCOMPARE(form.sifre->text(), sifre);
        QCOMPARE(form.benihatirla->isChecked(), isaretli);
        QCOMPARE(form.sifre->echoMode(), QLineEdit::Password);
        QCOMPARE(form.windowTitle(), QStringLiteral("Giriş"));
        QCOMPARE(form.idsi, BilgisayarIdAl());
        QVERIFY(!form.RxGIFAnimator1->isVisibleTo(&form));
    }

    void login_data()
    {
        QTest::addColumn<QString>("idsi");
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<bool>("kabul");
        QTest::addColumn<bool>("kaydedildi");
        QTest::newRow("kind 0 with matching credentials closes with OK")
            << QStringLiteral("PC-OK") << QStringLiteral("ali") << QStringLiteral("sifre1") << true << true;
        QTest::newRow("wrong password") << QStringLiteral("PC-OK") << QStringLiteral("ali") << QStringLiteral("sifre2")
                                        << false << false;
        QTest::newRow("inactive user is warned but remembered")
            << QStringLiteral("PC-PASIF") << QStringLiteral("veli") << QStringLiteral("s2") << false << true;
        QTest::newRow("lower-case name on the server never matches")
            << QStringLiteral("PC-KUCUK") << QStringLiteral("ayse") << QStringLiteral("s3") << false << false;
        QTest::newRow("staff go on with the account of the record")
            << QStringLiteral("PC-PERSONEL") << QStringLiteral("muratt") << QStringLiteral("m4") << true << true;
    }

    void login()
    {
        QFETCH(QString, idsi);
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(bool, kabul);
        QFETCH(bool, kaydedildi);

        Giris g(m_server.port(), idsi);
        g.yaz(ad, sifre);
        QCOMPARE(g.form->adi->text(), ad.toUpper()); // the boxes turn input into upper case
        QCOMPARE(g.form->sifre->text(), sifre.toUpper());

        testsupport::ModalDialogHelper dialogs(20000);
        if (!kabul)
            dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Uyarı"), HataliGiris);
        g.form->Button1->click();
        QCOMPARE(g.form->Button1->text(), QStringLiteral("Bağlanıyor..."));
        QVERIFY(!g.form->Button1->isEnabled());
        QVERIFY(g.form->RxGIFAnimator1->isVisible());

        if (kabul) {
            QTRY_COMPARE_WITH_TIMEOUT(g.form->result(), int(QDialog::Accepted), 20000);
            QVERIFY(!g.form->isVisible());
            // No further window: nothing else is shown.
            for (QWidget *w : QApplication::topLevelWidgets())
                QVERIFY2(!w->isVisible(), qPrintable(w->metaObject()->className()));
            QCOMPARE(g.bilgi.ADI(), ad.toUpper());
            QVERIFY(g.bilgi.Varmi());
            QCOMPARE(g.bilgi.Disip(), QStringLiteral("127.0.0.1"));
            QCOMPARE(g.bilgi.BILGISAYARID(), BilgisayarIdAl());
            QCOMPARE(g.bilgi.BilgisayarKullanici(), KullaniciAdiAl());
            QCOMPARE(g.bag.HostName(), SunucuAdresi());
        } else {
            KORVEL_VERIFY_DIALOGS(dialogs);
            QVERIFY(g.form->Button1->isEnabled());
            QCOMPARE(g.form->Button1->text(), QStringLiteral("Giriş!"));
            QVERIFY(!g.form->RxGIFAnimator1->isVisible());
            QCOMPARE(g.form->result(), 0);
            QCOMPARE(g.form->focusWidget(), g.form->adi);
            QCOMPARE(g.form->adi->selectedText(), g.form->adi->text());
        }

        IniDosyasi ini;
        QCOMPARE(ini.Yukle(ayarYolu()), kaydedildi);
        if (kaydedildi) {
            QCOMPARE(ini.OkuMetin(QStringLiteral("kullanici"), QStringLiteral("isim")), ad.toUpper());
            QCOMPARE(ini.OkuMetin(QStringLiteral("kullanici"), QStringLiteral("sifre")), sifre.toUpper());
        }
    }

    void remembersOnlyWhenChecked()
    {
        {
            Giris g(m_server.port(), QStringLiteral("PC-OK"));
            g.yaz(QStringLiteral("ALI"), QStringLiteral("SIFRE1"));
            g.form->benihatirla->setChecked(false);
            g.form->Button1->click();
            QTRY_COMPARE_WITH_TIMEOUT(g.form->result(), int(QDialog::Accepted), 20000);
        }
        QFile f(ayarYolu());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray icerik = f.readAll();
        QVERIFY2(icerik.contains("[kullanici]\n") && icerik.contains("\nisim=ALI\n") && icerik.contains("\nsifre=SIFRE1\n")
                     && icerik.contains("\nhat\xc4\xb1rla=0\n"),
                 icerik.constData());

        Tgirisform sonraki;
        QVERIFY(sonraki.adi->text().isEmpty());
        QVERIFY(sonraki.sifre->text().isEmpty());
        QVERIFY(!sonraki.benihatirla->isChecked());
    }

    void enterKeys_data()
    {
        QTest::addColumn<QString>("kutu");
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<QString>("uyari");
        QTest::addColumn<QString>("odak");
        QTest::newRow("blank name warns") << "adi" << "   " << "" << "Lütfen kullanıcı adını giriniz !" << "adi";
        QTest::newRow("blank password warns") << "sifre" << "ALI" << " " << "Lütfen kullanıcı şifresini giriniz !"
                                              << "sifre";
        QTest::newRow("a name moves on to the password") << "adi" << "ALI" << "" << "" << "sifre";
    }

    void enterKeys()
    {
        QFETCH(QString, kutu);
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(QString, uyari);
        QFETCH(QString, odak);
        Giris g(m_server.port(), QStringLiteral("PC-OK"));
        g.form->adi->setText(ad);
        g.form->sifre->setText(sifre);
        QList<unsigned> sesler;
        platform::SetBeepHook([&sesler](unsigned t) { sesler.append(t); });

        testsupport::ModalDialogHelper dialogs;
        if (!uyari.isEmpty())
            dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Uyarı"), uyari);
        auto *hedef = g.form->findChild<QLineEdit *>(kutu);
        QVERIFY(hedef);
        QTest::keyClick(hedef, Qt::Key_Return);
        KORVEL_VERIFY_DIALOGS(dialogs);
        platform::SetBeepHook({});

        QCOMPARE(g.form->focusWidget(), g.form->findChild<QLineEdit *>(odak));
        // Nothing was sent: the login never started.
        QCOMPARE(g.form->Button1->text(), QStringLiteral("Giriş"));
        QVERIFY(g.form->Button1->isEnabled());
        QVERIFY(g.bilgi.Disip().isEmpty());
        QCOMPARE(sesler, uyari.isEmpty() ? QList<unsigned>() : QList<unsigned>{platform::BeepType::Hand});
        QVERIFY(g.form->isVisible());
    }

    void enterInPasswordLogsIn()
    {
        Giris g(m_server.port(), QStringLiteral("PC-OK"));
        g.yaz(QStringLiteral("ALI"), QStringLiteral("SIFRE1"));
        QTest::keyClick(g.form->sifre, Qt::Key_Enter);
        QCOMPARE(g.form->Button1->text(), QStringLiteral("Bağlanıyor..."));
        QTRY_COMPARE_WITH_TIMEOUT(g.form->result(), int(QDialog::Accepted), 20000);
    }

    void blankExternalAddress()
    {
        SahteIpServisi servis({{200, " \r\n"}});
        SetDisIpAdresi(servis.adres());
        Giris g(m_server.port(), QStringLiteral("PC-OK"));
        g.yaz(QStringLiteral("ALI"), QStringLiteral("SIFRE1"));
        testsupport::ModalDialogHelper dialogs(15000);
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"),
                       QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !"));
        g.form->Button1->click();
        KORVEL_VERIFY_DIALOGS(dialogs);
        QVERIFY(g.form->Button1->isEnabled());
        QCOMPARE(g.form->Button1->text(), QStringLiteral("Giriş!"));
        QCOMPARE(g.form->result(), 0);
        QVERIFY(g.bilgi.Disip().isEmpty());
    }

    void unreachableServer()
    {
        QTcpServer kapali;
        QVERIFY(kapali.listen(QHostAddress::LocalHost, 0));
        const int port = kapali.serverPort();
        kapali.close();
        Giris g(port, QStringLiteral("PC-OK"));
        g.yaz(QStringLiteral("ALI"), QStringLiteral("SIFRE1"));
        testsupport::ModalDialogHelper dialogs(15000);
        // The opener shows every attempt's own failure, then the login its one message.
        for (int i = 0; i < 11; ++i) {
            testsupport::DialogAnswer deneme;
            deneme.button = QStringLiteral("OK");
            deneme.text = QString::number(port);
            deneme.textContains = true;
            dialogs.expect(deneme);
        }
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("Bağlantı Kurulamadı !"));
        g.form->Button1->click();
        KORVEL_VERIFY_DIALOGS(dialogs);
        QVERIFY(g.form->Button1->isEnabled());
        QCOMPARE(g.form->Button1->text(), QStringLiteral("Giriş!"));
        QCOMPARE(g.form->focusWidget(), g.form->adi);
        QCOMPARE(g.bilgi.Disip(), QStringLiteral("127.0.0.1"));
        QVERIFY(!g.bilgi.Varmi());
        QVERIFY(!QFile::exists(ayarYolu()));
    }

    void officeAddressSwitchesToLan()
    {
        SahteIpServisi servis({{200, "198.51.100.9\n"}});
        SetDisIpAdresi(servis.adres());
        SetOfisAdresi(QStringLiteral("198.51.100.9"));
        Giris g(m_server.port(), QStringLiteral("PC-OK"));
        // Internet values that would not reach the test server: only the switch lets the login through.
        SetSunucuAdresi(QStringLiteral("internet.invalid"));
        SetWebAdresi(QStringLiteral("http://internet.invalid/"));
        SetResimAdresi(QStringLiteral("http://internet.invalid/resimgoster.ashx?id="));
        g.yaz(QStringLiteral("ALI"), QStringLiteral("SIFRE1"));
        g.form->Button1->click();
        QTRY_COMPARE_WITH_TIMEOUT(g.form->result(), int(QDialog::Accepted), 20000);
        const QString lanWeb = QString::fromUtf8(buildconfig::LanWebBaseAddress);
        QCOMPARE(SunucuAdresi(), QString::fromUtf8(buildconfig::LanHost));
        QCOMPARE(WebAdresi(), lanWeb);
        QCOMPARE(ResimAdresi(), lanWeb + QStringLiteral("resimgoster.ashx?id="));
        QCOMPARE(g.bag.HostName(), QString::fromUtf8(buildconfig::LanHost));
        QCOMPARE(g.bilgi.Disip(), QStringLiteral("198.51.100.9"));
    }

    void endsTheProcess_data()
    {
        QTest::addColumn<QByteArray>("senaryo");
        QTest::addColumn<QString>("cikti");
        QTest::newRow("Vazgeç while idle") << QByteArray("vazgec") << QString();
        QTest::newRow("Vazgeç while the external address is awaited") << QByteArray("vazgec-beklerken") << QString();
        QTest::newRow("another version goes to the update") << QByteArray("surum") << QString();
        QTest::newRow("unknown computer opens the request form")
            << QByteArray("bilinmeyen")
            << QStringLiteral("Korvel Oto Yedek Parça B2B İstek Formu|%1formmailgonder.aspx?carino=0&kullanici=%20&id=%2")
                   .arg(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.webPort()), BilgisayarIdAl());
    }

    void endsTheProcess()
    {
        QFETCH(QByteArray, senaryo);
        QFETCH(QString, cikti);
        QProcess cocuk;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(SenaryoDegiskeni), QString::fromLatin1(senaryo));
        env.insert(QStringLiteral("KORVEL_GIRIS_PORT"), QString::number(m_server.port()));
        env.insert(QStringLiteral("KORVEL_GIRIS_WEBPORT"), QString::number(m_server.webPort()));
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), QStringLiteral("--no-sandbox --disable-gpu"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        cocuk.setProcessEnvironment(env);
        cocuk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cocuk.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(cocuk.waitForFinished(60000));
        const QString cikis = QString::fromUtf8(cocuk.readAllStandardOutput());
        QCOMPARE(cocuk.exitStatus(), QProcess::NormalExit);
        QVERIFY2(cocuk.exitCode() == 0, qPrintable(QStringLiteral("exit %1\n%2").arg(cocuk.exitCode()).arg(cikis)));
        if (!cikti.isEmpty())
            QVERIFY2(cikis.contains(u"sonuç|" + cikti), qPrintable(cikis));
    }
};

// In the child process: drive the login to one of its ends. Returning means it did not end.
void TstGirisForm::senaryoCalistir(const QByteArray &senaryo)
{
    const int port = qEnvironmentVariableIntValue("KORVEL_GIRIS_PORT");
    const int webPort = qEnvironmentVariableIntValue("KORVEL_GIRIS_WEBPORT");
    SetDisIpAdresi(QStringLiteral("http://127.0.0.1:%1/ip").arg(webPort));
    const QString id = senaryo == "surum" ? QStringLiteral("PC-ESKI") : QStringLiteral("PC-YOK-%1").arg(webPort);
    auto *g = new Giris(port, id);
    SetWebAdresi(QStringLiteral("http://127.0.0.1:%1/").arg(webPort));
    g->yaz(QStringLiteral("X"), QStringLiteral("Y"));

    QEventLoop dongu;
    QTimer::singleShot(45000, &dongu, &QEventLoop::quit);
    if (senaryo == "vazgec") {
        QTimer::singleShot(0, g->form->Button2, &QPushButton::click);
    } else if (senaryo == "vazgec-beklerken") {
        // A service that never answers keeps the login in its first step.
        QTcpServer kapali;
        kapali.listen(QHostAddress::LocalHost, 0);
        SetDisIpAdresi(QStringLiteral("http://127.0.0.1:%1/ip").arg(kapali.serverPort()));
        kapali.close();
        g->form->Button1->click();
        QTimer::singleShot(1500, g->form->Button2, [g] {
            if (g->form->Button1->text() == QStringLiteral("Bağlanıyor..."))
                g->form->Button2->click();
        });
    } else {
        g->form->Button1->click();
        auto *bakici = new QTimer(&dongu);
        QObject::connect(bakici, &QTimer::timeout, [bakici] {
            auto *istek = qobject_cast<Tformistekyeni *>(QApplication::activeModalWidget());
            if (!istek)
                return;
            bakici->stop();
            std::printf("sonuç|%s|%s\n", istek->windowTitle().toUtf8().constData(),
                        istek->sitem->url().toString(QUrl::FullyEncoded).toUtf8().constData());
            std::fflush(stdout);
            istek->Button1->click();
        });
        bakici->start(50);
    }
    dongu.exec();
}

KORVEL_TEST_MAIN(TstGirisForm)
#include "tst_girisform.moc"

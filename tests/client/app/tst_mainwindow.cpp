// The main window: layout, role set-up, header labels, the general menu and leaving.
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "buildconfig.h"
#include "dialogs.h"
#include "gifresim.h"
#include "modaldialog.h"
#include "testmain.h"
#include "unit1.h"
#include "utilsmachine.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMovie>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QThreadPool>
#include <QToolButton>

namespace {

const char *const ChildVariable = "KORVEL_MAINWINDOW_CHILD";

QStringList menuCaptions(QMenu *menu)
{
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
    return captions;
}

bool columnShown(TGridView *view, const char *field)
{
    TGridColumn *c = view->ColumnByFieldName(QString::fromLatin1(field));
    return c && c->Visible() && c->VisibleForCustomization();
}

} // namespace

// Receives what the shell is asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void layout();
    void searchBoxShowsUpperCase();
    void startUpWritesTheHeaderLabels();
    void sellerLine_data();
    void sellerLine();
    void roles_data();
    void roles();
    void webSiteOpensHomePageAndSelectsSearch();
    void busyAnimationShowsAndStops();
    void corruptGifLeavesNoAnimation();
    void exitQuestionNoKeepsTheWindow();
    void exitQuestionYesEndsTheProcess_data();
    void exitQuestionYesEndsTheProcess();
    void exitChild();

private:
    // Logs in as the user of the kind and opens the main window.
    std::unique_ptr<TForm1> open(int kind = 0);
    anapencere::Sunucu m_server;
};

void TestMainWindow::initTestCase()
{
    platform::SetBeepHook([](unsigned) {});
    QVERIFY2(m_server.baslat(), qPrintable(m_server.hata()));
}

void TestMainWindow::cleanup()
{
    // Background work of the closed windows ends before the next case.
    QTRY_VERIFY_WITH_TIMEOUT(AsyncHavuzu()->waitForDone(0), 20000);
    QCoreApplication::processEvents();
}

std::unique_ptr<TForm1> TestMainWindow::open(int kind)
{
    if (!m_server.kullaniciSec(kind)) {
        qWarning("%s", qPrintable(m_server.hata()));
        return nullptr;
    }
    return anapencere::ac(kind);
}

void TestMainWindow::layout()
{
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    QCOMPARE(f.windowTitle(), QStringLiteral("Korvel Oto Yedek Parça B2B Programı"));
    QCOMPARE(platform::ApplicationTitle(), QStringLiteral("Korvel Oto Yedek Parça B2B"));
    QCOMPARE(platform::MessageDialogFontSize(), 15);
    QVERIFY(f.windowState() & Qt::WindowMaximized);

    QCOMPARE(f.Panel1->height(), 100);
    QCOMPARE(f.Panel2->height(), 35);
    QCOMPARE(f.RxGIFAnimator2->height(), 0);
    QCOMPARE(f.Panel3->height(), 27);
    QCOMPARE(f.Panel5->height(), 40);
    QCOMPARE(f.araedit->width(), 340);
    QCOMPARE(f.SpeedButton2->toolTip(), QStringLiteral("Ara"));
    QCOMPARE(f.SpeedButton1->toolTip(), QStringLiteral("Temizle"));
    // The session record carries this computer's identity.
    QCOMPARE(f.sbilgi->BilgisayarKullanici(), KullaniciAdiAl());
    QCOMPARE(f.sbilgi->BilgiSayarAdi(), BilgisayarAdiAl());
    QCOMPARE(f.sbilgi->BILGISAYARID(), BilgisayarIdAl());
    QVERIFY(!f.sbilgi->Icip().isEmpty());
    QVERIFY(f.musteritus->isHidden());
    QVERIFY(!f.R1->isVisible());
    QCOMPARE(f.musteritus->text(), QStringLiteral("Başka Cari Seç"));
    QVERIFY(f.GifResim1->HasGif());
    QVERIFY(!f.kayanyazi->isHidden());
    QVERIFY(f.RealTimeMarquee1->isHidden());

    // Busy animations in order, hidden, 28 x 27.
    const QStringList animations{"gifstokara", "gifyeniler",  "gifkampanyali", "gifduyuru",
                                 "gifoncekiler", "gifsepet", "gifekstre"};
    QStringList inBar;
    for (QObject *o : f.Panel2->children()) {
        if (auto *g = qobject_cast<TGifResim *>(o)) {
            inBar << g->objectName();
            QVERIFY(g->isHidden());
            QVERIFY(g->HasGif());
            QCOMPARE(g->size(), QSize(28, 27));
        }
    }
    QCOMPARE(inBar, animations);

    // Pages in order, the stock list active.
    QStringList pages;
    for (int i = 0; i < f.sPageControl1->count(); ++i)
        pages << f.sPageControl1->widget(i)->objectName() + u'=' + f.sPageControl1->tabText(i);
    QCOMPARE(pages, (QStringList{"sstoklistesi=Stok Listesi", "ssepet=Sepet", "sonceki=Önceki Siparişler",
                                 "sccariekstre=Cari Ekstre", "syeniler=Yeni Stoklar",
                                 "skampanyali=Kampanyalı Stoklar", "sTabSheetduyuru=Duyurular",
                                 "sTabbakiyeler=Bakiyeler", "ss=Sanal Pos"}));
    QCOMPARE(f.sPageControl1->currentWidget(), f.sstoklistesi);

    // General menu.
    QCOMPARE(menuCaptions(f.Genelmenu),
             (QStringList{"M1=Mail Gönder", "-", "N4=Şifre Değiştirme İsteği", "-",
                          "WebSitesi1=" + QString::fromUtf8(buildconfig::WebSiteHost), "-", "G1=Çıkış", "-",
                          "R1=Raporlar"}));
    QCOMPARE(f.Button3->menu(), f.Genelmenu);

    // Status legend.
    QStringList legend;
    for (int i = 1; i <= 7; ++i) {
        auto *label = f.Panel3->findChild<QLabel *>(QStringLiteral("durumyazi%1").arg(i));
        QVERIFY(label);
        legend << label->text().trimmed();
        QVERIFY(!f.Panel3->findChild<QLabel *>(QStringLiteral("durumresim%1").arg(i))->pixmap().isNull());
    }
    QCOMPARE(legend, (QStringList{"Stok mevcut", "Kritik Seviye", "Telefon Açınız", "Yolda", "Tedarik Sürecinde",
                                  "Özel Sipariş", "Yok"}));

    // Non-visual parts are found by name.
    for (const char *name : {"stok", "sepet", "ONCEKILER", "EKSTRE", "YENILER", "kampstok", "duyurular",
                             "DataSource1", "DataSource_SEPET", "DataSource_ONCEKI", "DataSource_EKSTRE",
                             "DataSource_yeniler", "kampsource", "DataSourceduyuru", "popstok", "PopupMenu1",
                             "poponceki", "popekstre", "SaveDialog1", "cxGrid1DBTableView1"})
        QVERIFY2(f.findChild<QObject *>(QString::fromLatin1(name)), name);
}

void TestMainWindow::searchBoxShowsUpperCase()
{
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    // Typed key by key, as a keyboard with Turkish letters sends them.
    for (QChar ch : QStringLiteral("yag filtresi 5w")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(f.araedit, &press);
    }
    QCOMPARE(f.araedit->text(), QStringLiteral("YAG FILTRESI 5W"));
}

void TestMainWindow::startUpWritesTheHeaderLabels()
{
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    QTRY_COMPARE(f.kullanicilbl->text(), anapencere::kullaniciAdi(0));
    QVERIFY(!f.cariadilbl->text().isEmpty());
    QCOMPARE(f.saticilbl->text(), f.sbilgi->SaticiAdi() + QStringLiteral(" Telefonu: ") + f.sbilgi->SaticiTelefon()
                                      + QStringLiteral(" email: ") + f.sbilgi->SaticiMail());
}

void TestMainWindow::sellerLine_data()
{
    QTest::addColumn<QString>("ad");
    QTest::addColumn<QString>("telefon");
    QTest::addColumn<QString>("mail");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all") << "Ayşe Demir" << "0212 555 00 00" << "ayse@korvel.example"
                         << "Ayşe Demir Telefonu: 0212 555 00 00 email: ayse@korvel.example";
    QTest::newRow("no telephone") << "Ayşe Demir" << "" << "ayse@korvel.example"
                                  << "Ayşe Demir Telefonu:  email: ayse@korvel.example";
}

void TestMainWindow::sellerLine()
{
    QFETCH(QString, ad);
    QFETCH(QString, telefon);
    QFETCH(QString, mail);
    QFETCH(QString, expected);
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    QTRY_VERIFY(!f.saticilbl->text().isEmpty()); // the start-up step has run
    f.sbilgi->SetADI(QStringLiteral("MEHMET"));
    f.sbilgi->SetCariAdi(QStringLiteral("ÇAĞ OTO"));
    f.sbilgi->SetSaticiAdi(ad);
    f.sbilgi->SetSaticiTelefon(telefon);
    f.sbilgi->SetSaticiMail(mail);
    f.AnaBilgiAl();
    QCOMPARE(f.kullanicilbl->text(), QStringLiteral("MEHMET"));
    QCOMPARE(f.cariadilbl->text(), QStringLiteral("ÇAĞ OTO"));
    QCOMPARE(f.saticilbl->text(), expected);
}

void TestMainWindow::roles_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("staff");     // musteritus, R1, remaining and order columns
    QTest::addColumn<bool>("cartStatus"); // DURUM of the cart
    QTest::addColumn<bool>("campaign");   // campaign tab and campaign columns
    QTest::newRow("0") << 0 << false << true << true;
    QTest::newRow("1 staff") << 1 << true << true << true;
    QTest::newRow("2 staff with prices") << 2 << true << true << true;
    QTest::newRow("3 no stock status") << 3 << false << false << true;
    QTest::newRow("4 no campaign") << 4 << false << true << false;
}

void TestMainWindow::roles()
{
    QFETCH(int, kind);
    QFETCH(bool, staff);
    QFETCH(bool, cartStatus);
    QFETCH(bool, campaign);
    // Through the real login: the server's record carries the kind.
    auto form = open(kind);
    QVERIFY(form);
    TForm1 &f = *form;
    QCOMPARE(f.sbilgi->MusteriTipi(), kind);
    f.show();

    QCOMPARE(f.musteritus->isVisible(), staff);
    QCOMPARE(f.R1->isVisible(), staff);
    for (TGridView *v : {f.cxGrid1DBTableView1, f.cxGridDBTableView5, f.cxGridDBTableViewkampanyali,
                         f.cxGridDBTableView1})
        QCOMPARE(columnShown(v, "KALAN"), staff);
    for (TGridView *v : {f.cxGrid1DBTableView1, f.cxGridDBTableView5, f.cxGridDBTableViewkampanyali}) {
        QCOMPARE(columnShown(v, "ALINANSIPARIS"), staff);
        QCOMPARE(columnShown(v, "VERILENSIPARIS"), staff);
    }
    QCOMPARE(columnShown(f.cxGridDBTableView1, "DURUM"), cartStatus);
    QCOMPARE(f.sPageControl1->isTabVisible(f.sPageControl1->indexOf(f.skampanyali)), campaign);
    for (TGridView *v : {f.cxGrid1DBTableView1, f.cxGridDBTableView5})
        QCOMPARE(columnShown(v, "K"), campaign);
    QCOMPARE(columnShown(f.cxGridDBTableView5, "KAMPFIYAT"), campaign);
    // The stock list's campaign price starts hidden; kind 4 also takes it out of the chooser.
    TGridColumn *price = f.cxGrid1DBTableView1->ColumnByFieldName(QStringLiteral("KAMPFIYAT"));
    QVERIFY(!price->Visible());
    QCOMPARE(price->VisibleForCustomization(), campaign);
}

void TestMainWindow::webSiteOpensHomePageAndSelectsSearch()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.araedit->setText(QStringLiteral("FREN"));
    f.sPageControl1->setFocus();
    f.WebSitesi1->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(catcher.urls, (QList<QUrl>{QUrl(u"http://" + QString::fromUtf8(buildconfig::WebSiteHost) + u'/')}));
    QCOMPARE(f.araedit->selectedText(), QStringLiteral("FREN"));
    QVERIFY(f.araedit->hasFocus());
}

void TestMainWindow::busyAnimationShowsAndStops()
{
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    TGifResim *g = f.gifsepet;
    g->GosterAnim();
    QVERIFY(g->isVisible());
    QVERIFY(g->IsRunning());
    QVERIFY(g->Animate());
    QTRY_VERIFY(g->movie() && g->movie()->currentFrameNumber() > 0);
    g->GizleDurdur();
    QVERIFY(!g->isVisible());
    QVERIFY(!g->IsRunning());
    // Setting the value it has changes nothing.
    g->SetAnimate(false);
    QVERIFY(!g->IsRunning());
}

void TestMainWindow::corruptGifLeavesNoAnimation()
{
    TGifResim g;
    g.LoadFromData(QByteArrayLiteral("GIF89a\x10\x00\x10\x00 not really"));
    QVERIFY(!g.HasGif());
    g.GosterAnim(); // remembers the wish, nothing to animate
    QVERIFY(g.Animate());
    QVERIFY(!g.IsRunning());
    QFile file(QStringLiteral(":/korvel/bekle.gif"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    g.LoadFromData(file.readAll().left(200)); // truncated stream
    g.SetAnimate(false);
    g.SetAnimate(true);
    QTest::qWait(100); // decoding a cut-off frame must not bring anything down
}

void TestMainWindow::exitQuestionNoKeepsTheWindow()
{
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Hayır"), QStringLiteral("Soru"), QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"));
    f.G1->trigger();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(f.isVisible());
    // Dismissing the box without an answer is not Yes either.
    dialogs.expect(QString(), QStringLiteral("Soru"));
    QVERIFY(!f.close());
    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(f.isVisible());
}

void TestMainWindow::exitQuestionYesEndsTheProcess_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QByteArray>("seen"); // what the child printed before it ended
    QTest::newRow("Çıkış item") << "menu" << QByteArray("exit question answered");
    QTest::newRow("closing the window") << "close" << QByteArray("exit question answered");
    QTest::newRow("login window dismissed") << "login" << QByteArray("login dismissed");
}

void TestMainWindow::exitQuestionYesEndsTheProcess()
{
    QFETCH(QString, way);
    QFETCH(QByteArray, seen);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ChildVariable), way);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("exitChild")});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, output.constData());
    // Ended at once: the child's test function never got to its end.
    QVERIFY2(output.contains(seen), output.constData());
    QVERIFY2(!output.contains("still running"), output.constData());
}

void TestMainWindow::exitChild()
{
    const QString way = qEnvironmentVariable(ChildVariable);
    if (way.isEmpty())
        QSKIP("runs as the child of exitQuestionYesEndsTheProcess");
    if (way == QLatin1String("login")) {
        QVERIFY(m_server.kullaniciSec(0));
        testsupport::DialogAnswer dismiss; // no button: the window is rejected
        dismiss.title = QStringLiteral("Giriş");
        dismiss.inspect = [](QWidget *) { std::fprintf(stdout, "login dismissed\n"); };
        testsupport::ModalDialogHelper dialogs(20000);
        dialogs.expect(dismiss);
        TForm1 f;
        std::fprintf(stdout, "still running\n");
        QFAIL("the process did not end");
    }
    auto form = open(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    testsupport::DialogAnswer yes;
    yes.button = QStringLiteral("Evet");
    yes.title = QStringLiteral("Soru");
    yes.text = QStringLiteral("Programdan Çıkmak İstiyor musunuz ?");
    yes.inspect = [](QWidget *) { std::fprintf(stdout, "exit question answered\n"); };
    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(yes);
    if (way == QLatin1String("menu"))
        f.G1->trigger();
    else
        f.close();
    dialogs.waitDone();
    std::fprintf(stdout, "still running\n");
    QFAIL("the process did not end");
}

KORVEL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

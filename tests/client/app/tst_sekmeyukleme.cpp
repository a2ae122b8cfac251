// The tab-load mechanism against the real server: quick repeated loads, a failing call.
#include "childprocess.h"
#include "clientdataset.h"
#include "datasource.h"
#include "dialogs.h"
#include "gifresim.h"
#include "modaldialog.h"
#include "proxim.h"
#include "sekmeyukleme.h"
#include "testmain.h"
#include "unit1.h"
#include "utils.h"

#include <QTemporaryDir>

class TestSekmeYukleme : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void twoQuickLoadsBothEndCleanly();
    void failingCallShowsTheMessageOncePerLoad();

private:
    bool startServer(testsupport::ChildProcess &server, const QStringList &faults);
    // A load of the cart page's grid with a table method that takes no arguments.
    TSekmeYukleme cartPageLoad(TForm1 &f, int *captionCalls, bool *lastHata);

    QTemporaryDir m_dir;
};

void TestSekmeYukleme::initTestCase()
{
    QVERIFY2(QByteArray(KORVEL_SERVER_BIN).size() > 0, "server not built");
    QVERIFY(m_dir.isValid());
    platform::SetBeepHook([](unsigned) {});
}

bool TestSekmeYukleme::startServer(testsupport::ChildProcess &server, const QStringList &faults)
{
    static int n = 0;
    QStringList args{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"),
                     QStringLiteral("--db"), m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++n)),
                     QStringLiteral("--demo"), QStringLiteral("--demo-stock"), QStringLiteral("50"),
                     QStringLiteral("--demo-accounts"), QStringLiteral("3")};
    for (const QString &f : faults)
        args << QStringLiteral("--fault") << f;
    if (!server.start(QStringLiteral(KORVEL_SERVER_BIN), args)) {
        qWarning("%s", qPrintable(server.errorString()));
        return false;
    }
    SetSunucuAdresi(QStringLiteral("127.0.0.1"));
    SetSunucuPortu(QString::number(server.port()));
    return true;
}

TSekmeYukleme TestSekmeYukleme::cartPageLoad(TForm1 &f, int *captionCalls, bool *lastHata)
{
    TSekmeYukleme y;
    y.Grid = f.cxGrid2;
    y.View = f.cxGridDBTableView1;
    y.Source = f.DataSource_SEPET;
    y.DataSet = f.sepet;
    y.Animasyon = f.gifsepet;
    y.Cagri = [](TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi>) { return proxy.TeslimVer(); };
    y.Baslik = [captionCalls, lastHata](const TClientDataSet &, bool hata) {
        ++*captionCalls;
        *lastHata = hata;
    };
    return y;
}

void TestSekmeYukleme::twoQuickLoadsBothEndCleanly()
{
    testsupport::ChildProcess server;
    QVERIFY(startServer(server, {QStringLiteral("delay=300")}));
    TForm1 f;
    f.show();
    int captions = 0;
    bool hata = true;
    const TSekmeYukleme y = cartPageLoad(f, &captions, &hata);

    f.SekmeYukle(y);
    f.SekmeYukle(y);
    // While the loads run: animation on, grid off, view detached and frozen.
    QVERIFY(f.gifsepet->isVisible());
    QVERIFY(f.gifsepet->IsRunning());
    QVERIFY(!f.cxGrid2->isEnabled());
    QVERIFY(!f.cxGridDBTableView1->DataSource());
    QVERIFY(f.cxGridDBTableView1->UpdateLocked());

    QTRY_COMPARE_WITH_TIMEOUT(captions, 2, 10000);
    QVERIFY(!hata);
    QVERIFY(f.cxGrid2->isEnabled());
    QVERIFY(!f.gifsepet->isVisible());
    QVERIFY(!f.gifsepet->IsRunning());
    QCOMPARE(f.cxGridDBTableView1->DataSource(), f.DataSource_SEPET);
    QVERIFY(!f.cxGridDBTableView1->UpdateLocked());
    QVERIFY(!f.sepet->ControlsDisabled());
    QVERIFY(KayitVarmi(*f.sepet));
    QVERIFY(f.cxGridDBTableView1->RowCount() > 0);
    QTest::qWait(50);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestSekmeYukleme::failingCallShowsTheMessageOncePerLoad()
{
    testsupport::ChildProcess server;
    QVERIFY(startServer(server, {QStringLiteral("fail=TeslimVer:sunucu hatası")}));
    TForm1 f;
    f.show();
    int captions = 0;
    bool hata = false;
    const TSekmeYukleme y = cartPageLoad(f, &captions, &hata);

    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), BaglantiHataMesaji());
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), BaglantiHataMesaji());
    f.SekmeYukle(y);
    f.SekmeYukle(y);
    KORVEL_VERIFY_DIALOGS(dialogs);
    QTRY_COMPARE(captions, 2);
    QVERIFY(hata);
    QVERIFY(f.cxGrid2->isEnabled());
    QVERIFY(!f.gifsepet->isVisible());
    QCOMPARE(f.cxGridDBTableView1->DataSource(), f.DataSource_SEPET);
    QVERIFY(!f.cxGridDBTableView1->UpdateLocked());
    QVERIFY(!KayitVarmi(*f.sepet)); // left as it was
    QTest::qWait(100);
    QVERIFY(!QApplication::activeModalWidget()); // no third message
}

KORVEL_TEST_MAIN(TestSekmeYukleme)
#include "tst_sekmeyukleme.moc"

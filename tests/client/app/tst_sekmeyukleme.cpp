// The tab-load mechanism against the real server: quick repeated loads, a failing call.
#include "anapencere.h"
#include "beklesinu.h"
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

#include <QThreadPool>

class TestSekmeYukleme : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(AsyncHavuzu()->waitForDone(0), 20000); }
    void twoQuickLoadsBothEndCleanly();
    void failingCallShowsTheMessageOncePerLoad();

private:
    // A load of the cart page's grid with a table method that takes no arguments.
    TSekmeYukleme cartPageLoad(TForm1 &f, int *captionCalls, bool *lastHata);
};

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
    anapencere::Sunucu server;
    QVERIFY2(server.baslat({QStringLiteral("delay=300")}), qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
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
    anapencere::Sunucu server;
    QVERIFY2(server.baslat({QStringLiteral("fail=TeslimVer:sunucu hatası")}), qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
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

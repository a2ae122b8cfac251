// The stock search in the main window against the substitute server.
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gifresim.h"
#include "gridview.h"
#include "modaldialog.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "table.h"
#include "testmain.h"
#include "unit1.h"
#include "utils.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QThreadPool>
#include <QToolButton>

namespace {

QString baslik(const TForm1 &f)
{
    return f.sPageControl1->tabText(f.sPageControl1->indexOf(f.sstoklistesi));
}

// Enter in the search box, then wait for the continuation.
void ara(TForm1 &f, const QString &text)
{
    f.araedit->setText(text);
    QTest::keyClick(f.araedit, Qt::Key_Return);
}

bool bitti(const TForm1 &f)
{
    return f.araedit->isEnabled() && AsyncHavuzu()->activeThreadCount() == 0;
}

// The number of rows the server finds for a text, asked directly.
int sunucuSatirSayisi(TForm1 &f, const QString &text)
{
    auto baglanti = f.bagc->Clone();
    baglanti->Open();
    TServerMethods1Client proxy(baglanti.get());
    auto bilgi = std::make_unique<TSonucBilgisi>();
    bilgi->Kopyala(*f.sbilgi);
    return proxy.StokAraGetirQuelpa(text, std::move(bilgi))->rowCount();
}

TGridColumn *fiyatBilgisi(const TForm1 &f)
{
    return f.cxGrid1DBTableView1->ColumnByName(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"));
}

} // namespace

class TestStokArama : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(AsyncHavuzu()->waitForDone(0), 20000); }
    void searchFillsTheListAndTheCaption();
    void failingFirstSearchLeavesAnEmptyList();
    void duringASearchClearAndResizeDoNothing();
};

void TestStokArama::searchFillsTheListAndTheCaption()
{
    anapencere::Sunucu server;
    QVERIFY2(server.baslat(), qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    f.sPageControl1->setCurrentWidget(f.ssepet);

    // An empty box searches with the empty text: the server's answer for "" fills the list.
    ara(f, QString());
    QVERIFY(!f.araedit->isEnabled());
    QVERIFY(f.gifstokara->isVisible());
    QVERIFY(!f.cxGrid1DBTableView1->DataSource());
    QCOMPARE(f.sPageControl1->currentWidget(), f.sstoklistesi);
    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    const int hepsi = sunucuSatirSayisi(f, QString());
    QVERIFY(hepsi > 0);
    QCOMPARE(f.stok->RecordCount(), hepsi);
    QCOMPARE(baslik(f), QString::number(hepsi) + QStringLiteral("=Stok Listesi"));
    QCOMPARE(f.cxGrid1DBTableView1->DataSource(), f.DataSource1);
    QVERIFY(!f.cxGrid1DBTableView1->UpdateLocked());
    QCOMPARE(f.cxGrid1DBTableView1->RowCount(), hepsi);
    QVERIFY(!f.gifstokara->isVisible());
    QVERIFY(f.araedit->hasFocus());
    QCOMPARE(f.stok->FieldByName(QStringLiteral("KDVDAHIL"))->DisplayFormat(), QStringLiteral("#,###,##0.00"));

    // A word of the first item finds it; "Ara" is the same as Enter.
    const QString kelime = f.stok->FieldByName(QStringLiteral("ADI"))->AsString().section(u' ', 0, 0);
    f.araedit->setText(kelime);
    f.SpeedButton2->click();
    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    QVERIFY(f.stok->RecordCount() > 0);
    QCOMPARE(f.stok->RecordCount(), sunucuSatirSayisi(f, kelime));
    QCOMPARE(f.araedit->selectedText(), kelime);

    // No match is no failure.
    ara(f, QStringLiteral("QQZZXXWW"));
    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    QCOMPARE(baslik(f), QStringLiteral("0=Stok Listesi"));
    QCOMPARE(f.cxGrid1DBTableView1->RowCount(), 0);
    QVERIFY(!QApplication::activeModalWidget());

    // "Temizle" empties the list and the box.
    ara(f, kelime);
    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    f.SpeedButton1->click();
    QCOMPARE(f.stok->RecordCount(), 0);
    QCOMPARE(baslik(f), QStringLiteral("Stok Listesi"));
    QCOMPARE(f.araedit->text(), QString());
}

void TestStokArama::failingFirstSearchLeavesAnEmptyList()
{
    anapencere::Sunucu server;
    QVERIFY2(server.baslat({QStringLiteral("fail=StokAraGetirQuelpa:sunucu hatası")}), qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();

    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), BaglantiHataMesaji());
    ara(f, QStringLiteral("FREN"));
    KORVEL_VERIFY_DIALOGS(dialogs);
    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    QTest::qWait(100);
    QVERIFY(!QApplication::activeModalWidget()); // shown once
    QCOMPARE(dialogs.seen().size(), 1);
    QCOMPARE(f.stok->RecordCount(), 0);
    QCOMPARE(f.cxGrid1DBTableView1->RowCount(), 0);
    QCOMPARE(baslik(f), QStringLiteral("Stok Listesi"));
    QCOMPARE(f.cxGrid1DBTableView1->DataSource(), f.DataSource1);
    QVERIFY(!f.gifstokara->isVisible());
}

void TestStokArama::duringASearchClearAndResizeDoNothing()
{
    anapencere::Sunucu server;
    QVERIFY2(server.baslat({QStringLiteral("delay=600")}), qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.setWindowState(Qt::WindowNoState);
    f.show();
    TGridColumn *adi = f.cxGrid1DBTableView1->ColumnByFieldName(QStringLiteral("ADI"));
    // Widths of the description column after a fit of a grid this wide (wide layout: weights 22).
    auto beklenen = [&f] { return 3 * int((f.cxGrid1->width() - 30) / 22.0); };
    f.resize(1600, 700);
    QTRY_COMPARE(adi->Width(), beklenen());
    QVERIFY(!fiyatBilgisi(f)->Visible());
    QCOMPARE(f.cxGrid1DBTableView1->DataRowHeight(), 60);
    const int once = adi->Width();

    ara(f, QStringLiteral("FREN"));
    QVERIFY(!f.araedit->isEnabled());
    f.SpeedButton1->click();
    QCOMPARE(f.araedit->text(), QStringLiteral("FREN"));
    f.SpeedButton2->click(); // no second search
    f.resize(1400, 700);
    QTRY_VERIFY(f.cxGrid1->width() < 1400);
    QCOMPARE(adi->Width(), once);

    QTRY_VERIFY_WITH_TIMEOUT(bitti(f), 10000);
    QVERIFY(baslik(f).endsWith(QStringLiteral("=Stok Listesi")));
    QCOMPARE(adi->Width(), once);
    // The next resize after the search fits again.
    f.resize(1300, 700);
    QTRY_COMPARE(adi->Width(), beklenen());
    QVERIFY(adi->Width() < once);
}

KORVEL_TEST_MAIN(TestStokArama)
#include "tst_stokarama.moc"

// The cart page of the real main window against the substitute server: caption and totals
// after the page's load, selecting lines by their check box and all at once, opening a
// line, the delete questions, and the refusals and failure of "Gönder".
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gifresim.h"
#include "gridview.h"
#include "modaldialog.h"
#include "onaysipu.h"
#include "sepetdb.h"
#include "table.h"
#include "testmain.h"
#include "unit1.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThreadPool>

using namespace carttest;

namespace {

QStringList toplamlar(const TForm1 &f)
{
    return {f.aratoplaml->text(), f.indiriml->text(), f.nettutarl->text(), f.vergil->text(),
            f.geneltoplaml->text()};
}

QString sepetBasligi(const TForm1 &f)
{
    return f.sPageControl1->tabText(f.sPageControl1->indexOf(f.ssepet));
}

// Activates the cart page and waits until its load has ended.
void sepetiGoster(TForm1 &f)
{
    if (f.sPageControl1->currentWidget() == f.ssepet)
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
    f.sPageControl1->setCurrentWidget(f.ssepet);
    QVERIFY(!f.cxGrid2->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(f.cxGrid2->isEnabled() && AsyncHavuzu()->activeThreadCount() == 0, 20000);
    QCOMPARE(f.cxGridDBTableView1->DataSource(), f.DataSource_SEPET);
}

// Double-clicks the cell of `alan` in the row of cart line `satir` (0-based).
void ciftTikla(TForm1 &f, int satir, const char *alan)
{
    f.cxGridDBTableView1->SetFocusedRow(satir);
    f.cxGridDBTableView1->SetFocusedColumn(f.cxGridDBTableView1->ColumnByFieldName(QString::fromLatin1(alan)));
    f.cxGridDBTableView1DblClick();
}

QVariantList sunucudakiSecimler(int carino)
{
    return sorgu(QStringLiteral("SELECT sec FROM sepet WHERE carino = %1 ORDER BY sirano").arg(carino));
}

int sunucudakiSatirlar(int carino)
{
    return sorgu(QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = %1").arg(carino)).value(0).toInt();
}

const QList<SepetSatiri> UcSecili{{1, 100.0, 10.0, 18.0}, {1, 50.0, 5.0, 9.0}, {1, 25.5, 0.0, 5.1}};

} // namespace

class TestSepetSayfasi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(AsyncHavuzu()->waitForDone(0), 20000); }
    void bosSepet();
    void toplamlarVeSecimKutusu();
    void hepsiniSecVeKaldir();
    void satirAcilir();
    void satirSil_data();
    void satirSil();
    void hepsiniSil_data();
    void hepsiniSil();
    void hepsiniSilYuklenmemisSepette();
    void secimYoksaGonderilmez();
    void gonderimHatasi();
    void excelKaydet();
    void secimSutunuOlmayanSepet();
    void cleanupTestCase() { m_form.reset(); }

private:
    anapencere::Sunucu m_server;
    std::unique_ptr<TForm1> m_form;
    int m_carino = 0;
};

void TestSepetSayfasi::initTestCase()
{
    platform::SetBeepHook([](unsigned) {});
    QVERIFY2(m_server.baslat(), qPrintable(m_server.hata()));
    QVERIFY(m_server.kullaniciSec(0));
    m_form = anapencere::ac(0);
    QVERIFY(m_form);
    m_carino = m_form->sbilgi->CARINO();
    QVERIFY(m_carino > 0);
}

void TestSepetSayfasi::bosSepet()
{
    QVERIFY(sepetiKur(m_carino, {}));
    sepetiGoster(*m_form);
    QCOMPARE(sepetBasligi(*m_form), QStringLiteral("0=Sepet"));
    QCOMPARE(toplamlar(*m_form), QStringList(5, QStringLiteral("0,00")));
    QVERIFY(m_form->gifsepet->isHidden());
}

void TestSepetSayfasi::toplamlarVeSecimKutusu()
{
    TForm1 &f = *m_form;
    QList<SepetSatiri> satirlar = UcSecili;
    satirlar.append({0, 999.0, 99.0, 99.0});
    QVERIFY(sepetiKur(m_carino, satirlar));
    sepetiGoster(f);
    QCOMPARE(sepetBasligi(f), QStringLiteral("4=Sepet"));
    QCOMPARE(toplamlar(f), (QStringList{"175,50", "15,00", "160,50", "32,10", "192,60"}));

    // The check box of a selected line: unselected here and on the server, the totals at
    // once, with no reload in between.
    ciftTikla(f, 0, "SEC");
    QCOMPARE(f.sepet->FieldByName(QStringLiteral("SEC"))->AsInteger(), 0);
    QCOMPARE(toplamlar(f), (QStringList{"75,50", "5,00", "70,50", "14,10", "84,60"}));
    QCOMPARE(sunucudakiSecimler(m_carino), (QVariantList{0, 1, 1, 0}));
    QCOMPARE(f.cxGridDBTableView1->Value(0, QStringLiteral("SEC")), QVariant(0));

    // And the unselected one selected.
    ciftTikla(f, 3, "SEC");
    QCOMPARE(toplamlar(f), (QStringList{"1.074,50", "104,00", "970,50", "113,10", "1.083,60"}));
    QCOMPARE(sunucudakiSecimler(m_carino), (QVariantList{0, 1, 1, 1}));
}

void TestSepetSayfasi::hepsiniSecVeKaldir()
{
    TForm1 &f = *m_form;
    QList<SepetSatiri> satirlar;
    for (int i = 0; i < 20; ++i)
        satirlar.append({0, 10.0, 1.0, 1.8});
    QVERIFY(sepetiKur(m_carino, satirlar));
    sepetiGoster(f);
    QCOMPARE(toplamlar(f), QStringList(5, QStringLiteral("0,00")));

    f.araedit->setText(QStringLiteral("FREN"));
    f.araedit->deselect();
    f.Button4->click();
    QCOMPARE(sunucudakiSecimler(m_carino), QVariantList(20, 1));
    QCOMPARE(toplamlar(f), (QStringList{"200,00", "20,00", "180,00", "36,00", "216,00"}));
    QCOMPARE(f.araedit->selectedText(), QStringLiteral("FREN")); // ready for the next search

    f.Button5->click();
    QCOMPARE(sunucudakiSecimler(m_carino), QVariantList(20, 0));
    QCOMPARE(toplamlar(f), QStringList(5, QStringLiteral("0,00")));
    for (int i = 0; i < 20; ++i)
        QCOMPARE(f.sepet->FieldByName(QStringLiteral("SEC"))->ValueAt(i), QVariant(0));
}

void TestSepetSayfasi::satirAcilir()
{
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, UcSecili));
    sepetiGoster(f);
    // Any column but the check box opens the line in the detail dialog.
    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer kapat;
    kapat.title = QStringLiteral("Sepete Ekle");
    dialogs.expect(kapat);
    ciftTikla(f, 1, "STOKADI");
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(dialogs.seen().value(0).className, QStringLiteral("Tstokayarinti"));
    QCOMPARE(sunucudakiSecimler(m_carino), (QVariantList{1, 1, 1}));
}

void TestSepetSayfasi::satirSil_data()
{
    QTest::addColumn<QString>("cevap");
    QTest::addColumn<bool>("silinir");
    QTest::newRow("Evet") << QStringLiteral("Evet") << true;
    QTest::newRow("Hayır") << QStringLiteral("Hayır") << false;
}

void TestSepetSayfasi::satirSil()
{
    QFETCH(QString, cevap);
    QFETCH(bool, silinir);
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, UcSecili));
    sepetiGoster(f);
    const QString barkod = f.cxGridDBTableView1->Value(1, QStringLiteral("BARKOD")).toString();
    const QString adi = f.cxGridDBTableView1->Value(1, QStringLiteral("STOKADI")).toString();
    const int sirano = f.cxGridDBTableView1->Value(1, QStringLiteral("SIRANO")).toInt();

    testsupport::ModalDialogHelper dialogs(20000);
    dialogs.expect(cevap, QStringLiteral("Soru"), QStringLiteral("Satırı silmek istiyor musunuz "));
    if (silinir)
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Bilgi"), QStringLiteral("Satır silindi !"));
    f.cxGridDBTableView1->SetFocusedRow(1);
    f.SatrSil1->trigger();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(sunucudakiSatirlar(m_carino), silinir ? 2 : 3);
    QCOMPARE(f.sepet->RecordCount(), silinir ? 2 : 3);
    if (silinir) {
        QCOMPARE(sepetBasligi(f), QStringLiteral("2=Sepet"));
        QCOMPARE(toplamlar(f), (QStringList{"125,50", "10,00", "115,50", "23,10", "138,60"}));
        QCOMPARE(sorgu(QStringLiteral("SELECT aciklama FROM sepet_silinenler WHERE sepetsirano = %1").arg(sirano)),
                 QVariantList{QVariant(barkod + u'-' + adi)});
    }
}

void TestSepetSayfasi::hepsiniSil_data()
{
    QTest::addColumn<QString>("cevap"); // empty: the box is closed without a button
    QTest::addColumn<bool>("silinir");
    QTest::newRow("Evet") << QStringLiteral("Evet") << true;
    QTest::newRow("Hayır") << QStringLiteral("Hayır") << false;
}

void TestSepetSayfasi::hepsiniSil()
{
    QFETCH(QString, cevap);
    QFETCH(bool, silinir);
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, UcSecili));
    sepetiGoster(f);
    testsupport::ModalDialogHelper dialogs(20000);
    dialogs.expect(cevap, QStringLiteral("Soru"), QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz "));
    if (silinir)
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Bilgi"), QStringLiteral("Sepet Silindi !"));
    f.HepsiniSil1->trigger();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(sunucudakiSatirlar(m_carino), silinir ? 0 : 3);
    QCOMPARE(f.sepet->RecordCount(), silinir ? 0 : 3);
    QVERIFY(f.sepet->Active());
    QCOMPARE(toplamlar(f).last(), silinir ? QStringLiteral("0,00") : QStringLiteral("192,60"));
}

void TestSepetSayfasi::hepsiniSilYuklenmemisSepette()
{
    // A window whose cart was never loaded asks nothing and deletes nothing; neither does
    // one whose cart is empty.
    QVERIFY(sepetiKur(m_carino, UcSecili));
    auto yeni = anapencere::ac(0);
    QVERIFY(yeni);
    QVERIFY(!yeni->sepet->Active());
    testsupport::ModalDialogHelper dialogs(300);
    dialogs.expect(QStringLiteral("Evet"));
    yeni->HepsiniSil1Click();
    QVERIFY(!dialogs.waitDone());
    QVERIFY(dialogs.seen().isEmpty());
    QCOMPARE(sunucudakiSatirlar(m_carino), 3);
    yeni.reset();

    QVERIFY(sepetiKur(m_carino, {}));
    sepetiGoster(*m_form);
    testsupport::ModalDialogHelper bos(300);
    bos.expect(QStringLiteral("Evet"));
    m_form->HepsiniSil1Click();
    QVERIFY(!bos.waitDone());
    QVERIFY(bos.seen().isEmpty());
}

void TestSepetSayfasi::secimYoksaGonderilmez()
{
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, {{0, 10.0, 0.0, 1.8}, {0, 20.0, 0.0, 3.6}}));
    sepetiGoster(f);
    testsupport::ModalDialogHelper dialogs(20000);
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Uyarı"), QStringLiteral("Gönderilecek Parça Yok "));
    f.Button1->click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(dialogs.seen().size(), 1); // no confirmation dialog
    QVERIFY(f.Button1->isEnabled());
}

void TestSepetSayfasi::gonderimHatasi()
{
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, UcSecili));
    sepetiGoster(f);
    // The server no longer holds a selected line, so it refuses the order; the cart shown
    // stays as it was.
    QVERIFY(sql({QStringLiteral("UPDATE sepet SET sec = 0 WHERE carino = %1").arg(m_carino)}));
    auto siparisSayisi = [this] {
        return sorgu(QStringLiteral("SELECT COUNT(*) FROM siparisler WHERE carino = %1").arg(m_carino)).value(0).toInt();
    };
    const int siparisler = siparisSayisi();

    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer onay;
    onay.button = QStringLiteral("Evet");
    onay.title = QStringLiteral("Sipariş Onay");
    int ikinciGonder = -1;
    onay.inspect = [&](QWidget *w) {
        auto *d = qobject_cast<TONAYSIP *>(w);
        QVERIFY(d);
        QCOMPARE(d->Label2->text().section(QStringLiteral("\r\n"), 2), QStringLiteral("Tutar    : 192,60"));
        QVERIFY(d->teslimbox->ItemIndex() >= 0);
        d->boxkargo->SetItemIndex(0);
        d->boxkargoClick();
        d->kargocombo->setCurrentIndex(1);
        // "Gönder" cannot start a second send while this one is in hand.
        QVERIFY(!f.Button1->isEnabled());
        f.Button1Click();
        ikinciGonder = int(QApplication::topLevelWidgets().count(w));
    };
    dialogs.expect(onay);
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("Sipariş Göndermede Hata"));
    f.Button1->click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(dialogs.seen().size(), 2);
    QCOMPARE(ikinciGonder, 1);
    QCOMPARE(f.sepet->RecordCount(), 3);
    QCOMPARE(f.sepet->FieldByName(QStringLiteral("SEC"))->ValueAt(0), QVariant(1)); // not reloaded
    QCOMPARE(siparisSayisi(), siparisler);
    QVERIFY(f.Button1->isEnabled());
}

void TestSepetSayfasi::excelKaydet()
{
    TForm1 &f = *m_form;
    QVERIFY(sepetiKur(m_carino, UcSecili));
    sepetiGoster(f);
    QTemporaryDir dir;
    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer kaydet;
    kaydet.button = QStringLiteral("Save");
    kaydet.inspect = [&](QWidget *w) {
        auto *d = qobject_cast<QFileDialog *>(w);
        QVERIFY(d);
        QCOMPARE(d->nameFilters().value(0), QStringLiteral("Excel (*.xls*)"));
        d->setDirectory(dir.path());
        auto *ad = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(ad);
        ad->setText(QStringLiteral("sepet.xls"));
    };
    dialogs.expect(kaydet);
    f.Button2->click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    // The grid suite's export writes the workbook format it knows.
    const QFileInfo dosya(dir.filePath(QStringLiteral("sepet.xlsx")));
    QVERIFY(dosya.exists());
    QVERIFY(dosya.size() > 0);
}

void TestSepetSayfasi::secimSutunuOlmayanSepet()
{
    // A cart packet without the selection column: the buttons report instead of failing.
    TForm1 &f = *m_form;
    wire::Table t;
    t.addColumn({QStringLiteral("SIRANO"), wire::ColumnType::Int32, 0, true});
    t.addColumn({QStringLiteral("BARKOD"), wire::ColumnType::String, 20, true});
    t.setValue(t.appendRow(), 0, 7);
    f.sepet->LoadFromTable(std::move(t));
    QCOMPARE(toplamlar(f), QStringList(5, QStringLiteral("0,00")));

    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer hata;
    hata.button = QStringLiteral("Tamam");
    hata.title = QStringLiteral("Hata");
    dialogs.expect(hata);
    f.Button4->click();
    KORVEL_VERIFY_DIALOGS(dialogs);

    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Uyarı"), QStringLiteral("Gönderilecek Parça Yok "));
    f.Button1->click();
    KORVEL_VERIFY_DIALOGS(dialogs);
}

KORVEL_TEST_MAIN(TestSepetSayfasi)
#include "tst_sepetsayfasi.moc"

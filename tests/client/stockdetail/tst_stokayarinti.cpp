// The stock detail dialog on its own: its amounts, the quantity's package steps, the keys,
// and how a list row or a cart line fills it.
#include "ayrintiacici.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "modaldialog.h"
#include "stokayarintiu.h"
#include "table.h"
#include "testmain.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using T = wire::ColumnType;

namespace {

// Types into the quantity box as a user does: everything selected, then the keys.
void adetYaz(Tstokayarinti &d, const QString &text)
{
    d.adet->setFocus();
    d.adet->selectAll();
    QTest::keyClick(d.adet, Qt::Key_Backspace);
    QTest::keyClicks(d.adet, text);
}

// One row of a list as the server sends it.
void listeSatiri(TClientDataSet &veri, int k, const QString &indirimyazi)
{
    wire::Table t;
    const std::pair<const char *, T> kolonlar[] = {
        {"STOK_STOKNO", T::Int32}, {"BARKOD", T::String}, {"ADI", T::String}, {"MARKA", T::String},
        {"FINISHKOD", T::String},  {"MODEL", T::String},  {"KDV", T::Double}, {"K", T::Int32},
        {"FIYAT", T::Double},      {"INDIRIMYAZI", T::String}, {"IND1", T::Double}, {"IND2", T::Double},
        {"IND3", T::Double},       {"IND4", T::Double}};
    for (const auto &[name, type] : kolonlar)
        t.addColumn({QString::fromLatin1(name), type, 50, true});
    const QVariantList degerler{101, QStringLiteral("8690001"), QStringLiteral("YAĞ FİLTRESİ"), QStringLiteral("FİLTRON"),
                                QStringLiteral("F-101"), QStringLiteral("DOBLO"), 20.0, k, 250.0, indirimyazi,
                                10.0, 5.0, 0.0, 0.0};
    const int r = t.appendRow();
    for (int c = 0; c < degerler.size(); ++c)
        t.setValue(r, c, degerler.at(c));
    veri.LoadFromTable(std::move(t));
}

} // namespace

class TestStokAyarinti : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }

    void tutarHesapla_data();
    void tutarHesapla();
    void indirimSatiri_data();
    void indirimSatiri();
    void paraKutusu();
    void koliAdetiAdimlari_data();
    void koliAdetiAdimlari();
    void sayiOlmayanMiktarGonderilmez();
    void f4KdvCikarir_data();
    void f4KdvCikarir();
    void enterFiyattaHicbirSeyYapmaz();
    void vazgec();
    void listeSatiriylaDoldurma_data();
    void listeSatiriylaDoldurma();
    void sepetSatiriylaDoldurma();
};

void TestStokAyarinti::tutarHesapla_data()
{
    QTest::addColumn<double>("fiyat");
    QTest::addColumn<int>("adet");
    QTest::addColumn<QList<double>>("oranlar");
    QTest::addColumn<double>("kdv");
    QTest::addColumn<double>("indirim");
    QTest::addColumn<double>("net");
    QTest::addColumn<double>("netBirim");
    QTest::addColumn<double>("kdvDahil");
    QTest::addColumn<double>("genel");

    // Chained: 200 - 10 % = 180, then - 5 % = 171.
    QTest::newRow("zincir indirim") << 200.0 << 1 << QList<double>{10, 5, 0, 0} << 0.0 << 29.0 << 171.0 << 171.0
                                    << 171.0 << 171.0;
    QTest::newRow("kdv 20, indirimsiz") << 99.99 << 3 << QList<double>{0, 0, 0, 0} << 20.0 << 0.0 << 299.97 << 99.99
                                        << 119.99 << 359.97;
    // The line total comes from the rounded VAT unit price: 11.81 x 3 = 35.43, not 30.03 x 1.18 = 35.44.
    QTest::newRow("yuvarlanmis birimden toplam") << 10.01 << 3 << QList<double>{0, 0, 0, 0} << 18.0 << 0.0 << 30.03
                                                 << 10.01 << 11.81 << 35.43;
    QTest::newRow("sifir ve eksi oran atlanir") << 100.0 << 2 << QList<double>{0, -5, 10, 0} << 0.0 << 20.0 << 180.0
                                                << 90.0 << 90.0 << 180.0;
    QTest::newRow("miktarsiz") << 50.0 << 0 << QList<double>{10, 0, 0, 0} << 20.0 << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
}

void TestStokAyarinti::tutarHesapla()
{
    QFETCH(double, indirim);
    QFETCH(double, net);
    QFETCH(double, netBirim);
    QFETCH(double, kdvDahil);
    QFETCH(double, genel);
    QFETCH(double, fiyat);
    QFETCH(int, adet);
    QFETCH(QList<double>, oranlar);
    QFETCH(double, kdv);
    const TTutarlar t = TutarHesapla(fiyat, adet, {oranlar[0], oranlar[1], oranlar[2], oranlar[3]}, kdv);
    QCOMPARE(t.Indirim, indirim);
    QCOMPARE(t.Net, net);
    QCOMPARE(t.NetBirim, netBirim);
    QCOMPARE(t.KdvDahil, kdvDahil);
    QCOMPARE(t.Genel, genel);

    // The dialog shows the same amounts.
    if (adet < 1)
        return;
    Tstokayarinti d(nullptr, 1);
    d.kdvoran = kdv;
    d.birimfiyat->SetValue(fiyat);
    d.edindirim1->SetValue(oranlar[0]);
    d.edindirim2->SetValue(oranlar[1]);
    d.edindirim3->SetValue(oranlar[2]);
    d.edindirim4->SetValue(oranlar[3]);
    d.adet->setValue(adet);
    d.TutarHesapla();
    QCOMPARE(d.kdvdahiltutar->Value(), t.KdvDahil);
    QCOMPARE(d.geneltutar->Value(), t.Genel);
    QCOMPARE(d.indtutar->Value(), t.Indirim);
}

void TestStokAyarinti::indirimSatiri_data()
{
    QTest::addColumn<QList<double>>("oranlar");
    QTest::addColumn<bool>("gorunur");
    QTest::newRow("hic") << QList<double>{0, 0, 0, 0} << false;
    QTest::newRow("toplam tam 1") << QList<double>{0.5, 0, 0.5, 0} << false;
    QTest::newRow("1 den biraz fazla") << QList<double>{1, 0, 0, 0.01} << true;
    QTest::newRow("10 ve 5") << QList<double>{10, 5, 0, 0} << true;
}

void TestStokAyarinti::indirimSatiri()
{
    QFETCH(bool, gorunur);
    QFETCH(QList<double>, oranlar);
    Tstokayarinti d(nullptr, 1);
    TCurrencyEdit *kutular[] = {d.edindirim1, d.edindirim2, d.edindirim3, d.edindirim4};
    for (int i = 0; i < 4; ++i)
        kutular[i]->SetValue(oranlar[i]);
    d.show();
    QCOMPARE(d.indirimoran->isVisible(), gorunur);
    QCOMPARE(d.indtutar->isVisible(), gorunur);
    // Decided once, at show.
    d.edindirim1->SetValue(oranlar[0] > 0 ? 0 : 50);
    d.adet->setValue(2);
    QCOMPARE(d.indirimoran->isVisible(), gorunur);
}

void TestStokAyarinti::paraKutusu()
{
    Tstokayarinti d(nullptr, 1);
    d.birimfiyat->SetValue(1234567.5);
    QCOMPARE(d.birimfiyat->text(), QStringLiteral("1.234.567,50"));
    for (TCurrencyEdit *e : {d.birimfiyat, d.indtutar, d.kdvdahiltutar, d.geneltutar, d.edindirim1})
        QVERIFY(e->isReadOnly());
    QVERIFY(d.GridPanel2->isHidden());
    QCOMPARE(d.windowTitle(), QStringLiteral("Sepete Ekle"));
    QCOMPARE(d.adet->minimum(), 1);
    QCOMPARE(d.adet->maximum(), 10000);

    // Unlocked, a typed amount in the user's format is the box's value.
    d.FiyatKilidiniAc();
    QVERIFY(!d.birimfiyat->isReadOnly());
    QVERIFY(!d.edindirim4->isReadOnly());
    QVERIFY(d.indtutar->isReadOnly());
    d.birimfiyat->setFocus();
    d.birimfiyat->selectAll();
    QTest::keyClicks(d.birimfiyat, QStringLiteral("1.500,25"));
    QCOMPARE(d.birimfiyat->Value(), 1500.25);
    QCOMPARE(d.geneltutar->Value(), 1500.25);
}

void TestStokAyarinti::koliAdetiAdimlari_data()
{
    QTest::addColumn<int>("koli");
    QTest::addColumn<QString>("yazilan");
    QTest::addColumn<QString>("yol");
    QTest::addColumn<double>("giden");
    QTest::newRow("7, Siparis ekle") << 6 << QStringLiteral("7") << QStringLiteral("tus") << 12.0;
    QTest::newRow("12, Siparis ekle") << 6 << QStringLiteral("12") << QStringLiteral("tus") << 12.0;
    QTest::newRow("7, Enter") << 6 << QStringLiteral("7") << QStringLiteral("enter") << 7.0;
    QTest::newRow("7, kutudan cikis, Enter") << 6 << QStringLiteral("7") << QStringLiteral("sekme") << 12.0;
    QTest::newRow("koli 0 sayilir 1") << 0 << QStringLiteral("7") << QStringLiteral("tus") << 7.0;
}

void TestStokAyarinti::koliAdetiAdimlari()
{
    QFETCH(int, koli);
    QFETCH(QString, yazilan);
    QFETCH(QString, yol);
    QFETCH(double, giden);
    Tstokayarinti d(nullptr, 1);
    d.Setkoliadet(koli);
    const int adim = qMax(1, koli);
    QCOMPARE(d.koliadet(), adim);
    QCOMPARE(d.adet->value(), adim);
    QCOMPARE(d.adet->minimum(), adim);
    QCOMPARE(d.adet->singleStep(), adim);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    adetYaz(d, yazilan);
    if (yol == QLatin1String("sekme")) {
        // Leaving the box raises to the next package; Enter afterwards keeps that.
        d.birimfiyat->setFocus(Qt::TabFocusReason);
        QCOMPARE(d.adet->value(), 12);
        d.adet->setFocus();
        QTest::keyClick(d.adet, Qt::Key_Return);
    } else if (yol == QLatin1String("enter")) {
        QTest::keyClick(d.adet, Qt::Key_Return);
    } else {
        d.ParcaliTus1->click();
    }
    QCOMPARE(d.result(), 1);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.Miktar().value_or(-1), giden);
}

void TestStokAyarinti::sayiOlmayanMiktarGonderilmez()
{
    Tstokayarinti d(nullptr, 1);
    d.birimfiyat->SetValue(10);
    d.show();
    adetYaz(d, QString());
    QVERIFY(!d.Miktar());
    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("'' geçerli bir sayı değil"));
    QTest::keyClick(d.adet, Qt::Key_Return);
    KORVEL_VERIFY_DIALOGS(dialogs);
    // Still open, nothing decided, the price as it was.
    QVERIFY(d.isVisible());
    QCOMPARE(d.result(), 0);
    QCOMPARE(d.birimfiyat->Value(), 10.0);
}

void TestStokAyarinti::f4KdvCikarir_data()
{
    QTest::addColumn<QString>("kutu");
    QTest::newRow("birimfiyat") << QStringLiteral("birimfiyat");
    QTest::newRow("edindirim3") << QStringLiteral("edindirim3");
}

void TestStokAyarinti::f4KdvCikarir()
{
    QFETCH(QString, kutu);
    Tstokayarinti d(nullptr, 1);
    d.kdvoran = 20;
    d.birimfiyat->SetValue(120);
    d.adet->setValue(2);
    d.show();
    auto *e = d.findChild<TCurrencyEdit *>(kutu);
    QVERIFY(e);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_F4);
    QCOMPARE(d.birimfiyat->Value(), 100.0);
    QCOMPARE(d.kdvdahiltutar->Value(), 120.0);
    QCOMPARE(d.geneltutar->Value(), 240.0);
    QVERIFY(d.isVisible());
}

void TestStokAyarinti::enterFiyattaHicbirSeyYapmaz()
{
    Tstokayarinti d(nullptr, 1);
    d.FiyatKilidiniAc();
    d.show();
    for (TCurrencyEdit *e : {d.birimfiyat, d.edindirim1}) {
        e->setFocus();
        QTest::keyClick(e, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), 0);
    }
}

void TestStokAyarinti::vazgec()
{
    Tstokayarinti d(nullptr, 1);
    d.show();
    d.ParcaliTus2->click();
    QCOMPARE(d.result(), 2);
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    QCOMPARE(d.result(), 2);
    QVERIFY(!d.isVisible());
}

void TestStokAyarinti::listeSatiriylaDoldurma_data()
{
    QTest::addColumn<TAyrintiListesi>("liste");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("tip");
    QTest::addColumn<QString>("indirimBasligi");
    QTest::addColumn<QString>("fiyatBasligi");
    QTest::addColumn<bool>("fiyatAcik");
    QTest::addColumn<bool>("oranlarGorunur");

    const QString fiyat = QStringLiteral("Fiyat:");
    const QString kampFiyat = QStringLiteral("Kampanyalı Fiyat:");
    QTest::newRow("stok, musteri") << TAyrintiListesi::Stok << 0 << 0 << QStringLiteral("İndirim: %10+5") << fiyat
                                   << false << false;
    QTest::newRow("stok, kampanyali") << TAyrintiListesi::Stok << 1 << 3
                                      << QStringLiteral("Kampanyalı 10+5") << kampFiyat << false << false;
    QTest::newRow("stok, personel") << TAyrintiListesi::Stok << 0 << 2 << QStringLiteral("İndirim: %10+5") << fiyat
                                    << true << true;
    QTest::newRow("yeni, musteri") << TAyrintiListesi::Yeni << 0 << 0 << QStringLiteral("İndirim:  % 10+5") << fiyat
                                   << false << false;
    QTest::newRow("yeni, kampanyali personel") << TAyrintiListesi::Yeni << 2 << 1
                                               << QStringLiteral("Kampanyalı 10+5") << kampFiyat << true << true;
    QTest::newRow("kampanya, personel") << TAyrintiListesi::Kampanyali << 1 << 1
                                        << QStringLiteral("Kampanyalı 10+5") << kampFiyat << true << false;
    QTest::newRow("kampanya, musteri") << TAyrintiListesi::Kampanyali << 1 << 0
                                       << QStringLiteral("Kampanyalı 10+5") << kampFiyat << false << false;
}

void TestStokAyarinti::listeSatiriylaDoldurma()
{
    QFETCH(int, k);
    QFETCH(QString, indirimBasligi);
    QFETCH(QString, fiyatBasligi);
    QFETCH(bool, fiyatAcik);
    QFETCH(bool, oranlarGorunur);
    QFETCH(TAyrintiListesi, liste);
    QFETCH(int, tip);
    TClientDataSet veri;
    listeSatiri(veri, k, QStringLiteral("10+5"));
    Tstokayarinti d(nullptr, 101);
    ListeSatiriniDoldur(d, veri, liste, tip, 4);
    QCOMPARE(d.indirimoran->text(), indirimBasligi);
    QCOMPARE(d.Label2->text(), fiyatBasligi);
    QCOMPARE(!d.birimfiyat->isReadOnly(), fiyatAcik);
    QCOMPARE(!d.edindirim2->isReadOnly(), fiyatAcik);
    QCOMPARE(!d.GridPanel2->isHidden(), oranlarGorunur);
    QCOMPARE(d.birimfiyat->Value(), 250.0);
    QCOMPARE(d.Oranlar(), (TIndirimOranlari{10, 5, 0, 0}));
    QCOMPARE(d.kdvoran, 20.0);
    QCOMPARE(d.adet->value(), 4);
    QCOMPARE(d.adi->text(), QStringLiteral("YAĞ FİLTRESİ"));
    QCOMPARE(d.barkod->text(), QStringLiteral("8690001"));
    QCOMPARE(d.model->text(), QStringLiteral("DOBLO"));
    QCOMPARE(d.finishkod->text(), QStringLiteral("F-101"));
    QCOMPARE(d.marka->text(), QStringLiteral("FİLTRON"));
}

void TestStokAyarinti::sepetSatiriylaDoldurma()
{
    wire::Table t;
    const std::pair<const char *, T> kolonlar[] = {
        {"SIRANO", T::Int32},         {"STOKNO", T::Int32},         {"BARKOD", T::String},
        {"STOKADI", T::String},       {"MARKA", T::String},         {"FINISHKOD", T::String},
        {"MODEL", T::String},         {"MIKTAR", T::Double},        {"BIRIMFIYAT", T::Double},
        {"INDIRIMORANI1", T::Double}, {"INDIRIMORANI2", T::Double}, {"INDIRIMORANI3", T::Double},
        {"INDIRIMORANI4", T::Double}, {"KDV", T::Double}};
    for (const auto &[name, type] : kolonlar)
        t.addColumn({QString::fromLatin1(name), type, 50, true});
    const QVariantList degerler{7, 101, QStringLiteral("8690001"), QStringLiteral("HAVA FİLTRESİ"), QStringLiteral("M"),
                                QStringLiteral("F"), QStringLiteral("X"), 7.0, 88.5, 3.0, 0.0, 0.0, 0.0, 18.0};
    const int r = t.appendRow();
    for (int c = 0; c < degerler.size(); ++c)
        t.setValue(r, c, degerler.at(c));
    TClientDataSet sepet;
    sepet.LoadFromTable(std::move(t));

    Tstokayarinti d(nullptr, 101);
    SepetSatiriniDoldur(d, sepet, 0, 6);
    // The line's quantity wins over the package quantity; captions stay plain.
    QCOMPARE(d.adet->value(), 7);
    QCOMPARE(d.koliadet(), 6);
    QCOMPARE(d.birimfiyat->Value(), 88.5);
    QCOMPARE(d.Oranlar(), (TIndirimOranlari{3, 0, 0, 0}));
    QCOMPARE(d.kdvoran, 18.0);
    QCOMPARE(d.adi->text(), QStringLiteral("HAVA FİLTRESİ"));
    QCOMPARE(d.Label2->text(), QStringLiteral("Fiyat:"));
    QCOMPARE(d.indirimoran->text(), QStringLiteral("İndirim:"));
    QVERIFY(d.birimfiyat->isReadOnly());
    QVERIFY(d.GridPanel2->isHidden());
}

KORVEL_TEST_MAIN(TestStokAyarinti)
#include "tst_stokayarinti.moc"

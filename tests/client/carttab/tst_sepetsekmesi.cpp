// The cart page's pieces: totals of the selected lines, the view's columns and fit, and
// what the line actions and the order send put on the wire.
#include "baglantiu.h"
#include "cartcanned.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gridview.h"
#include "sepetsekmesi.h"
#include "sqlconnection.h"
#include "table.h"
#include "testmain.h"

using namespace carttest;
using T = wire::ColumnType;

namespace {

// Lines as {SEC, TUTAR, INDIRIMTUTAR, VERGITUTARI}; a null SEC is an invalid variant.
using Satirlar = QList<QVariantList>;

wire::Table sepetTablosu(const Satirlar &satirlar)
{
    wire::Table t;
    t.addColumn({QStringLiteral("SIRANO"), T::Int32, 0, true});
    t.addColumn({QStringLiteral("SEC"), T::Int32, 0, true});
    t.addColumn({QStringLiteral("TUTAR"), T::Double, 0, true});
    t.addColumn({QStringLiteral("INDIRIMTUTAR"), T::Double, 0, true});
    t.addColumn({QStringLiteral("VERGITUTARI"), T::Double, 0, true});
    int no = 1;
    for (const QVariantList &s : satirlar) {
        const int r = t.appendRow();
        t.setValue(r, 0, no++);
        for (int c = 0; c < 4; ++c)
            t.setValue(r, c + 1, s.value(c));
    }
    return t;
}

TSonucBilgisi oturum()
{
    TSonucBilgisi b;
    b.SetCARINO(42);
    b.SetSirano(951);
    b.SetADI(QStringLiteral("KULLANICI1"));
    return b;
}

void esit(const QJsonValue &gelen, const QJsonValue &beklenen)
{
    if (beklenen.isDouble())
        QCOMPARE(gelen.toDouble(-1), beklenen.toDouble());
    else
        QCOMPARE(gelen, beklenen);
}

} // namespace

class TestSepetSekmesi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }
    void toplamlar_data();
    void toplamlar();
    void kapaliSepet();
    void kolonlar();
    void genisEkrandaAgirliklar();
    void sunucuyaGidenler();
};

void TestSepetSekmesi::toplamlar_data()
{
    QTest::addColumn<Satirlar>("satirlar");
    QTest::addColumn<QStringList>("beklenen"); // Toplam, İndirim, Ara, Vergi, Genel

    const QStringList sifir(5, QStringLiteral("0,00"));
    QTest::newRow("bos sepet") << Satirlar{} << sifir;
    QTest::newRow("secili olmayanlar sayilmaz")
        << Satirlar{{0, 100.0, 10.0, 18.0}, {0, 50.0, 5.0, 9.0}, {QVariant(), 7.0, 0.0, 1.0}, {2, 3.0, 0.0, 1.0}}
        << sifir;
    QTest::newRow("uc secili satir")
        << Satirlar{{1, 100.0, 10.0, 18.0}, {1, 50.0, 5.0, 9.0}, {1, 25.5, 0.0, 5.1}}
        << QStringList{"175,50", "15,00", "160,50", "32,10", "192,60"};
    QTest::newRow("secilmemis satir arada")
        << Satirlar{{1, 100.0, 10.0, 18.0}, {0, 999.0, 99.0, 99.0}, {1, 25.5, 0.0, 5.1}}
        << QStringList{"125,50", "10,00", "115,50", "23,10", "138,60"};
    // Rounded after every addition: 0.01, 0.02, 0.03 rather than round(0.015) = 0.02.
    QTest::newRow("her toplamada yuvarlanir")
        << Satirlar{{1, 0.005, 0.0, 0.005}, {1, 0.005, 0.0, 0.005}, {1, 0.005, 0.0, 0.005}}
        << QStringList{"0,03", "0,00", "0,03", "0,03", "0,06"};
    QTest::newRow("binlik ayirici")
        << Satirlar{{1, 1234567.891, 0.0, 0.0}}
        << QStringList{"1.234.567,89", "0,00", "1.234.567,89", "0,00", "1.234.567,89"};
    QTest::newRow("bos tutarlar sifir sayilir")
        << Satirlar{{1, QVariant(), QVariant(), QVariant()}, {1, 10.0, 1.0, 2.0}}
        << QStringList{"10,00", "1,00", "9,00", "2,00", "11,00"};
}

void TestSepetSekmesi::toplamlar()
{
    QFETCH(Satirlar, satirlar);
    QFETCH(QStringList, beklenen);
    TClientDataSet sepet;
    sepet.LoadFromTable(sepetTablosu(satirlar));
    if (!satirlar.isEmpty())
        sepet.SetRecNo(1);
    const int once = sepet.RecNo();
    const TSepetToplamlari t = SepetToplamHesapla(sepet);
    const QStringList yazilar{TutarYazisi(t.Toplam), TutarYazisi(t.Indirim), TutarYazisi(t.AraToplam),
                              TutarYazisi(t.Vergi), TutarYazisi(t.GenelToplam)};
    QCOMPARE(yazilar, beklenen);
    QCOMPARE(sepet.RecNo(), once); // a line operation in progress keeps its line
}

void TestSepetSekmesi::kapaliSepet()
{
    TClientDataSet sepet;
    const TSepetToplamlari t = SepetToplamHesapla(sepet);
    QCOMPARE(t.GenelToplam, 0.0);
    QCOMPARE(TutarYazisi(t.Toplam), QStringLiteral("0,00"));
}

void TestSepetSekmesi::kolonlar()
{
    TGridView view;
    view.setObjectName(QStringLiteral("cxGridDBTableView1"));
    view.CreateColumn(QStringLiteral("ESKI"));
    SepetKolonlariniKur(view);
    QVERIFY(!view.ColumnByFieldName(QStringLiteral("ESKI")));

    QStringList gorunen;
    for (const TGridColumn *c : view.VisibleColumns())
        gorunen << c->FieldName() + u'=' + c->Caption() + u'=' + QString::number(c->Tag());
    QCOMPARE(gorunen, (QStringList{
                          "SEC=Seç=1", "VERILISTARIHI=Sipariş Tarihi=1", "BARKOD=Barkod=2", "FINISHKOD=FinishKod=2",
                          "OEMNO=OEMNo=2", "STOKADI=Stok Açıklama=3", "MIKTAR=Miktar=1", "BIRIMFIYAT=Birim Fiyat=1",
                          "TUTAR=Tutar=1", "INDIRIMYAZI=İndirim Oran=2", "NETBIRIMFIYAT=Net Fiyat=1", "KDV=KDV=1",
                          "VERGITUTARI=Vergi Tutarı=1", "NETTUTAR=Net Tutar=1", "VEREN=Veren=1", "DURUM=Durum=1"}));

    const TGridColumn *sec = view.ColumnByFieldName(QStringLiteral("SEC"));
    QCOMPARE(sec->Kind(), TCellKind::CheckBox);
    QCOMPARE(sec->CheckedValue(), QVariant(1));
    QCOMPARE(sec->UncheckedValue(), QVariant(0));
    QVERIFY(!sec->VisibleForCustomization());

    // Hidden but offered, and internal.
    for (const char *f : {"SIPARISNO", "MARKA", "OEM4", "INDIRIMORANI4", "PKOD"}) {
        const TGridColumn *c = view.ColumnByFieldName(QString::fromLatin1(f));
        QVERIFY2(c && !c->Visible() && c->VisibleForCustomization(), f);
    }
    for (const char *f : {"SIRANO", "STOKNO", "INDIRIMTUTAR", "CARIADI", "KALAN", "STOK_STOKNO"}) {
        const TGridColumn *c = view.ColumnByFieldName(QString::fromLatin1(f));
        QVERIFY2(c && !c->Visible() && !c->VisibleForCustomization(), f);
    }
    QCOMPARE(view.ColumnByFieldName(QStringLiteral("INDIRIMTUTAR"))->Caption(), QStringLiteral("İndirim Tutar"));

    const TGridColumn *durum = view.ColumnByFieldName(QStringLiteral("DURUM"));
    QCOMPARE(durum->Kind(), TCellKind::ImageCombo);
    QVERIFY(!durum->ShowDescriptions());
    QStringList durumlar;
    for (const TImageComboItem &i : durum->ImageComboItems())
        durumlar << i.Value.toString() + u'=' + i.Description;
    QCOMPARE(durumlar, (QStringList{"0=Yok", "1=Var", "2=Telefon Açınız", "3=Yolda", "4=Özel Sipariş",
                                    "5=Tedarik Sürecinde"}));

    QCOMPARE(view.ColumnByFieldName(QStringLiteral("VERILISTARIHI"))->FooterSummary(), TSummaryKind::Count);
    QCOMPARE(view.ColumnByFieldName(QStringLiteral("MIKTAR"))->FooterSummary(), TSummaryKind::Sum);
    QCOMPARE(view.DataRowHeight(), 60);
    QVERIFY(view.ReadOnly());
}

void TestSepetSekmesi::genisEkrandaAgirliklar()
{
    TGridView view;
    SepetKolonlariniKur(view);
    // 22 weights share 1000 - 30 pixels: 44 each.
    SepetKolonlariYay(view, 1920, 1000);
    QCOMPARE(view.ColumnByFieldName(QStringLiteral("STOKADI"))->Width(), 3 * 44);
    QCOMPARE(view.ColumnByFieldName(QStringLiteral("SEC"))->Width(), 44);
}

void TestSepetSekmesi::sunucuyaGidenler()
{
    Sunucu s;
    QVERIFY(s.server.isListening());
    auto bagc = s.baglanti();
    const TSonucBilgisi b = oturum();

    s.cevap(QStringLiteral("SepetSecimGuncelle"), bos());
    bool baglandi = false;
    QVERIFY(SecimGuncelle(*bagc, 17, 0, &baglandi));
    QVERIFY(baglandi);
    QCOMPARE(s.parametreler(QStringLiteral("SepetSecimGuncelle")).last(), (QJsonArray{17, 0}));
    // A refused call is reported by the result alone.
    s.cevap(QStringLiteral("SepetSecimGuncelle"), hata("Sepet satırı bulunamadı."));
    QVERIFY(!SecimGuncelle(*bagc, 18, 1, &baglandi));
    QVERIFY(baglandi);

    // Line delete: the record, the line and barcode "-" description; the result unread.
    s.cevap(QStringLiteral("SepetSatirSil"), sonuc(0));
    QCOMPARE(SilinenSatirAciklamasi(QStringLiteral("8690001"), QStringLiteral("FREN BALATASI")),
             QStringLiteral("8690001-FREN BALATASI"));
    QVERIFY(SepetSatirSil(*bagc, b, 17, QStringLiteral("8690001-FREN BALATASI")));
    QJsonArray p = s.parametreler(QStringLiteral("SepetSatirSil")).last();
    QCOMPARE(p.size(), 3);
    QCOMPARE(p[0].toObject().value(QStringLiteral("type")).toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
    esit(p[1], 17);
    QCOMPARE(p[2].toString(), QStringLiteral("8690001-FREN BALATASI"));
    QVERIFY(!bagc->Connected());

    s.cevap(QStringLiteral("SepetHepsiniSil"), sonuc(0));
    QVERIFY(SepetHepsiniSil(*bagc, b));
    QCOMPARE(s.parametreler(QStringLiteral("SepetHepsiniSil")).last().size(), 1);

    // The order: record, account, delivery kind, cargo kind, note, user, cargo company.
    s.cevap(QStringLiteral("SiparisKaydet"), sonuc(true));
    QVERIFY(SiparisGonder(*bagc, b, 31, 4, QStringLiteral("Öğlene kadar"), 2));
    p = s.parametreler(QStringLiteral("SiparisKaydet")).last();
    QCOMPARE(p.size(), 7);
    const QJsonArray beklenen{42, 2, 4, QStringLiteral("Öğlene kadar"), 951, 31};
    for (int i = 0; i < beklenen.size(); ++i)
        esit(p[i + 1], beklenen[i]);
    QVERIFY(!bagc->Connected());
    s.cevap(QStringLiteral("SiparisKaydet"), sonuc(false));
    QVERIFY(!SiparisGonder(*bagc, b, 31, 4, QString(), 2));
    // A refused send reaches the caller as the platform's error.
    s.cevap(QStringLiteral("SiparisKaydet"), hata("Kargo firması bu kargo türünde bulunamadı."));
    QVERIFY_THROWS_EXCEPTION(std::exception, SiparisGonder(*bagc, b, 31, 4, QString(), 2));
    QVERIFY(!bagc->Connected());
}

KORVEL_TEST_MAIN(TestSepetSekmesi)
#include "tst_sepetsekmesi.moc"

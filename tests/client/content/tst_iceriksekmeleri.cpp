// The promotional pages without a server: picture text, announcement actions, the
// announcement rows, the caption texts and the column fit.
#include "clientdataset.h"
#include "exception.h"
#include "gridview.h"
#include "iceriksekmeleri.h"
#include "mobilstokunit.h"
#include "table.h"
#include "testmain.h"

Q_DECLARE_METATYPE(TDuyuruEylemi)

namespace {

TAcilisEkran duyuru(const QString &resim, const QString &baslik, const QString &arama)
{
    TAcilisEkran e;
    e.SetResim(resim);
    e.SetBaslik(baslik);
    e.SetArama(arama);
    return e;
}

wire::Table balon(std::initializer_list<QVariantList> rows)
{
    wire::Table t;
    for (const char *name : {"SEPET", "YENI", "KAMPANYA", "DUYURU"})
        t.addColumn({QString::fromLatin1(name), wire::ColumnType::Int32, 0, true});
    t.addColumn({QStringLiteral("BAKIYE"), wire::ColumnType::Double, 0, true});
    for (const QVariantList &values : rows) {
        const int r = t.appendRow();
        for (int c = 0; c < values.size(); ++c)
            t.setValue(r, c, values.at(c));
    }
    return t;
}

// A few new items, enough for best fit to have something to measure.
wire::Table yeniStoklar()
{
    wire::Table t;
    const char *names[] = {"BARKOD", "ADI", "FINISHKOD", "BIRIM", "MARKA", "MODEL", "K", "LISTEFIYAT1", "KAMPFIYAT",
                           "INDIRIMYAZI", "NETFIYAT", "KDVDAHIL"};
    for (const char *n : names) {
        const bool number = QByteArray(n).contains("FIYAT") || QByteArray(n) == "KDVDAHIL";
        t.addColumn({QString::fromLatin1(n),
                     QByteArray(n) == "K" ? wire::ColumnType::Int32
                                          : (number ? wire::ColumnType::Double : wire::ColumnType::String),
                     60, true});
    }
    const QVariantList rows[] = {
        {"8691234500011", "YAĞ FİLTRESİ UZUN AÇIKLAMALI BİR KALEM", "YF-100", "ADET", "VARNA", "KORSA 1.6", 1, 120.5,
         99.9, "%10", 89.91, 107.89},
        {"8691234500028", "HAVA FİLTRESİ", "HF-2", "AD", "TEMBO", "LIRA", 0, 45.0, 0.0, "", 45.0, 54.0},
    };
    for (const QVariantList &values : rows) {
        const int r = t.appendRow();
        for (int c = 0; c < values.size(); ++c)
            t.setValue(r, c, values.at(c));
    }
    return t;
}

} // namespace

class TestIcerikSekmeleri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hexCoz_data();
    void hexCoz();
    void hexCozRefusesNonHexDigits_data();
    void hexCozRefusesNonHexDigits();
    void duyuruEylemi_data();
    void duyuruEylemi();
    void announcementRowsAreRebuiltAndKeepTheirActions();
    void nullAnnouncementListIsEmpty();
    void balonCaptions_data();
    void balonCaptions();
    void balonWithoutRowsWritesNothing();
    void balonRefusesShortReader();
    void columnFit_data();
    void columnFit();
};

void TestIcerikSekmeleri::hexCoz_data()
{
    QTest::addColumn<QString>("metin");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("png signature") << "89504E47" << QByteArray::fromHex("89504E47");
    QTest::newRow("lower case") << "0a" << QByteArray("\x0a", 1);
    QTest::newRow("mixed case") << "fFaB" << QByteArray::fromHex("FFAB");
    QTest::newRow("empty") << "" << QByteArray();
    // A last single digit is a number of its own: "ABC" is AB then 0C, not AB C0.
    QTest::newRow("odd length") << "ABC" << QByteArray::fromHex("AB0C");
    QTest::newRow("single digit") << "7" << QByteArray("\x07", 1);
    QTest::newRow("zero bytes kept") << "0000" << QByteArray(2, '\0');
}

void TestIcerikSekmeleri::hexCoz()
{
    QFETCH(QString, metin);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HexCoz(metin), bytes);
}

void TestIcerikSekmeleri::hexCozRefusesNonHexDigits_data()
{
    QTest::addColumn<QString>("metin");
    QTest::newRow("letter beyond F") << "89G0";
    QTest::newRow("blank between pairs") << "89 50";
    QTest::newRow("bad last single digit") << "ABz";
    QTest::newRow("sign") << "+A";
    QTest::newRow("full-width digit") << QStringLiteral("０1");
}

void TestIcerikSekmeleri::hexCozRefusesNonHexDigits()
{
    QFETCH(QString, metin);
    QVERIFY_THROWS_EXCEPTION(platform::ConvertError, HexCoz(metin));
}

void TestIcerikSekmeleri::duyuruEylemi_data()
{
    QTest::addColumn<QString>("arama");
    QTest::addColumn<TDuyuruEylemi>("eylem");
    QTest::newRow("empty") << "" << TDuyuruEylemi::Hicbiri;
    QTest::newRow("blanks only") << "   " << TDuyuruEylemi::Hicbiri;
    QTest::newRow("campaign keyword") << "#KAMPANYA#" << TDuyuruEylemi::Kampanyali;
    QTest::newRow("new-items keyword, dotted capital I") << QStringLiteral("#YENİ#") << TDuyuruEylemi::Yeniler;
    QTest::newRow("keyword after a blank is text") << " #KAMPANYA#" << TDuyuruEylemi::Arama;
    QTest::newRow("keyword before a blank is text") << "#KAMPANYA# " << TDuyuruEylemi::Arama;
    QTest::newRow("lower-case keyword is text") << "#yeni#" << TDuyuruEylemi::Arama;
    QTest::newRow("dotless capital I is text") << "#YENI#" << TDuyuruEylemi::Arama;
    QTest::newRow("search text") << QStringLiteral("YAĞ FİLTRESİ") << TDuyuruEylemi::Arama;
}

void TestIcerikSekmeleri::duyuruEylemi()
{
    QFETCH(QString, arama);
    QFETCH(TDuyuruEylemi, eylem);
    QCOMPARE(DuyuruEylemi(arama), eylem);
}

void TestIcerikSekmeleri::announcementRowsAreRebuiltAndKeepTheirActions()
{
    TGridView view;
    view.setObjectName(QStringLiteral("cxGridduyuruBandedDuyuru"));
    DuyuruGorunumuKur(view);
    QVERIFY(view.ColumnByName(QStringLiteral("cxGridduyuruBandedDuyuruduyuru")));
    QVERIFY(!view.ColumnByName(QStringLiteral("cxGridduyuruBandedDuyurubaslik"))->VisibleForCustomization());
    QVERIFY(!view.ColumnByName(QStringLiteral("cxGridduyuruBandedDuyuruarama"))->Visible());

    TAcilisEkranlariki liste;
    liste.SetEkranlar({duyuru(QStringLiteral("89504e47"), QStringLiteral("Birinci"), QStringLiteral("#KAMPANYA#")),
                       duyuru(QString(), QStringLiteral("Resimsiz"), QStringLiteral("FREN BALATASI")),
                       duyuru(QStringLiteral("89ZZ"), QStringLiteral("Bozuk"), QStringLiteral("#YENİ#"))});
    TClientDataSet duyurular;
    duyurular.LoadFromTable(DuyuruTablosu(&liste));
    DuyurulariGoster(view, duyurular);

    QCOMPARE(view.RowCount(), 3);
    TGridColumn *resim = view.Columns(0);
    QCOMPARE(view.Value(0, resim).toByteArray(), QByteArray::fromHex("89504E47"));
    // No picture, and a picture text that is not hexadecimal: the row and its action stay.
    QVERIFY(view.Value(1, resim).toByteArray().isEmpty());
    QVERIFY(view.Value(2, resim).toByteArray().isEmpty());
    QCOMPARE(DuyuruArama(view, 0), QStringLiteral("#KAMPANYA#"));
    QCOMPARE(DuyuruArama(view, 1), QStringLiteral("FREN BALATASI"));
    QCOMPARE(DuyuruArama(view, 2), QStringLiteral("#YENİ#"));
    QCOMPARE(view.Value(1, view.Columns(1)).toString(), QStringLiteral("Resimsiz"));
    QCOMPARE(DuyuruArama(view, 3), QString());

    // A second load replaces the rows instead of adding to them.
    liste.SetEkranlar({duyuru(QStringLiteral("0a"), QStringLiteral("Tek"), QStringLiteral(" ARA "))});
    duyurular.LoadFromTable(DuyuruTablosu(&liste));
    DuyurulariGoster(view, duyurular);
    QCOMPARE(view.RowCount(), 1);
    QCOMPARE(view.Value(0, resim).toByteArray(), QByteArray("\x0a", 1));
    QCOMPARE(DuyuruArama(view, 0), QStringLiteral(" ARA "));
}

void TestIcerikSekmeleri::nullAnnouncementListIsEmpty()
{
    TGridView view;
    DuyuruGorunumuKur(view);
    TAcilisEkranlariki liste;
    liste.SetEkranlar({duyuru(QString(), QStringLiteral("Eski"), QStringLiteral("X"))});
    TClientDataSet duyurular;
    duyurular.LoadFromTable(DuyuruTablosu(&liste));
    DuyurulariGoster(view, duyurular);
    QCOMPARE(view.RowCount(), 1);

    const wire::Table bos = DuyuruTablosu(nullptr);
    QCOMPARE(bos.rowCount(), 0);
    duyurular.LoadFromTable(bos);
    DuyurulariGoster(view, duyurular);
    QCOMPARE(view.RowCount(), 0);
}

void TestIcerikSekmeleri::balonCaptions_data()
{
    QTest::addColumn<double>("bakiye");
    QTest::addColumn<QString>("bakiyeler");
    QTest::newRow("whole number") << 4.0 << "4=Bakiyeler";
    QTest::newRow("decimal comma") << 2.5 << "2,5=Bakiyeler";
    QTest::newRow("no grouping") << 1234567.25 << "1234567,25=Bakiyeler";
    QTest::newRow("negative") << -12.75 << "-12,75=Bakiyeler";
    QTest::newRow("binary noise dropped") << 0.1 + 0.2 << "0,3=Bakiyeler";
    QTest::newRow("zero") << 0.0 << "0=Bakiyeler";
}

void TestIcerikSekmeleri::balonCaptions()
{
    QFETCH(double, bakiye);
    QFETCH(QString, bakiyeler);
    const QList<TBalonBasliklari> satirlar = BalonSatirlari(balon({{3, 12, 0, 1250, bakiye}}));
    QCOMPARE(satirlar.size(), 1);
    QCOMPARE(satirlar[0].Sepet, QStringLiteral("3=Sepet"));
    QCOMPARE(satirlar[0].YeniStoklar, QStringLiteral("12=Yeni Stoklar"));
    QCOMPARE(satirlar[0].Kampanyali, QStringLiteral("0=Kampanyalı"));
    QCOMPARE(satirlar[0].Duyurular, QStringLiteral("1250=Duyurular"));
    QCOMPARE(satirlar[0].Bakiyeler, bakiyeler);
}

void TestIcerikSekmeleri::balonWithoutRowsWritesNothing()
{
    QVERIFY(BalonSatirlari(balon({})).isEmpty());
}

void TestIcerikSekmeleri::balonRefusesShortReader()
{
    wire::Table t;
    t.addColumn({QStringLiteral("SEPET"), wire::ColumnType::Int32, 0, true});
    t.setInt(t.appendRow(), 0, 5);
    QVERIFY_THROWS_EXCEPTION(platform::Exception, BalonSatirlari(t));
}

void TestIcerikSekmeleri::columnFit_data()
{
    QTest::addColumn<int>("ekran");
    QTest::addColumn<bool>("agirlikli");
    QTest::newRow("1152 px: best fit") << 1152 << false;
    QTest::newRow("1153 px: weights") << 1153 << true;
}

void TestIcerikSekmeleri::columnFit()
{
    QFETCH(int, ekran);
    QFETCH(bool, agirlikli);
    TClientDataSet veri;
    veri.LoadFromTable(yeniStoklar());
    TDataSource source(&veri);
    // The new-items view as a kind-4 user sees it: K and KAMPFIYAT hidden leave weights of 20.
    auto setUp = [&source](TGridView &v) {
        YeniStokGorunumuKur(v);
        v.SetDataSource(&source);
        v.ColumnByFieldName(QStringLiteral("K"))->Hide();
        v.ColumnByFieldName(QStringLiteral("KAMPFIYAT"))->Hide();
        v.resize(1030, 400);
    };
    TGridView view;
    setUp(view);
    int sum = 0;
    for (const TGridColumn *c : view.VisibleColumns())
        sum += c->Tag();
    QCOMPARE(sum, 20);

    KolonlariYay(view, 1030, ekran);
    if (agirlikli) {
        for (const TGridColumn *c : view.VisibleColumns())
            QCOMPARE(c->Width(), c->Tag() * 50);
        return;
    }
    TGridView bestFit;
    setUp(bestFit);
    bestFit.ApplyBestFit();
    bool weighted = true;
    for (int i = 0; i < view.ColumnCount(); ++i) {
        QCOMPARE(view.Columns(i)->Width(), bestFit.Columns(i)->Width());
        if (view.Columns(i)->Visible() && view.Columns(i)->Width() != view.Columns(i)->Tag() * 50)
            weighted = false;
    }
    QVERIFY(!weighted);
}

KORVEL_TEST_MAIN(TestIcerikSekmeleri)
#include "tst_iceriksekmeleri.moc"

// The stock list's pieces on a bare view: columns, column fit, price cell, letter mapping.
#include "clientdataset.h"
#include "gridview.h"
#include "stoklistesi.h"
#include "testmain.h"

#include <QLineEdit>
#include <QMenu>
#include <QPainter>

namespace {

TGridStyles stiller()
{
    TGridStyles s;
    s.ContentEven.Color = QColor(239, 239, 239);
    s.ContentOdd.Color = Qt::white;
    s.Selection.Color = QColor(210, 240, 249);
    s.Selection.TextColor = Qt::black;
    return s;
}

std::unique_ptr<TGridView> stokGorunumu()
{
    auto v = std::make_unique<TGridView>();
    v->setObjectName(QStringLiteral("cxGrid1DBTableView1"));
    stoklistesi::KolonlariKur(*v, stiller());
    return v;
}

// Typed key by key, as a keyboard with Turkish letters sends them.
void yaz(QWidget *w, const QString &text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(w, &press);
    }
}

int gorunurAgirlik(const TGridView &v)
{
    int s = 0;
    for (const TGridColumn *c : v.VisibleColumns())
        s += c->Tag();
    return s;
}

} // namespace

class TestStokListesi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columns();
    void statusAndFlagPictures();
    void popupMenuOrder();
    void fitLayout_data();
    void fitLayout();
    void fitUnitExample();
    void priceText_data();
    void priceText();
    void priceCellBackground_data();
    void priceCellBackground();
    void typedTurkishLettersMapped();
    void pastedTextNotMapped();
    void enterReachesHandlerAndIsSwallowed();
};

void TestStokListesi::columns()
{
    auto v = stokGorunumu();
    QStringList fields, shown, internal;
    for (int i = 0; i < v->ColumnCount(); ++i) {
        const TGridColumn *c = v->Columns(i);
        fields << c->FieldName();
        if (c->Visible())
            shown << c->Caption();
        if (!c->VisibleForCustomization())
            internal << c->FieldName();
        QCOMPARE(c->HeaderAlignment(), Qt::AlignCenter);
    }
    QCOMPARE(fields.join(u' '),
             QStringLiteral("DURUM OEM1 OEM2 OEM3 BARKOD FINISHKOD ARAMA ADI OEM4 STOK_STOKNO URETICIKODU RESIM "
                            "BARKOD_BARKODNO DIGERADI DPKOD OEMNO BIRIM MARKA MODEL ANAGRUP OZELKOD KALAN PKOD KDV "
                            "ALINANSIPARIS VERILENSIPARIS LISTEFIYAT1 KAMPFIYAT FIYAT Y K INDIRIMYAZI NETFIYAT "
                            "KDVDAHIL "));
    QCOMPARE(shown, QStringList({"Durum", "StokKod", "OemKod", "Açıklama", "Resim", "Yeni", "Kampanyalı",
                                 "İndirim Oran", "KDV Dahil Fiyat", "Fiyat Bilgisi"}));
    QCOMPARE(internal, QStringList({"STOK_STOKNO", "BARKOD_BARKODNO", "DPKOD", "KALAN", "PKOD", "ALINANSIPARIS",
                                    "VERILENSIPARIS"}));
    TGridColumn *fiyat = v->ColumnByName(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"));
    QVERIFY(fiyat && fiyat->OnCustomDrawCell());
    QCOMPARE(fiyat->Tag(), 2);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("ADI"))->Tag(), 3);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("ADI"))->Kind(), TCellKind::Label);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("FIYAT"))->Caption(), QStringLiteral("Liste Fiyatı"));
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("OEM1"))->FooterSummary(), TSummaryKind::Count);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("INDIRIMYAZI"))->Alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

void TestStokListesi::statusAndFlagPictures()
{
    auto v = stokGorunumu();
    const TGridColumn *durum = v->ColumnByFieldName(QStringLiteral("DURUM"));
    for (int d = 0; d <= 5; ++d) {
        const TImageComboItem *item = durum->ImageComboItemFor(d);
        QVERIFY2(item && !item->Image.isNull(), qPrintable(QString::number(d)));
    }
    QVERIFY(!durum->ImageComboItemFor(6));
    QVERIFY(!durum->ImageComboItemFor(-1));
    QVERIFY(!durum->ShowDescriptions());
    const TGridColumn *resim = v->ColumnByFieldName(QStringLiteral("RESIM"));
    QVERIFY(resim->ImageComboItemFor(1));
    QVERIFY(!resim->ImageComboItemFor(0));
    for (const char *bayrak : {"Y", "K"}) {
        const TGridColumn *c = v->ColumnByFieldName(QString::fromLatin1(bayrak));
        QCOMPARE(c->ImageComboItemFor(0)->Description, QStringLiteral("Hayır"));
        QCOMPARE(c->ImageComboItemFor(1)->Description, QStringLiteral("Evet"));
    }
}

void TestStokListesi::popupMenuOrder()
{
    QMenu menu;
    const stoklistesi::TStokMenusu m = stoklistesi::MenuyuKur(menu);
    QStringList items;
    for (QAction *a : menu.actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
    QCOMPARE(items, QStringList({"S2=Sepete Ekle", "-", "B1=Sipariş Bakiyeleriniz", "-", "S3=Siparişleri Göster", "-",
                                 "StokHareketleri1=Stok Hareketleri"}));
    QCOMPARE(m.S3->objectName(), QStringLiteral("S3"));
}

void TestStokListesi::fitLayout_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<int>("rowHeight");
    QTest::newRow("1152 is narrow") << 1152 << false << 100;
    QTest::newRow("1153 is wide") << 1153 << true << 60;
    QTest::newRow("small") << 640 << false << 100;
    QTest::newRow("large") << 1920 << true << 60;
}

void TestStokListesi::fitLayout()
{
    QFETCH(int, windowWidth);
    QFETCH(bool, wide);
    QFETCH(int, rowHeight);
    auto v = stokGorunumu();
    const int grid = windowWidth - 10;
    const stoklistesi::TYerlesim y = stoklistesi::KolonlariYay(*v, windowWidth, grid);
    QCOMPARE(y.Genis, wide);
    QCOMPARE(v->DataRowHeight(), rowHeight);
    QVERIFY(!v->UpdateLocked());
    for (const char *f : {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"})
        QCOMPARE(v->ColumnByFieldName(QString::fromLatin1(f))->Visible(), wide);
    TGridColumn *fiyat = v->ColumnByName(QStringLiteral("cxGrid1DBTableView1FiyatBilgisi"));
    QCOMPARE(fiyat->Visible(), !wide);
    const int unit = int((grid - 30) / double(gorunurAgirlik(*v)));
    QCOMPARE(y.Birim, unit);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("ADI"))->Width(), 3 * unit);
    if (wide) {
        QCOMPARE(v->ColumnByFieldName(QStringLiteral("KDVDAHIL"))->Width(), 3 * unit);
    } else {
        QCOMPARE(fiyat->Width(), 150);
        for (const char *f : {"OEM1", "OEM2", "OEM3"})
            QCOMPARE(v->ColumnByFieldName(QString::fromLatin1(f))->Width(), 80);
    }
}

void TestStokListesi::fitUnitExample()
{
    // Wide layout without the two flags: visible weights add up to 20.
    auto v = stokGorunumu();
    v->ColumnByFieldName(QStringLiteral("Y"))->SetVisible(false);
    v->ColumnByFieldName(QStringLiteral("K"))->SetVisible(false);
    const stoklistesi::TYerlesim y = stoklistesi::KolonlariYay(*v, 1600, 1230);
    QCOMPARE(gorunurAgirlik(*v), 20);
    QCOMPARE(y.Birim, 60);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("ADI"))->Width(), 180);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("DURUM"))->Width(), 60);
    // A column the user shows counts on the next fit.
    v->ColumnByFieldName(QStringLiteral("MARKA"))->SetVisible(true);
    QCOMPARE(stoklistesi::KolonlariYay(*v, 1600, 1230).Birim, 54);
    // A grid narrower than the margin gives no negative widths.
    stoklistesi::KolonlariYay(*v, 1600, 10);
    QCOMPARE(v->ColumnByFieldName(QStringLiteral("ADI"))->Width(), 0);
}

void TestStokListesi::priceText_data()
{
    QTest::addColumn<double>("campaign");
    QTest::addColumn<QString>("text");
    const QString liste = QStringLiteral("Liste Fiyatı: 1.234,50\r\n");
    const QString rest = QStringLiteral("NetFiyat: 987,65\r\nKDV li Fiyat: 1.185,18\r\n");
    QTest::newRow("no campaign") << 0.0 << liste + rest;
    QTest::newRow("negative campaign") << -5.0 << liste + rest;
    QTest::newRow("campaign second") << 1100.004 << liste + QStringLiteral("Kampanyalı Fiyat: 1.100,00\r\n") + rest;
}

void TestStokListesi::priceText()
{
    QFETCH(double, campaign);
    QFETCH(QString, text);
    QCOMPARE(stoklistesi::FiyatBilgisiMetni(1234.5, campaign, 987.654, 1185.18, QLocale()), text);
}

void TestStokListesi::priceCellBackground_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("even");
    QTest::addColumn<QColor>("background");
    QTest::newRow("selected") << true << true << QColor(210, 240, 249);
    QTest::newRow("even") << false << true << QColor(239, 239, 239);
    QTest::newRow("odd") << false << false << QColor(Qt::white);
}

void TestStokListesi::priceCellBackground()
{
    QFETCH(bool, selected);
    QFETCH(bool, even);
    QFETCH(QColor, background);
    auto v = stokGorunumu();
    QImage image(150, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter p(&image);
    TCustomDrawCellArgs args;
    args.Canvas = &p;
    args.Bounds = image.rect();
    args.View = v.get();
    args.Selected = selected;
    args.EvenRow = even;
    args.Font = QFont(QStringLiteral("Arial"));
    args.Font.setPixelSize(13);
    stoklistesi::FiyatBilgisiCiz(args);
    p.end();
    QVERIFY(args.Done);
    // Filled everywhere; text only right of the left inset and inside the right one.
    int textLeft = image.width(), textRight = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            QVERIFY(c != QColor(Qt::red));
            if (c != background)
                textLeft = qMin(textLeft, x), textRight = qMax(textRight, x);
        }
    QVERIFY(textRight > textLeft);
    QVERIFY2(textRight >= 130 && textRight < 140, qPrintable(QString::number(textRight)));
    QVERIFY(textLeft >= 10);
}

void TestStokListesi::typedTurkishLettersMapped()
{
    QLineEdit edit;
    new stoklistesi::TTusYakalayici(&edit, [](QChar &k) { k = stoklistesi::TurkceHarfCevir(k); });
    yaz(&edit, QStringLiteral("şöğüçı ŞÖĞÜÇİ ab1"));
    QCOMPARE(edit.text(), QStringLiteral("sogucI SOGUCI ab1"));
}

void TestStokListesi::pastedTextNotMapped()
{
    QLineEdit edit;
    new stoklistesi::TTusYakalayici(&edit, [](QChar &k) { k = stoklistesi::TurkceHarfCevir(k); });
    edit.insert(QStringLiteral("şöğ"));
    QCOMPARE(edit.text(), QStringLiteral("şöğ"));
}

void TestStokListesi::enterReachesHandlerAndIsSwallowed()
{
    QLineEdit edit;
    QString seen;
    int returns = 0;
    connect(&edit, &QLineEdit::returnPressed, [&returns] { ++returns; });
    new stoklistesi::TTusYakalayici(&edit, [&seen](QChar &k) {
        seen += k;
        if (k == u'\r')
            k = QChar();
    });
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Left);
    QCOMPARE(seen, QStringLiteral("ab\r"));
    QCOMPARE(returns, 0);
    QCOMPARE(edit.text(), QStringLiteral("ab"));
}

KORVEL_TEST_MAIN(TestStokListesi)
#include "tst_stoklistesi.moc"

#include "stoklistesi.h"

#include "clientdataset.h"
#include "displayformat.h"
#include "gridview.h"
#include "kolontanimi.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace stoklistesi {

namespace {

const char *const FiyatBilgisiAdi = "FiyatBilgisi";

using kolon::THucre;

// The stock list's columns in view order.
const kolon::TKolonTanimi Kolonlar[] = {
    {"DURUM", "Durum", true, true, 1, THucre::Durum},
    {"OEM1", "Oem1", false, true, 2, THucre::Yazi},
    {"OEM2", "Oem2", false, true, 2, THucre::Yazi},
    {"OEM3", "Oem3", false, true, 2, THucre::Yazi},
    {"BARKOD", "Barkod", false, true, 2, THucre::Yazi},
    {"FINISHKOD", "StokKod", true, true, 2, THucre::Yazi},
    {"ARAMA", "OemKod", true, true, 2, THucre::Yazi},
    {"ADI", "Açıklama", true, true, 3, THucre::Yazi},
    {"OEM4", "Oem4", false, true, 2, THucre::Yazi},
    {"STOK_STOKNO", nullptr, false, false, 1, THucre::Duz},
    {"URETICIKODU", "Üretici Kod", false, true, 2, THucre::Yazi},
    {"RESIM", "Resim", true, true, 1, THucre::Resim},
    {"BARKOD_BARKODNO", nullptr, false, false, 1, THucre::Duz},
    {"DIGERADI", "Diğer Adı", false, true, 3, THucre::Yazi},
    {"DPKOD", nullptr, false, false, 2, THucre::Yazi},
    {"OEMNO", "Oem No", false, true, 2, THucre::Yazi},
    {"BIRIM", "Birim", false, true, 1, THucre::Yazi},
    {"MARKA", "Marka", false, true, 2, THucre::Yazi},
    {"MODEL", "Model", false, true, 2, THucre::Yazi},
    {"ANAGRUP", "Ana Grup", false, true, 2, THucre::Yazi},
    {"OZELKOD", "Özel Kod", false, true, 2, THucre::Yazi},
    {"KALAN", nullptr, false, false, 1, THucre::Duz},
    {"PKOD", nullptr, false, false, 1, THucre::Yazi},
    {"KDV", nullptr, false, true, 1, THucre::Duz},
    {"ALINANSIPARIS", nullptr, false, false, 1, THucre::Duz},
    {"VERILENSIPARIS", nullptr, false, false, 1, THucre::Duz},
    {"LISTEFIYAT1", "Liste Fiyatı", false, true, 2, THucre::Duz},
    {"KAMPFIYAT", "Kampanyalı Fiyat", false, true, 2, THucre::Duz},
    {"FIYAT", "Liste Fiyatı", false, true, 2, THucre::Duz},
    {"Y", "Yeni", true, true, 1, THucre::Bayrak},
    {"K", "Kampanyalı", true, true, 1, THucre::Bayrak},
    {"INDIRIMYAZI", "İndirim Oran", true, true, 2, THucre::OrtaliYazi},
    {"NETFIYAT", "Net Fiyatı", false, true, 2, THucre::Duz},
    {"KDVDAHIL", "KDV Dahil Fiyat", true, true, 3, THucre::Duz},
    {"", "Fiyat Bilgisi", true, true, 2, THucre::Ozel, FiyatBilgisiAdi},
};

const char *const GenisFiyatlar[] = {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"};
const char *const DarOemler[] = {"OEM1", "OEM2", "OEM3"};

TGridColumn *fiyatBilgisi(const TGridView &view)
{
    return view.ColumnByName(view.objectName() + QLatin1String(FiyatBilgisiAdi));
}

void gorunur(const TGridView &view, const char *alan, bool acik)
{
    if (TGridColumn *c = view.ColumnByFieldName(QString::fromLatin1(alan)))
        c->SetVisible(acik);
}

void genislik(TGridColumn *c, int w)
{
    if (c)
        c->SetWidth(w);
}

} // namespace

void KolonlariKur(TGridView &view, const TGridStyles &stiller)
{
    view.BeginUpdate();
    view.ClearColumns();
    kolon::KolonlariEkle(view, Kolonlar, std::size(Kolonlar));
    if (TGridColumn *fiyat = fiyatBilgisi(view)) {
        fiyat->SetValueType(TFieldType::String);
        fiyat->SetFiltering(false);
        fiyat->SetOnCustomDrawCell(&FiyatBilgisiCiz);
    }
    view.ColumnByFieldName(QStringLiteral("OEM1"))->SetFooterSummary(TSummaryKind::Count);

    view.SetReadOnly(true);
    view.SetRowSelect(true);
    view.SetIncrementalSearch(true);
    view.SetPullFocusing(true);
    view.SetQuickCustomization(true);
    view.SetHeaderFilter(true);
    view.SetIndicatorWidth(5);
    view.SetHeaderHeight(40);
    view.SetGridLineColor(Qt::white);
    view.SetFooterVisible(true);
    view.SetBorderVisible(false);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    view.setFont(arial);
    view.SetStyles(stiller);
    view.EndUpdate();
}

TStokMenusu MenuyuKur(QMenu &menu)
{
    auto oge = [&menu](const char *ad, const char *baslik) {
        QAction *a = menu.addAction(QString::fromUtf8(baslik));
        a->setObjectName(QString::fromLatin1(ad));
        return a;
    };
    TStokMenusu m;
    m.S2 = oge("S2", "Sepete Ekle");
    menu.addSeparator();
    m.B1 = oge("B1", "Sipariş Bakiyeleriniz");
    menu.addSeparator();
    m.S3 = oge("S3", "Siparişleri Göster");
    menu.addSeparator();
    m.StokHareketleri1 = oge("StokHareketleri1", "Stok Hareketleri");
    return m;
}

TYerlesim KolonlariYay(TGridView &view, int pencereGenisligi, int gridGenisligi)
{
    TYerlesim y;
    y.Genis = pencereGenisligi > GenisPencereSiniri;
    y.SatirYuksekligi = y.Genis ? 60 : 100;
    TGridColumn *fiyat = fiyatBilgisi(view);

    view.BeginUpdate();
    for (const char *alan : GenisFiyatlar)
        gorunur(view, alan, y.Genis);
    if (fiyat)
        fiyat->SetVisible(!y.Genis);
    view.SetDataRowHeight(y.SatirYuksekligi);
    y.Birim = view.ApplyTagWidths(gridGenisligi);
    if (!y.Genis) {
        for (const char *alan : DarOemler)
            genislik(view.ColumnByFieldName(QString::fromLatin1(alan)), 80);
        genislik(fiyat, 150);
        view.SetDataRowHeight(100);
    }
    view.EndUpdate();
    return y;
}

QString FiyatBilgisiMetni(double listeFiyati, double kampanyaFiyati, double netFiyat, double kdvDahil,
                          const QLocale &locale)
{
    static const QString Bicim = QStringLiteral("#,###,##0.00");
    const QLatin1String satirSonu("\r\n");
    QString metin = QStringLiteral("Liste Fiyatı: ") + platform::FormatFloat(Bicim, listeFiyati, locale) + satirSonu;
    if (kampanyaFiyati > 0)
        metin += QStringLiteral("Kampanyalı Fiyat: ") + platform::FormatFloat(Bicim, kampanyaFiyati, locale)
                 + satirSonu;
    metin += QStringLiteral("NetFiyat: ") + platform::FormatFloat(Bicim, netFiyat, locale) + satirSonu;
    metin += QStringLiteral("KDV li Fiyat: ") + platform::FormatFloat(Bicim, kdvDahil, locale) + satirSonu;
    return metin;
}

void FiyatBilgisiCiz(TCustomDrawCellArgs &args)
{
    if (!args.Canvas || !args.View)
        return;
    const QString metin = FiyatBilgisiMetni(args.AsFloat(QStringLiteral("LISTEFIYAT1")),
                                            args.AsFloat(QStringLiteral("KAMPFIYAT")),
                                            args.AsFloat(QStringLiteral("NETFIYAT")),
                                            args.AsFloat(QStringLiteral("KDVDAHIL")), QLocale());
    const TGridStyles &s = args.View->Styles();
    const TGridStyle &stil = args.Selected ? s.Selection : (args.EvenRow ? s.ContentEven : s.ContentOdd);
    if (stil.Color.isValid())
        args.Canvas->fillRect(args.Bounds, stil.Color);
    args.Canvas->save();
    args.Canvas->setFont(args.Font);
    if (stil.TextColor.isValid())
        args.Canvas->setPen(stil.TextColor);
    // The text ends with a line break; the last, empty line is not drawn.
    args.Canvas->drawText(args.Bounds.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter,
                          metin.chopped(2));
    args.Canvas->restore();
    args.Done = true;
}

QChar TurkceHarfCevir(QChar c)
{
    switch (c.unicode()) {
    case u'ğ': return u'g';
    case u'ü': return u'u';
    case u'ş': return u's';
    case u'ö': return u'o';
    case u'ç': return u'c';
    case u'Ğ': return u'G';
    case u'Ü': return u'U';
    case u'Ş': return u'S';
    case u'İ': return u'I';
    case u'Ö': return u'O';
    case u'Ç': return u'C';
    case u'ı': return u'I';
    default: return c;
    }
}

TTusYakalayici::TTusYakalayici(QObject *editor, Isleyici isleyici)
    : QObject(editor),
      FIsleyici(std::move(isleyici))
{
    editor->installEventFilter(this);
}

bool TTusYakalayici::eventFilter(QObject *watched, QEvent *event)
{
    if (FGonderiyor || event->type() != QEvent::KeyPress || !FIsleyici)
        return false;
    auto *e = static_cast<QKeyEvent *>(event);
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const QString text = e->text();
    if (!enter && (text.size() != 1 || !text.at(0).isPrint()))
        return false; // navigation, shortcuts, composed input
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QChar typed = enter ? QChar(u'\r') : text.at(0);
    QChar key = typed;
    FIsleyici(key);
    if (key.isNull())
        return true;
    if (key == typed)
        return false;
    // The handler chose another character: the editor gets that one instead.
    QKeyEvent yerine(QEvent::KeyPress, e->key(), e->modifiers(), QString(key), e->isAutoRepeat(), e->count());
    FGonderiyor = true;
    QCoreApplication::sendEvent(watched, &yerine);
    FGonderiyor = false;
    return true;
}

} // namespace stoklistesi

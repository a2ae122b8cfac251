#include "stoklistesi.h"

#include "clientdataset.h"
#include "displayformat.h"
#include "gridview.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

namespace stoklistesi {

namespace {

enum class Tur { Yazi, Sayi, Durum, Resim, Bayrak, Fiyat };

struct Kolon {
    const char *alan;   // empty: unbound
    const char *baslik; // nullptr: none (the field name shows)
    bool gorunur;
    bool icsel;         // internal: not in the column chooser
    int agirlik;
    Tur tur;
};

// The stock list's columns in view order.
const Kolon Kolonlar[] = {
    {"DURUM", "Durum", true, false, 1, Tur::Durum},
    {"OEM1", "Oem1", false, false, 2, Tur::Yazi},
    {"OEM2", "Oem2", false, false, 2, Tur::Yazi},
    {"OEM3", "Oem3", false, false, 2, Tur::Yazi},
    {"BARKOD", "Barkod", false, false, 2, Tur::Yazi},
    {"FINISHKOD", "StokKod", true, false, 2, Tur::Yazi},
    {"ARAMA", "OemKod", true, false, 2, Tur::Yazi},
    {"ADI", "Açıklama", true, false, 3, Tur::Yazi},
    {"OEM4", "Oem4", false, false, 2, Tur::Yazi},
    {"STOK_STOKNO", nullptr, false, true, 1, Tur::Sayi},
    {"URETICIKODU", "Üretici Kod", false, false, 2, Tur::Yazi},
    {"RESIM", "Resim", true, false, 1, Tur::Resim},
    {"BARKOD_BARKODNO", nullptr, false, true, 1, Tur::Sayi},
    {"DIGERADI", "Diğer Adı", false, false, 3, Tur::Yazi},
    {"DPKOD", nullptr, false, true, 2, Tur::Yazi},
    {"OEMNO", "Oem No", false, false, 2, Tur::Yazi},
    {"BIRIM", "Birim", false, false, 1, Tur::Yazi},
    {"MARKA", "Marka", false, false, 2, Tur::Yazi},
    {"MODEL", "Model", false, false, 2, Tur::Yazi},
    {"ANAGRUP", "Ana Grup", false, false, 2, Tur::Yazi},
    {"OZELKOD", "Özel Kod", false, false, 2, Tur::Yazi},
    {"KALAN", nullptr, false, true, 1, Tur::Sayi},
    {"PKOD", nullptr, false, true, 1, Tur::Yazi},
    {"KDV", nullptr, false, false, 1, Tur::Sayi},
    {"ALINANSIPARIS", nullptr, false, true, 1, Tur::Sayi},
    {"VERILENSIPARIS", nullptr, false, true, 1, Tur::Sayi},
    {"LISTEFIYAT1", "Liste Fiyatı", false, false, 2, Tur::Sayi},
    {"KAMPFIYAT", "Kampanyalı Fiyat", false, false, 2, Tur::Sayi},
    {"FIYAT", "Liste Fiyatı", false, false, 2, Tur::Sayi},
    {"Y", "Yeni", true, false, 1, Tur::Bayrak},
    {"K", "Kampanyalı", true, false, 1, Tur::Bayrak},
    {"INDIRIMYAZI", "İndirim Oran", true, false, 2, Tur::Yazi},
    {"NETFIYAT", "Net Fiyatı", false, false, 2, Tur::Sayi},
    {"KDVDAHIL", "KDV Dahil Fiyat", true, false, 3, Tur::Sayi},
    {"", "Fiyat Bilgisi", true, false, 2, Tur::Fiyat},
};

const char *const GenisFiyatlar[] = {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"};
const char *const DarOemler[] = {"OEM1", "OEM2", "OEM3"};
const char *const FiyatBilgisiAdi = "FiyatBilgisi";

QIcon resim(const char *ad)
{
    return QIcon(QStringLiteral(":/korvel/%1.png").arg(QLatin1String(ad)));
}

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
    for (const Kolon &k : Kolonlar) {
        const QString alan = QString::fromLatin1(k.alan);
        TGridColumn *c = view.CreateColumn(alan, k.baslik ? QString::fromUtf8(k.baslik) : QString());
        c->SetName(view.objectName() + (alan.isEmpty() ? QLatin1String(FiyatBilgisiAdi) : alan));
        c->SetVisible(k.gorunur);
        c->SetVisibleForCustomization(!k.icsel);
        c->SetTag(k.agirlik);
        c->SetHeaderAlignment(Qt::AlignCenter);
        switch (k.tur) {
        case Tur::Yazi:
            c->SetKind(TCellKind::Label);
            break;
        case Tur::Sayi:
            break;
        case Tur::Durum:
            // The pictures of the status legend; other values show nothing.
            c->SetKind(TCellKind::ImageCombo);
            c->AddImageComboItem(0, resim("durum0_yok"), QStringLiteral("Yok"));
            c->AddImageComboItem(1, resim("durum1_var"), QStringLiteral("Var"));
            c->AddImageComboItem(2, resim("durum2_telefon"), QStringLiteral("Telefon Açınız"));
            c->AddImageComboItem(3, resim("durum3_yolda"), QStringLiteral("Yolda"));
            c->AddImageComboItem(4, resim("durum4_ozel"), QStringLiteral("Özel Sipariş"));
            c->AddImageComboItem(5, resim("durum5_tedarik"), QStringLiteral("Tedarik Sürecinde"));
            break;
        case Tur::Resim:
            c->SetKind(TCellKind::ImageCombo);
            c->AddImageComboItem(1, resim("resim"));
            break;
        case Tur::Bayrak:
            c->SetKind(TCellKind::ImageCombo);
            c->AddImageComboItem(0, resim("hayir"), QStringLiteral("Hayır"));
            c->AddImageComboItem(1, resim("evet"), QStringLiteral("Evet"));
            break;
        case Tur::Fiyat:
            c->SetValueType(TFieldType::String);
            c->SetFiltering(false);
            c->SetOnCustomDrawCell(&FiyatBilgisiCiz);
            break;
        }
        if (k.tur == Tur::Durum || k.tur == Tur::Resim || k.tur == Tur::Bayrak)
            c->SetAlignment(Qt::AlignCenter);
    }
    view.ColumnByFieldName(QStringLiteral("INDIRIMYAZI"))->SetAlignment(Qt::AlignCenter);
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

#include "iceriksekmeleri.h"

#include "clientdataset.h"
#include "exception.h"
#include "gridview.h"
#include "kolontanimi.h"
#include "mobilstokunit.h"
#include "table.h"

#include <QLocale>

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

const QString DuyuruResim = QStringLiteral("RESIM");
const QString DuyuruBaslik = QStringLiteral("BASLIK");
const QString DuyuruAramaAlani = QStringLiteral("ARAMA");

using kolon::THucre;

void stokGorunumuKur(TGridView &v, std::initializer_list<kolon::TKolonTanimi> kolonlar)
{
    v.BeginUpdate();
    v.ClearColumns();
    kolon::KolonlariEkle(v, kolonlar);
    if (TGridColumn *barkod = v.ColumnByFieldName(QStringLiteral("BARKOD")))
        barkod->SetFooterSummary(TSummaryKind::Count);

    v.SetReadOnly(true);
    v.SetRowSelect(true);
    v.SetIncrementalSearch(true);
    v.SetPullFocusing(true);
    v.SetQuickCustomization(true);
    v.SetHeaderFilter(true);
    v.SetHeaderHeight(40);
    v.SetDataRowHeight(40);
    v.SetFooterVisible(true);
    v.SetAlternateRowColors(true);
    v.EndUpdate();
}

} // namespace

QByteArray HexCoz(const QString &metin)
{
    QByteArray bytes;
    bytes.reserve((metin.size() + 1) / 2);
    for (qsizetype i = 0; i < metin.size(); i += 2) {
        const int high = hexDigit(metin.at(i));
        const int low = i + 1 < metin.size() ? hexDigit(metin.at(i + 1)) : 0;
        if (high < 0 || low < 0)
            throw platform::ConvertError(
                QStringLiteral("'%1' geçerli bir onaltılık sayı değil").arg(metin.mid(i, 2)));
        // A last single digit is a number of its own, not the high half of a byte.
        bytes.append(char(i + 1 < metin.size() ? high * 16 + low : high));
    }
    return bytes;
}

TDuyuruEylemi DuyuruEylemi(const QString &arama)
{
    if (arama.trimmed().isEmpty())
        return TDuyuruEylemi::Hicbiri;
    // Compared untrimmed and case-sensitively: " #KAMPANYA#" and "#yeni#" are search texts.
    if (arama == QStringLiteral("#KAMPANYA#"))
        return TDuyuruEylemi::Kampanyali;
    if (arama == QStringLiteral("#YENİ#"))
        return TDuyuruEylemi::Yeniler;
    return TDuyuruEylemi::Arama;
}

wire::Table DuyuruTablosu(const TAcilisEkranlariki *ekranlar)
{
    wire::Table t;
    const int resimCol = t.addColumn({DuyuruResim, wire::ColumnType::Binary, 0, true});
    const int baslikCol = t.addColumn({DuyuruBaslik, wire::ColumnType::String, 0, true});
    const int aramaCol = t.addColumn({DuyuruAramaAlani, wire::ColumnType::String, 0, true});
    if (!ekranlar)
        return t; // the server's null is an empty list
    t.reserve(int(ekranlar->Ekranlar().size()));
    for (const TAcilisEkran &e : ekranlar->Ekranlar()) {
        const int r = t.appendRow();
        if (!e.Resim().isEmpty()) {
            try {
                t.setBlob(r, resimCol, HexCoz(e.Resim()));
            } catch (const platform::ConvertError &err) {
                // One broken picture costs only its picture: the row and its action stay.
                qWarning("announcement %d: picture not decoded: %s", r + 1, err.what());
            }
        }
        t.setText(r, baslikCol, e.Baslik());
        t.setText(r, aramaCol, e.Arama());
    }
    return t;
}

void DuyuruGorunumuKur(TGridView &v)
{
    const QString ad = v.objectName();
    v.ClearColumns();
    TGridColumn *duyuru = v.CreateColumn(DuyuruResim, QString());
    duyuru->SetName(ad + QStringLiteral("duyuru"));
    duyuru->SetValueType(TFieldType::Blob);
    duyuru->SetKind(TCellKind::Image);
    duyuru->SetWidth(605);
    for (const auto &[field, suffix] : {std::pair{DuyuruBaslik, QStringLiteral("baslik")},
                                        std::pair{DuyuruAramaAlani, QStringLiteral("arama")}}) {
        TGridColumn *c = v.CreateColumn(field, QString());
        c->SetName(ad + suffix);
        c->SetValueType(TFieldType::String);
        c->Hide();
    }
    v.SetUnbound(true);
    v.SetHeaderVisible(false);
    v.SetIndicatorWidth(0);
    v.SetFocusRect(false);
    v.SetDataRowHeight(405);
    v.SetPixelScrolling(true);
    v.SetReadOnly(true);
    v.SetSorting(false);
    v.SetColumnSizing(false);
    v.SetHeaderFilter(false);
    v.SetFooterVisible(false);
    v.SetQuickCustomization(false);
    v.SetIncrementalSearch(false);
}

void DuyurulariGoster(TGridView &v, const TClientDataSet &duyurular)
{
    TGridColumn *resimCol = v.Columns(0);
    TGridColumn *baslikCol = v.Columns(1);
    TGridColumn *aramaCol = v.Columns(2);
    const TField *resim = duyurular.FindField(DuyuruResim);
    const TField *baslik = duyurular.FindField(DuyuruBaslik);
    const TField *arama = duyurular.FindField(DuyuruAramaAlani);
    v.BeginUpdate();
    v.ClearRecords();
    if (resim && baslik && arama) {
        for (int i = 0; i < duyurular.RecordCount(); ++i) {
            const int r = v.AppendRecord();
            if (!resim->IsNullAt(i))
                v.SetValue(r, resimCol, resim->AsBytesAt(i));
            v.SetValue(r, baslikCol, baslik->AsStringAt(i));
            v.SetValue(r, aramaCol, arama->AsStringAt(i));
        }
    }
    v.EndUpdate();
}

QString DuyuruArama(const TGridView &v, int satir)
{
    if (satir < 0 || satir >= v.RowCount() || v.ColumnCount() < 3)
        return {};
    return v.Value(satir, v.Columns(2)).toString();
}

void YeniStokGorunumuKur(TGridView &v)
{
    stokGorunumuKur(v,
                    {
                        {"OEM1", "Oem1", false, true, 2, THucre::Duz},
                        {"OEM2", "Oem2", false, true, 2, THucre::Duz},
                        {"OEM3", "Oem3", false, true, 2, THucre::Duz},
                        {"BARKOD", "Barkod", true, true, 2, THucre::Duz},
                        {"ADI", "Açıklama", true, true, 3, THucre::Duz},
                        {"OEM4", "Oem4", false, true, 2, THucre::Duz},
                        {"STOK_STOKNO", nullptr, false, false, 1, THucre::Duz},
                        {"FINISHKOD", "Finish Kod", true, true, 2, THucre::Duz},
                        {"URETICIKODU", "Üretici Kod", false, true, 2, THucre::Duz},
                        {"BARKOD_BARKODNO", nullptr, false, false, 1, THucre::Duz},
                        {"DIGERADI", "Diğer Adı", false, true, 3, THucre::Duz},
                        {"DPKOD", nullptr, false, false, 2, THucre::Duz},
                        {"OEMNO", "Oem No", false, true, 2, THucre::Duz},
                        {"BIRIM", "Birim", true, true, 1, THucre::Duz},
                        {"MARKA", "Marka", true, true, 2, THucre::Duz},
                        {"MODEL", "Model", true, true, 2, THucre::Duz},
                        {"ANAGRUP", "Ana Grup", false, true, 2, THucre::Duz},
                        {"OZELKOD", "Özel Kod", false, true, 2, THucre::Duz},
                        {"KALAN", nullptr, false, false, 1, THucre::Duz},
                        {"PKOD", nullptr, false, false, 1, THucre::Duz},
                        {"KDV", nullptr, false, true, 1, THucre::Duz},
                        {"ALINANSIPARIS", nullptr, false, false, 1, THucre::Duz},
                        {"VERILENSIPARIS", nullptr, false, false, 1, THucre::Duz},
                        {"FIYAT", "Liste Fiyatı2", false, true, 2, THucre::Duz},
                        {"K", "Kampanyalı", true, true, 1, THucre::BayrakBosHayir},
                        {"LISTEFIYAT1", "Liste Fiyatı", true, true, 2, THucre::Duz},
                        {"KAMPFIYAT", "Kampanyalı Fiyatı", true, true, 2, THucre::Duz},
                        {"INDIRIMYAZI", "Indirim Oran", true, true, 2, THucre::OrtaliDuz},
                        {"INDIRIM", "İndirim Oran", false, false, 1, THucre::Duz},
                        {"NETFIYAT", "Net Fiyatı", true, true, 2, THucre::Duz},
                        {"KDVDAHIL", "KDV Dahil Fiyat", true, true, 2, THucre::Duz},
                    });
}

void KampanyaliGorunumuKur(TGridView &v)
{
    stokGorunumuKur(v,
                    {
                        {"OEM1", "Oem1", false, true, 2, THucre::Yazi},
                        {"OEM2", "Oem2", false, true, 2, THucre::Yazi},
                        {"OEM3", "Oem3", false, true, 2, THucre::Yazi},
                        {"BARKOD", "Barkod", true, true, 2, THucre::Yazi},
                        {"ADI", "Açıklama", true, true, 3, THucre::Yazi},
                        {"OEM4", "Oem4", false, true, 2, THucre::Yazi},
                        {"STOK_STOKNO", nullptr, false, false, 1, THucre::Yazi},
                        {"RESIM", "Resim", true, true, 1, THucre::ResimVarYok},
                        {"FINISHKOD", "Finish Kod", true, true, 2, THucre::Yazi},
                        {"URETICIKODU", "Üretici Kod", false, true, 2, THucre::Yazi},
                        {"BARKOD_BARKODNO", nullptr, false, false, 1, THucre::Yazi},
                        {"DIGERADI", "Diğer Adı", false, true, 3, THucre::Yazi},
                        {"DPKOD", nullptr, false, false, 2, THucre::Yazi},
                        {"OEMNO", "Oem No", false, true, 2, THucre::Yazi},
                        {"BIRIM", "Birim", true, true, 1, THucre::Yazi},
                        {"MARKA", "Marka", true, true, 2, THucre::Yazi},
                        {"MODEL", "Model", true, true, 2, THucre::Yazi},
                        {"ANAGRUP", "Ana Grup", false, true, 2, THucre::Yazi},
                        {"OZELKOD", "Özel Kod", false, true, 2, THucre::Yazi},
                        {"KALAN", nullptr, false, false, 1, THucre::Yazi},
                        {"PKOD", nullptr, false, false, 1, THucre::Yazi},
                        {"KDV", nullptr, false, true, 1, THucre::Yazi},
                        {"ALINANSIPARIS", nullptr, false, false, 1, THucre::Yazi},
                        {"VERILENSIPARIS", nullptr, false, false, 1, THucre::Yazi},
                        {"ESKIFIYAT", "Liste Fiyatı", true, true, 2, THucre::Yazi},
                        {"FIYAT", "Kampanyalı Fiyatı", true, true, 2, THucre::Yazi},
                        {"Y", "Yeni", true, true, 1, THucre::BayrakVarsayilanHayir},
                        {"K", "Kampanyalı", true, true, 1, THucre::Bayrak},
                        {"INDIRIM", "İndirim Oran", false, false, 1, THucre::Yazi},
                        {"INDIRIMYAZI", "İndirim Oran", true, true, 2, THucre::OrtaliYazi},
                        {"NETFIYAT", "Net Fiyatı", true, true, 2, THucre::Yazi},
                        {"KDVDAHIL", "KDV Dahil Fiyat", true, true, 2, THucre::Yazi},
                        {"DURUM", "Durum", true, true, 1, THucre::Durum},
                    });
}

void KolonlariYay(TGridView &v, int gridGenisligi, int ekranGenisligi)
{
    if (ekranGenisligi > GenisEkranSiniri)
        v.ApplyTagWidths(gridGenisligi);
    else
        v.ApplyBestFit();
}

QString SayiliBaslik(qint64 sayi, const QString &kisaAd)
{
    return QString::number(sayi) + u'=' + kisaAd;
}

QString BakiyeMetni(double bakiye)
{
    // General form with 15 significant digits and no trailing zeros, so a sum such as
    // 0.1 + 0.2 reads 0,3 and whole numbers carry no decimals.
    QLocale yerel;
    yerel.setNumberOptions(yerel.numberOptions() | QLocale::OmitGroupSeparator);
    return yerel.toString(bakiye, 'g', 15);
}

TBalonBasliklari BalonBasliklari(const wire::Table &o, int satir)
{
    if (satir < 0 || satir >= o.rowCount() || o.columnCount() < 5)
        throw platform::Exception(QStringLiteral("Sayaçlar okunamadı"));
    TBalonBasliklari b;
    b.Sepet = SayiliBaslik(o.intValue(satir, 0), QStringLiteral("Sepet"));
    b.YeniStoklar = SayiliBaslik(o.intValue(satir, 1), QStringLiteral("Yeni Stoklar"));
    b.Kampanyali = SayiliBaslik(o.intValue(satir, 2), QStringLiteral("Kampanyalı"));
    b.Duyurular = SayiliBaslik(o.intValue(satir, 3), QStringLiteral("Duyurular"));
    b.Bakiyeler = BakiyeMetni(o.realValue(satir, 4)) + QStringLiteral("=Bakiyeler");
    return b;
}

QList<TBalonBasliklari> BalonSatirlari(const wire::Table &o)
{
    QList<TBalonBasliklari> satirlar;
    for (int r = 0; r < o.rowCount(); ++r)
        satirlar.append(BalonBasliklari(o, r));
    return satirlar;
}

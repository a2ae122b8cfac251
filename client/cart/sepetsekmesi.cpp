#include "sepetsekmesi.h"

#include "baglantiu.h"
#include "clientdataset.h"
#include "displayformat.h"
#include "gridview.h"
#include "kolontanimi.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "utils.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <memory>

namespace {

const char *const ParaBicimi = "#,###,##0.00";

// Closes the connection however the call ends.
struct Kapat {
    platform::TSQLConnection &baglanti;
    ~Kapat() { baglanti.Close(); }
};

std::unique_ptr<TSonucBilgisi> kopya(const TSonucBilgisi &sbilgi)
{
    auto k = std::make_unique<TSonucBilgisi>();
    k->Kopyala(sbilgi);
    return k;
}

using kolon::THucre;

// Visible columns, then the hidden ones the chooser offers, then the internal ones.
const kolon::TKolonTanimi Kolonlar[] = {
    {"SEC", "Seç", true, false, 1, THucre::Secim},
    {"VERILISTARIHI", "Sipariş Tarihi", true, true, 1, THucre::Duz},
    {"BARKOD", "Barkod", true, true, 2, THucre::Yazi},
    {"FINISHKOD", "FinishKod", true, true, 2, THucre::Yazi},
    {"OEMNO", "OEMNo", true, true, 2, THucre::Yazi},
    {"STOKADI", "Stok Açıklama", true, true, 3, THucre::Yazi},
    {"MIKTAR", "Miktar", true, true, 1, THucre::Duz},
    {"BIRIMFIYAT", "Birim Fiyat", true, true, 1, THucre::Duz},
    {"TUTAR", "Tutar", true, true, 1, THucre::Duz},
    {"INDIRIMYAZI", "İndirim Oran", true, true, 2, THucre::OrtaliYazi},
    {"NETBIRIMFIYAT", "Net Fiyat", true, true, 1, THucre::Duz},
    {"KDV", nullptr, true, true, 1, THucre::Duz},
    {"VERGITUTARI", "Vergi Tutarı", true, true, 1, THucre::Duz},
    {"NETTUTAR", "Net Tutar", true, true, 1, THucre::Duz},
    {"VEREN", "Veren", true, true, 1, THucre::Yazi},
    {"DURUM", "Durum", true, true, 1, THucre::Durum},

    {"SIPARISNO", "Sipariş No", false, true, 1, THucre::Duz},
    {"TARIH", "Tarih", false, true, 1, THucre::Duz},
    {"KUR", "Kur", false, true, 1, THucre::Yazi},
    {"SAAT", "Saat", false, true, 1, THucre::Yazi},
    {"ACIKLAMA", "Açıklama", false, true, 1, THucre::Yazi},
    {"OEM1", nullptr, false, true, 1, THucre::Yazi},
    {"OEM2", nullptr, false, true, 1, THucre::Yazi},
    {"OEM3", nullptr, false, true, 1, THucre::Yazi},
    {"OEM4", nullptr, false, true, 1, THucre::Yazi},
    {"DIGERADI", nullptr, false, true, 1, THucre::Yazi},
    {"DPKOD", nullptr, false, true, 1, THucre::Yazi},
    {"MARKA", "Marka", false, true, 1, THucre::Yazi},
    {"MODEL", "Model", false, true, 1, THucre::Yazi},
    {"ANAGRUP", "Ana Grup", false, true, 1, THucre::Yazi},
    {"OZELKOD", "Özel Kod", false, true, 1, THucre::Yazi},
    {"PKOD", nullptr, false, true, 1, THucre::Yazi},
    {"INDIRIMORANI4", nullptr, false, true, 1, THucre::Duz},

    {"SIRANO", nullptr, false, false, 1, THucre::Duz},
    {"CARINO", nullptr, false, false, 1, THucre::Duz},
    {"AKTAR", nullptr, false, false, 1, THucre::Duz},
    {"STOKNO", nullptr, false, false, 1, THucre::Duz},
    {"INDIRIMORANI1", "İndirim Oranı %", false, false, 1, THucre::Duz},
    {"INDIRIMORANI2", nullptr, false, false, 1, THucre::Duz},
    {"INDIRIMORANI3", nullptr, false, false, 1, THucre::Duz},
    {"INDIRIMTUTAR", "İndirim Tutar", false, false, 1, THucre::Duz},
    {"KURTL", nullptr, false, false, 1, THucre::Duz},
    {"VERENIDNO", nullptr, false, false, 1, THucre::Duz},
    {"TESLIMID", nullptr, false, false, 1, THucre::Duz},
    {"KARGOID", nullptr, false, false, 1, THucre::Duz},
    {"IDNO", nullptr, false, false, 1, THucre::Duz},
    {"VERENSIRANO", nullptr, false, false, 1, THucre::Duz},
    {"CARIKOD", "Cari Kod", false, false, 1, THucre::Yazi},
    {"CARIADI", "Cari Adı", false, false, 1, THucre::Yazi},
    {"STOK_STOKNO", nullptr, false, false, 1, THucre::Duz},
    {"URETICIKODU", nullptr, false, false, 1, THucre::Yazi},
    {"KALAN", "Kalan", false, false, 1, THucre::Duz},
};

QLabel *toplamEtiketi(const char *ad, QWidget *parent)
{
    auto *l = new QLabel(TutarYazisi(0), parent);
    l->setObjectName(QString::fromLatin1(ad));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(140);
    return l;
}

QPushButton *dugme(const char *ad, const char *baslik, QWidget *parent)
{
    auto *b = new QPushButton(QString::fromUtf8(baslik), parent);
    b->setObjectName(QString::fromLatin1(ad));
    return b;
}

} // namespace

TSepetToplamlari SepetToplamHesapla(const TClientDataSet &sepet)
{
    TSepetToplamlari t;
    if (!sepet.Active())
        return t;
    const TField *sec = sepet.FindField(QStringLiteral("SEC"));
    const TField *tutar = sepet.FindField(QStringLiteral("TUTAR"));
    const TField *indirim = sepet.FindField(QStringLiteral("INDIRIMTUTAR"));
    const TField *vergi = sepet.FindField(QStringLiteral("VERGITUTARI"));
    if (!sec)
        return t;
    auto deger = [](const TField *f, int kayit) { return f && !f->IsNullAt(kayit) ? f->AsFloatAt(kayit) : 0.0; };
    const int n = sepet.RecordCount();
    for (int i = 0; i < n; ++i) {
        if (sec->IsNullAt(i) || sec->AsLargeIntAt(i) != 1)
            continue;
        t.Toplam = IkiHaneYuvarla(t.Toplam + deger(tutar, i));
        t.Indirim = IkiHaneYuvarla(t.Indirim + deger(indirim, i));
        t.Vergi = IkiHaneYuvarla(t.Vergi + deger(vergi, i));
    }
    t.AraToplam = IkiHaneYuvarla(t.Toplam - t.Indirim);
    t.GenelToplam = IkiHaneYuvarla(t.AraToplam + t.Vergi);
    return t;
}

QString TutarYazisi(double tutar)
{
    return platform::FormatFloat(QString::fromLatin1(ParaBicimi), tutar);
}

void SepetKolonlariniKur(TGridView &view)
{
    view.BeginUpdate();
    view.ClearColumns();
    // Plain headers and status icons as they come, unlike the stock views.
    kolon::KolonlariEkle(view, Kolonlar, std::size(Kolonlar), {.BaslikOrtali = false, .ResimOrtali = false});
    view.ColumnByFieldName(QStringLiteral("VERILISTARIHI"))->SetFooterSummary(TSummaryKind::Count);
    view.ColumnByFieldName(QStringLiteral("MIKTAR"))->SetFooterSummary(TSummaryKind::Sum);

    view.SetReadOnly(true);
    view.SetIncrementalSearch(true);
    view.SetDataRowHeight(60);
    view.SetHeaderHeight(40);
    view.SetFooterVisible(true);
    view.SetHeaderFilter(true);
    view.EndUpdate();
}

void SepetKolonlariYay(TGridView &view, int ekranGenisligi, int gridGenisligi)
{
    if (ekranGenisligi > SepetGenisEkranSiniri)
        view.ApplyTagWidths(gridGenisligi);
    else
        view.ApplyBestFit();
}

TSepetMenusu SepetMenusuKur(QMenu &menu)
{
    TSepetMenusu m;
    menu.clear();
    m.Deitir1 = menu.addAction(QStringLiteral("Satır Değiştir"));
    m.Deitir1->setObjectName(QStringLiteral("Deitir1"));
    menu.addSeparator();
    m.SatrSil1 = menu.addAction(QStringLiteral("Satır Sil"));
    m.SatrSil1->setObjectName(QStringLiteral("SatrSil1"));
    menu.addSeparator();
    m.HepsiniSil1 = menu.addAction(QStringLiteral("Hepsini Sil"));
    m.HepsiniSil1->setObjectName(QStringLiteral("HepsiniSil1"));
    return m;
}

TSepetKontrolleri SepetKontrolleriniKur(QFrame &panelsec, QWidget &sayfa)
{
    TSepetKontrolleri k;
    k.Button4 = dugme("Button4", "Hepsini Seç", &panelsec);
    k.Button5 = dugme("Button5", "Seçimleri Kaldır", &panelsec);
    if (auto *satir = qobject_cast<QBoxLayout *>(panelsec.layout())) {
        satir->insertWidget(0, k.Button4);
        satir->insertWidget(1, k.Button5);
    }

    k.Alt = new QFrame(&sayfa);
    k.Alt->setObjectName(QStringLiteral("panelsepetalt"));
    auto *satir = new QHBoxLayout(k.Alt);
    satir->setContentsMargins(4, 2, 4, 2);

    auto *kutu = new QFrame(k.Alt);
    kutu->setObjectName(QStringLiteral("toplamkutusu"));
    kutu->setFrameShape(QFrame::StyledPanel);
    auto *izgara = new QGridLayout(kutu);
    izgara->setContentsMargins(6, 2, 6, 2);
    izgara->setVerticalSpacing(1);
    const struct {
        const char *baslik;
        const char *ad;
        QLabel **etiket;
    } satirlar[] = {
        {"Toplam:", "aratoplaml", &k.aratoplaml},
        {"İndirim Toplam:", "indiriml", &k.indiriml},
        {"Ara Toplam:", "nettutarl", &k.nettutarl},
        {"Vergi:", "vergil", &k.vergil},
        {"Genel Toplam:", "geneltoplaml", &k.geneltoplaml},
    };
    int r = 0;
    for (const auto &s : satirlar) {
        izgara->addWidget(new QLabel(QString::fromUtf8(s.baslik), kutu), r, 0);
        *s.etiket = toplamEtiketi(s.ad, kutu);
        izgara->addWidget(*s.etiket, r, 1);
        ++r;
    }
    satir->addWidget(kutu);
    satir->addStretch(1);
    k.Button1 = dugme("Button1", "Gönder", k.Alt);
    k.Button1->setMinimumSize(140, 50);
    k.Button2 = dugme("Button2", "Excel Kaydet", k.Alt);
    k.Button2->setMinimumSize(140, 50);
    satir->addWidget(k.Button1, 0, Qt::AlignBottom);
    satir->addWidget(k.Button2, 0, Qt::AlignBottom);
    return k;
}

void ToplamlariYaz(const TSepetKontrolleri &k, const TSepetToplamlari &t)
{
    k.aratoplaml->setText(TutarYazisi(t.Toplam));
    k.indiriml->setText(TutarYazisi(t.Indirim));
    k.nettutarl->setText(TutarYazisi(t.AraToplam));
    k.vergil->setText(TutarYazisi(t.Vergi));
    k.geneltoplaml->setText(TutarYazisi(t.GenelToplam));
}

bool SecimGuncelle(const platform::TSQLConnection &bagc, int sirano, int secim, bool *baglandi)
{
    const std::unique_ptr<platform::TSQLConnection> klon = bagc.Clone();
    const bool acik = BaglantiAc(*klon, true);
    if (baglandi)
        *baglandi = acik;
    if (!acik)
        return false;
    Kapat kapat{*klon};
    try {
        TServerMethods1Client proxy(klon.get());
        proxy.SepetSecimGuncelle(sirano, secim);
        return true;
    } catch (const std::exception &e) {
        qWarning("selection not stored: %s", e.what());
        return false;
    }
}

QString SilinenSatirAciklamasi(const QString &barkod, const QString &stokadi)
{
    return barkod + u'-' + stokadi;
}

bool SepetSatirSil(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi, int sirano,
                   const QString &aciklama)
{
    auto bilgi = kopya(sbilgi);
    if (!BaglantiAc(bagc, true))
        return false;
    Kapat kapat{bagc};
    TServerMethods1Client proxy(&bagc);
    proxy.SepetSatirSil(std::move(bilgi), sirano, aciklama);
    return true;
}

bool SepetHepsiniSil(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi)
{
    auto bilgi = kopya(sbilgi);
    if (!BaglantiAc(bagc, true))
        return false;
    Kapat kapat{bagc};
    TServerMethods1Client proxy(&bagc);
    proxy.SepetHepsiniSil(std::move(bilgi));
    return true;
}

bool SiparisGonder(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi, int kn, int kt,
                   const QString &aciklama, int td)
{
    auto bilgi = kopya(sbilgi);
    if (!BaglantiAc(bagc, true))
        return false;
    Kapat kapat{bagc};
    TServerMethods1Client proxy(&bagc);
    return proxy.SiparisKaydet(std::move(bilgi), sbilgi.CARINO(), td, kt, aciklama, sbilgi.Sirano(), kn);
}

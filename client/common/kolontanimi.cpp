#include "kolontanimi.h"

#include "clientdataset.h"
#include "gridview.h"

#include <QIcon>

#include <span>

namespace kolon {

namespace {

QIcon resim(const char *ad)
{
    return QIcon(QStringLiteral(":/korvel/%1.png").arg(QLatin1String(ad)));
}

bool resimli(THucre h)
{
    switch (h) {
    case THucre::Durum:
    case THucre::Resim:
    case THucre::ResimVarYok:
    case THucre::Bayrak:
    case THucre::BayrakBosHayir:
    case THucre::BayrakVarsayilanHayir:
        return true;
    default:
        return false;
    }
}

void hucreKur(TGridColumn &c, THucre h)
{
    switch (h) {
    case THucre::Duz:
    case THucre::Ozel:
        return;
    case THucre::OrtaliDuz:
        c.SetAlignment(Qt::AlignCenter);
        return;
    case THucre::Yazi:
        c.SetKind(TCellKind::Label);
        return;
    case THucre::OrtaliYazi:
        c.SetKind(TCellKind::Label);
        c.SetAlignment(Qt::AlignCenter);
        return;
    case THucre::Secim:
        c.SetKind(TCellKind::CheckBox);
        c.SetCheckValues(1, 0);
        c.SetFiltering(false);
        return;
    case THucre::Durum:
        DurumResimleriniEkle(c);
        break;
    case THucre::Resim:
        c.AddImageComboItem(1, resim("resim"));
        break;
    case THucre::ResimVarYok:
        c.AddImageComboItem(1, resim("resim"), QStringLiteral("Var"));
        c.AddImageComboItem(0, QIcon(), QStringLiteral("Yok"));
        break;
    case THucre::Bayrak:
        c.AddImageComboItem(0, resim("hayir"), QStringLiteral("Hayır"));
        c.AddImageComboItem(1, resim("evet"), QStringLiteral("Evet"));
        break;
    case THucre::BayrakBosHayir:
        c.AddImageComboItem(0, QIcon(), QStringLiteral("Hayır"));
        c.AddImageComboItem(1, resim("evet"), QStringLiteral("Evet"));
        break;
    case THucre::BayrakVarsayilanHayir:
        c.AddImageComboItem(0, resim("hayir"), QStringLiteral("Hayır"));
        c.AddImageComboItem(1, resim("evet"), QStringLiteral("Evet"));
        c.SetImageComboDefault(resim("hayir"), QStringLiteral("Hayır"));
        break;
    }
    // Picture cells: the description serves the header filter and the export only.
    c.SetKind(TCellKind::ImageCombo);
    c.SetShowDescriptions(false);
}

} // namespace

void DurumResimleriniEkle(TGridColumn &c)
{
    c.AddImageComboItem(0, resim("durum0_yok"), QStringLiteral("Yok"));
    c.AddImageComboItem(1, resim("durum1_var"), QStringLiteral("Var"));
    c.AddImageComboItem(2, resim("durum2_telefon"), QStringLiteral("Telefon Açınız"));
    c.AddImageComboItem(3, resim("durum3_yolda"), QStringLiteral("Yolda"));
    c.AddImageComboItem(4, resim("durum4_ozel"), QStringLiteral("Özel Sipariş"));
    c.AddImageComboItem(5, resim("durum5_tedarik"), QStringLiteral("Tedarik Sürecinde"));
}

void KolonlariEkle(TGridView &view, const TKolonTanimi *ilk, qsizetype sayi, TKolonSecenekleri secenek)
{
    for (const TKolonTanimi &k : std::span(ilk, size_t(sayi))) {
        const QString alan = QString::fromLatin1(k.Alan);
        TGridColumn *c = view.CreateColumn(alan, k.Baslik ? QString::fromUtf8(k.Baslik) : QString());
        c->SetName(view.objectName() + (k.Ad ? QString::fromLatin1(k.Ad) : alan));
        c->SetVisible(k.Gorunur);
        c->SetVisibleForCustomization(k.Sunulan);
        c->SetTag(k.Agirlik);
        if (secenek.BaslikOrtali)
            c->SetHeaderAlignment(Qt::AlignCenter);
        hucreKur(*c, k.Hucre);
        if (secenek.ResimOrtali && resimli(k.Hucre))
            c->SetAlignment(Qt::AlignCenter);
    }
}

void KolonlariEkle(TGridView &view, std::initializer_list<TKolonTanimi> kolonlar, TKolonSecenekleri secenek)
{
    KolonlariEkle(view, kolonlar.begin(), qsizetype(kolonlar.size()), secenek);
}

} // namespace kolon

#include "methods.h"

#include <QHash>

namespace wire {

namespace {

using K = ValueKind;

MethodParam p(const char *name, ValueKind kind) { return {QString::fromUtf8(name), kind}; }

QList<MethodParam> balanceParams()
{
    return {p("k", K::SonucBilgisi), p("stokno", K::Integer), p("sepetsirano", K::Integer),
            p("siparissirano", K::Integer), p("Adet", K::Double), p("Bakiye", K::Double),
            p("barkod", K::String)};
}

QList<MethodParam> mailParams(bool withSubject)
{
    QList<MethodParam> params;
    for (const char *name : {"idsi", "baslik", "firmaadi", "adres1", "adres2", "ilce", "sehir", "telefon",
                             "fax", "vd", "vn", "yetkili", "kullaniciadi", "sifre", "mail", "kargoambar"})
        params.append(p(name, K::String));
    if (withSubject)
        params.append(p("konu", K::String));
    return params;
}

QList<MethodInfo> buildCatalogue()
{
    const QList<MethodParam> cartLine = {
        p("bilgim", K::SonucBilgisi), p("carino", K::Integer), p("stokno", K::Integer),
        p("barkod", K::String), p("stokadi", K::String), p("miktar", K::Double), p("kdv", K::Double),
        p("fiyat", K::Double), p("ind1", K::Double), p("verenid", K::Integer)};
    const QList<MethodParam> cartRates = {p("ind2", K::Double), p("ind3", K::Double), p("ind4", K::Double)};

    QList<MethodInfo> m;
    m.append({"BuyukGetir", {p("idsi", K::String)}, {}, K::SonucBilgisi});
    m.append({"StokAraGetirQuelpa", {p("kod", K::String), p("bilgi", K::SonucBilgisi)}, {}, K::DataPacket});
    m.append({"EnVer", {p("stokno", K::Integer)}, {}, K::Integer});
    m.append({"SepetEkle2", cartLine + QList<MethodParam>{p("k", K::Integer)} + cartRates, {}, K::Integer});
    m.append({"SepetGuncelle2", cartLine + QList<MethodParam>{p("_sepetsirano", K::Integer)} + cartRates, {},
              K::Integer});
    m.append({"SepetVer2", {p("carino", K::Integer)}, {}, K::DataPacket});
    m.append({"SepetSatirSil", {p("bilgi", K::SonucBilgisi), p("satirno", K::Integer), p("aciklamam", K::String)},
              {}, K::Integer});
    m.append({"SepetHepsiniSil", {p("bilgi", K::SonucBilgisi)}, {}, K::Integer});
    m.append({"SepetSecimGuncelle", {p("sirano", K::Integer), p("secim", K::Integer)}, {}, K::None});
    m.append({"TeslimVer", {}, {}, K::Reader});
    m.append({"KargoVer", {}, {}, K::Reader});
    m.append({"KargolarVer", {p("gn", K::Integer)}, {}, K::Reader});
    m.append({"SiparisKaydet",
              {p("BB", K::SonucBilgisi), p("_carino", K::Integer), p("_teslim", K::Integer), p("_kargo", K::Integer),
               p("_aciklama", K::String), p("_verenid", K::Integer), p("_kargoyeni", K::Integer)},
              {}, K::Boolean});
    m.append({"CariEkstreVer", {p("carino", K::Integer)}, {}, K::Reader});
    m.append({"OncekiSiparisler", {p("carino", K::Integer)}, {}, K::Reader});
    m.append({"SiparisAyrintisi2", {p("carino", K::Integer), p("idnosu", K::Integer)}, {}, K::Reader});
    m.append({"SiparisAytintisiDip", {p("carino", K::Integer), p("siranosu", K::Integer)}, {}, K::SiparisDipAyrinti});
    m.append({"TumSiparislerVer", {p("carino", K::Integer), p("stokno", K::Integer)}, {}, K::Reader});
    m.append({"FaturaGetir", {p("carino", K::Integer), p("idnosu", K::Integer)}, {}, K::Reader});
    m.append({"FaturaAltGetir", {p("idnosu", K::Integer)}, {}, K::Reader});
    m.append({"Tahsilat", {p("idnosu", K::Integer)}, {}, K::Reader});
    m.append({"SanalposSiranoVer", {p("idnosu", K::Integer)}, {}, K::Integer});
    m.append({"SAnalPosPdfVer", {p("sirano", K::Integer)}, {p("boy", K::Int64)}, K::Stream});
    m.append({"BakiyelerVer2", {p("carino", K::Integer)}, {}, K::Reader});
    m.append({"BakiyeDuzenle", balanceParams(), {}, K::Integer});
    m.append({"BakiyeDegistir", balanceParams(), {}, K::Integer});
    m.append({"BakiyeFiyatDegistir", balanceParams() + QList<MethodParam>{p("fiyat", K::Double), p("ind", K::Double)},
              {}, K::Integer});
    m.append({"StokHareketVer", {p("carino", K::Integer), p("stokno", K::Integer)}, {}, K::DataPacket});
    m.append({"RaporAlinanSiparisler", {p("bilgi", K::SonucBilgisi), p("tarih1", K::Double), p("tarih2", K::Double)},
              {}, K::Reader});
    m.append({"RaporEnCokSatilanStoklar",
              {p("bilgi", K::SonucBilgisi), p("tarih1", K::Double), p("tarih2", K::Double)}, {}, K::Reader});
    m.append({"CariDurumVer", {p("carino", K::Integer)}, {}, K::String});
    m.append({"CariVadeGunGecmismiBul", {p("carino", K::Integer)}, {}, K::String});
    m.append({"CariAra", {p("bil", K::SonucBilgisi), p("aranan", K::String)}, {}, K::Reader});
    m.append({"SepetSayisi", {p("bil", K::SonucBilgisi)}, {}, K::Integer});
    m.append({"TusSonuclariVer", {p("bil", K::SonucBilgisi)}, {}, K::TusSonuclari});
    m.append({"CariSepetVer", {p("bil", K::SonucBilgisi), p("n", K::Integer)}, {}, K::Reader});
    m.append({"RaporGetir",
              {p("raporno", K::Integer), p("bolum", K::Integer), p("idno", K::Integer), p("carino", K::Integer),
               p("saticiadi", K::String), p("tarih1", K::Double), p("tarih2", K::Double)},
              {p("size", K::Int64)}, K::Stream});
    m.append({"YenilerVer2", {p("carino", K::Integer)}, {}, K::DataPacket});
    m.append({"KampanyaliVer2", {p("cario", K::Integer), p("satici", K::Integer)}, {}, K::DataPacket});
    m.append({"BalonGetir", {p("bil", K::SonucBilgisi)}, {}, K::Reader});
    m.append({"AcilisEkranlarVer2", {}, {}, K::AcilisEkranlariki});
    m.append({"AcilisReklamAdet", {}, {}, K::Integer});
    m.append({"AcilisREklamVer", {p("sira", K::Integer)}, {}, K::AcilisEkran});
    m.append({"KayanYaziGetir", {}, {}, K::String});
    m.append({"BannerResimVer", {}, {p("size", K::Int64)}, K::Stream});
    m.append({"BannerResimVer2", {}, {p("size", K::Int64)}, K::Stream});
    m.append({"BannerResimVer3", {}, {p("size", K::Int64)}, K::Stream});
    m.append({"MobilCariBilgisiGetir", {p("sirano", K::Integer), p("_idsi", K::String)}, {}, K::MobilCariBilgisi});
    m.append({"MailGonserCariNormal", mailParams(true), {}, K::Integer});
    m.append({"MailGonserCari", mailParams(false), {}, K::Integer});
    return m;
}

} // namespace

const QList<MethodInfo> &serverMethods()
{
    static const QList<MethodInfo> catalogue = buildCatalogue();
    return catalogue;
}

const MethodInfo *findMethod(const QString &name)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        const auto &all = serverMethods();
        for (int i = 0; i < all.size(); ++i)
            h.insert(all[i].name, i);
        return h;
    }();
    const auto it = index.constFind(name);
    return it == index.constEnd() ? nullptr : &serverMethods()[*it];
}

QString valueKindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::None: return QStringLiteral("none");
    case ValueKind::Integer: return QStringLiteral("Integer");
    case ValueKind::Int64: return QStringLiteral("Int64");
    case ValueKind::Double: return QStringLiteral("Double");
    case ValueKind::String: return QStringLiteral("string");
    case ValueKind::Boolean: return QStringLiteral("Boolean");
    case ValueKind::SonucBilgisi: return QStringLiteral("baglantiu.TSonucBilgisi");
    case ValueKind::SiparisDipAyrinti: return QStringLiteral("baglantiu.TSiparisDipAyrinti");
    case ValueKind::TusSonuclari: return QStringLiteral("baglantiu.TTusSonuclari");
    case ValueKind::MobilCariBilgisi: return QStringLiteral("mobilstokunit.TMobilCariBilgisi");
    case ValueKind::AcilisEkran: return QStringLiteral("mobilstokunit.TAcilisEkran");
    case ValueKind::AcilisEkranlariki: return QStringLiteral("mobilstokunit.TAcilisEkranlariki");
    case ValueKind::DataPacket: return QStringLiteral("data packet");
    case ValueKind::Reader: return QStringLiteral("reader");
    case ValueKind::Stream: return QStringLiteral("stream");
    }
    return QString();
}

bool isRecordKind(ValueKind kind)
{
    switch (kind) {
    case ValueKind::SonucBilgisi:
    case ValueKind::SiparisDipAyrinti:
    case ValueKind::TusSonuclari:
    case ValueKind::MobilCariBilgisi:
    case ValueKind::AcilisEkran:
    case ValueKind::AcilisEkranlariki:
        return true;
    default:
        return false;
    }
}

} // namespace wire

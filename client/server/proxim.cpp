#include "proxim.h"

#include <QBuffer>
#include <QLocale>
#include <dbxcommand.h>
#include <exception.h>
#include <table.h>

namespace {

// A stream travels with its length as an out value. One that does not match was cut
// short on the way; it is refused rather than shown or saved half.
QBuffer *checkedStream(platform::TDBXCommand &command, int sizeOrdinal, qint64 &size)
{
    const qint64 announced = command.Parameter(sizeOrdinal).GetInt64();
    QBuffer *stream = command.Parameter(sizeOrdinal + 1).GetStream();
    if (stream->size() != announced)
        throw platform::Exception(QStringLiteral("Sunucudan gelen veri eksik: %1 bayt beklenirken %2 bayt geldi.")
                                      .arg(QLocale().toString(announced), QLocale().toString(stream->size())));
    size = announced;
    return stream;
}

} // namespace

TServerMethods1Client::TServerMethods1Client(platform::TSQLConnection *ADBXConnection)
    : platform::TDSAdminClient(ADBXConnection)
{
}

TServerMethods1Client::~TServerMethods1Client() = default;

platform::TDBXCommand *TServerMethods1Client::serverMethod(std::unique_ptr<platform::TDBXCommand> &field,
                                                           const char *method)
{
    if (!field)
        field = createServerMethodCommand(QStringLiteral("TServerMethods1"), QString::fromLatin1(method));
    return field.get();
}

TSonucBilgisi *TServerMethods1Client::BuyukGetir(const QString &idsi)
{
    platform::TDBXCommand *command = serverMethod(FBuyukGetirCommand, "BuyukGetir");
    command->Parameter(0).SetWideString(idsi);
    command->ExecuteUpdate();
    return command->Parameter(1).GetRecord<TSonucBilgisi>();
}

const wire::Table *TServerMethods1Client::StokAraGetirQuelpa(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    platform::TDBXCommand *command = serverMethod(FStokAraGetirQuelpaCommand, "StokAraGetirQuelpa");
    command->Parameter(0).SetWideString(kod);
    command->Parameter(1).SetRecord(bilgi.get());
    bilgi.reset();
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

qint32 TServerMethods1Client::EnVer(qint32 stokno)
{
    platform::TDBXCommand *command = serverMethod(FEnVerCommand, "EnVer");
    command->Parameter(0).SetInt32(stokno);
    command->ExecuteUpdate();
    return command->Parameter(1).GetInt32();
}

qint32 TServerMethods1Client::SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno,
                                         const QString &barkod, const QString &stokadi, double miktar, double kdv,
                                         double fiyat, double ind1, qint32 verenid, qint32 k, double ind2, double ind3,
                                         double ind4)
{
    platform::TDBXCommand *command = serverMethod(FSepetEkle2Command, "SepetEkle2");
    command->Parameter(0).SetRecord(bilgim.get());
    bilgim.reset();
    command->Parameter(1).SetInt32(carino);
    command->Parameter(2).SetInt32(stokno);
    command->Parameter(3).SetWideString(barkod);
    command->Parameter(4).SetWideString(stokadi);
    command->Parameter(5).SetDouble(miktar);
    command->Parameter(6).SetDouble(kdv);
    command->Parameter(7).SetDouble(fiyat);
    command->Parameter(8).SetDouble(ind1);
    command->Parameter(9).SetInt32(verenid);
    command->Parameter(10).SetInt32(k);
    command->Parameter(11).SetDouble(ind2);
    command->Parameter(12).SetDouble(ind3);
    command->Parameter(13).SetDouble(ind4);
    command->ExecuteUpdate();
    return command->Parameter(14).GetInt32();
}

qint32 TServerMethods1Client::SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno,
                                             const QString &barkod, const QString &stokadi, double miktar, double kdv,
                                             double fiyat, double ind1, qint32 verenid, qint32 _sepetsirano,
                                             double ind2, double ind3, double ind4)
{
    platform::TDBXCommand *command = serverMethod(FSepetGuncelle2Command, "SepetGuncelle2");
    command->Parameter(0).SetRecord(bilgim.get());
    bilgim.reset();
    command->Parameter(1).SetInt32(carino);
    command->Parameter(2).SetInt32(stokno);
    command->Parameter(3).SetWideString(barkod);
    command->Parameter(4).SetWideString(stokadi);
    command->Parameter(5).SetDouble(miktar);
    command->Parameter(6).SetDouble(kdv);
    command->Parameter(7).SetDouble(fiyat);
    command->Parameter(8).SetDouble(ind1);
    command->Parameter(9).SetInt32(verenid);
    command->Parameter(10).SetInt32(_sepetsirano);
    command->Parameter(11).SetDouble(ind2);
    command->Parameter(12).SetDouble(ind3);
    command->Parameter(13).SetDouble(ind4);
    command->ExecuteUpdate();
    return command->Parameter(14).GetInt32();
}

const wire::Table *TServerMethods1Client::SepetVer2(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FSepetVer2Command, "SepetVer2");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

qint32 TServerMethods1Client::SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, qint32 satirno,
                                            const QString &aciklamam)
{
    platform::TDBXCommand *command = serverMethod(FSepetSatirSilCommand, "SepetSatirSil");
    command->Parameter(0).SetRecord(bilgi.get());
    bilgi.reset();
    command->Parameter(1).SetInt32(satirno);
    command->Parameter(2).SetWideString(aciklamam);
    command->ExecuteUpdate();
    return command->Parameter(3).GetInt32();
}

qint32 TServerMethods1Client::SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi)
{
    platform::TDBXCommand *command = serverMethod(FSepetHepsiniSilCommand, "SepetHepsiniSil");
    command->Parameter(0).SetRecord(bilgi.get());
    bilgi.reset();
    command->ExecuteUpdate();
    return command->Parameter(1).GetInt32();
}

void TServerMethods1Client::SepetSecimGuncelle(qint32 sirano, qint32 secim)
{
    platform::TDBXCommand *command = serverMethod(FSepetSecimGuncelleCommand, "SepetSecimGuncelle");
    command->Parameter(0).SetInt32(sirano);
    command->Parameter(1).SetInt32(secim);
    command->ExecuteUpdate();
}

const wire::Table *TServerMethods1Client::TeslimVer()
{
    platform::TDBXCommand *command = serverMethod(FTeslimVerCommand, "TeslimVer");
    command->ExecuteUpdate();
    return command->Parameter(0).GetTable();
}

const wire::Table *TServerMethods1Client::KargoVer()
{
    platform::TDBXCommand *command = serverMethod(FKargoVerCommand, "KargoVer");
    command->ExecuteUpdate();
    return command->Parameter(0).GetTable();
}

const wire::Table *TServerMethods1Client::KargolarVer(qint32 gn)
{
    platform::TDBXCommand *command = serverMethod(FKargolarVerCommand, "KargolarVer");
    command->Parameter(0).SetInt32(gn);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

bool TServerMethods1Client::SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, qint32 _carino, qint32 _teslim,
                                          qint32 _kargo, const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni)
{
    platform::TDBXCommand *command = serverMethod(FSiparisKaydetCommand, "SiparisKaydet");
    command->Parameter(0).SetRecord(BB.get());
    BB.reset();
    command->Parameter(1).SetInt32(_carino);
    command->Parameter(2).SetInt32(_teslim);
    command->Parameter(3).SetInt32(_kargo);
    command->Parameter(4).SetWideString(_aciklama);
    command->Parameter(5).SetInt32(_verenid);
    command->Parameter(6).SetInt32(_kargoyeni);
    command->ExecuteUpdate();
    return command->Parameter(7).GetBoolean();
}

const wire::Table *TServerMethods1Client::CariEkstreVer(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FCariEkstreVerCommand, "CariEkstreVer");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

const wire::Table *TServerMethods1Client::OncekiSiparisler(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FOncekiSiparislerCommand, "OncekiSiparisler");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

const wire::Table *TServerMethods1Client::SiparisAyrintisi2(qint32 carino, qint32 idnosu)
{
    platform::TDBXCommand *command = serverMethod(FSiparisAyrintisi2Command, "SiparisAyrintisi2");
    command->Parameter(0).SetInt32(carino);
    command->Parameter(1).SetInt32(idnosu);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

TSiparisDipAyrinti *TServerMethods1Client::SiparisAytintisiDip(qint32 carino, qint32 siranosu)
{
    platform::TDBXCommand *command = serverMethod(FSiparisAytintisiDipCommand, "SiparisAytintisiDip");
    command->Parameter(0).SetInt32(carino);
    command->Parameter(1).SetInt32(siranosu);
    command->ExecuteUpdate();
    return command->Parameter(2).GetRecord<TSiparisDipAyrinti>();
}

const wire::Table *TServerMethods1Client::TumSiparislerVer(qint32 carino, qint32 stokno)
{
    platform::TDBXCommand *command = serverMethod(FTumSiparislerVerCommand, "TumSiparislerVer");
    command->Parameter(0).SetInt32(carino);
    command->Parameter(1).SetInt32(stokno);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

const wire::Table *TServerMethods1Client::FaturaGetir(qint32 carino, qint32 idnosu)
{
    platform::TDBXCommand *command = serverMethod(FFaturaGetirCommand, "FaturaGetir");
    command->Parameter(0).SetInt32(carino);
    command->Parameter(1).SetInt32(idnosu);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

const wire::Table *TServerMethods1Client::FaturaAltGetir(qint32 idnosu)
{
    platform::TDBXCommand *command = serverMethod(FFaturaAltGetirCommand, "FaturaAltGetir");
    command->Parameter(0).SetInt32(idnosu);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

const wire::Table *TServerMethods1Client::Tahsilat(qint32 idnosu)
{
    platform::TDBXCommand *command = serverMethod(FTahsilatCommand, "Tahsilat");
    command->Parameter(0).SetInt32(idnosu);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

qint32 TServerMethods1Client::SanalposSiranoVer(qint32 idnosu)
{
    platform::TDBXCommand *command = serverMethod(FSanalposSiranoVerCommand, "SanalposSiranoVer");
    command->Parameter(0).SetInt32(idnosu);
    command->ExecuteUpdate();
    return command->Parameter(1).GetInt32();
}

QBuffer *TServerMethods1Client::SAnalPosPdfVer(qint32 sirano, qint64 &boy)
{
    platform::TDBXCommand *command = serverMethod(FSAnalPosPdfVerCommand, "SAnalPosPdfVer");
    command->Parameter(0).SetInt32(sirano);
    command->ExecuteUpdate();
    return checkedStream(*command, 1, boy);
}

const wire::Table *TServerMethods1Client::BakiyelerVer2(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FBakiyelerVer2Command, "BakiyelerVer2");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

qint32 TServerMethods1Client::BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                            qint32 siparissirano, double Adet, double Bakiye, const QString &barkod)
{
    platform::TDBXCommand *command = serverMethod(FBakiyeDuzenleCommand, "BakiyeDuzenle");
    command->Parameter(0).SetRecord(k.get());
    k.reset();
    command->Parameter(1).SetInt32(stokno);
    command->Parameter(2).SetInt32(sepetsirano);
    command->Parameter(3).SetInt32(siparissirano);
    command->Parameter(4).SetDouble(Adet);
    command->Parameter(5).SetDouble(Bakiye);
    command->Parameter(6).SetWideString(barkod);
    command->ExecuteUpdate();
    return command->Parameter(7).GetInt32();
}

qint32 TServerMethods1Client::BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                             qint32 siparissirano, double Adet, double Bakiye, const QString &barkod)
{
    platform::TDBXCommand *command = serverMethod(FBakiyeDegistirCommand, "BakiyeDegistir");
    command->Parameter(0).SetRecord(k.get());
    k.reset();
    command->Parameter(1).SetInt32(stokno);
    command->Parameter(2).SetInt32(sepetsirano);
    command->Parameter(3).SetInt32(siparissirano);
    command->Parameter(4).SetDouble(Adet);
    command->Parameter(5).SetDouble(Bakiye);
    command->Parameter(6).SetWideString(barkod);
    command->ExecuteUpdate();
    return command->Parameter(7).GetInt32();
}

qint32 TServerMethods1Client::BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                                                  qint32 siparissirano, double Adet, double Bakiye,
                                                  const QString &barkod, double fiyat, double ind)
{
    platform::TDBXCommand *command = serverMethod(FBakiyeFiyatDegistirCommand, "BakiyeFiyatDegistir");
    command->Parameter(0).SetRecord(k.get());
    k.reset();
    command->Parameter(1).SetInt32(stokno);
    command->Parameter(2).SetInt32(sepetsirano);
    command->Parameter(3).SetInt32(siparissirano);
    command->Parameter(4).SetDouble(Adet);
    command->Parameter(5).SetDouble(Bakiye);
    command->Parameter(6).SetWideString(barkod);
    command->Parameter(7).SetDouble(fiyat);
    command->Parameter(8).SetDouble(ind);
    command->ExecuteUpdate();
    return command->Parameter(9).GetInt32();
}

const wire::Table *TServerMethods1Client::StokHareketVer(qint32 carino, qint32 stokno)
{
    platform::TDBXCommand *command = serverMethod(FStokHareketVerCommand, "StokHareketVer");
    command->Parameter(0).SetInt32(carino);
    command->Parameter(1).SetInt32(stokno);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

const wire::Table *TServerMethods1Client::RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1,
                                                                double tarih2)
{
    platform::TDBXCommand *command = serverMethod(FRaporAlinanSiparislerCommand, "RaporAlinanSiparisler");
    command->Parameter(0).SetRecord(bilgi.get());
    bilgi.reset();
    command->Parameter(1).SetDouble(tarih1);
    command->Parameter(2).SetDouble(tarih2);
    command->ExecuteUpdate();
    return command->Parameter(3).GetTable();
}

const wire::Table *TServerMethods1Client::RaporEnCokSatilanStoklar(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1,
                                                                   double tarih2)
{
    platform::TDBXCommand *command = serverMethod(FRaporEnCokSatilanStoklarCommand, "RaporEnCokSatilanStoklar");
    command->Parameter(0).SetRecord(bilgi.get());
    bilgi.reset();
    command->Parameter(1).SetDouble(tarih1);
    command->Parameter(2).SetDouble(tarih2);
    command->ExecuteUpdate();
    return command->Parameter(3).GetTable();
}

QString TServerMethods1Client::CariDurumVer(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FCariDurumVerCommand, "CariDurumVer");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetWideString();
}

QString TServerMethods1Client::CariVadeGunGecmismiBul(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FCariVadeGunGecmismiBulCommand, "CariVadeGunGecmismiBul");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetWideString();
}

const wire::Table *TServerMethods1Client::CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString &aranan)
{
    platform::TDBXCommand *command = serverMethod(FCariAraCommand, "CariAra");
    command->Parameter(0).SetRecord(bil.get());
    bil.reset();
    command->Parameter(1).SetWideString(aranan);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

qint32 TServerMethods1Client::SepetSayisi(std::unique_ptr<TSonucBilgisi> bil)
{
    platform::TDBXCommand *command = serverMethod(FSepetSayisiCommand, "SepetSayisi");
    command->Parameter(0).SetRecord(bil.get());
    bil.reset();
    command->ExecuteUpdate();
    return command->Parameter(1).GetInt32();
}

TTusSonuclari *TServerMethods1Client::TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil)
{
    platform::TDBXCommand *command = serverMethod(FTusSonuclariVerCommand, "TusSonuclariVer");
    command->Parameter(0).SetRecord(bil.get());
    bil.reset();
    command->ExecuteUpdate();
    return command->Parameter(1).GetRecord<TTusSonuclari>();
}

const wire::Table *TServerMethods1Client::CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, qint32 n)
{
    platform::TDBXCommand *command = serverMethod(FCariSepetVerCommand, "CariSepetVer");
    command->Parameter(0).SetRecord(bil.get());
    bil.reset();
    command->Parameter(1).SetInt32(n);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

QBuffer *TServerMethods1Client::RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino,
                                           const QString &saticiadi, double tarih1, double tarih2, qint64 &size)
{
    platform::TDBXCommand *command = serverMethod(FRaporGetirCommand, "RaporGetir");
    command->Parameter(0).SetInt32(raporno);
    command->Parameter(1).SetInt32(bolum);
    command->Parameter(2).SetInt32(idno);
    command->Parameter(3).SetInt32(carino);
    command->Parameter(4).SetWideString(saticiadi);
    command->Parameter(5).SetDouble(tarih1);
    command->Parameter(6).SetDouble(tarih2);
    command->ExecuteUpdate();
    return checkedStream(*command, 7, size);
}

const wire::Table *TServerMethods1Client::YenilerVer2(qint32 carino)
{
    platform::TDBXCommand *command = serverMethod(FYenilerVer2Command, "YenilerVer2");
    command->Parameter(0).SetInt32(carino);
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

const wire::Table *TServerMethods1Client::KampanyaliVer2(qint32 cario, qint32 satici)
{
    platform::TDBXCommand *command = serverMethod(FKampanyaliVer2Command, "KampanyaliVer2");
    command->Parameter(0).SetInt32(cario);
    command->Parameter(1).SetInt32(satici);
    command->ExecuteUpdate();
    return command->Parameter(2).GetTable();
}

const wire::Table *TServerMethods1Client::BalonGetir(std::unique_ptr<TSonucBilgisi> bil)
{
    platform::TDBXCommand *command = serverMethod(FBalonGetirCommand, "BalonGetir");
    command->Parameter(0).SetRecord(bil.get());
    bil.reset();
    command->ExecuteUpdate();
    return command->Parameter(1).GetTable();
}

TAcilisEkranlariki *TServerMethods1Client::AcilisEkranlarVer2()
{
    platform::TDBXCommand *command = serverMethod(FAcilisEkranlarVer2Command, "AcilisEkranlarVer2");
    command->ExecuteUpdate();
    return command->Parameter(0).GetRecord<TAcilisEkranlariki>();
}

qint32 TServerMethods1Client::AcilisReklamAdet()
{
    platform::TDBXCommand *command = serverMethod(FAcilisReklamAdetCommand, "AcilisReklamAdet");
    command->ExecuteUpdate();
    return command->Parameter(0).GetInt32();
}

TAcilisEkran *TServerMethods1Client::AcilisREklamVer(qint32 sira)
{
    platform::TDBXCommand *command = serverMethod(FAcilisREklamVerCommand, "AcilisREklamVer");
    command->Parameter(0).SetInt32(sira);
    command->ExecuteUpdate();
    return command->Parameter(1).GetRecord<TAcilisEkran>();
}

QString TServerMethods1Client::KayanYaziGetir()
{
    platform::TDBXCommand *command = serverMethod(FKayanYaziGetirCommand, "KayanYaziGetir");
    command->ExecuteUpdate();
    return command->Parameter(0).GetWideString();
}

QBuffer *TServerMethods1Client::BannerResimVer(qint64 &size)
{
    platform::TDBXCommand *command = serverMethod(FBannerResimVerCommand, "BannerResimVer");
    command->ExecuteUpdate();
    return checkedStream(*command, 0, size);
}

QBuffer *TServerMethods1Client::BannerResimVer2(qint64 &size)
{
    platform::TDBXCommand *command = serverMethod(FBannerResimVer2Command, "BannerResimVer2");
    command->ExecuteUpdate();
    return checkedStream(*command, 0, size);
}

QBuffer *TServerMethods1Client::BannerResimVer3(qint64 &size)
{
    platform::TDBXCommand *command = serverMethod(FBannerResimVer3Command, "BannerResimVer3");
    command->ExecuteUpdate();
    return checkedStream(*command, 0, size);
}

TMobilCariBilgisi *TServerMethods1Client::MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi)
{
    platform::TDBXCommand *command = serverMethod(FMobilCariBilgisiGetirCommand, "MobilCariBilgisiGetir");
    command->Parameter(0).SetInt32(sirano);
    command->Parameter(1).SetWideString(_idsi);
    command->ExecuteUpdate();
    return command->Parameter(2).GetRecord<TMobilCariBilgisi>();
}

qint32 TServerMethods1Client::MailGonserCariNormal(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                                   const QString &adres1, const QString &adres2, const QString &ilce,
                                                   const QString &sehir, const QString &telefon, const QString &fax,
                                                   const QString &vd, const QString &vn, const QString &yetkili,
                                                   const QString &kullaniciadi, const QString &sifre,
                                                   const QString &mail, const QString &kargoambar, const QString &konu)
{
    platform::TDBXCommand *command = serverMethod(FMailGonserCariNormalCommand, "MailGonserCariNormal");
    command->Parameter(0).SetWideString(idsi);
    command->Parameter(1).SetWideString(baslik);
    command->Parameter(2).SetWideString(firmaadi);
    command->Parameter(3).SetWideString(adres1);
    command->Parameter(4).SetWideString(adres2);
    command->Parameter(5).SetWideString(ilce);
    command->Parameter(6).SetWideString(sehir);
    command->Parameter(7).SetWideString(telefon);
    command->Parameter(8).SetWideString(fax);
    command->Parameter(9).SetWideString(vd);
    command->Parameter(10).SetWideString(vn);
    command->Parameter(11).SetWideString(yetkili);
    command->Parameter(12).SetWideString(kullaniciadi);
    command->Parameter(13).SetWideString(sifre);
    command->Parameter(14).SetWideString(mail);
    command->Parameter(15).SetWideString(kargoambar);
    command->Parameter(16).SetWideString(konu);
    command->ExecuteUpdate();
    return command->Parameter(17).GetInt32();
}

qint32 TServerMethods1Client::MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                             const QString &adres1, const QString &adres2, const QString &ilce,
                                             const QString &sehir, const QString &telefon, const QString &fax,
                                             const QString &vd, const QString &vn, const QString &yetkili,
                                             const QString &kullaniciadi, const QString &sifre, const QString &mail,
                                             const QString &kargoambar)
{
    platform::TDBXCommand *command = serverMethod(FMailGonserCariCommand, "MailGonserCari");
    command->Parameter(0).SetWideString(idsi);
    command->Parameter(1).SetWideString(baslik);
    command->Parameter(2).SetWideString(firmaadi);
    command->Parameter(3).SetWideString(adres1);
    command->Parameter(4).SetWideString(adres2);
    command->Parameter(5).SetWideString(ilce);
    command->Parameter(6).SetWideString(sehir);
    command->Parameter(7).SetWideString(telefon);
    command->Parameter(8).SetWideString(fax);
    command->Parameter(9).SetWideString(vd);
    command->Parameter(10).SetWideString(vn);
    command->Parameter(11).SetWideString(yetkili);
    command->Parameter(12).SetWideString(kullaniciadi);
    command->Parameter(13).SetWideString(sifre);
    command->Parameter(14).SetWideString(mail);
    command->Parameter(15).SetWideString(kargoambar);
    command->ExecuteUpdate();
    return command->Parameter(16).GetInt32();
}

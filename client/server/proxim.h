#pragma once
// Typed client of the server methods of TServerMethods1: one method per server method,
// with its parameters in declaration order and `out` parameters as references.
//
// Ownership: a record argument is consumed (an empty pointer is sent as null), even
// when the call fails. A returned record, table or stream belongs to this object and
// stays valid until the same method is called again on it or it is destroyed; copy
// what must live longer. A null record comes back as nullptr. Every failure is thrown
// as platform::Exception; so is a stream shorter or longer than the length the server
// gave with it (the out value is then left as it was). One thread at a time.
#include "dsadminclient.h"

#include <QString>
#include <baglantiu.h>
#include <memory>
#include <mobilstokunit.h>

class QBuffer;

namespace wire {
class Table;
}

class TServerMethods1Client : public platform::TDSAdminClient {
public:
    // The connection must exist (platform::Exception otherwise) and be open when calling.
    explicit TServerMethods1Client(platform::TSQLConnection *ADBXConnection);
    ~TServerMethods1Client() override;

    TSonucBilgisi *BuyukGetir(const QString &idsi);
    const wire::Table *StokAraGetirQuelpa(const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi);
    qint32 EnVer(qint32 stokno);
    qint32 SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno, const QString &barkod,
                      const QString &stokadi, double miktar, double kdv, double fiyat, double ind1, qint32 verenid,
                      qint32 k, double ind2, double ind3, double ind4);
    qint32 SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim, qint32 carino, qint32 stokno, const QString &barkod,
                          const QString &stokadi, double miktar, double kdv, double fiyat, double ind1, qint32 verenid,
                          qint32 _sepetsirano, double ind2, double ind3, double ind4);
    const wire::Table *SepetVer2(qint32 carino);
    qint32 SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, qint32 satirno, const QString &aciklamam);
    qint32 SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi);
    void SepetSecimGuncelle(qint32 sirano, qint32 secim);
    const wire::Table *TeslimVer();
    const wire::Table *KargoVer();
    const wire::Table *KargolarVer(qint32 gn);
    bool SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, qint32 _carino, qint32 _teslim, qint32 _kargo,
                       const QString &_aciklama, qint32 _verenid, qint32 _kargoyeni);
    const wire::Table *CariEkstreVer(qint32 carino);
    const wire::Table *OncekiSiparisler(qint32 carino);
    const wire::Table *SiparisAyrintisi2(qint32 carino, qint32 idnosu);
    TSiparisDipAyrinti *SiparisAytintisiDip(qint32 carino, qint32 siranosu);
    const wire::Table *TumSiparislerVer(qint32 carino, qint32 stokno);
    const wire::Table *FaturaGetir(qint32 carino, qint32 idnosu);
    const wire::Table *FaturaAltGetir(qint32 idnosu);
    const wire::Table *Tahsilat(qint32 idnosu);
    qint32 SanalposSiranoVer(qint32 idnosu);
    QBuffer *SAnalPosPdfVer(qint32 sirano, qint64 &boy);
    const wire::Table *BakiyelerVer2(qint32 carino);
    qint32 BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano,
                         double Adet, double Bakiye, const QString &barkod);
    qint32 BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano, qint32 siparissirano,
                          double Adet, double Bakiye, const QString &barkod);
    qint32 BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, qint32 stokno, qint32 sepetsirano,
                               qint32 siparissirano, double Adet, double Bakiye, const QString &barkod, double fiyat,
                               double ind);
    const wire::Table *StokHareketVer(qint32 carino, qint32 stokno);
    const wire::Table *RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2);
    const wire::Table *RaporEnCokSatilanStoklar(std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2);
    QString CariDurumVer(qint32 carino);
    QString CariVadeGunGecmismiBul(qint32 carino);
    const wire::Table *CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString &aranan);
    qint32 SepetSayisi(std::unique_ptr<TSonucBilgisi> bil);
    TTusSonuclari *TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil);
    const wire::Table *CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, qint32 n);
    QBuffer *RaporGetir(qint32 raporno, qint32 bolum, qint32 idno, qint32 carino, const QString &saticiadi,
                        double tarih1, double tarih2, qint64 &size);
    const wire::Table *YenilerVer2(qint32 carino);
    const wire::Table *KampanyaliVer2(qint32 cario, qint32 satici);
    const wire::Table *BalonGetir(std::unique_ptr<TSonucBilgisi> bil);
    TAcilisEkranlariki *AcilisEkranlarVer2();
    qint32 AcilisReklamAdet();
    TAcilisEkran *AcilisREklamVer(qint32 sira);
    QString KayanYaziGetir();
    QBuffer *BannerResimVer(qint64 &size);
    QBuffer *BannerResimVer2(qint64 &size);
    QBuffer *BannerResimVer3(qint64 &size);
    TMobilCariBilgisi *MobilCariBilgisiGetir(qint32 sirano, const QString &_idsi);
    qint32 MailGonserCariNormal(const QString &idsi, const QString &baslik, const QString &firmaadi,
                                const QString &adres1, const QString &adres2, const QString &ilce, const QString &sehir,
                                const QString &telefon, const QString &fax, const QString &vd, const QString &vn,
                                const QString &yetkili, const QString &kullaniciadi, const QString &sifre,
                                const QString &mail, const QString &kargoambar, const QString &konu);
    qint32 MailGonserCari(const QString &idsi, const QString &baslik, const QString &firmaadi, const QString &adres1,
                          const QString &adres2, const QString &ilce, const QString &sehir, const QString &telefon,
                          const QString &fax, const QString &vd, const QString &vn, const QString &yetkili,
                          const QString &kullaniciadi, const QString &sifre, const QString &mail,
                          const QString &kargoambar);

private:
    // The command of one method, created and prepared on its first call, then reused.
    platform::TDBXCommand *serverMethod(std::unique_ptr<platform::TDBXCommand> &field, const char *method);

    std::unique_ptr<platform::TDBXCommand> FBuyukGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FStokAraGetirQuelpaCommand;
    std::unique_ptr<platform::TDBXCommand> FEnVerCommand;
    std::unique_ptr<platform::TDBXCommand> FSepetEkle2Command;
    std::unique_ptr<platform::TDBXCommand> FSepetGuncelle2Command;
    std::unique_ptr<platform::TDBXCommand> FSepetVer2Command;
    std::unique_ptr<platform::TDBXCommand> FSepetSatirSilCommand;
    std::unique_ptr<platform::TDBXCommand> FSepetHepsiniSilCommand;
    std::unique_ptr<platform::TDBXCommand> FSepetSecimGuncelleCommand;
    std::unique_ptr<platform::TDBXCommand> FTeslimVerCommand;
    std::unique_ptr<platform::TDBXCommand> FKargoVerCommand;
    std::unique_ptr<platform::TDBXCommand> FKargolarVerCommand;
    std::unique_ptr<platform::TDBXCommand> FSiparisKaydetCommand;
    std::unique_ptr<platform::TDBXCommand> FCariEkstreVerCommand;
    std::unique_ptr<platform::TDBXCommand> FOncekiSiparislerCommand;
    std::unique_ptr<platform::TDBXCommand> FSiparisAyrintisi2Command;
    std::unique_ptr<platform::TDBXCommand> FSiparisAytintisiDipCommand;
    std::unique_ptr<platform::TDBXCommand> FTumSiparislerVerCommand;
    std::unique_ptr<platform::TDBXCommand> FFaturaGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FFaturaAltGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FTahsilatCommand;
    std::unique_ptr<platform::TDBXCommand> FSanalposSiranoVerCommand;
    std::unique_ptr<platform::TDBXCommand> FSAnalPosPdfVerCommand;
    std::unique_ptr<platform::TDBXCommand> FBakiyelerVer2Command;
    std::unique_ptr<platform::TDBXCommand> FBakiyeDuzenleCommand;
    std::unique_ptr<platform::TDBXCommand> FBakiyeDegistirCommand;
    std::unique_ptr<platform::TDBXCommand> FBakiyeFiyatDegistirCommand;
    std::unique_ptr<platform::TDBXCommand> FStokHareketVerCommand;
    std::unique_ptr<platform::TDBXCommand> FRaporAlinanSiparislerCommand;
    std::unique_ptr<platform::TDBXCommand> FRaporEnCokSatilanStoklarCommand;
    std::unique_ptr<platform::TDBXCommand> FCariDurumVerCommand;
    std::unique_ptr<platform::TDBXCommand> FCariVadeGunGecmismiBulCommand;
    std::unique_ptr<platform::TDBXCommand> FCariAraCommand;
    std::unique_ptr<platform::TDBXCommand> FSepetSayisiCommand;
    std::unique_ptr<platform::TDBXCommand> FTusSonuclariVerCommand;
    std::unique_ptr<platform::TDBXCommand> FCariSepetVerCommand;
    std::unique_ptr<platform::TDBXCommand> FRaporGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FYenilerVer2Command;
    std::unique_ptr<platform::TDBXCommand> FKampanyaliVer2Command;
    std::unique_ptr<platform::TDBXCommand> FBalonGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FAcilisEkranlarVer2Command;
    std::unique_ptr<platform::TDBXCommand> FAcilisReklamAdetCommand;
    std::unique_ptr<platform::TDBXCommand> FAcilisREklamVerCommand;
    std::unique_ptr<platform::TDBXCommand> FKayanYaziGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FBannerResimVerCommand;
    std::unique_ptr<platform::TDBXCommand> FBannerResimVer2Command;
    std::unique_ptr<platform::TDBXCommand> FBannerResimVer3Command;
    std::unique_ptr<platform::TDBXCommand> FMobilCariBilgisiGetirCommand;
    std::unique_ptr<platform::TDBXCommand> FMailGonserCariNormalCommand;
    std::unique_ptr<platform::TDBXCommand> FMailGonserCariCommand;
};

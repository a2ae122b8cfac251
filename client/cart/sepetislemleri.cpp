#include "sepetislemleri.h"

#include "baglantiu.h"
#include "clientdataset.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "table.h"
#include "utils.h"

#include <QLabel>
#include <QPointer>
#include <QThread>

#include <cmath>
#include <memory>

namespace {

// Whole percents and flags that the lists and the cart carry as numbers.
qint32 tamsayi(const TClientDataSet &veri, const char *alan)
{
    return qint32(std::lround(veri.FieldByName(QString::fromLatin1(alan))->AsFloat()));
}

QString metin(const TClientDataSet &veri, const char *alan)
{
    return veri.FieldByName(QString::fromLatin1(alan))->AsString();
}

// Closes the connection however the call ends.
struct Kapat {
    platform::TSQLConnection &baglanti;
    ~Kapat() { baglanti.Close(); }
};

} // namespace

bool SepetYukle(TClientDataSet &sepet, const platform::TSQLConnection &bagc, qint32 carino)
{
    const std::unique_ptr<platform::TSQLConnection> kopya = bagc.Clone();
    if (!BaglantiAc(*kopya, true))
        return false;
    Kapat kapat{*kopya};
    TServerMethods1Client proxy(kopya.get());
    const wire::Table *paket = proxy.SepetVer2(carino);
    if (!paket)
        throw platform::Exception(QStringLiteral("Sunucu sepeti göndermedi."));
    sepet.LoadFromTable(*paket);
    OndalikBicimle(sepet);
    return true;
}

int KoliAdetiAl(const platform::TSQLConnection &bagc, qint32 stokno)
{
    const std::unique_ptr<platform::TSQLConnection> kopya = bagc.Clone();
    if (!BaglantiAc(*kopya, false))
        return 1;
    Kapat kapat{*kopya};
    try {
        TServerMethods1Client proxy(kopya.get());
        // The package quantity divides the quantity and is the box's minimum.
        return qMax(1, proxy.EnVer(stokno));
    } catch (const std::exception &) {
        return 1;
    }
}

std::optional<int> SepeteEkle(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi,
                              const TClientDataSet &veri, double miktar, double fiyat,
                              const std::array<double, 4> &oranlar)
{
    auto kopya = std::make_unique<TSonucBilgisi>();
    kopya->Kopyala(sbilgi);
    if (!BaglantiAc(bagc, true))
        return std::nullopt;
    Kapat kapat{bagc};
    TServerMethods1Client proxy(&bagc);
    return proxy.SepetEkle2(std::move(kopya), sbilgi.CARINO(), tamsayi(veri, "STOK_STOKNO"), metin(veri, "BARKOD"),
                            metin(veri, "ADI"), miktar, tamsayi(veri, "KDV"), fiyat, oranlar[0], sbilgi.Sirano(),
                            tamsayi(veri, "K"), oranlar[1], oranlar[2], oranlar[3]);
}

std::optional<int> SepetSatirGuncelle(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi,
                                      const TClientDataSet &sepet, qint32 sirano, double miktar, double fiyat,
                                      const std::array<double, 4> &oranlar)
{
    auto kopya = std::make_unique<TSonucBilgisi>();
    kopya->Kopyala(sbilgi);
    if (!BaglantiAc(bagc, true))
        return std::nullopt;
    Kapat kapat{bagc};
    TServerMethods1Client proxy(&bagc);
    return proxy.SepetGuncelle2(std::move(kopya), sbilgi.CARINO(), 0, metin(sepet, "BARKOD"), metin(sepet, "STOKADI"),
                                miktar, tamsayi(sepet, "KDV"), fiyat, oranlar[0], sbilgi.Sirano(), sirano, oranlar[1],
                                oranlar[2], oranlar[3]);
}

QThread *CariBakiyeUyariBak(QLabel *etiket, const platform::TSQLConnection &bagc, qint32 carino)
{
    std::shared_ptr<platform::TSQLConnection> kopya = bagc.Clone();
    QThread *is = QThread::create([kopya, hedef = QPointer<QLabel>(etiket), carino]() mutable {
        QString AL;
        if (BaglantiAc(*kopya, false)) {
            try {
                TServerMethods1Client proxy(kopya.get());
                AL = proxy.CariVadeGunGecmismiBul(carino);
            } catch (const std::exception &) {
                AL.clear();
            }
            kopya->Close();
        }
        // The clone is this thread's own; it goes before the hand-over.
        kopya.reset();
        // The label belongs to the UI thread; it may be gone by now.
        platform::RunOnUiThread([&] {
            if (hedef)
                hedef->setText(AL);
        });
    });
    QObject::connect(is, &QThread::finished, is, &QObject::deleteLater);
    is->start();
    return is;
}

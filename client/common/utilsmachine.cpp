#include "utilsmachine.h"

#include "buildconfig.h"
#include "exception.h"
#include "machine.h"

#include <QDir>

namespace {

// The Windows calls this replaces fill a buffer of 16 characters, terminator included.
constexpr int EnUzunAd = 15;

QString sinirli(const QString &ad)
{
    return ad.size() > EnUzunAd ? QString() : ad;
}

QString tireliAdres(const QString &adres)
{
    return adres.split(u':').join(u'-').toUpper();
}

} // namespace

QString BilgisayarAdiAl()
{
    return BilgisayarAdiAl(platform::MachineSources());
}

QString BilgisayarAdiAl(const platform::MachineSources &kaynak)
{
    return sinirli(platform::ReadHostName(kaynak));
}

QString KullaniciAdiAl()
{
    return KullaniciAdiAl(platform::MachineSources());
}

QString KullaniciAdiAl(const platform::MachineSources &kaynak)
{
    return sinirli(platform::ReadUserName(kaynak));
}

QString IcIpAl()
{
    return IcIpAl(platform::MachineSources());
}

QString IcIpAl(const platform::MachineSources &kaynak)
{
    const QString ad = platform::ReadHostName(kaynak);
    const QStringList adresler = (ad.isEmpty() || !kaynak.resolveIpv4) ? QStringList() : kaynak.resolveIpv4(ad);
    return adresler.isEmpty() ? QStringLiteral("127.0.0.1") : adresler.first();
}

QString DiskSeriNoAl()
{
    return DiskSeriNoAl(platform::MachineSources());
}

QString DiskSeriNoAl(const platform::MachineSources &kaynak)
{
    const QString seri = platform::ReadFirstDiskSerial(kaynak);
    if (seri.isEmpty())
        throw platform::Exception(QStringLiteral("Disk seri numarası okunamadı."));
    return seri.toUpper();
}

QString MacAdresiAl()
{
    return MacAdresiAl(platform::MachineSources());
}

QString MacAdresiAl(const platform::MachineSources &kaynak)
{
    QString sonuc;
    for (const QString &adres : platform::ReadAdapterAddresses(kaynak)) {
        sonuc = tireliAdres(adres);
        if (sonuc != QLatin1String("00-00-00-00-00-00"))
            break;
    }
    return sonuc;
}

QString BilgisayarIdAl()
{
    return BilgisayarIdAl(platform::MachineSources());
}

QString BilgisayarIdAl(const platform::MachineSources &kaynak)
{
    QString id;
    try {
        id = DiskSeriNoAl(kaynak).trimmed();
    } catch (const platform::Exception &) {
        id.clear();
    }
    if (id.isEmpty())
        id = MacAdresiAl(kaynak).trimmed();
    id.removeIf([](QChar c) { return c.isSpace(); });
    if (id == QLatin1String(buildconfig::DiskAliasSerial1) || id == QLatin1String(buildconfig::DiskAliasSerial2))
        id = QString::fromLatin1(buildconfig::DiskAliasId);
    return id;
}

QString VeriKlasoruAl()
{
    return VeriKlasoruAl(platform::MachineSources());
}

QString VeriKlasoruAl(const platform::MachineSources &kaynak)
{
    const QString ust = platform::ConfigFolder(kaynak);
    const QString klasor = (ust.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : ust) + QStringLiteral("/korveloto");
    // The parent is created too: a fresh account may have no configuration folder yet.
    QDir().mkpath(klasor);
    return klasor;
}

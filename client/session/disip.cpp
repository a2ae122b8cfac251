#include "disip.h"

#include "buildconfig.h"

#include <QMutex>
#include <QSslSocket>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <memory>

namespace {

QMutex g_kilit;
QString g_disIpAdresi = QString::fromUtf8(buildconfig::WhatsMyIpAddress);
QString g_ofisAdresi = QString::fromUtf8(buildconfig::OfficeAddress);

// The address is a few bytes; a service that talks on and on is not the service.
constexpr qsizetype EnBuyukCevap = 64 * 1024;

// Splits "HTTP/1.x 200 ..." headers from the body; false when the answer is not HTTP or
// not a success. A Content-Length shorter than the data received cuts the body.
bool cevabiAyir(const QByteArray &cevap, QString *govde)
{
    const qsizetype son = cevap.indexOf("\r\n\r\n");
    if (son < 0)
        return false;
    const QList<QByteArray> basliklar = cevap.left(son).split('\n');
    const QList<QByteArray> durum = basliklar.first().trimmed().split(' ');
    if (durum.size() < 2 || !durum[0].startsWith("HTTP/1."))
        return false;
    bool ok = false;
    const int kod = durum[1].toInt(&ok);
    if (!ok || kod < 200 || kod > 299)
        return false;
    QByteArray icerik = cevap.mid(son + 4);
    for (qsizetype i = 1; i < basliklar.size(); ++i) {
        const QByteArray satir = basliklar[i].trimmed();
        const qsizetype iki = satir.indexOf(':');
        if (iki <= 0)
            continue;
        const QByteArray ad = satir.left(iki).trimmed().toLower();
        const QByteArray deger = satir.mid(iki + 1).trimmed();
        if (ad == "transfer-encoding" && deger.toLower() != "identity")
            return false; // asked HTTP/1.0, so a chunked answer is malformed
        if (ad == "content-length") {
            bool uzunlukOk = false;
            const qlonglong n = deger.toLongLong(&uzunlukOk);
            if (!uzunlukOk || n < 0 || n > icerik.size())
                return false; // the connection closed before the body was complete
            icerik.truncate(qsizetype(n));
        }
    }
    *govde = QString::fromUtf8(icerik);
    return true;
}

// The answer is complete before the server closes when it announced its length.
bool tamam(const QByteArray &cevap)
{
    const qsizetype son = cevap.indexOf("\r\n\r\n");
    if (son < 0)
        return false;
    for (const QByteArray &satir : cevap.left(son).split('\n')) {
        const qsizetype iki = satir.indexOf(':');
        if (iki > 0 && satir.left(iki).trimmed().toLower() == "content-length") {
            bool ok = false;
            const qlonglong n = satir.mid(iki + 1).trimmed().toLongLong(&ok);
            return ok && n >= 0 && cevap.size() - (son + 4) >= n;
        }
    }
    return false;
}

} // namespace

QString DisIpAdresi()
{
    QMutexLocker l(&g_kilit);
    return g_disIpAdresi;
}

void SetDisIpAdresi(const QString &adres)
{
    QMutexLocker l(&g_kilit);
    g_disIpAdresi = adres;
}

QString OfisAdresi()
{
    QMutexLocker l(&g_kilit);
    return g_ofisAdresi;
}

void SetOfisAdresi(const QString &adres)
{
    QMutexLocker l(&g_kilit);
    g_ofisAdresi = adres;
}

bool DisIpSor(const QString &adres, const DisIpSureleri &sureler, QString *govde)
{
    const QUrl url(adres);
    const bool guvenli = url.scheme() == QLatin1String("https");
    if (!url.isValid() || url.host().isEmpty() || (!guvenli && url.scheme() != QLatin1String("http")))
        return false;
    if (guvenli && !QSslSocket::supportsSsl())
        return false;
    const quint16 port = quint16(url.port(guvenli ? 443 : 80));

    std::unique_ptr<QTcpSocket> soket;
    if (guvenli) {
        auto ssl = std::make_unique<QSslSocket>();
        ssl->connectToHostEncrypted(url.host(), port);
        if (!ssl->waitForEncrypted(sureler.baglanmaMs))
            return false;
        soket = std::move(ssl);
    } else {
        soket = std::make_unique<QTcpSocket>();
        soket->connectToHost(url.host(), port);
        if (!soket->waitForConnected(sureler.baglanmaMs))
            return false;
    }

    QString yol = url.path(QUrl::FullyEncoded);
    if (yol.isEmpty())
        yol = QStringLiteral("/");
    if (url.hasQuery())
        yol += u'?' + url.query(QUrl::FullyEncoded);
    QString host = url.host(QUrl::FullyEncoded);
    if (url.port() > 0)
        host += u':' + QString::number(url.port());
    const QByteArray istek = "GET " + yol.toLatin1() + " HTTP/1.0\r\nHost: " + host.toLatin1()
                             + "\r\nAccept: text/plain, */*\r\nConnection: close\r\n\r\n";
    soket->write(istek);
    if (!soket->waitForBytesWritten(sureler.okumaMs))
        return false;

    QByteArray cevap;
    for (;;) {
        if (soket->bytesAvailable() == 0 && !soket->waitForReadyRead(sureler.okumaMs))
            break; // closed by the server, or the read timed out
        cevap += soket->readAll();
        if (cevap.size() > EnBuyukCevap)
            return false;
        if (tamam(cevap))
            return cevabiAyir(cevap, govde);
    }
    cevap += soket->readAll();
    if (soket->state() == QAbstractSocket::ConnectedState)
        return false; // the read timed out while the connection was still open
    return cevabiAyir(cevap, govde);
}

QString DisIpSorgula(const QString &adres, const DisIpSureleri &sureler)
{
    QString govde;
    while (!DisIpSor(adres, sureler, &govde))
        QThread::msleep(unsigned(sureler.beklemeMs));
    return govde.trimmed();
}

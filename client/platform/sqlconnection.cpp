#include "sqlconnection.h"

#include "dbxcommand.h"
#include "exception.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QLocale>
#include <QMutexLocker>
#include <QPair>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <httplib.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int ConnectTimeoutSeconds = 5;
// A server that accepts but never answers the handshake must not hold Open for long.
constexpr int HandshakeTimeoutSeconds = 5;
// Server methods that render documents may take a while; a stalled server still ends.
constexpr int ReadTimeoutSeconds = 60;
constexpr int WriteTimeoutSeconds = 60;

const QString DataSnapDriver = QStringLiteral("DataSnap");

QString systemReason(int err)
{
    switch (err) {
    case ECONNREFUSED:
        return QStringLiteral("bağlantı reddedildi, bu portu dinleyen bir sunucu yok");
    case ETIMEDOUT:
        return QStringLiteral("bağlantı zaman aşımına uğradı");
    case EHOSTUNREACH:
        return QStringLiteral("sunucuya ulaşılamıyor");
    case ENETUNREACH:
        return QStringLiteral("ağa ulaşılamıyor");
    case ECONNRESET:
        return QStringLiteral("bağlantı karşı taraftan kesildi");
    case EADDRNOTAVAIL:
        return QStringLiteral("adres kullanılamıyor");
    case EACCES:
    case EPERM:
        return QStringLiteral("bağlantıya izin verilmedi");
    default:
        break;
    }
    char buffer[256] = {};
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char *text = strerror_r(err, buffer, sizeof buffer);
    return QStringLiteral("sistem hatası %1 (%2)").arg(QLocale().toString(err), QString::fromLocal8Bit(text));
}

// cpp-httplib reports a failed connect without the system's error code. When it says
// the TCP connect failed, one short connect of our own learns the reason; the socket
// is closed again at once.
QString probeConnectFailure(const QString &host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo *list = nullptr;
    const QByteArray service = QByteArray::number(port);
    const int gai = getaddrinfo(host.toUtf8().constData(), service.constData(), &hints, &list);
    if (gai != 0)
        return QStringLiteral("sunucu adı çözümlenemedi (%1)").arg(QString::fromLocal8Bit(gai_strerror(gai)));

    int lastError = 0;
    for (addrinfo *ai = list; ai; ai = ai->ai_next) {
        const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd < 0) {
            lastError = errno;
            continue;
        }
        int err = 0;
        if (::connect(fd, ai->ai_addr, ai->ai_addrlen) < 0) {
            err = errno;
            if (err == EINPROGRESS) {
                pollfd pfd{fd, POLLOUT, 0};
                const int ready = ::poll(&pfd, 1, 1000);
                if (ready == 0) {
                    err = ETIMEDOUT;
                } else {
                    socklen_t len = sizeof err;
                    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) < 0)
                        err = errno;
                }
            }
        }
        ::close(fd);
        if (err == 0) {
            freeaddrinfo(list);
            return QStringLiteral("bağlantı kurulamadı");
        }
        lastError = err;
    }
    freeaddrinfo(list);
    return systemReason(lastError);
}

QString transportReason(httplib::Error error, const QString &host, int port, qint64 elapsedMs)
{
    switch (error) {
    case httplib::Error::Connection:
        if (elapsedMs >= (ConnectTimeoutSeconds * 1000) - 200)
            return systemReason(ETIMEDOUT);
        return probeConnectFailure(host, port);
    case httplib::Error::ConnectionTimeout:
        return systemReason(ETIMEDOUT);
    case httplib::Error::Read:
        return QStringLiteral("sunucunun yanıtı okunamadı, bağlantı kesildi");
    case httplib::Error::Write:
        return QStringLiteral("istek sunucuya gönderilemedi");
    case httplib::Error::Compression:
        return QStringLiteral("sıkıştırılmış yanıt açılamadı");
    case httplib::Error::ExceedRedirectCount:
    case httplib::Error::Canceled:
    default:
        return QStringLiteral("iletişim hatası (%1)").arg(QString::fromStdString(httplib::to_string(error)));
    }
}

// The message of an error envelope, or an empty string.
QString envelopeMessage(const std::string &body)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(body));
    if (!doc.isObject())
        return QString();
    const QJsonValue error = doc.object().value(QLatin1String("error"));
    return error.isString() ? error.toString() : QString();
}

} // namespace

struct TSQLConnection::Private {
    QString driver = DataSnapDriver;
    bool loginPrompt = false;
    QList<QPair<QString, QString>> params;

    // Valid while open.
    std::unique_ptr<httplib::ClientImpl> client;
    QString host;
    QString portText;
    int port = 0;
    QString restBase; // "/<context>rest/"
    QString platformName;

    void setParam(const QString &name, const QString &value)
    {
        for (auto &p : params) {
            if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
                p.second = value;
                return;
            }
        }
        params.append({name, value});
    }
    QString param(const QString &name) const
    {
        for (const auto &p : params) {
            if (p.first.compare(name, Qt::CaseInsensitive) == 0)
                return p.second;
        }
        return QString();
    }
};

TSQLConnection::TSQLConnection(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->setParam(dsparams::CommunicationProtocol, QStringLiteral("tcp/ip"));
    d->setParam(dsparams::DatasnapContext, QStringLiteral("datasnap/"));
    d->setParam(dsparams::Port, QStringLiteral("9090"));
    d->setParam(dsparams::HostName, QString());
    d->setParam(dsparams::DSProxyPort, QStringLiteral("8090"));
    d->setParam(dsparams::Filters, QStringLiteral("{}"));
}

TSQLConnection::~TSQLConnection() = default;

QString TSQLConnection::DriverName() const
{
    QMutexLocker lock(&m_paramsLock);
    return d->driver;
}

void TSQLConnection::SetDriverName(const QString &name)
{
    QMutexLocker lock(&m_paramsLock);
    d->driver = name;
}

bool TSQLConnection::LoginPrompt() const
{
    QMutexLocker lock(&m_paramsLock);
    return d->loginPrompt;
}

void TSQLConnection::SetLoginPrompt(bool on)
{
    QMutexLocker lock(&m_paramsLock);
    d->loginPrompt = on;
}

QString TSQLConnection::Param(const QString &name) const
{
    QMutexLocker lock(&m_paramsLock);
    return d->param(name);
}

void TSQLConnection::SetParam(const QString &name, const QString &value)
{
    QMutexLocker lock(&m_paramsLock);
    d->setParam(name, value);
}

void TSQLConnection::Open()
{
    if (d->client)
        return;

    QString driver, protocol, context, host, portText, filters;
    {
        QMutexLocker lock(&m_paramsLock);
        driver = d->driver;
        protocol = d->param(dsparams::CommunicationProtocol).trimmed();
        context = d->param(dsparams::DatasnapContext).trimmed();
        host = d->param(dsparams::HostName).trimmed();
        portText = d->param(dsparams::Port).trimmed();
        filters = d->param(dsparams::Filters).trimmed();
    }

    if (driver.compare(DataSnapDriver, Qt::CaseInsensitive) != 0)
        throw Exception(QStringLiteral("Bilinmeyen bağlantı sürücüsü: \"%1\".").arg(driver));
    if (!protocol.isEmpty() && protocol.compare(QLatin1String("tcp/ip"), Qt::CaseInsensitive) != 0 &&
        protocol.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0)
        throw Exception(QStringLiteral("Desteklenmeyen iletişim protokolü: \"%1\".").arg(protocol));
    // Transport filters (compression, encryption) are not spoken by our server.
    if (!filters.isEmpty() && filters != QLatin1String("{}"))
        throw Exception(QStringLiteral("Desteklenmeyen iletim filtresi: %1").arg(filters));
    if (host.isEmpty())
        throw Exception(QStringLiteral("Sunucu adresi belirtilmediği için bağlantı açılamadı."));
    bool portOk = false;
    const int port = portText.toInt(&portOk);
    if (!portOk || port < 1 || port > 65535)
        throw Exception(QStringLiteral("%1 sunucusu için geçersiz port: \"%2\".").arg(host, portText));

    while (context.startsWith(QLatin1Char('/')))
        context.remove(0, 1);
    if (context.isEmpty())
        context = QStringLiteral("datasnap/");
    if (!context.endsWith(QLatin1Char('/')))
        context.append(QLatin1Char('/'));

    auto client = std::make_unique<httplib::ClientImpl>(host.toStdString(), port);
    client->set_connection_timeout(ConnectTimeoutSeconds, 0);
    client->set_read_timeout(HandshakeTimeoutSeconds, 0);
    client->set_write_timeout(WriteTimeoutSeconds, 0);
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);
    client->set_url_encode(false);
    client->set_decompress(true);

    auto failure = [&](const QString &reason) {
        return Exception(QStringLiteral("%1 adresindeki sunucuya %2 numaralı porttan bağlanılamadı: %3.")
                             .arg(host, portText, reason));
    };

    const QString restBase = QLatin1Char('/') + context + QLatin1String("rest/");
    const std::string path = QString(restBase + QLatin1String("DSAdmin/GetPlatformName")).toStdString();
    QElapsedTimer timer;
    timer.start();
    const httplib::Result res = client->Get(path, httplib::Headers{{"Accept-Encoding", "gzip"}});
    if (!res)
        throw failure(transportReason(res.error(), host, port, timer.elapsed()));
    if (res->status != 200) {
        QString message = envelopeMessage(res->body);
        if (message.isEmpty())
            message = QStringLiteral("sunucu el sıkışmayı kabul etmedi (HTTP %1)").arg(res->status);
        throw failure(message);
    }
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(res->body));
    const QJsonValue result = doc.isObject() ? doc.object().value(QLatin1String("result")) : QJsonValue();
    if (!result.isArray() || result.toArray().size() != 1 || !result.toArray().at(0).isString())
        throw failure(QStringLiteral("el sıkışma yanıtı anlaşılamadı, bu bir B2B sunucusu değil"));

    client->set_read_timeout(ReadTimeoutSeconds, 0);
    d->platformName = result.toArray().at(0).toString();
    d->host = host;
    d->portText = portText;
    d->port = port;
    d->restBase = restBase;
    d->client = std::move(client);
}

void TSQLConnection::Close()
{
    d->client.reset();
    d->platformName.clear();
}

bool TSQLConnection::Connected() const
{
    return d->client != nullptr;
}

void TSQLConnection::SetConnected(bool on)
{
    if (on)
        Open();
    else
        Close();
}

QString TSQLConnection::ServerPlatformName() const
{
    return d->platformName;
}

std::unique_ptr<TSQLConnection> TSQLConnection::Clone() const
{
    auto clone = std::make_unique<TSQLConnection>();
    QMutexLocker lock(&m_paramsLock);
    clone->d->driver = d->driver;
    clone->d->loginPrompt = d->loginPrompt;
    clone->d->params = d->params;
    return clone;
}

std::unique_ptr<TDBXCommand> TSQLConnection::CreateCommand()
{
    return std::make_unique<TDBXCommand>(this);
}

QString TSQLConnection::describeEndpoint() const
{
    return QStringLiteral("%1:%2").arg(d->host, d->portText);
}

QByteArray TSQLConnection::post(const QString &restPath, const QByteArray &body)
{
    if (!d->client)
        throw Exception(QStringLiteral("Sunucu bağlantısı açık değil."));

    QElapsedTimer timer;
    timer.start();
    const httplib::Result res =
        d->client->Post(QString(d->restBase + restPath).toStdString(), httplib::Headers{{"Accept-Encoding", "gzip"}},
                        body.constData(), size_t(body.size()), "application/json; charset=utf-8");
    if (!res) {
        const QString reason = transportReason(res.error(), d->host, d->port, timer.elapsed());
        const QString endpoint = describeEndpoint();
        // The socket is gone; the connection no longer counts as open.
        Close();
        throw Exception(QStringLiteral("%1 adresindeki sunucuyla iletişim kesildi: %2.").arg(endpoint, reason));
    }
    if (res->status == 200)
        return QByteArray::fromStdString(res->body);

    const QString message = envelopeMessage(res->body);
    if (!message.isEmpty())
        throw RemoteError(message, res->status);
    if (res->status == 413)
        throw RemoteError(QStringLiteral("Sunucu isteği çok büyük olduğu için reddetti (HTTP 413)."), 413);
    throw RemoteError(QStringLiteral("Sunucu isteği yerine getiremedi (HTTP %1).").arg(res->status), res->status);
}

} // namespace platform

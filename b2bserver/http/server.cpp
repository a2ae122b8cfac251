#include "server.h"

#include "codec.h"
#include "dispatch.h"
#include "faults.h"
#include "requestform.h"
#include "sqlquery.h"
#include "store.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <httplib.h>
#include <zlib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

namespace http {

// The fastest level: a JSON answer of several MB still shrinks to about a fifth, at a
// fraction of the default level's time, which dominated the large stock searches.
QByteArray gzipCompress(const QByteArray &data)
{
    z_stream zs{};
    if (deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray out;
    out.resize(qsizetype(deflateBound(&zs, uLong(data.size()))) + 32);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    out.resize(qsizetype(zs.total_out));
    deflateEnd(&zs);
    return rc == Z_STREAM_END ? out : QByteArray();
}

namespace {

std::mutex logMutex;

void logLine(const QByteArray &line)
{
    std::lock_guard<std::mutex> lock(logMutex);
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

thread_local std::chrono::steady_clock::time_point requestStart;

void startClock(const httplib::Request &)
{
    requestStart = std::chrono::steady_clock::now();
}

void logRequest(const char *port, const httplib::Request &req, const httplib::Response &res)
{
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - requestStart).count();
    QByteArray what = QByteArray::fromStdString(req.path);
    const int slash = what.lastIndexOf('/');
    if (what.startsWith("/datasnap/rest/TServerMethods1/") && slash >= 0) {
        what = what.mid(slash + 1);
        what.replace('"', QByteArray());
    }
    logLine(QByteArray(port) + ' ' + QByteArray::fromStdString(req.method) + ' ' + what + ' ' +
            QByteArray::number(res.status) + ' ' + QByteArray::number(ms, 'f', 2) + " ms\n");
}

// One accepted connection as httplib's Stream, buffered for the line reader.
class ConnectionStream final : public httplib::Stream {
public:
    explicit ConnectionStream(int sock) : m_sock(sock) {}

    bool is_readable() const override { return m_pos < m_len || waitFor(POLLIN, readTimeoutMs); }
    bool is_writable() const override { return waitFor(POLLOUT, writeTimeoutMs); }

    ssize_t read(char *ptr, size_t size) override
    {
        if (m_pos < m_len) {
            const size_t n = std::min(size, m_len - m_pos);
            std::memcpy(ptr, m_buffer + m_pos, n);
            m_pos += n;
            return ssize_t(n);
        }
        if (!waitFor(POLLIN, readTimeoutMs))
            return -1;
        if (size >= sizeof(m_buffer))
            return recvSome(ptr, size);
        const ssize_t got = recvSome(m_buffer, sizeof(m_buffer));
        if (got <= 0)
            return got;
        m_len = size_t(got);
        m_pos = std::min(size, m_len);
        std::memcpy(ptr, m_buffer, m_pos);
        return ssize_t(m_pos);
    }

    ssize_t write(const char *ptr, size_t size) override
    {
        if (!is_writable())
            return -1;
        ssize_t n;
        do {
            n = ::send(m_sock, ptr, size, MSG_NOSIGNAL);
        } while (n < 0 && errno == EINTR);
        return n;
    }

    void get_remote_ip_and_port(std::string &ip, int &port) const override
    {
        address(true, ip, port);
    }
    void get_local_ip_and_port(std::string &ip, int &port) const override
    {
        address(false, ip, port);
    }
    socket_t socket() const override { return m_sock; }

    bool hasBuffered() const { return m_pos < m_len; }

    static constexpr int readTimeoutMs = 15000;
    static constexpr int writeTimeoutMs = 15000;

private:
    ssize_t recvSome(char *ptr, size_t size)
    {
        ssize_t n;
        do {
            n = ::recv(m_sock, ptr, size, 0);
        } while (n < 0 && errno == EINTR);
        // Acknowledge at once: a client that sends headers and body in two writes with
        // Nagle on would otherwise wait for our delayed ACK (40 ms) on every call.
        const int on = 1;
        ::setsockopt(m_sock, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof(on));
        return n;
    }

    bool waitFor(short events, int timeoutMs) const
    {
        pollfd p{m_sock, events, 0};
        int rc;
        do {
            rc = ::poll(&p, 1, timeoutMs);
        } while (rc < 0 && errno == EINTR);
        return rc > 0;
    }

    void address(bool remote, std::string &ip, int &port) const
    {
        sockaddr_storage addr{};
        socklen_t len = sizeof(addr);
        const int rc = remote ? ::getpeername(m_sock, reinterpret_cast<sockaddr *>(&addr), &len)
                              : ::getsockname(m_sock, reinterpret_cast<sockaddr *>(&addr), &len);
        if (rc != 0)
            return;
        char text[INET6_ADDRSTRLEN] = {};
        if (addr.ss_family == AF_INET) {
            const auto *a = reinterpret_cast<const sockaddr_in *>(&addr);
            ::inet_ntop(AF_INET, &a->sin_addr, text, sizeof(text));
            port = ntohs(a->sin_port);
        } else if (addr.ss_family == AF_INET6) {
            const auto *a = reinterpret_cast<const sockaddr_in6 *>(&addr);
            ::inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof(text));
            port = ntohs(a->sin6_port);
        }
        ip = text;
    }

    int m_sock;
    char m_buffer[4096];
    size_t m_pos = 0;
    size_t m_len = 0;
};

// httplib listens with a backlog of 5: a burst of new clients would overflow the accept
// queue and see their first request lost. The backlog of a bound socket can be raised by
// listening again.
class WebHttpServer : public httplib::Server {
public:
    void widenBacklog() { ::listen(svr_sock_, SOMAXCONN); }
};

// httplib server whose connections we serve ourselves, so that a connection can be
// refused (reset at once) for the fault tests and keep-alive ends promptly on stop.
class CallHttpServer final : public WebHttpServer {
public:
    explicit CallHttpServer(FaultPlan *faults) : m_faults(faults) {}

private:
    bool process_and_close_socket(socket_t sock) override
    {
        if (m_faults && m_faults->takeRefusal()) {
            linger hard{1, 0};  // close with a reset, as a refusing server would
            ::setsockopt(sock, SOL_SOCKET, SO_LINGER, &hard, sizeof(hard));
            ::close(sock);
            logLine("call connection refused (fault)\n");
            return false;
        }
        ConnectionStream stream(sock);
        bool ok = true;
        size_t left = keep_alive_max_count_;
        while (left > 0 && waitForRequest(stream)) {
            bool closed = false;
            ok = process_request(stream, left == 1, closed, nullptr);
            if (!ok || closed)
                break;
            --left;
        }
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return ok;
    }

    // Waits for the next request of a kept-alive connection; gives up when the server
    // stops or the client stays idle too long.
    bool waitForRequest(ConnectionStream &stream)
    {
        if (stream.hasBuffered())
            return true;
        const auto start = std::chrono::steady_clock::now();
        while (svr_sock_ != INVALID_SOCKET) {
            pollfd p{stream.socket(), POLLIN, 0};
            const int rc = ::poll(&p, 1, 50);
            if (rc > 0)
                return true;
            if (rc < 0 && errno != EINTR)
                return false;
            if (std::chrono::steady_clock::now() - start > std::chrono::seconds(keep_alive_timeout_sec_))
                return false;
        }
        return false;
    }

    FaultPlan *m_faults;
};

bool acceptsGzip(const httplib::Request &req)
{
    return QByteArray::fromStdString(req.get_header_value("Accept-Encoding")).toLower().contains("gzip");
}

void setJson(const httplib::Request &req, httplib::Response &res, int status, const QByteArray &body)
{
    res.status = status;
    if (body.size() > gzipThreshold && acceptsGzip(req)) {
        const QByteArray packed = gzipCompress(body);
        if (!packed.isEmpty()) {
            res.set_header("Content-Encoding", "gzip");
            res.set_content(packed.constData(), size_t(packed.size()), "application/json; charset=utf-8");
            return;
        }
    }
    res.set_content(body.constData(), size_t(body.size()), "application/json; charset=utf-8");
}

QString statusMessage(int status)
{
    switch (status) {
    case 400: return QStringLiteral("Geçersiz istek.");
    case 404: return QStringLiteral("Bulunamadı.");
    case 405: return QStringLiteral("Bu yöntemle istek yapılamaz.");
    case 413: return QStringLiteral("İstek gövdesi 1 MiB sınırını aşıyor.");
    default: return QStringLiteral("Sunucu hatası (%1).").arg(status);
    }
}

const char homePage[] =
    "<!DOCTYPE html>\n<html lang=\"tr\"><head><meta charset=\"utf-8\"><title>Korvel Oto Yedek Parça</title>"
    "<style>body{font-family:sans-serif;margin:40px;color:#123}h1{color:#12346e}</style></head>"
    "<body><h1>Korvel Oto Yedek Parça</h1>"
    "<p>Bayilerimize özel B2B sipariş sistemine hoş geldiniz.</p>"
    "<p>Sipariş programını kullanmak için bilgisayarınızın tanımlı olması gerekir. "
    "Destek için satış temsilcinizle görüşebilirsiniz.</p></body></html>\n";

} // namespace

struct B2BServer::Impl {
    store::Store &store;
    methods::MethodTable table;
    methods::ServerSettings settings;
    FaultPlan faults;
    int threads;
    std::unique_ptr<CallHttpServer> call;
    std::unique_ptr<WebHttpServer> web;
    std::thread callThread, webThread;
    Ports ports;

    Impl(store::Store &s, const methods::MethodTable &t, const methods::ServerSettings &st, const FaultPlan &f,
         int n)
        : store(s), table(t), settings(st), faults(f), threads(n)
    {
        faults.apply(table);
    }

    QString platformName()
    {
        QString name;
        try {
            store.read([&](QSqlDatabase &db) {
                name = store::SqlQuery(db, QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'platform'"))
                           .scalar()
                           .toString();
            });
        } catch (const std::exception &) {
        }
        return name.isEmpty() ? QStringLiteral("Korvel B2B Server") : name;
    }

    void setUpCall()
    {
        call = std::make_unique<CallHttpServer>(&faults);
        const int poolSize = threads;
        call->new_task_queue = [poolSize] { return new httplib::ThreadPool(size_t(poolSize)); };
        call->set_keep_alive_max_count(1000000);
        call->set_keep_alive_timeout(30);
        call->set_payload_max_length(size_t(maxRequestBody));
        call->set_tcp_nodelay(true);
        call->set_pre_routing_handler([](const httplib::Request &req, httplib::Response &) {
            startClock(req);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        call->set_logger([](const httplib::Request &req, const httplib::Response &res) {
            logRequest("call", req, res);
        });
        // httplib's own refusals (413, unknown paths) get the protocol's error body too.
        call->set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request &req,
                                                                        httplib::Response &res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            setJson(req, res, res.status, methods::errorBody(statusMessage(res.status)));
            return httplib::Server::HandlerResponse::Handled;
        }));
        call->set_exception_handler([](const httplib::Request &req, httplib::Response &res, std::exception_ptr) {
            setJson(req, res, 500, methods::errorBody(QStringLiteral("Sunucuda beklenmeyen hata.")));
        });

        call->Get("/datasnap/rest/DSAdmin/GetPlatformName", [this](const httplib::Request &req, httplib::Response &res) {
            QJsonObject o;
            o.insert(QStringLiteral("result"), QJsonArray{platformName()});
            setJson(req, res, 200, wire::valueToJsonBytes(o));
        });
        call->Post(R"(/datasnap/rest/([^/]+)/([^/]+))", [this](const httplib::Request &req, httplib::Response &res) {
            const QString className = QString::fromStdString(req.matches[1]);
            QString method = QString::fromStdString(req.matches[2]);
            if (method.size() >= 2 && method.startsWith(QLatin1Char('"')) && method.endsWith(QLatin1Char('"')))
                method = method.mid(1, method.size() - 2);
            if (className != QLatin1String("TServerMethods1")) {
                setJson(req, res, 404, methods::errorBody(QStringLiteral("Bilinmeyen sunucu sınıfı: %1").arg(className)));
                return;
            }
            const int delay = faults.delayMs();
            const methods::CallResult result = methods::dispatchCall(
                table, store, settings, method, QByteArray::fromStdString(req.body), [delay](const QString &) {
                    if (delay > 0)
                        QThread::msleep(ulong(delay));
                });
            if (result.status == 200 && faults.garbles(method)) {
                setJson(req, res, 200, result.body.left(result.body.size() / 2));
                return;
            }
            setJson(req, res, result.status, result.body);
        });
    }

    void setUpWeb()
    {
        web = std::make_unique<WebHttpServer>();
        web->new_task_queue = [] { return new httplib::ThreadPool(8); };
        web->set_payload_max_length(size_t(maxRequestBody));
        web->set_pre_routing_handler([](const httplib::Request &req, httplib::Response &) {
            startClock(req);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        web->set_logger([](const httplib::Request &req, const httplib::Response &res) {
            logRequest("web", req, res);
        });
        web->Get("/ip", [](const httplib::Request &req, httplib::Response &res) {
            res.set_content(req.remote_addr, "text/plain; charset=utf-8");
        });
        addRequestFormRoutes(*web, store);
        web->Get("/resimgoster.ashx", [this](const httplib::Request &req, httplib::Response &res) {
            bool ok = false;
            const int id = QString::fromStdString(req.get_param_value("id")).trimmed().toInt(&ok);
            QByteArray type, bytes;
            if (ok) {
                try {
                    store.read([&](QSqlDatabase &db) {
                        store::SqlQuery q(db, QStringLiteral("SELECT r.tur, r.veri FROM stoklar s "
                                                             "JOIN resimler r ON r.resimno = s.resimno "
                                                             "WHERE s.stokno = ?"));
                        q.bind(id).exec();
                        if (q.next()) {
                            type = q.toString(0).toLatin1();
                            bytes = q.toBytes(1);
                        }
                    });
                } catch (const std::exception &e) {
                    logLine(QByteArray("resimgoster: ") + e.what() + '\n');
                    res.status = 500;
                    return;
                }
            }
            if (bytes.isEmpty()) {
                res.status = 404;  // empty body: the client shows its placeholder
                return;
            }
            res.set_content(bytes.constData(), size_t(bytes.size()), type.constData());
        });
        web->Get("/", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(homePage, "text/html; charset=utf-8");
        });
    }
};

B2BServer::B2BServer(store::Store &store, const methods::MethodTable &table, const methods::ServerSettings &settings,
                     const FaultPlan &faults, int threads)
    : d(std::make_unique<Impl>(store, table, settings, faults, threads))
{
}

B2BServer::~B2BServer()
{
    stop();
}

bool B2BServer::start(const QString &host, int callPort, int webPort, QString *error)
{
    d->setUpCall();
    d->setUpWeb();
    const std::string h = host.toStdString();
    auto bind = [&](httplib::Server &server, int port, const char *what) -> int {
        const int bound = port == 0 ? server.bind_to_any_port(h) : (server.bind_to_port(h, port) ? port : -1);
        if (bound <= 0 && error)
            *error = QStringLiteral("%1 portu açılamadı: %2:%3").arg(QString::fromLatin1(what), host).arg(port);
        return bound;
    };
    d->ports.call = bind(*d->call, callPort, "Uzak çağrı");
    if (d->ports.call <= 0)
        return false;
    d->ports.web = bind(*d->web, webPort, "Web");
    if (d->ports.web <= 0) {
        d->call->stop();
        return false;
    }
    d->call->widenBacklog();
    d->web->widenBacklog();
    d->callThread = std::thread([this] { d->call->listen_after_bind(); });
    d->webThread = std::thread([this] { d->web->listen_after_bind(); });
    // httplib's stop() only takes effect once the accept loops run; wait for them.
    for (int i = 0; i < 500 && !(d->call->is_running() && d->web->is_running()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
}

Ports B2BServer::ports() const
{
    return d->ports;
}

void B2BServer::stop()
{
    if (d->call)
        d->call->stop();
    if (d->web)
        d->web->stop();
    if (d->callThread.joinable())
        d->callThread.join();
    if (d->webThread.joinable())
        d->webThread.join();
}

} // namespace http

#pragma once
// Servers for the connection tests: the real substitute server as a child process, and a
// small in-process HTTP server with canned answers for what the real one never sends.
#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <childprocess.h>
#include <functional>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace platform {
class TSQLConnection;
}

namespace nettest {

// The substitute server on ephemeral loopback ports over a fresh SQLite file.
class B2BServer {
public:
    B2BServer();
    ~B2BServer();
    // Small deterministic demo data plus `extraArguments` (e.g. "--fault", ...).
    bool start(const QString &program, const QStringList &extraArguments = {});
    void stop();
    QString errorString() const { return m_error; }
    int port() const { return m_process.port(); }
    int webPort() const { return m_process.webPort(); }
    // A closed connection to this server.
    std::unique_ptr<platform::TSQLConnection> connection() const;

    // A computer identifier that --register-computer mapped to a demo customer user.
    static QString knownComputer();

private:
    QTemporaryDir m_dir;
    testsupport::ChildProcess m_process;
    QString m_error;
};

// A closed connection to 127.0.0.1:port.
std::unique_ptr<platform::TSQLConnection> loopbackConnection(int port);

// In-process HTTP/1.1 server on 127.0.0.1 with an ephemeral port. The handshake is
// answered like the real server; every server-method call goes to the handler.
class CannedServer {
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/json; charset=utf-8";
        QList<QPair<QByteArray, QByteArray>> headers;
    };
    // method: the name between the quotes of the path; body: the request body.
    using Handler = std::function<Answer(const QString &method, const QByteArray &body)>;

    explicit CannedServer(Handler handler);
    ~CannedServer();
    CannedServer(const CannedServer &) = delete;
    CannedServer &operator=(const CannedServer &) = delete;

    bool isListening() const { return m_port > 0; }
    int port() const { return m_port; }
    void setHandler(Handler handler);

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    QMutex m_lock;
    Handler m_handler;
};

} // namespace nettest

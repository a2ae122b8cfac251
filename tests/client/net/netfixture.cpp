#include "netfixture.h"

#include <QMutexLocker>
#include <chrono>
#include <httplib.h>
#include <sqlconnection.h>

namespace nettest {

B2BServer::B2BServer() = default;

B2BServer::~B2BServer()
{
    stop();
}

QString B2BServer::knownComputer()
{
    return QStringLiteral("NETTEST-PC-1");
}

bool B2BServer::start(const QString &program, const QStringList &extraArguments)
{
    if (program.isEmpty()) {
        m_error = QStringLiteral("the substitute server is not part of this build");
        return false;
    }
    if (!m_dir.isValid()) {
        m_error = m_dir.errorString();
        return false;
    }
    QStringList arguments{QStringLiteral("--db"),
                          m_dir.filePath(QStringLiteral("b2b.sqlite")),
                          QStringLiteral("--port"),
                          QStringLiteral("0"),
                          QStringLiteral("--web-port"),
                          QStringLiteral("0"),
                          QStringLiteral("--demo"),
                          QStringLiteral("--demo-stock"),
                          QStringLiteral("300"),
                          QStringLiteral("--demo-accounts"),
                          QStringLiteral("4"),
                          QStringLiteral("--seed"),
                          QStringLiteral("7"),
                          QStringLiteral("--register-computer"),
                          knownComputer(),
                          QStringLiteral("--as"),
                          QStringLiteral("BAYI1001")};
    arguments += extraArguments;
    if (!m_process.start(program, arguments)) {
        m_error = m_process.errorString();
        return false;
    }
    return true;
}

void B2BServer::stop()
{
    if (m_process.isRunning())
        m_process.stop();
}

std::unique_ptr<platform::TSQLConnection> B2BServer::connection() const
{
    return loopbackConnection(port());
}

std::unique_ptr<platform::TSQLConnection> loopbackConnection(int port)
{
    auto connection = std::make_unique<platform::TSQLConnection>();
    connection->SetHostName(QStringLiteral("127.0.0.1"));
    connection->SetPort(QString::number(port));
    return connection;
}

CannedServer::CannedServer(Handler handler)
    : m_server(std::make_unique<httplib::Server>()), m_handler(std::move(handler))
{
    m_server->Get("/datasnap/rest/DSAdmin/GetPlatformName", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(R"({"result":["canned"]})", "application/json");
    });
    // The server hands handlers the decoded path: %22 arrives as a quote.
    m_server->Post(R"re(/datasnap/rest/TServerMethods1/"([A-Za-z0-9_]+)")re", [this](const httplib::Request &req,
                                                                                     httplib::Response &res) {
        Handler handler;
        {
            QMutexLocker lock(&m_lock);
            handler = m_handler;
        }
        const Answer answer = handler(QString::fromStdString(req.matches[1]), QByteArray::fromStdString(req.body));
        res.status = answer.status;
        for (const auto &h : answer.headers)
            res.set_header(h.first.toStdString(), h.second.toStdString());
        res.set_content(answer.body.toStdString(), answer.contentType.toStdString());
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0) {
        m_port = 0;
        return;
    }
    // The socket listens already; connections queue until the loop runs.
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
}

CannedServer::~CannedServer()
{
    // stop() only acts on a running loop, so let the thread reach it first.
    for (int i = 0; m_thread.joinable() && !m_server->is_running() && i < 500; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void CannedServer::setHandler(Handler handler)
{
    QMutexLocker lock(&m_lock);
    m_handler = std::move(handler);
}

} // namespace nettest

#pragma once
// Connection to the remote application server with the DataSnap-style parameters.
// One open connection holds at most one keep-alive socket; a clone has its own.
// A connection is used by one thread at a time; its parameters may be read (Clone)
// from any thread.
#include "exception.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <memory>

namespace platform {

class TDBXCommand;

// A call the server answered with an HTTP error status: 400 malformed request, 404
// unknown method, 413 request too large, 500 the method failed. The message is the
// server's own where it sent one.
class RemoteError : public Exception {
public:
    RemoteError(const QString &message, int status) : Exception(message), m_status(status) {}
    int Status() const { return m_status; }

private:
    int m_status;
};

// Names of the connection parameters, as the parameter list spells them.
namespace dsparams {
inline const QString CommunicationProtocol = QStringLiteral("CommunicationProtocol");
inline const QString DatasnapContext = QStringLiteral("DatasnapContext");
inline const QString Port = QStringLiteral("Port");
inline const QString HostName = QStringLiteral("HostName");
inline const QString DSProxyPort = QStringLiteral("DSProxyPort");
inline const QString Filters = QStringLiteral("Filters");
} // namespace dsparams

class TSQLConnection : public QObject {
    Q_OBJECT
public:
    // Driver "DataSnap", protocol "tcp/ip", context "datasnap/", port "9090",
    // proxy port "8090", no filters, login prompt off; host empty.
    explicit TSQLConnection(QObject *parent = nullptr);
    ~TSQLConnection() override;

    QString DriverName() const;
    void SetDriverName(const QString &name);
    bool LoginPrompt() const;
    void SetLoginPrompt(bool on);

    // The parameter list (Params.Values[...]); an unknown name reads as empty.
    QString Param(const QString &name) const;
    void SetParam(const QString &name, const QString &value);
    QString HostName() const { return Param(dsparams::HostName); }
    void SetHostName(const QString &host) { SetParam(dsparams::HostName, host); }
    QString Port() const { return Param(dsparams::Port); }
    void SetPort(const QString &port) { SetParam(dsparams::Port, port); }

    // Connects (5 s time-out) and performs the handshake; a no-op when already open.
    // Throws platform::Exception with a Turkish sentence naming host, port and reason.
    void Open();
    // Drops the socket; safe in any state.
    void Close();
    bool Connected() const;
    void SetConnected(bool on);

    // The platform name the server gave in the handshake (empty while closed).
    QString ServerPlatformName() const;

    // A new, closed connection with the same driver and parameters, without a parent.
    std::unique_ptr<TSQLConnection> Clone() const;

    // A new command bound to this connection; it may outlive the connection (it then
    // refuses to execute).
    std::unique_ptr<TDBXCommand> CreateCommand();

private:
    friend class TDBXCommand;
    // POSTs `body` to `restPath` (below the context's "rest/") and returns the body of a 200 answer; every other
    // outcome throws platform::Exception. The connection must be open.
    QByteArray post(const QString &restPath, const QByteArray &body);
    QString describeEndpoint() const;

    struct Private;
    std::unique_ptr<Private> d;
    mutable QMutex m_paramsLock; // guards driver, login prompt and parameters only
};

} // namespace platform

#pragma once
// Base of the typed server-method clients: keeps the connection the client was made
// on and the instance-ownership flag (always on: record arguments are consumed and
// returned objects stay with the client's commands).
#include <QPointer>
#include <QString>
#include <memory>

namespace platform {

class TSQLConnection;
class TDBXCommand;

class TDSAdminClient {
public:
    // A missing connection is refused with platform::Exception.
    explicit TDSAdminClient(TSQLConnection *ADBXConnection);
    virtual ~TDSAdminClient();
    TDSAdminClient(const TDSAdminClient &) = delete;
    TDSAdminClient &operator=(const TDSAdminClient &) = delete;

    TSQLConnection *Connection() const;
    bool InstanceOwner() const { return FInstanceOwner; }

protected:
    // A new command of type "DataSnap.ServerMethod" with text "<className>.<method>", prepared.
    std::unique_ptr<TDBXCommand> createServerMethodCommand(const QString &className, const QString &method);

private:
    QPointer<TSQLConnection> FConnection;
    bool FInstanceOwner = true;
};

} // namespace platform

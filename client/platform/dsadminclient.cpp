#include "dsadminclient.h"

#include "dbxcommand.h"
#include "exception.h"
#include "sqlconnection.h"

namespace platform {

TDSAdminClient::TDSAdminClient(TSQLConnection *ADBXConnection) : FConnection(ADBXConnection)
{
    if (!ADBXConnection)
        throw Exception(QStringLiteral("Sunucu metotları bir bağlantı olmadan kullanılamaz."));
}

TDSAdminClient::~TDSAdminClient() = default;

TSQLConnection *TDSAdminClient::Connection() const
{
    return FConnection.data();
}

std::unique_ptr<TDBXCommand> TDSAdminClient::createServerMethodCommand(const QString &className, const QString &method)
{
    if (!FConnection)
        throw Exception(QStringLiteral("Sunucu metotlarının bağlantısı artık yok."));
    std::unique_ptr<TDBXCommand> command = FConnection->CreateCommand();
    command->SetCommandType(QStringLiteral("DataSnap.ServerMethod"));
    command->SetText(className + QLatin1Char('.') + method);
    command->Prepare();
    return command;
}

} // namespace platform

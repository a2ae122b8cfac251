#pragma once
// The substitute server for the method tests: started once per test executable on
// ephemeral loopback ports over a fresh SQLite file with small deterministic demo data.
// Sessions are what BuyukGetir answers for the demo computers ("KORVEL-DEMO-<user>").
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <childprocess.h>
#include <memory>
#include <table.h>

class PgCluster;
class TSonucBilgisi;
class TServerMethods1Client;

namespace platform {
class TSQLConnection;
}

namespace methodstest {

class Server {
public:
    // With KORVEL_METHODS_ON_POSTGRES=1 in the environment, a server started without a
    // database runs on a throwaway PostgreSQL cluster instead of SQLite.
    Server();
    ~Server();

    // `database`: a postgresql:// location; empty for a fresh SQLite file.
    bool start(QString *error, const QString &database = QString());
    // A new, opened connection (each thread of a test uses its own).
    std::unique_ptr<platform::TSQLConnection> connect() const;
    // The session record of a demo user, as the login gets it.
    std::unique_ptr<TSonucBilgisi> session(const QString &user) const;
    // A look straight into the store (SQLite only), for checks of what a method wrote.
    QSqlDatabase database() const;

    bool onPostgres() const { return m_cluster != nullptr; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<PgCluster> m_cluster;
    QString m_pgDatabase;
    testsupport::ChildProcess m_process;
};

std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &record);

// Demo users: two of the staff, customers of kinds 0, 3 and 4, and a withdrawn customer.
inline const QString staffWithPrices = QStringLiteral("MURAT");  // kind 2
inline const QString staff = QStringLiteral("SELIN");            // kind 1
inline const QString customer = QStringLiteral("BAYI1001");      // kind 0, account 1001
inline const QString otherCustomer = QStringLiteral("BAYI1002"); // kind 0, account 1002
inline const QString kind4Customer = QStringLiteral("BAYI1008"); // kind 4

using ColumnList = QList<QPair<QString, wire::ColumnType>>;
// Empty when every named column is present with its type; otherwise what is wrong.
QString checkColumns(const wire::Table &table, const ColumnList &columns);
// The value of a column of a row, by name.
QVariant cell(const wire::Table &table, int row, const QString &column);
// Runs `work` and returns the platform exception's message (empty when nothing was thrown).
QString failureOf(const std::function<void()> &work);

} // namespace methodstest

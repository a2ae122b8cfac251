#include "methodsfixture.h"

#include <QSqlQuery>
#include <QUuid>
#include <baglantiu.h>
#include <exception.h>
#include <pgcluster.h>
#include <proxim.h>
#include <sqlconnection.h>

namespace methodstest {

Server::Server() = default;

Server::~Server()
{
    if (m_process.isRunning())
        m_process.stop();
    m_cluster.reset();
    const QString name = QStringLiteral("methods-") + m_dir.path();
    if (QSqlDatabase::contains(name))
        QSqlDatabase::removeDatabase(name);
}

bool Server::start(QString *error, const QString &database)
{
    const QString program = QString::fromUtf8(KORVEL_SERVER_BIN);
    if (program.isEmpty()) {
        *error = QStringLiteral("the substitute server is not part of this build");
        return false;
    }
    QString location = database;
    if (location.isEmpty() && qEnvironmentVariableIntValue("KORVEL_METHODS_ON_POSTGRES") == 1) {
        m_cluster = std::make_unique<PgCluster>();
        bool skip = false;
        *error = m_cluster->start(&skip);
        if (!error->isEmpty())
            return false;
        location = m_cluster->createDatabase(error);
        if (location.isEmpty() || !error->isEmpty())
            return false;
        m_pgDatabase = location.section(QLatin1Char('/'), -1);
    }
    const QStringList arguments{QStringLiteral("--db"),
                                location.isEmpty() ? m_dir.filePath(QStringLiteral("b2b.sqlite")) : location,
                                QStringLiteral("--port"),         QStringLiteral("0"),
                                QStringLiteral("--web-port"),     QStringLiteral("0"),
                                QStringLiteral("--demo"),         QStringLiteral("--demo-stock"),
                                QStringLiteral("400"),            QStringLiteral("--demo-accounts"),
                                QStringLiteral("10"),             QStringLiteral("--seed"),
                                QStringLiteral("11")};
    if (!m_process.start(program, arguments)) {
        *error = m_process.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<platform::TSQLConnection> Server::connect() const
{
    auto connection = std::make_unique<platform::TSQLConnection>();
    connection->SetHostName(QStringLiteral("127.0.0.1"));
    connection->SetPort(QString::number(m_process.port()));
    connection->Open();
    return connection;
}

std::unique_ptr<TSonucBilgisi> Server::session(const QString &user) const
{
    auto connection = connect();
    TServerMethods1Client proxy(connection.get());
    const TSonucBilgisi *record = proxy.BuyukGetir(QStringLiteral("KORVEL-DEMO-") + user);
    return record ? copyOf(*record) : nullptr;
}

QSqlDatabase Server::database() const
{
    const QString name = QStringLiteral("methods-") + m_dir.path();
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db;
    if (m_cluster) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_cluster->port());
        db.setUserName(QStringLiteral("postgres"));
        db.setDatabaseName(m_pgDatabase);
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_dir.filePath(QStringLiteral("b2b.sqlite")));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    }
    db.open();
    return db;
}

std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &record)
{
    auto copy = std::make_unique<TSonucBilgisi>();
    copy->Kopyala(record);
    return copy;
}

QString checkColumns(const wire::Table &table, const ColumnList &columns)
{
    QStringList problems;
    for (const auto &[name, type] : columns) {
        const int c = table.indexOf(name);
        if (c < 0)
            problems.append(QStringLiteral("%1 missing").arg(name));
        else if (table.column(c).type != type)
            problems.append(QStringLiteral("%1 has type %2, expected %3")
                                .arg(name)
                                .arg(int(table.column(c).type))
                                .arg(int(type)));
    }
    return problems.join(QStringLiteral("; "));
}

QVariant cell(const wire::Table &table, int row, const QString &column)
{
    const int c = table.indexOf(column);
    return c < 0 ? QVariant() : table.value(row, c);
}

QString failureOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const platform::Exception &e) {
        return e.Message().isEmpty() ? QStringLiteral("(empty message)") : e.Message();
    }
    return QString();
}

} // namespace methodstest

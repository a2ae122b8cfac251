#include "pgcluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QUuid>

#include <unistd.h>

namespace {

QString findPgBin()
{
    for (const char *version : {"17", "16", "15", "14", "13"}) {
        const QString dir = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(QLatin1String(version));
        if (QFile::exists(dir + QStringLiteral("/initdb")) && QFile::exists(dir + QStringLiteral("/pg_ctl")))
            return dir;
    }
    return {};
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

PgCluster::PgCluster() = default;

PgCluster::~PgCluster()
{
    if (m_running)
        run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), m_dir + QStringLiteral("/data"),
             QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    if (!m_dir.isEmpty())
        QDir(m_dir).removeRecursively();
}

QString PgCluster::run(const QStringList &command, QString *output)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QStringList full = command;
    if (m_asPostgres)
        full = QStringList{QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("postgres"),
                           QStringLiteral("--")} + command;
    p.start(full.first(), full.mid(1));
    if (!p.waitForStarted(10000))
        return QStringLiteral("%1 başlatılamadı: %2").arg(full.first(), p.errorString());
    p.waitForFinished(60000);
    const QString out = QString::fromLocal8Bit(p.readAll());
    if (output)
        *output = out;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("%1 başarısız: %2").arg(command.first(), out);
    return {};
}

QString PgCluster::start(bool *skip)
{
    *skip = false;
    m_bin = findPgBin();
    if (m_bin.isEmpty()) {
        *skip = true;
        return QStringLiteral("PostgreSQL sunucu programları (initdb, pg_ctl) kurulu değil");
    }
    m_asPostgres = ::geteuid() == 0;
    m_dir = QDir::tempPath() + QStringLiteral("/korvel-pg-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    if (!QDir().mkpath(m_dir))
        return QStringLiteral("geçici klasör oluşturulamadı: %1").arg(m_dir);
    if (m_asPostgres) {
        QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:"), m_dir});
        QFile::setPermissions(m_dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString data = m_dir + QStringLiteral("/data");
    QString err = run({m_bin + QStringLiteral("/initdb"), QStringLiteral("-D"), data, QStringLiteral("-A"),
                       QStringLiteral("trust"), QStringLiteral("-U"), QStringLiteral("postgres"),
                       QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                       QStringLiteral("--no-sync")});
    if (!err.isEmpty())
        return err;
    m_port = freePort();
    const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off "
                                           "-c synchronous_commit=off -c full_page_writes=off")
                                .arg(m_port)
                                .arg(m_dir);
    err = run({m_bin + QStringLiteral("/pg_ctl"), QStringLiteral("-D"), data, QStringLiteral("-o"), options,
               QStringLiteral("-l"), m_dir + QStringLiteral("/log"), QStringLiteral("-w"), QStringLiteral("-t"),
               QStringLiteral("30"), QStringLiteral("start")});
    if (!err.isEmpty()) {
        QFile log(m_dir + QStringLiteral("/log"));
        log.open(QIODevice::ReadOnly);
        return err + QString::fromLocal8Bit(log.readAll());
    }
    m_running = true;
    return {};
}

QString PgCluster::createDatabase(QString *error)
{
    const QString name = QStringLiteral("korvel_test_%1").arg(++m_databases);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pgcluster-admin"));
        admin.setHostName(QStringLiteral("127.0.0.1"));
        admin.setPort(m_port);
        admin.setUserName(QStringLiteral("postgres"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open()) {
            *error = admin.lastError().text();
        } else {
            QSqlQuery q(admin);
            if (!q.exec(QStringLiteral("CREATE DATABASE %1").arg(name)))
                *error = q.lastError().text();
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pgcluster-admin"));
    return QStringLiteral("postgresql://postgres@127.0.0.1:%1/%2").arg(m_port).arg(name);
}

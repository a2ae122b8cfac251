#include "store.h"

#include "schema.h"
#include "sqlquery.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <map>

namespace store {

StoreError::StoreError(const QString &message, const QString &code)
    : std::runtime_error(message.toStdString()), m_code(code)
{
}

QString StoreError::message() const
{
    return QString::fromStdString(what());
}

Location Location::parse(const QString &text)
{
    Location loc;
    if (!text.startsWith(QLatin1String("postgresql://")) && !text.startsWith(QLatin1String("postgres://"))) {
        loc.backend = Backend::Sqlite;
        loc.path = text;
        return loc;
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        throw StoreError(QStringLiteral("Geçersiz veritabanı adresi: %1").arg(text));
    loc.backend = Backend::Postgres;
    loc.user = url.userName();
    loc.password = url.password();
    loc.host = url.host();
    loc.port = url.port(5432);
    loc.database = url.path().mid(1);
    if (loc.database.isEmpty())
        throw StoreError(QStringLiteral("Veritabanı adı eksik: %1").arg(text));
    return loc;
}

QString Location::display() const
{
    if (backend == Backend::Sqlite)
        return path;
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(database);
}

namespace {

std::atomic<quint64> nextStoreId{1};

// Connections opened by the current thread; closed and removed when the thread ends.
struct ThreadConnections {
    std::map<quint64, QSqlDatabase> byStore;

    void close(quint64 id)
    {
        auto it = byStore.find(id);
        if (it == byStore.end())
            return;
        const QString name = it->second.connectionName();
        it->second.close();
        byStore.erase(it);  // drop our handle before removing the connection
        QSqlDatabase::removeDatabase(name);
    }

    ~ThreadConnections()
    {
        while (!byStore.empty())
            close(byStore.begin()->first);
    }
};

ThreadConnections &threadConnections()
{
    thread_local ThreadConnections connections;
    return connections;
}

} // namespace

Store::Store(const Location &location)
    : m_location(location), m_id(nextStoreId++)
{
}

Store::~Store()
{
    closeThreadConnection();
}

QString Store::connectionName() const
{
    return QStringLiteral("korvel-store-%1-%2")
        .arg(m_id)
        .arg(reinterpret_cast<quintptr>(QThread::currentThreadId()), 0, 16);
}

QSqlDatabase Store::openConnection(const QString &name)
{
    QSqlDatabase db;
    if (m_location.backend == Backend::Sqlite) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_location.path);
        // Writers wait for each other instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    } else {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(m_location.host);
        db.setPort(m_location.port);
        db.setDatabaseName(m_location.database);
        db.setUserName(m_location.user);
        db.setPassword(m_location.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!db.open()) {
        const QString reason = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw StoreError(QStringLiteral("Veritabanı açılamadı (%1): %2").arg(m_location.display(), reason));
    }
    if (m_location.backend == Backend::Sqlite) {
        execSql(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        execSql(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        execSql(db, QStringLiteral("PRAGMA foreign_keys=ON"));
    } else {
        execSql(db, QStringLiteral("SET client_min_messages TO WARNING"));
    }
    return db;
}

QSqlDatabase Store::database()
{
    auto &conns = threadConnections();
    auto it = conns.byStore.find(m_id);
    if (it != conns.byStore.end())
        return it->second;
    QSqlDatabase db = openConnection(connectionName());
    conns.byStore.emplace(m_id, db);
    return db;
}

void Store::closeThreadConnection()
{
    threadConnections().close(m_id);
}

void Store::open()
{
    if (m_location.backend == Backend::Sqlite) {
        const QFileInfo info(m_location.path);
        if (!QDir().mkpath(info.absolutePath()))
            throw StoreError(QStringLiteral("Veritabanı klasörü oluşturulamadı: %1").arg(info.absolutePath()));
    }
    QSqlDatabase db = database();
    migrate(*this);
}

void Store::write(const std::function<void(QSqlDatabase &)> &work)
{
    QSqlDatabase db = database();
    if (m_location.backend == Backend::Sqlite) {
        execSql(db, QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        execSql(db, QStringLiteral("BEGIN"));
        // Writers of every server instance on this database take turns, as on SQLite.
        execSql(db, QStringLiteral("SELECT pg_advisory_xact_lock(724201)"));
    }
    try {
        work(db);
        execSql(db, QStringLiteral("COMMIT"));
    } catch (...) {
        QSqlQuery rollback(db);
        rollback.exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void Store::read(const std::function<void(QSqlDatabase &)> &work)
{
    QSqlDatabase db = database();
    work(db);
}

int Store::schemaVersion()
{
    QSqlDatabase db = database();
    return currentSchemaVersion(db);
}

bool Store::isEmpty()
{
    QSqlDatabase db = database();
    SqlQuery q(db, QStringLiteral("SELECT COUNT(*) FROM kullanicilar"));
    return q.scalar().toInt() == 0;
}

QString Store::defaultDemoPath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/korvel-b2b-server/demo.sqlite");
}

} // namespace store

namespace store {

namespace {

QChar foldLetter(QChar c)
{
    switch (c.unicode()) {
    case u'ğ': case u'Ğ': return QLatin1Char('G');
    case u'ü': case u'Ü': return QLatin1Char('U');
    case u'ş': case u'Ş': return QLatin1Char('S');
    case u'ı': case u'İ': case u'i': return QLatin1Char('I');
    case u'ö': case u'Ö': return QLatin1Char('O');
    case u'ç': case u'Ç': return QLatin1Char('C');
    default: break;
    }
    if (c.unicode() < 128)
        return c.toUpper();
    return QChar();
}

} // namespace

QString searchKey(const QString &text)
{
    QString key;
    key.reserve(text.size());
    for (QChar c : text) {
        const QChar f = foldLetter(c);
        if ((f >= QLatin1Char('A') && f <= QLatin1Char('Z')) || (f >= QLatin1Char('0') && f <= QLatin1Char('9')))
            key.append(f);
    }
    return key;
}

QString searchText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (QChar c : text) {
        const QChar f = foldLetter(c);
        if ((f >= QLatin1Char('A') && f <= QLatin1Char('Z')) || (f >= QLatin1Char('0') && f <= QLatin1Char('9'))) {
            if (blank && !out.isEmpty())
                out.append(QLatin1Char(' '));
            blank = false;
            out.append(f);
        } else {
            blank = true;
        }
    }
    return out;
}

} // namespace store

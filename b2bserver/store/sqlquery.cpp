#include "sqlquery.h"

#include "store.h"

#include <QSqlError>

#include <utility>

namespace store {

namespace {

// Text columns are NOT NULL: a null QString stands for empty text, never for SQL NULL
// (NULL is bound with an invalid QVariant).
QVariant bindable(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && value.toString().isNull())
        return QVariant(QStringLiteral(""));
    return value;
}

} // namespace

SqlQuery::SqlQuery(QSqlDatabase &db, const QString &sql)
    : m_query(db), m_sql(sql)
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        throw StoreError(QStringLiteral("Sorgu hazırlanamadı: %1 [%2]").arg(m_query.lastError().text(), sql));
}

SqlQuery &SqlQuery::bind(const QVariant &value)
{
    m_query.bindValue(m_bound++, bindable(value));
    return *this;
}

SqlQuery &SqlQuery::exec()
{
    const bool ok = m_query.exec();
    m_bound = 0;
    if (!ok)
        throw StoreError(QStringLiteral("Sorgu çalıştırılamadı: %1 [%2]").arg(m_query.lastError().text(), m_sql),
                         m_query.lastError().nativeErrorCode());
    return *this;
}

QVariant SqlQuery::scalar()
{
    exec();
    return next() ? value(0) : QVariant();
}

void execSql(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw StoreError(QStringLiteral("Sorgu çalıştırılamadı: %1 [%2]").arg(q.lastError().text(), sql),
                         q.lastError().nativeErrorCode());
}

} // namespace store

namespace store {

BatchInsert::BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns, int rowsPerStatement)
    : m_db(db), m_table(table), m_columns(columns), m_rowsPerStatement(rowsPerStatement), m_full(db)
{
    m_pending.reserve(columns.size() * rowsPerStatement);
}

BatchInsert::~BatchInsert()
{
    try {
        flush();
    } catch (...) {
        // Errors surface through an explicit flush(); a destructor must not throw.
    }
}

QString BatchInsert::statement(int rows) const
{
    QString one = QStringLiteral("(");
    for (int c = 0; c < m_columns.size(); ++c)
        one += c ? QStringLiteral(",?") : QStringLiteral("?");
    one += QLatin1Char(')');
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(m_table, m_columns.join(QLatin1Char(',')));
    sql.reserve(sql.size() + rows * (one.size() + 1));
    for (int r = 0; r < rows; ++r) {
        if (r)
            sql += QLatin1Char(',');
        sql += one;
    }
    return sql;
}

void BatchInsert::run(QSqlQuery &query, int rows)
{
    const int n = rows * int(m_columns.size());
    for (int i = 0; i < n; ++i)
        query.bindValue(i, bindable(m_pending.at(i)));
    if (!query.exec())
        throw StoreError(QStringLiteral("Toplu ekleme başarısız (%1): %2").arg(m_table, query.lastError().text()),
                         query.lastError().nativeErrorCode());
}

void BatchInsert::add(const QVariantList &row)
{
    Q_ASSERT(row.size() == m_columns.size());
    m_pending += row;
    if (++m_pendingRows < m_rowsPerStatement)
        return;
    if (!m_prepared) {
        if (!m_full.prepare(statement(m_rowsPerStatement)))
            throw StoreError(QStringLiteral("Toplu ekleme hazırlanamadı (%1): %2").arg(m_table, m_full.lastError().text()));
        m_prepared = true;
    }
    run(m_full, m_pendingRows);
    m_pending.clear();
    m_pendingRows = 0;
}

void BatchInsert::flush()
{
    if (m_pendingRows == 0)
        return;
    QSqlQuery tail(m_db);
    if (!tail.prepare(statement(m_pendingRows)))
        throw StoreError(QStringLiteral("Toplu ekleme hazırlanamadı (%1): %2").arg(m_table, tail.lastError().text()));
    const int rows = m_pendingRows;
    // Whatever happens, these rows are not tried again.
    m_pendingRows = 0;
    const QVariantList pending = std::exchange(m_pending, {});
    m_pending = pending;
    run(tail, rows);
    m_pending.clear();
}

} // namespace store

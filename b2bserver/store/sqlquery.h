#pragma once
// A prepared statement that throws store::StoreError instead of returning false, so a
// handler reads as a straight line of statements inside Store::write / Store::read.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

namespace store {

class SqlQuery {
public:
    SqlQuery(QSqlDatabase &db, const QString &sql);

    // Binds the next positional placeholder ('?').
    SqlQuery &bind(const QVariant &value);
    SqlQuery &bind(const QString &value) { return bind(QVariant(value)); }
    SqlQuery &bind(const char *value) { return bind(QVariant(QString::fromUtf8(value))); }
    SqlQuery &bind(int value) { return bind(QVariant(value)); }
    SqlQuery &bind(qint64 value) { return bind(QVariant(value)); }
    SqlQuery &bind(double value) { return bind(QVariant(value)); }
    SqlQuery &bind(bool value) { return bind(QVariant(value ? 1 : 0)); }
    SqlQuery &bindNull() { return bind(QVariant()); }
    SqlQuery &bindBlob(const QByteArray &value) { return bind(QVariant(value)); }

    // Executes with the bound values; the bindings are cleared for the next run.
    SqlQuery &exec();
    bool next() { return m_query.next(); }
    QVariant value(int i) const { return m_query.value(i); }
    int toInt(int i) const { return m_query.value(i).toInt(); }
    qint64 toInt64(int i) const { return m_query.value(i).toLongLong(); }
    double toDouble(int i) const { return m_query.value(i).toDouble(); }
    QString toString(int i) const { return m_query.value(i).toString(); }
    QByteArray toBytes(int i) const { return m_query.value(i).toByteArray(); }
    bool isNull(int i) const { return m_query.isNull(i); }
    int numRowsAffected() const { return m_query.numRowsAffected(); }
    QSqlQuery &raw() { return m_query; }

    // Runs the query and returns the first column of its first row (invalid when none).
    QVariant scalar();

private:
    QSqlQuery m_query;
    QString m_sql;
    int m_bound = 0;
};

// Executes one statement without parameters.
void execSql(QSqlDatabase &db, const QString &sql);

} // namespace store

namespace store {

// Inserts many rows with multi-row INSERT statements (one round trip per batch), the
// fast path for bulk data on both databases.
class BatchInsert {
public:
    // Keep rows x columns in the low thousands: the SQLite driver binds in time that
    // grows with the square of the placeholder count.
    BatchInsert(QSqlDatabase &db, const QString &table, const QStringList &columns, int rowsPerStatement = 50);
    ~BatchInsert();
    BatchInsert(const BatchInsert &) = delete;
    BatchInsert &operator=(const BatchInsert &) = delete;

    // Values of one row, in column order.
    void add(const QVariantList &row);
    // Rows added but not yet written (0 right after a batch went out).
    int pendingRows() const { return m_pendingRows; }
    // Writes the rows still pending. Called by the destructor too, but only an explicit
    // call reports errors.
    void flush();

private:
    QString statement(int rows) const;
    void run(QSqlQuery &query, int rows);

    QSqlDatabase m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    QVariantList m_pending;
    int m_pendingRows = 0;
    QSqlQuery m_full;
    bool m_prepared = false;
};

} // namespace store

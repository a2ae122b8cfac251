#pragma once
// A tabular result (data packet or reader) as it travels: column descriptors and
// typed column-major storage. Cells may be null.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <vector>

namespace wire {

// DBX type codes as on the wire.
enum class ColumnType : int {
    Date = 2,      // "YYYY-MM-DD"
    Boolean = 4,
    Int32 = 6,
    Double = 7,
    DateTime = 11, // "YYYY-MM-DD HH:MM:SS.zzz", no time zone
    Int64 = 18,
    Currency = 25, // number
    String = 26,
    Binary = 33,   // array of byte values
};

bool isKnownColumnType(int code);

struct ColumnInfo {
    QString name;
    ColumnType type = ColumnType::String;
    int size = 0;
    bool nullable = true;
};

// Storage of one column. Only the vector that fits the type is used:
//   ints   - Int32, Int64, Boolean (0/1), Date (julian day), DateTime (ms since 1970-01-01T00:00, zone-less)
//   reals  - Double, Currency
//   texts  - String
//   blobs  - Binary
struct ColumnData {
    ColumnInfo info;
    std::vector<qint64> ints;
    std::vector<double> reals;
    std::vector<QString> texts;
    std::vector<QByteArray> blobs;
    std::vector<bool> nulls;
};

class Table {
public:
    int columnCount() const { return int(m_columns.size()); }
    int rowCount() const { return m_rows; }
    const ColumnInfo &column(int c) const { return m_columns[size_t(c)].info; }
    const ColumnData &columnData(int c) const { return m_columns[size_t(c)]; }
    ColumnData &columnData(int c) { return m_columns[size_t(c)]; }
    // Position of the column with this name (case-sensitive), or -1.
    int indexOf(const QString &name) const;

    bool isNull(int row, int col) const;
    qint64 intValue(int row, int col) const;   // Int32, Int64, Boolean; reals truncated; 0 when null
    double realValue(int row, int col) const;  // any numeric column; 0 when null
    QString text(int row, int col) const;      // any column as text (numbers with '.' decimal point)
    QDate date(int row, int col) const;        // Date and DateTime columns
    QDateTime dateTime(int row, int col) const;
    QByteArray blob(int row, int col) const;
    QVariant value(int row, int col) const;    // typed QVariant; invalid QVariant when null

    // Building.
    int addColumn(const ColumnInfo &info);     // only while the table has no rows
    int appendRow();                           // a row of nulls; returns its index
    void setNull(int row, int col);
    void setInt(int row, int col, qint64 v);
    void setReal(int row, int col, double v);
    void setText(int row, int col, const QString &v);
    void setDate(int row, int col, const QDate &v);
    void setDateTime(int row, int col, const QDateTime &v);
    void setBlob(int row, int col, const QByteArray &v);
    // Converts from a QVariant according to the column type; a null/invalid variant sets null.
    void setValue(int row, int col, const QVariant &v);
    void removeRow(int row);
    void clearRows();
    void reserve(int rows);

    // Used by the decoder: adopts fully built columns (all of the same length).
    void adoptColumns(std::vector<ColumnData> &&columns, int rows);

private:
    std::vector<ColumnData> m_columns;
    int m_rows = 0;
};

} // namespace wire

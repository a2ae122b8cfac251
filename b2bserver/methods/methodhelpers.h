#pragma once
// Pieces several method groups share: checks of incoming values, dates as the client
// sends them, money text, order-state names and a row-by-row table writer.
#include <QDate>
#include <QString>
#include <QVariant>

#include <initializer_list>

#include "table.h"

namespace methods {

// Refuses (MethodError) a value outside [min, max]; `what` names it in the message.
void requireRange(double value, double min, double max, const QString &what);
// Refuses a text longer than its column.
void requireLength(const QString &text, int max, const QString &what);
// A date sent as days since 1899-12-30 (the fraction is the time of day, ignored).
QDate dateFromDays(double days, const QString &what);

// Name of an order's preparation state (siparisler.durum).
QString orderStateName(int durum);
// Money with Turkish separators and two decimals: 1.250,00
QString moneyText(double value);
// Today as the server sees it, ISO text.
QString isoToday();

// Exclusive upper bound of the search keys starting with `prefix` (keys hold only A-Z
// and 0-9): the prefix with its last character stepped up, carrying over Z. Empty when
// there is none (every key from the prefix on matches). Works under the C and the
// usual language collations, which order these characters alike.
QString keyUpperBound(const QString &prefix);

struct Col {
    const char *name;  // UTF-8
    wire::ColumnType type;
    int size = 0;      // strings: declared length (100 when 0)
};

wire::Table makeTable(std::initializer_list<Col> columns);

// Fills one new row column by column, converting each value to the column's type.
class RowWriter {
public:
    explicit RowWriter(wire::Table &table) : m_table(table), m_row(table.appendRow()) {}
    RowWriter &operator<<(const QVariant &value)
    {
        m_table.setValue(m_row, m_col++, value);
        return *this;
    }

private:
    wire::Table &m_table;
    int m_row;
    int m_col = 0;
};

} // namespace methods

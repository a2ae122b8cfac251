#include "table.h"

#include <QTime>

#include <cmath>
#include <limits>

namespace wire {

namespace {

constexpr qint64 msPerDay = 86400000;
const qint64 epochJulianDay = QDate(1970, 1, 1).toJulianDay();

enum class Store { Ints, Reals, Texts, Blobs };

Store storeOf(ColumnType type)
{
    switch (type) {
    case ColumnType::Double:
    case ColumnType::Currency:
        return Store::Reals;
    case ColumnType::String:
        return Store::Texts;
    case ColumnType::Binary:
        return Store::Blobs;
    default:
        return Store::Ints;
    }
}

// Floor division keeps dates before 1970 on the right day.
qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

qint64 toStoredDateTime(const QDateTime &dt)
{
    const qint64 days = dt.date().toJulianDay() - epochJulianDay;
    return days * msPerDay + dt.time().msecsSinceStartOfDay();
}

QDateTime fromStoredDateTime(qint64 ms)
{
    const qint64 days = floorDiv(ms, msPerDay);
    const qint64 rest = ms - days * msPerDay;
    return QDateTime(QDate::fromJulianDay(days + epochJulianDay), QTime::fromMSecsSinceStartOfDay(int(rest)));
}

qint64 truncateToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    if (v >= 9.2233720368547758e18)
        return std::numeric_limits<qint64>::max();
    if (v <= -9.2233720368547758e18)
        return std::numeric_limits<qint64>::min();
    return qint64(v);
}

QString numberText(double v)
{
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

} // namespace

bool isKnownColumnType(int code)
{
    switch (ColumnType(code)) {
    case ColumnType::Date:
    case ColumnType::Boolean:
    case ColumnType::Int32:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Int64:
    case ColumnType::Currency:
    case ColumnType::String:
    case ColumnType::Binary:
        return true;
    }
    return false;
}

int Table::indexOf(const QString &name) const
{
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (m_columns[c].info.name == name)
            return int(c);
    }
    return -1;
}

bool Table::isNull(int row, int col) const
{
    return m_columns[size_t(col)].nulls[size_t(row)];
}

qint64 Table::intValue(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    if (d.nulls[size_t(row)])
        return 0;
    switch (storeOf(d.info.type)) {
    case Store::Ints:
        return d.ints[size_t(row)];
    case Store::Reals:
        return truncateToInt(d.reals[size_t(row)]);
    case Store::Texts:
        return d.texts[size_t(row)].trimmed().toLongLong();
    case Store::Blobs:
        return 0;
    }
    return 0;
}

double Table::realValue(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    if (d.nulls[size_t(row)])
        return 0;
    switch (storeOf(d.info.type)) {
    case Store::Ints:
        return double(d.ints[size_t(row)]);
    case Store::Reals:
        return d.reals[size_t(row)];
    case Store::Texts:
        return d.texts[size_t(row)].trimmed().toDouble();
    case Store::Blobs:
        return 0;
    }
    return 0;
}

QString Table::text(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    if (d.nulls[r])
        return {};
    switch (d.info.type) {
    case ColumnType::Date:
        return QDate::fromJulianDay(d.ints[r]).toString(Qt::ISODate);
    case ColumnType::DateTime:
        return fromStoredDateTime(d.ints[r]).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    case ColumnType::Boolean:
        return d.ints[r] ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Int32:
    case ColumnType::Int64:
        return QString::number(d.ints[r]);
    case ColumnType::Double:
    case ColumnType::Currency:
        return numberText(d.reals[r]);
    case ColumnType::String:
        return d.texts[r];
    case ColumnType::Binary:
        return QString::fromLatin1(d.blobs[r]);
    }
    return {};
}

QDate Table::date(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    if (d.nulls[size_t(row)])
        return {};
    if (d.info.type == ColumnType::Date)
        return QDate::fromJulianDay(d.ints[size_t(row)]);
    if (d.info.type == ColumnType::DateTime)
        return fromStoredDateTime(d.ints[size_t(row)]).date();
    if (d.info.type == ColumnType::String)
        return QDate::fromString(d.texts[size_t(row)], Qt::ISODate);
    return {};
}

QDateTime Table::dateTime(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    if (d.nulls[size_t(row)])
        return {};
    if (d.info.type == ColumnType::DateTime)
        return fromStoredDateTime(d.ints[size_t(row)]);
    if (d.info.type == ColumnType::Date)
        return QDateTime(QDate::fromJulianDay(d.ints[size_t(row)]), QTime(0, 0));
    return {};
}

QByteArray Table::blob(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    if (d.nulls[size_t(row)])
        return {};
    if (d.info.type == ColumnType::Binary)
        return d.blobs[size_t(row)];
    if (d.info.type == ColumnType::String)
        return d.texts[size_t(row)].toUtf8();
    return {};
}

QVariant Table::value(int row, int col) const
{
    const ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    if (d.nulls[r])
        return {};
    switch (d.info.type) {
    case ColumnType::Date:
        return QDate::fromJulianDay(d.ints[r]);
    case ColumnType::DateTime:
        return fromStoredDateTime(d.ints[r]);
    case ColumnType::Boolean:
        return d.ints[r] != 0;
    case ColumnType::Int32:
        return int(d.ints[r]);
    case ColumnType::Int64:
        return d.ints[r];
    case ColumnType::Double:
    case ColumnType::Currency:
        return d.reals[r];
    case ColumnType::String:
        return d.texts[r];
    case ColumnType::Binary:
        return d.blobs[r];
    }
    return {};
}

int Table::addColumn(const ColumnInfo &info)
{
    Q_ASSERT_X(m_rows == 0, "Table::addColumn", "columns are added before the first row");
    ColumnData d;
    d.info = info;
    m_columns.push_back(std::move(d));
    return int(m_columns.size()) - 1;
}

int Table::appendRow()
{
    for (ColumnData &d : m_columns) {
        d.nulls.push_back(true);
        switch (storeOf(d.info.type)) {
        case Store::Ints:
            d.ints.push_back(0);
            break;
        case Store::Reals:
            d.reals.push_back(0);
            break;
        case Store::Texts:
            d.texts.emplace_back();
            break;
        case Store::Blobs:
            d.blobs.emplace_back();
            break;
        }
    }
    return m_rows++;
}

void Table::setNull(int row, int col)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    d.nulls[r] = true;
    // Drop the old value so a null cell never keeps a string or picture alive.
    switch (storeOf(d.info.type)) {
    case Store::Ints:
        d.ints[r] = 0;
        break;
    case Store::Reals:
        d.reals[r] = 0;
        break;
    case Store::Texts:
        d.texts[r] = QString();
        break;
    case Store::Blobs:
        d.blobs[r] = QByteArray();
        break;
    }
}

void Table::setInt(int row, int col, qint64 v)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    switch (storeOf(d.info.type)) {
    case Store::Ints:
        d.ints[r] = d.info.type == ColumnType::Boolean ? (v != 0) : v;
        break;
    case Store::Reals:
        d.reals[r] = double(v);
        break;
    case Store::Texts:
        d.texts[r] = QString::number(v);
        break;
    case Store::Blobs:
        d.blobs[r] = QByteArray::number(v);
        break;
    }
    d.nulls[r] = false;
}

void Table::setReal(int row, int col, double v)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    switch (storeOf(d.info.type)) {
    case Store::Ints:
        setInt(row, col, truncateToInt(v));
        return;
    case Store::Reals:
        d.reals[r] = v;
        break;
    case Store::Texts:
        d.texts[r] = numberText(v);
        break;
    case Store::Blobs:
        d.blobs[r] = numberText(v).toLatin1();
        break;
    }
    d.nulls[r] = false;
}

void Table::setText(int row, int col, const QString &v)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    switch (d.info.type) {
    case ColumnType::String:
        d.texts[r] = v;
        d.nulls[r] = false;
        return;
    case ColumnType::Binary:
        d.blobs[r] = v.toUtf8();
        d.nulls[r] = false;
        return;
    default:
        // Text into a typed column goes through the same conversion as a variant.
        setValue(row, col, QVariant(v));
        return;
    }
}

void Table::setDate(int row, int col, const QDate &v)
{
    // Straight from the day number: a local midnight does not exist on every day.
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    if (!v.isValid()) {
        setNull(row, col);
        return;
    }
    switch (d.info.type) {
    case ColumnType::Date:
        d.ints[r] = v.toJulianDay();
        break;
    case ColumnType::DateTime:
        d.ints[r] = (v.toJulianDay() - epochJulianDay) * msPerDay;
        break;
    case ColumnType::String:
        d.texts[r] = v.toString(Qt::ISODate);
        break;
    default:
        setNull(row, col);
        return;
    }
    d.nulls[r] = false;
}

void Table::setDateTime(int row, int col, const QDateTime &v)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    if (!v.isValid() || !v.date().isValid()) {
        setNull(row, col);
        return;
    }
    switch (d.info.type) {
    case ColumnType::Date:
        d.ints[r] = v.date().toJulianDay();
        break;
    case ColumnType::DateTime:
        d.ints[r] = toStoredDateTime(v);
        break;
    case ColumnType::String:
        d.texts[r] = v.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        break;
    default:
        setNull(row, col);
        return;
    }
    d.nulls[r] = false;
}

void Table::setBlob(int row, int col, const QByteArray &v)
{
    ColumnData &d = m_columns[size_t(col)];
    const size_t r = size_t(row);
    if (d.info.type == ColumnType::Binary) {
        d.blobs[r] = v;
        d.nulls[r] = false;
    } else if (d.info.type == ColumnType::String) {
        d.texts[r] = QString::fromUtf8(v);
        d.nulls[r] = false;
    } else {
        setNull(row, col);
    }
}

void Table::setValue(int row, int col, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        setNull(row, col);
        return;
    }
    const ColumnType type = m_columns[size_t(col)].info.type;
    bool ok = true;
    switch (type) {
    case ColumnType::Boolean:
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed().toLower();
            if (s == QLatin1String("true") || s == QLatin1String("1"))
                setInt(row, col, 1);
            else if (s == QLatin1String("false") || s == QLatin1String("0"))
                setInt(row, col, 0);
            else
                setNull(row, col);
        } else {
            setInt(row, col, v.toBool() ? 1 : 0);
        }
        return;
    case ColumnType::Int32:
    case ColumnType::Int64: {
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            setReal(row, col, v.toDouble());
            return;
        }
        const qint64 i = v.toLongLong(&ok);
        ok ? setInt(row, col, i) : setNull(row, col);
        return;
    }
    case ColumnType::Double:
    case ColumnType::Currency: {
        const double x = v.toDouble(&ok);
        ok ? setReal(row, col, x) : setNull(row, col);
        return;
    }
    case ColumnType::Date:
        setDate(row, col, v.toDate());
        return;
    case ColumnType::DateTime:
        setDateTime(row, col, v.toDateTime());
        return;
    case ColumnType::String:
        setText(row, col, v.toString());
        return;
    case ColumnType::Binary:
        setBlob(row, col, v.toByteArray());
        return;
    }
}

void Table::removeRow(int row)
{
    const auto r = std::ptrdiff_t(row);
    for (ColumnData &d : m_columns) {
        d.nulls.erase(d.nulls.begin() + r);
        switch (storeOf(d.info.type)) {
        case Store::Ints:
            d.ints.erase(d.ints.begin() + r);
            break;
        case Store::Reals:
            d.reals.erase(d.reals.begin() + r);
            break;
        case Store::Texts:
            d.texts.erase(d.texts.begin() + r);
            break;
        case Store::Blobs:
            d.blobs.erase(d.blobs.begin() + r);
            break;
        }
    }
    --m_rows;
}

void Table::clearRows()
{
    for (ColumnData &d : m_columns) {
        d.nulls.clear();
        d.ints.clear();
        d.reals.clear();
        d.texts.clear();
        d.blobs.clear();
    }
    m_rows = 0;
}

void Table::reserve(int rows)
{
    const size_t n = size_t(std::max(rows, 0));
    for (ColumnData &d : m_columns) {
        d.nulls.reserve(n);
        switch (storeOf(d.info.type)) {
        case Store::Ints:
            d.ints.reserve(n);
            break;
        case Store::Reals:
            d.reals.reserve(n);
            break;
        case Store::Texts:
            d.texts.reserve(n);
            break;
        case Store::Blobs:
            d.blobs.reserve(n);
            break;
        }
    }
}

void Table::adoptColumns(std::vector<ColumnData> &&columns, int rows)
{
#ifndef QT_NO_DEBUG
    for (const ColumnData &d : columns)
        Q_ASSERT(d.nulls.size() == size_t(rows));
#endif
    m_columns = std::move(columns);
    m_rows = rows;
}

} // namespace wire

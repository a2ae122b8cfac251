#include "codec.h"

#include "baglantiu.h"
#include "jsonscanner.h"
#include "mobilstokunit.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>
#include <QTime>
#include <QVariant>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace wire {

using detail::JsonNumber;
using detail::JsonScanner;

DecodeError::DecodeError(const QString &message) : std::runtime_error(message.toStdString()) {}

QString DecodeError::message() const
{
    return QString::fromUtf8(what());
}

namespace {

[[noreturn]] void failRecord(const QString &path, const QString &what)
{
    throw DecodeError(QStringLiteral("Kayıt %1: %2").arg(path, what));
}

// ---- writing JSON text ---------------------------------------------------------------

// UTF-16 straight to escaped UTF-8, without a temporary per string: room for the worst
// case (every unit escaped as \uXXXX) is made once, then the bytes go through a pointer.
void writeString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    out.resize(start + 2 + text.size() * 6);
    char *const base = out.data();
    char *o = base + start;
    *o++ = '"';
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = p + text.size();
    auto escape = [&o](char16_t c) {
        char e = 0;
        switch (c) {
        case u'"': e = '"'; break;
        case u'\\': e = '\\'; break;
        case u'\n': e = 'n'; break;
        case u'\r': e = 'r'; break;
        case u'\t': e = 't'; break;
        case u'\b': e = 'b'; break;
        case u'\f': e = 'f'; break;
        default:
            *o++ = '\\';
            *o++ = 'u';
            *o++ = hex[c >> 12];
            *o++ = hex[(c >> 8) & 15];
            *o++ = hex[(c >> 4) & 15];
            *o++ = hex[c & 15];
            return;
        }
        *o++ = '\\';
        *o++ = e;
    };
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            if (c >= 0x20 && c != u'"' && c != u'\\')
                *o++ = char(c);
            else
                escape(c);
            continue;
        }
        char32_t cp = c;
        if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF)
            cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF) {
            escape(c); // a lone surrogate has no UTF-8 form; the escape keeps it
            continue;
        }
        if (cp < 0x800) {
            *o++ = char(0xC0 | (cp >> 6));
            *o++ = char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *o++ = char(0xE0 | (cp >> 12));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        } else {
            *o++ = char(0xF0 | (cp >> 18));
            *o++ = char(0x80 | ((cp >> 12) & 0x3F));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        }
    }
    *o++ = '"';
    out.resize(o - base);
}

void writeInt(QByteArray &out, qint64 v)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr - buf);
}

// JSON has no NaN or infinity; such a value travels as null. Otherwise the shortest text
// that reads back to the same double.
void writeDouble(QByteArray &out, double v)
{
    if (!std::isfinite(v)) {
        out.append("null", 4);
        return;
    }
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr - buf);
}

// Any JSON value in the same number and string form as the table writer. QJsonDocument
// would write -0.0 as 0.
void writeValue(QByteArray &out, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        out.append("null", 4);
        return;
    case QJsonValue::Bool:
        out.append(value.toBool() ? "true" : "false");
        return;
    case QJsonValue::Double: {
        const QVariant v = value.toVariant();
        if (v.typeId() == QMetaType::LongLong)
            writeInt(out, v.toLongLong());
        else
            writeDouble(out, value.toDouble());
        return;
    }
    case QJsonValue::String:
        writeString(out, value.toString());
        return;
    case QJsonValue::Array: {
        out.append('[');
        bool first = true;
        for (const QJsonValue &item : value.toArray()) {
            if (!first)
                out.append(',');
            first = false;
            writeValue(out, item);
        }
        out.append(']');
        return;
    }
    case QJsonValue::Object: {
        out.append('{');
        const QJsonObject obj = value.toObject();
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            if (it != obj.begin())
                out.append(',');
            writeString(out, it.key());
            out.append(':');
            writeValue(out, it.value());
        }
        out.append('}');
        return;
    }
    }
}

void writeRecord(QByteArray &out, const Record &record, int &nextId)
{
    out.append("{\"type\":");
    writeString(out, record.typeName());
    out.append(",\"id\":");
    out.append(QByteArray::number(nextId++));
    out.append(",\"fields\":{");
    bool first = true;
    for (const FieldRef &f : record.fields()) {
        if (!first)
            out.append(',');
        first = false;
        out.append('"');
        out.append(f.name);
        out.append("\":");
        switch (f.kind) {
        case FieldKind::String:
            writeString(out, *static_cast<const QString *>(f.value));
            break;
        case FieldKind::Integer:
            writeInt(out, *static_cast<const qint32 *>(f.value));
            break;
        case FieldKind::Double:
            writeDouble(out, *static_cast<const double *>(f.value));
            break;
        case FieldKind::Boolean:
            out.append(*static_cast<const bool *>(f.value) ? "true" : "false");
            break;
        case FieldKind::RecordArray: {
            const auto *items = static_cast<const RecordArrayAccess *>(f.value);
            out.append('[');
            for (int i = 0; i < items->count(); ++i) {
                if (i)
                    out.append(',');
                writeRecord(out, items->at(i), nextId);
            }
            out.append(']');
            break;
        }
        }
    }
    out.append("}}");
}

QJsonObject recordObject(const Record &record, int &nextId)
{
    QJsonObject fields;
    QJsonObject obj{{QStringLiteral("type"), record.typeName()}, {QStringLiteral("id"), nextId++}};
    for (const FieldRef &f : record.fields()) {
        const QString name = QString::fromLatin1(f.name);
        switch (f.kind) {
        case FieldKind::String:
            fields.insert(name, *static_cast<const QString *>(f.value));
            break;
        case FieldKind::Integer:
            fields.insert(name, *static_cast<const qint32 *>(f.value));
            break;
        case FieldKind::Double: {
            const double v = *static_cast<const double *>(f.value);
            fields.insert(name, std::isfinite(v) ? QJsonValue(v) : QJsonValue());
            break;
        }
        case FieldKind::Boolean:
            fields.insert(name, *static_cast<const bool *>(f.value));
            break;
        case FieldKind::RecordArray: {
            const auto *items = static_cast<const RecordArrayAccess *>(f.value);
            QJsonArray list;
            for (int i = 0; i < items->count(); ++i)
                list.append(recordObject(items->at(i), nextId));
            fields.insert(name, list);
            break;
        }
        }
    }
    obj.insert(QStringLiteral("fields"), fields);
    return obj;
}

// ---- reading records -----------------------------------------------------------------

QString kindName(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null: return QStringLiteral("null");
    case QJsonValue::Bool: return QStringLiteral("mantıksal değer");
    case QJsonValue::Double: return QStringLiteral("sayı");
    case QJsonValue::String: return QStringLiteral("metin");
    case QJsonValue::Array: return QStringLiteral("dizi");
    case QJsonValue::Object: return QStringLiteral("nesne");
    case QJsonValue::Undefined: break;
    }
    return QStringLiteral("hiçbir şey");
}

// Fills a freshly created record; the caller throws it away on error.
void decodeInto(const QJsonValue &value, Record &target, const QString &path)
{
    if (!value.isObject())
        failRecord(path, QStringLiteral("kayıt nesnesi bekleniyordu, %1 geldi").arg(kindName(value)));
    const QJsonObject obj = value.toObject();
    const QJsonValue type = obj.value(QLatin1String("type"));
    if (!type.isString())
        failRecord(path, QStringLiteral("'type' metni eksik"));
    if (type.toString() != target.typeName())
        failRecord(path, QStringLiteral("'%1' türü bekleniyordu, '%2' geldi").arg(target.typeName(), type.toString()));
    const QJsonValue fieldsValue = obj.value(QLatin1String("fields"));
    if (!fieldsValue.isObject())
        failRecord(path, QStringLiteral("'fields' nesnesi eksik"));
    const QJsonObject fields = fieldsValue.toObject();

    for (const FieldRef &f : target.fields()) {
        const QString name = QString::fromLatin1(f.name);
        const QJsonValue v = fields.value(name);
        const QString where = path + QLatin1Char('.') + name;
        if (v.isUndefined())
            failRecord(where, QStringLiteral("alan eksik"));
        switch (f.kind) {
        case FieldKind::String:
            if (!v.isString())
                failRecord(where, QStringLiteral("metin bekleniyordu, %1 geldi").arg(kindName(v)));
            *static_cast<QString *>(f.value) = v.toString();
            break;
        case FieldKind::Integer: {
            if (!v.isDouble())
                failRecord(where, QStringLiteral("tamsayı bekleniyordu, %1 geldi").arg(kindName(v)));
            const double d = v.toDouble();
            if (std::trunc(d) != d)
                failRecord(where, QStringLiteral("tamsayı bekleniyordu, kesirli sayı geldi"));
            if (d < -2147483648.0 || d > 2147483647.0)
                failRecord(where, QStringLiteral("sayı 32 bit tamsayı aralığının dışında"));
            *static_cast<qint32 *>(f.value) = qint32(d);
            break;
        }
        case FieldKind::Double:
            if (!v.isDouble())
                failRecord(where, QStringLiteral("sayı bekleniyordu, %1 geldi").arg(kindName(v)));
            if (!std::isfinite(v.toDouble()))
                failRecord(where, QStringLiteral("sayı aralık dışında"));
            *static_cast<double *>(f.value) = v.toDouble();
            break;
        case FieldKind::Boolean:
            if (!v.isBool())
                failRecord(where, QStringLiteral("true ya da false bekleniyordu, %1 geldi").arg(kindName(v)));
            *static_cast<bool *>(f.value) = v.toBool();
            break;
        case FieldKind::RecordArray: {
            if (!v.isArray())
                failRecord(where, QStringLiteral("kayıt dizisi bekleniyordu, %1 geldi").arg(kindName(v)));
            auto *items = static_cast<RecordArrayAccess *>(f.value);
            items->clear();
            const QJsonArray list = v.toArray();
            for (qsizetype i = 0; i < list.size(); ++i)
                decodeInto(list.at(i), items->append(), where + QStringLiteral("[%1]").arg(i));
            break;
        }
        }
    }
}

void copyFields(const Record &source, Record &target)
{
    const QList<FieldRef> from = source.fields();
    const QList<FieldRef> to = target.fields();
    Q_ASSERT(from.size() == to.size());
    for (qsizetype i = 0; i < from.size(); ++i) {
        switch (from[i].kind) {
        case FieldKind::String:
            *static_cast<QString *>(to[i].value) = *static_cast<const QString *>(from[i].value);
            break;
        case FieldKind::Integer:
            *static_cast<qint32 *>(to[i].value) = *static_cast<const qint32 *>(from[i].value);
            break;
        case FieldKind::Double:
            *static_cast<double *>(to[i].value) = *static_cast<const double *>(from[i].value);
            break;
        case FieldKind::Boolean:
            *static_cast<bool *>(to[i].value) = *static_cast<const bool *>(from[i].value);
            break;
        case FieldKind::RecordArray: {
            const auto *src = static_cast<const RecordArrayAccess *>(from[i].value);
            auto *dst = static_cast<RecordArrayAccess *>(to[i].value);
            dst->clear();
            for (int k = 0; k < src->count(); ++k)
                copyFields(src->at(k), dst->append());
            break;
        }
        }
    }
}

// ---- tables --------------------------------------------------------------------------

constexpr int descriptorLength = 13;
const QString tableKey = QStringLiteral("table");
constexpr qint64 msPerDay = 86400000;

qint64 epochJulianDay()
{
    static const qint64 day = QDate(1970, 1, 1).toJulianDay();
    return day;
}

bool usesInts(ColumnType t)
{
    return t == ColumnType::Int32 || t == ColumnType::Int64 || t == ColumnType::Boolean || t == ColumnType::Date
        || t == ColumnType::DateTime;
}

bool usesReals(ColumnType t)
{
    return t == ColumnType::Double || t == ColumnType::Currency;
}

int digitsAt(const QString &s, int pos, int count)
{
    int v = 0;
    for (int i = pos; i < pos + count; ++i) {
        const char16_t c = s.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

// "YYYY-MM-DD" -> julian day, or false.
bool parseDate(const QString &s, qint64 &julianDay)
{
    if (s.size() < 10 || s.at(4) != u'-' || s.at(7) != u'-')
        return false;
    const int y = digitsAt(s, 0, 4), m = digitsAt(s, 5, 2), d = digitsAt(s, 8, 2);
    if (y < 1 || m < 0 || d < 0 || !QDate::isValid(y, m, d))
        return false;
    julianDay = QDate(y, m, d).toJulianDay();
    return true;
}

// "YYYY-MM-DD HH:MM:SS[.zzz]" -> ms since 1970-01-01T00:00 on the same wall clock.
bool parseDateTime(const QString &s, qint64 &ms)
{
    qint64 jd = 0;
    if ((s.size() != 19 && s.size() != 23) || !parseDate(s, jd))
        return false;
    if (s.at(10) != u' ' || s.at(13) != u':' || s.at(16) != u':')
        return false;
    const int h = digitsAt(s, 11, 2), mi = digitsAt(s, 14, 2), sec = digitsAt(s, 17, 2);
    int milli = 0;
    if (s.size() == 23) {
        if (s.at(19) != u'.')
            return false;
        milli = digitsAt(s, 20, 3);
    }
    if (h < 0 || mi < 0 || sec < 0 || milli < 0 || !QTime::isValid(h, mi, sec, milli))
        return false;
    ms = (jd - epochJulianDay()) * msPerDay + ((h * 60 + mi) * 60 + sec) * 1000 + milli;
    return true;
}

void appendDigits(QByteArray &out, int value, int width)
{
    char buf[8];
    for (int i = width - 1; i >= 0; --i) {
        buf[i] = char('0' + value % 10);
        value /= 10;
    }
    out.append(buf, width);
}

// Dates outside years 1-9999 have no wire form; the writer sends them as null.
bool appendDate(QByteArray &out, qint64 julianDay)
{
    int y, m, d;
    QDate::fromJulianDay(julianDay).getDate(&y, &m, &d);
    if (y < 1 || y > 9999)
        return false;
    appendDigits(out, y, 4);
    out.append('-');
    appendDigits(out, m, 2);
    out.append('-');
    appendDigits(out, d, 2);
    return true;
}

bool appendDateTime(QByteArray &out, qint64 ms)
{
    qint64 days = ms / msPerDay;
    qint64 rest = ms % msPerDay;
    if (rest < 0) {
        rest += msPerDay;
        --days;
    }
    if (!appendDate(out, days + epochJulianDay()))
        return false;
    const int r = int(rest);
    out.append(' ');
    appendDigits(out, r / 3600000, 2);
    out.append(':');
    appendDigits(out, r / 60000 % 60, 2);
    out.append(':');
    appendDigits(out, r / 1000 % 60, 2);
    out.append('.');
    appendDigits(out, r % 1000, 3);
    return true;
}

class TableReader {
public:
    Table read(JsonScanner &s);

private:
    void readDescriptors(JsonScanner &s);
    ColumnInfo readDescriptor(JsonScanner &s, int position);
    void readColumn(JsonScanner &s, int c);
    void readCell(JsonScanner &s, ColumnData &d);
    [[noreturn]] void failCell(const ColumnData &d, const QString &what) const;

    std::vector<ColumnData> m_columns;
    QHash<QString, int> m_index;
    std::vector<char> m_filled;
    bool m_haveDescriptors = false;
    size_t m_rowsHint = 0;
};

[[noreturn]] void failTable(const QString &what)
{
    throw DecodeError(QStringLiteral("Tablo: %1").arg(what));
}

void TableReader::failCell(const ColumnData &d, const QString &what) const
{
    throw DecodeError(
        QStringLiteral("Tablo sütunu '%1', satır %2: %3").arg(d.info.name).arg(d.nulls.size() + 1).arg(what));
}

ColumnInfo TableReader::readDescriptor(JsonScanner &s, int position)
{
    const QString where = QStringLiteral("%1. sütun tanımı").arg(position + 1);
    s.expect('[');
    ColumnInfo info;
    int i = 0;
    if (s.consume(']'))
        failTable(where + QStringLiteral(" boş"));
    do {
        switch (i) {
        case 0:
            if (s.peek() != '"')
                failTable(where + QStringLiteral(": ad metin olmalı"));
            info.name = s.readString();
            if (info.name.isEmpty() || info.name == tableKey)
                failTable(where + QStringLiteral(": geçersiz sütun adı '%1'").arg(info.name));
            break;
        case 1: {
            if (s.peek() != '-' && (s.peek() < '0' || s.peek() > '9'))
                failTable(where + QStringLiteral(": tür kodu sayı olmalı"));
            const JsonNumber n = s.readNumber();
            if (!n.isInteger || n.integer < 0 || n.integer > 1000 || !isKnownColumnType(int(n.integer)))
                failTable(where + QStringLiteral(": bilinmeyen sütun türü %1").arg(n.real));
            info.type = ColumnType(n.integer);
            break;
        }
        case 5: {
            if (s.peek() != '-' && (s.peek() < '0' || s.peek() > '9'))
                failTable(where + QStringLiteral(": boyut sayı olmalı"));
            const JsonNumber n = s.readNumber();
            if (!n.isInteger || n.integer < 0 || n.integer > std::numeric_limits<qint32>::max())
                failTable(where + QStringLiteral(": geçersiz boyut"));
            info.size = int(n.integer);
            break;
        }
        case 8:
            if (s.peek() != 't' && s.peek() != 'f')
                failTable(where + QStringLiteral(": 'nullable' true ya da false olmalı"));
            info.nullable = s.readBool();
            break;
        default:
            if (i >= descriptorLength)
                failTable(where + QStringLiteral(": %1 öğeden fazla").arg(descriptorLength));
            s.skipValue();
            break;
        }
        ++i;
    } while (s.consume(','));
    s.expect(']');
    if (i != descriptorLength)
        failTable(where + QStringLiteral(": %1 öğe bekleniyordu, %2 geldi").arg(descriptorLength).arg(i));
    return info;
}

void TableReader::readDescriptors(JsonScanner &s)
{
    if (s.peek() != '[')
        failTable(QStringLiteral("'table' sütun tanımları dizisi olmalı"));
    s.expect('[');
    if (!s.consume(']')) {
        do {
            ColumnInfo info = readDescriptor(s, int(m_columns.size()));
            if (m_index.contains(info.name))
                failTable(QStringLiteral("'%1' sütunu iki kez tanımlı").arg(info.name));
            m_index.insert(info.name, int(m_columns.size()));
            ColumnData d;
            d.info = std::move(info);
            m_columns.push_back(std::move(d));
        } while (s.consume(','));
        s.expect(']');
    }
    m_filled.assign(m_columns.size(), 0);
    m_haveDescriptors = true;
}

void TableReader::readCell(JsonScanner &s, ColumnData &d)
{
    const char c = s.peek();
    if (c == 'n') {
        if (!s.consumeLiteral("null"))
            s.fail(QStringLiteral("geçersiz değer"));
        d.nulls.push_back(true);
        if (usesInts(d.info.type))
            d.ints.push_back(0);
        else if (usesReals(d.info.type))
            d.reals.push_back(0);
        else if (d.info.type == ColumnType::String)
            d.texts.emplace_back();
        else
            d.blobs.emplace_back();
        return;
    }
    const bool numberStart = c == '-' || (c >= '0' && c <= '9');
    switch (d.info.type) {
    case ColumnType::Int32:
    case ColumnType::Int64: {
        if (!numberStart)
            failCell(d, QStringLiteral("tamsayı bekleniyordu"));
        const JsonNumber n = s.readNumber();
        if (!n.integral)
            failCell(d, QStringLiteral("tamsayı bekleniyordu, kesirli sayı geldi"));
        if (!n.isInteger
            || (d.info.type == ColumnType::Int32
                && (n.integer < std::numeric_limits<qint32>::min() || n.integer > std::numeric_limits<qint32>::max())))
            failCell(d, QStringLiteral("sayı sütun türünün aralığı dışında"));
        d.ints.push_back(n.integer);
        break;
    }
    case ColumnType::Boolean:
        if (c != 't' && c != 'f')
            failCell(d, QStringLiteral("true ya da false bekleniyordu"));
        d.ints.push_back(s.readBool() ? 1 : 0);
        break;
    case ColumnType::Double:
    case ColumnType::Currency:
        if (!numberStart)
            failCell(d, QStringLiteral("sayı bekleniyordu"));
        d.reals.push_back(s.readNumber().real);
        break;
    case ColumnType::String:
        if (c != '"')
            failCell(d, QStringLiteral("metin bekleniyordu"));
        d.texts.push_back(s.readString());
        break;
    case ColumnType::Date: {
        if (c != '"')
            failCell(d, QStringLiteral("tarih metni bekleniyordu"));
        const QString text = s.readString();
        qint64 jd = 0;
        if (text.size() != 10 || !parseDate(text, jd))
            failCell(d, QStringLiteral("geçersiz tarih '%1' (YYYY-AA-GG bekleniyordu)").arg(text.left(40)));
        d.ints.push_back(jd);
        break;
    }
    case ColumnType::DateTime: {
        if (c != '"')
            failCell(d, QStringLiteral("tarih-saat metni bekleniyordu"));
        const QString text = s.readString();
        qint64 ms = 0;
        if (!parseDateTime(text, ms))
            failCell(d, QStringLiteral("geçersiz tarih-saat '%1'").arg(text.left(40)));
        d.ints.push_back(ms);
        break;
    }
    case ColumnType::Binary: {
        if (c != '[')
            failCell(d, QStringLiteral("bayt dizisi bekleniyordu"));
        s.expect('[');
        QByteArray bytes;
        if (!s.consume(']')) {
            do {
                const char b = s.peek();
                if (b != '-' && (b < '0' || b > '9'))
                    failCell(d, QStringLiteral("bayt değeri bekleniyordu"));
                const JsonNumber n = s.readNumber();
                if (!n.isInteger || n.integer < 0 || n.integer > 255)
                    failCell(d, QStringLiteral("bayt değeri 0-255 aralığında değil"));
                bytes.append(char(n.integer));
            } while (s.consume(','));
            s.expect(']');
        }
        d.blobs.push_back(std::move(bytes));
        break;
    }
    }
    d.nulls.push_back(false);
}

void TableReader::readColumn(JsonScanner &s, int c)
{
    ColumnData &d = m_columns[size_t(c)];
    if (s.peek() != '[')
        failTable(QStringLiteral("'%1' sütununun değerleri dizi olmalı").arg(d.info.name));
    s.expect('[');
    if (m_rowsHint) {
        d.nulls.reserve(m_rowsHint);
        if (usesInts(d.info.type))
            d.ints.reserve(m_rowsHint);
        else if (usesReals(d.info.type))
            d.reals.reserve(m_rowsHint);
        else if (d.info.type == ColumnType::String)
            d.texts.reserve(m_rowsHint);
        else
            d.blobs.reserve(m_rowsHint);
    }
    if (!s.consume(']')) {
        do {
            readCell(s, d);
        } while (s.consume(','));
        s.expect(']');
    }
    m_filled[size_t(c)] = 1;
    if (!m_rowsHint)
        m_rowsHint = d.nulls.size();
}

Table TableReader::read(JsonScanner &s)
{
    struct Pending {
        QString key;
        const char *begin;
        const char *end;
    };
    std::vector<Pending> pending;
    QSet<QString> keys;

    if (s.peek() != '{')
        failTable(QStringLiteral("tablo nesnesi bekleniyordu"));
    s.expect('{');
    if (!s.consume('}')) {
        do {
            if (s.peek() != '"')
                s.fail(QStringLiteral("anahtar bekleniyordu"));
            QString key = s.readString();
            s.expect(':');
            if (keys.contains(key))
                failTable(QStringLiteral("'%1' anahtarı iki kez geçiyor").arg(key));
            keys.insert(key);
            if (key == tableKey) {
                readDescriptors(s);
                // Value arrays that came before the descriptors are read now.
                for (const Pending &p : pending) {
                    const int c = m_index.value(p.key, -1);
                    if (c < 0)
                        continue;
                    JsonScanner sub(p.begin, p.end);
                    readColumn(sub, c);
                    sub.expectEnd();
                }
                pending.clear();
            } else if (m_haveDescriptors) {
                const int c = m_index.value(key, -1);
                if (c >= 0)
                    readColumn(s, c);
                else
                    s.skipValue();
            } else {
                s.peek();
                const char *begin = s.position();
                s.skipValue();
                pending.push_back({std::move(key), begin, s.position()});
            }
        } while (s.consume(','));
        s.expect('}');
    }
    s.expectEnd();

    if (!m_haveDescriptors)
        failTable(QStringLiteral("'table' sütun tanımları eksik"));
    size_t rows = 0;
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (!m_filled[c])
            failTable(QStringLiteral("'%1' sütununun değerleri eksik").arg(m_columns[c].info.name));
        const size_t n = m_columns[c].nulls.size();
        if (c == 0)
            rows = n;
        else if (n != rows)
            failTable(QStringLiteral("sütunların uzunlukları farklı: '%1' %2 değer, '%3' %4 değer")
                          .arg(m_columns[0].info.name)
                          .arg(rows)
                          .arg(m_columns[c].info.name)
                          .arg(n));
    }
    if (rows > size_t(std::numeric_limits<int>::max()))
        failTable(QStringLiteral("çok fazla satır"));
    Table table;
    table.adoptColumns(std::move(m_columns), int(rows));
    return table;
}

Table readTable(const char *begin, const char *end)
{
    JsonScanner s(begin, end);
    TableReader reader;
    return reader.read(s);
}

void writeDescriptor(QByteArray &out, const ColumnInfo &info)
{
    out.append('[');
    writeString(out, info.name);
    out.append(',');
    out.append(QByteArray::number(int(info.type)));
    out.append(",0,0,0,");
    out.append(QByteArray::number(info.size));
    out.append(",0,0,");
    out.append(info.nullable ? "true" : "false");
    out.append(",false,0,false,false]");
}

void writeCell(QByteArray &out, const ColumnData &d, size_t r)
{
    if (d.nulls[r]) {
        out.append("null", 4);
        return;
    }
    switch (d.info.type) {
    case ColumnType::Int32:
    case ColumnType::Int64:
        writeInt(out, d.ints[r]);
        return;
    case ColumnType::Boolean:
        out.append(d.ints[r] ? "true" : "false");
        return;
    case ColumnType::Double:
    case ColumnType::Currency:
        writeDouble(out, d.reals[r]);
        return;
    case ColumnType::String:
        writeString(out, d.texts[r]);
        return;
    case ColumnType::Date:
    case ColumnType::DateTime: {
        out.append('"');
        const bool ok = d.info.type == ColumnType::Date ? appendDate(out, d.ints[r]) : appendDateTime(out, d.ints[r]);
        if (ok) {
            out.append('"');
        } else {
            out.chop(1);
            out.append("null", 4);
        }
        return;
    }
    case ColumnType::Binary: {
        out.append('[');
        const QByteArray &b = d.blobs[r];
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (i)
                out.append(',');
            writeInt(out, uchar(b[i]));
        }
        out.append(']');
        return;
    }
    }
}

QJsonValue cellValue(const ColumnData &d, size_t r)
{
    if (d.nulls[r])
        return QJsonValue(QJsonValue::Null);
    switch (d.info.type) {
    case ColumnType::Int32:
    case ColumnType::Int64:
        return QJsonValue(d.ints[r]);
    case ColumnType::Boolean:
        return QJsonValue(d.ints[r] != 0);
    case ColumnType::Double:
    case ColumnType::Currency:
        return std::isfinite(d.reals[r]) ? QJsonValue(d.reals[r]) : QJsonValue(QJsonValue::Null);
    case ColumnType::String:
        return QJsonValue(d.texts[r]);
    case ColumnType::Date:
    case ColumnType::DateTime: {
        QByteArray text;
        const bool ok = d.info.type == ColumnType::Date ? appendDate(text, d.ints[r]) : appendDateTime(text, d.ints[r]);
        return ok ? QJsonValue(QString::fromLatin1(text)) : QJsonValue(QJsonValue::Null);
    }
    case ColumnType::Binary:
        return streamToJson(d.blobs[r]);
    }
    return QJsonValue(QJsonValue::Null);
}

} // namespace

// ---- public API ------------------------------------------------------------------------

std::unique_ptr<Record> createRecord(const QString &typeName)
{
    if (typeName == QLatin1String("baglantiu.TSonucBilgisi"))
        return std::make_unique<TSonucBilgisi>();
    if (typeName == QLatin1String("baglantiu.TSiparisDipAyrinti"))
        return std::make_unique<TSiparisDipAyrinti>();
    if (typeName == QLatin1String("baglantiu.TTusSonuclari"))
        return std::make_unique<TTusSonuclari>();
    if (typeName == QLatin1String("mobilstokunit.TMobilCariBilgisi"))
        return std::make_unique<TMobilCariBilgisi>();
    if (typeName == QLatin1String("mobilstokunit.TAcilisEkran"))
        return std::make_unique<TAcilisEkran>();
    if (typeName == QLatin1String("mobilstokunit.TAcilisEkranlariki"))
        return std::make_unique<TAcilisEkranlariki>();
    return {};
}

QJsonValue recordToJson(const Record *record)
{
    if (!record)
        return QJsonValue(QJsonValue::Null);
    int nextId = 1;
    return recordObject(*record, nextId);
}

QByteArray recordToJsonBytes(const Record *record)
{
    if (!record)
        return QByteArrayLiteral("null");
    QByteArray out;
    int nextId = 1;
    writeRecord(out, *record, nextId);
    return out;
}

void recordFromJson(const QJsonValue &value, Record &target)
{
    // Decode into a scratch record and copy only when everything was good.
    std::unique_ptr<Record> scratch = createRecord(target.typeName());
    if (!scratch)
        throw DecodeError(QStringLiteral("Kayıt: bilinmeyen kayıt türü '%1'").arg(target.typeName()));
    decodeInto(value, *scratch, target.typeName());
    copyFields(*scratch, target);
}

QJsonObject tableToJson(const Table &table)
{
    QJsonObject obj;
    QJsonArray descriptors;
    for (int c = 0; c < table.columnCount(); ++c) {
        const ColumnInfo &info = table.column(c);
        descriptors.append(QJsonArray{info.name, int(info.type), 0, 0, 0, info.size, 0, 0, info.nullable, false, 0,
                                      false, false});
        const ColumnData &d = table.columnData(c);
        QJsonArray values;
        for (int r = 0; r < table.rowCount(); ++r)
            values.append(cellValue(d, size_t(r)));
        obj.insert(info.name, values);
    }
    obj.insert(tableKey, descriptors);
    return obj;
}

QByteArray tableToJsonBytes(const Table &table)
{
    // Sized close to the result up front: a multi-MB answer grown step by step is copied
    // again at each step.
    qsizetype estimate = 64;
    qsizetype longest = 0;
    for (int c = 0; c < table.columnCount(); ++c) {
        const ColumnData &d = table.columnData(c);
        estimate += 96 + d.info.name.size() * 2;
        if (d.info.type == ColumnType::String) {
            for (const QString &t : d.texts) {
                estimate += t.size() + t.size() / 4 + 3;
                longest = std::max(longest, t.size());
            }
        } else if (d.info.type == ColumnType::Binary) {
            for (const QByteArray &b : d.blobs)
                estimate += b.size() * 4 + 3;
        } else {
            estimate += qsizetype(table.rowCount()) * (usesReals(d.info.type) ? 12 : 8);
        }
    }
    QByteArray out;
    out.reserve(estimate + longest * 6); // the string writer's room for its worst case
    out.append("{\"table\":[");
    for (int c = 0; c < table.columnCount(); ++c) {
        if (c)
            out.append(',');
        writeDescriptor(out, table.column(c));
    }
    out.append(']');
    for (int c = 0; c < table.columnCount(); ++c) {
        const ColumnData &d = table.columnData(c);
        out.append(',');
        writeString(out, d.info.name);
        out.append(":[");
        for (int r = 0; r < table.rowCount(); ++r) {
            if (r)
                out.append(',');
            writeCell(out, d, size_t(r));
        }
        out.append(']');
    }
    out.append('}');
    return out;
}

Table tableFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        failTable(QStringLiteral("tablo nesnesi bekleniyordu, %1 geldi").arg(kindName(value)));
    // One reader for both entry points keeps their rules identical.
    QByteArray json;
    writeValue(json, value);
    return tableFromJsonBytes(json);
}

Table tableFromJsonBytes(const QByteArray &json)
{
    return readTable(json.constData(), json.constData() + json.size());
}

QJsonArray streamToJson(const QByteArray &bytes)
{
    QJsonArray array;
    for (const char b : bytes)
        array.append(int(uchar(b)));
    return array;
}

QByteArray streamFromJson(const QJsonValue &value)
{
    if (!value.isArray())
        throw DecodeError(QStringLiteral("Akış: bayt dizisi bekleniyordu, %1 geldi").arg(kindName(value)));
    const QJsonArray array = value.toArray();
    QByteArray bytes;
    bytes.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonValue v = array.at(i);
        const double d = v.toDouble(-1);
        if (!v.isDouble() || d < 0 || d > 255 || std::trunc(d) != d)
            throw DecodeError(QStringLiteral("Akış: %1. öğe 0-255 aralığında bir bayt değil").arg(i + 1));
        bytes.append(char(int(d)));
    }
    return bytes;
}

QByteArray streamFromJsonBytes(const QByteArray &json)
{
    JsonScanner s(json.constData(), json.constData() + json.size());
    if (s.peek() != '[')
        throw DecodeError(QStringLiteral("Akış: bayt dizisi bekleniyordu"));
    s.expect('[');
    QByteArray bytes;
    // Each byte takes at least two characters of text ("0,").
    bytes.reserve(json.size() / 2 + 1);
    if (!s.consume(']')) {
        do {
            const char c = s.peek();
            if (c != '-' && (c < '0' || c > '9'))
                throw DecodeError(QStringLiteral("Akış: %1. öğe bayt değeri değil").arg(bytes.size() + 1));
            const JsonNumber n = s.readNumber();
            if (!n.isInteger || n.integer < 0 || n.integer > 255)
                throw DecodeError(QStringLiteral("Akış: %1. öğe 0-255 aralığında değil").arg(bytes.size() + 1));
            bytes.append(char(n.integer));
        } while (s.consume(','));
        s.expect(']');
    }
    s.expectEnd();
    return bytes;
}

QJsonObject parseObject(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw DecodeError(
            QStringLiteral("Geçersiz JSON (konum %1): %2").arg(error.offset).arg(error.errorString()));
    if (!doc.isObject())
        throw DecodeError(QStringLiteral("JSON nesnesi bekleniyordu"));
    return doc.object();
}

QJsonValue valueFromJsonBytes(const QByteArray &json)
{
    // Check the syntax ourselves first: wrapped in brackets, "1,2" would pass as two values.
    JsonScanner s(json.constData(), json.constData() + json.size());
    s.skipValue();
    s.expectEnd();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson('[' + json + ']', &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray() || doc.array().size() != 1)
        throw DecodeError(QStringLiteral("Geçersiz JSON: %1").arg(error.errorString()));
    return doc.array().at(0);
}

QByteArray valueToJsonBytes(const QJsonValue &value)
{
    QByteArray out;
    writeValue(out, value);
    return out;
}

QList<QByteArray> splitResultArray(const QByteArray &answer)
{
    JsonScanner s(answer.constData(), answer.constData() + answer.size());
    if (s.peek() != '{')
        throw DecodeError(QStringLiteral("Cevap JSON nesnesi değil"));
    s.expect('{');
    QList<QByteArray> entries;
    bool found = false;
    if (!s.consume('}')) {
        do {
            if (s.peek() != '"')
                s.fail(QStringLiteral("anahtar bekleniyordu"));
            const QString key = s.readString();
            s.expect(':');
            if (key != QLatin1String("result")) {
                s.skipValue();
                continue;
            }
            if (found)
                throw DecodeError(QStringLiteral("Cevapta 'result' iki kez geçiyor"));
            found = true;
            if (s.peek() != '[')
                throw DecodeError(QStringLiteral("Cevaptaki 'result' dizi değil"));
            s.expect('[');
            if (!s.consume(']')) {
                do {
                    s.peek();
                    const char *begin = s.position();
                    s.skipValue();
                    entries.append(QByteArray(begin, s.position() - begin));
                } while (s.consume(','));
                s.expect(']');
            }
        } while (s.consume(','));
        s.expect('}');
    }
    s.expectEnd();
    if (!found)
        throw DecodeError(QStringLiteral("Cevapta 'result' yok"));
    return entries;
}

QByteArray resultToJsonBytes(const QList<QByteArray> &entries)
{
    qsizetype size = 13;
    for (const QByteArray &e : entries)
        size += e.size() + 1;
    QByteArray out;
    out.reserve(size);
    out.append("{\"result\":[");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i)
            out.append(',');
        out.append(entries[i]);
    }
    out.append("]}");
    return out;
}

} // namespace wire

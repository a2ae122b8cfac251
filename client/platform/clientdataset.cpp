#include "clientdataset.h"

#include "displayformat.h"
#include "exception.h"

#include <table.h>

#include <QHash>
#include <QLocale>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 msPerDay = 86400000;
constexpr qint64 epochJulianDay = 2440588; // 1970-01-01

// Date-times are stored as zone-less milliseconds since 1970-01-01T00:00, as on the wire.
qint64 toStoredDateTime(const QDateTime &dt)
{
    return (dt.date().toJulianDay() - epochJulianDay) * msPerDay + dt.time().msecsSinceStartOfDay();
}

QDateTime fromStoredDateTime(qint64 ms)
{
    qint64 days = ms / msPerDay;
    if (ms % msPerDay < 0)
        --days;
    const qint64 rest = ms - days * msPerDay;
    return QDateTime(QDate::fromJulianDay(days + epochJulianDay), QTime::fromMSecsSinceStartOfDay(int(rest)));
}

enum class Storage { Ints, Reals, Texts, Blobs };

Storage storageOf(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Boolean:
    case TFieldType::Date:
    case TFieldType::DateTime:
        return Storage::Ints;
    case TFieldType::Float:
    case TFieldType::Currency:
    case TFieldType::BCD:
        return Storage::Reals;
    case TFieldType::Blob:
        return Storage::Blobs;
    case TFieldType::String:
        break;
    }
    return Storage::Texts;
}

bool fieldTypeOf(wire::ColumnType type, TFieldType &out)
{
    switch (type) {
    case wire::ColumnType::Int32: out = TFieldType::Integer; return true;
    case wire::ColumnType::Int64: out = TFieldType::LargeInt; return true;
    case wire::ColumnType::Double: out = TFieldType::Float; return true;
    case wire::ColumnType::Currency: out = TFieldType::Currency; return true;
    case wire::ColumnType::String: out = TFieldType::String; return true;
    case wire::ColumnType::Date: out = TFieldType::Date; return true;
    case wire::ColumnType::DateTime: out = TFieldType::DateTime; return true;
    case wire::ColumnType::Boolean: out = TFieldType::Boolean; return true;
    case wire::ColumnType::Binary: out = TFieldType::Blob; return true;
    }
    return false;
}

wire::ColumnType columnTypeOf(TFieldType type)
{
    switch (type) {
    case TFieldType::Integer: return wire::ColumnType::Int32;
    case TFieldType::LargeInt: return wire::ColumnType::Int64;
    case TFieldType::Boolean: return wire::ColumnType::Boolean;
    case TFieldType::Float:
    case TFieldType::BCD: return wire::ColumnType::Double;
    case TFieldType::Currency: return wire::ColumnType::Currency;
    case TFieldType::Date: return wire::ColumnType::Date;
    case TFieldType::DateTime: return wire::ColumnType::DateTime;
    case TFieldType::Blob: return wire::ColumnType::Binary;
    case TFieldType::String: break;
    }
    return wire::ColumnType::String;
}

size_t storageSize(const wire::ColumnData &d, Storage s)
{
    switch (s) {
    case Storage::Ints: return d.ints.size();
    case Storage::Reals: return d.reals.size();
    case Storage::Texts: return d.texts.size();
    case Storage::Blobs: return d.blobs.size();
    }
    return 0;
}

QString plainInteger(qint64 v)
{
    QLocale plain;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(v);
}

QString defaultDateText(const QDate &d)
{
    return QLocale().toString(d, QLocale::ShortFormat);
}

QString defaultDateTimeText(const QDateTime &dt)
{
    if (dt.time() == QTime(0, 0))
        return defaultDateText(dt.date());
    return defaultDateText(dt.date()) + u' ' + dt.time().toString(QStringLiteral("HH:mm:ss"));
}

bool parseNumber(const QString &text, double &out)
{
    const QString t = text.trimmed();
    bool ok = false;
    out = QLocale().toDouble(t, &ok);
    if (!ok)
        out = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(out);
}

} // namespace

// ---------------------------------------------------------------------------------------

struct TClientDataSet::Store {
    std::vector<wire::ColumnData> columns;
    std::vector<TFieldType> types;
    int rows = 0;
};

// ---------------------------------------------------------------------------------------

TField::TField(TClientDataSet *dataSet, const QString &name, TFieldType type, int size, int index)
    : FDataSet(dataSet), FFieldName(name), FDataType(type), FSize(size), FIndex(index)
{
}

TField::~TField() = default;

bool TField::IsNumeric() const
{
    switch (FDataType) {
    case TFieldType::Integer:
    case TFieldType::LargeInt:
    case TFieldType::Float:
    case TFieldType::Currency:
    case TFieldType::BCD:
        return true;
    default:
        return false;
    }
}

const wire::ColumnData &TField::checkedColumn(int record) const
{
    if (record < 0 || record >= FDataSet->RecordCount())
        throw platform::Exception(QStringLiteral("%1: kayıt numarası geçersiz: %2").arg(FFieldName).arg(record + 1));
    return FDataSet->FStore->columns[size_t(FIndex)];
}

bool TField::IsNullAt(int record) const
{
    return checkedColumn(record).nulls[size_t(record)];
}

QVariant TField::ValueAt(int record) const
{
    return FDataSet->storedValue(FIndex, record);
}

qint64 TField::AsLargeIntAt(int record) const
{
    const wire::ColumnData &d = checkedColumn(record);
    if (d.nulls[size_t(record)])
        return 0;
    switch (storageOf(FDataType)) {
    case Storage::Ints: return d.ints[size_t(record)];
    case Storage::Reals: return qint64(std::llround(d.reals[size_t(record)]));
    default: break;
    }
    double v = 0;
    if (!parseNumber(AsStringAt(record), v) || v != std::trunc(v))
        throw platform::ConvertError(QStringLiteral("'%1' geçerli bir tamsayı değil (%2)").arg(AsStringAt(record), FFieldName));
    return qint64(v);
}

double TField::AsFloatAt(int record) const
{
    const wire::ColumnData &d = checkedColumn(record);
    if (d.nulls[size_t(record)])
        return 0;
    switch (storageOf(FDataType)) {
    case Storage::Reals: return d.reals[size_t(record)];
    case Storage::Ints:
        if (FDataType == TFieldType::Date || FDataType == TFieldType::DateTime)
            break;
        return double(d.ints[size_t(record)]);
    default: break;
    }
    double v = 0;
    if (!parseNumber(AsStringAt(record), v))
        throw platform::ConvertError(QStringLiteral("'%1' geçerli bir sayı değil (%2)").arg(AsStringAt(record), FFieldName));
    return v;
}

QString TField::AsStringAt(int record) const
{
    const wire::ColumnData &d = checkedColumn(record);
    const size_t r = size_t(record);
    if (d.nulls[r])
        return {};
    switch (FDataType) {
    case TFieldType::String: return d.texts[r];
    case TFieldType::Integer:
    case TFieldType::LargeInt: return plainInteger(d.ints[r]);
    case TFieldType::Boolean: return d.ints[r] ? QStringLiteral("True") : QStringLiteral("False");
    case TFieldType::Float:
    case TFieldType::Currency:
    case TFieldType::BCD: return platform::FormatFloat(QString(), d.reals[r]);
    case TFieldType::Date: return defaultDateText(QDate::fromJulianDay(d.ints[r]));
    case TFieldType::DateTime: return defaultDateTimeText(fromStoredDateTime(d.ints[r]));
    case TFieldType::Blob: return QString::fromUtf8(d.blobs[r]);
    }
    return {};
}

QByteArray TField::AsBytesAt(int record) const
{
    const wire::ColumnData &d = checkedColumn(record);
    if (d.nulls[size_t(record)])
        return {};
    if (FDataType == TFieldType::Blob)
        return d.blobs[size_t(record)];
    return AsStringAt(record).toUtf8();
}

QString TField::DisplayTextAt(int record) const
{
    if (IsNullAt(record))
        return {};
    return FormatValue(FDataSet->storedValue(FIndex, record));
}

QString TField::FormatValue(const QVariant &value) const
{
    switch (FDataType) {
    case TFieldType::Boolean: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TFieldType::Blob: return QString::fromUtf8(value.toByteArray());
    default: return value.toString();
    }
}

QString TNumericField::FormatValue(const QVariant &value) const
{
    if (!DisplayFormat().isEmpty())
        return platform::FormatFloat(DisplayFormat(), value.toDouble());
    if (DataType() == TFieldType::Integer || DataType() == TFieldType::LargeInt)
        return plainInteger(value.toLongLong());
    return platform::FormatFloat(QString(), value.toDouble());
}

QString TCurrencyField::FormatValue(const QVariant &value) const
{
    return platform::FormatFloat(DisplayFormat().isEmpty() ? QStringLiteral("#,##0.00") : DisplayFormat(),
                                 value.toDouble());
}

QString TDateTimeField::FormatValue(const QVariant &value) const
{
    const QDateTime dt = value.toDateTime();
    if (!DisplayFormat().isEmpty())
        return QLocale().toString(dt, DisplayFormat());
    if (DataType() == TFieldType::Date)
        return defaultDateText(dt.date());
    return defaultDateTimeText(dt);
}

// Current-record forms: the edit buffer while editing, the stored record otherwise.
bool TField::IsNull() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex))
        return !b->isValid();
    return IsNullAt(FDataSet->FRecord);
}

QVariant TField::Value() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex))
        return *b;
    return ValueAt(FDataSet->FRecord);
}

int TField::AsInteger() const
{
    const qint64 v = AsLargeInt();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw platform::ConvertError(QStringLiteral("%1 alanının değeri 32 bitlik tamsayıya sığmıyor").arg(FFieldName));
    return int(v);
}

qint64 TField::AsLargeInt() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex)) {
        if (!b->isValid())
            return 0;
        if (storageOf(FDataType) == Storage::Reals)
            return qint64(std::llround(b->toDouble()));
        if (storageOf(FDataType) == Storage::Ints && FDataType != TFieldType::Date && FDataType != TFieldType::DateTime)
            return b->toLongLong();
        double v = 0;
        if (!parseNumber(b->toString(), v) || v != std::trunc(v))
            throw platform::ConvertError(QStringLiteral("'%1' geçerli bir tamsayı değil (%2)").arg(b->toString(), FFieldName));
        return qint64(v);
    }
    return AsLargeIntAt(FDataSet->FRecord);
}

double TField::AsFloat() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex)) {
        if (!b->isValid())
            return 0;
        if (IsNumeric() || FDataType == TFieldType::Boolean)
            return b->toDouble();
        double v = 0;
        if (!parseNumber(b->toString(), v))
            throw platform::ConvertError(QStringLiteral("'%1' geçerli bir sayı değil (%2)").arg(b->toString(), FFieldName));
        return v;
    }
    return AsFloatAt(FDataSet->FRecord);
}

QString TField::AsString() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex)) {
        if (!b->isValid())
            return {};
        switch (FDataType) {
        case TFieldType::Float:
        case TFieldType::Currency:
        case TFieldType::BCD: return platform::FormatFloat(QString(), b->toDouble());
        case TFieldType::Integer:
        case TFieldType::LargeInt: return plainInteger(b->toLongLong());
        case TFieldType::Date: return defaultDateText(b->toDate());
        case TFieldType::DateTime: return defaultDateTimeText(b->toDateTime());
        case TFieldType::Blob: return QString::fromUtf8(b->toByteArray());
        default: return FormatValue(*b);
        }
    }
    return AsStringAt(FDataSet->FRecord);
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return {};
    if (FDataType == TFieldType::Date || FDataType == TFieldType::DateTime)
        return v.toDateTime();
    const QString text = v.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QLocale().toDateTime(text, QLocale::ShortFormat);
    if (!dt.isValid()) {
        const QDate d = QLocale().toDate(text, QLocale::ShortFormat);
        if (d.isValid())
            dt = QDateTime(d, QTime(0, 0));
    }
    if (!dt.isValid())
        throw platform::ConvertError(QStringLiteral("'%1' geçerli bir tarih değil (%2)").arg(text, FFieldName));
    return dt;
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (!v.isValid())
        return false;
    if (FDataType == TFieldType::String) {
        const QString t = v.toString().trimmed().toUpper();
        if (t == u"TRUE" || t == u"T" || t == u"1" || t == u"EVET")
            return true;
        if (t == u"FALSE" || t == u"F" || t == u"0" || t == u"HAYIR" || t.isEmpty())
            return false;
        throw platform::ConvertError(QStringLiteral("'%1' geçerli bir mantıksal değer değil (%2)").arg(v.toString(), FFieldName));
    }
    if (storageOf(FDataType) == Storage::Reals)
        return v.toDouble() != 0;
    return v.toLongLong() != 0;
}

QByteArray TField::AsBytes() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex))
        return FDataType == TFieldType::Blob ? b->toByteArray() : AsString().toUtf8();
    return AsBytesAt(FDataSet->FRecord);
}

QString TField::DisplayText() const
{
    if (const QVariant *b = FDataSet->bufferedValue(FIndex))
        return b->isValid() ? FormatValue(*b) : QString();
    return DisplayTextAt(FDataSet->FRecord);
}

QVariant TField::Converted(const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    const auto fail = [&](const char *what) {
        return platform::ConvertError(QStringLiteral("'%1' %2 (%3)").arg(v.toString(), QString::fromUtf8(what), FFieldName));
    };
    const bool isText = v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
    switch (FDataType) {
    case TFieldType::String:
        return v.toString();
    case TFieldType::Blob:
        return v.toByteArray();
    case TFieldType::Integer:
    case TFieldType::LargeInt: {
        double d = 0;
        if (isText) {
            if (!parseNumber(v.toString(), d) || d != std::trunc(d))
                throw fail("geçerli bir tamsayı değil");
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                throw fail("geçerli bir tamsayı değil");
            d = std::round(d);
        }
        if (FDataType == TFieldType::Integer && (d < std::numeric_limits<int>::min() || d > std::numeric_limits<int>::max()))
            throw fail("32 bitlik tamsayıya sığmıyor");
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            return v.toLongLong(); // exact, even beyond a double's 53 bits
        return qint64(d);
    }
    case TFieldType::Float:
    case TFieldType::Currency:
    case TFieldType::BCD: {
        double d = 0;
        bool ok = false;
        if (isText)
            ok = parseNumber(v.toString(), d);
        else
            d = v.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw fail("geçerli bir sayı değil");
        return d;
    }
    case TFieldType::Boolean: {
        if (isText) {
            const QString t = v.toString().trimmed().toUpper();
            if (t == u"TRUE" || t == u"1" || t == u"EVET")
                return true;
            if (t == u"FALSE" || t == u"0" || t == u"HAYIR")
                return false;
            throw fail("geçerli bir mantıksal değer değil");
        }
        return v.toBool();
    }
    case TFieldType::Date:
    case TFieldType::DateTime: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QDate)
            dt = QDateTime(v.toDate(), QTime(0, 0));
        else if (v.typeId() == QMetaType::QDateTime)
            dt = v.toDateTime();
        else if (isText) {
            const QString text = v.toString().trimmed();
            dt = QDateTime::fromString(text, Qt::ISODateWithMs);
            if (!dt.isValid()) {
                const QDate d = QDate::fromString(text, Qt::ISODate);
                dt = d.isValid() ? QDateTime(d, QTime(0, 0)) : QLocale().toDateTime(text, QLocale::ShortFormat);
            }
            if (!dt.isValid()) {
                const QDate d = QLocale().toDate(text, QLocale::ShortFormat);
                if (d.isValid())
                    dt = QDateTime(d, QTime(0, 0));
            }
        }
        if (!dt.isValid())
            throw fail("geçerli bir tarih değil");
        if (FDataType == TFieldType::Date)
            dt.setTime(QTime(0, 0));
        return dt;
    }
    }
    return {};
}

void TField::SetValue(const QVariant &v)
{
    FDataSet->writeBuffer(FIndex, Converted(v));
}

// ---------------------------------------------------------------------------------------

TClientDataSet::TClientDataSet(QObject *parent) : QObject(parent), FStore(std::make_unique<Store>()) {}

TClientDataSet::~TClientDataSet() = default;

TField *TClientDataSet::AddField(const QString &name, TFieldType type, int size)
{
    if (Active())
        throw platform::Exception(QStringLiteral("%1: açık veri kümesine alan eklenemez").arg(name));
    if (FindField(name))
        throw platform::Exception(QStringLiteral("%1 alanı zaten var").arg(name));
    wire::ColumnData column;
    column.info.name = name;
    column.info.type = columnTypeOf(type);
    column.info.size = size;
    FStore->columns.push_back(std::move(column));
    FStore->types.push_back(type);
    FStore->rows = 0;
    for (auto &c : FStore->columns) {
        c.ints.clear(), c.reals.clear(), c.texts.clear(), c.blobs.clear(), c.nulls.clear();
    }
    rebuildFields();
    return FFields.back().get();
}

void TClientDataSet::CreateDataSet()
{
    if (Active())
        Close();
    FState = TDataSetState::Browse;
    resetCursor();
    notifyDataSet();
}

namespace {

// Checks a table against what the dataset can hold; returns the field types or throws.
std::vector<TFieldType> validateTable(const wire::Table &table)
{
    std::vector<TFieldType> types;
    types.reserve(size_t(table.columnCount()));
    const size_t rows = size_t(table.rowCount());
    for (int c = 0; c < table.columnCount(); ++c) {
        const wire::ColumnData &d = table.columnData(c);
        TFieldType type;
        if (!fieldTypeOf(d.info.type, type))
            throw platform::Exception(QStringLiteral("%1 sütununun türü (%2) desteklenmiyor")
                                          .arg(d.info.name)
                                          .arg(int(d.info.type)));
        if (d.nulls.size() != rows || storageSize(d, storageOf(type)) != rows)
            throw platform::Exception(QStringLiteral("%1 sütununun satır sayısı tabloyla uyuşmuyor").arg(d.info.name));
        if (type == TFieldType::Integer) {
            for (size_t r = 0; r < rows; ++r) {
                const qint64 v = d.ints[r];
                if (!d.nulls[r] && (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max()))
                    throw platform::Exception(
                        QStringLiteral("%1 sütununda 32 bitlik tamsayıya sığmayan değer: %2").arg(d.info.name).arg(v));
            }
        } else if (type == TFieldType::Date || type == TFieldType::DateTime) {
            for (size_t r = 0; r < rows; ++r) {
                if (d.nulls[r])
                    continue;
                // Day arithmetic only: building a local QDateTime per row would cost more
                // than the whole rest of the load.
                qint64 day = d.ints[r];
                if (type == TFieldType::DateTime)
                    day = day / msPerDay - (day % msPerDay < 0 ? 1 : 0) + epochJulianDay;
                const bool ok = QDate::fromJulianDay(day).isValid();
                if (!ok)
                    throw platform::Exception(QStringLiteral("%1 sütununda geçersiz tarih").arg(d.info.name));
            }
        }
        types.push_back(type);
    }
    return types;
}

// Packets may repeat a column name (joins); later copies get "_1", "_2", ... so every field
// stays reachable by name.
void uniqueNames(std::vector<wire::ColumnData> &columns)
{
    QHash<QString, int> seen;
    for (auto &c : columns) {
        QString name = c.info.name;
        for (int n = 1; seen.contains(name.toUpper()); ++n)
            name = c.info.name + u'_' + QString::number(n);
        seen.insert(name.toUpper(), 1);
        c.info.name = name;
    }
}

} // namespace

void TClientDataSet::LoadFromTable(wire::Table &&table)
{
    auto store = std::make_unique<Store>();
    store->types = validateTable(table);
    store->rows = table.rowCount();
    store->columns.reserve(size_t(table.columnCount()));
    for (int c = 0; c < table.columnCount(); ++c)
        store->columns.push_back(std::move(table.columnData(c)));
    table = wire::Table();
    uniqueNames(store->columns);
    replaceContent(std::move(store));
}

void TClientDataSet::LoadFromTable(const wire::Table &table)
{
    auto store = std::make_unique<Store>();
    store->types = validateTable(table);
    store->rows = table.rowCount();
    for (int c = 0; c < table.columnCount(); ++c)
        store->columns.push_back(table.columnData(c));
    uniqueNames(store->columns);
    replaceContent(std::move(store));
}

void TClientDataSet::CopyFromReader(const wire::Table &reader)
{
    LoadFromTable(reader);
}

wire::Table TClientDataSet::ToTable() const
{
    wire::Table table;
    std::vector<wire::ColumnData> columns = FStore->columns;
    table.adoptColumns(std::move(columns), Active() ? FStore->rows : 0);
    return table;
}

void TClientDataSet::replaceContent(std::unique_ptr<Store> store)
{
    FBuffer.clear();
    FStore = std::move(store);
    rebuildFields();
    FState = TDataSetState::Browse;
    resetCursor();
    notifyDataSet();
}

void TClientDataSet::rebuildFields()
{
    FFields.clear();
    FFields.reserve(FStore->columns.size());
    for (size_t i = 0; i < FStore->columns.size(); ++i) {
        const wire::ColumnInfo &info = FStore->columns[i].info;
        const TFieldType type = FStore->types[i];
        const int index = int(i);
        std::unique_ptr<TField> f;
        switch (type) {
        case TFieldType::String: f.reset(new TStringField(this, info.name, type, info.size, index)); break;
        case TFieldType::Integer: f.reset(new TIntegerField(this, info.name, type, info.size, index)); break;
        case TFieldType::LargeInt: f.reset(new TLargeintField(this, info.name, type, info.size, index)); break;
        case TFieldType::Boolean: f.reset(new TBooleanField(this, info.name, type, info.size, index)); break;
        case TFieldType::Float: f.reset(new TFloatField(this, info.name, type, info.size, index)); break;
        case TFieldType::Currency: f.reset(new TCurrencyField(this, info.name, type, info.size, index)); break;
        case TFieldType::BCD: f.reset(new TBCDField(this, info.name, type, info.size, index)); break;
        case TFieldType::Date: f.reset(new TDateField(this, info.name, type, info.size, index)); break;
        case TFieldType::DateTime: f.reset(new TDateTimeField(this, info.name, type, info.size, index)); break;
        case TFieldType::Blob: f.reset(new TBlobField(this, info.name, type, info.size, index)); break;
        }
        FFields.push_back(std::move(f));
    }
}

void TClientDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (active)
        CreateDataSet();
    else
        Close();
}

void TClientDataSet::Close()
{
    if (!Active())
        return;
    FBuffer.clear();
    for (auto &c : FStore->columns)
        c.ints.clear(), c.reals.clear(), c.texts.clear(), c.blobs.clear(), c.nulls.clear();
    FStore->rows = 0;
    FState = TDataSetState::Inactive;
    resetCursor();
    notifyDataSet();
}

void TClientDataSet::EmptyDataSet()
{
    requireActive();
    FBuffer.clear();
    for (auto &c : FStore->columns)
        c.ints.clear(), c.reals.clear(), c.texts.clear(), c.blobs.clear(), c.nulls.clear();
    FStore->rows = 0;
    FState = TDataSetState::Browse;
    resetCursor();
    notifyDataSet();
}

int TClientDataSet::RecordCount() const
{
    return Active() ? FStore->rows : 0;
}

TField *TClientDataSet::Fields(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw platform::Exception(QStringLiteral("Alan sırası geçersiz: %1").arg(index));
    return FFields[size_t(index)].get();
}

TField *TClientDataSet::FindField(const QString &name) const
{
    for (const auto &f : FFields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField *TClientDataSet::FieldByName(const QString &name) const
{
    if (TField *f = FindField(name))
        return f;
    throw platform::Exception(QStringLiteral("%1: alan bulunamadı").arg(name));
}

QStringList TClientDataSet::FieldNames() const
{
    QStringList names;
    for (const auto &f : FFields)
        names << f->FieldName();
    return names;
}

void TClientDataSet::requireActive() const
{
    if (!Active())
        throw platform::Exception(QStringLiteral("Veri kümesi kapalı"));
}

void TClientDataSet::resetCursor()
{
    FRecord = RecordCount() > 0 ? 0 : -1;
    FBof = true;
    FEof = RecordCount() == 0;
}

void TClientDataSet::First()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        Post();
    resetCursor();
}

void TClientDataSet::Last()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        Post();
    FRecord = RecordCount() - 1;
    FEof = true;
    FBof = RecordCount() == 0;
}

void TClientDataSet::Next()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        Post();
    FBof = false;
    if (FRecord + 1 < RecordCount())
        ++FRecord;
    else
        FEof = true;
}

void TClientDataSet::Prior()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        Post();
    FEof = false;
    if (FRecord > 0)
        --FRecord;
    else
        FBof = true;
}

void TClientDataSet::SetRecNo(int recNo)
{
    requireActive();
    if (recNo < 1 || recNo > RecordCount())
        throw platform::Exception(QStringLiteral("Kayıt numarası geçersiz: %1").arg(recNo));
    if (FState != TDataSetState::Browse)
        Post();
    FRecord = recNo - 1;
    FBof = FEof = false;
}

bool TClientDataSet::Locate(const QString &fieldName, const QVariant &value, TLocateOptions options)
{
    requireActive();
    TField *f = FieldByName(fieldName);
    if (FState != TDataSetState::Browse)
        Post();
    const int n = RecordCount();
    const bool wantNull = !value.isValid() || value.isNull();
    const Qt::CaseSensitivity cs = options.testFlag(TLocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const bool partial = options.testFlag(TLocateOption::PartialKey);

    // Numbers compare as numbers ("42" finds 42.0); everything else compares as text.
    bool numeric = false;
    double wanted = 0;
    if (!wantNull && f->IsNumeric()) {
        const bool isText = value.typeId() == QMetaType::QString;
        numeric = isText ? parseNumber(value.toString(), wanted) : (wanted = value.toDouble(), value.canConvert<double>());
    }
    QString wantedText;
    if (!wantNull && !numeric) {
        if (f->DataType() == TFieldType::Date || f->DataType() == TFieldType::DateTime) {
            try {
                const QVariant c = f->Converted(value);
                wantedText = f->FormatValue(c);
            } catch (const platform::ConvertError &) {
                return false;
            }
        } else {
            wantedText = value.toString();
        }
    }
    const bool isDate = f->DataType() == TFieldType::Date || f->DataType() == TFieldType::DateTime;
    for (int r = 0; r < n; ++r) {
        const bool isNull = f->IsNullAt(r);
        bool match;
        if (wantNull)
            match = isNull;
        else if (isNull)
            match = false;
        else if (numeric)
            match = f->AsFloatAt(r) == wanted;
        else {
            const QString text = isDate ? f->FormatValue(storedValue(f->Index(), r)) : f->AsStringAt(r);
            match = partial ? text.startsWith(wantedText, cs) : text.compare(wantedText, cs) == 0;
        }
        if (match) {
            FRecord = r;
            FBof = FEof = false;
            return true;
        }
    }
    return false;
}

QVariant TClientDataSet::storedValue(int field, int record) const
{
    const wire::ColumnData &d = FFields[size_t(field)]->checkedColumn(record);
    const size_t r = size_t(record);
    if (d.nulls[r])
        return {};
    switch (FStore->types[size_t(field)]) {
    case TFieldType::String: return d.texts[r];
    case TFieldType::Integer: return int(d.ints[r]);
    case TFieldType::LargeInt: return d.ints[r];
    case TFieldType::Boolean: return d.ints[r] != 0;
    case TFieldType::Float:
    case TFieldType::Currency:
    case TFieldType::BCD: return d.reals[r];
    case TFieldType::Date: return QDateTime(QDate::fromJulianDay(d.ints[r]), QTime(0, 0));
    case TFieldType::DateTime: return fromStoredDateTime(d.ints[r]);
    case TFieldType::Blob: return d.blobs[r];
    }
    return {};
}

const QVariant *TClientDataSet::bufferedValue(int field) const
{
    if (FState == TDataSetState::Edit || FState == TDataSetState::Insert)
        return &FBuffer[size_t(field)];
    requireActive();
    // No current record reads as null, as on an empty dataset.
    static const QVariant none;
    return FRecord < 0 ? &none : nullptr;
}

void TClientDataSet::writeBuffer(int field, const QVariant &value)
{
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert)
        throw platform::Exception(QStringLiteral("Veri kümesi düzenleme durumunda değil"));
    FBuffer[size_t(field)] = value;
}

void TClientDataSet::Edit()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        return;
    if (FRecord < 0)
        throw platform::Exception(QStringLiteral("Veri kümesinde düzenlenecek kayıt yok"));
    FBuffer.assign(FFields.size(), QVariant());
    for (size_t i = 0; i < FFields.size(); ++i)
        FBuffer[i] = storedValue(int(i), FRecord);
    FState = TDataSetState::Edit;
}

void TClientDataSet::Append()
{
    requireActive();
    if (FState != TDataSetState::Browse)
        Post();
    FBuffer.assign(FFields.size(), QVariant());
    FState = TDataSetState::Insert;
}

void TClientDataSet::Post()
{
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert)
        return;
    const bool inserting = FState == TDataSetState::Insert;
    Store &s = *FStore;
    if (inserting) {
        for (size_t c = 0; c < s.columns.size(); ++c) {
            wire::ColumnData &d = s.columns[c];
            switch (storageOf(s.types[c])) {
            case Storage::Ints: d.ints.push_back(0); break;
            case Storage::Reals: d.reals.push_back(0); break;
            case Storage::Texts: d.texts.emplace_back(); break;
            case Storage::Blobs: d.blobs.emplace_back(); break;
            }
            d.nulls.push_back(true);
        }
        FRecord = s.rows++;
    }
    const size_t r = size_t(FRecord);
    for (size_t c = 0; c < s.columns.size(); ++c) {
        wire::ColumnData &d = s.columns[c];
        const QVariant &v = FBuffer[c];
        const bool isNull = !v.isValid();
        d.nulls[r] = isNull;
        const TFieldType type = s.types[c];
        switch (storageOf(type)) {
        case Storage::Ints:
            if (type == TFieldType::Date)
                d.ints[r] = isNull ? 0 : v.toDateTime().date().toJulianDay();
            else if (type == TFieldType::DateTime)
                d.ints[r] = isNull ? 0 : toStoredDateTime(v.toDateTime());
            else
                d.ints[r] = isNull ? 0 : v.toLongLong();
            break;
        case Storage::Reals: d.reals[r] = isNull ? 0 : v.toDouble(); break;
        case Storage::Texts: d.texts[r] = v.toString(); break;
        case Storage::Blobs: d.blobs[r] = v.toByteArray(); break;
        }
    }
    FBuffer.clear();
    FState = TDataSetState::Browse;
    FBof = FEof = false;
    if (inserting)
        notifyDataSet();
    else
        notifyRecord(FRecord);
}

void TClientDataSet::Cancel()
{
    if (FState != TDataSetState::Edit && FState != TDataSetState::Insert)
        return;
    FBuffer.clear();
    FState = TDataSetState::Browse;
}

void TClientDataSet::Delete()
{
    requireActive();
    if (FState == TDataSetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (FRecord < 0)
        throw platform::Exception(QStringLiteral("Veri kümesinde silinecek kayıt yok"));
    const size_t r = size_t(FRecord);
    for (auto &d : FStore->columns) {
        if (r < d.ints.size()) d.ints.erase(d.ints.begin() + qsizetype(r));
        if (r < d.reals.size()) d.reals.erase(d.reals.begin() + qsizetype(r));
        if (r < d.texts.size()) d.texts.erase(d.texts.begin() + qsizetype(r));
        if (r < d.blobs.size()) d.blobs.erase(d.blobs.begin() + qsizetype(r));
        d.nulls.erase(d.nulls.begin() + qsizetype(r));
    }
    --FStore->rows;
    if (FRecord >= FStore->rows)
        FRecord = FStore->rows - 1;
    FEof = FStore->rows == 0;
    FBof = FStore->rows == 0;
    notifyDataSet();
}

void TClientDataSet::DisableControls()
{
    ++FDisableCount;
}

void TClientDataSet::EnableControls()
{
    if (FDisableCount == 0)
        return;
    if (--FDisableCount == 0)
        Q_EMIT DataSetChanged();
}

void TClientDataSet::notifyDataSet()
{
    if (FDisableCount == 0)
        Q_EMIT DataSetChanged();
}

void TClientDataSet::notifyRecord(int record)
{
    if (FDisableCount == 0)
        Q_EMIT RecordChanged(record);
}

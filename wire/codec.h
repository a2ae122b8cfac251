#pragma once
// JSON forms of records, tables and streams (see PROTOCOL.md). Decoding is strict:
// every malformed input raises wire::DecodeError and never yields a half-filled value.
// Messages are Turkish and name what was wrong; a caller that shows one to the user
// puts its own context in front ("Sunucu cevabı çözülemedi: " + message()).
#include "record.h"
#include "table.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <memory>
#include <stdexcept>

namespace wire {

class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const QString &message);
    QString message() const;
};

// Records. Writing a null record gives QJsonValue::Null. ids number the objects of one
// value from 1 in the order they are written.
QJsonValue recordToJson(const Record *record);
// The same record as compact UTF-8 with the fields in declared order ("type", "id",
// "fields" first to last); QJsonObject sorts its keys, so use this for the wire.
QByteArray recordToJsonBytes(const Record *record);
// Fills `target` from `value`; on error `target` is left as it was.
void recordFromJson(const QJsonValue &value, Record &target);

// Null gives an empty pointer; anything else must be a valid record of type T.
template <class T>
std::unique_ptr<T> decodeRecord(const QJsonValue &value)
{
    if (value.isNull())
        return {};
    auto record = std::make_unique<T>();
    recordFromJson(value, *record);
    return record;
}

// Tables. The object form cannot carry -0.0 (QJsonValue keeps integral doubles as integers);
// the text form keeps it.
QJsonObject tableToJson(const Table &table);
QByteArray tableToJsonBytes(const Table &table);  // compact UTF-8, fast path for large tables
Table tableFromJson(const QJsonValue &value);
Table tableFromJsonBytes(const QByteArray &json); // whole document is the table object

// Streams: JSON array of byte values 0-255.
QJsonArray streamToJson(const QByteArray &bytes);
QByteArray streamFromJson(const QJsonValue &value);

// Streams from the raw JSON text of the array, without building a QJsonArray first.
QByteArray streamFromJsonBytes(const QByteArray &json);

// A new, default-constructed record of one of the wire's record types by its
// unit-qualified name ("baglantiu.TSonucBilgisi"), or an empty pointer.
std::unique_ptr<Record> createRecord(const QString &typeName);

// Whole-document helpers.
QJsonObject parseObject(const QByteArray &json); // DecodeError unless a JSON object
// Any JSON value, scalars included (QJsonDocument alone takes only objects and arrays).
QJsonValue valueFromJsonBytes(const QByteArray &json);
// Compact UTF-8 text of any JSON value.
QByteArray valueToJsonBytes(const QJsonValue &value);

// Answers of remote calls. A call answers {"result":[v0, v1, ...]}; the entries may be
// large tables, so the answer is split once into the raw JSON text of each entry, checked
// for syntax, and each entry is then decoded by what the caller expects of it:
//   tableFromJsonBytes(entry)  - data packet or reader, straight into typed storage
//   streamFromJsonBytes(entry) - stream
//   valueFromJsonBytes(entry)  - scalars and records (then recordFromJson / decodeRecord)
// DecodeError when the answer is not such an object or "result" is missing or not an array.
// Keys other than "result" are ignored.
QList<QByteArray> splitResultArray(const QByteArray &answer);
// Builds {"result":[...]} from entries that are already JSON text (recordToJsonBytes,
// tableToJsonBytes, valueToJsonBytes), keeping each entry's bytes as they are.
QByteArray resultToJsonBytes(const QList<QByteArray> &entries);

} // namespace wire

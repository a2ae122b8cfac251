#pragma once
// JSON forms of records, tables and streams (see PROTOCOL.md). Decoding is strict:
// every malformed input raises wire::DecodeError and never yields a half-filled value.
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

// Tables.
QJsonObject tableToJson(const Table &table);
QByteArray tableToJsonBytes(const Table &table);  // compact UTF-8, fast path for large tables
Table tableFromJson(const QJsonValue &value);
Table tableFromJsonBytes(const QByteArray &json); // whole document is the table object

// Streams: JSON array of byte values 0-255.
QJsonArray streamToJson(const QByteArray &bytes);
QByteArray streamFromJson(const QJsonValue &value);

// Whole-document helpers.
QJsonObject parseObject(const QByteArray &json); // DecodeError unless a JSON object

} // namespace wire

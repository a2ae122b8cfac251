#pragma once
// A server-method command: command type "DataSnap.ServerMethod", text
// "<Class>.<Method>". Parameters are addressed by ordinal: the inputs first (0..n-1,
// in declaration order), then after execution the out values and the return value.
// The command owns every record, table and stream it hands out until its next
// execution or its release.
#include <QByteArray>
#include <QJsonValue>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class QBuffer;

namespace wire {
class Record;
class Table;
} // namespace wire

namespace platform {

class TSQLConnection;

class TDBXParameter {
public:
    TDBXParameter();
    ~TDBXParameter();
    TDBXParameter(const TDBXParameter &) = delete;
    TDBXParameter &operator=(const TDBXParameter &) = delete;

    // Inputs. A non-finite double is refused: JSON cannot carry it.
    void SetInt32(qint32 value);
    void SetDouble(double value);
    void SetWideString(const QString &value);
    void SetNull();
    // The record's JSON form, or null for nullptr. The record is not kept.
    void SetRecord(const wire::Record *record);
    void SetJSONValue(const QJsonValue &value);

    // Values. Each throws platform::Exception when the value has another kind.
    bool IsNull() const;
    qint32 GetInt32() const;
    qint64 GetInt64() const;
    double GetDouble() const;
    bool GetBoolean() const;
    QString GetWideString() const;
    QJsonValue GetJSONValue() const;
    // A data packet or reader; a null value gives an empty table. Owned by the command.
    const wire::Table *GetTable();
    // A stream, opened read-only at position 0; null gives an empty stream. Owned by the command.
    QBuffer *GetStream();
    // The record of type T, or nullptr for a null value. Owned by the command.
    template <class T> T *GetRecord() { return static_cast<T *>(adoptRecord(std::make_unique<T>())); }

private:
    friend class TDBXCommand;
    enum class State { Unassigned, Input, Result };
    wire::Record *adoptRecord(std::unique_ptr<wire::Record> blank);
    void requireValue() const;
    void releaseOwned();
    void clear();

    const QJsonValue &scalar() const;

    State m_state = State::Unassigned;
    QByteArray m_json;           // the value's JSON text, as sent or received
    mutable QJsonValue m_scalar; // m_json parsed, on first use
    mutable bool m_scalarParsed = false;
    int m_ordinal = 0;
    std::unique_ptr<wire::Table> m_table;
    std::unique_ptr<QBuffer> m_stream;
    std::unique_ptr<wire::Record> m_record;
};

class TDBXCommand {
public:
    explicit TDBXCommand(TSQLConnection *connection);
    ~TDBXCommand();
    TDBXCommand(const TDBXCommand &) = delete;
    TDBXCommand &operator=(const TDBXCommand &) = delete;

    QString CommandType() const { return m_commandType; }
    void SetCommandType(const QString &type);
    QString Text() const { return m_text; }
    void SetText(const QString &text);

    // Checks the command type and text; executing prepares when needed.
    void Prepare();
    bool Prepared() const { return m_prepared; }

    // The parameter at `ordinal`; the list grows as needed. The reference stays valid
    // for the command's life (its value changes with each execution).
    TDBXParameter &Parameter(int ordinal);
    // Inputs plus, after an execution, the values it returned.
    int ParameterCount() const;

    // Sends the inputs, waits for the server and fills the out values and the return
    // value. Releases what the previous execution handed out first.
    void ExecuteUpdate();

private:
    QPointer<TSQLConnection> m_connection;
    QString m_commandType;
    QString m_text;
    QString m_className;
    QString m_method;
    bool m_prepared = false;
    std::vector<std::unique_ptr<TDBXParameter>> m_params;
};

} // namespace platform

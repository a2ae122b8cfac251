#pragma once
// Dispatch of remote calls: method name -> handler, with the parameter kinds taken from the
// shared method catalogue (wire/methods.h). A request is decoded and checked against the
// catalogue before any handler runs; the handler gets typed inputs and fills typed outputs.
//
// Writing a handler:
//
//     void sepetVer2(methods::Call &call, methods::Reply &reply)
//     {
//         const int carino = call.integer(0);           // inputs by ordinal
//         wire::Table table = ...;                       // read from call.store()
//         reply.setResult(methods::Value::table(std::move(table)));
//     }
//
// - Inputs come in declaration order: integer(i), real(i), text(i), record<T>(i) (nullptr
//   for a null record).
// - Out parameters are set with reply.setOut(i, value) (i counts the out parameters from
//   0), the return value with reply.setResult(value). Every out parameter and the result
//   (when the method has one) must be set, with the kind the catalogue gives; a mismatch
//   is a server fault (500).
// - A handler fails by throwing: MethodError (or any std::exception) becomes HTTP 500
//   with {"error": message}. Write the message in Turkish for the user.
// - Writes go through call.store().write(...), one transaction per call.
#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "methods.h"

namespace store {
class Store;
}
namespace wire {
class Record;
class Table;
}

namespace methods {

class MethodError : public std::runtime_error {
public:
    explicit MethodError(const QString &message);
    QString message() const;
};

// One value of a call: an input, an out parameter or a result.
class Value {
public:
    Value() = default;
    static Value integer(qint32 v);
    static Value int64(qint64 v);
    static Value real(double v);
    static Value text(const QString &v);
    static Value boolean(bool v);
    static Value record(wire::ValueKind kind, std::shared_ptr<wire::Record> v);  // null pointer: JSON null
    static Value table(wire::Table &&v, wire::ValueKind kind = wire::ValueKind::DataPacket);
    static Value reader(wire::Table &&v) { return table(std::move(v), wire::ValueKind::Reader); }
    static Value stream(const QByteArray &bytes);

    wire::ValueKind kind() const { return m_kind; }
    qint64 integerValue() const { return m_int; }
    double realValue() const { return m_real; }
    const QString &textValue() const { return m_text; }
    bool booleanValue() const { return m_int != 0; }
    const wire::Record *recordValue() const { return m_record.get(); }
    const wire::Table *tableValue() const { return m_table.get(); }
    const QByteArray &bytesValue() const { return m_bytes; }

    // JSON text of the value as the protocol writes it.
    QByteArray toJson() const;

private:
    wire::ValueKind m_kind = wire::ValueKind::None;
    qint64 m_int = 0;
    double m_real = 0;
    QString m_text;
    QByteArray m_bytes;
    std::shared_ptr<wire::Record> m_record;
    std::shared_ptr<wire::Table> m_table;
};

// Settings of the running server that handlers may read.
struct ServerSettings {
    int clientVersion = 2;  // version delivered in the session record (Version)
};

class Call {
public:
    Call(const wire::MethodInfo &info, store::Store &store, const ServerSettings &settings, std::vector<Value> &&in);

    const wire::MethodInfo &info() const { return m_info; }
    store::Store &store() const { return m_store; }
    const ServerSettings &settings() const { return m_settings; }

    qint32 integer(int i) const { return qint32(m_in.at(size_t(i)).integerValue()); }
    double real(int i) const { return m_in.at(size_t(i)).realValue(); }
    const QString &text(int i) const { return m_in.at(size_t(i)).textValue(); }
    const wire::Record *recordAt(int i) const { return m_in.at(size_t(i)).recordValue(); }
    template <class T>
    const T *record(int i) const { return dynamic_cast<const T *>(recordAt(i)); }

private:
    const wire::MethodInfo &m_info;
    store::Store &m_store;
    const ServerSettings &m_settings;
    std::vector<Value> m_in;
};

class Reply {
public:
    explicit Reply(const wire::MethodInfo &info);
    void setOut(int i, Value value);
    void setResult(Value value);

    // The out values then the result, checked against the catalogue. Throws MethodError
    // when the handler left one unset or of the wrong kind.
    std::vector<const Value *> values() const;
    const Value *out(int i) const;
    const Value *result() const { return m_hasResult ? &m_result : nullptr; }

private:
    const wire::MethodInfo &m_info;
    std::vector<Value> m_out;
    std::vector<bool> m_outSet;
    Value m_result;
    bool m_hasResult = false;
};

using Handler = std::function<void(Call &, Reply &)>;

class MethodTable {
public:
    // Registers the handler of a catalogue method; throws std::logic_error for a name the
    // catalogue does not know or a method registered twice.
    void add(const QString &name, Handler handler);
    // Puts `handler` in place of the registered one (fault injection wraps handlers).
    void replace(const QString &name, Handler handler);
    const Handler *find(const QString &name) const;
    QStringList names() const;

private:
    QHash<QString, Handler> m_handlers;
};

// Every method group of the server registered into one table.
void registerAllMethods(MethodTable &table);

// The outcome of one remote call, ready to be sent.
struct CallResult {
    int status = 200;
    QByteArray body;  // JSON
};

// Decodes `body` for `method`, runs the handler and encodes the answer (or the error).
// `beforeHandler` (optional) runs after the request has been accepted and before the
// handler; a throw from it fails the call like a handler's would.
CallResult dispatchCall(const MethodTable &table, store::Store &store, const ServerSettings &settings,
                        const QString &method, const QByteArray &body,
                        const std::function<void(const QString &method)> &beforeHandler = {});

// {"error": message}
QByteArray errorBody(const QString &message);

} // namespace methods

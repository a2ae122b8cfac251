#include "dispatch.h"

#include "codec.h"
#include "record.h"
#include "table.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <limits>

namespace methods {

MethodError::MethodError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString MethodError::message() const
{
    return QString::fromStdString(what());
}

// ---- values ---------------------------------------------------------------------------

Value Value::integer(qint32 v)
{
    Value x;
    x.m_kind = wire::ValueKind::Integer;
    x.m_int = v;
    return x;
}

Value Value::int64(qint64 v)
{
    Value x;
    x.m_kind = wire::ValueKind::Int64;
    x.m_int = v;
    return x;
}

Value Value::real(double v)
{
    Value x;
    x.m_kind = wire::ValueKind::Double;
    x.m_real = v;
    return x;
}

Value Value::text(const QString &v)
{
    Value x;
    x.m_kind = wire::ValueKind::String;
    x.m_text = v;
    return x;
}

Value Value::boolean(bool v)
{
    Value x;
    x.m_kind = wire::ValueKind::Boolean;
    x.m_int = v ? 1 : 0;
    return x;
}

Value Value::record(wire::ValueKind kind, std::shared_ptr<wire::Record> v)
{
    Value x;
    x.m_kind = kind;
    x.m_record = std::move(v);
    return x;
}

Value Value::table(wire::Table &&v, wire::ValueKind kind)
{
    Value x;
    x.m_kind = kind;
    x.m_table = std::make_shared<wire::Table>(std::move(v));
    return x;
}

Value Value::stream(const QByteArray &bytes)
{
    Value x;
    x.m_kind = wire::ValueKind::Stream;
    x.m_bytes = bytes;
    return x;
}

namespace {

QByteArray streamJson(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 4 + 2);
    out.append('[');
    char digits[4];
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i)
            out.append(',');
        unsigned v = static_cast<unsigned char>(bytes[i]);
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v);
        while (n)
            out.append(digits[--n]);
    }
    out.append(']');
    return out;
}

} // namespace

QByteArray Value::toJson() const
{
    using K = wire::ValueKind;
    switch (m_kind) {
    case K::None: return QByteArrayLiteral("null");
    case K::Integer:
    case K::Int64: return QByteArray::number(m_int);
    case K::Double:
        if (!std::isfinite(m_real))
            throw MethodError(QStringLiteral("Sonuç sayı değil."));
        return wire::valueToJsonBytes(QJsonValue(m_real));
    case K::String: return wire::valueToJsonBytes(QJsonValue(m_text));
    case K::Boolean: return m_int ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case K::DataPacket:
    case K::Reader: return wire::tableToJsonBytes(*m_table);
    case K::Stream: return streamJson(m_bytes);
    default: return wire::recordToJsonBytes(m_record.get());
    }
}

// ---- call and reply -------------------------------------------------------------------

Call::Call(const wire::MethodInfo &info, store::Store &store, const ServerSettings &settings, std::vector<Value> &&in)
    : m_info(info), m_store(store), m_settings(settings), m_in(std::move(in))
{
}

Reply::Reply(const wire::MethodInfo &info)
    : m_info(info), m_out(size_t(info.out.size())), m_outSet(size_t(info.out.size()), false)
{
}

void Reply::setOut(int i, Value value)
{
    if (i < 0 || i >= int(m_out.size()))
        throw MethodError(QStringLiteral("%1: %2 numaralı çıkış parametresi yok.").arg(m_info.name).arg(i));
    m_out[size_t(i)] = std::move(value);
    m_outSet[size_t(i)] = true;
}

void Reply::setResult(Value value)
{
    m_result = std::move(value);
    m_hasResult = true;
}

const Value *Reply::out(int i) const
{
    return i >= 0 && i < int(m_out.size()) && m_outSet[size_t(i)] ? &m_out[size_t(i)] : nullptr;
}

std::vector<const Value *> Reply::values() const
{
    std::vector<const Value *> all;
    for (int i = 0; i < int(m_out.size()); ++i) {
        if (!m_outSet[size_t(i)] || m_out[size_t(i)].kind() != m_info.out[i].kind)
            throw MethodError(QStringLiteral("%1: '%2' çıkış değeri eksik ya da yanlış türde.")
                                  .arg(m_info.name, m_info.out[i].name));
        all.push_back(&m_out[size_t(i)]);
    }
    if (m_info.result != wire::ValueKind::None) {
        if (!m_hasResult || m_result.kind() != m_info.result)
            throw MethodError(QStringLiteral("%1: sonuç değeri eksik ya da yanlış türde.").arg(m_info.name));
        all.push_back(&m_result);
    }
    return all;
}

// ---- table ----------------------------------------------------------------------------

void MethodTable::add(const QString &name, Handler handler)
{
    if (!wire::findMethod(name))
        throw std::logic_error("handler for a method the catalogue does not list: " + name.toStdString());
    if (m_handlers.contains(name))
        throw std::logic_error("method registered twice: " + name.toStdString());
    m_handlers.insert(name, std::move(handler));
}

void MethodTable::replace(const QString &name, Handler handler)
{
    if (!m_handlers.contains(name))
        throw std::logic_error("no handler to replace: " + name.toStdString());
    m_handlers.insert(name, std::move(handler));
}

const Handler *MethodTable::find(const QString &name) const
{
    const auto it = m_handlers.constFind(name);
    return it == m_handlers.constEnd() ? nullptr : &it.value();
}

QStringList MethodTable::names() const
{
    QStringList list = m_handlers.keys();
    list.sort();
    return list;
}

// ---- dispatch -------------------------------------------------------------------------

QByteArray errorBody(const QString &message)
{
    QJsonObject o;
    o.insert(QStringLiteral("error"), message);
    return wire::valueToJsonBytes(o);
}

namespace {

class BadRequest : public std::runtime_error {
public:
    explicit BadRequest(const QString &message) : std::runtime_error(message.toStdString()) {}
};

Value decodeParameter(const wire::MethodParam &param, const QJsonValue &json, int ordinal)
{
    using K = wire::ValueKind;
    auto wrong = [&](const QString &expected) {
        return BadRequest(QStringLiteral("%1. parametre (%2) %3 olmalı.").arg(ordinal + 1).arg(param.name, expected));
    };
    switch (param.kind) {
    case K::Integer: {
        if (!json.isDouble())
            throw wrong(QStringLiteral("tamsayı"));
        const double d = json.toDouble();
        if (d != std::floor(d) || d < double(std::numeric_limits<qint32>::min()) ||
            d > double(std::numeric_limits<qint32>::max()))
            throw wrong(QStringLiteral("32 bitlik tamsayı"));
        return Value::integer(qint32(d));
    }
    case K::Double: {
        if (!json.isDouble() || !std::isfinite(json.toDouble()))
            throw wrong(QStringLiteral("sayı"));
        return Value::real(json.toDouble());
    }
    case K::String:
        if (!json.isString())
            throw wrong(QStringLiteral("metin"));
        return Value::text(json.toString());
    default:
        break;
    }
    if (wire::isRecordKind(param.kind)) {
        if (json.isNull())
            return Value::record(param.kind, nullptr);
        std::shared_ptr<wire::Record> record = wire::createRecord(wire::valueKindName(param.kind));
        if (!record)
            throw BadRequest(QStringLiteral("Bilinmeyen kayıt türü: %1").arg(wire::valueKindName(param.kind)));
        try {
            wire::recordFromJson(json, *record);
        } catch (const wire::DecodeError &e) {
            throw BadRequest(QStringLiteral("%1. parametre (%2): %3").arg(ordinal + 1).arg(param.name, e.message()));
        }
        return Value::record(param.kind, std::move(record));
    }
    throw BadRequest(QStringLiteral("%1. parametre (%2) giriş olarak kullanılamaz.").arg(ordinal + 1).arg(param.name));
}

} // namespace

CallResult dispatchCall(const MethodTable &table, store::Store &store, const ServerSettings &settings,
                        const QString &method, const QByteArray &body,
                        const std::function<void(const QString &)> &beforeHandler)
{
    const wire::MethodInfo *info = wire::findMethod(method);
    const Handler *handler = table.find(method);
    if (!info || !handler)
        return {404, errorBody(QStringLiteral("Bilinmeyen sunucu yöntemi: %1").arg(method))};

    std::vector<Value> in;
    try {
        QJsonObject request;
        try {
            request = wire::parseObject(body);
        } catch (const wire::DecodeError &e) {
            throw BadRequest(QStringLiteral("İstek çözülemedi: %1").arg(e.message()));
        }
        const QJsonValue params = request.value(QStringLiteral("_parameters"));
        if (!params.isArray())
            throw BadRequest(QStringLiteral("İstekte _parameters dizisi yok."));
        const QJsonArray array = params.toArray();
        if (array.size() != info->in.size())
            throw BadRequest(QStringLiteral("%1 %2 parametre bekler, %3 geldi.")
                                 .arg(method)
                                 .arg(info->in.size())
                                 .arg(array.size()));
        in.reserve(size_t(array.size()));
        for (int i = 0; i < array.size(); ++i)
            in.push_back(decodeParameter(info->in[i], array[i], i));
    } catch (const BadRequest &e) {
        return {400, errorBody(QString::fromStdString(e.what()))};
    }

    try {
        if (beforeHandler)
            beforeHandler(method);
        Call call(*info, store, settings, std::move(in));
        Reply reply(*info);
        (*handler)(call, reply);
        QList<QByteArray> entries;
        for (const Value *v : reply.values())
            entries.append(v->toJson());
        return {200, wire::resultToJsonBytes(entries)};
    } catch (const std::exception &e) {
        return {500, errorBody(QString::fromStdString(e.what()))};
    } catch (...) {
        return {500, errorBody(QStringLiteral("Sunucuda beklenmeyen hata."))};
    }
}

} // namespace methods

#include "dbxcommand.h"

#include "exception.h"
#include "sqlconnection.h"

#include <QBuffer>
#include <QLocale>
#include <cmath>
#include <codec.h>
#include <limits>
#include <record.h>
#include <table.h>

namespace platform {

namespace {

const QString ServerMethodType = QStringLiteral("DataSnap.ServerMethod");

[[noreturn]] void wrongKind(int ordinal, const char *wanted, const QJsonValue &value)
{
    static const char *const names[] = {"null", "mantıksal değer", "sayı", "metin", "dizi", "nesne", "tanımsız"};
    const int t = value.type() == QJsonValue::Undefined ? 6 : int(value.type());
    throw Exception(
        QStringLiteral("Sunucu yanıtı çözümlenemedi: %1. değer %2 olmalıyken %3 geldi.")
            .arg(QLocale().toString(ordinal), QString::fromUtf8(wanted), QString::fromUtf8(names[qBound(0, t, 6)])));
}

[[noreturn]] void undecodable(const QString &detail)
{
    throw Exception(QStringLiteral("Sunucu yanıtı çözümlenemedi: %1").arg(detail));
}

// An integral JSON number within [lo, hi]; doubles beyond 2^53 are not integral here.
qint64 integralValue(const QJsonValue &value, int ordinal, const char *wanted, qint64 lo, qint64 hi)
{
    if (!value.isDouble())
        wrongKind(ordinal, wanted, value);
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < double(lo) || d > double(hi))
        undecodable(QStringLiteral("%1. değer %2 aralığında bir tam sayı değil.")
                        .arg(QLocale().toString(ordinal), QString::fromUtf8(wanted)));
    return value.toInteger();
}

} // namespace

TDBXParameter::TDBXParameter() = default;
TDBXParameter::~TDBXParameter() = default;

void TDBXParameter::releaseOwned()
{
    m_table.reset();
    m_stream.reset();
    m_record.reset();
}

void TDBXParameter::clear()
{
    releaseOwned();
    m_json.clear();
    m_scalar = QJsonValue();
    m_scalarParsed = false;
    m_state = State::Unassigned;
}

void TDBXParameter::SetInt32(qint32 value)
{
    SetJSONValue(QJsonValue(value));
}

void TDBXParameter::SetDouble(double value)
{
    // QJson would quietly write NaN and infinities as null.
    if (!std::isfinite(value))
        throw Exception(
            QStringLiteral("%1. parametre geçerli bir sayı değil; gönderilemez.").arg(QLocale().toString(m_ordinal)));
    SetJSONValue(QJsonValue(value));
}

void TDBXParameter::SetWideString(const QString &value)
{
    SetJSONValue(QJsonValue(value));
}

void TDBXParameter::SetNull()
{
    SetJSONValue(QJsonValue(QJsonValue::Null));
}

void TDBXParameter::SetRecord(const wire::Record *record)
{
    // The byte form keeps the fields in declared order.
    QByteArray json = wire::recordToJsonBytes(record);
    releaseOwned();
    m_json = std::move(json);
    m_scalarParsed = false;
    m_state = State::Input;
}

void TDBXParameter::SetJSONValue(const QJsonValue &value)
{
    releaseOwned();
    m_json = wire::valueToJsonBytes(value);
    m_scalar = value;
    m_scalarParsed = true;
    m_state = State::Input;
}

void TDBXParameter::requireValue() const
{
    if (m_state == State::Unassigned)
        throw Exception(QStringLiteral("%1. parametrenin değeri yok.").arg(QLocale().toString(m_ordinal)));
}

const QJsonValue &TDBXParameter::scalar() const
{
    requireValue();
    if (!m_scalarParsed) {
        try {
            m_scalar = wire::valueFromJsonBytes(m_json);
        } catch (const wire::DecodeError &e) {
            undecodable(e.message());
        }
        m_scalarParsed = true;
    }
    return m_scalar;
}

bool TDBXParameter::IsNull() const
{
    requireValue();
    return m_json.trimmed() == "null";
}

qint32 TDBXParameter::GetInt32() const
{
    return qint32(integralValue(scalar(), m_ordinal, "tam sayı", std::numeric_limits<qint32>::min(),
                                std::numeric_limits<qint32>::max()));
}

qint64 TDBXParameter::GetInt64() const
{
    constexpr qint64 maxExact = qint64(1) << 53;
    return integralValue(scalar(), m_ordinal, "tam sayı", -maxExact, maxExact);
}

double TDBXParameter::GetDouble() const
{
    const QJsonValue &v = scalar();
    if (!v.isDouble())
        wrongKind(m_ordinal, "sayı", v);
    return v.toDouble();
}

bool TDBXParameter::GetBoolean() const
{
    const QJsonValue &v = scalar();
    if (!v.isBool())
        wrongKind(m_ordinal, "mantıksal değer", v);
    return v.toBool();
}

QString TDBXParameter::GetWideString() const
{
    const QJsonValue &v = scalar();
    if (!v.isString())
        wrongKind(m_ordinal, "metin", v);
    return v.toString();
}

QJsonValue TDBXParameter::GetJSONValue() const
{
    return scalar();
}

const wire::Table *TDBXParameter::GetTable()
{
    requireValue();
    if (!m_table) {
        try {
            m_table = std::make_unique<wire::Table>(IsNull() ? wire::Table() : wire::tableFromJsonBytes(m_json));
        } catch (const wire::DecodeError &e) {
            undecodable(e.message());
        }
    }
    return m_table.get();
}

QBuffer *TDBXParameter::GetStream()
{
    requireValue();
    if (!m_stream) {
        QByteArray bytes;
        if (!IsNull()) {
            try {
                bytes = wire::streamFromJsonBytes(m_json);
            } catch (const wire::DecodeError &e) {
                undecodable(e.message());
            }
        }
        auto stream = std::make_unique<QBuffer>();
        stream->setData(bytes);
        stream->open(QIODevice::ReadOnly);
        m_stream = std::move(stream);
    }
    return m_stream.get();
}

wire::Record *TDBXParameter::adoptRecord(std::unique_ptr<wire::Record> blank)
{
    if (scalar().isNull())
        return nullptr;
    if (m_record && m_record->typeName() == blank->typeName())
        return m_record.get();
    try {
        wire::recordFromJson(scalar(), *blank);
    } catch (const wire::DecodeError &e) {
        undecodable(e.message());
    }
    m_record = std::move(blank);
    return m_record.get();
}

TDBXCommand::TDBXCommand(TSQLConnection *connection) : m_connection(connection)
{
    if (!connection)
        throw Exception(QStringLiteral("Komut bir bağlantı olmadan oluşturulamaz."));
}

TDBXCommand::~TDBXCommand() = default;

void TDBXCommand::SetCommandType(const QString &type)
{
    m_commandType = type;
    m_prepared = false;
}

void TDBXCommand::SetText(const QString &text)
{
    m_text = text;
    m_prepared = false;
}

void TDBXCommand::Prepare()
{
    if (m_commandType != ServerMethodType)
        throw Exception(QStringLiteral("Desteklenmeyen komut türü: \"%1\".").arg(m_commandType));
    const qsizetype dot = m_text.indexOf(QLatin1Char('.'));
    const QString className = dot > 0 ? m_text.left(dot) : QString();
    const QString method = dot > 0 ? m_text.mid(dot + 1) : QString();
    auto isName = [](const QString &s) {
        if (s.isEmpty())
            return false;
        for (QChar c : s) {
            if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
                return false;
        }
        return true;
    };
    if (!isName(className) || !isName(method))
        throw Exception(QStringLiteral("Geçersiz sunucu metodu adı: \"%1\".").arg(m_text));
    m_className = className;
    m_method = method;
    m_prepared = true;
}

TDBXParameter &TDBXCommand::Parameter(int ordinal)
{
    if (ordinal < 0)
        throw Exception(QStringLiteral("Geçersiz parametre sırası: %1.").arg(QLocale().toString(ordinal)));
    while (int(m_params.size()) <= ordinal) {
        m_params.push_back(std::make_unique<TDBXParameter>());
        m_params.back()->m_ordinal = int(m_params.size()) - 1;
    }
    return *m_params[size_t(ordinal)];
}

int TDBXCommand::ParameterCount() const
{
    int count = int(m_params.size());
    while (count > 0 && m_params[size_t(count - 1)]->m_state == TDBXParameter::State::Unassigned)
        --count;
    return count;
}

void TDBXCommand::ExecuteUpdate()
{
    // What the previous execution handed out ends here, whatever happens next.
    for (auto &p : m_params) {
        if (p->m_state == TDBXParameter::State::Result)
            p->clear();
    }

    if (!m_prepared)
        Prepare();
    if (!m_connection)
        throw Exception(QStringLiteral("Komutun bağlantısı artık yok."));

    const int inputs = ParameterCount();
    QByteArray body = "{\"_parameters\":[";
    for (int i = 0; i < inputs; ++i) {
        const TDBXParameter &p = *m_params[size_t(i)];
        if (p.m_state != TDBXParameter::State::Input)
            throw Exception(QStringLiteral("%1 için %2. parametre atanmadı.").arg(m_text, QLocale().toString(i)));
        if (i > 0)
            body += ',';
        body += p.m_json;
    }
    body += "]}";

    const QString path = m_className + QLatin1String("/%22") + m_method + QLatin1String("%22");
    const QByteArray answer = m_connection->post(path, body);

    QList<QByteArray> values;
    try {
        values = wire::splitResultArray(answer);
    } catch (const wire::DecodeError &e) {
        undecodable(e.message());
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        TDBXParameter &p = Parameter(inputs + int(i));
        p.m_state = TDBXParameter::State::Result;
        p.m_json = std::move(values[i]);
    }
}

} // namespace platform

#include "faults.h"

#include "dispatch.h"
#include "methods.h"
#include "options.h"

namespace http {

FaultPlan::FaultPlan(const FaultPlan &other)
    : m_refuse(other.m_refuse.load()),
      m_delayMs(other.m_delayMs),
      m_fail(other.m_fail),
      m_truncate(other.m_truncate),
      m_garble(other.m_garble)
{
}

FaultPlan &FaultPlan::operator=(const FaultPlan &other)
{
    m_refuse = other.m_refuse.load();
    m_delayMs = other.m_delayMs;
    m_fail = other.m_fail;
    m_truncate = other.m_truncate;
    m_garble = other.m_garble;
    return *this;
}

FaultPlan FaultPlan::parse(const QStringList &specs)
{
    FaultPlan plan;
    for (const QString &spec : specs) {
        const int eq = spec.indexOf(QLatin1Char('='));
        const QString key = spec.left(eq);
        const QString value = eq < 0 ? QString() : spec.mid(eq + 1);
        auto bad = [&] { return OptionError(QStringLiteral("Geçersiz hata tanımı: %1").arg(spec)); };
        auto knownMethod = [&](const QString &name) {
            if (!wire::findMethod(name))
                throw OptionError(QStringLiteral("Hata tanımında bilinmeyen yöntem: %1").arg(name));
            return name;
        };
        bool ok = true;
        if (key == QLatin1String("refuse")) {
            const int n = value.toInt(&ok);
            if (!ok || n < 0)
                throw bad();
            plan.m_refuse = n;
        } else if (key == QLatin1String("delay")) {
            plan.m_delayMs = value.toInt(&ok);
            if (!ok || plan.m_delayMs < 0)
                throw bad();
        } else if (key == QLatin1String("fail")) {
            const int colon = value.indexOf(QLatin1Char(':'));
            if (colon <= 0)
                throw bad();
            plan.m_fail.insert(knownMethod(value.left(colon)), value.mid(colon + 1));
        } else if (key == QLatin1String("truncate")) {
            const int colon = value.indexOf(QLatin1Char(':'));
            const QString method = colon < 0 ? value : value.left(colon);
            int bytes = -1;
            if (colon >= 0) {
                bytes = value.mid(colon + 1).toInt(&ok);
                if (!ok || bytes < 0)
                    throw bad();
            }
            const wire::MethodInfo *info = wire::findMethod(knownMethod(method));
            if (info->result != wire::ValueKind::Stream)
                throw OptionError(QStringLiteral("%1 akış döndürmez; kesilemez.").arg(method));
            plan.m_truncate.insert(method, bytes);
        } else if (key == QLatin1String("garble")) {
            plan.m_garble.insert(knownMethod(value));
        } else {
            throw bad();
        }
    }
    return plan;
}

bool FaultPlan::takeRefusal()
{
    int left = m_refuse.load();
    while (left > 0) {
        if (m_refuse.compare_exchange_weak(left, left - 1))
            return true;
    }
    return false;
}

bool FaultPlan::isEmpty() const
{
    return m_refuse.load() == 0 && m_delayMs == 0 && m_fail.isEmpty() && m_truncate.isEmpty() && m_garble.isEmpty();
}

void FaultPlan::apply(methods::MethodTable &table) const
{
    for (auto it = m_fail.constBegin(); it != m_fail.constEnd(); ++it) {
        const QString message = it.value();
        if (table.find(it.key()))
            table.replace(it.key(), [message](methods::Call &, methods::Reply &) {
                throw methods::MethodError(message);
            });
        else
            table.add(it.key(), [message](methods::Call &, methods::Reply &) { throw methods::MethodError(message); });
    }
    for (auto it = m_truncate.constBegin(); it != m_truncate.constEnd(); ++it) {
        const methods::Handler *original = table.find(it.key());
        if (!original)
            continue;
        const int bytes = it.value();
        table.replace(it.key(), [inner = *original, bytes](methods::Call &call, methods::Reply &reply) {
            inner(call, reply);
            const methods::Value *result = reply.result();
            if (!result)
                return;
            const QByteArray full = result->bytesValue();
            reply.setResult(methods::Value::stream(full.left(bytes < 0 ? full.size() / 2 : bytes)));
        });
    }
}

} // namespace http

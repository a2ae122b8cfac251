#pragma once
// Fault injection for the client's failure tests (--fault, repeatable):
//   refuse=N              the first N connections to the call port are reset at once
//   delay=MS              every remote call waits MS milliseconds before it runs
//   fail=Method:message   the method answers 500 with {"error": message}
//   truncate=Method[:N]   the method's stream result is cut to N bytes (half when N is
//                         missing) while its size out value still gives the full length
//   garble=Method         the method answers 200 with a body that is not valid JSON
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>

namespace methods {
class MethodTable;
}

namespace http {

class FaultPlan {
public:
    // Throws OptionError for a malformed fault description.
    static FaultPlan parse(const QStringList &specs);

    FaultPlan() = default;
    FaultPlan(const FaultPlan &other);
    FaultPlan &operator=(const FaultPlan &other);

    // True while connections are still to be refused; each call uses up one.
    bool takeRefusal();
    int delayMs() const { return m_delayMs; }
    bool garbles(const QString &method) const { return m_garble.contains(method); }
    // Wraps the handlers of failing and truncated methods.
    void apply(methods::MethodTable &table) const;
    bool isEmpty() const;

private:
    std::atomic<int> m_refuse{0};
    int m_delayMs = 0;
    QHash<QString, QString> m_fail;
    QHash<QString, int> m_truncate;  // -1: half
    QSet<QString> m_garble;
};

} // namespace http

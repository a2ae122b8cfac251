#pragma once
// HTTP front of the substitute server: the remote-call endpoint on one port and the
// wholesaler's web paths on another, each served by a pool of threads.
#include <QString>

#include <memory>

namespace store {
class Store;
}
namespace methods {
class MethodTable;
struct ServerSettings;
}

namespace http {

class FaultPlan;

struct Ports {
    int call = 0;
    int web = 0;
};

class B2BServer {
public:
    // The table, settings and faults are copied; the store must outlive the server.
    B2BServer(store::Store &store, const methods::MethodTable &table, const methods::ServerSettings &settings,
              const FaultPlan &faults, int threads);
    ~B2BServer();
    B2BServer(const B2BServer &) = delete;
    B2BServer &operator=(const B2BServer &) = delete;

    // Binds both ports (0: a free one) and starts serving. False with `error` set when a
    // port cannot be bound.
    bool start(const QString &host, int callPort, int webPort, QString *error);
    Ports ports() const;
    // Stops accepting, lets the calls in flight finish and joins the serving threads.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Answer bodies above this size are gzip-compressed for clients that accept it.
constexpr int gzipThreshold = 8 * 1024;
// Request bodies above this size are refused with 413.
constexpr int maxRequestBody = 1024 * 1024;

QByteArray gzipCompress(const QByteArray &data);

} // namespace http

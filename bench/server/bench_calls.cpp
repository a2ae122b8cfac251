// Round trips of small remote calls on loopback against a real server process:
// one client in sequence, then 32 clients at once, each on its own kept-alive connection.
//
//   bench_server_calls [calls-per-client=3000] [method=KayanYaziGetir]
//   KORVEL_BENCH_NAGLE=1  clients leave Nagle on (as a client without TCP_NODELAY)
//   KORVEL_BENCH_SERVER_LOG=file  keep the server's per-request log
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    std::vector<double> latenciesUs;
    double seconds = 0;
    int failures = 0;
};

double percentile(std::vector<double> &v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

Run runClients(int port, int clients, int calls, const std::string &path, const std::string &body)
{
    std::vector<std::vector<double>> perClient(static_cast<size_t>(clients));
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(!qEnvironmentVariableIsSet("KORVEL_BENCH_NAGLE"));  // headers and body go out as separate writes
            auto &lat = perClient[size_t(c)];
            lat.reserve(size_t(calls));
            for (int i = 0; i < calls; ++i) {
                const auto t0 = Clock::now();
                auto res = client.Post(path.c_str(), body, "application/json; charset=utf-8");
                lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
                if (!res || res->status != 200) {
                    if (++failures <= 3)
                        std::fprintf(stderr, "call %d of client %d failed after %.1f ms: %s\n", i, c,
                                     lat.back() / 1000.0,
                                     res ? std::to_string(res->status).c_str() : httplib::to_string(res.error()).c_str());
                }
            }
        });
    }
    for (auto &t : threads)
        t.join();
    Run run;
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.failures = failures;
    for (auto &l : perClient)
        run.latenciesUs.insert(run.latenciesUs.end(), l.begin(), l.end());
    return run;
}

void report(const char *what, int clients, Run &run)
{
    const double total = double(run.latenciesUs.size());
    std::printf("%-34s clients %2d  calls %6.0f  %8.0f calls/s  p50 %7.1f us  p99 %7.1f us  failures %d\n", what,
                clients, total, total / run.seconds, percentile(run.latenciesUs, 0.50),
                percentile(run.latenciesUs, 0.99), run.failures);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int calls = args.size() > 1 ? args[1].toInt() : 3000;
    const QString method = args.size() > 2 ? args[2] : QStringLiteral("KayanYaziGetir");

    QTemporaryDir dir;
    QProcess server;
    server.setStandardErrorFile(qEnvironmentVariable("KORVEL_BENCH_SERVER_LOG", QProcess::nullDevice()));  // per-request log
    server.start(QStringLiteral(KORVEL_SERVER_BIN),
                 {QStringLiteral("--db"), dir.filePath(QStringLiteral("bench.sqlite")), QStringLiteral("--port"),
                  QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"), QStringLiteral("--demo"),
                  QStringLiteral("--demo-stock"), QStringLiteral("2000")});
    int port = 0;
    while (server.waitForReadyRead(30000)) {
        const QList<QByteArray> words = server.readLine().simplified().split(' ');
        if (words.size() >= 3 && words[0] == "ready") {
            port = words[1].toInt();
            break;
        }
    }
    if (port <= 0) {
        std::fprintf(stderr, "server did not start\n");
        return 1;
    }

    const std::string path = "/datasnap/rest/TServerMethods1/%22" + method.toStdString() + "%22";
    const std::string body = R"({"_parameters":[]})";
    std::printf("server on 127.0.0.1:%d, SQLite, method %s, %d calls per client\n", port, qPrintable(method), calls);

    runClients(port, 4, 200, path, body);  // warm-up: connections, prepared caches
    Run one = runClients(port, 1, calls, path, body);
    report("small call, one client", 1, one);
    Run many = runClients(port, 32, calls / 4, path, body);
    report("small call, 32 concurrent clients", 32, many);

    const std::string sessionBody = R"({"_parameters":["KORVEL-DEMO-BAYI1001"]})";
    const std::string sessionPath = "/datasnap/rest/TServerMethods1/%22BuyukGetir%22";
    Run lookups = runClients(port, 32, calls / 4, sessionPath, sessionBody);
    report("BuyukGetir (join of 4 tables), 32", 32, lookups);

    server.terminate();
    server.waitForFinished(10000);
    return 0;
}

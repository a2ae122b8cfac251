// Server calls through TServerMethods1Client on loopback against a real server process:
//   1. a small call (AcilisReklamAdet), one client in sequence;
//   2. the same with 32 clients at once, each on its own clone (the background-load pattern);
//   3. a session check (BuyukGetir: string in, record out), one client;
//   4. a catalogue page (StokAraGetirQuelpa, empty text: the first 1,000 rows) decoded
//      into a table, one client.
//
//   bench_net_proxy [calls-per-client=2000]
#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <dbxcommand.h>
#include <exception.h>
#include <functional>
#include <proxim.h>
#include <sqlconnection.h>
#include <table.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

struct Figures {
    std::vector<double> latenciesUs;
    double seconds = 0;
    int failures = 0;
};

// `call` runs once per iteration on the client's own proxy.
Figures run(const platform::TSQLConnection &main, int clients, int calls,
            const std::function<void(TServerMethods1Client &)> &call)
{
    std::vector<std::vector<double>> perClient(static_cast<size_t>(clients));
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            std::unique_ptr<platform::TSQLConnection> clone = main.Clone();
            try {
                clone->Open();
            } catch (const platform::Exception &) {
                failures += calls;
                return;
            }
            TServerMethods1Client proxy(clone.get());
            auto &lat = perClient[size_t(c)];
            lat.reserve(size_t(calls));
            for (int i = 0; i < calls; ++i) {
                const auto t0 = Clock::now();
                try {
                    call(proxy);
                } catch (const platform::Exception &) {
                    ++failures;
                }
                lat.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
            }
        });
    }
    for (auto &t : threads)
        t.join();
    Figures f;
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    f.failures = failures;
    for (auto &l : perClient)
        f.latenciesUs.insert(f.latenciesUs.end(), l.begin(), l.end());
    return f;
}

void report(const char *what, const Figures &f)
{
    std::printf("%-58s %9.0f calls/s  p50 %8.1f us  p99 %8.1f us  failures %d\n", what,
                double(f.latenciesUs.size()) / f.seconds, percentile(f.latenciesUs, 0.50),
                percentile(f.latenciesUs, 0.99), f.failures);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const QString server = QString::fromUtf8(KORVEL_SERVER_BIN);
    if (server.isEmpty()) {
        std::fprintf(stderr, "the substitute server is not part of this build\n");
        return 1;
    }
    QTemporaryDir dir;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(server,
                  {QStringLiteral("--db"), dir.filePath(QStringLiteral("bench.sqlite")), QStringLiteral("--port"),
                   QStringLiteral("0"), QStringLiteral("--web-port"), QStringLiteral("0"), QStringLiteral("--demo"),
                   QStringLiteral("--demo-stock"), QStringLiteral("5000"), QStringLiteral("--demo-accounts"),
                   QStringLiteral("8"), QStringLiteral("--register-computer"), QStringLiteral("BENCH-PC"),
                   QStringLiteral("--as"), QStringLiteral("BAYI1001")});
    int port = 0;
    while (port == 0 && process.waitForReadyRead(60000)) {
        while (process.canReadLine()) {
            const QList<QByteArray> words = process.readLine().simplified().split(' ');
            if (words.size() >= 2 && words[0] == "ready")
                port = words[1].toInt();
        }
    }
    if (port == 0) {
        std::fprintf(stderr, "the server did not get ready\n");
        return 1;
    }

    platform::TSQLConnection main;
    main.SetHostName(QStringLiteral("127.0.0.1"));
    main.SetPort(QString::number(port));

    report("AcilisReklamAdet, 1 client", run(main, 1, calls, [](TServerMethods1Client &p) { p.AcilisReklamAdet(); }));
    report("AcilisReklamAdet, 32 clients on their own clones",
           run(main, 32, std::max(1, calls / 8), [](TServerMethods1Client &p) { p.AcilisReklamAdet(); }));
    report("BuyukGetir (record out), 1 client",
           run(main, 1, calls, [](TServerMethods1Client &p) { p.BuyukGetir(QStringLiteral("BENCH-PC")); }));

    TSonucBilgisi session;
    {
        auto connection = main.Clone();
        connection->Open();
        TServerMethods1Client proxy(connection.get());
        session.Kopyala(*proxy.BuyukGetir(QStringLiteral("BENCH-PC")));
        std::printf("catalogue page: %d rows\n",
                    proxy.StokAraGetirQuelpa(QString(), std::make_unique<TSonucBilgisi>(session))->rowCount());
    }
    report("StokAraGetirQuelpa, first rows decoded, 1 client",
           run(main, 1, std::max(1, calls / 20), [&session](TServerMethods1Client &p) {
               p.StokAraGetirQuelpa(QString(), std::make_unique<TSonucBilgisi>(session));
           }));

    {
        // The client's share of the catalogue page: the call, then decoding its table.
        auto connection = main.Clone();
        connection->Open();
        auto command = connection->CreateCommand();
        command->SetCommandType(QStringLiteral("DataSnap.ServerMethod"));
        command->SetText(QStringLiteral("TServerMethods1.StokAraGetirQuelpa"));
        std::vector<double> callUs, decodeUs;
        for (int i = 0; i < std::max(1, calls / 20); ++i) {
            command->Parameter(0).SetWideString(QString());
            command->Parameter(1).SetRecord(&session);
            const auto t0 = Clock::now();
            command->ExecuteUpdate();
            const auto t1 = Clock::now();
            command->Parameter(2).GetTable();
            const auto t2 = Clock::now();
            callUs.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            decodeUs.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
        }
        std::printf("StokAraGetirQuelpa split: call and transfer p50 %.1f us, table decode p50 %.1f us\n",
                    percentile(callUs, 0.5), percentile(decodeUs, 0.5));
    }

    process.terminate();
    process.waitForFinished(10000);
    return 0;
}

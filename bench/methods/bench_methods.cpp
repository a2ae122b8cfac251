// Server time of the heavy methods on a catalogue of 200,000 items, on SQLite and on
// PostgreSQL: the stock search for typical 3-8 character queries, the cart of 100 lines
// and sending 50 lines as an order. Each call goes through the dispatcher exactly as the
// HTTP front runs it (request decoding, handler, answer encoding), without the network.
//
//     bench_methods [--items N] [--sqlite-only] [--keep DIR] [--postgres URL]
//
// The SQLite database is kept in DIR (default: the system's temporary folder) and reused
// by later runs with the same size. PostgreSQL gets a throwaway cluster every run, or
// uses the database URL (filled when empty, reused afterwards).
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <tuple>
#include <codec.h>
#include <cstdio>
#include <demodata.h>
#include <dispatch.h>
#include <pgcluster.h>
#include <sqlquery.h>
#include <store.h>
#include <vector>

namespace {

struct Figures {
    double p50 = 0, p99 = 0, max = 0;
    int calls = 0;
};

// CPU time of the calling thread: on a machine shared with other work it shows what a
// call costs when it does not wait for a core.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    return {at(0.50), at(0.99), ms.back(), int(ms.size())};
}

void print(const char *backend, const char *what, const Figures &f, const Figures &cpu, double target)
{
    std::printf("%-9s %-38s %4d calls  wall p50 %6.2f p99 %6.2f max %6.2f ms | cpu p50 %6.2f p99 %6.2f ms "
                "(target %.0f ms)\n",
                backend, what, f.calls, f.p50, f.p99, f.max, cpu.p50, cpu.p99, target);
    std::fflush(stdout);
}

class Bench {
public:
    Bench(store::Store &store) : m_store(store) { methods::registerAllMethods(m_table); }

    // Runs one call and returns its answer; `ms` gets the server time, `cpu` its CPU time.
    QJsonValue call(const QString &method, const QJsonArray &parameters, double *ms = nullptr, double *cpu = nullptr)
    {
        const QByteArray body = QJsonDocument(QJsonObject{{QStringLiteral("_parameters"), parameters}}).toJson(
            QJsonDocument::Compact);
        QElapsedTimer timer;
        const double cpuStart = threadCpuMs();
        timer.start();
        const methods::CallResult result = methods::dispatchCall(m_table, m_store, m_settings, method, body);
        if (ms)
            *ms = double(timer.nsecsElapsed()) / 1e6;
        if (cpu)
            *cpu = threadCpuMs() - cpuStart;
        if (result.status != 200) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(method), result.body.constData());
            std::exit(1);
        }
        return QJsonDocument::fromJson(result.body).object().value(QStringLiteral("result")).toArray().last();
    }

    QJsonValue session(const QString &computer) { return call(QStringLiteral("BuyukGetir"), {computer}); }

private:
    store::Store &m_store;
    methods::MethodTable m_table;
    methods::ServerSettings m_settings;
};

// Typical queries: stock code and OEM prefixes, barcode prefixes and name words (alone,
// in pairs, typed in lower case with Turkish letters), 3 to 8 characters each.
QStringList queries(store::Store &store, int count)
{
    QStringList list;
    const QStringList words = {QStringLiteral("FREN"),    QStringLiteral("filtre"), QStringLiteral("AMORT"),
                               QStringLiteral("rulman"),  QStringLiteral("BUJİ"),   QStringLiteral("triger"),
                               QStringLiteral("yağ fil"), QStringLiteral("fren ön"), QStringLiteral("SALINCAK"),
                               QStringLiteral("kayış"),   QStringLiteral("DİSK"),   QStringLiteral("motor tak")};
    std::vector<QString> codes;
    store.read([&](QSqlDatabase &db) {
        store::SqlQuery q(db, QStringLiteral("SELECT kod, oem1, barkod, oem2 FROM stoklar WHERE stokno % 997 = 0 "
                                              "ORDER BY stokno"));
        q.exec();
        while (q.next()) {
            codes.push_back(q.toString(0).left(8));             // KRV-1234
            codes.push_back(q.toString(1).left(3 + int(codes.size() % 5)));  // OEM prefix
            codes.push_back(q.toString(2).left(6));             // barcode prefix
            if (!q.toString(3).isEmpty())
                codes.push_back(q.toString(3).left(4));
        }
    });
    for (int i = 0; i < count; ++i)
        list.append(i % 3 == 0 ? words[(i / 3) % words.size()] : codes[size_t(i * 7919) % codes.size()]);
    return list;
}

void run(const char *backend, store::Store &store, int items)
{
    Bench bench(store);
    QJsonValue customer = bench.session(QStringLiteral("KORVEL-DEMO-BAYI1001"));
    QJsonValue staff = bench.session(QStringLiteral("KORVEL-DEMO-MURAT"));
    QJsonObject staffObject = staff.toObject();
    QJsonObject fields = staffObject.value(QStringLiteral("fields")).toObject();
    const int staffUser = fields.value(QStringLiteral("FSirano")).toInt();
    const int account = 1002;
    fields.insert(QStringLiteral("FCARINO"), account);
    staffObject.insert(QStringLiteral("fields"), fields);
    staff = staffObject;

    // Search: warm up, then time.
    const QStringList texts = queries(store, 400);
    for (int i = 0; i < 40; ++i)
        bench.call(QStringLiteral("StokAraGetirQuelpa"), {texts[i], customer});
    std::vector<double> ms, cpu;
    std::vector<std::tuple<double, QString, int>> slowest;
    // On SQLite the query runs in this thread, so its CPU time is the call's cost; on
    // PostgreSQL it runs in the database's process and only the wall time shows it.
    const double cpuShare = std::strcmp(backend, "sqlite") == 0 ? 0.0 : 1.0;
    size_t rows = 0;
    for (const QString &text : texts) {
        double t = 0, c = 0;
        const int found = int(bench.call(QStringLiteral("StokAraGetirQuelpa"), {text, customer}, &t, &c)
                                  .toObject()
                                  .value(QStringLiteral("STOK_STOKNO"))
                                  .toArray()
                                  .size());
        rows += size_t(found);
        ms.push_back(t);
        cpu.push_back(c);
        slowest.emplace_back(std::max(c, t * cpuShare), text, found);
    }
    print(backend, qPrintable(QStringLiteral("StokAraGetirQuelpa, %1 items").arg(items)), figures(ms), figures(cpu), 15);
    std::printf("%-10s   (%zu rows per search on average; p99 target 50 ms)\n", backend, rows / size_t(texts.size()));
    std::sort(slowest.begin(), slowest.end(), [](const auto &a, const auto &b) { return std::get<0>(a) > std::get<0>(b); });
    for (size_t i = 0; i < 5 && i < slowest.size(); ++i)
        std::printf("%-9s   slowest: %7.2f ms  '%s' %d rows\n", backend, std::get<0>(slowest[i]),
                    qPrintable(std::get<1>(slowest[i])), std::get<2>(slowest[i]));

    auto fillCart = [&](int lines) {
        bench.call(QStringLiteral("SepetHepsiniSil"), {staff});
        for (int i = 0; i < lines; ++i)
            bench.call(QStringLiteral("SepetEkle2"), {staff, account, 100001 + i * 37, QString(), QString(), 1 + i % 5,
                                                      20, 10.5 + i, 10, staffUser, 0, 5, 0, 0});
    };

    fillCart(100);
    ms.clear();
    cpu.clear();
    for (int i = 0; i < 200; ++i) {
        double t = 0, c = 0;
        bench.call(QStringLiteral("SepetVer2"), {account}, &t, &c);
        ms.push_back(t);
        cpu.push_back(c);
    }
    print(backend, "SepetVer2, 100-line cart", figures(ms), figures(cpu), 5);

    ms.clear();
    cpu.clear();
    for (int i = 0; i < 40; ++i) {
        fillCart(50);
        double t = 0, c = 0;
        if (!bench.call(QStringLiteral("SiparisKaydet"), {staff, account, 1, 1, QStringLiteral("bench"), staffUser, 1},
                        &t, &c)
                 .toBool()) {
            std::fprintf(stderr, "SiparisKaydet saved nothing\n");
            std::exit(1);
        }
        ms.push_back(t);
        cpu.push_back(c);
    }
    print(backend, "SiparisKaydet, 50 lines", figures(ms), figures(cpu), 20);
}

void fill(store::Store &store, int items)
{
    QElapsedTimer timer;
    timer.start();
    store::DemoOptions options;
    options.stockItems = items;
    options.accounts = 200;
    store::fillDemoData(store, options);
    std::printf("demo data: %d items in %.1f s\n", items, double(timer.elapsed()) / 1000.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("items"), QStringLiteral("catalogue size"), QStringLiteral("N"),
                      QStringLiteral("200000")});
    parser.addOption({QStringLiteral("sqlite-only"), QStringLiteral("skip PostgreSQL")});
    parser.addOption({QStringLiteral("postgres"), QStringLiteral("PostgreSQL database to use"), QStringLiteral("URL")});
    parser.addOption({QStringLiteral("keep"), QStringLiteral("folder of the SQLite database"), QStringLiteral("DIR"),
                      QDir::tempPath()});
    parser.process(app);
    const int items = parser.value(QStringLiteral("items")).toInt();

    {
        const QString path =
            QDir(parser.value(QStringLiteral("keep"))).filePath(QStringLiteral("korvel-bench-methods-%1.sqlite").arg(items));
        store::Store sqlite(store::Location::parse(path));
        sqlite.open();
        if (sqlite.isEmpty())
            fill(sqlite, items);
        run("sqlite", sqlite, items);
        sqlite.closeThreadConnection();
    }
    if (parser.isSet(QStringLiteral("sqlite-only")))
        return 0;

    PgCluster cluster;
    QString url = parser.value(QStringLiteral("postgres"));
    if (url.isEmpty()) {
        bool skip = false;
        const QString problem = cluster.start(&skip);
        if (!problem.isEmpty()) {
            std::printf("postgres   not measured: %s\n", qPrintable(problem));
            return skip ? 0 : 1;
        }
        QString error;
        url = cluster.createDatabase(&error);
        if (!error.isEmpty()) {
            std::printf("postgres   not measured: %s\n", qPrintable(error));
            return 1;
        }
    }
    store::Store postgres(store::Location::parse(url));
    postgres.open();
    if (postgres.isEmpty())
        fill(postgres, items);
    {
        QSqlDatabase db = postgres.database();
        // Fresh rows: statistics for the planner and the visibility map for index-only scans.
        store::execSql(db, QStringLiteral("VACUUM ANALYZE"));
    }
    run("postgres", postgres, items);
    postgres.closeThreadConnection();
    return 0;
}

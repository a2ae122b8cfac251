// korvel-b2b-server: the substitute remote server of the ordering client.
#include "demodata.h"
#include "dispatch.h"
#include "faults.h"
#include "options.h"
#include "server.h"
#include "store.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

void say(const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    // The demo pictures are drawn with fonts, which need a GUI application; no display
    // is ever used.
    QList<QByteArray> args;
    for (int i = 0; i < argc; ++i)
        args.append(QByteArray(argv[i]));
    args << "-platform" << "offscreen";
    std::vector<char *> guiArgv;
    for (QByteArray &a : args)
        guiArgv.push_back(a.data());
    int guiArgc = int(guiArgv.size());
    guiArgv.push_back(nullptr);
    QGuiApplication app(guiArgc, guiArgv.data());

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    http::ServerOptions options;
    http::FaultPlan faults;
    try {
        options = http::parseOptions(arguments);
        faults = http::FaultPlan::parse(options.faults);
    } catch (const std::exception &e) {
        say(QString::fromUtf8(e.what()));
        say(http::usageText());
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(http::usageText()), stdout);
        return 0;
    }

    std::signal(SIGPIPE, SIG_IGN);
    // A shell starts background jobs with SIGINT ignored; the server is stopped by it all
    // the same.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);

    const QString location = options.database.isEmpty() ? store::Store::defaultDemoPath() : options.database;
    try {
        store::Store store(store::Location::parse(location));
        store.open();
        say(QStringLiteral("veritabanı: %1").arg(store.location().display()));
        if (options.demo && store.isEmpty()) {
            QElapsedTimer timer;
            timer.start();
            store::fillDemoData(store, options.demoOptions);
            say(QStringLiteral("örnek veriler oluşturuldu: %1 stok, %2 cari, %3 ms")
                    .arg(options.demoOptions.stockItems)
                    .arg(options.demoOptions.accounts)
                    .arg(timer.elapsed()));
        }
        for (const auto &reg : options.registrations) {
            store::registerComputer(store, reg.first, reg.second);
            say(QStringLiteral("bilgisayar %1 -> %2").arg(reg.first, reg.second));
        }
        if (options.demo) {
            for (const store::DemoUser &u : store::listUsers(store, 8))
                say(QStringLiteral("örnek kullanıcı: %1 şifre %2 tip %3 cari %4 bilgisayar %5")
                        .arg(u.name, u.password)
                        .arg(u.kind)
                        .arg(u.account)
                        .arg(u.computerId));
        }

        methods::MethodTable table;
        methods::registerAllMethods(table);
        methods::ServerSettings settings;
        settings.clientVersion = options.clientVersion;

        // From here SIGINT/SIGTERM are taken by sigwait below; the serving threads inherit
        // the blocked mask. Before, a signal ends the process at once (an interrupted demo
        // fill is rolled back by the database).
        pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
        http::B2BServer server(store, table, settings, faults, options.threads);
        QString error;
        if (!server.start(options.host, options.port, options.webPort, &error)) {
            say(error);
            return 1;
        }
        const http::Ports ports = server.ports();
        std::printf("ready %d %d\n", ports.call, ports.web);
        std::fflush(stdout);
        say(QStringLiteral("dinleniyor: uzak çağrılar http://%1:%2/datasnap/rest, web http://%1:%3/")
                .arg(options.host)
                .arg(ports.call)
                .arg(ports.web));

        int signal = 0;
        sigwait(&stopSignals, &signal);
        say(QStringLiteral("durduruluyor (sinyal %1)").arg(signal));
        server.stop();
        store.closeThreadConnection();
    } catch (const std::exception &e) {
        say(QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

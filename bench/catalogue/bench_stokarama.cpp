// From Enter in the search box to the filled stock grid, in the real main window against
// the substitute server over a large catalogue, with the UI thread's longest stall.
//
//   bench_stokarama [--items 200000] [--runs 5] [--keep DIR]
// The catalogue is generated once per size into DIR (default: the temporary folder) and
// reused by later runs. Answers of 1,000 and 10,000 rows come from the empty search with
// the server's search limit set to that size.
#include "beklesinu.h"
#include "childprocess.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gridview.h"
#include "modaldialog.h"
#include "unit1.h"
#include "utils.h"
#include "utilsmachine.h"
#include "datasource.h"
#include "table.h"
#include "disip.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

bool sql(const QString &db, const QStringList &statements)
{
    bool ok = true;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        d.setDatabaseName(db);
        ok = d.open();
        QSqlQuery q(d);
        for (const QString &s : statements)
            if (ok && !q.exec(s)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(s), qPrintable(q.lastError().text()));
                ok = false;
            }
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

bool setLimit(const QString &db, int limit)
{
    return sql(db, {QStringLiteral("DELETE FROM ayarlar WHERE anahtar = 'stokaramalimit'"),
                    QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('stokaramalimit', '%1')").arg(limit)});
}

struct Olcum {
    double toplamMs = 0;   // Enter to the filled, painted grid
    double enUzunMs = 0;   // longest gap between UI-thread ticks meanwhile
    double tusMs = 0;      // the Enter handler: detach, update, start
    double boyamaMs = 0;   // painting the filled grid
    int satir = 0;
};

Olcum olc(TForm1 &f)
{
    QElapsedTimer saat;
    qint64 onceki = 0;
    qint64 enUzun = 0;
    QTimer tik;
    tik.setInterval(1);
    QObject::connect(&tik, &QTimer::timeout, [&] {
        const qint64 simdi = saat.nsecsElapsed();
        enUzun = std::max(enUzun, simdi - onceki);
        onceki = simdi;
    });
    f.araedit->setText(QString());
    saat.start();
    tik.start();
    QTest::keyClick(f.araedit, Qt::Key_Return);
    // The key handler itself runs on the UI thread: it counts as a stall too.
    const qint64 tus = saat.nsecsElapsed();
    enUzun = std::max(enUzun, tus);
    onceki = saat.nsecsElapsed();
    while (!f.araedit->isEnabled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qint64 dolu = saat.nsecsElapsed();
    f.cxGrid1DBTableView1->repaint();
    const qint64 son = saat.nsecsElapsed();
    enUzun = std::max(enUzun, son - onceki);
    tik.stop();
    Olcum o;
    o.toplamMs = double(son) / 1e6;
    o.enUzunMs = double(enUzun) / 1e6;
    o.tusMs = double(tus) / 1e6;
    o.boyamaMs = double(son - dolu) / 1e6;
    o.satir = f.stok->RecordCount();
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("items"), QStringLiteral("catalogue size"), QStringLiteral("N"),
                      QStringLiteral("200000")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("searches per size"), QStringLiteral("N"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("keep"), QStringLiteral("folder of the database"), QStringLiteral("DIR"),
                      QDir::tempPath()});
    parser.process(app);
    const int items = parser.value(QStringLiteral("items")).toInt();
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const QString db = QDir(parser.value(QStringLiteral("keep")))
                           .filePath(QStringLiteral("korvel-bench-stokarama-%1.sqlite").arg(items));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir::tempPath() + QStringLiteral("/korvel-bench-stokarama-config")));
    platform::SetBeepHook([](unsigned) {});

    const bool fresh = !QFile::exists(db);
    QElapsedTimer hazirlik;
    hazirlik.start();
    testsupport::ChildProcess server;
    QStringList args{QStringLiteral("--db"), db, QStringLiteral("--port"), QStringLiteral("0"),
                     QStringLiteral("--web-port"), QStringLiteral("0")};
    if (fresh)
        args << QStringLiteral("--demo") << QStringLiteral("--demo-stock") << QString::number(items);
    if (!server.start(QStringLiteral(KORVEL_SERVER_BIN), args, QStringLiteral("ready"), 30 * 60 * 1000)) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    if (fresh)
        std::printf("catalogue of %d items generated in %.1f s\n", items, double(hazirlik.elapsed()) / 1000.0);
    if (!sql(db, {QStringLiteral("INSERT OR REPLACE INTO kullanicilar (sirano, adi, sifre, musteritipi, aktif, carino, "
                                 "saticino) VALUES (990, 'BENCH', 'BENCH', 0, 1, (SELECT MIN(carino) FROM cariler), "
                                 "(SELECT MIN(saticino) FROM saticilar))"),
                  QStringLiteral("INSERT OR REPLACE INTO bilgisayarlar (bilgisayarid, sirano) VALUES ('%1', 990)")
                      .arg(BilgisayarIdAl())}))
        return 1;
    SetSunucuPortu(QString::number(server.port()));
    SetDisIpAdresi(QStringLiteral("http://127.0.0.1:%1/ip").arg(server.webPort()));

    testsupport::ModalDialogHelper dialogs(60000);
    testsupport::DialogAnswer login;
    login.button = QStringLiteral("Giriş");
    login.inspect = [](QWidget *form) {
        form->findChild<QLineEdit *>(QStringLiteral("adi"))->setText(QStringLiteral("BENCH"));
        form->findChild<QLineEdit *>(QStringLiteral("sifre"))->setText(QStringLiteral("BENCH"));
    };
    dialogs.expect(login);
    TForm1 f;
    if (!dialogs.waitDone()) {
        std::fprintf(stderr, "login: %s\n", qPrintable(dialogs.failure()));
        return 1;
    }
    f.show();
    QTest::qWait(200);
    std::printf("main window: %d px wide, narrowest possible %d px\n", f.width(), f.minimumSizeHint().width());

    {
        // The same tick on an idle UI thread: what the machine's load alone costs.
        QElapsedTimer saat;
        saat.start();
        qint64 onceki = 0, enUzun = 0;
        QTimer tik;
        tik.setInterval(1);
        QObject::connect(&tik, &QTimer::timeout, [&] {
            const qint64 simdi = saat.nsecsElapsed();
            enUzun = std::max(enUzun, simdi - onceki);
            onceki = simdi;
        });
        tik.start();
        QTest::qWait(1000);
        std::printf("idle UI thread, 1 s: longest gap between 1 ms ticks %.1f ms\n", double(enUzun) / 1e6);
    }

    for (const int rows : {1000, 10000}) {
        if (!setLimit(db, rows))
            return 1;
        olc(f); // warm-up: connection, server cache
        std::vector<double> toplam, durak, tus, boyama;
        int satir = 0;
        for (int i = 0; i < runs; ++i) {
            const Olcum o = olc(f);
            toplam.push_back(o.toplamMs);
            durak.push_back(o.enUzunMs);
            tus.push_back(o.tusMs);
            boyama.push_back(o.boyamaMs);
            satir = o.satir;
        }
        std::sort(toplam.begin(), toplam.end());
        std::sort(durak.begin(), durak.end());
        std::sort(tus.begin(), tus.end());
        std::sort(boyama.begin(), boyama.end());
        std::printf("%5d rows (%d found): Enter to filled grid median %.1f ms, max %.1f ms; "
                    "longest UI stall median %.1f ms, max %.1f ms\n",
                    rows, satir, toplam[toplam.size() / 2], toplam.back(), durak[durak.size() / 2], durak.back());
        // The continuation's share alone, without the pool thread competing for the cores:
        // the packet replaces the list while the view is detached, then the view is re-attached.
        std::vector<double> devam;
        const wire::Table paket = f.stok->ToTable();
        for (int i = 0; i < runs; ++i) {
            wire::Table kopya = paket;
            f.cxGrid1DBTableView1->SetDataSource(nullptr);
            f.cxGrid1DBTableView1->BeginUpdate();
            QElapsedTimer t;
            t.start();
            f.stok->DisableControls();
            f.stok->LoadFromTable(std::move(kopya));
            OndalikBicimle(*f.stok);
            f.stok->EnableControls();
            f.cxGrid1DBTableView1->SetDataSource(f.DataSource1);
            f.cxGrid1DBTableView1->EndUpdate();
            devam.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(devam.begin(), devam.end());
        std::printf("       continuation (load, re-attach, end update) median %.1f ms, max %.1f ms\n",
                    devam[devam.size() / 2], devam.back());
        std::printf("       Enter handler median %.1f ms; painting the filled grid median %.1f ms\n",
                    tus[tus.size() / 2], boyama[boyama.size() / 2]);
        std::fflush(stdout);
    }
    AsyncHavuzu()->waitForDone();
    server.stop();
    return 0;
}

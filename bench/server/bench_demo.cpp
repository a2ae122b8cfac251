// Time to create the demo database for a number of stock items (default 20000 and 200000).
#include "demodata.h"
#include "store.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The pictures are drawn with fonts as in the server, which need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QList<int> sizes;
    for (const QString &arg : app.arguments().mid(1))
        sizes.append(arg.toInt());
    if (sizes.isEmpty())
        sizes = {20000, 200000};

    QTemporaryDir dir;
    for (int size : sizes) {
        const QString path = dir.filePath(QStringLiteral("demo-%1.sqlite").arg(size));
        QElapsedTimer timer;
        timer.start();
        {
            store::Store s(store::Location::parse(path));
            s.open();
            store::fillDemoData(s, {size, 60, 1});
        }
        const double seconds = timer.elapsed() / 1000.0;
        std::printf("demo data, %d stock items, 60 accounts (SQLite): %.2f s, file %.1f MB\n", size, seconds,
                    QFileInfo(path).size() / 1048576.0);
        std::fflush(stdout);
    }
    return 0;
}

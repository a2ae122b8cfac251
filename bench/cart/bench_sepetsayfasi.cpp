// The cart page of the real main window against the local substitute server, with a cart
// of 200 lines:
//   - showing the page: from its activation to the end of the continuation (load in the
//     background, caption, totals, grid re-attached and laid out), repeated;
//   - "Hepsini Seç" and "Seçimleri Kaldır": one selection call per line, on the UI thread.
//
//   bench_sepetsayfasi [lines=200] [rounds=10]        (QT_QPA_PLATFORM=offscreen by default)
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gridview.h"
#include "sepetdb.h"
#include "unit1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Ozet {
    double min, median, max;
};

Ozet ozet(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

bool bekle(const std::function<bool()> &kosul, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!kosul()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int lines = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    platform::SetBeepHook([](unsigned) {});

    anapencere::Sunucu server;
    if (!server.baslat() || !server.kullaniciSec(0)) {
        std::fprintf(stderr, "server: %s\n", qPrintable(server.hata()));
        return 1;
    }
    auto form = anapencere::ac(0);
    if (!form)
        return 1;
    TForm1 &f = *form;
    f.resize(1634, 725);
    f.show();
    const int carino = f.sbilgi->CARINO();
    QList<carttest::SepetSatiri> satirlar;
    for (int i = 0; i < lines; ++i)
        satirlar.append({i % 2, 100.0 + i, 10.0, 18.0});
    if (!carttest::sepetiKur(carino, satirlar)) {
        std::fprintf(stderr, "cart: the catalogue has fewer than %d items\n", lines);
        return 1;
    }

    std::vector<double> goster;
    for (int r = 0; r < rounds + 1; ++r) {
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
        bekle([] { return AsyncHavuzu()->activeThreadCount() == 0; });
        QElapsedTimer t;
        t.start();
        f.sPageControl1->setCurrentWidget(f.ssepet);
        if (!bekle([&] { return f.cxGrid2->isEnabled(); }))
            return 2;
        QCoreApplication::sendPostedEvents(); // layout and the view's pending rebuild
        const double ms = t.nsecsElapsed() / 1e6;
        if (r > 0) // the first round warms the connection and the caches
            goster.push_back(ms);
    }
    if (f.sepet->RecordCount() != lines) {
        std::fprintf(stderr, "cart shows %d lines\n", f.sepet->RecordCount());
        return 1;
    }
    const Ozet g = ozet(goster);
    std::printf("cart page shown, %d lines (load + totals + grid): min %.1f ms, median %.1f ms, max %.1f ms "
                "over %d rounds; caption %s, total %s\n",
                lines, g.min, g.median, g.max, rounds,
                qPrintable(f.sPageControl1->tabText(f.sPageControl1->indexOf(f.ssepet))),
                qPrintable(f.geneltoplaml->text()));

    std::vector<double> sec, kaldir;
    for (int r = 0; r < std::max(1, rounds / 2); ++r) {
        QElapsedTimer t;
        t.start();
        f.Button4->click();
        sec.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        f.Button5->click();
        kaldir.push_back(t.nsecsElapsed() / 1e6);
    }
    const Ozet s = ozet(sec), k = ozet(kaldir);
    std::printf("Hepsini Seç, %d lines (one call each): min %.0f ms, median %.0f ms, max %.0f ms\n", lines, s.min,
                s.median, s.max);
    std::printf("Seçimleri Kaldır, %d lines: min %.0f ms, median %.0f ms, max %.0f ms\n", lines, k.min, k.median,
                k.max);
    return 0;
}

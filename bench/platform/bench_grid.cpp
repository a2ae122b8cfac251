// Figures for the stock list at its largest: a 50,000 x 35 stock-like table (decoded
// beforehand), loaded into a client dataset and shown in a grid view.
//   QT_QPA_PLATFORM=offscreen ./bench_grid
#include <clientdataset.h>
#include <datasource.h>
#include <gridexporter.h>
#include <gridview.h>
#include <table.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 50000;

long rssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Column layout of the stock search result: codes and names, prices, flags, counters.
wire::Table stockTable()
{
    using wire::ColumnType;
    struct Def {
        const char *name;
        ColumnType type;
    };
    const std::vector<Def> defs{
        {"DURUM", ColumnType::Int32},        {"OEM1", ColumnType::String},       {"OEM2", ColumnType::String},
        {"OEM3", ColumnType::String},        {"BARKOD", ColumnType::String},     {"FINISHKOD", ColumnType::String},
        {"ARAMA", ColumnType::String},       {"ADI", ColumnType::String},        {"OEM4", ColumnType::String},
        {"STOK_STOKNO", ColumnType::Int32},  {"URETICIKODU", ColumnType::String}, {"RESIM", ColumnType::Int32},
        {"BARKOD_BARKODNO", ColumnType::Int32}, {"DIGERADI", ColumnType::String}, {"DPKOD", ColumnType::String},
        {"OEMNO", ColumnType::String},       {"BIRIM", ColumnType::String},      {"MARKA", ColumnType::String},
        {"MODEL", ColumnType::String},       {"ANAGRUP", ColumnType::String},    {"OZELKOD", ColumnType::String},
        {"KALAN", ColumnType::Double},       {"PKOD", ColumnType::String},       {"KDV", ColumnType::Double},
        {"ALINANSIPARIS", ColumnType::Double}, {"VERILENSIPARIS", ColumnType::Double},
        {"LISTEFIYAT1", ColumnType::Double}, {"KAMPFIYAT", ColumnType::Double},  {"FIYAT", ColumnType::Double},
        {"Y", ColumnType::Int32},            {"K", ColumnType::Int32},           {"INDIRIMYAZI", ColumnType::String},
        {"NETFIYAT", ColumnType::Double},    {"KDVDAHIL", ColumnType::Double},   {"GUNCELLEME", ColumnType::DateTime},
    };
    const QStringList brands{"BOSCH", "VALEO", "SACHS", "MAHLE", "FEBİ", "LEMFÖRDER", "GATES", "NGK"};
    std::vector<wire::ColumnData> columns(defs.size());
    for (size_t c = 0; c < defs.size(); ++c) {
        wire::ColumnData &d = columns[c];
        d.info = {QString::fromLatin1(defs[c].name), defs[c].type, 50, true};
        d.nulls.assign(kRows, false);
        switch (defs[c].type) {
        case ColumnType::String:
            d.texts.reserve(kRows);
            for (int r = 0; r < kRows; ++r) {
                if (defs[c].name == QByteArrayLiteral("ADI") || defs[c].name == QByteArrayLiteral("DIGERADI"))
                    d.texts.push_back(QStringLiteral("ÖN FREN BALATASI SAĞ-SOL TAKIM %1 ŞANZIMAN").arg(r));
                else if (defs[c].name == QByteArrayLiteral("MARKA"))
                    d.texts.push_back(brands[r % brands.size()]);
                else
                    d.texts.push_back(QStringLiteral("%1-%2").arg(c).arg(r * 7919 % 1000003));
            }
            break;
        case ColumnType::Double:
            d.reals.reserve(kRows);
            for (int r = 0; r < kRows; ++r)
                d.reals.push_back((r * 37 % 100000) / 100.0 + c);
            break;
        default:
            d.ints.reserve(kRows);
            for (int r = 0; r < kRows; ++r)
                d.ints.push_back(defs[c].type == ColumnType::DateTime ? 1765400000000LL + r * 60000LL
                                 : defs[c].name == QByteArrayLiteral("DURUM") ? r % 6
                                                                               : r);
        }
    }
    wire::Table t;
    t.adoptColumns(std::move(columns), kRows);
    return t;
}

// Median and best of n runs, in milliseconds.
void report(const char *what, int n, const std::function<void()> &setup, const std::function<void()> &run,
            double target)
{
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-42s median %8.2f ms  best %8.2f ms", what, ms[ms.size() / 2], ms.front());
    if (target > 0)
        std::printf("  (target <= %g ms)", target);
    std::printf("  %d runs\n", n);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    const long emptyRss = rssKiB();
    {
        TClientDataSet ds;
        ds.LoadFromTable(stockTable());
        for (int i = 0; i < ds.FieldCount(); ++i)
            if (typeid(*ds.Fields(i)) == typeid(TFloatField))
                ds.Fields(i)->SetDisplayFormat(QStringLiteral("#,###,##0.00"));
        const long loadedRss = rssKiB();
        std::printf("dataset memory (%d x %d)                  %8.1f MB above the empty process (target <= 120 MB)\n",
                    ds.RecordCount(), ds.FieldCount(), (loadedRss - emptyRss) / 1024.0);
    }

    const wire::Table source = stockTable();
    wire::Table table;
    TClientDataSet ds;
    std::unique_ptr<TClientDataSet> fresh;
    report("LoadFromTable into an empty dataset", 5,
           [&] {
               table = source;
               fresh = std::make_unique<TClientDataSet>();
           },
           [&] { fresh->LoadFromTable(std::move(table)); }, 150);
    fresh.reset();
    report("LoadFromTable replacing 50,000 rows", 9, [&] { table = source; }, [&] { ds.LoadFromTable(std::move(table)); },
           150);
    report("CopyFromReader (copied)", 5, nullptr, [&] { ds.CopyFromReader(source); }, 150);
    for (int i = 0; i < ds.FieldCount(); ++i)
        if (typeid(*ds.Fields(i)) == typeid(TFloatField))
            ds.Fields(i)->SetDisplayFormat(QStringLiteral("#,###,##0.00"));

    TDataSource dataSource(&ds);
    TGridView view;
    for (const QString &name : ds.FieldNames())
        view.CreateColumn(name)->SetWidth(90);
    view.ColumnByFieldName("DURUM")->SetKind(TCellKind::ImageCombo);
    view.ColumnByFieldName("ADI")->SetKind(TCellKind::Label);
    view.SetDataRowHeight(60);
    view.SetHeaderHeight(40);
    view.SetFooterVisible(true);
    view.ColumnByFieldName("OEM1")->SetFooterSummary(TSummaryKind::Count);
    view.resize(1600, 900);
    view.show();
    QApplication::processEvents();

    report("attach + first paint", 5, [&] { view.SetDataSource(nullptr); },
           [&] {
               view.SetDataSource(&dataSource);
               view.grab();
           },
           50);
    QScrollBar *bar = view.TableView()->verticalScrollBar();
    int step = 0;
    report("one scroll step + repaint of the rows", 21, nullptr,
           [&] {
               bar->setValue(bar->value() + bar->singleStep() + (step++ % 3));
               view.TableView()->viewport()->grab();
           },
           16);
    report("ApplyBestFit (35 columns, sampled rows)", 5, nullptr, [&] { view.ApplyBestFit(); }, 100);
    TGridColumn *price = view.ColumnByFieldName("KDVDAHIL");
    report("footer sum over 50,000 rows", 9, [&] { price->SetFooterSummary(TSummaryKind::Sum); },
           [&] { (void)view.FooterText(price); }, 10);
    std::printf("footer sum text: %s\n", qPrintable(view.FooterText(price)));
    report("sort by a float column (header click)", 3, nullptr,
           [&] { view.TableView()->horizontalHeader()->sectionClicked(price->Index()); }, 0);
    {
        const QString file = QDir::temp().filePath(QStringLiteral("bench_grid_export.xlsx"));
        const long before = rssKiB();
        const std::clock_t cpu = std::clock();
        report("spreadsheet export, 50,000 x 35", 1, nullptr, [&] { TGridExporter::ExportToXlsx(view, file); }, 0);
        std::printf("export CPU time %.0f ms (wall time above includes waiting for a busy machine)\n",
                    double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
        std::printf("export file %.1f MB, process grew by %.1f MB\n", QFileInfo(file).size() / 1048576.0,
                    (rssKiB() - before) / 1024.0);
        QFile::remove(file);
    }
    std::printf("process memory with the view attached        %8.1f MB above the empty process\n",
                (rssKiB() - emptyRss) / 1024.0);
    return 0;
}

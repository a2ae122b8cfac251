// Decoding a stock-search answer: 10,000 rows x 35 columns from JSON text into wire::Table,
// against Qt's JSON parser alone on the same bytes.
//
//     build/bench/wire/bench_wire_table --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "codec.h"

#include <QJsonDocument>

#include <benchmark/benchmark.h>

namespace {

constexpr int rowCount = 10000;

wire::Table stockTable()
{
    using wire::ColumnType;
    static const char *const ints[] = {"STOK_STOKNO", "DURUM", "PAKET", "RESIMVAR", "KAMPANYA",
                                       "YENI", "SEPETTE", "GRUPNO", "MARKANO", "SIRANO"};
    static const char *const reals[] = {"KDV", "FIYAT1", "FIYAT2", "FIYAT3", "FIYAT4", "ISK1",
                                        "ISK2", "ISK3", "ISK4", "MIKTAR", "NETFIYAT", "KDVLIFIYAT"};
    static const char *const texts[] = {"KOD", "ADI", "MARKA", "OEM", "BIRIM", "DOVIZ", "RAF",
                                        "GRUP", "ALTGRUP", "ACIKLAMA", "ESDEGER", "ARACMODEL", "BARKOD"};
    static const QString words[] = {QStringLiteral("YAĞ FİLTRESİ"), QStringLiteral("HAVA FİLTRESİ"),
                                    QStringLiteral("FREN BALATASI ÖN"), QStringLiteral("DEBRİYAJ SETİ"),
                                    QStringLiteral("ŞANZIMAN YAĞI 75W-90"), QStringLiteral("AMORTİSÖR ARKA SOL"),
                                    QStringLiteral("TRİGER KAYIŞI"), QStringLiteral("BUJİ IRIDYUM")};
    wire::Table t;
    for (const char *n : ints)
        t.addColumn({QString::fromLatin1(n), ColumnType::Int32, 0, true});
    for (const char *n : reals)
        t.addColumn({QString::fromLatin1(n), ColumnType::Double, 0, true});
    for (const char *n : texts)
        t.addColumn({QString::fromLatin1(n), ColumnType::String, 60, true});
    t.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        t.appendRow();
        int c = 0;
        for (int i = 0; i < 10; ++i)
            t.setInt(r, c++, i == 0 ? 100000 + r : (r * 7 + i) % 1000);
        for (int i = 0; i < 12; ++i)
            t.setReal(r, c++, (r % 997) * 1.37 + i * 0.25);
        for (int i = 0; i < 13; ++i, ++c) {
            if ((r + i) % 17 == 0)
                continue; // some nulls, as the store leaves empty columns
            t.setText(r, c, words[(r + i) % 8] + QLatin1Char(' ') + QString::number(r));
        }
    }
    return t;
}

const QByteArray &stockJson()
{
    static const QByteArray json = wire::tableToJsonBytes(stockTable());
    return json;
}

void QtJsonParserAlone(benchmark::State &state)
{
    const QByteArray &json = stockJson();
    for (auto _ : state) {
        QJsonDocument doc = QJsonDocument::fromJson(json);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * json.size());
}

void TableFromJsonBytes(benchmark::State &state)
{
    const QByteArray &json = stockJson();
    for (auto _ : state) {
        wire::Table t = wire::tableFromJsonBytes(json);
        benchmark::DoNotOptimize(t);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * json.size());
}

// A whole call answer: split once, then the table entry straight into typed storage.
void CallAnswerWithTable(benchmark::State &state)
{
    const QByteArray answer = wire::resultToJsonBytes({stockJson()});
    for (auto _ : state) {
        const QList<QByteArray> entries = wire::splitResultArray(answer);
        wire::Table t = wire::tableFromJsonBytes(entries.first());
        benchmark::DoNotOptimize(t);
    }
}

// The QJsonValue entry point, for callers that already hold a parsed document.
void TableFromJsonValue(benchmark::State &state)
{
    const QJsonObject object = QJsonDocument::fromJson(stockJson()).object();
    for (auto _ : state) {
        wire::Table t = wire::tableFromJson(object);
        benchmark::DoNotOptimize(t);
    }
}

void TableToJsonBytes(benchmark::State &state)
{
    const wire::Table table = stockTable();
    for (auto _ : state) {
        QByteArray json = wire::tableToJsonBytes(table);
        benchmark::DoNotOptimize(json);
    }
}

} // namespace

BENCHMARK(QtJsonParserAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(TableFromJsonBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(CallAnswerWithTable)->Unit(benchmark::kMillisecond);
BENCHMARK(TableFromJsonValue)->Unit(benchmark::kMillisecond);
BENCHMARK(TableToJsonBytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// libFuzzer target over the wire decoders (built and run by bench/fuzz-wire, not by CMake).
// The first byte picks the decoder; the rest is the JSON text. Whatever decodes must encode
// and decode again to the same text, so a lossy or inconsistent codec shows up as a crash too.
#include "baglantiu.h"
#include "codec.h"
#include "mobilstokunit.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz-wire: %s\n", what);
        std::abort();
    }
}

// What we wrote ourselves must always read back.
template <class F>
auto mustDecode(F decode, const char *what)
{
    try {
        return decode();
    } catch (const wire::DecodeError &e) {
        std::fprintf(stderr, "fuzz-wire: %s: %s\n", what, e.what());
        std::abort();
    }
}

void tableTwice(const wire::Table &table)
{
    const QByteArray once = wire::tableToJsonBytes(table);
    const wire::Table again = mustDecode([&] { return wire::tableFromJsonBytes(once); }, "own table text unreadable");
    check(wire::tableToJsonBytes(again) == once, "table does not survive a second round trip");
    // QJsonValue keeps -0.0 as integer 0, so the object route is compared by value, not by text.
    const wire::Table viaValue =
        mustDecode([&] { return wire::tableFromJson(wire::tableToJson(table)); }, "own table object unreadable");
    check(viaValue.rowCount() == table.rowCount() && viaValue.columnCount() == table.columnCount(),
          "table object form changes the shape");
    for (int c = 0; c < table.columnCount(); ++c) {
        for (int r = 0; r < table.rowCount(); ++r)
            check(viaValue.value(r, c) == table.value(r, c), "table object form changes a cell");
    }
    // Read every cell through the typed accessors.
    for (int c = 0; c < table.columnCount(); ++c) {
        for (int r = 0; r < table.rowCount(); ++r) {
            (void)table.text(r, c);
            (void)table.value(r, c);
            (void)table.intValue(r, c);
            (void)table.realValue(r, c);
            (void)table.dateTime(r, c);
        }
    }
}

template <class T>
void recordTwice(const QJsonValue &value)
{
    std::unique_ptr<T> record;
    try {
        record = wire::decodeRecord<T>(value);
    } catch (const wire::DecodeError &) {
        return;
    }
    const QByteArray once = wire::recordToJsonBytes(record.get());
    const auto again =
        mustDecode([&] { return wire::decodeRecord<T>(wire::valueFromJsonBytes(once)); }, "own record text unreadable");
    check(wire::recordToJsonBytes(again.get()) == once, "record does not survive a second round trip");
    const auto viaValue =
        mustDecode([&] { return wire::decodeRecord<T>(wire::recordToJson(record.get())); }, "own record object unreadable");
    check(wire::recordToJsonBytes(viaValue.get()) == once, "record object form differs from the text form");
}

void records(const QJsonValue &value)
{
    recordTwice<TSonucBilgisi>(value);
    recordTwice<TSiparisDipAyrinti>(value);
    recordTwice<TTusSonuclari>(value);
    recordTwice<TMobilCariBilgisi>(value);
    recordTwice<TAcilisEkran>(value);
    recordTwice<TAcilisEkranlariki>(value);
}

void anyEntry(const QByteArray &json)
{
    try {
        tableTwice(wire::tableFromJsonBytes(json));
    } catch (const wire::DecodeError &) {
    }
    try {
        const QByteArray bytes = wire::streamFromJsonBytes(json);
        const QJsonArray array = wire::streamToJson(bytes);
        check(mustDecode([&] { return wire::streamFromJson(array); }, "own stream unreadable") == bytes,
              "stream round trip");
        check(mustDecode([&] { return wire::streamFromJsonBytes(wire::valueToJsonBytes(array)); },
                         "own stream text unreadable") == bytes,
              "stream text round trip");
    } catch (const wire::DecodeError &) {
    }
    try {
        records(wire::valueFromJsonBytes(json));
    } catch (const wire::DecodeError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int selector = data[0] % 4;
    const QByteArray json(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    try {
        switch (selector) {
        case 0:
            tableTwice(wire::tableFromJsonBytes(json));
            break;
        case 1: {
            // The value entry points, after Qt's own parser.
            const QJsonValue value = wire::valueFromJsonBytes(json);
            try {
                tableTwice(wire::tableFromJson(value));
            } catch (const wire::DecodeError &) {
            }
            try {
                (void)wire::streamFromJson(value);
            } catch (const wire::DecodeError &) {
            }
            records(value);
            break;
        }
        case 2:
            anyEntry(json);
            break;
        case 3:
            for (const QByteArray &entry : wire::splitResultArray(json))
                anyEntry(entry);
            break;
        }
    } catch (const wire::DecodeError &) {
        // The expected outcome for bad input.
    }
    return 0;
}

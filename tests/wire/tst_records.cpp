#include "baglantiu.h"
#include "codec.h"
#include "mobilstokunit.h"
#include "testmain.h"

#include <QRegularExpression>

#include <cstring>

#include <functional>
#include <limits>
#include <memory>

using wire::FieldKind;
using wire::FieldRef;
using wire::Record;

namespace {

using Factory = std::function<std::unique_ptr<Record>()>;

} // namespace
Q_DECLARE_METATYPE(Factory)
namespace {

template <class T>
Factory factory()
{
    return [] { return std::unique_ptr<Record>(std::make_unique<T>()); };
}

// Fills every scalar field with a value that depends on `seed`: Turkish text with
// characters JSON must escape, the ends of the 32-bit range, awkward doubles.
void fill(Record &r, int seed)
{
    static const QString texts[] = {QStringLiteral("ĞÜŞİÖÇ ğüşıöç \"tırnak\" \\ /\n\t€ 𝄞"),
                                    QStringLiteral("YAĞ FİLTRESİ"), QString()};
    static const qint32 ints[] = {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), -1, 0};
    static const double reals[] = {-1.7976931348623157e308, 4.9406564584124654e-324, 0.1, -1234567.891};
    int i = seed;
    for (const FieldRef &f : r.fields()) {
        ++i;
        switch (f.kind) {
        case FieldKind::String:
            *static_cast<QString *>(f.value) = texts[i % 3] + QString::number(i);
            break;
        case FieldKind::Integer:
            *static_cast<qint32 *>(f.value) = ints[i % 4];
            break;
        case FieldKind::Double:
            *static_cast<double *>(f.value) = reals[i % 4];
            break;
        case FieldKind::Boolean:
            *static_cast<bool *>(f.value) = i % 2;
            break;
        case FieldKind::RecordArray: {
            auto *items = static_cast<wire::RecordArrayAccess *>(f.value);
            for (int k = 0; k < 3; ++k)
                fill(items->append(), seed + k);
            break;
        }
        }
    }
}

// Field-by-field equality through the field lists (doubles compared bit for bit).
bool sameFields(const Record &a, const Record &b, QString *where)
{
    const QList<FieldRef> fa = a.fields(), fb = b.fields();
    if (fa.size() != fb.size())
        return false;
    for (qsizetype i = 0; i < fa.size(); ++i) {
        bool same = true;
        switch (fa[i].kind) {
        case FieldKind::String:
            same = *static_cast<QString *>(fa[i].value) == *static_cast<QString *>(fb[i].value);
            break;
        case FieldKind::Integer:
            same = *static_cast<qint32 *>(fa[i].value) == *static_cast<qint32 *>(fb[i].value);
            break;
        case FieldKind::Double:
            same = std::memcmp(fa[i].value, fb[i].value, sizeof(double)) == 0;
            break;
        case FieldKind::Boolean:
            same = *static_cast<bool *>(fa[i].value) == *static_cast<bool *>(fb[i].value);
            break;
        case FieldKind::RecordArray: {
            auto *x = static_cast<wire::RecordArrayAccess *>(fa[i].value);
            auto *y = static_cast<wire::RecordArrayAccess *>(fb[i].value);
            same = x->count() == y->count();
            for (int k = 0; same && k < x->count(); ++k)
                same = sameFields(x->at(k), y->at(k), where);
            break;
        }
        }
        if (!same) {
            *where = QString::fromLatin1(fa[i].name);
            return false;
        }
    }
    return true;
}

QStringList fieldNamesInJson(const QByteArray &json)
{
    // Keys directly inside "fields" of the outer record, in the order written.
    const int start = json.indexOf("\"fields\":{") + 10;
    QStringList names;
    static const QRegularExpression key(QStringLiteral("\"(F\\w+)\":"));
    auto it = key.globalMatch(QString::fromUtf8(json.mid(start)));
    while (it.hasNext())
        names << it.next().captured(1);
    return names;
}

const QStringList sonucBilgisiFields = {
    "FBILGISAYARID", "FSaticiMail", "FSirano", "FCariAdi", "FSIFRE", "FSaticiNo", "FCARINO",
    "FAKTIF", "FKullanicimail", "FADI", "FSaticiTelefon", "Fcarikod", "FVarmi", "FSaticiAdi",
    "FBilgiSayarAdi", "FDisip", "FIcip", "FBilgisayarKullanici", "FMusteriTipi", "FVersion"};

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newRecordDefaults();
    void kopyalaMakesIndependentCopy();
    void roundTrip_data();
    void roundTrip();
    void fieldNamesAndOrder_data();
    void fieldNamesAndOrder();
    void nestedRecordsNumberedInWriteOrder();
    void nullRecord();
    void rejectsMalformed_data();
    void rejectsMalformed();
    void ignoresUnknownExtraFields();
};

void RecordsTest::newRecordDefaults()
{
    const TSonucBilgisi s;
    QCOMPARE(s.MusteriTipi(), 1);
    QCOMPARE(s.Version(), 1);
    // Everything else starts empty, zero or false.
    for (const FieldRef &f : s.fields()) {
        const QByteArray name(f.name);
        if (name == "FMusteriTipi" || name == "FVersion")
            continue;
        switch (f.kind) {
        case FieldKind::String: QVERIFY2(static_cast<QString *>(f.value)->isEmpty(), f.name); break;
        case FieldKind::Integer: QVERIFY2(*static_cast<qint32 *>(f.value) == 0, f.name); break;
        case FieldKind::Boolean: QVERIFY2(!*static_cast<bool *>(f.value), f.name); break;
        default: QFAIL(f.name);
        }
    }
    QCOMPARE(TTusSonuclari().Goruldu(), 0);
    QCOMPARE(TMobilCariBilgisi().TLBAKIYE(), 0.0);
    QCOMPARE(TAcilisEkran().SiraNo(), 0);
    QVERIFY(TAcilisEkranlariki().Ekranlar().isEmpty());
}

void RecordsTest::kopyalaMakesIndependentCopy()
{
    TSonucBilgisi source;
    fill(source, 0);
    source.SetCARINO(4711);
    TSonucBilgisi copy;
    copy.Kopyala(source);
    QString where;
    QVERIFY2(sameFields(source, copy, &where), qPrintable(where));

    copy.SetCARINO(99);
    copy.SetCariAdi(QStringLiteral("BAŞKA CARİ"));
    QCOMPARE(source.CARINO(), 4711);
    QVERIFY(source.CariAdi() != copy.CariAdi());

    // The other records with Kopyala copy every field as well.
    TMobilCariBilgisi card, cardCopy;
    fill(card, 3);
    cardCopy.Kopyala(card);
    QVERIFY2(sameFields(card, cardCopy, &where), qPrintable(where));
    TSiparisDipAyrinti footer, footerCopy;
    fill(footer, 5);
    footerCopy.Kopyala(footer);
    QVERIFY2(sameFields(footer, footerCopy, &where), qPrintable(where));
    TTusSonuclari counts, countsCopy;
    fill(counts, 1);
    countsCopy.Kopyala(counts);
    QVERIFY2(sameFields(counts, countsCopy, &where), qPrintable(where));

    // A copied opening-screen list has its own elements and its own field access.
    TAcilisEkranlariki screens;
    fill(screens, 2);
    TAcilisEkranlariki screensCopy(screens);
    QVERIFY2(sameFields(screens, screensCopy, &where), qPrintable(where));
    static_cast<wire::RecordArrayAccess *>(screensCopy.fields().first().value)->clear();
    QCOMPARE(screens.Ekranlar().size(), 3);
}

void RecordsTest::roundTrip_data()
{
    QTest::addColumn<Factory>("make");
    QTest::newRow("TSonucBilgisi") << factory<TSonucBilgisi>();
    QTest::newRow("TSiparisDipAyrinti") << factory<TSiparisDipAyrinti>();
    QTest::newRow("TTusSonuclari") << factory<TTusSonuclari>();
    QTest::newRow("TMobilCariBilgisi") << factory<TMobilCariBilgisi>();
    QTest::newRow("TAcilisEkran") << factory<TAcilisEkran>();
    QTest::newRow("TAcilisEkranlariki") << factory<TAcilisEkranlariki>();
}

void RecordsTest::roundTrip()
{
    QFETCH(Factory, make);
    for (int seed = 0; seed < 4; ++seed) {
        const std::unique_ptr<Record> source = make();
        fill(*source, seed);
        QString where;

        const std::unique_ptr<Record> viaValue = make();
        wire::recordFromJson(wire::recordToJson(source.get()), *viaValue);
        QVERIFY2(sameFields(*source, *viaValue, &where), qPrintable(where));

        // The ordered text form, as it goes over the wire.
        const std::unique_ptr<Record> viaBytes = make();
        wire::recordFromJson(wire::valueFromJsonBytes(wire::recordToJsonBytes(source.get())), *viaBytes);
        QVERIFY2(sameFields(*source, *viaBytes, &where), qPrintable(where));
    }
}

void RecordsTest::fieldNamesAndOrder_data()
{
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("TSonucBilgisi") << factory<TSonucBilgisi>() << "baglantiu.TSonucBilgisi" << sonucBilgisiFields;
    QTest::newRow("TSiparisDipAyrinti")
        << factory<TSiparisDipAyrinti>() << "baglantiu.TSiparisDipAyrinti"
        << QStringList{"FSizinMesaj", "FDurumu", "FVeren", "FKargo", "FBizimMesaj", "FTeslimCinsi", "FKargoCinsi",
                       "FSaticiNotu"};
    QTest::newRow("TTusSonuclari") << factory<TTusSonuclari>() << "baglantiu.TTusSonuclari"
                                   << QStringList{"FAlindi", "FOnaylandi", "FParcaliHazirlandi", "FSevkEdildi",
                                                  "FHazirlandi", "FGoruldu"};
    QTest::newRow("TMobilCariBilgisi")
        << factory<TMobilCariBilgisi>() << "mobilstokunit.TMobilCariBilgisi"
        << QStringList{"FBILGISAYARID", "FSEHIR", "FFAX1", "FSATICIMAIL", "FSATICIADI", "FCARIADI",
                       "FEMAIL", "FVERGIDAIRESI", "FYETKILI", "FAltGrup", "FTEL2", "FSIFRE",
                       "FGSM", "FTEL1", "FADRES2", "FTLBORC", "FTLALACAK", "FADRES1",
                       "FULKE", "FAnaGrup", "FCARINO", "FTLBAKIYE", "FVERGINO", "FMAIL",
                       "FOzelKod", "FKULLANICIADI", "FSATICITELEFON", "FCARIKOD", "FFAX2", "FILCE"};
    QTest::newRow("TAcilisEkran") << factory<TAcilisEkran>() << "mobilstokunit.TAcilisEkran"
                                  << QStringList{"FSiraNo", "FResim", "FBaslik", "FArama"};
    QTest::newRow("TAcilisEkranlariki") << factory<TAcilisEkranlariki>() << "mobilstokunit.TAcilisEkranlariki"
                                        << QStringList{"FEkranlar"};
}

void RecordsTest::fieldNamesAndOrder()
{
    QFETCH(Factory, make);
    QFETCH(QString, type);
    QFETCH(QStringList, names);

    const std::unique_ptr<Record> r = make();
    QCOMPARE(r->typeName(), type);
    const QByteArray json = wire::recordToJsonBytes(r.get());
    QVERIFY2(json.startsWith(QByteArray("{\"type\":\"" + type.toLatin1() + "\",\"id\":1,\"fields\":{")), json.constData());
    QCOMPARE(fieldNamesInJson(json), names);
    // The object form carries the same names (QJsonObject keeps them sorted).
    QStringList sorted = names;
    sorted.sort();
    QCOMPARE(wire::recordToJson(r.get()).toObject().value(QLatin1String("fields")).toObject().keys(), sorted);
}

void RecordsTest::nestedRecordsNumberedInWriteOrder()
{
    TAcilisEkranlariki screens;
    TAcilisEkran a, b;
    a.SetBaslik(QStringLiteral("Kampanya"));
    b.SetSiraNo(2);
    screens.SetEkranlar({a, b});
    const QJsonObject json = wire::recordToJson(&screens).toObject();
    QCOMPARE(json.value(QLatin1String("id")).toInt(), 1);
    const QJsonArray list = json.value(QLatin1String("fields")).toObject().value(QLatin1String("FEkranlar")).toArray();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0).toObject().value(QLatin1String("id")).toInt(), 2);
    QCOMPARE(list.at(1).toObject().value(QLatin1String("id")).toInt(), 3);
    QVERIFY(wire::recordToJsonBytes(&screens).contains("\"FEkranlar\":[{\"type\":\"mobilstokunit.TAcilisEkran\",\"id\":2,"));
}

void RecordsTest::nullRecord()
{
    QVERIFY(wire::recordToJson(nullptr).isNull());
    QCOMPARE(wire::recordToJsonBytes(nullptr), QByteArray("null"));
    QVERIFY(!wire::decodeRecord<TSonucBilgisi>(QJsonValue(QJsonValue::Null)));
    QVERIFY(!wire::decodeRecord<TSonucBilgisi>(wire::valueFromJsonBytes("null")));
    // Anything but null must be a whole record.
    QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::decodeRecord<TSonucBilgisi>(QJsonValue(0)));
}

void RecordsTest::rejectsMalformed_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");

    // A good TSonucBilgisi with one field replaced by %1 (the whole "FCARINO":... pair).
    TSonucBilgisi good;
    const QByteArray base = wire::recordToJsonBytes(&good);
    auto with = [&](const QByteArray &carino) {
        QByteArray j = base;
        return j.replace("\"FCARINO\":0", carino);
    };

    QTest::newRow("array") << QByteArray("[1]") << "kayıt nesnesi bekleniyordu, dizi geldi";
    QTest::newRow("other type") << QByteArray(base).replace("baglantiu.TSonucBilgisi", "baglantiu.TTusSonuclari")
                                << "'baglantiu.TSonucBilgisi' türü bekleniyordu, 'baglantiu.TTusSonuclari' geldi";
    QTest::newRow("no type") << QByteArray(base).replace("\"type\"", "\"tip\"") << "'type' metni eksik";
    QTest::newRow("no fields") << QByteArray(R"({"type":"baglantiu.TSonucBilgisi","id":1})") << "'fields' nesnesi eksik";
    QTest::newRow("missing field") << with("\"FCARINOX\":0") << "FCARINO: alan eksik";
    QTest::newRow("string for integer") << with("\"FCARINO\":\"12\"") << "FCARINO: tamsayı bekleniyordu, metin geldi";
    QTest::newRow("fraction") << with("\"FCARINO\":1.5") << "FCARINO: tamsayı bekleniyordu, kesirli sayı geldi";
    QTest::newRow("above 32 bit") << with("\"FCARINO\":2147483648") << "FCARINO: sayı 32 bit tamsayı aralığının dışında";
    QTest::newRow("below 32 bit") << with("\"FCARINO\":-2147483649") << "FCARINO: sayı 32 bit";
    QTest::newRow("huge") << with("\"FCARINO\":1e300") << "FCARINO: sayı 32 bit";
    QTest::newRow("null field") << with("\"FCARINO\":null") << "FCARINO: tamsayı bekleniyordu, null geldi";
    QTest::newRow("number for string") << QByteArray(base).replace("\"FADI\":\"\"", "\"FADI\":5")
                                       << "FADI: metin bekleniyordu, sayı geldi";
    QTest::newRow("number for boolean") << QByteArray(base).replace("\"FVarmi\":false", "\"FVarmi\":0")
                                        << "FVarmi: true ya da false bekleniyordu";
    QTest::newRow("element of wrong type")
        << QByteArray(R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[)"
                      R"({"type":"baglantiu.TTusSonuclari","id":2,"fields":{}}]}})")
        << "FEkranlar[0]: 'mobilstokunit.TAcilisEkran' türü bekleniyordu";
    QTest::newRow("element list not array")
        << QByteArray(R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":{}}})")
        << "FEkranlar: kayıt dizisi bekleniyordu, nesne geldi";
}

void RecordsTest::rejectsMalformed()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);

    const bool listRecord = json.contains("TAcilisEkranlariki");
    std::unique_ptr<Record> target = listRecord ? factory<TAcilisEkranlariki>()() : factory<TSonucBilgisi>()();
    fill(*target, 1);
    const std::unique_ptr<Record> before = listRecord ? factory<TAcilisEkranlariki>()() : factory<TSonucBilgisi>()();
    fill(*before, 1);

    try {
        wire::recordFromJson(wire::valueFromJsonBytes(json), *target);
        QFAIL("accepted");
    } catch (const wire::DecodeError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    // Nothing of the bad value reached the target.
    QString where;
    QVERIFY2(sameFields(*before, *target, &where), qPrintable(where));
}

void RecordsTest::ignoresUnknownExtraFields()
{
    TTusSonuclari counts;
    counts.SetGoruldu(7);
    QByteArray json = wire::recordToJsonBytes(&counts);
    json.replace("\"FAlindi\"", "\"FYeniAlan\":[1,{\"a\":null}],\"FAlindi\"");
    TTusSonuclari decoded;
    wire::recordFromJson(wire::valueFromJsonBytes(json), decoded);
    QCOMPARE(decoded.Goruldu(), 7);
}

KORVEL_TEST_MAIN(RecordsTest)
#include "tst_records.moc"

#include "codec.h"
#include "table.h"
#include "testmain.h"

#include <cmath>
#include <limits>

using wire::ColumnType;
using wire::Table;

namespace {

// One column of every type, rows of extreme values, Turkish text and nulls.
Table sampleTable()
{
    Table t;
    t.addColumn({QStringLiteral("STOK_STOKNO"), ColumnType::Int32, 0, false});
    t.addColumn({QStringLiteral("HAREKETNO"), ColumnType::Int64, 0, true});
    t.addColumn({QStringLiteral("SEC"), ColumnType::Boolean, 0, true});
    t.addColumn({QStringLiteral("FIYAT"), ColumnType::Double, 0, true});
    t.addColumn({QStringLiteral("TUTAR"), ColumnType::Currency, 0, true});
    t.addColumn({QStringLiteral("ADI"), ColumnType::String, 100, true});
    t.addColumn({QStringLiteral("TARIH"), ColumnType::Date, 0, true});
    t.addColumn({QStringLiteral("KAYITZAMANI"), ColumnType::DateTime, 0, true});
    t.addColumn({QStringLiteral("RESIM"), ColumnType::Binary, 0, true});

    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(char(b));

    struct Row {
        qint64 i32, i64;
        bool flag;
        double real, money;
        QString text;
        QDate date;
        QDateTime stamp;
        QByteArray blob;
    };
    const Row rows[] = {
        {std::numeric_limits<qint32>::min(), std::numeric_limits<qint64>::min(), true, -1.7976931348623157e308, 0.1,
         QStringLiteral("YAĞ FİLTRESİ \"özel\" \\ / \n\t\x01 ışık"), QDate(1, 1, 1),
         QDateTime(QDate(1899, 12, 30), QTime(0, 0)), allBytes},
        {std::numeric_limits<qint32>::max(), std::numeric_limits<qint64>::max(), false, 4.9406564584124654e-324,
         123456789.12, QStringLiteral("𝄞 emoji ve € işareti ") + QChar(0xD800) /* lone surrogate */, QDate(9999, 12, 31),
         QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999)), QByteArray()},
        {0, 0, false, -0.5, -1e-7, QString(), QDate(1969, 12, 31), QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 1)),
         QByteArray("\x00", 1)},
    };
    for (const Row &r : rows) {
        const int i = t.appendRow();
        t.setInt(i, 0, r.i32);
        t.setInt(i, 1, r.i64);
        t.setInt(i, 2, r.flag);
        t.setReal(i, 3, r.real);
        t.setReal(i, 4, r.money);
        t.setText(i, 5, r.text);
        t.setDate(i, 6, r.date);
        t.setDateTime(i, 7, r.stamp);
        t.setBlob(i, 8, r.blob);
    }
    // A row of nulls (except the one non-nullable column).
    const int last = t.appendRow();
    t.setInt(last, 0, 7);
    return t;
}

void compareTables(const Table &a, const Table &b)
{
    QCOMPARE(b.columnCount(), a.columnCount());
    QCOMPARE(b.rowCount(), a.rowCount());
    for (int c = 0; c < a.columnCount(); ++c) {
        QCOMPARE(b.column(c).name, a.column(c).name);
        QCOMPARE(b.column(c).type, a.column(c).type);
        QCOMPARE(b.column(c).size, a.column(c).size);
        QCOMPARE(b.column(c).nullable, a.column(c).nullable);
        for (int r = 0; r < a.rowCount(); ++r) {
            const QByteArray where = a.column(c).name.toLatin1() + " row " + QByteArray::number(r);
            QVERIFY2(a.isNull(r, c) == b.isNull(r, c), where);
            QVERIFY2(a.value(r, c) == b.value(r, c), where);
        }
    }
}

const QByteArray descriptorTail = ",0,0,0,0,0,0,true,false,0,false,false]";

QByteArray oneColumn(int type, const QByteArray &values)
{
    return "{\"table\":[[\"A\"," + QByteArray::number(type) + descriptorTail + "],\"A\":" + values + "}";
}

} // namespace

class TablesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripEveryType();
    void keyOrderDoesNotMatter();
    void wireForm();
    void accessorsConvert();
    void buildingAndEditing();
    void rejectsMalformed_data();
    void rejectsMalformed();
};

void TablesTest::roundTripEveryType()
{
    const Table t = sampleTable();
    QCOMPARE(t.rowCount(), 4);
    compareTables(t, wire::tableFromJsonBytes(wire::tableToJsonBytes(t)));
    compareTables(t, wire::tableFromJson(wire::tableToJson(t)));
    // Both writers produce the same document.
    QCOMPARE(QJsonDocument::fromJson(wire::tableToJsonBytes(t)).object(), wire::tableToJson(t));
    QCOMPARE(wire::tableToJsonBytes(Table()), QByteArray("{\"table\":[]}"));
    QCOMPARE(wire::tableFromJsonBytes("{\"table\":[]}").columnCount(), 0);
}

void TablesTest::keyOrderDoesNotMatter()
{
    // Value arrays may come before the descriptors and unknown keys are skipped.
    const QByteArray json = "{\"B\":[\"Ç\",null],\"x\":{\"y\":[1,2]},\"A\":[1,2],\"table\":[[\"A\",6" + descriptorTail
        + ",[\"B\",26" + descriptorTail + "]}";
    const Table t = wire::tableFromJsonBytes(json);
    QCOMPARE(t.rowCount(), 2);
    QCOMPARE(t.indexOf(QStringLiteral("B")), 1);
    QCOMPARE(t.text(0, 1), QStringLiteral("Ç"));
    QVERIFY(t.isNull(1, 1));
    QCOMPARE(t.intValue(1, 0), 2);
}

void TablesTest::wireForm()
{
    Table t;
    t.addColumn({QStringLiteral("STOK_STOKNO"), ColumnType::Int32, 4, false});
    t.addColumn({QStringLiteral("ADI"), ColumnType::String, 100, true});
    t.addColumn({QStringLiteral("TARIH"), ColumnType::DateTime, 0, true});
    const int r = t.appendRow();
    t.setInt(r, 0, 101);
    t.setText(r, 1, QStringLiteral("YAĞ FİLTRESİ"));
    t.setDateTime(r, 2, QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3, 40)));
    t.appendRow();
    QCOMPARE(wire::tableToJsonBytes(t),
             QByteArray("{\"table\":[[\"STOK_STOKNO\",6,0,0,0,4,0,0,false,false,0,false,false],"
                        "[\"ADI\",26,0,0,0,100,0,0,true,false,0,false,false],"
                        "[\"TARIH\",11,0,0,0,0,0,0,true,false,0,false,false]],"
                        "\"STOK_STOKNO\":[101,null],\"ADI\":[\"YAĞ FİLTRESİ\",null],"
                        "\"TARIH\":[\"2024-03-05 09:07:03.040\",null]}"));
    // A value too small for a double reads as zero; only overflow is an error.
    QCOMPARE(wire::tableFromJsonBytes(oneColumn(7, "[1e-400]")).realValue(0, 0), 0.0);
    // Negative zero keeps its sign however it is written.
    for (const QByteArray &zero : {QByteArray("-0"), QByteArray("-0e300"), QByteArray("-0.0")}) {
        const wire::Table t = wire::tableFromJsonBytes(oneColumn(7, "[" + zero + "]"));
        QVERIFY2(std::signbit(t.realValue(0, 0)), zero.constData());
        QCOMPARE(wire::tableToJsonBytes(t), oneColumn(7, "[-0]"));
    }
}

void TablesTest::accessorsConvert()
{
    // Under the Turkish default locale, text() still writes '.' as the decimal point.
    const Table t = sampleTable();
    QCOMPARE(t.text(0, 4), QStringLiteral("0.1"));
    QCOMPARE(t.text(1, 4), QStringLiteral("123456789.12"));
    QCOMPARE(t.text(0, 6), QStringLiteral("0001-01-01"));
    QCOMPARE(t.text(1, 7), QStringLiteral("2024-02-29 23:59:59.999"));
    QCOMPARE(t.text(0, 2), QStringLiteral("True"));
    QCOMPARE(t.text(3, 5), QString());
    QCOMPARE(t.intValue(1, 4), 123456789);
    QCOMPARE(t.realValue(0, 0), -2147483648.0);
    QCOMPARE(t.date(1, 7), QDate(2024, 2, 29));
    QCOMPARE(t.dateTime(2, 7), QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 1)));
    QCOMPARE(t.value(0, 0).typeId(), int(QMetaType::Int));
    QCOMPARE(t.value(0, 1).typeId(), int(QMetaType::LongLong));
    QCOMPARE(t.value(0, 6).typeId(), int(QMetaType::QDate));
    QCOMPARE(t.blob(0, 8).size(), 256);
    QVERIFY(!t.value(3, 3).isValid());
    QCOMPARE(t.intValue(3, 3), 0);
}

void TablesTest::buildingAndEditing()
{
    Table t;
    t.addColumn({QStringLiteral("MIKTAR"), ColumnType::Double, 0, true});
    t.addColumn({QStringLiteral("SEC"), ColumnType::Int32, 0, true});
    t.addColumn({QStringLiteral("TARIH"), ColumnType::Date, 0, true});
    for (int i = 0; i < 3; ++i) {
        const int r = t.appendRow();
        t.setValue(r, 0, QVariant(QStringLiteral("2.5")));
        t.setValue(r, 1, QVariant(i));
        t.setValue(r, 2, QVariant(QDate(2024, 1, i + 1)));
    }
    t.setValue(1, 1, QVariant(QStringLiteral("iki")));   // not a number: null, not 0
    t.setValue(2, 0, QVariant());
    QCOMPARE(t.realValue(0, 0), 2.5);
    QVERIFY(t.isNull(1, 1));
    QVERIFY(t.isNull(2, 0));
    t.removeRow(0);
    QCOMPARE(t.rowCount(), 2);
    QCOMPARE(t.date(0, 2), QDate(2024, 1, 2));
    compareTables(t, wire::tableFromJsonBytes(wire::tableToJsonBytes(t)));
    t.clearRows();
    QCOMPARE(t.rowCount(), 0);
    QCOMPARE(t.columnCount(), 3);
}

void TablesTest::rejectsMalformed_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("syntax"); // a rule about the JSON text rather than the table

    const QByteArray a6 = "[\"A\",6" + descriptorTail;
    QTest::newRow("not JSON") << QByteArray("{\"table\":[}") << "Geçersiz JSON" << true;
    QTest::newRow("truncated") << oneColumn(26, "[\"YAĞ").left(40) << "Geçersiz JSON" << true;
    QTest::newRow("empty") << QByteArray() << "tablo nesnesi bekleniyordu" << true;
    QTest::newRow("array") << QByteArray("[]") << "tablo nesnesi bekleniyordu" << false;
    QTest::newRow("no descriptors") << QByteArray("{\"A\":[1]}") << "'table' sütun tanımları eksik" << false;
    QTest::newRow("short descriptor") << QByteArray("{\"table\":[[\"A\",6,0]],\"A\":[]}") << "13 öğe bekleniyordu, 3 geldi" << false;
    QTest::newRow("long descriptor") << QByteArray("{\"table\":[[\"A\",6,0,0,0,0,0,0,true,false,0,false,false,0]],\"A\":[]}")
                                     << "13 öğeden fazla" << false;
    QTest::newRow("unknown type code") << oneColumn(99, "[]") << "bilinmeyen sütun türü 99" << false;
    QTest::newRow("nullable not bool") << QByteArray("{\"table\":[[\"A\",6,0,0,0,0,0,0,1,false,0,false,false]],\"A\":[]}")
                                       << "'nullable' true ya da false olmalı" << false;
    QTest::newRow("duplicate column") << "{\"table\":[" + a6 + "," + a6 + "],\"A\":[]}" << "'A' sütunu iki kez tanımlı" << false;
    QTest::newRow("duplicate key") << "{\"table\":[" + a6 + "],\"A\":[],\"A\":[]}" << "'A' anahtarı iki kez geçiyor" << true;
    QTest::newRow("missing values") << "{\"table\":[" + a6 + "]}" << "'A' sütununun değerleri eksik" << false;
    QTest::newRow("ragged") << "{\"table\":[" + a6 + ",[\"B\",6" + descriptorTail + "],\"A\":[1,2],\"B\":[1]}"
                            << "sütunların uzunlukları farklı: 'A' 2 değer, 'B' 1 değer" << false;
    QTest::newRow("values not array") << oneColumn(6, "5") << "'A' sütununun değerleri dizi olmalı" << false;
    QTest::newRow("int32 overflow") << oneColumn(6, "[1,2147483648]") << "satır 2: sayı sütun türünün aralığı dışında" << false;
    QTest::newRow("int64 overflow") << oneColumn(18, "[9223372036854775808]") << "aralığı dışında" << false;
    QTest::newRow("fraction in int") << oneColumn(6, "[1.5]") << "kesirli sayı geldi" << false;
    QTest::newRow("text in int") << oneColumn(6, "[\"1\"]") << "tamsayı bekleniyordu" << false;
    QTest::newRow("number in text") << oneColumn(26, "[1]") << "metin bekleniyordu" << false;
    QTest::newRow("number in bool") << oneColumn(4, "[1]") << "true ya da false bekleniyordu" << false;
    QTest::newRow("huge double") << oneColumn(7, "[1e999]") << "sayı aralık dışında" << true;
    QTest::newRow("byte 256") << oneColumn(33, "[[0,256]]") << "0-255 aralığında değil" << false;
    QTest::newRow("byte -1") << oneColumn(33, "[[-1]]") << "0-255 aralığında değil" << false;
    QTest::newRow("byte fraction") << oneColumn(33, "[[1.5]]") << "0-255 aralığında değil" << false;
    QTest::newRow("impossible date") << oneColumn(2, "[\"2023-02-29\"]") << "geçersiz tarih '2023-02-29'" << false;
    QTest::newRow("date with time") << oneColumn(2, "[\"2024-01-01 10:00\"]") << "geçersiz tarih" << false;
    QTest::newRow("date-time without time") << oneColumn(11, "[\"2024-01-01\"]") << "geçersiz tarih-saat" << false;
    QTest::newRow("date-time hour 24") << oneColumn(11, "[\"2024-01-01 24:00:00.000\"]") << "geçersiz tarih-saat" << false;
    QTest::newRow("invalid UTF-8") << oneColumn(26, "[\"\xC3\x28\"]") << "geçersiz UTF-8" << true;
    QTest::newRow("overlong UTF-8") << oneColumn(26, "[\"\xC0\xAF\"]") << "geçersiz UTF-8" << true;
    QTest::newRow("raw control char") << oneColumn(26, "[\"a\nb\"]") << "denetim karakteri" << true;
    QTest::newRow("bad escape") << oneColumn(26, "[\"\\x\"]") << "geçersiz kaçış" << true;
    QTest::newRow("trailing data") << oneColumn(6, "[1]") + "x" << "fazladan veri" << true;
    QTest::newRow("leading zero") << oneColumn(6, "[01]") << "Geçersiz JSON" << true;
    QTest::newRow("deep nesting in skipped key")
        << "{\"x\":" + QByteArray(100000, '[') + "}" << "iç içe geçme çok derin" << true;
}

void TablesTest::rejectsMalformed()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QFETCH(bool, syntax);
    try {
        wire::tableFromJsonBytes(json);
        QFAIL("accepted");
    } catch (const wire::DecodeError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    // The QJsonValue entry point follows the same rules for the table itself.
    const QJsonDocument doc = QJsonDocument::fromJson(json);
    if (!syntax && doc.isObject())
        QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::tableFromJson(doc.object()));
}

KORVEL_TEST_MAIN(TablesTest)
#include "tst_tables.moc"

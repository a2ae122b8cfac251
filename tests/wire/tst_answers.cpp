#include "baglantiu.h"
#include "codec.h"
#include "testmain.h"

using wire::ColumnType;

class AnswersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void streamRoundTrip();
    void rejectsBadStreams_data();
    void rejectsBadStreams();
    void splitsCallAnswer();
    void rejectsBadAnswers_data();
    void rejectsBadAnswers();
    void scalarValues();
};

void AnswersTest::streamRoundTrip()
{
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes.append(char(i * 7));
    const QJsonArray array = wire::streamToJson(bytes);
    QCOMPARE(array.size(), 1000);
    QCOMPARE(array.at(1).toInt(), 7);
    QCOMPARE(array.at(37).toInt(), 259 % 256);
    QCOMPARE(wire::streamFromJson(array), bytes);
    QCOMPARE(wire::streamFromJsonBytes(wire::valueToJsonBytes(array)), bytes);
    QCOMPARE(wire::streamFromJsonBytes(" [ ] "), QByteArray());
    QCOMPARE(wire::streamFromJson(QJsonArray()), QByteArray());
}

void AnswersTest::rejectsBadStreams_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("256") << QByteArray("[1,256]") << "2. öğe 0-255 aralığında";
    QTest::newRow("negative") << QByteArray("[-1]") << "1. öğe 0-255 aralığında";
    QTest::newRow("fraction") << QByteArray("[0.5]") << "1. öğe 0-255 aralığında";
    QTest::newRow("text") << QByteArray("[\"1\"]") << "1. öğe";
    QTest::newRow("null element") << QByteArray("[1,null]") << "2. öğe";
    QTest::newRow("object") << QByteArray("{}") << "bayt dizisi bekleniyordu";
    QTest::newRow("truncated") << QByteArray("[1,2") << "Geçersiz JSON";
}

void AnswersTest::rejectsBadStreams()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    try {
        wire::streamFromJsonBytes(json);
        QFAIL("accepted by the text reader");
    } catch (const wire::DecodeError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]");
    if (!doc.isNull()) {
        try {
            wire::streamFromJson(doc.array().at(0));
            QFAIL("accepted by the value reader");
        } catch (const wire::DecodeError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }
}

void AnswersTest::splitsCallAnswer()
{
    // Out parameter (stream length), then a table, as a method with a stream or table answers.
    wire::Table table;
    table.addColumn({QStringLiteral("ADI"), ColumnType::String, 50, true});
    table.setText(table.appendRow(), 0, QStringLiteral("ŞANZIMAN YAĞI"));
    TSonucBilgisi record;
    record.SetCARINO(12);

    const QList<QByteArray> sent = {"3", wire::tableToJsonBytes(table), wire::recordToJsonBytes(&record), "null",
                                    wire::valueToJsonBytes(QStringLiteral("Tamam"))};
    const QByteArray answer = wire::resultToJsonBytes(sent);
    const QList<QByteArray> entries = wire::splitResultArray(answer);
    QCOMPARE(entries, sent);
    QCOMPARE(wire::valueFromJsonBytes(entries[0]).toInt(), 3);
    QCOMPARE(wire::tableFromJsonBytes(entries[1]).text(0, 0), QStringLiteral("ŞANZIMAN YAĞI"));
    QCOMPARE(wire::decodeRecord<TSonucBilgisi>(wire::valueFromJsonBytes(entries[2]))->CARINO(), 12);
    QVERIFY(!wire::decodeRecord<TSonucBilgisi>(wire::valueFromJsonBytes(entries[3])));
    QCOMPARE(wire::valueFromJsonBytes(entries[4]).toString(), QStringLiteral("Tamam"));

    // White space, other keys and an empty result.
    QCOMPARE(wire::splitResultArray(" { \"x\" : [ {} ] , \"result\" : [ 1 , [2] ] } "),
             (QList<QByteArray>{"1", "[2]"}));
    QVERIFY(wire::splitResultArray("{\"result\":[]}").isEmpty());
    QCOMPARE(wire::resultToJsonBytes({}), QByteArray("{\"result\":[]}"));
}

void AnswersTest::rejectsBadAnswers_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    QTest::newRow("error answer") << QByteArray("{\"error\":\"Metot bulunamadı\"}") << "Cevapta 'result' yok";
    QTest::newRow("not array") << QByteArray("{\"result\":{}}") << "'result' dizi değil";
    QTest::newRow("twice") << QByteArray("{\"result\":[],\"result\":[]}") << "iki kez";
    QTest::newRow("array") << QByteArray("[1]") << "JSON nesnesi değil";
    QTest::newRow("truncated entry") << QByteArray("{\"result\":[{\"table\":[") << "Geçersiz JSON";
    QTest::newRow("trailing") << QByteArray("{\"result\":[]}]") << "fazladan veri";
    QTest::newRow("HTML") << QByteArray("<html>502</html>") << "JSON nesnesi değil";
}

void AnswersTest::rejectsBadAnswers()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    try {
        wire::splitResultArray(json);
        QFAIL("accepted");
    } catch (const wire::DecodeError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
}

void AnswersTest::scalarValues()
{
    QCOMPARE(wire::valueFromJsonBytes("-2147483648").toInteger(), Q_INT64_C(-2147483648));
    QCOMPARE(wire::valueFromJsonBytes(" true ").toBool(), true);
    QCOMPARE(wire::valueToJsonBytes(QJsonValue(2.5)), QByteArray("2.5"));
    QCOMPARE(wire::valueToJsonBytes(QStringLiteral("İ\"")), QByteArray("\"İ\\\"\""));
    QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::valueFromJsonBytes("1,2"));
    QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::valueFromJsonBytes(""));
    QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::parseObject("[1]"));
    QCOMPARE(wire::parseObject("{\"a\":1}").value(QLatin1String("a")).toInt(), 1);
}

KORVEL_TEST_MAIN(AnswersTest)
#include "tst_answers.moc"

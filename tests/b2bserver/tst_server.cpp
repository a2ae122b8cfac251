// The substitute server as a separate process on loopback: handshake, every value kind
// through real methods, the error envelope, the session check, web paths, gzip,
// concurrent clients, fault injection and a clean stop.
#include "baglantiu.h"
#include "childprocess.h"
#include "codec.h"
#include "pgcluster.h"
#include "table.h"
#include "testmain.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>

#include <httplib.h>

#include <atomic>
#include <memory>

namespace {

struct Answer {
    int status = 0;  // 0: no HTTP answer at all (transport failure)
    QByteArray body;
    QString contentEncoding;
    QString contentType;
};

QByteArray methodPath(const QString &method, const QString &cls = QStringLiteral("TServerMethods1"))
{
    return QStringLiteral("/datasnap/rest/%1/%22%2%22").arg(cls, method).toUtf8();
}

Answer post(httplib::Client &client, const QByteArray &path, const QByteArray &body,
            const httplib::Headers &headers = {})
{
    Answer a;
    auto res = client.Post(path.constData(), headers, body.constData(), size_t(body.size()),
                           "application/json; charset=utf-8");
    if (!res)
        return a;
    a.status = res->status;
    a.body = QByteArray::fromStdString(res->body);
    a.contentEncoding = QString::fromStdString(res->get_header_value("Content-Encoding"));
    a.contentType = QString::fromStdString(res->get_header_value("Content-Type"));
    return a;
}

QByteArray params(const QJsonArray &values)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("_parameters"), values}}).toJson(QJsonDocument::Compact);
}

QJsonValue recordJson(const wire::Record &record)
{
    return wire::recordToJson(&record);
}

QString errorOf(const Answer &a)
{
    return QJsonDocument::fromJson(a.body).object().value(QStringLiteral("error")).toString();
}

} // namespace

class TestServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void handshake();
    void everyValueKind();
    void postgresBackend();
    void sessionRecordOfComputer();
    void malformedRequests_data();
    void malformedRequests();
    void oversizedBodyRefused();
    void sessionCheck_data();
    void sessionCheck();
    void largeAnswersAreCompressed();
    void concurrentClients();
    void webPaths();
    void faultInjection();
    void stopsCleanlyWithCallInFlight();
    void badOptionsExit_data();
    void badOptionsExit();

private:
    void checkValueKinds();
    Answer call(const QString &method, const QJsonArray &values, const httplib::Headers &headers = {});
    QList<QByteArray> results(const QString &method, const QJsonArray &values);
    TSonucBilgisi session(const QString &computerId);
    QStringList demoArguments(const QString &file) const;

    QTemporaryDir m_dir;
    testsupport::ChildProcess m_server;
    std::unique_ptr<httplib::Client> m_client;
};

QStringList TestServer::demoArguments(const QString &file) const
{
    return {QStringLiteral("--db"), m_dir.filePath(file), QStringLiteral("--port"), QStringLiteral("0"),
            QStringLiteral("--web-port"), QStringLiteral("0"), QStringLiteral("--demo"),
            QStringLiteral("--demo-stock"), QStringLiteral("400"), QStringLiteral("--demo-accounts"),
            QStringLiteral("12")};
}

void TestServer::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(KORVEL_SERVER_BIN)));
    QVERIFY(m_dir.isValid());
    const QStringList args = demoArguments(QStringLiteral("main.sqlite"))
                             << QStringLiteral("--client-version") << QStringLiteral("5")
                             << QStringLiteral("--register-computer") << QStringLiteral("TEST-PC")
                             << QStringLiteral("--as") << QStringLiteral("BAYI1002");
    QVERIFY2(m_server.start(QStringLiteral(KORVEL_SERVER_BIN), args), qPrintable(m_server.errorString()));
    QVERIFY(m_server.port() > 0);
    QVERIFY(m_server.webPort() > 0);
    m_client = std::make_unique<httplib::Client>("127.0.0.1", m_server.port());
}

Answer TestServer::call(const QString &method, const QJsonArray &values, const httplib::Headers &headers)
{
    return post(*m_client, methodPath(method), params(values), headers);
}

QList<QByteArray> TestServer::results(const QString &method, const QJsonArray &values)
{
    const Answer a = call(method, values);
    if (a.status != 200) {
        qWarning("%s: %d %s", qPrintable(method), a.status, a.body.constData());
        return {};
    }
    return wire::splitResultArray(a.body);
}

TSonucBilgisi TestServer::session(const QString &computerId)
{
    TSonucBilgisi record;
    const QList<QByteArray> r = results(QStringLiteral("BuyukGetir"), {computerId});
    if (r.size() == 1)
        wire::recordFromJson(wire::valueFromJsonBytes(r[0]), record);
    return record;
}

void TestServer::handshake()
{
    auto res = m_client->Get("/datasnap/rest/DSAdmin/GetPlatformName");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    const QJsonArray result = QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object().value(QStringLiteral("result")).toArray();
    QCOMPARE(result.size(), 1);
    QVERIFY(!result[0].toString().isEmpty());
}

void TestServer::everyValueKind()
{
    checkValueKinds();
}

// The same round trips against a server on a PostgreSQL database the test starts.
void TestServer::postgresBackend()
{
    PgCluster pg;
    bool missing = false;
    const QString problem = pg.start(&missing);
    if (missing)
        QSKIP(qPrintable(problem));
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QString error;
    const QString url = pg.createDatabase(&error);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    testsupport::ChildProcess server;
    QVERIFY2(server.start(QStringLiteral(KORVEL_SERVER_BIN),
                          {QStringLiteral("--db"), url, QStringLiteral("--port"), QStringLiteral("0"),
                           QStringLiteral("--web-port"), QStringLiteral("0"), QStringLiteral("--demo"),
                           QStringLiteral("--demo-stock"), QStringLiteral("400"), QStringLiteral("--demo-accounts"),
                           QStringLiteral("12")}),
             qPrintable(server.errorString()));
    auto sqliteClient = std::move(m_client);
    m_client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
    checkValueKinds();
    m_client = std::move(sqliteClient);
    QCOMPARE(server.stop(), 0);
}

void TestServer::checkValueKinds()
{
    // string
    QList<QByteArray> r = results(QStringLiteral("KayanYaziGetir"), {});
    QCOMPARE(r.size(), 1);
    QVERIFY(wire::valueFromJsonBytes(r[0]).toString().contains(QStringLiteral("<a href=")));

    // Integer
    r = results(QStringLiteral("AcilisReklamAdet"), {});
    QCOMPARE(r.size(), 1);
    QCOMPARE(wire::valueFromJsonBytes(r[0]).toInt(), 5);

    // reader: id and text by position
    r = results(QStringLiteral("TeslimVer"), {});
    QCOMPARE(r.size(), 1);
    wire::Table delivery = wire::tableFromJsonBytes(r[0]);
    QCOMPARE(delivery.rowCount(), 3);
    QCOMPARE(delivery.column(0).type, wire::ColumnType::Int32);
    QCOMPARE(delivery.column(1).type, wire::ColumnType::String);
    QVERIFY(!delivery.text(1, 1).isEmpty());

    // data packet: the cart with its server-computed amounts
    r = results(QStringLiteral("SepetVer2"), {1001});
    QCOMPARE(r.size(), 1);
    wire::Table cart = wire::tableFromJsonBytes(r[0]);
    QVERIFY(cart.rowCount() > 0);
    for (const char *name : {"SIRANO", "SEC", "STOKNO", "BARKOD", "STOKADI", "MARKA", "FINISHKOD", "MODEL", "MIKTAR",
                             "BIRIMFIYAT", "INDIRIMORANI1", "INDIRIMORANI4", "KDV", "TUTAR", "INDIRIMTUTAR",
                             "VERGITUTARI", "NETTUTAR", "INDIRIMYAZI", "DURUM", "VERILISTARIHI"})
        QVERIFY2(cart.indexOf(QLatin1String(name)) >= 0, name);
    const int tutar = cart.indexOf(QStringLiteral("TUTAR")), indirim = cart.indexOf(QStringLiteral("INDIRIMTUTAR")),
              net = cart.indexOf(QStringLiteral("NETTUTAR")), sec = cart.indexOf(QStringLiteral("SEC")),
              sirano = cart.indexOf(QStringLiteral("SIRANO"));
    for (int row = 0; row < cart.rowCount(); ++row)
        QCOMPARE(qRound64(cart.realValue(row, net) * 100),
                 qRound64((cart.realValue(row, tutar) - cart.realValue(row, indirim)) * 100));
    QVERIFY(cart.dateTime(0, cart.indexOf(QStringLiteral("VERILISTARIHI"))).isValid());

    // no result: the selection changes on the server
    const int line = int(cart.intValue(0, sirano));
    const int before = int(cart.intValue(0, sec));
    const Answer none = call(QStringLiteral("SepetSecimGuncelle"), {line, 1 - before});
    QCOMPARE(none.status, 200);
    QCOMPARE(QJsonDocument::fromJson(none.body).object().value(QStringLiteral("result")).toArray().size(), 0);
    cart = wire::tableFromJsonBytes(results(QStringLiteral("SepetVer2"), {1001}).value(0));
    QCOMPARE(int(cart.intValue(0, sec)), 1 - before);
    QCOMPARE(call(QStringLiteral("SepetSecimGuncelle"), {line, before}).status, 200);
    QCOMPARE(call(QStringLiteral("SepetSecimGuncelle"), {999999, 1}).status, 500);

    // record in, record out
    const TSonucBilgisi staff = session(QStringLiteral("KORVEL-DEMO-MURAT"));
    QVERIFY(staff.Varmi());
    r = results(QStringLiteral("TusSonuclariVer"), {recordJson(staff)});
    QCOMPARE(r.size(), 1);
    auto counts = wire::decodeRecord<TTusSonuclari>(wire::valueFromJsonBytes(r[0]));
    QVERIFY(counts);
    QVERIFY(counts->Alindi() + counts->Onaylandi() + counts->Goruldu() + counts->ParcaliHazirlandi() +
                counts->Hazirlandi() + counts->SevkEdildi() > 0);

    // stream with its Int64 size out value, before the result
    r = results(QStringLiteral("BannerResimVer2"), {});
    QCOMPARE(r.size(), 2);
    const qint64 size = qint64(wire::valueFromJsonBytes(r[0]).toDouble());
    QByteArray gif = wire::streamFromJsonBytes(r[1]);
    QCOMPARE(qint64(gif.size()), size);
    QBuffer buffer(&gif);
    QImageReader reader(&buffer);
    QCOMPARE(reader.format(), QByteArray("gif"));
    QVERIFY(!reader.read().isNull());
}

void TestServer::sessionRecordOfComputer()
{
    const TSonucBilgisi unknown = session(QStringLiteral("NO-SUCH-PC"));
    QVERIFY(!unknown.Varmi());
    QCOMPARE(unknown.BILGISAYARID(), QStringLiteral("NO-SUCH-PC"));

    // The computer registered on the command line, with the version the server expects.
    const TSonucBilgisi known = session(QStringLiteral("TEST-PC"));
    QVERIFY(known.Varmi());
    QCOMPARE(known.ADI(), QStringLiteral("BAYI1002"));
    QCOMPARE(known.CARINO(), 1002);
    QCOMPARE(known.MusteriTipi(), 0);
    QCOMPARE(known.AKTIF(), 1);
    QCOMPARE(known.Version(), 5);
    QVERIFY(!known.SIFRE().isEmpty());
    QVERIFY(!known.CariAdi().isEmpty());
    QVERIFY(!known.SaticiAdi().isEmpty());
}

void TestServer::malformedRequests_data()
{
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");

    const QString c = QStringLiteral("TServerMethods1");
    QTest::newRow("too few parameters") << c << "BuyukGetir" << QByteArray(R"({"_parameters":[]})") << 400;
    QTest::newRow("too many parameters") << c << "TeslimVer" << QByteArray(R"({"_parameters":[1]})") << 400;
    QTest::newRow("text for integer") << c << "SepetVer2" << QByteArray(R"({"_parameters":["1001"]})") << 400;
    QTest::newRow("fraction for integer") << c << "SepetVer2" << QByteArray(R"({"_parameters":[1.5]})") << 400;
    QTest::newRow("integer out of range") << c << "SepetVer2" << QByteArray(R"({"_parameters":[2147483648]})") << 400;
    QTest::newRow("number for text") << c << "BuyukGetir" << QByteArray(R"({"_parameters":[12]})") << 400;
    QTest::newRow("record of another type")
        << c << "TusSonuclariVer"
        << QByteArray(R"({"_parameters":[{"type":"baglantiu.TTusSonuclari","id":1,"fields":{}}]})") << 400;
    QTest::newRow("record missing fields")
        << c << "TusSonuclariVer"
        << QByteArray(R"({"_parameters":[{"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FADI":"X"}}]})") << 400;
    QTest::newRow("not json") << c << "TeslimVer" << QByteArray("{\"_parameters\":[") << 400;
    QTest::newRow("no parameter array") << c << "TeslimVer" << QByteArray(R"({"parameters":[]})") << 400;
    QTest::newRow("array document") << c << "TeslimVer" << QByteArray("[]") << 400;
    QTest::newRow("unknown method") << c << "SiparisSil" << QByteArray(R"({"_parameters":[]})") << 404;
    QTest::newRow("unknown class") << "TServerMethods2" << "TeslimVer" << QByteArray(R"({"_parameters":[]})") << 404;
}

void TestServer::malformedRequests()
{
    QFETCH(QString, cls);
    QFETCH(QString, method);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    const Answer a = post(*m_client, methodPath(method, cls), body);
    QCOMPARE(a.status, status);
    QVERIFY2(!errorOf(a).isEmpty(), a.body.constData());
    // The server keeps serving on the same connection.
    QCOMPARE(call(QStringLiteral("TeslimVer"), {}).status, 200);
}

void TestServer::oversizedBodyRefused()
{
    const QByteArray body = R"({"_parameters":[")" + QByteArray(1024 * 1024, 'A') + R"("]})";
    httplib::Client client("127.0.0.1", m_server.port());
    const Answer a = post(client, methodPath(QStringLiteral("BuyukGetir")), body);
    QCOMPARE(a.status, 413);
    QVERIFY(!errorOf(a).isEmpty());
    // Just under the limit is accepted.
    const QByteArray fits = R"({"_parameters":[")" + QByteArray(1000 * 1000, 'A') + R"("]})";
    QCOMPARE(post(client, methodPath(QStringLiteral("BuyukGetir")), fits).status, 200);
}

void TestServer::sessionCheck_data()
{
    QTest::addColumn<QString>("computer");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("error");  // empty: accepted

    QTest::newRow("customer, own account") << "KORVEL-DEMO-BAYI1001" << "" << "";
    QTest::newRow("staff, any account") << "KORVEL-DEMO-SELIN" << "carino" << "";
    QTest::newRow("no record") << "KORVEL-DEMO-BAYI1001" << "null" << "Oturum bilgisi gönderilmedi.";
    QTest::newRow("unknown computer") << "KORVEL-DEMO-BAYI1001" << "computer" << "Bu bilgisayar sistemde kayıtlı değil.";
    QTest::newRow("wrong password") << "KORVEL-DEMO-BAYI1001" << "password"
                                    << "Oturum bilgisi geçersiz, lütfen yeniden giriş yapın.";
    QTest::newRow("another user's number") << "KORVEL-DEMO-BAYI1001" << "sirano"
                                           << "Oturum bilgisi geçersiz, lütfen yeniden giriş yapın.";
    QTest::newRow("customer, other account") << "KORVEL-DEMO-BAYI1001" << "carino" << "Bu cari hesap için yetkiniz yok.";
    QTest::newRow("staff, missing account") << "KORVEL-DEMO-SELIN" << "no-account" << "Cari hesap bulunamadı.";
    QTest::newRow("inactive user") << "KORVEL-DEMO-ESKIBAYI" << "" << "Kullanıcı hesabınız pasif durumda.";
}

void TestServer::sessionCheck()
{
    QFETCH(QString, computer);
    QFETCH(QString, change);
    QFETCH(QString, error);
    TSonucBilgisi record = session(computer);
    QVERIFY(record.Varmi());
    if (change == QLatin1String("computer"))
        record.SetBILGISAYARID(QStringLiteral("SOMEONE-ELSE"));
    else if (change == QLatin1String("password"))
        record.SetSIFRE(record.SIFRE() + QLatin1Char('x'));
    else if (change == QLatin1String("sirano"))
        record.SetSirano(record.Sirano() + 1);
    else if (change == QLatin1String("carino"))
        record.SetCARINO(1005);
    else if (change == QLatin1String("no-account"))
        record.SetCARINO(99);
    const QJsonValue arg = change == QLatin1String("null") ? QJsonValue(QJsonValue::Null) : recordJson(record);
    const Answer a = call(QStringLiteral("TusSonuclariVer"), {arg});
    if (error.isEmpty()) {
        QCOMPARE(a.status, 200);
    } else {
        QCOMPARE(a.status, 500);
        QCOMPARE(errorOf(a), error);
    }
}

void TestServer::largeAnswersAreCompressed()
{
    const Answer plain = call(QStringLiteral("BannerResimVer2"), {});
    QCOMPARE(plain.status, 200);
    QVERIFY(plain.body.size() > 8 * 1024);
    QCOMPARE(plain.contentEncoding, QString());

    // httplib's client unpacks the body; the header tells what travelled.
    const Answer packed = call(QStringLiteral("BannerResimVer2"), {}, {{"Accept-Encoding", "gzip"}});
    QCOMPARE(packed.status, 200);
    QCOMPARE(packed.contentEncoding, QStringLiteral("gzip"));
    QCOMPARE(packed.body, plain.body);

    // Small answers stay as they are.
    const Answer small = call(QStringLiteral("TeslimVer"), {}, {{"Accept-Encoding", "gzip"}});
    QCOMPARE(small.contentEncoding, QString());
    QVERIFY(small.contentType.startsWith(QStringLiteral("application/json")));
}

// 16 clients, each on a connection of its own, reading and writing at once.
void TestServer::concurrentClients()
{
    const wire::Table cart = wire::tableFromJsonBytes(results(QStringLiteral("SepetVer2"), {1001}).value(0));
    QVERIFY(cart.rowCount() > 0);
    const int line = int(cart.intValue(0, cart.indexOf(QStringLiteral("SIRANO"))));
    const int port = m_server.port();
    std::atomic<int> good{0}, bad{0};
    QList<QThread *> threads;
    const int clients = 16, rounds = 15;
    for (int t = 0; t < clients; ++t) {
        threads.append(QThread::create([&, t] {
            httplib::Client client("127.0.0.1", port);
            for (int i = 0; i < rounds; ++i) {
                const Answer read = post(client, methodPath(QStringLiteral("BuyukGetir")),
                                         params({QStringLiteral("KORVEL-DEMO-BAYI1004")}));
                const Answer write = post(client, methodPath(QStringLiteral("SepetSecimGuncelle")),
                                          params({line, (t + i) % 2}));
                const bool ok = read.status == 200 && read.body.contains("BAYI1004") && write.status == 200;
                ok ? ++good : ++bad;
            }
        }));
    }
    for (QThread *t : threads)
        t->start();
    for (QThread *t : threads) {
        QVERIFY(t->wait(60000));
        delete t;
    }
    QCOMPARE(bad.load(), 0);
    QCOMPARE(good.load(), clients * rounds);
    QCOMPARE(call(QStringLiteral("SepetSecimGuncelle"), {line, 1}).status, 200);
}

void TestServer::webPaths()
{
    httplib::Client web("127.0.0.1", m_server.webPort());
    auto ip = web.Get("/ip");
    QVERIFY(ip);
    QCOMPARE(QByteArray::fromStdString(ip->body).trimmed(), QByteArray("127.0.0.1"));

    auto home = web.Get("/");
    QVERIFY(home);
    QCOMPARE(home->status, 200);
    QVERIFY(QString::fromStdString(home->body).contains(QStringLiteral("Korvel Oto")));

    // Find one item with a picture and one without by asking for the first few.
    int withPicture = 0, without = 0;
    for (int id = 100001; id < 100001 + 60 && (!withPicture || !without); ++id) {
        auto res = web.Get(("/resimgoster.ashx?id=" + std::to_string(id)).c_str());
        QVERIFY(res);
        if (res->status == 200) {
            withPicture = id;
            const QByteArray type = QByteArray::fromStdString(res->get_header_value("Content-Type"));
            QVERIFY2(type == "image/png" || type == "image/jpeg", type.constData());
            QVERIFY(!QImage::fromData(QByteArray::fromStdString(res->body)).isNull());
        } else {
            QCOMPARE(res->status, 404);
            QVERIFY(res->body.empty());
            without = id;
        }
    }
    QVERIFY(withPicture && without);
    for (const char *path : {"/resimgoster.ashx?id=abc", "/resimgoster.ashx", "/resimgoster.ashx?id=1"}) {
        auto res = web.Get(path);
        QVERIFY(res);
        QCOMPARE(res->status, 404);
        QVERIFY(res->body.empty());
    }
}

void TestServer::faultInjection()
{
    testsupport::ChildProcess faulty;
    const QStringList args = demoArguments(QStringLiteral("faulty.sqlite"))
                             << QStringLiteral("--fault") << QStringLiteral("refuse=2")
                             << QStringLiteral("--fault") << QStringLiteral("fail=KayanYaziGetir:Sunucu bakımda, lütfen bekleyin.")
                             << QStringLiteral("--fault") << QStringLiteral("truncate=BannerResimVer3:100")
                             << QStringLiteral("--fault") << QStringLiteral("garble=TeslimVer")
                             << QStringLiteral("--fault") << QStringLiteral("delay=150");
    QVERIFY2(faulty.start(QStringLiteral(KORVEL_SERVER_BIN), args), qPrintable(faulty.errorString()));

    // The first two connections are reset, the third one is served.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        httplib::Client client("127.0.0.1", faulty.port());
        auto res = client.Get("/datasnap/rest/DSAdmin/GetPlatformName");
        if (attempt < 3)
            QVERIFY2(!res, qPrintable(QStringLiteral("attempt %1 was served").arg(attempt)));
        else
            QVERIFY(res && res->status == 200);
    }

    httplib::Client client("127.0.0.1", faulty.port());
    QElapsedTimer timer;
    timer.start();
    Answer a = post(client, methodPath(QStringLiteral("KayanYaziGetir")), params({}));
    QVERIFY(timer.elapsed() >= 150);
    QCOMPARE(a.status, 500);
    QCOMPARE(errorOf(a), QStringLiteral("Sunucu bakımda, lütfen bekleyin."));

    a = post(client, methodPath(QStringLiteral("BannerResimVer3")), params({}));
    QCOMPARE(a.status, 200);
    const QList<QByteArray> r = wire::splitResultArray(a.body);
    QCOMPARE(r.size(), 2);
    QVERIFY(wire::valueFromJsonBytes(r[0]).toDouble() > 100);
    QCOMPARE(wire::streamFromJsonBytes(r[1]).size(), 100);

    a = post(client, methodPath(QStringLiteral("TeslimVer")), params({}));
    QCOMPARE(a.status, 200);
    QVERIFY_THROWS_EXCEPTION(wire::DecodeError, wire::splitResultArray(a.body));

    // Methods without a fault answer normally.
    QCOMPARE(post(client, methodPath(QStringLiteral("AcilisReklamAdet")), params({})).status, 200);
    QCOMPARE(faulty.stop(), 0);
}

void TestServer::stopsCleanlyWithCallInFlight()
{
    testsupport::ChildProcess server;
    const QStringList args = demoArguments(QStringLiteral("stop.sqlite")) << QStringLiteral("--fault")
                                                                          << QStringLiteral("delay=700");
    QVERIFY2(server.start(QStringLiteral(KORVEL_SERVER_BIN), args), qPrintable(server.errorString()));
    Answer inFlight;
    const int port = server.port();
    QThread *caller = QThread::create([&] {
        httplib::Client client("127.0.0.1", port);
        inFlight = post(client, methodPath(QStringLiteral("AcilisReklamAdet")), params({}));
    });
    caller->start();
    QThread::msleep(250);
    QCOMPARE(server.stop(10000), 0);
    QVERIFY(caller->wait(10000));
    delete caller;
    QCOMPARE(inFlight.status, 200);
    QCOMPARE(wire::valueFromJsonBytes(wire::splitResultArray(inFlight.body).value(0)).toInt(), 5);
}

void TestServer::badOptionsExit_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("port not a number") << QStringList{"--port", "abc"};
    QTest::newRow("unknown option") << QStringList{"--verbose"};
    QTest::newRow("unknown fault") << QStringList{"--fault", "explode=1"};
    QTest::newRow("fault for unknown method") << QStringList{"--fault", "fail=Yok:x"};
    QTest::newRow("truncate without stream") << QStringList{"--fault", "truncate=TeslimVer"};
    QTest::newRow("register without user") << QStringList{"--register-computer", "PC"};
}

void TestServer::badOptionsExit()
{
    QFETCH(QStringList, args);
    QProcess p;
    p.start(QStringLiteral(KORVEL_SERVER_BIN), args << QStringLiteral("--db") << m_dir.filePath(QStringLiteral("never.sqlite")));
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(p.readAllStandardOutput().isEmpty());  // never a ready line
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("never.sqlite"))));
}

KORVEL_TEST_MAIN(TestServer)
#include "tst_server.moc"

// Cart and order methods through the proxy: amounts with chained rates computed by the
// server, what customers may not set, refusals that write nothing, and sending the
// selected lines as an order, alone and concurrently, on SQLite and PostgreSQL.
#include <QSqlQuery>
#include <atomic>
#include <baglantiu.h>
#include <limits>
#include <pgcluster.h>
#include <proxim.h>
#include <sqlconnection.h>
#include <testmain.h>
#include <thread>

#include "methodsfixture.h"

using namespace methodstest;
using T = wire::ColumnType;

namespace {

// Staff of kind 2 acting for this account may set prices and rates.
constexpr int staffAccount = 1003;

int rowOf(const wire::Table &t, const QString &column, const QVariant &value)
{
    for (int r = 0; r < t.rowCount(); ++r) {
        if (cell(t, r, column) == value)
            return r;
    }
    return -1;
}

} // namespace

class CartMethods : public QObject {
    Q_OBJECT

    Server m_server;
    std::unique_ptr<platform::TSQLConnection> m_connection;
    std::unique_ptr<TServerMethods1Client> m_proxy;
    std::unique_ptr<TSonucBilgisi> m_customer;
    std::unique_ptr<TSonucBilgisi> m_staff;

    qint32 add(const TSonucBilgisi &who, int stokno, double miktar, double fiyat, double i1 = 0, double i2 = 0,
               double i3 = 0, double i4 = 0, const QString &barkod = QStringLiteral("B"),
               const QString &adi = QStringLiteral("A"))
    {
        return m_proxy->SepetEkle2(copyOf(who), who.CARINO(), stokno, barkod, adi, miktar, 20, fiyat, i1, who.Sirano(),
                                   0, i2, i3, i4);
    }
    int cartSize(int carino) { return m_proxy->SepetVer2(carino)->rowCount(); }
    int orderCount(int carino) { return m_proxy->OncekiSiparisler(carino)->rowCount(); }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        m_connection = m_server.connect();
        m_proxy = std::make_unique<TServerMethods1Client>(m_connection.get());
        m_customer = m_server.session(customer);
        m_staff = m_server.session(staffWithPrices);
        QVERIFY(m_customer && m_staff);
        m_staff->SetCARINO(staffAccount);
    }

    void init()
    {
        m_proxy->SepetHepsiniSil(copyOf(*m_customer));
        m_proxy->SepetHepsiniSil(copyOf(*m_staff));
    }

    void cartAnswersTheColumnsTheClientReads()
    {
        QCOMPARE(add(*m_customer, 100020, 2, 0), 1);
        const wire::Table t = *m_proxy->SepetVer2(1001);
        QCOMPARE(checkColumns(t, {{"SIRANO", T::Int32},        {"SEC", T::Int32},           {"STOKNO", T::Int32},
                                  {"BARKOD", T::String},       {"STOKADI", T::String},      {"MARKA", T::String},
                                  {"FINISHKOD", T::String},    {"MODEL", T::String},        {"MIKTAR", T::Double},
                                  {"BIRIMFIYAT", T::Double},   {"INDIRIMORANI1", T::Double}, {"INDIRIMORANI4", T::Double},
                                  {"KDV", T::Double},          {"TUTAR", T::Double},        {"INDIRIMTUTAR", T::Double},
                                  {"VERGITUTARI", T::Double},  {"NETTUTAR", T::Double},     {"NETBIRIMFIYAT", T::Double},
                                  {"INDIRIMYAZI", T::String},  {"VERILISTARIHI", T::DateTime}, {"VEREN", T::String},
                                  {"DURUM", T::Int32}}),
                 QString());
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(cell(t, 0, "SEC").toInt(), 1);
        QCOMPARE(cell(t, 0, "STOKNO").toInt(), 100020);
    }

    void amountsUseChainedRates_data()
    {
        QTest::addColumn<double>("miktar");
        QTest::addColumn<double>("fiyat");
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<QList<double>>("expected");  // TUTAR, INDIRIMTUTAR, NETTUTAR, VERGITUTARI, NETBIRIMFIYAT
        QTest::addColumn<QString>("text");
        QTest::newRow("10 then 5") << 2.0 << 100.0 << QList<double>{10, 5, 0, 0}
                                   << QList<double>{200, 29, 171, 34.2, 85.5} << "10+5";
        QTest::newRow("no rates") << 3.0 << 99.99 << QList<double>{0, 0, 0, 0}
                                  << QList<double>{299.97, 0, 299.97, 59.99, 99.99} << "0";
        QTest::newRow("fractions round half away") << 7.0 << 12.345 << QList<double>{12.5, 0, 0, 3}
                                                   << QList<double>{86.42, 13.07, 73.35, 14.67, 10.48} << "12,5+3";
        QTest::newRow("four halvings") << 1.0 << 1000.0 << QList<double>{50, 50, 50, 50}
                                       << QList<double>{1000, 937.5, 62.5, 12.5, 62.5} << "50+50+50+50";
    }

    void amountsUseChainedRates()
    {
        QFETCH(double, miktar);
        QFETCH(double, fiyat);
        QFETCH(QList<double>, rates);
        QFETCH(QList<double>, expected);
        QFETCH(QString, text);
        QCOMPARE(add(*m_staff, 100030, miktar, fiyat, rates[0], rates[1], rates[2], rates[3]), 1);
        const wire::Table t = *m_proxy->SepetVer2(staffAccount);
        QCOMPARE(t.rowCount(), 1);
        const char *columns[] = {"TUTAR", "INDIRIMTUTAR", "NETTUTAR", "VERGITUTARI", "NETBIRIMFIYAT"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(cell(t, 0, QString::fromLatin1(columns[i])).toDouble(), expected[i]);
        QCOMPARE(cell(t, 0, "INDIRIMYAZI").toString(), text);
        QCOMPARE(cell(t, 0, "BIRIMFIYAT").toDouble(), fiyat);
    }

    // A customer cannot choose its own price or rates: the catalogue's apply.
    void customersGetTheCataloguePrice()
    {
        const wire::Table stock = *m_proxy->StokAraGetirQuelpa(QStringLiteral("KRV-100040"), copyOf(*m_customer));
        QCOMPARE(stock.rowCount(), 1);
        QCOMPARE(add(*m_customer, 100040, 4, 0.01, 99, 99, 99, 99), 1);
        const wire::Table cart = *m_proxy->SepetVer2(1001);
        QCOMPARE(cell(cart, 0, "BIRIMFIYAT").toDouble(), cell(stock, 0, "FIYAT").toDouble());
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(cell(cart, 0, QStringLiteral("INDIRIMORANI%1").arg(i)).toDouble(),
                     cell(stock, 0, QStringLiteral("IND%1").arg(i)).toDouble());
        QCOMPARE(cell(cart, 0, "NETBIRIMFIYAT").toDouble(), cell(stock, 0, "NETFIYAT").toDouble());
    }

    void changingALineRecomputesIt()
    {
        QCOMPARE(add(*m_staff, 100050, 1, 50, 10), 1);
        const int line = cell(*m_proxy->SepetVer2(staffAccount), 0, "SIRANO").toInt();
        QCOMPARE(m_proxy->SepetGuncelle2(copyOf(*m_staff), staffAccount, 0, QStringLiteral("B"), QStringLiteral("A"), 4,
                                         20, 50, 10, m_staff->Sirano(), line, 0, 0, 0),
                 1);
        const wire::Table t = *m_proxy->SepetVer2(staffAccount);
        QCOMPARE(cell(t, 0, "MIKTAR").toDouble(), 4.0);
        QCOMPARE(cell(t, 0, "TUTAR").toDouble(), 200.0);
        QCOMPARE(cell(t, 0, "NETTUTAR").toDouble(), 180.0);
        // A line of another account is not this session's to change.
        QVERIFY(failureOf([&] {
                    m_proxy->SepetGuncelle2(copyOf(*m_customer), 1001, 0, QString(), QString(), 1, 20, 1, 0,
                                            m_customer->Sirano(), line, 0, 0, 0);
                }).contains(QStringLiteral("bulunamadı")));
    }

    void badLinesAreRefusedAndNothingIsWritten_data()
    {
        QTest::addColumn<int>("stokno");
        QTest::addColumn<double>("miktar");
        QTest::addColumn<double>("fiyat");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("barkodLength");
        QTest::addColumn<int>("nameLength");
        QTest::addColumn<int>("actingUser");  // 0: the session's
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("negative quantity") << 100060 << -1.0 << 10.0 << 0.0 << 1 << 1 << 0;
        QTest::newRow("zero quantity") << 100060 << 0.0 << 10.0 << 0.0 << 1 << 1 << 0;
        QTest::newRow("quantity not a number") << 100060 << nan << 10.0 << 0.0 << 1 << 1 << 0;
        QTest::newRow("infinite price") << 100060 << 1.0 << inf << 0.0 << 1 << 1 << 0;
        QTest::newRow("negative price") << 100060 << 1.0 << -5.0 << 0.0 << 1 << 1 << 0;
        QTest::newRow("rate over 100") << 100060 << 1.0 << 10.0 << 101.0 << 1 << 1 << 0;
        QTest::newRow("negative rate") << 100060 << 1.0 << 10.0 << -1.0 << 1 << 1 << 0;
        QTest::newRow("unknown stock") << 42 << 1.0 << 10.0 << 0.0 << 1 << 1 << 0;
        QTest::newRow("barcode longer than its column") << 100060 << 1.0 << 10.0 << 0.0 << 51 << 1 << 0;
        QTest::newRow("name longer than its column") << 100060 << 1.0 << 10.0 << 0.0 << 1 << 201 << 0;
        QTest::newRow("acting user not the session's") << 100060 << 1.0 << 10.0 << 0.0 << 1 << 1 << 2;
    }

    void badLinesAreRefusedAndNothingIsWritten()
    {
        QFETCH(int, stokno);
        QFETCH(double, miktar);
        QFETCH(double, fiyat);
        QFETCH(double, rate);
        QFETCH(int, barkodLength);
        QFETCH(int, nameLength);
        QFETCH(int, actingUser);
        const QString failure = failureOf([&] {
            m_proxy->SepetEkle2(copyOf(*m_staff), staffAccount, stokno, QString(barkodLength, QLatin1Char('8')),
                                QString(nameLength, u'Ş'), miktar, 20, fiyat, rate,
                                actingUser ? actingUser : m_staff->Sirano(), 0, 0, 0, 0);
        });
        QVERIFY(!failure.isEmpty());
        QCOMPARE(cartSize(staffAccount), 0);
    }

    void removingLinesKeepsThemWithTheReason()
    {
        QCOMPARE(add(*m_customer, 100070, 1, 0), 1);
        QCOMPARE(add(*m_customer, 100071, 1, 0), 1);
        const wire::Table t = *m_proxy->SepetVer2(1001);
        const int first = cell(t, 0, "SIRANO").toInt();
        // Another account's session cannot remove the line.
        auto other = m_server.session(otherCustomer);
        QVERIFY(!failureOf([&] { m_proxy->SepetSatirSil(std::move(other), first, QStringLiteral("x")); }).isEmpty());
        m_proxy->SepetSatirSil(copyOf(*m_customer), first, QStringLiteral("869-YAĞ FİLTRESİ"));
        QCOMPARE(cartSize(1001), 1);
        QSqlQuery q(m_server.database());
        QVERIFY(q.exec(QStringLiteral("SELECT aciklama FROM sepet_silinenler WHERE sepetsirano = %1").arg(first)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("869-YAĞ FİLTRESİ"));
        QVERIFY(!failureOf([&] { m_proxy->SepetSatirSil(copyOf(*m_customer), first, QString()); }).isEmpty());
        QCOMPARE(m_proxy->SepetHepsiniSil(copyOf(*m_customer)), 1);
        QCOMPARE(cartSize(1001), 0);
    }

    // The selected lines become the order with their amounts and open quantities; the
    // unselected line stays in the cart; with nothing selected the answer is false.
    void orderTakesOnlyTheSelectedLines()
    {
        for (int stokno : {100080, 100081, 100082})
            QCOMPARE(add(*m_customer, stokno, 3, 0), 1);
        const wire::Table cart = *m_proxy->SepetVer2(1001);
        const int keep = rowOf(cart, QStringLiteral("STOKNO"), 100081);
        m_proxy->SepetSecimGuncelle(cell(cart, keep, "SIRANO").toInt(), 0);
        const int ordersBefore = orderCount(1001);

        QVERIFY(m_proxy->SiparisKaydet(copyOf(*m_customer), 1001, 2, 1, QStringLiteral("Acil lütfen"),
                                       m_customer->Sirano(), 1));
        const wire::Table left = *m_proxy->SepetVer2(1001);
        QCOMPARE(left.rowCount(), 1);
        QCOMPARE(cell(left, 0, "STOKNO").toInt(), 100081);

        const wire::Table orders = *m_proxy->OncekiSiparisler(1001);
        QCOMPARE(orders.rowCount(), ordersBefore + 1);
        const int idno = cell(orders, 0, "IDNO").toInt();  // newest first
        QCOMPARE(cell(orders, 0, "VERENINNOTU").toString(), QStringLiteral("Acil lütfen"));
        QCOMPARE(cell(orders, 0, "DURUM").toString(), QStringLiteral("Alındı"));
        const wire::Table lines = *m_proxy->SiparisAyrintisi2(1001, idno);
        QCOMPARE(lines.rowCount(), 2);
        double tutar = 0;
        for (int r = 0; r < lines.rowCount(); ++r) {
            QVERIFY(cell(lines, r, "STOKNO").toInt() != 100081);
            QCOMPARE(cell(lines, r, "KALAN").toDouble(), 3.0);
            QCOMPARE(cell(lines, r, "TESLIMEDILEN").toDouble(), 0.0);
            QCOMPARE(cell(lines, r, "TUTAR").toDouble(),
                     cell(cart, rowOf(cart, QStringLiteral("STOKNO"), cell(lines, r, "STOKNO")), "TUTAR").toDouble());
            tutar += cell(lines, r, "TUTAR").toDouble();
        }
        QCOMPARE(cell(orders, 0, "TUTAR").toDouble(), std::round(tutar * 100) / 100);

        // Only the unselected line is left: nothing to send.
        QVERIFY(!m_proxy->SiparisKaydet(copyOf(*m_customer), 1001, 2, 1, QString(), m_customer->Sirano(), 1));
        QCOMPARE(orderCount(1001), ordersBefore + 1);
        QCOMPARE(cartSize(1001), 1);
    }

    void badOrderChoicesAreRefusedAndTheCartKept_data()
    {
        QTest::addColumn<int>("teslim");
        QTest::addColumn<int>("kargo");
        QTest::addColumn<int>("company");
        QTest::addColumn<int>("account");
        QTest::newRow("unknown delivery kind") << 99 << 1 << 1 << 1001;
        QTest::newRow("unknown cargo kind") << 1 << 99 << 1 << 1001;
        QTest::newRow("company of another cargo kind") << 1 << 1 << 5 << 1001;
        QTest::newRow("another account's cart") << 1 << 1 << 1 << 1002;
    }

    void badOrderChoicesAreRefusedAndTheCartKept()
    {
        QFETCH(int, teslim);
        QFETCH(int, kargo);
        QFETCH(int, company);
        QFETCH(int, account);
        QCOMPARE(add(*m_customer, 100090, 1, 0), 1);
        const int ordersBefore = orderCount(1001);
        QVERIFY(!failureOf([&] {
                     m_proxy->SiparisKaydet(copyOf(*m_customer), account, teslim, kargo, QString(),
                                            m_customer->Sirano(), company);
                 }).isEmpty());
        QCOMPARE(cartSize(1001), 1);
        QCOMPARE(orderCount(1001), ordersBefore);
    }
};

// Several clients send the same cart at once: exactly one order holds every line.
class ConcurrentOrders : public QObject {
    Q_OBJECT

    static void sendAtOnce(const Server &server, const QString &backend)
    {
        auto session = server.session(customer);
        QVERIFY(session);
        {
            auto connection = server.connect();
            TServerMethods1Client proxy(connection.get());
            proxy.SepetHepsiniSil(copyOf(*session));
            for (int i = 0; i < 30; ++i)
                QCOMPARE(proxy.SepetEkle2(copyOf(*session), 1001, 100100 + i, QString(), QString(), 1 + i % 4, 20, 0,
                                          0, session->Sirano(), 0, 0, 0, 0),
                         1);
        }
        const int before = [&] {
            auto connection = server.connect();
            TServerMethods1Client proxy(connection.get());
            return proxy.OncekiSiparisler(1001)->rowCount();
        }();

        constexpr int senders = 6;
        std::atomic<int> saved{0}, failed{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < senders; ++t) {
            threads.emplace_back([&] {
                try {
                    auto connection = server.connect();
                    TServerMethods1Client proxy(connection.get());
                    if (proxy.SiparisKaydet(copyOf(*session), 1001, 1, 1, backend, session->Sirano(), 1))
                        ++saved;
                } catch (...) {
                    ++failed;
                }
            });
        }
        for (std::thread &t : threads)
            t.join();
        QCOMPARE(failed.load(), 0);
        QCOMPARE(saved.load(), 1);

        auto connection = server.connect();
        TServerMethods1Client proxy(connection.get());
        const wire::Table orders = *proxy.OncekiSiparisler(1001);
        QCOMPARE(orders.rowCount(), before + 1);
        const wire::Table lines = *proxy.SiparisAyrintisi2(1001, cell(orders, 0, "IDNO").toInt());
        QCOMPARE(lines.rowCount(), 30);
        QCOMPARE(proxy.SepetVer2(1001)->rowCount(), 0);
    }

private Q_SLOTS:
    void onSqlite()
    {
        Server server;
        QString error;
        QVERIFY2(server.start(&error), qPrintable(error));
        sendAtOnce(server, QStringLiteral("sqlite"));
    }

    void onPostgres()
    {
        PgCluster cluster;
        bool skip = false;
        const QString problem = cluster.start(&skip);
        if (skip)
            QSKIP(qPrintable(problem));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QString error;
        const QString database = cluster.createDatabase(&error);
        QVERIFY2(!database.isEmpty(), qPrintable(error));
        Server server;
        QVERIFY2(server.start(&error, database), qPrintable(error));
        sendAtOnce(server, QStringLiteral("postgres"));
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testsupport::prepareTestEnvironment();
    int status = 0;
    {
        CartMethods cart;
        status |= QTest::qExec(&cart, argc, argv);
    }
    {
        ConcurrentOrders concurrent;
        status |= QTest::qExec(&concurrent, argc, argv);
    }
    return status;
}

#include "tst_cart.moc"

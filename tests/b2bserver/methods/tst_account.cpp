// Account and document methods through the proxy: the statement, order history and
// footer, invoices, collections with their PDF receipts, open balances and their
// changes, the report readers and the status and overdue texts.
#include <QBuffer>
#include <QSqlQuery>
#include <baglantiu.h>
#include <cmath>
#include <limits>
#include <proxim.h>
#include <sqlconnection.h>
#include <testmain.h>

#include "methodsfixture.h"

using namespace methodstest;
using T = wire::ColumnType;

namespace {

double days(const QDate &d)
{
    return double(QDate(1899, 12, 30).daysTo(d));
}

QVariant scalar(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

} // namespace

class AccountMethods : public QObject {
    Q_OBJECT

    Server m_server;
    std::unique_ptr<platform::TSQLConnection> m_connection;
    std::unique_ptr<TServerMethods1Client> m_proxy;
    std::unique_ptr<TSonucBilgisi> m_customer;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        m_connection = m_server.connect();
        m_proxy = std::make_unique<TServerMethods1Client>(m_connection.get());
        m_customer = m_server.session(customer);
        QVERIFY(m_customer);
    }

    void statementCarriesTheRunningBalance()
    {
        const wire::Table t = *m_proxy->CariEkstreVer(1001);
        QCOMPARE(checkColumns(t, {{"CARINO", T::Int32}, {"TARIH", T::Date},   {"TURADI", T::String}, {"EVRAK", T::String},
                                  {"BORC", T::Double},  {"ALACAK", T::Double}, {"KUR", T::String},   {"BAKIYE", T::Double},
                                  {"D", T::String},     {"IDNO", T::Int32},   {"ACIKLAMA", T::String}}),
                 QString());
        QCOMPARE(t.rowCount(), scalar(m_server.database(),
                                      QStringLiteral("SELECT COUNT(*) FROM cari_hareketler WHERE carino = 1001"))
                                   .toInt());
        double balance = 0;
        for (int r = 0; r < t.rowCount(); ++r) {
            balance += cell(t, r, "BORC").toDouble() - cell(t, r, "ALACAK").toDouble();
            QCOMPARE(cell(t, r, "BAKIYE").toDouble(), std::round(balance * 100) / 100);
            QCOMPARE(cell(t, r, "D").toString(), balance > 0.004 ? "B" : balance < -0.004 ? "A" : " ");
            if (r)
                QVERIFY(cell(t, r - 1, "TARIH").toDate() <= cell(t, r, "TARIH").toDate());
        }
        QCOMPARE(m_proxy->CariEkstreVer(424242)->rowCount(), 0);
    }

    void invoicesOpenFromTheStatement()
    {
        const wire::Table statement = *m_proxy->CariEkstreVer(1001);
        int invoice = 0;
        for (int r = 0; r < statement.rowCount() && !invoice; ++r) {
            if (cell(statement, r, "TURADI").toString().contains(QStringLiteral("Fatura")))
                invoice = cell(statement, r, "IDNO").toInt();
        }
        QVERIFY(invoice > 0);
        const wire::Table lines = *m_proxy->FaturaGetir(1001, invoice);
        QVERIFY(lines.rowCount() > 0);
        QCOMPARE(checkColumns(lines, {{"OEMNO", T::String},            {"STOKADI", T::String},
                                      {"STOKHAR_MIKTAR", T::Double},   {"STOKHAR_TLBIRIMFIYATI", T::Double},
                                      {"STOKHAR_TLTUTAR", T::Double},  {"STOKHAR_INDIRIM1", T::Double},
                                      {"KDV", T::Double},              {"STOKHAR_NETTLTUTAR", T::Double},
                                      {"STOKHAR_HAREKETTARIHI", T::Date}, {"STOKHAR_HAREKETTIPI2", T::String},
                                      {"SATICIADI", T::String},        {"EVRAKNO", T::String},
                                      {"STOKHAR_VADE", T::Int32},      {"STOKHAR_INDIRIM8", T::Double},
                                      {"IRSALIYEEVRAKNO", T::String},  {"IDNO", T::Int32}}),
                 QString());
        QVERIFY(!cell(lines, 0, "SATICIADI").toString().isEmpty());
        // Another account does not see the invoice.
        QCOMPARE(m_proxy->FaturaGetir(1002, invoice)->rowCount(), 0);

        const wire::Table totals = *m_proxy->FaturaAltGetir(invoice);
        QCOMPARE(totals.rowCount(), 1);
        double net = 0;
        for (int r = 0; r < lines.rowCount(); ++r)
            net += cell(lines, r, "STOKHAR_NETTLTUTAR").toDouble();
        QCOMPARE(cell(totals, 0, "MATRAH").toDouble(), std::round(net * 100) / 100);
        QCOMPARE(cell(totals, 0, "KDVDAHIL").toDouble(),
                 std::round((cell(totals, 0, "MATRAH").toDouble() + cell(totals, 0, "KDVTUTAR").toDouble()) * 100) /
                     100);
        QCOMPARE(cell(totals, 0, "TOPLAM").toDouble() - cell(totals, 0, "TOPLAMINDIRIM").toDouble(),
                 cell(totals, 0, "MATRAH").toDouble());
    }

    void cardPaymentsHaveAPdfReceipt()
    {
        const int collection = scalar(m_server.database(),
                                      QStringLiteral("SELECT idno FROM tahsilatlar WHERE sanalposno IS NOT NULL LIMIT 1"))
                                   .toInt();
        const int plain = scalar(m_server.database(),
                                 QStringLiteral("SELECT idno FROM tahsilatlar WHERE sanalposno IS NULL LIMIT 1"))
                              .toInt();
        QVERIFY(collection > 0 && plain > 0);
        const wire::Table rows = *m_proxy->Tahsilat(collection);
        QCOMPARE(rows.rowCount(), 1);
        QCOMPARE(checkColumns(rows, {{"Tarih", T::Date},      {"Türü", T::String},   {"Cins", T::String},
                                     {"Vade", T::Date},       {"Tutar", T::Double},  {"Açıklama", T::String},
                                     {"EvrakNo", T::String},  {"Ref", T::String},    {"Saat", T::String},
                                     {"Kur", T::String},      {"KurTL", T::Double},  {"Döviz Tutar", T::Double}}),
                 QString());
        QCOMPARE(m_proxy->SanalposSiranoVer(plain), 0);
        const int receipt = m_proxy->SanalposSiranoVer(collection);
        QVERIFY(receipt > 0);

        qint64 boy = -1;
        const QByteArray pdf = m_proxy->SAnalPosPdfVer(receipt, boy)->data();
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(boy, qint64(pdf.size()));

        QCOMPARE(m_proxy->SAnalPosPdfVer(999999, boy)->size(), 0);
        QCOMPARE(boy, qint64(0));
    }

    void orderHistoryAndFooter()
    {
        const wire::Table orders = *m_proxy->OncekiSiparisler(1001);
        QVERIFY(orders.rowCount() > 0);
        QCOMPARE(checkColumns(orders, {{"CARINO", T::Int32},    {"IDNO", T::Int32},       {"TARIH", T::Date},
                                       {"KUR", T::String},      {"KURTL", T::Double},     {"VERENIDNO", T::Int32},
                                       {"KARGO", T::String},    {"TESLIM", T::String},    {"VEREN", T::String},
                                       {"CARIKOD", T::String},  {"CARIADI", T::String},   {"VERGI", T::Double},
                                       {"NETTUTAR", T::Double}, {"TUTAR", T::Double},     {"DURUM", T::String},
                                       {"KARGOADI", T::String}, {"VERENINNOTU", T::String}, {"ALANNOTU", T::String}}),
                 QString());
        const int idno = cell(orders, 0, "IDNO").toInt();
        const wire::Table lines = *m_proxy->SiparisAyrintisi2(1001, idno);
        QVERIFY(lines.rowCount() > 0);
        QCOMPARE(checkColumns(lines, {{"VERILISTARIHI", T::DateTime}, {"SIRANO", T::Int32},     {"SIPARISNO", T::String},
                                      {"STOKNO", T::Int32},     {"BARKOD", T::String},          {"FINISHKOD", T::String},
                                      {"STOKADI", T::String},   {"MIKTAR", T::Double},          {"BIRIMFIYAT", T::Double},
                                      {"ILKFIYAT", T::Double},  {"TUTAR", T::Double},           {"INDIRIMYAZI", T::String},
                                      {"INDIRIMORANI1", T::Double}, {"INDIRIMTUTAR", T::Double}, {"NETBIRIMFIYAT", T::Double},
                                      {"KDV", T::Double},       {"VERGITUTARI", T::Double},     {"NETTUTAR", T::Double},
                                      {"IDNO", T::Int32},       {"VEREN", T::String},           {"STOK_STOKNO", T::Int32},
                                      {"TESLIMEDILEN", T::Double}, {"KALAN", T::Double},        {"STOKHAR_NO", T::Int32},
                                      {"ELDEKI", T::Double},    {"DURUM", T::Int32},            {"ALINANSIPARIS", T::Double},
                                      {"VERILENSIPARIS", T::Double}, {"ACIKLAMA", T::String},   {"MARKA", T::String}}),
                 QString());
        for (int r = 0; r < lines.rowCount(); ++r) {
            QCOMPARE(cell(lines, r, "IDNO").toInt(), idno);
            QCOMPARE(cell(lines, r, "KALAN").toDouble(),
                     cell(lines, r, "MIKTAR").toDouble() - cell(lines, r, "TESLIMEDILEN").toDouble());
        }
        QCOMPARE(m_proxy->SiparisAyrintisi2(1002, idno)->rowCount(), 0);

        const TSiparisDipAyrinti *dip = m_proxy->SiparisAytintisiDip(0, idno);
        QVERIFY(dip);
        QCOMPARE(dip->Durumu(), cell(orders, 0, "DURUM").toString());
        QCOMPARE(dip->Veren(), cell(orders, 0, "VEREN").toString());
        QCOMPARE(dip->Kargo(), cell(orders, 0, "KARGOADI").toString());
        QCOMPARE(dip->KargoCinsi(), cell(orders, 0, "KARGO").toString());
        QCOMPARE(dip->TeslimCinsi(), cell(orders, 0, "TESLIM").toString());
        QCOMPARE(dip->SizinMesaj(), cell(orders, 0, "VERENINNOTU").toString());
        QVERIFY(!m_proxy->SiparisAytintisiDip(0, 999999));
        QVERIFY(!m_proxy->SiparisAytintisiDip(1002, idno));

        const wire::Table all = *m_proxy->TumSiparislerVer(1001, 0);
        QCOMPARE(all.rowCount(), scalar(m_server.database(),
                                        QStringLiteral("SELECT COUNT(*) FROM siparis_satirlari WHERE carino = 1001"))
                                     .toInt());
        const int stokno = cell(lines, 0, "STOKNO").toInt();
        const wire::Table one = *m_proxy->TumSiparislerVer(1001, stokno);
        QVERIFY(one.rowCount() > 0);
        for (int r = 0; r < one.rowCount(); ++r)
            QCOMPARE(cell(one, r, "STOKNO").toInt(), stokno);
    }

    // Open balances: change the open quantity, the price (kind 2 only), delete.
    void balancesAndTheirChanges()
    {
        auto open = [&] { return *m_proxy->BakiyelerVer2(1001); };
        wire::Table t = open();
        QVERIFY(t.rowCount() > 0);
        for (int r = 0; r < t.rowCount(); ++r)
            QVERIFY(cell(t, r, "KALAN").toDouble() > 0);
        const int line = cell(t, 0, "SIRANO").toInt();
        const int stokno = cell(t, 0, "STOK_STOKNO").toInt();
        const int movement = cell(t, 0, "STOKHAR_NO").toInt();
        const double delivered = cell(t, 0, "TESLIMEDILEN").toDouble();
        const QString barkod = cell(t, 0, "BARKOD").toString();
        auto find = [&](const wire::Table &x) {
            for (int r = 0; r < x.rowCount(); ++r)
                if (cell(x, r, "SIRANO").toInt() == line)
                    return r;
            return -1;
        };

        m_proxy->BakiyeDegistir(copyOf(*m_customer), stokno, line, movement, 3, 3, barkod);
        t = open();
        int r = find(t);
        QVERIFY(r >= 0);
        QCOMPARE(cell(t, r, "KALAN").toDouble(), 3.0);
        QCOMPARE(cell(t, r, "MIKTAR").toDouble(), delivered + 3);
        QCOMPARE(cell(t, r, "TUTAR").toDouble(),
                 std::round((delivered + 3) * cell(t, r, "BIRIMFIYAT").toDouble() * 100) / 100);

        // Price changes need the price right of kind 2.
        QVERIFY(failureOf([&] {
                    m_proxy->BakiyeFiyatDegistir(copyOf(*m_customer), 0, line, movement, 3, 3, barkod, 1, 0);
                }).contains(QStringLiteral("yetkiniz yok")));
        auto priced = m_server.session(staffWithPrices);
        priced->SetCARINO(1001);
        m_proxy->BakiyeFiyatDegistir(copyOf(*priced), 0, line, movement, 3, 3, barkod, 200, 15);
        t = open();
        r = find(t);
        QCOMPARE(cell(t, r, "BIRIMFIYAT").toDouble(), 200.0);
        QCOMPARE(cell(t, r, "INDIRIMORANI1").toDouble(), 15.0);
        QCOMPARE(cell(t, r, "NETTUTAR").toDouble(), std::round((delivered + 3) * 170.0 * 100) / 100);

        // Bad values and other accounts' lines change nothing.
        QVERIFY(!failureOf([&] { m_proxy->BakiyeDegistir(copyOf(*m_customer), stokno, line, movement, -1, -1, barkod); })
                     .isEmpty());
        QVERIFY(!failureOf([&] {
                     m_proxy->BakiyeDegistir(m_server.session(otherCustomer), stokno, line, movement, 2, 2, barkod);
                 }).isEmpty());
        QCOMPARE(cell(open(), r, "KALAN").toDouble(), 3.0);

        m_proxy->BakiyeDuzenle(copyOf(*m_customer), stokno, line, movement, delivered + 3, 3, barkod);
        QCOMPARE(find(open()), -1);
        QCOMPARE(scalar(m_server.database(),
                        QStringLiteral("SELECT COUNT(*) FROM bakiye_islemleri WHERE siparissatirno = %1").arg(line))
                     .toInt(),
                 3);
        QVERIFY(!failureOf([&] { m_proxy->BakiyeDuzenle(copyOf(*m_customer), stokno, line, movement, 0, 0, barkod); })
                     .isEmpty());
    }

    void reportReadersCoverTheRange()
    {
        auto staffSession = m_server.session(staff);
        const QDate from(2026, 1, 1), until(2026, 12, 31);
        const wire::Table orders = *m_proxy->RaporAlinanSiparisler(copyOf(*staffSession), days(from), days(until));
        QCOMPARE(checkColumns(orders, {{"SATICIADI", T::String}, {"IDNO", T::Double},    {"CARINO", T::Int32},
                                       {"TARIH", T::Date},       {"KUR", T::String},     {"KURTL", T::Double},
                                       {"VERENIDNO", T::Int32},  {"KARGO", T::String},   {"TESLIM", T::String},
                                       {"VEREN", T::String},     {"CARIKOD", T::String}, {"CARIADI", T::String},
                                       {"DURUM", T::String},     {"KARGOADI", T::String}, {"VERGI", T::Double},
                                       {"NETTUTAR", T::Double},  {"TUTAR", T::Double}}),
                 QString());
        QCOMPARE(orders.rowCount(),
                 scalar(m_server.database(), QStringLiteral("SELECT COUNT(*) FROM siparisler WHERE tarih >= '2026-01-01' "
                                                            "AND tarih <= '2026-12-31'"))
                     .toInt());
        // A customer sees only its own orders; an empty range gives no rows.
        const wire::Table own = *m_proxy->RaporAlinanSiparisler(copyOf(*m_customer), days(from), days(until));
        QVERIFY(own.rowCount() > 0 && own.rowCount() < orders.rowCount());
        for (int r = 0; r < own.rowCount(); ++r)
            QCOMPARE(cell(own, r, "CARINO").toInt(), 1001);
        QCOMPARE(m_proxy->RaporAlinanSiparisler(copyOf(*staffSession), days(until), days(from))->rowCount(), 0);

        const wire::Table best = *m_proxy->RaporEnCokSatilanStoklar(copyOf(*staffSession), days(from), days(until));
        QCOMPARE(checkColumns(best, {{"BARKOD", T::String}, {"KOD", T::String},      {"ADI", T::String},
                                     {"DEPARTMAN", T::String}, {"MIKTAR", T::Double}, {"NETTUTAR", T::Double},
                                     {"TLVERGI", T::Double}, {"TUTAR", T::Double}}),
                 QString());
        QVERIFY(best.rowCount() > 0);
        for (int r = 1; r < best.rowCount(); ++r)
            QVERIFY(cell(best, r - 1, "MIKTAR").toDouble() >= cell(best, r, "MIKTAR").toDouble());

        QVERIFY(!failureOf([&] { m_proxy->RaporAlinanSiparisler(copyOf(*staffSession), -5, 1e12); }).isEmpty());
    }

    void statusTextIsTheBalance()
    {
        const double balance =
            scalar(m_server.database(),
                   QStringLiteral("SELECT SUM(borc - alacak) FROM cari_hareketler WHERE carino = 1001"))
                .toDouble();
        QCOMPARE(m_proxy->CariDurumVer(1001),
                 QLocale(QLocale::Turkish, QLocale::Turkey).toString(std::round(balance * 100) / 100, 'f', 2) +
                     QStringLiteral(" TL"));
        QVERIFY(!failureOf([&] { m_proxy->CariDurumVer(424242); }).isEmpty());
    }

    // Debts past their due day that the credits have not covered (oldest paid first).
    void overdueWarning_data()
    {
        QTest::addColumn<double>("credit");
        QTest::addColumn<QString>("expected");  // part of the warning; empty: no warning
        QTest::newRow("partly paid") << 400.0 << "600,00 TL";
        QTest::newRow("paid") << 1000.0 << "";
        QTest::newRow("only the later debt is left") << 1000.5 << "";
        QTest::newRow("nothing paid") << 0.0 << "1.000,00 TL";
    }

    void overdueWarning()
    {
        QFETCH(double, credit);
        QFETCH(QString, expected);
        QSqlDatabase db = m_server.database();
        QSqlQuery q(db);
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        const QString past = QDate::currentDate().addDays(-40).toString(Qt::ISODate);
        const QString future = QDate::currentDate().addDays(20).toString(Qt::ISODate);
        QVERIFY(q.exec(QStringLiteral("DELETE FROM cari_hareketler WHERE carino = 1009")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO cari_hareketler (carino, tarih, vadetarihi, turadi, borc, alacak) "
                                      "VALUES (1009, '%1', '%2', 'Satış Faturası', 1000, 0), "
                                      "(1009, '%3', '%4', 'Satış Faturası', 250, 0), "
                                      "(1009, '%3', '%3', 'Tahsilat', 0, %5)")
                           .arg(past, QDate::currentDate().addDays(-10).toString(Qt::ISODate), today, future)
                           .arg(credit)));
        const QString warning = m_proxy->CariVadeGunGecmismiBul(1009);
        if (expected.isEmpty())
            QCOMPARE(warning, QString());
        else
            QVERIFY2(warning.contains(expected), qPrintable(warning));
    }
};

KORVEL_TEST_MAIN(AccountMethods)
#include "tst_account.moc"

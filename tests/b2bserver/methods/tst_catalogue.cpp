// Catalogue methods through the proxy: the stock search against a brute-force filter of
// the whole catalogue, account prices with chained rates, refusals, package quantities,
// the new and campaign lists and the stock movements.
#include <QSqlQuery>
#include <baglantiu.h>
#include <cmath>
#include <proxim.h>
#include <sqlconnection.h>
#include <testmain.h>

#include "methodsfixture.h"

using namespace methodstest;
using T = wire::ColumnType;

namespace {

// Upper case with the Turkish letters folded to Latin ones, as the search folds them.
QString fold(const QString &text)
{
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'ğ': case u'Ğ': out += QLatin1Char('G'); break;
        case u'ü': case u'Ü': out += QLatin1Char('U'); break;
        case u'ş': case u'Ş': out += QLatin1Char('S'); break;
        case u'ı': case u'İ': case u'i': out += QLatin1Char('I'); break;
        case u'ö': case u'Ö': out += QLatin1Char('O'); break;
        case u'ç': case u'Ç': out += QLatin1Char('C'); break;
        default: out += c.toUpper();
        }
    }
    return out;
}

// Words of a text (letters and digits), folded; a code also counts as a whole.
QStringList words(const QString &text)
{
    const QString folded = fold(text);
    QStringList list = folded.split(QRegularExpression(QStringLiteral("[^A-Z0-9]+")), Qt::SkipEmptyParts);
    list.append(QString(folded).remove(QRegularExpression(QStringLiteral("[^A-Z0-9]"))));
    return list;
}

bool matches(const wire::Table &t, int row, const QStringList &tokens)
{
    QStringList all;
    for (const char *column : {"FINISHKOD", "BARKOD", "OEM1", "OEM2", "OEM3", "OEM4", "URETICIKODU", "ADI", "DIGERADI"})
        all += words(cell(t, row, QString::fromLatin1(column)).toString());
    for (const QString &token : tokens) {
        const QString key = fold(token).remove(QRegularExpression(QStringLiteral("[^A-Z0-9]")));
        if (!std::any_of(all.begin(), all.end(), [&](const QString &w) { return w.startsWith(key); }))
            return false;
    }
    return true;
}

double round2(double v)
{
    return std::round(v * 100.0 + (v >= 0 ? 1e-9 : -1e-9)) / 100.0;
}

} // namespace

class CatalogueMethods : public QObject {
    Q_OBJECT

    Server m_server;
    std::unique_ptr<platform::TSQLConnection> m_connection;
    std::unique_ptr<TServerMethods1Client> m_proxy;
    std::unique_ptr<TSonucBilgisi> m_customer;
    wire::Table m_all;  // the whole catalogue as the customer's empty search lists it

    wire::Table search(const QString &text, const TSonucBilgisi &session)
    {
        return *m_proxy->StokAraGetirQuelpa(text, copyOf(session));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        m_connection = m_server.connect();
        m_proxy = std::make_unique<TServerMethods1Client>(m_connection.get());
        m_customer = m_server.session(customer);
        QVERIFY(m_customer && m_customer->Varmi());
        m_all = search(QString(), *m_customer);
    }

    void searchAnswersTheStockListColumns()
    {
        QCOMPARE(checkColumns(m_all, {{"DURUM", T::Int32},        {"OEM1", T::String},          {"BARKOD", T::String},
                                      {"FINISHKOD", T::String},   {"ARAMA", T::String},         {"ADI", T::String},
                                      {"STOK_STOKNO", T::Int32},  {"URETICIKODU", T::String},   {"RESIM", T::Int32},
                                      {"BARKOD_BARKODNO", T::Int32}, {"DIGERADI", T::String},   {"DPKOD", T::String},
                                      {"OEMNO", T::String},       {"BIRIM", T::String},         {"MARKA", T::String},
                                      {"MODEL", T::String},       {"ANAGRUP", T::String},       {"OZELKOD", T::String},
                                      {"KALAN", T::Double},       {"PKOD", T::String},          {"KDV", T::Double},
                                      {"ALINANSIPARIS", T::Double}, {"VERILENSIPARIS", T::Double},
                                      {"LISTEFIYAT1", T::Double}, {"KAMPFIYAT", T::Double},     {"FIYAT", T::Double},
                                      {"Y", T::Int32},            {"K", T::Int32},              {"INDIRIMYAZI", T::String},
                                      {"NETFIYAT", T::Double},    {"KDVDAHIL", T::Double},      {"IND1", T::Double},
                                      {"IND2", T::Double},        {"IND3", T::Double},          {"IND4", T::Double}}),
                 QString());
        // The empty text lists the first items by stock code; the demo has fewer than the limit.
        QCOMPARE(m_all.rowCount(), 400);
        for (int r = 1; r < m_all.rowCount(); ++r)
            QVERIFY(cell(m_all, r - 1, "FINISHKOD").toString() <= cell(m_all, r, "FINISHKOD").toString());
    }

    void searchFindsExactlyTheItemsWhoseWordsStartWithEveryToken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expectSome");
        QTest::newRow("code prefix, lower case, with separator") << "krv-10001" << true;
        QTest::newRow("Turkish letters typed as such") << "fren ön" << true;
        QTest::newRow("dotted capital I") << "FİLTRESİ" << true;
        QTest::newRow("two words of different fields") << "yag motor" << true;
        QTest::newRow("word from the other name") << "SÜZGECİ" << true;
        QTest::newRow("barcode prefix") << "869" << true;
        QTest::newRow("middle of a word does not match") << "ILTRE" << false;
        QTest::newRow("nothing") << "QQQZZZ" << false;
        QTest::newRow("blanks around") << "   fren   " << true;
    }

    void searchFindsExactlyTheItemsWhoseWordsStartWithEveryToken()
    {
        QFETCH(QString, text);
        QFETCH(bool, expectSome);
        const QStringList tokens = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QSet<int> expected;
        for (int r = 0; r < m_all.rowCount(); ++r) {
            if (matches(m_all, r, tokens))
                expected.insert(cell(m_all, r, "STOK_STOKNO").toInt());
        }
        const wire::Table found = search(text, *m_customer);
        QSet<int> got;
        for (int r = 0; r < found.rowCount(); ++r)
            got.insert(cell(found, r, "STOK_STOKNO").toInt());
        QCOMPARE(got, expected);
        QCOMPARE(!got.isEmpty(), expectSome);
    }

    void rowLimitComesFromTheSettings()
    {
        QSqlQuery set(m_server.database());
        QVERIFY(set.exec(QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('stokaramalimit', '25')")));
        const int limited = search(QString(), *m_customer).rowCount();
        QVERIFY(set.exec(QStringLiteral("DELETE FROM ayarlar WHERE anahtar = 'stokaramalimit'")));
        QCOMPARE(limited, 25);
    }

    // Net price: list price less the account's rates one after the other, then VAT on
    // top; brand rates of the account win; campaign items sell at their net campaign price.
    void pricesFollowTheAccountsRates()
    {
        QSqlQuery q(m_server.database());
        const QString brand = cell(m_all, 0, "MARKA").toString();
        q.prepare(QStringLiteral("INSERT INTO cari_marka_iskonto (carino, marka, iskonto1, iskonto2, iskonto3, "
                                 "iskonto4) VALUES (1001, ?, 10, 5, 2.5, 1)"));
        q.addBindValue(brand);
        QVERIFY(q.exec());
        const wire::Table t = search(QString(), *m_customer);
        QVERIFY(q.exec(QStringLiteral("DELETE FROM cari_marka_iskonto")));
        QVERIFY(q.exec(QStringLiteral("SELECT iskonto1, iskonto2, iskonto3, iskonto4 FROM cariler WHERE carino = 1001")));
        QVERIFY(q.next());
        const double accountRates[4] = {q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toDouble(),
                                        q.value(3).toDouble()};
        const double brandRates[4] = {10, 5, 2.5, 1};
        int campaigns = 0, branded = 0;
        for (int r = 0; r < t.rowCount(); ++r) {
            const bool campaign = cell(t, r, "K").toInt() == 1 && cell(t, r, "KAMPFIYAT").toDouble() > 0;
            const bool ofBrand = cell(t, r, "MARKA").toString() == brand;
            const double *rates = ofBrand ? brandRates : accountRates;
            double net = cell(t, r, "FIYAT").toDouble();
            for (int i = 0; i < 4; ++i) {
                const double rate = cell(t, r, QStringLiteral("IND%1").arg(i + 1)).toDouble();
                QCOMPARE(rate, campaign ? 0.0 : rates[i]);
                net -= net * rate / 100.0;
            }
            QCOMPARE(cell(t, r, "FIYAT").toDouble(),
                     campaign ? cell(t, r, "KAMPFIYAT").toDouble() : cell(t, r, "LISTEFIYAT1").toDouble());
            QCOMPARE(cell(t, r, "NETFIYAT").toDouble(), round2(net));
            QCOMPARE(cell(t, r, "KDVDAHIL").toDouble(),
                     round2(round2(net) * (1 + cell(t, r, "KDV").toDouble() / 100.0)));
            campaigns += campaign;
            branded += ofBrand && !campaign;
            if (ofBrand && !campaign)
                QCOMPARE(cell(t, r, "INDIRIMYAZI").toString(), QStringLiteral("10+5+2,5+1"));
        }
        QVERIFY(campaigns > 0);
        QVERIFY(branded > 0);
    }

    void searchRefusesSessionsTheStoreDoesNotAccept_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");  // empty: the right one
        QTest::addColumn<int>("account");       // 0: the user's own
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << customer << "yanlis" << 0 << "Oturum bilgisi geçersiz";
        QTest::newRow("customer for another account") << customer << "" << 1002 << "yetkiniz yok";
        QTest::newRow("withdrawn user") << "ESKIBAYI" << "" << 0 << "pasif";
        QTest::newRow("staff for an unknown account") << staff << "" << 999999 << "Cari hesap bulunamadı";
    }

    void searchRefusesSessionsTheStoreDoesNotAccept()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(int, account);
        QFETCH(QString, message);
        auto session = m_server.session(user);
        QVERIFY(session);
        if (!password.isEmpty())
            session->SetSIFRE(password);
        if (account)
            session->SetCARINO(account);
        const QString failure = failureOf([&] { m_proxy->StokAraGetirQuelpa(QStringLiteral("fren"), std::move(session)); });
        QVERIFY2(failure.contains(message), qPrintable(failure));
    }

    void unknownComputerAndMissingSessionAreRefused()
    {
        auto stranger = copyOf(*m_customer);
        stranger->SetBILGISAYARID(QStringLiteral("NOBODY-KNOWS-ME"));
        QVERIFY(failureOf([&] { m_proxy->StokAraGetirQuelpa(QString(), std::move(stranger)); })
                    .contains(QStringLiteral("kayıtlı değil")));
        QVERIFY(!failureOf([&] { m_proxy->StokAraGetirQuelpa(QString(), nullptr); }).isEmpty());
    }

    void packageQuantityIsTheItemsAndAtLeastOne()
    {
        QSqlQuery q(m_server.database());
        QVERIFY(q.exec(QStringLiteral("SELECT stokno, koliadet FROM stoklar WHERE koliadet > 1 LIMIT 1")));
        QVERIFY(q.next());
        QCOMPARE(m_proxy->EnVer(q.value(0).toInt()), q.value(1).toInt());
        QVERIFY(q.exec(QStringLiteral("UPDATE stoklar SET koliadet = 0 WHERE stokno = 100003")));
        QCOMPARE(m_proxy->EnVer(100003), 1);
        QVERIFY(failureOf([&] { m_proxy->EnVer(42); }).contains(QStringLiteral("Stok bulunamadı")));
    }

    void newItemsListOnlyNewItemsWithTheirPrices()
    {
        const wire::Table t = *m_proxy->YenilerVer2(1001);
        QCOMPARE(checkColumns(t, {{"STOK_STOKNO", T::Int32}, {"BARKOD", T::String},    {"ADI", T::String},
                                  {"FINISHKOD", T::String},  {"MARKA", T::String},     {"MODEL", T::String},
                                  {"KDV", T::Double},        {"K", T::Int32},          {"FIYAT", T::Double},
                                  {"LISTEFIYAT1", T::Double}, {"KAMPFIYAT", T::Double}, {"INDIRIMYAZI", T::String},
                                  {"INDIRIM", T::Double},    {"NETFIYAT", T::Double},  {"KDVDAHIL", T::Double},
                                  {"IND1", T::Double},       {"IND4", T::Double},      {"KALAN", T::Double},
                                  {"ALINANSIPARIS", T::Double}, {"VERILENSIPARIS", T::Double}, {"BIRIM", T::String}}),
                 QString());
        QSqlQuery q(m_server.database());
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE yeni = 1")));
        QVERIFY(q.next());
        QCOMPARE(t.rowCount(), q.value(0).toInt());
        QVERIFY(t.rowCount() > 0);
    }

    void campaignItemsAreHiddenFromKindFour()
    {
        const wire::Table t = *m_proxy->KampanyaliVer2(1001, 0);
        QCOMPARE(checkColumns(t, {{"STOK_STOKNO", T::Int32}, {"ESKIFIYAT", T::Double}, {"FIYAT", T::Double},
                                  {"Y", T::Int32},           {"K", T::Int32},          {"RESIM", T::Int32},
                                  {"DURUM", T::Int32},       {"INDIRIMYAZI", T::String}, {"NETFIYAT", T::Double},
                                  {"KDVDAHIL", T::Double},   {"IND1", T::Double},      {"KDV", T::Double}}),
                 QString());
        QVERIFY(t.rowCount() > 0);
        for (int r = 0; r < t.rowCount(); ++r) {
            QCOMPARE(cell(t, r, "K").toInt(), 1);
            QVERIFY(cell(t, r, "FIYAT").toDouble() < cell(t, r, "ESKIFIYAT").toDouble());
        }
        QCOMPARE(m_proxy->KampanyaliVer2(1001, 4)->rowCount(), 0);
    }

    void stockMovementsOfTheAccount()
    {
        QSqlQuery q(m_server.database());
        QVERIFY(q.exec(QStringLiteral("SELECT carino, stokno, COUNT(*) FROM stok_hareketleri GROUP BY carino, stokno "
                                      "ORDER BY COUNT(*) DESC LIMIT 1")));
        QVERIFY(q.next());
        const wire::Table t = *m_proxy->StokHareketVer(q.value(0).toInt(), q.value(1).toInt());
        QCOMPARE(t.rowCount(), q.value(2).toInt());
        QCOMPARE(checkColumns(t, {{"BARKOD", T::String},      {"TARIH", T::Date},           {"TURU", T::String},
                                  {"EVRAKSERI", T::String},   {"EVRAKSIRA", T::Int32},      {"MIKTAR", T::Double},
                                  {"NETBIRIMFIYAT", T::Double}, {"KDVDAHILBIRIMFIYAT", T::Double},
                                  {"TLBIRIMFIYAT", T::Double}, {"TLVERGI", T::Double},      {"TLTUTAR", T::Double},
                                  {"INDIRIM1", T::Double},    {"INDIRIM8", T::Double},      {"TOPLAMINDIRIM", T::Double},
                                  {"TOPLAMMASRAF", T::Double}, {"NETTLTUTAR", T::Double},   {"STOKCARIKOD", T::String},
                                  {"KDVDAHILTUTAR", T::Double}, {"VADE", T::Int32},         {"SATICI", T::String}}),
                 QString());
        QCOMPARE(m_proxy->StokHareketVer(q.value(0).toInt(), 42)->rowCount(), 0);
    }
};

KORVEL_TEST_MAIN(CatalogueMethods)
#include "tst_catalogue.moc"

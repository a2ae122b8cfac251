// Desk, content and mail methods through the proxy: account lists and counts, the tab
// counts, PDF reports, opening-screen pictures and banners that decode, the mail outbox
// and the account card; and how long the proxy keeps what the server returned.
#include <QBuffer>
#include <QImage>
#include <QSqlQuery>
#include <baglantiu.h>
#include <mobilstokunit.h>
#include <proxim.h>
#include <sqlconnection.h>
#include <testmain.h>

#include "methodsfixture.h"

using namespace methodstest;
using T = wire::ColumnType;

namespace {

QVariant scalar(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        return QVariant();
    return q.value(0);
}

QSet<int> accountsOf(const wire::Table &t)
{
    QSet<int> set;
    for (int r = 0; r < t.rowCount(); ++r)
        set.insert(cell(t, r, "CARINO").toInt());
    return set;
}

QSet<int> accountsBy(QSqlDatabase db, const QString &sql)
{
    QSet<int> set;
    QSqlQuery q(db);
    if (q.exec(sql)) {
        while (q.next())
            set.insert(q.value(0).toInt());
    }
    return set;
}

} // namespace

class DeskMethods : public QObject {
    Q_OBJECT

    Server m_server;
    std::unique_ptr<platform::TSQLConnection> m_connection;
    std::unique_ptr<TServerMethods1Client> m_proxy;
    std::unique_ptr<TSonucBilgisi> m_staff;
    std::unique_ptr<TSonucBilgisi> m_customer;

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
        m_connection = m_server.connect();
        m_proxy = std::make_unique<TServerMethods1Client>(m_connection.get());
        m_staff = m_server.session(staff);
        m_customer = m_server.session(customer);
        QVERIFY(m_staff && m_customer);
    }

    void accountSearch()
    {
        const wire::Table all = *m_proxy->CariAra(copyOf(*m_staff), QString());
        QCOMPARE(checkColumns(all, {{"CARINO", T::Int32},     {"CARIKOD", T::String},     {"CARIADI", T::String},
                                    {"SATICISI", T::String},  {"TLBAKIYE", T::Double},    {"DURUM", T::String},
                                    {"YETKILI", T::String},   {"OZELKOD", T::String},     {"ANAGRUP", T::String},
                                    {"ALTGRUP", T::String},   {"ADRES1", T::String},      {"ADRES2", T::String},
                                    {"ILCE", T::String},      {"IL", T::String},          {"VERGIDAIRESI", T::String},
                                    {"VERGINO", T::String},   {"TEL1", T::String},        {"TEL2", T::String},
                                    {"FAX1", T::String},      {"FAX2", T::String},        {"GSM", T::String},
                                    {"EMAIL", T::String},     {"VADE", T::Int32},         {"INDIRIM", T::Double},
                                    {"KOD1", T::String},      {"VADEKONTROLGUN", T::Int32}, {"SEPET", T::Int32},
                                    {"ALINDI", T::Int32},     {"ONAYLANDI", T::Int32},    {"GORULDU", T::Int32},
                                    {"HAZIRLANDI", T::Int32}, {"PARCALIHAZIRLANDI", T::Int32}}),
                 QString());
        QCOMPARE(all.rowCount(), 10);
        for (int r = 0; r < all.rowCount(); ++r) {
            const int carino = cell(all, r, "CARINO").toInt();
            QCOMPARE(cell(all, r, "ALINDI").toInt(),
                     scalar(m_server.database(),
                            QStringLiteral("SELECT COUNT(*) FROM siparisler WHERE carino = %1 AND durum = 2").arg(carino))
                         .toInt());
            QCOMPARE(cell(all, r, "SEPET").toInt(),
                     scalar(m_server.database(), QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = %1").arg(carino))
                         .toInt());
        }
        // A word of a name typed in lower case with its Turkish letters finds that account.
        const QString name = cell(all, 0, "CARIADI").toString();
        const QString word = name.section(QLatin1Char(' '), 1, 1);
        const wire::Table found = *m_proxy->CariAra(copyOf(*m_staff), QLocale(QLocale::Turkish).toLower(word));
        QVERIFY(found.rowCount() > 0 && found.rowCount() <= all.rowCount());
        QVERIFY(accountsOf(found).contains(cell(all, 0, "CARINO").toInt()));
        QCOMPARE(m_proxy->CariAra(copyOf(*m_staff), QStringLiteral("QQQZZZ"))->rowCount(), 0);
        // A customer finds only its own account.
        QCOMPARE(accountsOf(*m_proxy->CariAra(copyOf(*m_customer), QString())), QSet<int>{1001});
    }

    void accountsByOrderState_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("sql");
        QTest::newRow("cart") << 1 << "SELECT DISTINCT carino FROM sepet";
        for (int state = 2; state <= 7; ++state)
            QTest::addRow("state %d", state) << state
                                             << QStringLiteral("SELECT DISTINCT carino FROM siparisler WHERE durum = %1")
                                                    .arg(state);
    }

    void accountsByOrderState()
    {
        QFETCH(int, code);
        QFETCH(QString, sql);
        const QSet<int> expected = accountsBy(m_server.database(), sql);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(accountsOf(*m_proxy->CariSepetVer(copyOf(*m_staff), code)), expected);
    }

    void countsForTheDesk()
    {
        QVERIFY(!failureOf([&] { m_proxy->CariSepetVer(copyOf(*m_staff), 8); }).isEmpty());
        QCOMPARE(m_proxy->SepetSayisi(copyOf(*m_staff)),
                 scalar(m_server.database(), QStringLiteral("SELECT COUNT(DISTINCT carino) FROM sepet")).toInt());
        QCOMPARE(m_proxy->SepetSayisi(copyOf(*m_customer)),
                 scalar(m_server.database(), QStringLiteral("SELECT COUNT(*) > 0 FROM sepet WHERE carino = 1001")).toInt());
    }

    void tabCounts_data()
    {
        QTest::addColumn<QString>("user");
        QTest::newRow("customer") << customer;
        QTest::newRow("kind 4 sees no campaigns") << kind4Customer;
    }

    void tabCounts()
    {
        QFETCH(QString, user);
        auto session = m_server.session(user);
        const int carino = session->CARINO();
        const wire::Table t = *m_proxy->BalonGetir(std::move(session));
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(t.columnCount(), 5);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(t.column(c).type, T::Int32);
        QCOMPARE(t.column(4).type, T::Double);
        QSqlDatabase db = m_server.database();
        QCOMPARE(t.intValue(0, 0), scalar(db, QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = %1").arg(carino)).toLongLong());
        QCOMPARE(t.intValue(0, 1), scalar(db, QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE yeni = 1")).toLongLong());
        QCOMPARE(t.intValue(0, 2), user == kind4Customer ? 0
                                                        : m_proxy->KampanyaliVer2(carino, 0)->rowCount());
        QCOMPARE(t.intValue(0, 3), qint64(m_proxy->AcilisReklamAdet()));
        QCOMPARE(t.realValue(0, 4),
                 scalar(db, QStringLiteral("SELECT COALESCE(SUM(kalan), 0) FROM siparis_satirlari WHERE carino = %1")
                                .arg(carino))
                     .toDouble());
    }

    void reportsArePdfs_data()
    {
        QTest::addColumn<int>("report");
        QTest::addColumn<int>("carino");
        QTest::addColumn<QString>("representative");
        QTest::newRow("account summary") << 6 << 1001 << "Murat Kaya";
        QTest::newRow("receivables of everyone") << 6 << 0 << ".";
        QTest::newRow("receivables of one representative") << 6 << 0 << "SELIN";
        QTest::newRow("sales table") << 7 << 1002 << "Selin Aksoy";
    }

    void reportsArePdfs()
    {
        QFETCH(int, report);
        QFETCH(int, carino);
        QFETCH(QString, representative);
        qint64 size = -1;
        const double from = double(QDate(1899, 12, 30).daysTo(QDate(2026, 1, 1)));
        const QByteArray pdf = m_proxy->RaporGetir(report, report, m_staff->Sirano(), carino, representative, from,
                                                   from + 364, size)
                                   ->data();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(size, qint64(pdf.size()));
    }

    void reportsAreRefused_data()
    {
        QTest::addColumn<int>("report");
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("carino");
        QTest::newRow("unknown report") << 5 << 2 << 1001;
        QTest::newRow("customer as the caller") << 6 << 101 << 1001;
        QTest::newRow("unknown account") << 6 << 2 << 424242;
    }

    void reportsAreRefused()
    {
        QFETCH(int, report);
        QFETCH(int, user);
        QFETCH(int, carino);
        qint64 size = -1;
        QVERIFY(!failureOf([&] { m_proxy->RaporGetir(report, report, user, carino, QString(), 46000, 46001, size); })
                     .isEmpty());
    }

    void openingScreensCarryJpegPictures()
    {
        const int count = m_proxy->AcilisReklamAdet();
        QVERIFY(count > 0);
        const TAcilisEkranlariki *all = m_proxy->AcilisEkranlarVer2();
        QVERIFY(all);
        QCOMPARE(all->Ekranlar().size(), count);
        for (int i = 0; i < count; ++i) {
            const TAcilisEkran &screen = all->Ekranlar()[i];
            const QByteArray bytes = QByteArray::fromHex(screen.Resim().toLatin1());
            QVERIFY(!QImage::fromData(bytes, "JPEG").isNull());
            const TAcilisEkran *one = m_proxy->AcilisREklamVer(i);
            QVERIFY(one);
            QCOMPARE(one->SiraNo(), screen.SiraNo());
            QCOMPARE(one->Baslik(), screen.Baslik());
            QCOMPARE(one->Arama(), screen.Arama());
            QCOMPARE(one->Resim(), screen.Resim());
        }
        QVERIFY(!m_proxy->AcilisREklamVer(count));
        QVERIFY(!m_proxy->AcilisREklamVer(-1));
    }

    void bannersDecode_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("plain") << 1 << QByteArray("PNG");
        QTest::newRow("top") << 2 << QByteArray("GIF");
        QTest::newRow("bottom") << 3 << QByteArray("BMP");
    }

    void bannersDecode()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, format);
        qint64 size = -1;
        QBuffer *stream = variant == 1   ? m_proxy->BannerResimVer(size)
                          : variant == 2 ? m_proxy->BannerResimVer2(size)
                                         : m_proxy->BannerResimVer3(size);
        QCOMPARE(size, qint64(stream->size()));
        QVERIFY(!QImage::fromData(stream->data(), format.constData()).isNull());
    }

    void mailsKeepEveryField_data()
    {
        QTest::addColumn<bool>("passwordRequest");
        QTest::newRow("mail") << false;
        QTest::newRow("password change request") << true;
    }

    void mailsKeepEveryField()
    {
        QFETCH(bool, passwordRequest);
        QStringList v;
        for (int i = 0; i < 17; ++i)
            v.append(QStringLiteral("alan%1 ğüşİ").arg(i));
        const int number = passwordRequest
                               ? m_proxy->MailGonserCari(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9],
                                                         v[10], v[11], v[12], v[13], v[14], v[15])
                               : m_proxy->MailGonserCariNormal(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8],
                                                               v[9], v[10], v[11], v[12], v[13], v[14], v[15], v[16]);
        QSqlQuery q(m_server.database());
        QVERIFY(q.exec(QStringLiteral("SELECT tur, idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax, "
                                      "vd, vn, yetkili, kullaniciadi, sifre, mail, kargoambar, konu "
                                      "FROM mail_kutusu WHERE mailno = %1")
                           .arg(number)));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), passwordRequest ? "sifre" : "mail");
        for (int i = 0; i < 16; ++i)
            QCOMPARE(q.value(1 + i).toString(), v[i]);
        QCOMPARE(q.value(17).toString(), passwordRequest ? QString() : v[16]);
    }

    void badMailsAreNotStored()
    {
        const int before = scalar(m_server.database(), QStringLiteral("SELECT COUNT(*) FROM mail_kutusu")).toInt();
        const QString x = QStringLiteral("x");
        QVERIFY(!failureOf([&] { m_proxy->MailGonserCariNormal(x, QStringLiteral("  "), x, x, x, x, x, x, x, x, x, x, x, x, x, x, x); })
                     .isEmpty());
        QVERIFY(!failureOf([&] { m_proxy->MailGonserCariNormal(x, x, x, x, x, x, x, x, x, x, x, x, x, x, x, x, QString()); })
                     .isEmpty());
        QVERIFY(!failureOf([&] { m_proxy->MailGonserCari(x, x, QString(251, u'ş'), x, x, x, x, x, x, x, x, x, x, x, x, x); })
                     .isEmpty());
        QCOMPARE(scalar(m_server.database(), QStringLiteral("SELECT COUNT(*) FROM mail_kutusu")).toInt(), before);
    }

    void accountCardOfAComputer()
    {
        const TMobilCariBilgisi *card = m_proxy->MobilCariBilgisiGetir(0, m_customer->BILGISAYARID());
        QVERIFY(card);
        QCOMPARE(card->CARINO(), 1001);
        QCOMPARE(card->CARIADI(), m_customer->CariAdi());
        QCOMPARE(card->KULLANICIADI(), m_customer->ADI());
        QCOMPARE(card->SIFRE(), m_customer->SIFRE());
        QCOMPARE(card->SATICIADI(), m_customer->SaticiAdi());
        QCOMPARE(card->BILGISAYARID(), m_customer->BILGISAYARID());
        QCOMPARE(card->TLBAKIYE(), card->TLBORC() - card->TLALACAK());
        QVERIFY(!card->ADRES1().isEmpty() && !card->SEHIR().isEmpty() && !card->ILCE().isEmpty());
        QVERIFY(!m_proxy->MobilCariBilgisiGetir(0, QStringLiteral("NOBODY-KNOWS-ME")));
    }

    // A returned record stays the proxy's until the same method runs again, whatever else
    // is called meanwhile; an argument is the proxy's even when the server refuses.
    void proxyKeepsResultsUntilTheSameMethodRunsAgain()
    {
        TServerMethods1Client proxy(m_connection.get());
        const TAcilisEkran *kept = proxy.AcilisREklamVer(0);
        QVERIFY(kept);
        const QString title = kept->Baslik();
        const QString picture = kept->Resim();
        QVERIFY(proxy.AcilisEkranlarVer2());
        QVERIFY(proxy.TusSonuclariVer(copyOf(*m_staff)));
        QVERIFY(proxy.SiparisAytintisiDip(0, 1));
        QCOMPARE(kept->Baslik(), title);
        QCOMPARE(kept->Resim(), picture);
        const TAcilisEkran *next = proxy.AcilisREklamVer(1);
        QVERIFY(next && next->SiraNo() != 0);

        auto session = copyOf(*m_customer);
        session->SetSIFRE(QStringLiteral("yanlis"));
        QVERIFY(!failureOf([&] { m_proxy->SepetHepsiniSil(std::move(session)); }).isEmpty());
        QVERIFY(!session);
    }
};

KORVEL_TEST_MAIN(DeskMethods)
#include "tst_desk.moc"

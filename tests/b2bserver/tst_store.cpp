// The server's store on both databases: schema, transactions under concurrent writers,
// the demo generator, the GIF writer and the search keys.
#include "demodata.h"
#include "gifencoder.h"
#include "pgcluster.h"
#include "pricing.h"
#include "schema.h"
#include "sqlquery.h"
#include "store.h"
#include "testmain.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageReader>
#include <QRandomGenerator>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <memory>

using store::SqlQuery;

class TestStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void migrationsAreIdempotent_data() { backends(); }
    void migrationsAreIdempotent();
    void failedWriteLeavesNothing_data() { backends(); }
    void failedWriteLeavesNothing();
    void concurrentWritersLoseNothing_data() { backends(); }
    void concurrentWritersLoseNothing();
    void demoDataIsDeterministic_data() { backends(); }
    void demoDataIsDeterministic();
    void demoDataCoversEveryCase();
    void demoDataOnlyIntoEmptyStore();
    void registerComputerMapsToUser();

    void gifRoundTrip();
    void searchKeyFolding_data();
    void searchKeyFolding();
    void lineAmounts_data();
    void lineAmounts();

private:
    void backends();
    // A fresh, migrated store of the backend of the current data row (QSKIP when the
    // PostgreSQL programs are missing).
    std::unique_ptr<store::Store> freshStore();
    QString freshLocation();

    QTemporaryDir m_dir;
    int m_files = 0;
    PgCluster m_pg;
    QString m_pgProblem;
    bool m_pgMissing = false;
};

void TestStore::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_pgProblem = m_pg.start(&m_pgMissing);
    if (!m_pgProblem.isEmpty() && !m_pgMissing)
        QFAIL(qPrintable(QStringLiteral("PostgreSQL kümesi başlatılamadı: ") + m_pgProblem));
}

void TestStore::backends()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgresql") << QStringLiteral("postgresql");
}

QString TestStore::freshLocation()
{
    QFETCH(QString, backend);
    if (backend == QLatin1String("sqlite"))
        return m_dir.filePath(QStringLiteral("store%1.sqlite").arg(++m_files));
    if (m_pgMissing)
        return {};
    QString error;
    const QString location = m_pg.createDatabase(&error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return error.isEmpty() ? location : QString();
}

std::unique_ptr<store::Store> TestStore::freshStore()
{
    const QString location = freshLocation();
    if (location.isEmpty())
        return nullptr;
    auto s = std::make_unique<store::Store>(store::Location::parse(location));
    s->open();
    return s;
}

#define FRESH_STORE(var)                                                                   \
    auto var = freshStore();                                                               \
    if (!var) {                                                                            \
        if (m_pgMissing)                                                                   \
            QSKIP(qPrintable(m_pgProblem));                                                \
        QFAIL("no database for the test");                                                 \
    }

void TestStore::migrationsAreIdempotent()
{
    FRESH_STORE(s);
    QCOMPARE(s->schemaVersion(), store::latestSchemaVersion());
    QVERIFY(s->isEmpty());
    // A second server starting on the same database finds the schema in place.
    store::Store again(s->location());
    again.open();
    QCOMPARE(again.schemaVersion(), store::latestSchemaVersion());
    int versions = 0;
    again.read([&](QSqlDatabase &db) { versions = SqlQuery(db, QStringLiteral("SELECT COUNT(*) FROM schema_surumu")).scalar().toInt(); });
    QCOMPARE(versions, store::latestSchemaVersion());
}

void TestStore::failedWriteLeavesNothing()
{
    FRESH_STORE(s);
    bool thrown = false;
    try {
        s->write([](QSqlDatabase &db) {
            SqlQuery(db, QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('a', 'b')")).exec();
            throw std::runtime_error("vazgeçildi");
        });
    } catch (const std::runtime_error &e) {
        thrown = QByteArray(e.what()) == "vazgeçildi";
    }
    QVERIFY(thrown);
    // A failing statement in the middle rolls back what came before it as well.
    QVERIFY_THROWS_EXCEPTION(store::StoreError, s->write([](QSqlDatabase &db) {
        SqlQuery(db, QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('c', 'd')")).exec();
        SqlQuery(db, QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('c', 'e')")).exec();
    }));
    int rows = -1;
    s->read([&](QSqlDatabase &db) { rows = SqlQuery(db, QStringLiteral("SELECT COUNT(*) FROM ayarlar")).scalar().toInt(); });
    QCOMPARE(rows, 0);
    // The connection is usable again afterwards.
    s->write([](QSqlDatabase &db) {
        SqlQuery(db, QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('a', 'b')")).exec();
    });
}

// Writers that read a value and write it back incremented, from several threads at
// once: every increment must survive, as must every row they insert.
void TestStore::concurrentWritersLoseNothing()
{
    FRESH_STORE(s);
    s->write([](QSqlDatabase &db) {
        SqlQuery(db, QStringLiteral("INSERT INTO ayarlar (anahtar, deger) VALUES ('sayac', '0')")).exec();
    });
    const int threads = 6, rounds = 25;
    std::atomic<int> failures{0};
    QList<QThread *> workers;
    for (int t = 0; t < threads; ++t) {
        workers.append(QThread::create([&, t] {
            for (int r = 0; r < rounds; ++r) {
                try {
                    s->write([&](QSqlDatabase &db) {
                        const int value = SqlQuery(db, QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'sayac'"))
                                              .scalar()
                                              .toString()
                                              .toInt();
                        SqlQuery(db, QStringLiteral("UPDATE ayarlar SET deger = ? WHERE anahtar = 'sayac'"))
                            .bind(QString::number(value + 1))
                            .exec();
                        SqlQuery(db, QStringLiteral("INSERT INTO mail_kutusu (tarih, tur, baslik) VALUES (?, ?, ?)"))
                            .bind(QStringLiteral("2026-01-01"))
                            .bind(QStringLiteral("test"))
                            .bind(QStringLiteral("%1/%2").arg(t).arg(r))
                            .exec();
                    });
                } catch (const std::exception &e) {
                    qWarning("%s", e.what());
                    ++failures;
                }
            }
        }));
    }
    for (QThread *w : workers)
        w->start();
    for (QThread *w : workers) {
        QVERIFY(w->wait(60000));
        delete w;
    }
    QCOMPARE(failures.load(), 0);
    int counter = 0, rows = 0, distinct = 0;
    s->read([&](QSqlDatabase &db) {
        counter = SqlQuery(db, QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'sayac'")).scalar().toString().toInt();
        rows = SqlQuery(db, QStringLiteral("SELECT COUNT(*) FROM mail_kutusu")).scalar().toInt();
        distinct = SqlQuery(db, QStringLiteral("SELECT COUNT(DISTINCT baslik) FROM mail_kutusu")).scalar().toInt();
    });
    QCOMPARE(counter, threads * rounds);
    QCOMPARE(rows, threads * rounds);
    QCOMPARE(distinct, threads * rounds);
}

namespace {

// Digest of every table the generator fills, row by row in key order.
QByteArray contentDigest(store::Store &s)
{
    static const char *const tables[][2] = {
        {"saticilar", "saticino"},       {"cariler", "carino"},           {"kullanicilar", "sirano"},
        {"bilgisayarlar", "bilgisayarid"}, {"resimler", "resimno"},       {"stoklar", "stokno"},
        {"stok_anahtarlari", "anahtar, stokno"}, {"sepet", "sirano"},     {"siparisler", "idno"},
        {"siparis_satirlari", "sirano"}, {"faturalar", "idno"},           {"stok_hareketleri", "hareketno"},
        {"tahsilatlar", "idno"},         {"sanalpos_fisleri", "sirano"},  {"cari_hareketler", "hareketno"},
        {"duyurular", "sirano"},         {"bannerlar", "yer"},            {"kargo_firmalari", "sirano"}};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    s.read([&](QSqlDatabase &db) {
        for (const auto &t : tables) {
            SqlQuery q(db, QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(QLatin1String(t[0]), QLatin1String(t[1])));
            q.exec();
            int rows = 0;
            while (q.next()) {
                ++rows;
                for (int c = 0; c < q.raw().record().count(); ++c) {
                    const QVariant v = q.value(c);
                    hash.addData(v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8());
                    hash.addData(QByteArrayView("|"));
                }
            }
            hash.addData(QByteArray(QByteArray(t[0]) + QByteArray::number(rows)));
        }
    });
    return hash.result();
}

QStringList indexNames(store::Store &s)
{
    QStringList names;
    s.read([&](QSqlDatabase &db) {
        SqlQuery q(db, s.backend() == store::Backend::Sqlite
                           ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name")
                           : QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() "
                                            "ORDER BY indexname"));
        q.exec();
        while (q.next())
            names.append(q.toString(0));
    });
    return names;
}

} // namespace

void TestStore::demoDataIsDeterministic()
{
    const store::DemoOptions options{300, 6, 7};
    FRESH_STORE(first);
    FRESH_STORE(second);
    FRESH_STORE(other);
    const QStringList indexes = indexNames(*first);
    store::fillDemoData(*first, options);
    // The fill builds the indexes it set aside again.
    QCOMPARE(indexNames(*first), indexes);
    store::fillDemoData(*second, options);
    store::fillDemoData(*other, {300, 6, 8});
    const QByteArray a = contentDigest(*first);
    QCOMPARE(contentDigest(*second), a);
    QVERIFY(contentDigest(*other) != a);
}

void TestStore::demoDataCoversEveryCase()
{
    store::Store s(store::Location::parse(m_dir.filePath(QStringLiteral("cover.sqlite"))));
    s.open();
    store::fillDemoData(s, {2500, 30, 1});
    auto ints = [&](const QString &sql) {
        QList<int> values;
        s.read([&](QSqlDatabase &db) {
            SqlQuery q(db, sql);
            q.exec();
            while (q.next())
                values.append(q.toInt(0));
        });
        return values;
    };
    QCOMPARE(ints(QStringLiteral("SELECT DISTINCT durum FROM stoklar ORDER BY 1")), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(ints(QStringLiteral("SELECT DISTINCT durum FROM siparisler ORDER BY 1")), (QList<int>{2, 3, 4, 5, 6, 7}));
    QCOMPARE(ints(QStringLiteral("SELECT DISTINCT musteritipi FROM kullanicilar ORDER BY 1")),
             (QList<int>{0, 1, 2, 3, 4}));
    QCOMPARE(ints(QStringLiteral("SELECT COUNT(*) FROM stoklar")), QList<int>{2500});
    QCOMPARE(ints(QStringLiteral("SELECT COUNT(*) FROM cariler")), QList<int>{30});
    const QList<int> packages = ints(QStringLiteral("SELECT MIN(koliadet), MAX(koliadet) FROM stoklar"));
    QCOMPARE(packages.first(), 1);
    QVERIFY(ints(QStringLiteral("SELECT MAX(koliadet) FROM stoklar")).first() <= 12);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE yeni = 1")).first() > 0);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE kampanya = 1 AND kampfiyat > 0 AND kampfiyat < listefiyat")).first() > 0);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE resimno IS NOT NULL")).first() > 0);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM tahsilatlar WHERE sanalposno IS NOT NULL")).first() > 0);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM siparis_satirlari WHERE kalan > 0")).first() > 0);
    QVERIFY(ints(QStringLiteral("SELECT COUNT(*) FROM sepet WHERE sec = 0")).first() > 0);
    // Every statement row that opens a document points at one that exists.
    QCOMPARE(ints(QStringLiteral("SELECT COUNT(*) FROM cari_hareketler h WHERE h.turadi LIKE '%Fatura%' AND "
                                 "NOT EXISTS (SELECT 1 FROM faturalar f WHERE f.idno = h.belgeno AND f.carino = h.carino)")),
             QList<int>{0});
    QCOMPARE(ints(QStringLiteral("SELECT COUNT(*) FROM cari_hareketler h WHERE h.turadi IN ('Tahsilat', 'Tediye') AND "
                                 "NOT EXISTS (SELECT 1 FROM tahsilatlar t WHERE t.idno = h.belgeno AND t.carino = h.carino)")),
             QList<int>{0});

    // Pictures decode as what their type says.
    s.read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT tur, veri FROM resimler UNION ALL SELECT tur, veri FROM bannerlar"));
        q.exec();
        QSet<QString> types;
        while (q.next()) {
            const QString type = q.toString(0);
            types.insert(type);
            QByteArray bytes = q.toBytes(1);
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer);
            QCOMPARE(QStringLiteral("image/") + QString::fromLatin1(reader.format()), type);
            QVERIFY2(!reader.read().isNull(), qPrintable(type));
        }
        QCOMPARE(types, (QSet<QString>{QStringLiteral("image/png"), QStringLiteral("image/jpeg"),
                                       QStringLiteral("image/gif"), QStringLiteral("image/bmp")}));
        const QByteArray gif = SqlQuery(db, QStringLiteral("SELECT veri FROM bannerlar WHERE yer = 'ust'")).scalar().toByteArray();
        QVERIFY(gif.startsWith("GIF89a"));
        QBuffer buffer(const_cast<QByteArray *>(&gif));
        QImageReader reader(&buffer);
        QVERIFY(reader.supportsAnimation());
        QVERIFY(reader.imageCount() > 1);
    });
}

void TestStore::demoDataOnlyIntoEmptyStore()
{
    store::Store s(store::Location::parse(m_dir.filePath(QStringLiteral("twice.sqlite"))));
    s.open();
    store::fillDemoData(s, {50, 3, 1});
    QVERIFY_THROWS_EXCEPTION(store::StoreError, store::fillDemoData(s, {50, 3, 1}));
    QCOMPARE(store::listUsers(s, 100).size(), 4 + 3);  // staff and one per account; the inactive user is left out
}

void TestStore::registerComputerMapsToUser()
{
    store::Store s(store::Location::parse(m_dir.filePath(QStringLiteral("register.sqlite"))));
    s.open();
    store::fillDemoData(s, {50, 3, 1});
    auto owner = [&](const QString &id) {
        QString name;
        s.read([&](QSqlDatabase &db) {
            name = SqlQuery(db, QStringLiteral("SELECT k.adi FROM bilgisayarlar b JOIN kullanicilar k ON "
                                               "k.sirano = b.sirano WHERE b.bilgisayarid = ?"))
                       .bind(id)
                       .scalar()
                       .toString();
        });
        return name;
    };
    store::registerComputer(s, QStringLiteral("PC-1"), QStringLiteral("BAYI1001"));
    QCOMPARE(owner(QStringLiteral("PC-1")), QStringLiteral("BAYI1001"));
    store::registerComputer(s, QStringLiteral("PC-1"), QStringLiteral("MURAT"));
    QCOMPARE(owner(QStringLiteral("PC-1")), QStringLiteral("MURAT"));
    QVERIFY_THROWS_EXCEPTION(store::StoreError, store::registerComputer(s, QStringLiteral("PC-2"), QStringLiteral("YOK")));
    QVERIFY_THROWS_EXCEPTION(store::StoreError, store::registerComputer(s, QStringLiteral("  "), QStringLiteral("MURAT")));
    QCOMPARE(owner(QStringLiteral("PC-2")), QString());
}

// Frames with at most 256 colours come back pixel for pixel; a noisy frame drives the
// LZW table past 4096 codes and through a reset.
void TestStore::gifRoundTrip()
{
    QList<QRgb> palette;
    for (int i = 0; i < 200; ++i)
        palette.append(qRgb(i, (i * 7) % 256, 255 - i));
    QImage noisy(180, 120, QImage::Format_RGB32);
    QRandomGenerator rng(42);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, palette[int(rng.bounded(200))]);
    QImage flat(180, 120, QImage::Format_RGB32);
    flat.fill(qRgb(10, 200, 30));

    const QByteArray gif = store::encodeGif({{noisy, 200}, {flat, 300}});
    QByteArray bytes = gif;
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "gif");
    QCOMPARE(reader.imageCount(), 2);
    const QImage first = reader.read().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(first.size(), noisy.size());
    QCOMPARE(first, noisy);
    QCOMPARE(reader.nextImageDelay(), 200);
    const QImage second = reader.read().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(second.pixel(5, 5), qRgb(10, 200, 30));
    QVERIFY(store::encodeGif({}).isEmpty());
}

void TestStore::searchKeyFolding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("words");
    QTest::newRow("turkish letters") << QStringLiteral("yağ süzgeci İç ışık ÖÇ") << QStringLiteral("YAGSUZGECIICISIKOC")
                                     << QStringLiteral("YAG SUZGECI IC ISIK OC");
    QTest::newRow("oem code") << QStringLiteral("04E 115-561.h") << QStringLiteral("04E115561H") << QStringLiteral("04E 115 561 H");
    QTest::newRow("only punctuation") << QStringLiteral(" -/. ") << QString() << QString();
}

void TestStore::searchKeyFolding()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, words);
    QCOMPARE(store::searchKey(text), key);
    QCOMPARE(store::searchText(text), words);
}

void TestStore::lineAmounts_data()
{
    QTest::addColumn<double>("qty");
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("ind1");
    QTest::addColumn<double>("ind2");
    QTest::addColumn<double>("discount");
    QTest::addColumn<double>("vat");
    QTest::addColumn<QString>("text");
    // 3 x 100 = 300; -10 % = 270; -5 % = 256.50; VAT 20 % = 51.30
    QTest::newRow("two rates") << 3.0 << 100.0 << 10.0 << 5.0 << 43.5 << 51.3 << QStringLiteral("10+5");
    QTest::newRow("no rate") << 2.0 << 12.345 << 0.0 << 0.0 << 0.0 << 4.94 << QStringLiteral("0");
    QTest::newRow("fraction rate") << 1.0 << 200.0 << 12.5 << 0.0 << 25.0 << 35.0 << QStringLiteral("12,5");
}

void TestStore::lineAmounts()
{
    QFETCH(double, qty);
    QFETCH(double, price);
    QFETCH(double, ind1);
    QFETCH(double, ind2);
    QFETCH(double, discount);
    QFETCH(double, vat);
    QFETCH(QString, text);
    const store::LineAmounts a = store::computeLine(qty, price, 20, ind1, ind2, 0, 0);
    QCOMPARE(a.tutar, store::roundMoney(qty * price));
    QCOMPARE(a.indirimtutar, discount);
    QCOMPARE(a.nettutar, store::roundMoney(a.tutar - discount));
    QCOMPARE(a.vergitutari, vat);
    QCOMPARE(store::discountText(ind1, ind2, 0, 0), text);
}

KORVEL_TEST_MAIN(TestStore)
#include "tst_store.moc"

// The cart operations against a canned server: what they send, what they make of the
// answers, and how they fail.
#include "baglantiu.h"
#include "clientdataset.h"
#include "codec.h"
#include "dialogs.h"
#include "exception.h"
#include "netfixture.h"
#include "sepetislemleri.h"
#include "sqlconnection.h"
#include "table.h"
#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMutex>
#include <QThread>

using Answer = nettest::CannedServer::Answer;
using T = wire::ColumnType;

namespace {

Answer cevapla(int status, const QByteArray &body)
{
    Answer a;
    a.status = status;
    a.body = body;
    return a;
}

Answer sonuc(const QJsonValue &value)
{
    return cevapla(200, QJsonDocument(QJsonObject{{QStringLiteral("result"), QJsonArray{value}}}).toJson());
}

Answer hata(const char *message)
{
    return cevapla(500, QJsonDocument(QJsonObject{{QStringLiteral("error"), QString::fromUtf8(message)}}).toJson());
}

wire::Table sepetTablosu(int satir)
{
    wire::Table t;
    t.addColumn({QStringLiteral("SIRANO"), T::Int32, 0, true});
    t.addColumn({QStringLiteral("MIKTAR"), T::Double, 0, true});
    t.addColumn({QStringLiteral("STOKADI"), T::String, 50, true});
    for (int i = 0; i < satir; ++i) {
        const int r = t.appendRow();
        t.setValue(r, 0, 10 + i);
        t.setValue(r, 1, 1234.5 * (i + 1));
        t.setValue(r, 2, QStringLiteral("SATIR %1").arg(i));
    }
    return t;
}

// Records every call and answers from a per-method table.
struct Sunucu {
    QMutex lock;
    QHash<QString, Answer> cevaplar;
    QList<QPair<QString, QJsonArray>> cagrilar;
    nettest::CannedServer server{[this](const QString &method, const QByteArray &body) {
        QMutexLocker l(&lock);
        cagrilar.append({method, QJsonDocument::fromJson(body).object().value(QStringLiteral("_parameters")).toArray()});
        return cevaplar.value(method, hata("bilinmeyen"));
    }};
    void cevap(const QString &method, const Answer &a)
    {
        QMutexLocker l(&lock);
        cevaplar.insert(method, a);
    }
    QJsonArray sonParametreler(const QString &method)
    {
        QMutexLocker l(&lock);
        for (auto it = cagrilar.crbegin(); it != cagrilar.crend(); ++it)
            if (it->first == method)
                return it->second;
        return {};
    }
    std::unique_ptr<platform::TSQLConnection> baglanti() { return nettest::loopbackConnection(server.port()); }
};

// Numbers compare by value: the wire may write 12 as 12 or 12.0.
void esit(const QJsonValue &gelen, const QJsonValue &beklenen)
{
    if (beklenen.isDouble())
        QCOMPARE(gelen.toDouble(-1), beklenen.toDouble());
    else
        QCOMPARE(gelen, beklenen);
}

TSonucBilgisi oturum()
{
    TSonucBilgisi b;
    b.SetCARINO(42);
    b.SetSirano(951);
    b.SetADI(QStringLiteral("KULLANICI1"));
    return b;
}

} // namespace

class TestSepetIslemleri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }
    void sepetYukle();
    void koliAdetiAl_data();
    void koliAdetiAl();
    void sepeteEkleGonderilenler();
    void sepetSatirGuncelleGonderilenler();
    void cariBakiyeUyari_data();
    void cariBakiyeUyari();
};

void TestSepetIslemleri::sepetYukle()
{
    Sunucu s;
    QVERIFY(s.server.isListening());
    auto bagc = s.baglanti();
    TClientDataSet sepet;

    s.cevap(QStringLiteral("SepetVer2"), sonuc(wire::tableToJson(sepetTablosu(2))));
    QVERIFY(SepetYukle(sepet, *bagc, 42));
    QCOMPARE(s.sonParametreler(QStringLiteral("SepetVer2")), QJsonArray{42});
    QCOMPARE(sepet.RecordCount(), 2);
    QCOMPARE(sepet.FieldByName(QStringLiteral("MIKTAR"))->DisplayText(), QStringLiteral("1.234,50"));
    QVERIFY(sepet.FieldByName(QStringLiteral("SIRANO"))->DisplayFormat().isEmpty());
    QVERIFY(!bagc->Connected());

    // A failing call reaches the caller; the cart keeps what it held.
    s.cevap(QStringLiteral("SepetVer2"), hata("Sepet okunamadı."));
    QVERIFY_THROWS_EXCEPTION(platform::Exception, SepetYukle(sepet, *bagc, 42));
    QCOMPARE(sepet.RecordCount(), 2);
    s.cevap(QStringLiteral("SepetVer2"), cevapla(200, QByteArrayLiteral("{\"result\":[{\"table\":")));
    QVERIFY_THROWS_EXCEPTION(platform::Exception, SepetYukle(sepet, *bagc, 42));
    QCOMPARE(sepet.RecordCount(), 2);

    // Every line deleted on the server: open and empty.
    s.cevap(QStringLiteral("SepetVer2"), sonuc(wire::tableToJson(sepetTablosu(0))));
    QVERIFY(SepetYukle(sepet, *bagc, 7));
    QCOMPARE(s.sonParametreler(QStringLiteral("SepetVer2")), QJsonArray{7});
    QVERIFY(sepet.Active());
    QCOMPARE(sepet.RecordCount(), 0);
}

void TestSepetIslemleri::koliAdetiAl_data()
{
    QTest::addColumn<Answer>("cevap");
    QTest::addColumn<int>("koli");
    QTest::newRow("sunucunun degeri") << sonuc(6) << 6;
    QTest::newRow("sifir 1 sayilir") << sonuc(0) << 1;
    QTest::newRow("eksi 1 sayilir") << sonuc(-4) << 1;
    QTest::newRow("sunucu hatasi") << hata("Stok bulunamadı.") << 1;
    QTest::newRow("bozuk cevap") << cevapla(200, QByteArrayLiteral("{\"result\":[\"alti\"]}")) << 1;
}

void TestSepetIslemleri::koliAdetiAl()
{
    QFETCH(Answer, cevap);
    QFETCH(int, koli);
    Sunucu s;
    s.cevap(QStringLiteral("EnVer"), cevap);
    auto bagc = s.baglanti();
    QCOMPARE(::KoliAdetiAl(*bagc, 101), koli);
    QCOMPARE(s.sonParametreler(QStringLiteral("EnVer")), QJsonArray{101});
}

void TestSepetIslemleri::sepeteEkleGonderilenler()
{
    Sunucu s;
    s.cevap(QStringLiteral("SepetEkle2"), sonuc(1));
    auto bagc = s.baglanti();
    TClientDataSet liste;
    wire::Table t;
    for (const auto &[name, type] : {std::pair{"STOK_STOKNO", T::Int32}, {"BARKOD", T::String}, {"ADI", T::String},
                                     {"KDV", T::Double}, {"K", T::Int32}})
        t.addColumn({QString::fromLatin1(name), type, 50, true});
    for (int i = 0; i < 2; ++i) {
        const int r = t.appendRow();
        t.setValue(r, 0, 100 + i);
        t.setValue(r, 1, QStringLiteral("869%1").arg(i));
        t.setValue(r, 2, QStringLiteral("BALATA %1").arg(i));
        t.setValue(r, 3, 18.0);
        t.setValue(r, 4, i);
    }
    liste.LoadFromTable(std::move(t));
    liste.Last();

    const TSonucBilgisi b = oturum();
    QCOMPARE(SepeteEkle(*bagc, b, liste, 12, 99.5, {10, 5, 2.5, 0}), std::optional<int>(1));
    const QJsonArray p = s.sonParametreler(QStringLiteral("SepetEkle2"));
    QCOMPARE(p.size(), 14);
    QCOMPARE(p[0].toObject().value(QStringLiteral("type")).toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
    const QJsonArray beklenen{42, 101, QStringLiteral("8691"), QStringLiteral("BALATA 1"), 12, 18, 99.5, 10, 951, 1,
                              5, 2.5, 0};
    for (int i = 0; i < beklenen.size(); ++i)
        esit(p[i + 1], beklenen[i]);
    QVERIFY(!bagc->Connected());

    // The server's answer is handed on as it is; a failing call throws.
    s.cevap(QStringLiteral("SepetEkle2"), sonuc(0));
    QCOMPARE(SepeteEkle(*bagc, b, liste, 1, 1, {0, 0, 0, 0}), std::optional<int>(0));
    s.cevap(QStringLiteral("SepetEkle2"), hata("Miktar geçersiz."));
    QVERIFY_THROWS_EXCEPTION(platform::Exception, SepeteEkle(*bagc, b, liste, 1, 1, {0, 0, 0, 0}));
    QVERIFY(!bagc->Connected());
}

void TestSepetIslemleri::sepetSatirGuncelleGonderilenler()
{
    Sunucu s;
    s.cevap(QStringLiteral("SepetGuncelle2"), sonuc(1));
    auto bagc = s.baglanti();
    TClientDataSet sepet;
    wire::Table t;
    for (const auto &[name, type] : {std::pair{"SIRANO", T::Int32}, {"BARKOD", T::String}, {"STOKADI", T::String},
                                     {"KDV", T::Double}})
        t.addColumn({QString::fromLatin1(name), type, 50, true});
    const int r = t.appendRow();
    t.setValue(r, 0, 77);
    t.setValue(r, 1, QStringLiteral("8695"));
    t.setValue(r, 2, QStringLiteral("DİSK"));
    t.setValue(r, 3, 20.0);
    sepet.LoadFromTable(std::move(t));

    QCOMPARE(SepetSatirGuncelle(*bagc, oturum(), sepet, 77, 6, 45.25, {3, 0, 0, 1}), std::optional<int>(1));
    const QJsonArray p = s.sonParametreler(QStringLiteral("SepetGuncelle2"));
    const QJsonArray beklenen{42, 0, QStringLiteral("8695"), QStringLiteral("DİSK"), 6, 20, 45.25, 3, 951, 77, 0, 0, 1};
    QCOMPARE(p.size(), 14);
    for (int i = 0; i < beklenen.size(); ++i)
        esit(p[i + 1], beklenen[i]);
}

void TestSepetIslemleri::cariBakiyeUyari_data()
{
    QTest::addColumn<Answer>("cevap");
    QTest::addColumn<QString>("yazi");
    QTest::newRow("uyari") << sonuc(QStringLiteral("Vadesi geçmiş 1.250,00 TL borcunuz var.")) << QStringLiteral("Vadesi geçmiş 1.250,00 TL borcunuz var.");
    QTest::newRow("uyari yok") << sonuc(QString()) << QString();
    QTest::newRow("sunucu hatasi") << hata("Cari bulunamadı.") << QString();
}

void TestSepetIslemleri::cariBakiyeUyari()
{
    QFETCH(Answer, cevap);
    QFETCH(QString, yazi);
    Sunucu s;
    s.cevap(QStringLiteral("CariVadeGunGecmismiBul"), cevap);
    auto bagc = s.baglanti();
    QLabel etiket(QStringLiteral("önceki"));
    QPointer<QThread> is = CariBakiyeUyariBak(&etiket, *bagc, 42);
    // No message of its own, whatever the answer.
    QTRY_VERIFY_WITH_TIMEOUT(is.isNull(), 10000);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(etiket.text(), yazi);
    QCOMPARE(s.sonParametreler(QStringLiteral("CariVadeGunGecmismiBul")), QJsonArray{42});
    QVERIFY(!bagc->Connected());
}

KORVEL_TEST_MAIN(TestSepetIslemleri)
#include "tst_sepetislemleri.moc"

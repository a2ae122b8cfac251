// The typed proxy: every server method with its name, parameters and result kind, and
// the ownership rules of arguments and results.
#include <QBuffer>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSet>
#include <codec.h>
#include <dbxcommand.h>
#include <exception.h>
#include <functional>
#include <methods.h>
#include <netfixture.h>
#include <proxim.h>
#include <sqlconnection.h>
#include <table.h>
#include <testmain.h>
#include <type_traits>

using platform::TSQLConnection;
using ProxyCall = std::function<void(TServerMethods1Client &)>;

namespace {

// Every proxy method called with recognisable arguments: Integer 1, Double 1.5, string "x",
// a fresh session record. Checks the canned answer came back through the right kind.
const QHash<QString, ProxyCall> &proxyCalls()
{
    static const QHash<QString, ProxyCall> calls = {
        {"BuyukGetir", [](TServerMethods1Client &p) { QVERIFY(p.BuyukGetir(QStringLiteral("x")) != nullptr); }},
        {"StokAraGetirQuelpa",
         [](TServerMethods1Client &p) {
             QCOMPARE((p.StokAraGetirQuelpa(QStringLiteral("x"), std::make_unique<TSonucBilgisi>()))->rowCount(), 1);
         }},
        {"EnVer", [](TServerMethods1Client &p) { QCOMPARE(p.EnVer(1), 7); }},
        {"SepetEkle2",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.SepetEkle2(std::make_unique<TSonucBilgisi>(), 1, 1, QStringLiteral("x"), QStringLiteral("x"),
                                   1.5, 1.5, 1.5, 1.5, 1, 1, 1.5, 1.5, 1.5),
                      7);
         }},
        {"SepetGuncelle2",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.SepetGuncelle2(std::make_unique<TSonucBilgisi>(), 1, 1, QStringLiteral("x"),
                                       QStringLiteral("x"), 1.5, 1.5, 1.5, 1.5, 1, 1, 1.5, 1.5, 1.5),
                      7);
         }},
        {"SepetVer2", [](TServerMethods1Client &p) { QCOMPARE((p.SepetVer2(1))->rowCount(), 1); }},
        {"SepetSatirSil",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.SepetSatirSil(std::make_unique<TSonucBilgisi>(), 1, QStringLiteral("x")), 7);
         }},
        {"SepetHepsiniSil",
         [](TServerMethods1Client &p) { QCOMPARE(p.SepetHepsiniSil(std::make_unique<TSonucBilgisi>()), 7); }},
        {"SepetSecimGuncelle", [](TServerMethods1Client &p) { p.SepetSecimGuncelle(1, 1); }},
        {"TeslimVer", [](TServerMethods1Client &p) { QCOMPARE((p.TeslimVer())->rowCount(), 1); }},
        {"KargoVer", [](TServerMethods1Client &p) { QCOMPARE((p.KargoVer())->rowCount(), 1); }},
        {"KargolarVer", [](TServerMethods1Client &p) { QCOMPARE((p.KargolarVer(1))->rowCount(), 1); }},
        {"SiparisKaydet",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.SiparisKaydet(std::make_unique<TSonucBilgisi>(), 1, 1, 1, QStringLiteral("x"), 1, 1), true);
         }},
        {"CariEkstreVer", [](TServerMethods1Client &p) { QCOMPARE((p.CariEkstreVer(1))->rowCount(), 1); }},
        {"OncekiSiparisler", [](TServerMethods1Client &p) { QCOMPARE((p.OncekiSiparisler(1))->rowCount(), 1); }},
        {"SiparisAyrintisi2", [](TServerMethods1Client &p) { QCOMPARE((p.SiparisAyrintisi2(1, 1))->rowCount(), 1); }},
        {"SiparisAytintisiDip", [](TServerMethods1Client &p) { QVERIFY(p.SiparisAytintisiDip(1, 1) != nullptr); }},
        {"TumSiparislerVer", [](TServerMethods1Client &p) { QCOMPARE((p.TumSiparislerVer(1, 1))->rowCount(), 1); }},
        {"FaturaGetir", [](TServerMethods1Client &p) { QCOMPARE((p.FaturaGetir(1, 1))->rowCount(), 1); }},
        {"FaturaAltGetir", [](TServerMethods1Client &p) { QCOMPARE((p.FaturaAltGetir(1))->rowCount(), 1); }},
        {"Tahsilat", [](TServerMethods1Client &p) { QCOMPARE((p.Tahsilat(1))->rowCount(), 1); }},
        {"SanalposSiranoVer", [](TServerMethods1Client &p) { QCOMPARE(p.SanalposSiranoVer(1), 7); }},
        {"SAnalPosPdfVer",
         [](TServerMethods1Client &p) {
             qint64 boy = -1;
             QCOMPARE(p.SAnalPosPdfVer(1, boy)->data(), QByteArray("\x01\x02\x03", 3));
             QCOMPARE(boy, 3);
         }},
        {"BakiyelerVer2", [](TServerMethods1Client &p) { QCOMPARE((p.BakiyelerVer2(1))->rowCount(), 1); }},
        {"BakiyeDuzenle",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.BakiyeDuzenle(std::make_unique<TSonucBilgisi>(), 1, 1, 1, 1.5, 1.5, QStringLiteral("x")), 7);
         }},
        {"BakiyeDegistir",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.BakiyeDegistir(std::make_unique<TSonucBilgisi>(), 1, 1, 1, 1.5, 1.5, QStringLiteral("x")), 7);
         }},
        {"BakiyeFiyatDegistir",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.BakiyeFiyatDegistir(std::make_unique<TSonucBilgisi>(), 1, 1, 1, 1.5, 1.5, QStringLiteral("x"),
                                            1.5, 1.5),
                      7);
         }},
        {"StokHareketVer", [](TServerMethods1Client &p) { QCOMPARE((p.StokHareketVer(1, 1))->rowCount(), 1); }},
        {"RaporAlinanSiparisler",
         [](TServerMethods1Client &p) {
             QCOMPARE((p.RaporAlinanSiparisler(std::make_unique<TSonucBilgisi>(), 1.5, 1.5))->rowCount(), 1);
         }},
        {"RaporEnCokSatilanStoklar",
         [](TServerMethods1Client &p) {
             QCOMPARE((p.RaporEnCokSatilanStoklar(std::make_unique<TSonucBilgisi>(), 1.5, 1.5))->rowCount(), 1);
         }},
        {"CariDurumVer", [](TServerMethods1Client &p) { QCOMPARE(p.CariDurumVer(1), QStringLiteral("metin")); }},
        {"CariVadeGunGecmismiBul",
         [](TServerMethods1Client &p) { QCOMPARE(p.CariVadeGunGecmismiBul(1), QStringLiteral("metin")); }},
        {"CariAra",
         [](TServerMethods1Client &p) {
             QCOMPARE((p.CariAra(std::make_unique<TSonucBilgisi>(), QStringLiteral("x")))->rowCount(), 1);
         }},
        {"SepetSayisi",
         [](TServerMethods1Client &p) { QCOMPARE(p.SepetSayisi(std::make_unique<TSonucBilgisi>()), 7); }},
        {"TusSonuclariVer",
         [](TServerMethods1Client &p) { QVERIFY(p.TusSonuclariVer(std::make_unique<TSonucBilgisi>()) != nullptr); }},
        {"CariSepetVer",
         [](TServerMethods1Client &p) {
             QCOMPARE((p.CariSepetVer(std::make_unique<TSonucBilgisi>(), 1))->rowCount(), 1);
         }},
        {"RaporGetir",
         [](TServerMethods1Client &p) {
             qint64 size = -1;
             QCOMPARE(p.RaporGetir(1, 1, 1, 1, QStringLiteral("x"), 1.5, 1.5, size)->data(),
                      QByteArray("\x01\x02\x03", 3));
             QCOMPARE(size, 3);
         }},
        {"YenilerVer2", [](TServerMethods1Client &p) { QCOMPARE((p.YenilerVer2(1))->rowCount(), 1); }},
        {"KampanyaliVer2", [](TServerMethods1Client &p) { QCOMPARE((p.KampanyaliVer2(1, 1))->rowCount(), 1); }},
        {"BalonGetir",
         [](TServerMethods1Client &p) { QCOMPARE((p.BalonGetir(std::make_unique<TSonucBilgisi>()))->rowCount(), 1); }},
        {"AcilisEkranlarVer2", [](TServerMethods1Client &p) { QVERIFY(p.AcilisEkranlarVer2() != nullptr); }},
        {"AcilisReklamAdet", [](TServerMethods1Client &p) { QCOMPARE(p.AcilisReklamAdet(), 7); }},
        {"AcilisREklamVer", [](TServerMethods1Client &p) { QVERIFY(p.AcilisREklamVer(1) != nullptr); }},
        {"KayanYaziGetir", [](TServerMethods1Client &p) { QCOMPARE(p.KayanYaziGetir(), QStringLiteral("metin")); }},
        {"BannerResimVer",
         [](TServerMethods1Client &p) {
             qint64 size = -1;
             QCOMPARE(p.BannerResimVer(size)->data(), QByteArray("\x01\x02\x03", 3));
             QCOMPARE(size, 3);
         }},
        {"BannerResimVer2",
         [](TServerMethods1Client &p) {
             qint64 size = -1;
             QCOMPARE(p.BannerResimVer2(size)->data(), QByteArray("\x01\x02\x03", 3));
             QCOMPARE(size, 3);
         }},
        {"BannerResimVer3",
         [](TServerMethods1Client &p) {
             qint64 size = -1;
             QCOMPARE(p.BannerResimVer3(size)->data(), QByteArray("\x01\x02\x03", 3));
             QCOMPARE(size, 3);
         }},
        {"MobilCariBilgisiGetir",
         [](TServerMethods1Client &p) { QVERIFY(p.MobilCariBilgisiGetir(1, QStringLiteral("x")) != nullptr); }},
        {"MailGonserCariNormal",
         [](TServerMethods1Client &p) {
             QCOMPARE(p.MailGonserCariNormal(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                             QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                             QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                             QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                             QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                             QStringLiteral("x"), QStringLiteral("x")),
                      7);
         }},
        {"MailGonserCari",
         [](TServerMethods1Client &p) {
             QCOMPARE(
                 p.MailGonserCari(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                  QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                  QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"),
                                  QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")),
                 7);
         }},
    };
    return calls;
}

struct SweepContext {
    TSonucBilgisi session;
    qint32 stokno = 0;
};
using SweepCall = std::function<void(TServerMethods1Client &, const SweepContext &)>;

std::unique_ptr<TSonucBilgisi> copyOf(const TSonucBilgisi &session)
{
    auto copy = std::make_unique<TSonucBilgisi>();
    copy->Kopyala(session);
    return copy;
}

// Every proxy method with arguments that make sense for the demo customer.
const QHash<QString, SweepCall> &sweepCalls()
{
    static const QHash<QString, SweepCall> calls = {
        {"BuyukGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BuyukGetir(nettest::B2BServer::knownComputer());
         }},
        {"StokAraGetirQuelpa", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.StokAraGetirQuelpa(QStringLiteral("x"), copyOf(s.session));
         }},
        {"EnVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.EnVer(s.stokno);
         }},
        {"SepetEkle2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetEkle2(copyOf(s.session), s.session.CARINO(), s.stokno, QStringLiteral("x"), QStringLiteral("x"), 1.0, 1.0, 1.0, 1.0, s.session.Sirano(), 1, 1.0, 1.0, 1.0);
         }},
        {"SepetGuncelle2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetGuncelle2(copyOf(s.session), s.session.CARINO(), s.stokno, QStringLiteral("x"), QStringLiteral("x"), 1.0, 1.0, 1.0, 1.0, s.session.Sirano(), 1, 1.0, 1.0, 1.0);
         }},
        {"SepetVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetVer2(s.session.CARINO());
         }},
        {"SepetSatirSil", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetSatirSil(copyOf(s.session), 1, QStringLiteral("x"));
         }},
        {"SepetHepsiniSil", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetHepsiniSil(copyOf(s.session));
         }},
        {"SepetSecimGuncelle", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetSecimGuncelle(1, 1);
         }},
        {"TeslimVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.TeslimVer();
         }},
        {"KargoVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.KargoVer();
         }},
        {"KargolarVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.KargolarVer(1);
         }},
        {"SiparisKaydet", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SiparisKaydet(copyOf(s.session), s.session.CARINO(), 1, 1, QStringLiteral("x"), s.session.Sirano(), 1);
         }},
        {"CariEkstreVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.CariEkstreVer(s.session.CARINO());
         }},
        {"OncekiSiparisler", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.OncekiSiparisler(s.session.CARINO());
         }},
        {"SiparisAyrintisi2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SiparisAyrintisi2(s.session.CARINO(), 1);
         }},
        {"SiparisAytintisiDip", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SiparisAytintisiDip(s.session.CARINO(), 1);
         }},
        {"TumSiparislerVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.TumSiparislerVer(s.session.CARINO(), s.stokno);
         }},
        {"FaturaGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.FaturaGetir(s.session.CARINO(), 1);
         }},
        {"FaturaAltGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.FaturaAltGetir(1);
         }},
        {"Tahsilat", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.Tahsilat(1);
         }},
        {"SanalposSiranoVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SanalposSiranoVer(1);
         }},
        {"SAnalPosPdfVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             qint64 boy = 0;
             p.SAnalPosPdfVer(1, boy);
         }},
        {"BakiyelerVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BakiyelerVer2(s.session.CARINO());
         }},
        {"BakiyeDuzenle", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BakiyeDuzenle(copyOf(s.session), s.stokno, 1, 1, 1.0, 1.0, QStringLiteral("x"));
         }},
        {"BakiyeDegistir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BakiyeDegistir(copyOf(s.session), s.stokno, 1, 1, 1.0, 1.0, QStringLiteral("x"));
         }},
        {"BakiyeFiyatDegistir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BakiyeFiyatDegistir(copyOf(s.session), s.stokno, 1, 1, 1.0, 1.0, QStringLiteral("x"), 1.0, 1.0);
         }},
        {"StokHareketVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.StokHareketVer(s.session.CARINO(), s.stokno);
         }},
        {"RaporAlinanSiparisler", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.RaporAlinanSiparisler(copyOf(s.session), 45000.0, 46500.0);
         }},
        {"RaporEnCokSatilanStoklar", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.RaporEnCokSatilanStoklar(copyOf(s.session), 45000.0, 46500.0);
         }},
        {"CariDurumVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.CariDurumVer(s.session.CARINO());
         }},
        {"CariVadeGunGecmismiBul", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.CariVadeGunGecmismiBul(s.session.CARINO());
         }},
        {"CariAra", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.CariAra(copyOf(s.session), QStringLiteral("x"));
         }},
        {"SepetSayisi", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.SepetSayisi(copyOf(s.session));
         }},
        {"TusSonuclariVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.TusSonuclariVer(copyOf(s.session));
         }},
        {"CariSepetVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.CariSepetVer(copyOf(s.session), 1);
         }},
        {"RaporGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             qint64 size = 0;
             p.RaporGetir(1, 1, 1, s.session.CARINO(), QStringLiteral("x"), 45000.0, 46500.0, size);
         }},
        {"YenilerVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.YenilerVer2(s.session.CARINO());
         }},
        {"KampanyaliVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.KampanyaliVer2(s.session.CARINO(), s.session.MusteriTipi());
         }},
        {"BalonGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.BalonGetir(copyOf(s.session));
         }},
        {"AcilisEkranlarVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.AcilisEkranlarVer2();
         }},
        {"AcilisReklamAdet", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.AcilisReklamAdet();
         }},
        {"AcilisREklamVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.AcilisREklamVer(1);
         }},
        {"KayanYaziGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.KayanYaziGetir();
         }},
        {"BannerResimVer", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             qint64 size = 0;
             p.BannerResimVer(size);
         }},
        {"BannerResimVer2", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             qint64 size = 0;
             p.BannerResimVer2(size);
         }},
        {"BannerResimVer3", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             qint64 size = 0;
             p.BannerResimVer3(size);
         }},
        {"MobilCariBilgisiGetir", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.MobilCariBilgisiGetir(1, nettest::B2BServer::knownComputer());
         }},
        {"MailGonserCariNormal", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.MailGonserCariNormal(nettest::B2BServer::knownComputer(), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"));
         }},
        {"MailGonserCari", [](TServerMethods1Client &p, [[maybe_unused]] const SweepContext &s) {
             p.MailGonserCari(nettest::B2BServer::knownComputer(), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x"));
         }},
    };
    return calls;
}

// Checks one request against the method catalogue; returns what is wrong, or nothing.
QString checkRequest(const wire::MethodInfo &method, const QByteArray &body)
{
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    const QJsonArray params = doc.object().value(QLatin1String("_parameters")).toArray();
    if (params.size() != method.in.size())
        return QStringLiteral("%1: %2 parameters instead of %3")
            .arg(method.name)
            .arg(params.size())
            .arg(method.in.size());
    for (int i = 0; i < params.size(); ++i) {
        const QJsonValue v = params.at(i);
        const wire::ValueKind kind = method.in.at(i).kind;
        bool ok = false;
        switch (kind) {
        case wire::ValueKind::Integer:
            ok = v.isDouble() && v.toDouble() == 1.0;
            break;
        case wire::ValueKind::Double:
            ok = v.isDouble() && v.toDouble() == 1.5;
            break;
        case wire::ValueKind::String:
            ok = v.isString() && v.toString() == QLatin1String("x");
            break;
        default:
            ok = wire::isRecordKind(kind) &&
                 v.toObject().value(QLatin1String("type")).toString() == wire::valueKindName(kind);
            break;
        }
        if (!ok)
            return QStringLiteral("%1: parameter %2 (%3) is not a %4")
                .arg(method.name, QString::number(i), method.in.at(i).name, wire::valueKindName(kind));
    }
    return QString();
}

// A well-formed answer with the method's out values and result.
QByteArray cannedAnswer(const wire::MethodInfo &method)
{
    QJsonArray values;
    for (const wire::MethodParam &out : method.out) {
        Q_UNUSED(out);
        values.append(3);
    }
    switch (method.result) {
    case wire::ValueKind::None:
        break;
    case wire::ValueKind::Integer:
        values.append(7);
        break;
    case wire::ValueKind::Boolean:
        values.append(true);
        break;
    case wire::ValueKind::String:
        values.append(QStringLiteral("metin"));
        break;
    case wire::ValueKind::Stream:
        values.append(QJsonArray{1, 2, 3});
        break;
    case wire::ValueKind::DataPacket:
    case wire::ValueKind::Reader: {
        wire::Table table;
        table.addColumn({QStringLiteral("SIRANO"), wire::ColumnType::Int32, 4, false});
        table.setInt(table.appendRow(), 0, 5);
        values.append(wire::tableToJson(table));
        break;
    }
    default: {
        const std::unique_ptr<wire::Record> record = wire::createRecord(wire::valueKindName(method.result));
        values.append(wire::recordToJson(record.get()));
        break;
    }
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("result"), values}}).toJson(QJsonDocument::Compact);
}

// A session record that reports its destruction.
class WatchedRecord : public TSonucBilgisi {
public:
    explicit WatchedRecord(bool *destroyed) : m_destroyed(destroyed) { *m_destroyed = false; }
    ~WatchedRecord() override { *m_destroyed = true; }

private:
    bool *m_destroyed;
};

// As in the command tests: -1 success, 0 failure on the client's side, else the HTTP status.
int statusOf(const std::function<void()> &step, QString *message)
{
    try {
        step();
    } catch (const platform::RemoteError &e) {
        *message = e.Message();
        return e.Status();
    } catch (const platform::Exception &e) {
        *message = e.Message();
        return 0;
    }
    return -1;
}

QString failureOf(const std::function<void()> &step)
{
    try {
        step();
    } catch (const platform::Exception &e) {
        return e.Message().isNull() ? QStringLiteral("") : e.Message();
    }
    return QString();
}

} // namespace

class TestProxim : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QString::fromUtf8(KORVEL_SERVER_BIN).isEmpty())
            return;
        QVERIFY2(m_server.start(QString::fromUtf8(KORVEL_SERVER_BIN),
                                {QStringLiteral("--fault"), QStringLiteral("fail=TusSonuclariVer:Deneme arızası"),
                                 QStringLiteral("--fault"), QStringLiteral("truncate=BannerResimVer2")}),
                 qPrintable(m_server.errorString()));
        m_serverUp = true;
    }

    void constructionWithoutConnectionIsRefused()
    {
        QVERIFY(!failureOf([] { TServerMethods1Client proxy(nullptr); }).isNull());
    }

    void everyServerMethodIsAddressedWithItsSignature()
    {
        QMutex lock;
        QStringList problems;
        QSet<QString> seen;
        nettest::CannedServer server([&](const QString &name, const QByteArray &body) {
            nettest::CannedServer::Answer answer;
            const wire::MethodInfo *method = wire::findMethod(name);
            QMutexLocker locker(&lock);
            seen.insert(name);
            if (!method) {
                problems.append(QStringLiteral("unknown method %1").arg(name));
                answer.status = 404;
                answer.body = R"({"error":"unknown"})";
                return answer;
            }
            const QString problem = checkRequest(*method, body);
            if (!problem.isEmpty()) {
                problems.append(problem);
                answer.status = 400;
                answer.body = QJsonDocument(QJsonObject{{QStringLiteral("error"), problem}}).toJson();
                return answer;
            }
            answer.body = cannedAnswer(*method);
            return answer;
        });
        auto connection = nettest::loopbackConnection(server.port());
        connection->Open();
        TServerMethods1Client proxy(connection.get());

        QSet<QString> catalogue;
        for (const wire::MethodInfo &m : wire::serverMethods())
            catalogue.insert(m.name);
        const QList<QString> proxied = proxyCalls().keys();
        QCOMPARE(QSet<QString>(proxied.begin(), proxied.end()), catalogue);

        for (const wire::MethodInfo &m : wire::serverMethods()) {
            const QString failure = failureOf([&] { proxyCalls().value(m.name)(proxy); });
            QVERIFY2(failure.isNull(), qPrintable(m.name + QLatin1String(": ") + failure));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(seen, catalogue);
    }

    void everyMethodIsAnsweredByTheRealServer()
    {
        // Each answer decodes as the proxy reads it, or the method itself refused (500);
        // never an unknown method, a parameter mismatch or an undecodable answer.
        if (QString::fromUtf8(KORVEL_SERVER_BIN).isEmpty())
            QSKIP("the substitute server is not part of this build");
        nettest::B2BServer server;
        QVERIFY2(server.start(QString::fromUtf8(KORVEL_SERVER_BIN)), qPrintable(server.errorString()));
        auto connection = server.connection();
        connection->Open();
        TServerMethods1Client proxy(connection.get());

        SweepContext context;
        context.session.Kopyala(*proxy.BuyukGetir(nettest::B2BServer::knownComputer()));
        const wire::Table *stock = proxy.StokAraGetirQuelpa(QString(), copyOf(context.session));
        QVERIFY(stock->rowCount() > 0);
        context.stokno = qint32(stock->intValue(0, stock->indexOf(QStringLiteral("STOK_STOKNO"))));

        QSet<QString> catalogue;
        for (const wire::MethodInfo &m : wire::serverMethods()) {
            catalogue.insert(m.name);
            QString message;
            const int status = statusOf([&] { sweepCalls().value(m.name)(proxy, context); }, &message);
            QVERIFY2(status == -1 || status == 500,
                     qPrintable(QStringLiteral("%1: %2 %3").arg(m.name).arg(status).arg(message)));
            if (!connection->Connected())
                connection->Open();
        }
        const QList<QString> swept = sweepCalls().keys();
        QCOMPARE(QSet<QString>(swept.begin(), swept.end()), catalogue);
    }

    void returnedRecordIsReplacedByTheNextCallOfTheSameMethod()
    {
        if (!m_serverUp)
            QSKIP("the substitute server is not part of this build");
        auto connection = m_server.connection();
        connection->Open();
        TServerMethods1Client proxy(connection.get());

        TSonucBilgisi *known = proxy.BuyukGetir(nettest::B2BServer::knownComputer());
        QVERIFY(known && known->Varmi());
        const qint32 account = known->CARINO();
        const wire::Table *cart = proxy.SepetVer2(account);
        const int cartColumns = cart->columnCount();

        TSonucBilgisi *unknown = proxy.BuyukGetir(QStringLiteral("YOK-BÖYLE-BİR-BİLGİSAYAR"));
        QVERIFY(unknown);
        QVERIFY(!unknown->Varmi());
        QVERIFY(unknown->BILGISAYARID() != nettest::B2BServer::knownComputer());

        // What another method returned is untouched by these calls.
        QCOMPARE(cart->columnCount(), cartColumns);
        QVERIFY(cart->indexOf(QStringLiteral("SIRANO")) >= 0);

        // A copy taken with Kopyala outlives the proxy.
        TSonucBilgisi copy;
        copy.Kopyala(*proxy.BuyukGetir(nettest::B2BServer::knownComputer()));
        proxy.BuyukGetir(QStringLiteral("YOK"));
        QCOMPARE(copy.CARINO(), account);
    }

    void recordArgumentIsConsumedEvenWhenTheCallFails_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("fails");
        QTest::newRow("call succeeds") << "StokAraGetirQuelpa" << true << false;
        QTest::newRow("server fails") << "TusSonuclariVer" << true << true;
        QTest::newRow("connection closed") << "StokAraGetirQuelpa" << false << true;
    }

    void recordArgumentIsConsumedEvenWhenTheCallFails()
    {
        if (!m_serverUp)
            QSKIP("the substitute server is not part of this build");
        QFETCH(QString, method);
        QFETCH(bool, open);
        QFETCH(bool, fails);
        auto connection = m_server.connection();
        if (open)
            connection->Open();
        TServerMethods1Client proxy(connection.get());

        // The session of the known computer, so that a working call is authorised.
        TSonucBilgisi session;
        if (open)
            session.Kopyala(*proxy.BuyukGetir(nettest::B2BServer::knownComputer()));
        bool destroyed = false;
        auto record = std::make_unique<WatchedRecord>(&destroyed);
        record->Kopyala(session);
        std::unique_ptr<TSonucBilgisi> argument = std::move(record);
        const QString failure = failureOf([&] {
            if (method == QLatin1String("StokAraGetirQuelpa"))
                proxy.StokAraGetirQuelpa(QStringLiteral("FİLTRE"), std::move(argument));
            else
                proxy.TusSonuclariVer(std::move(argument));
        });
        QCOMPARE(!failure.isNull(), fails);
        QVERIFY(destroyed);
        QVERIFY(!argument);
        if (method == QLatin1String("TusSonuclariVer"))
            QCOMPARE(failure, QStringLiteral("Deneme arızası"));
    }

    void streamComesWithItsLengthOrIsRefused()
    {
        if (!m_serverUp)
            QSKIP("the substitute server is not part of this build");
        auto connection = m_server.connection();
        connection->Open();
        TServerMethods1Client proxy(connection.get());

        qint64 size = -1;
        QBuffer *bitmap = proxy.BannerResimVer3(size);
        QVERIFY(size > 0);
        QCOMPARE(bitmap->size(), size);
        QVERIFY(bitmap->data().startsWith("BM"));

        // The server cuts this one short while announcing the full length.
        qint64 cutSize = -1;
        const QString failure = failureOf([&] { proxy.BannerResimVer2(cutSize); });
        QVERIFY2(failure.contains(QStringLiteral("eksik")), qPrintable(failure));
        QCOMPARE(cutSize, qint64(-1));
        // What another method returned stays readable.
        QVERIFY(bitmap->data().startsWith("BM"));
    }

    void sepetSecimGuncelleReturnsNothing()
    {
        static_assert(std::is_void_v<decltype(std::declval<TServerMethods1Client &>().SepetSecimGuncelle(0, 0))>);
        if (!m_serverUp)
            QSKIP("the substitute server is not part of this build");
        auto connection = m_server.connection();
        connection->Open();
        TServerMethods1Client proxy(connection.get());
        const qint32 account = proxy.BuyukGetir(nettest::B2BServer::knownComputer())->CARINO();
        const wire::Table *cart = proxy.SepetVer2(account);
        if (cart->rowCount() == 0)
            QSKIP("the demo account has no cart line");
        const int line = int(cart->intValue(0, cart->indexOf(QStringLiteral("SIRANO"))));
        const int selected = int(cart->intValue(0, cart->indexOf(QStringLiteral("SEC"))));

        proxy.SepetSecimGuncelle(line, 1 - selected);
        cart = proxy.SepetVer2(account);
        for (int row = 0; row < cart->rowCount(); ++row) {
            if (cart->intValue(row, cart->indexOf(QStringLiteral("SIRANO"))) == line)
                QCOMPARE(int(cart->intValue(row, cart->indexOf(QStringLiteral("SEC")))), 1 - selected);
        }
    }

private:
    nettest::B2BServer m_server;
    bool m_serverUp = false;
};

KORVEL_TEST_MAIN(TestProxim)
#include "tst_proxim.moc"

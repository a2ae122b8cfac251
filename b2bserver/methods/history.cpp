// Orders group, the looking-back half: previous orders, their lines and footer, and the
// open order balances with the changes staff and customers make to them.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "pricing.h"
#include "session.h"
#include "sqlquery.h"
#include "store.h"
#include "table.h"

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

void oncekiSiparisler(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"CARINO", T::Int32},          {"IDNO", T::Int32},
                               {"TARIH", T::Date},            {"KUR", T::String, 5},
                               {"KURTL", T::Double},          {"VERENIDNO", T::Int32},
                               {"KARGO", T::String, 50},      {"TESLIM", T::String, 50},
                               {"VEREN", T::String, 50},      {"CARIKOD", T::String, 30},
                               {"CARIADI", T::String, 200},   {"VERGI", T::Double},
                               {"NETTUTAR", T::Double},       {"TUTAR", T::Double},
                               {"DURUM", T::String, 30},      {"KARGOADI", T::String, 50},
                               {"VERENINNOTU", T::String, 1000}, {"ALANNOTU", T::String, 1000}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
                           "SELECT o.carino, o.idno, o.tarih, o.kur, o.kurtl, o.verenid, COALESCE(kc.adi, ''), "
                           "COALESCE(tc.adi, ''), o.veren, c.carikod, c.cariadi, o.vergi, o.nettutar, o.tutar, "
                           "o.durum, COALESCE(kf.adi, ''), o.aciklama, o.alannotu "
                           "FROM siparisler o JOIN cariler c ON c.carino = o.carino "
                           "LEFT JOIN kargo_cinsleri kc ON kc.kargoid = o.kargoid "
                           "LEFT JOIN teslim_cinsleri tc ON tc.teslimid = o.teslimid "
                           "LEFT JOIN kargo_firmalari kf ON kf.sirano = o.kargofirmano "
                           "WHERE o.carino = ? ORDER BY o.tarih DESC, o.idno DESC"));
        q.bind(call.integer(0)).exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 14; ++i)
                w << q.value(i);
            w << orderStateName(q.toInt(14)) << q.value(15) << q.value(16) << q.value(17);
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

// The order-line columns shared by the order detail, the order movements and the balances.
wire::Table orderLineTable()
{
    return makeTable({{"VERILISTARIHI", T::DateTime}, {"SIRANO", T::Int32},         {"SIPARISNO", T::String, 20},
                      {"CARINO", T::Int32},           {"TARIH", T::Date},           {"AKTAR", T::Int32},
                      {"STOKNO", T::Int32},           {"BARKOD", T::String, 50},    {"FINISHKOD", T::String, 50},
                      {"OEMNO", T::String, 50},       {"STOKADI", T::String, 200},  {"MIKTAR", T::Double},
                      {"BIRIMFIYAT", T::Double},      {"ILKFIYAT", T::Double},      {"TUTAR", T::Double},
                      {"INDIRIMYAZI", T::String, 30}, {"INDIRIMORANI1", T::Double}, {"INDIRIMORANI2", T::Double},
                      {"INDIRIMORANI3", T::Double},   {"INDIRIMORANI4", T::Double}, {"INDIRIMTUTAR", T::Double},
                      {"NETBIRIMFIYAT", T::Double},   {"KDV", T::Double},           {"VERGITUTARI", T::Double},
                      {"NETTUTAR", T::Double},        {"KUR", T::String, 5},        {"KURTL", T::Double},
                      {"VERENIDNO", T::Int32},        {"TESLIMID", T::Int32},       {"KARGOID", T::Int32},
                      {"IDNO", T::Int32},             {"VERENSIRANO", T::Int32},    {"SAAT", T::String, 10},
                      {"ACIKLAMA", T::String, 200},   {"VEREN", T::String, 50},     {"CARIKOD", T::String, 30},
                      {"CARIADI", T::String, 200},    {"OEM1", T::String, 50},      {"OEM2", T::String, 50},
                      {"OEM3", T::String, 50},        {"OEM4", T::String, 50},      {"STOK_STOKNO", T::Int32},
                      {"URETICIKODU", T::String, 50}, {"DIGERADI", T::String, 200}, {"DPKOD", T::String, 20},
                      {"PKOD", T::String, 20},        {"MARKA", T::String, 50},     {"MODEL", T::String, 50},
                      {"ANAGRUP", T::String, 50},     {"OZELKOD", T::String, 50},   {"TESLIM", T::String, 50},
                      {"KARGO", T::String, 50},       {"TESLIMEDILEN", T::Double},  {"KALAN", T::Double},
                      {"STOKHAR_NO", T::Int32},       {"ELDEKI", T::Double},        {"DURUM", T::Int32},
                      {"ALINANSIPARIS", T::Double},   {"VERILENSIPARIS", T::Double}});
}

const QString orderLineSelect = QStringLiteral(
    "SELECT o.tarih || 'T' || o.saat, l.sirano, o.siparisno, l.carino, o.tarih, l.aktar, l.stokno, l.barkod, "
    "s.kod, s.oemno, l.stokadi, l.miktar, l.birimfiyat, l.ilkfiyat, l.tutar, l.iskonto1, l.iskonto2, "
    "l.iskonto3, l.iskonto4, l.indirimtutar, l.netbirimfiyat, l.kdv, l.vergitutari, l.nettutar, o.kur, "
    "o.kurtl, o.verenid, o.teslimid, o.kargoid, o.idno, l.verenid, o.saat, l.aciklama, o.veren, c.carikod, "
    "c.cariadi, s.oem1, s.oem2, s.oem3, s.oem4, s.stokno, s.ureticikodu, s.digeradi, s.dpkod, s.pkod, "
    "s.marka, s.model, s.anagrup, s.ozelkod, COALESCE(tc.adi, ''), COALESCE(kc.adi, ''), l.teslimedilen, "
    "l.kalan, l.stokharno, s.eldeki, s.durum, s.alinansiparis, s.verilensiparis "
    "FROM siparis_satirlari l JOIN siparisler o ON o.idno = l.idno JOIN stoklar s ON s.stokno = l.stokno "
    "JOIN cariler c ON c.carino = l.carino "
    "LEFT JOIN teslim_cinsleri tc ON tc.teslimid = o.teslimid "
    "LEFT JOIN kargo_cinsleri kc ON kc.kargoid = o.kargoid ");

// Runs an order-line query (already bound) into the shared column set.
wire::Table orderLines(SqlQuery &q)
{
    wire::Table t = orderLineTable();
    q.exec();
    while (q.next()) {
        RowWriter w(t);
        for (int i = 0; i < 15; ++i)
            w << q.value(i);
        w << store::discountText(q.toDouble(15), q.toDouble(16), q.toDouble(17), q.toDouble(18));
        for (int i = 15; i < 58; ++i)
            w << q.value(i);
    }
    return t;
}

void siparisAyrintisi2(Call &call, Reply &reply)
{
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, orderLineSelect + QStringLiteral("WHERE l.carino = ? AND l.idno = ? ORDER BY l.sirano"));
        q.bind(call.integer(0)).bind(call.integer(1));
        reply.setResult(Value::reader(orderLines(q)));
    });
}

// Every order line of the account, of one item or (stock number 0) of all.
void tumSiparislerVer(Call &call, Reply &reply)
{
    const int stokno = call.integer(1);
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, orderLineSelect + QStringLiteral("WHERE l.carino = ? ") +
                           (stokno != 0 ? QStringLiteral("AND l.stokno = ? ") : QString()) +
                           QStringLiteral("ORDER BY o.tarih DESC, l.idno DESC, l.sirano"));
        q.bind(call.integer(0));
        if (stokno != 0)
            q.bind(stokno);
        reply.setResult(Value::reader(orderLines(q)));
    });
}

void bakiyelerVer2(Call &call, Reply &reply)
{
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, orderLineSelect + QStringLiteral("WHERE l.carino = ? AND l.kalan > 0 "
                                                        "ORDER BY o.tarih, l.idno, l.sirano"));
        q.bind(call.integer(0));
        reply.setResult(Value::reader(orderLines(q)));
    });
}

// Footer of one order; account 0 (what the client sends) means any account. No such
// order: a null record.
void siparisAytintisiDip(Call &call, Reply &reply)
{
    const int carino = call.integer(0);
    std::shared_ptr<TSiparisDipAyrinti> dip;
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT o.aciklama, o.durum, o.veren, COALESCE(kf.adi, ''), o.alannotu, "
                                      "COALESCE(tc.adi, ''), COALESCE(kc.adi, ''), o.saticinotu, o.carino "
                                      "FROM siparisler o "
                                      "LEFT JOIN kargo_firmalari kf ON kf.sirano = o.kargofirmano "
                                      "LEFT JOIN teslim_cinsleri tc ON tc.teslimid = o.teslimid "
                                      "LEFT JOIN kargo_cinsleri kc ON kc.kargoid = o.kargoid WHERE o.idno = ?"));
        q.bind(call.integer(1)).exec();
        if (!q.next() || (carino != 0 && q.toInt(8) != carino))
            return;
        dip = std::make_shared<TSiparisDipAyrinti>();
        dip->SetSizinMesaj(q.toString(0));
        dip->SetDurumu(orderStateName(q.toInt(1)));
        dip->SetVeren(q.toString(2));
        dip->SetKargo(q.toString(3));
        dip->SetBizimMesaj(q.toString(4));
        dip->SetTeslimCinsi(q.toString(5));
        dip->SetKargoCinsi(q.toString(6));
        dip->SetSaticiNotu(q.toString(7));
    });
    reply.setResult(Value::record(wire::ValueKind::SiparisDipAyrinti, std::move(dip)));
}

// ---- balance changes --------------------------------------------------------------------

struct OpenLine {
    int carino = 0;
    double miktar = 0, teslimedilen = 0, kalan = 0, birimfiyat = 0, kdv = 0, rates[4] = {0, 0, 0, 0};
};

// The order line `sirano` of the session's account, locked for the change.
OpenLine lockOpenLine(QSqlDatabase &db, Call &call, int sirano, SessionUser &user)
{
    const TSonucBilgisi *session = call.record<TSonucBilgisi>(0);
    user = checkSession(db, session);
    SqlQuery q(db, QStringLiteral("SELECT carino, miktar, teslimedilen, kalan, birimfiyat, kdv, iskonto1, iskonto2, "
                                  "iskonto3, iskonto4 FROM siparis_satirlari WHERE sirano = ?") +
                       (call.store().backend() == store::Backend::Postgres ? QStringLiteral(" FOR UPDATE")
                                                                            : QString()));
    q.bind(sirano).exec();
    if (!q.next() || q.toInt(0) != session->CARINO())
        throw MethodError(QStringLiteral("Sipariş satırı bulunamadı."));
    OpenLine l;
    l.carino = q.toInt(0);
    double *reals[] = {&l.miktar, &l.teslimedilen, &l.kalan, &l.birimfiyat, &l.kdv,
                       &l.rates[0], &l.rates[1], &l.rates[2], &l.rates[3]};
    for (int i = 0; i < 9; ++i)
        *reals[i] = q.toDouble(1 + i);
    return l;
}

void writeLine(QSqlDatabase &db, int sirano, const OpenLine &l)
{
    const store::LineAmounts a =
        store::computeLine(l.miktar, l.birimfiyat, l.kdv, l.rates[0], l.rates[1], l.rates[2], l.rates[3]);
    SqlQuery(db, QStringLiteral("UPDATE siparis_satirlari SET miktar = ?, kalan = ?, birimfiyat = ?, iskonto1 = ?, "
                                "iskonto2 = ?, iskonto3 = ?, iskonto4 = ?, tutar = ?, indirimtutar = ?, "
                                "nettutar = ?, vergitutari = ?, netbirimfiyat = ? WHERE sirano = ?"))
        .bind(l.miktar)
        .bind(l.kalan)
        .bind(l.birimfiyat)
        .bind(l.rates[0])
        .bind(l.rates[1])
        .bind(l.rates[2])
        .bind(l.rates[3])
        .bind(a.tutar)
        .bind(a.indirimtutar)
        .bind(a.nettutar)
        .bind(a.vergitutari)
        .bind(a.netbirimfiyat)
        .bind(sirano)
        .exec();
}

void logChange(QSqlDatabase &db, const QString &kind, int sirano, int user, const OpenLine &before,
               const OpenLine &after)
{
    SqlQuery(db, QStringLiteral("INSERT INTO bakiye_islemleri (tarih, islem, siparissatirno, kullanici, eskimiktar, "
                                "yenimiktar, eskifiyat, yenifiyat, eskiiskonto, yeniiskonto) "
                                "VALUES (?,?,?,?,?,?,?,?,?,?)"))
        .bind(isoToday())
        .bind(kind)
        .bind(sirano)
        .bind(user)
        .bind(before.kalan)
        .bind(after.kalan)
        .bind(before.birimfiyat)
        .bind(after.birimfiyat)
        .bind(before.rates[0])
        .bind(after.rates[0])
        .exec();
}

void checkBalanceInput(Call &call)
{
    requireRange(call.real(4), 0, 1000000, QStringLiteral("Adet"));
    requireRange(call.real(5), 0, 1000000, QStringLiteral("Bakiye"));
    requireLength(call.text(6), 50, QStringLiteral("Barkod"));
}

// Deletes the open balance of a line: what was not delivered is no longer owed.
void bakiyeDuzenle(Call &call, Reply &reply)
{
    checkBalanceInput(call);
    const int sirano = call.integer(2);
    call.store().write([&](QSqlDatabase &db) {
        SessionUser user;
        const OpenLine before = lockOpenLine(db, call, sirano, user);
        if (before.kalan <= 0)
            throw MethodError(QStringLiteral("Bu sipariş satırının açık bakiyesi yok."));
        OpenLine after = before;
        after.miktar = before.teslimedilen;
        after.kalan = 0;
        writeLine(db, sirano, after);
        logChange(db, QStringLiteral("Bakiye Silme"), sirano, user.sirano, before, after);
    });
    reply.setResult(Value::integer(1));
}

// Sets the open quantity of a line; the ordered quantity follows (delivered + open).
void bakiyeDegistir(Call &call, Reply &reply)
{
    checkBalanceInput(call);
    const double open = call.real(5);
    requireRange(open, 0.0001, 1000000, QStringLiteral("Yeni bakiye"));
    const int sirano = call.integer(2);
    call.store().write([&](QSqlDatabase &db) {
        SessionUser user;
        const OpenLine before = lockOpenLine(db, call, sirano, user);
        OpenLine after = before;
        after.kalan = open;
        after.miktar = before.teslimedilen + open;
        writeLine(db, sirano, after);
        logChange(db, QStringLiteral("Bakiye Değiştirme"), sirano, user.sirano, before, after);
    });
    reply.setResult(Value::integer(1));
}

// New unit price and one discount rate for a line; only staff with price rights (kind 2).
void bakiyeFiyatDegistir(Call &call, Reply &reply)
{
    checkBalanceInput(call);
    const double price = call.real(7);
    const double rate = call.real(8);
    requireRange(price, 0, 100000000, QStringLiteral("Fiyat"));
    requireRange(rate, 0, 100, QStringLiteral("İndirim oranı"));
    const int sirano = call.integer(2);
    call.store().write([&](QSqlDatabase &db) {
        SessionUser user;
        const OpenLine before = lockOpenLine(db, call, sirano, user);
        if (user.kind != 2)
            throw MethodError(QStringLiteral("Fiyat değiştirme yetkiniz yok."));
        OpenLine after = before;
        after.birimfiyat = price;
        after.rates[0] = rate;
        after.rates[1] = after.rates[2] = after.rates[3] = 0;
        writeLine(db, sirano, after);
        logChange(db, QStringLiteral("Fiyat Değiştirme"), sirano, user.sirano, before, after);
    });
    reply.setResult(Value::integer(1));
}

} // namespace

void registerHistoryMethods(MethodTable &table)
{
    table.add(QStringLiteral("OncekiSiparisler"), oncekiSiparisler);
    table.add(QStringLiteral("SiparisAyrintisi2"), siparisAyrintisi2);
    table.add(QStringLiteral("SiparisAytintisiDip"), siparisAytintisiDip);
    table.add(QStringLiteral("TumSiparislerVer"), tumSiparislerVer);
    table.add(QStringLiteral("BakiyelerVer2"), bakiyelerVer2);
    table.add(QStringLiteral("BakiyeDuzenle"), bakiyeDuzenle);
    table.add(QStringLiteral("BakiyeDegistir"), bakiyeDegistir);
    table.add(QStringLiteral("BakiyeFiyatDegistir"), bakiyeFiyatDegistir);
}

} // namespace methods

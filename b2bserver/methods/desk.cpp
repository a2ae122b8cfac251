// Desk group: account lists for the staff desk and the start-up tab counts.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "session.h"
#include "sqlquery.h"
#include "store.h"
#include "table.h"

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

wire::Table accountTable()
{
    return makeTable({{"CARINO", T::Int32},         {"CARIKOD", T::String, 30},   {"CARIADI", T::String, 200},
                      {"SATICISI", T::String, 50},  {"TLBAKIYE", T::Double},      {"DURUM", T::String, 30},
                      {"OZELKOD", T::String, 50},   {"KOD1", T::String, 30},      {"KOD2", T::String, 30},
                      {"KOD3", T::String, 30},      {"KOD4", T::String, 30},      {"KOD5", T::String, 30},
                      {"TEL1", T::String, 30},      {"TEL2", T::String, 30},      {"ILCE", T::String, 50},
                      {"IL", T::String, 50},        {"GSM", T::String, 30},       {"SEPET", T::Int32},
                      {"YETKILI", T::String, 100},  {"INDIRIM", T::Double},       {"VADE", T::Int32},
                      {"VADEKONTROLGUN", T::Int32}, {"VADEKONTROLAY", T::Int32},  {"VERGIDAIRESI", T::String, 50},
                      {"VERGINO", T::String, 20},   {"ADRES1", T::String, 200},   {"ADRES2", T::String, 200},
                      {"ANAGRUP", T::String, 50},   {"ALTGRUP", T::String, 50},   {"FAX1", T::String, 30},
                      {"FAX2", T::String, 30},      {"EMAIL", T::String, 100},    {"ALINDI", T::Int32},
                      {"ONAYLANDI", T::Int32},      {"GORULDU", T::Int32},        {"HAZIRLANDI", T::Int32},
                      {"PARCALIHAZIRLANDI", T::Int32}});
}

// Accounts with their balance, cart line count and order counts per state. `filter` is
// an SQL condition on the account `c`; its values are bound after the account columns.
const QString accountSelect = QStringLiteral(
    "SELECT c.carino, c.carikod, c.cariadi, COALESCE(sa.adi, ''), "
    "COALESCE((SELECT SUM(h.borc - h.alacak) FROM cari_hareketler h WHERE h.carino = c.carino), 0), c.durum, "
    "c.ozelkod, c.kod1, c.kod2, c.kod3, c.kod4, c.kod5, c.tel1, c.tel2, c.ilce, c.il, c.gsm, "
    "(SELECT COUNT(*) FROM sepet sp WHERE sp.carino = c.carino), c.yetkili, c.indirim, c.vade, "
    "c.vadekontrolgun, c.vadekontrolay, c.vergidairesi, c.vergino, c.adres1, c.adres2, c.anagrup, c.altgrup, "
    "c.fax1, c.fax2, c.email, "
    "(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = 2), "
    "(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = 3), "
    "(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = 4), "
    "(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = 6), "
    "(SELECT COUNT(*) FROM siparisler o WHERE o.carino = c.carino AND o.durum = 5) "
    "FROM cariler c LEFT JOIN saticilar sa ON sa.saticino = c.saticino WHERE c.aktif = 1 ");

wire::Table accountRows(SqlQuery &q, const QString &search = QString())
{
    wire::Table t = accountTable();
    q.exec();
    while (q.next()) {
        if (!search.isEmpty()) {
            // Code, name, contact, phone, district and city, Turkish letters folded.
            const QString hay = store::searchText(q.toString(1) + QLatin1Char(' ') + q.toString(2) +
                                                  QLatin1Char(' ') + q.toString(18) + QLatin1Char(' ') +
                                                  q.toString(12) + QLatin1Char(' ') + q.toString(14) +
                                                  QLatin1Char(' ') + q.toString(15));
            if (!QString(QLatin1Char(' ') + hay).contains(QLatin1Char(' ') + search))
                continue;
        }
        RowWriter w(t);
        for (int i = 0; i < 37; ++i)
            w << q.value(i);
    }
    return t;
}

// Staff see every account, a customer only its own. The text must start a word of the
// account's code, name, contact, telephone or town; an empty text lists all.
void cariAra(Call &call, Reply &reply)
{
    const QString text = call.text(1);
    requireLength(text, 100, QStringLiteral("Arama metni"));
    const QString search = store::searchText(text);
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        SqlQuery q(db, accountSelect + (user.isStaff() ? QString() : QStringLiteral("AND c.carino = ? ")) +
                           QStringLiteral("ORDER BY c.cariadi, c.carino"));
        if (!user.isStaff())
            q.bind(user.account);
        reply.setResult(Value::reader(accountRows(q, search)));
    });
}

// 1: accounts with a filled cart; 2..7: accounts with an order in that preparation state.
void cariSepetVer(Call &call, Reply &reply)
{
    const int code = call.integer(1);
    if (code < 1 || code > 7)
        throw MethodError(QStringLiteral("Geçersiz durum kodu: %1").arg(code));
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        QString sql = accountSelect;
        sql += code == 1 ? QStringLiteral("AND EXISTS (SELECT 1 FROM sepet sp WHERE sp.carino = c.carino) ")
                         : QStringLiteral("AND EXISTS (SELECT 1 FROM siparisler o WHERE o.carino = c.carino "
                                          "AND o.durum = ?) ");
        if (!user.isStaff())
            sql += QStringLiteral("AND c.carino = ? ");
        SqlQuery q(db, sql + QStringLiteral("ORDER BY c.cariadi, c.carino"));
        if (code != 1)
            q.bind(code);
        if (!user.isStaff())
            q.bind(user.account);
        reply.setResult(Value::reader(accountRows(q)));
    });
}

// Number of accounts with a filled cart (a customer: its own, 0 or 1).
void sepetSayisi(Call &call, Reply &reply)
{
    int count = 0;
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        SqlQuery q(db, QStringLiteral("SELECT COUNT(DISTINCT carino) FROM sepet") +
                           (user.isStaff() ? QString() : QStringLiteral(" WHERE carino = ?")));
        if (!user.isStaff())
            q.bind(user.account);
        count = q.scalar().toInt();
    });
    reply.setResult(Value::integer(count));
}

// One row for the tab captions: cart lines, new items, campaign items (none for user
// kind 4), announcements, and the open order balance (quantity still to deliver).
void balonGetir(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"SEPET", T::Int32},
                               {"YENI", T::Int32},
                               {"KAMPANYA", T::Int32},
                               {"DUYURU", T::Int32},
                               {"BAKIYE", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        const TSonucBilgisi *session = call.record<TSonucBilgisi>(0);
        const SessionUser user = checkSession(db, session);
        const int carino = session->CARINO();
        auto count = [&](const QString &sql, bool bindAccount) {
            SqlQuery q(db, sql);
            if (bindAccount)
                q.bind(carino);
            return q.scalar();
        };
        RowWriter w(t);
        w << count(QStringLiteral("SELECT COUNT(*) FROM sepet WHERE carino = ?"), true)
          << count(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE aktif = 1 AND yeni = 1"), false)
          << (user.kind == 4 ? QVariant(0)
                             : count(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE aktif = 1 AND kampanya = 1 "
                                                    "AND kampfiyat > 0"),
                                     false))
          << count(QStringLiteral("SELECT COUNT(*) FROM duyurular WHERE aktif = 1"), false)
          << count(QStringLiteral("SELECT COALESCE(SUM(kalan), 0) FROM siparis_satirlari WHERE carino = ? "
                                  "AND kalan > 0"),
                   true);
    });
    reply.setResult(Value::reader(std::move(t)));
}

} // namespace

void registerDeskMethods(MethodTable &table)
{
    table.add(QStringLiteral("CariAra"), cariAra);
    table.add(QStringLiteral("CariSepetVer"), cariSepetVer);
    table.add(QStringLiteral("SepetSayisi"), sepetSayisi);
    table.add(QStringLiteral("BalonGetir"), balonGetir);
}

} // namespace methods

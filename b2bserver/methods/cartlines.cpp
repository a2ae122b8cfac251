// Cart group, the writing half: adding, changing and removing lines of an account's cart.
// Amounts are always computed here from quantity, price, VAT and the four rates.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "pricing.h"
#include "session.h"
#include "sqlquery.h"
#include "stockrows.h"
#include "store.h"

#include <QTime>

namespace methods {

using store::SqlQuery;

namespace {

constexpr double maxQuantity = 1000000;
constexpr double maxPrice = 100000000;

struct LineInput {
    double miktar, kdv, fiyat, rates[4];
};

// Checks shared by add and change; nothing has been written when one fails.
void checkLineInput(const LineInput &in, const QString &barkod, const QString &stokadi)
{
    requireRange(in.miktar, 0.0001, maxQuantity, QStringLiteral("Miktar"));
    requireRange(in.fiyat, 0, maxPrice, QStringLiteral("Fiyat"));
    requireRange(in.kdv, 0, 100, QStringLiteral("KDV oranı"));
    for (double rate : in.rates)
        requireRange(rate, 0, 100, QStringLiteral("İndirim oranı"));
    requireLength(barkod, 50, QStringLiteral("Barkod"));
    requireLength(stokadi, 200, QStringLiteral("Stok adı"));
}

void checkActingUser(const SessionUser &user, int verenid)
{
    if (verenid != user.sirano)
        throw MethodError(QStringLiteral("Satırı ekleyen kullanıcı oturumdaki kullanıcı değil."));
}

QString nowTime()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

void sepetEkle2(Call &call, Reply &reply)
{
    const int carino = call.integer(1);
    const int stokno = call.integer(2);
    const QString barkod = call.text(3);
    const QString stokadi = call.text(4);
    LineInput in{call.real(5), call.real(6), call.real(7), {call.real(8), call.real(11), call.real(12), call.real(13)}};
    const int verenid = call.integer(9);
    const int k = call.integer(10);
    checkLineInput(in, barkod, stokadi);

    call.store().write([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0), carino);
        checkActingUser(user, verenid);
        StockRow stock;
        if (!loadStockRow(db, stokno, carino, stock))
            throw MethodError(QStringLiteral("Stok bulunamadı."));
        // Only staff set prices and rates; a customer always gets the catalogue's.
        if (!user.isStaff()) {
            in.fiyat = stock.fiyat();
            for (int i = 0; i < 4; ++i)
                in.rates[i] = stock.rate(i);
        }
        in.kdv = stock.kdv;
        const store::LineAmounts a =
            store::computeLine(in.miktar, in.fiyat, in.kdv, in.rates[0], in.rates[1], in.rates[2], in.rates[3]);
        SqlQuery(db, QStringLiteral("INSERT INTO sepet (carino, stokno, barkod, stokadi, miktar, birimfiyat, kdv, "
                                    "iskonto1, iskonto2, iskonto3, iskonto4, kampanya, sec, verenid, tarih, saat, "
                                    "kur, tutar, indirimtutar, nettutar, vergitutari, netbirimfiyat) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,?,?,?,?,?)"))
            .bind(carino)
            .bind(stokno)
            .bind(barkod.isEmpty() ? stock.barkod : barkod)
            .bind(stokadi.isEmpty() ? stock.adi : stokadi)
            .bind(in.miktar)
            .bind(in.fiyat)
            .bind(in.kdv)
            .bind(in.rates[0])
            .bind(in.rates[1])
            .bind(in.rates[2])
            .bind(in.rates[3])
            .bind(k > 0 || stock.onCampaign() ? 1 : 0)
            .bind(verenid)
            .bind(isoToday())
            .bind(nowTime())
            .bind(QStringLiteral("TL"))
            .bind(a.tutar)
            .bind(a.indirimtutar)
            .bind(a.nettutar)
            .bind(a.vergitutari)
            .bind(a.netbirimfiyat)
            .exec();
    });
    reply.setResult(Value::integer(1));
}

// Changes quantity (and, for staff, price and rates) of one line; the client sends stock
// number 0, so the line number alone names the line.
void sepetGuncelle2(Call &call, Reply &reply)
{
    const int carino = call.integer(1);
    const QString barkod = call.text(3);
    const QString stokadi = call.text(4);
    LineInput in{call.real(5), call.real(6), call.real(7), {call.real(8), call.real(11), call.real(12), call.real(13)}};
    const int verenid = call.integer(9);
    const int line = call.integer(10);
    checkLineInput(in, barkod, stokadi);

    call.store().write([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0), carino);
        checkActingUser(user, verenid);
        SqlQuery q(db, QStringLiteral("SELECT birimfiyat, kdv, iskonto1, iskonto2, iskonto3, iskonto4 FROM sepet "
                                      "WHERE sirano = ? AND carino = ?"));
        q.bind(line).bind(carino).exec();
        if (!q.next())
            throw MethodError(QStringLiteral("Sepet satırı bulunamadı."));
        if (!user.isStaff()) {
            in.fiyat = q.toDouble(0);
            for (int i = 0; i < 4; ++i)
                in.rates[i] = q.toDouble(2 + i);
        }
        in.kdv = q.toDouble(1);
        const store::LineAmounts a =
            store::computeLine(in.miktar, in.fiyat, in.kdv, in.rates[0], in.rates[1], in.rates[2], in.rates[3]);
        SqlQuery(db, QStringLiteral("UPDATE sepet SET miktar = ?, birimfiyat = ?, iskonto1 = ?, iskonto2 = ?, "
                                    "iskonto3 = ?, iskonto4 = ?, verenid = ?, tutar = ?, indirimtutar = ?, "
                                    "nettutar = ?, vergitutari = ?, netbirimfiyat = ? WHERE sirano = ?"))
            .bind(in.miktar)
            .bind(in.fiyat)
            .bind(in.rates[0])
            .bind(in.rates[1])
            .bind(in.rates[2])
            .bind(in.rates[3])
            .bind(verenid)
            .bind(a.tutar)
            .bind(a.indirimtutar)
            .bind(a.nettutar)
            .bind(a.vergitutari)
            .bind(a.netbirimfiyat)
            .bind(line)
            .exec();
    });
    reply.setResult(Value::integer(1));
}

// Removed lines are kept with the reason in sepet_silinenler.
void archiveLines(QSqlDatabase &db, const QString &where, int key, int user, const QString &reason)
{
    SqlQuery(db, QStringLiteral("INSERT INTO sepet_silinenler (tarih, carino, sepetsirano, stokno, miktar, verenid, "
                                "aciklama) SELECT ?, carino, sirano, stokno, miktar, ?, ? FROM sepet WHERE ") +
                     where)
        .bind(isoToday())
        .bind(user)
        .bind(reason)
        .bind(key)
        .exec();
}

void sepetSatirSil(Call &call, Reply &reply)
{
    const int line = call.integer(1);
    const QString reason = call.text(2);
    requireLength(reason, 250, QStringLiteral("Açıklama"));
    call.store().write([&](QSqlDatabase &db) {
        const TSonucBilgisi *session = call.record<TSonucBilgisi>(0);
        const SessionUser user = checkSession(db, session);
        const QVariant owner =
            SqlQuery(db, QStringLiteral("SELECT carino FROM sepet WHERE sirano = ?")).bind(line).scalar();
        if (!owner.isValid() || owner.toInt() != session->CARINO())
            throw MethodError(QStringLiteral("Sepet satırı bulunamadı."));
        archiveLines(db, QStringLiteral("sirano = ?"), line, user.sirano, reason);
        SqlQuery(db, QStringLiteral("DELETE FROM sepet WHERE sirano = ?")).bind(line).exec();
    });
    reply.setResult(Value::integer(1));
}

// Empties the cart of the session's account; answers the number of lines removed.
void sepetHepsiniSil(Call &call, Reply &reply)
{
    int removed = 0;
    call.store().write([&](QSqlDatabase &db) {
        const TSonucBilgisi *session = call.record<TSonucBilgisi>(0);
        const SessionUser user = checkSession(db, session);
        archiveLines(db, QStringLiteral("carino = ?"), session->CARINO(), user.sirano,
                     QStringLiteral("Tüm sepet silindi"));
        SqlQuery del(db, QStringLiteral("DELETE FROM sepet WHERE carino = ?"));
        del.bind(session->CARINO()).exec();
        removed = del.numRowsAffected();
    });
    reply.setResult(Value::integer(removed));
}

} // namespace

void registerCartLineMethods(MethodTable &table)
{
    table.add(QStringLiteral("SepetEkle2"), sepetEkle2);
    table.add(QStringLiteral("SepetGuncelle2"), sepetGuncelle2);
    table.add(QStringLiteral("SepetSatirSil"), sepetSatirSil);
    table.add(QStringLiteral("SepetHepsiniSil"), sepetHepsiniSil);
}

} // namespace methods

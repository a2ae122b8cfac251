// Orders group, the sending half: the selected lines of an account's cart become an order.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "pricing.h"
#include "session.h"
#include "sqlquery.h"
#include "store.h"

#include <QTime>

#include <algorithm>

#include <vector>

namespace methods {

using store::SqlQuery;

namespace {

struct CartLine {
    int stokno;
    QString barkod, stokadi, aciklama;
    double miktar, birimfiyat, kdv, rates[4], tutar, indirimtutar, nettutar, vergitutari, netbirimfiyat;
    int verenid;
};

void checkChoice(QSqlDatabase &db, const QString &sql, int id, const QString &message)
{
    if (!SqlQuery(db, sql).bind(id).scalar().isValid())
        throw MethodError(message);
}

// One transaction: the selected lines are taken out of the cart with DELETE ... RETURNING
// before anything else is written. A second send of the same cart running at the same
// time waits for the row locks (PostgreSQL) or the write lock (SQLite) and then finds the
// lines gone, so no line ever lands in two orders. No selected line: false, nothing written.
void siparisKaydet(Call &call, Reply &reply)
{
    const int carino = call.integer(1);
    const int teslim = call.integer(2);
    const int kargo = call.integer(3);
    const QString note = call.text(4);
    const int verenid = call.integer(5);
    const int firm = call.integer(6);
    requireLength(note, 1000, QStringLiteral("Sipariş notu"));
    if (carino <= 0)
        throw MethodError(QStringLiteral("Cari hesap seçilmedi."));

    bool saved = false;
    call.store().write([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0), carino);
        if (verenid != user.sirano)
            throw MethodError(QStringLiteral("Siparişi veren kullanıcı oturumdaki kullanıcı değil."));
        checkChoice(db, QStringLiteral("SELECT 1 FROM teslim_cinsleri WHERE teslimid = ?"), teslim,
                    QStringLiteral("Teslim durumu bulunamadı."));
        checkChoice(db, QStringLiteral("SELECT 1 FROM kargo_cinsleri WHERE kargoid = ?"), kargo,
                    QStringLiteral("Kargo türü bulunamadı."));
        const QVariant firmKind =
            SqlQuery(db, QStringLiteral("SELECT kargoid FROM kargo_firmalari WHERE sirano = ?")).bind(firm).scalar();
        if (!firmKind.isValid() || firmKind.toInt() != kargo)
            throw MethodError(QStringLiteral("Kargo firması bu kargo türünde bulunamadı."));

        SqlQuery take(db, QStringLiteral(
                              "DELETE FROM sepet WHERE carino = ? AND sec = 1 RETURNING stokno, barkod, stokadi, "
                              "aciklama, miktar, birimfiyat, kdv, iskonto1, iskonto2, iskonto3, iskonto4, tutar, "
                              "indirimtutar, nettutar, vergitutari, netbirimfiyat, verenid, sirano"));
        take.bind(carino).exec();
        std::vector<std::pair<int, CartLine>> taken;  // cart line number, line
        while (take.next()) {
            CartLine l;
            l.stokno = take.toInt(0);
            l.barkod = take.toString(1);
            l.stokadi = take.toString(2);
            l.aciklama = take.toString(3);
            double *reals[] = {&l.miktar,       &l.birimfiyat, &l.kdv,         &l.rates[0],    &l.rates[1],
                               &l.rates[2],     &l.rates[3],   &l.tutar,       &l.indirimtutar, &l.nettutar,
                               &l.vergitutari,  &l.netbirimfiyat};
            for (int i = 0; i < 12; ++i)
                *reals[i] = take.toDouble(4 + i);
            l.verenid = take.toInt(16);
            taken.emplace_back(take.toInt(17), l);
        }
        if (taken.empty())
            return;
        // Lines in the order they were put into the cart.
        std::sort(taken.begin(), taken.end(), [](const auto &a, const auto &b) { return a.first < b.first; });

        double tutar = 0, indirim = 0, net = 0, vergi = 0;
        for (const auto &[no, l] : taken) {
            tutar += l.tutar;
            indirim += l.indirimtutar;
            net += l.nettutar;
            vergi += l.vergitutari;
        }
        const int idno = SqlQuery(db, QStringLiteral(
                                          "INSERT INTO siparisler (carino, tarih, saat, verenid, veren, teslimid, "
                                          "kargoid, kargofirmano, aciklama, durum, tutar, indirimtutar, nettutar, "
                                          "vergi) VALUES (?,?,?,?,?,?,?,?,?,2,?,?,?,?) RETURNING idno"))
                             .bind(carino)
                             .bind(isoToday())
                             .bind(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
                             .bind(user.sirano)
                             .bind(user.name)
                             .bind(teslim)
                             .bind(kargo)
                             .bind(firm)
                             .bind(note)
                             .bind(store::roundMoney(tutar))
                             .bind(store::roundMoney(indirim))
                             .bind(store::roundMoney(net))
                             .bind(store::roundMoney(vergi))
                             .scalar()
                             .toInt();
        SqlQuery(db, QStringLiteral("UPDATE siparisler SET siparisno = ? WHERE idno = ?"))
            .bind(QStringLiteral("SP%1").arg(idno, 6, 10, QLatin1Char('0')))
            .bind(idno)
            .exec();
        SqlQuery line(db, QStringLiteral(
                              "INSERT INTO siparis_satirlari (idno, carino, stokno, barkod, stokadi, miktar, "
                              "teslimedilen, kalan, birimfiyat, ilkfiyat, kdv, iskonto1, iskonto2, iskonto3, "
                              "iskonto4, tutar, indirimtutar, nettutar, vergitutari, netbirimfiyat, aciklama, "
                              "verenid) VALUES (?,?,?,?,?,?,0,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (const auto &[no, l] : taken) {
            line.bind(idno)
                .bind(carino)
                .bind(l.stokno)
                .bind(l.barkod)
                .bind(l.stokadi)
                .bind(l.miktar)
                .bind(l.miktar)
                .bind(l.birimfiyat)
                .bind(l.birimfiyat)
                .bind(l.kdv)
                .bind(l.rates[0])
                .bind(l.rates[1])
                .bind(l.rates[2])
                .bind(l.rates[3])
                .bind(l.tutar)
                .bind(l.indirimtutar)
                .bind(l.nettutar)
                .bind(l.vergitutari)
                .bind(l.netbirimfiyat)
                .bind(l.aciklama)
                .bind(l.verenid)
                .exec();
        }
        saved = true;
    });
    reply.setResult(Value::boolean(saved));
}

} // namespace

void registerOrderingMethods(MethodTable &table)
{
    table.add(QStringLiteral("SiparisKaydet"), siparisKaydet);
}

} // namespace methods

// Reports: the two date-range report readers of the reports window and the PDF reports
// of the staff desk.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "pdfreport.h"
#include "pricing.h"
#include "session.h"
#include "sqlquery.h"
#include "store.h"
#include "table.h"

#include <map>

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

struct Range {
    QString from, until;  // ISO days, `until` exclusive
};

Range dateRange(Call &call, int first)
{
    const QDate a = dateFromDays(call.real(first), QStringLiteral("Başlangıç tarihi"));
    const QDate b = dateFromDays(call.real(first + 1), QStringLiteral("Bitiş tarihi"));
    return {a.toString(Qt::ISODate), b.addDays(1).toString(Qt::ISODate)};
}

// Orders taken in the range, for staff every account's, for a customer its own.
void raporAlinanSiparisler(Call &call, Reply &reply)
{
    const Range range = dateRange(call, 1);
    wire::Table t = makeTable({{"SATICIADI", T::String, 50}, {"IDNO", T::Double},       {"CARINO", T::Int32},
                               {"TARIH", T::Date},           {"KUR", T::String, 5},     {"KURTL", T::Double},
                               {"VERENIDNO", T::Int32},      {"KARGO", T::String, 50},  {"TESLIM", T::String, 50},
                               {"VEREN", T::String, 50},     {"CARIKOD", T::String, 25}, {"CARIADI", T::String, 100},
                               {"DURUM", T::String, 100},    {"KARGOADI", T::String, 50}, {"VERGI", T::Double},
                               {"NETTUTAR", T::Double},      {"TUTAR", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        SqlQuery q(db, QStringLiteral(
                           "SELECT COALESCE(sa.adi, ''), o.idno, o.carino, o.tarih, o.kur, o.kurtl, o.verenid, "
                           "COALESCE(kc.adi, ''), COALESCE(tc.adi, ''), o.veren, c.carikod, c.cariadi, o.durum, "
                           "COALESCE(kf.adi, ''), o.vergi, o.nettutar, o.tutar "
                           "FROM siparisler o JOIN cariler c ON c.carino = o.carino "
                           "LEFT JOIN saticilar sa ON sa.saticino = c.saticino "
                           "LEFT JOIN kargo_cinsleri kc ON kc.kargoid = o.kargoid "
                           "LEFT JOIN teslim_cinsleri tc ON tc.teslimid = o.teslimid "
                           "LEFT JOIN kargo_firmalari kf ON kf.sirano = o.kargofirmano "
                           "WHERE o.tarih >= ? AND o.tarih < ? ") +
                           (user.isStaff() ? QString() : QStringLiteral("AND o.carino = ? ")) +
                           QStringLiteral("ORDER BY sa.adi, o.tarih, o.idno"));
        q.bind(range.from).bind(range.until);
        if (!user.isStaff())
            q.bind(user.account);
        q.exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 12; ++i)
                w << q.value(i);
            w << orderStateName(q.toInt(12)) << q.value(13) << q.value(14) << q.value(15) << q.value(16);
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

// Items sold in the range (sales movements), the best-selling first.
void raporEnCokSatilanStoklar(Call &call, Reply &reply)
{
    const Range range = dateRange(call, 1);
    wire::Table t = makeTable({{"BARKOD", T::String, 50},
                               {"KOD", T::String, 50},
                               {"ADI", T::String, 100},
                               {"DEPARTMAN", T::String, 50},
                               {"MIKTAR", T::Double},
                               {"NETTUTAR", T::Double},
                               {"TLVERGI", T::Double},
                               {"TUTAR", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        SqlQuery q(db, QStringLiteral("SELECT s.barkod, s.kod, s.adi, s.departman, SUM(h.miktar), SUM(h.nettutar), "
                                      "SUM(h.vergi), SUM(h.tutar) FROM stok_hareketleri h "
                                      "JOIN stoklar s ON s.stokno = h.stokno "
                                      "WHERE h.turu = 'Satış' AND h.tarih >= ? AND h.tarih < ? ") +
                           (user.isStaff() ? QString() : QStringLiteral("AND h.carino = ? ")) +
                           QStringLiteral("GROUP BY s.stokno, s.barkod, s.kod, s.adi, s.departman "
                                          "ORDER BY SUM(h.miktar) DESC, SUM(h.tutar) DESC, s.kod LIMIT 500"));
        q.bind(range.from).bind(range.until);
        if (!user.isStaff())
            q.bind(user.account);
        q.exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 8; ++i)
                w << (i >= 5 ? QVariant(store::roundMoney(q.toDouble(i))) : q.value(i));
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

QString dayText(const QString &iso)
{
    return QDate::fromString(iso, Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy"));
}

// Report 6 for one account: its card, the statement up to the day and the open balances.
void accountSummary(QSqlDatabase &db, PdfReport &doc, int carino, const QString &until)
{
    SqlQuery card(db, QStringLiteral("SELECT c.carikod, c.cariadi, c.yetkili, c.adres1, c.ilce, c.il, c.tel1, "
                                     "c.vergidairesi, c.vergino, c.vade, COALESCE(sa.adi, '') FROM cariler c "
                                     "LEFT JOIN saticilar sa ON sa.saticino = c.saticino WHERE c.carino = ?"));
    card.bind(carino).exec();
    if (!card.next())
        throw MethodError(QStringLiteral("Cari hesap bulunamadı."));
    doc.addHeading(QStringLiteral("Cari Bilgileri"));
    doc.addField(QStringLiteral("Cari Kod:"), card.toString(0));
    doc.addField(QStringLiteral("Cari Adı:"), card.toString(1));
    doc.addField(QStringLiteral("Yetkili:"), card.toString(2));
    doc.addField(QStringLiteral("Adres:"), card.toString(3) + QStringLiteral(" ") + card.toString(4) +
                                               QStringLiteral("/") + card.toString(5));
    doc.addField(QStringLiteral("Telefon:"), card.toString(6));
    doc.addField(QStringLiteral("Vergi D. / No:"), card.toString(7) + QStringLiteral(" / ") + card.toString(8));
    doc.addField(QStringLiteral("Vade (Gün):"), QString::number(card.toInt(9)));
    doc.addField(QStringLiteral("Temsilci:"), card.toString(10));

    SqlQuery rows(db, QStringLiteral("SELECT tarih, turadi, evrak, borc, alacak, aciklama FROM cari_hareketler "
                                     "WHERE carino = ? AND tarih < ? ORDER BY tarih, hareketno"));
    rows.bind(carino).bind(until).exec();
    QList<QStringList> lines;
    double balance = 0, debit = 0, credit = 0;
    while (rows.next()) {
        debit += rows.toDouble(3);
        credit += rows.toDouble(4);
        balance += rows.toDouble(3) - rows.toDouble(4);
        lines.append({dayText(rows.toString(0)), rows.toString(1), rows.toString(2), moneyText(rows.toDouble(3)),
                      moneyText(rows.toDouble(4)), moneyText(store::roundMoney(balance)), rows.toString(5)});
    }
    doc.addHeading(QStringLiteral("Hesap Hareketleri"));
    doc.addTable({QStringLiteral("Tarih"), QStringLiteral("Tür"), QStringLiteral("Evrak No"), QStringLiteral("Borç"),
                  QStringLiteral("Alacak"), QStringLiteral("Bakiye"), QStringLiteral("Açıklama")},
                 {2, 3, 3, 2, 2, 2, 3}, lines, {3, 4, 5});
    doc.addField(QStringLiteral("Toplam Borç:"), moneyText(store::roundMoney(debit)) + QStringLiteral(" TL"));
    doc.addField(QStringLiteral("Toplam Alacak:"), moneyText(store::roundMoney(credit)) + QStringLiteral(" TL"));
    doc.addField(QStringLiteral("Bakiye:"), moneyText(store::roundMoney(balance)) + QStringLiteral(" TL"));

    SqlQuery open(db, QStringLiteral("SELECT o.siparisno, o.tarih, l.stokadi, l.miktar, l.teslimedilen, l.kalan "
                                     "FROM siparis_satirlari l JOIN siparisler o ON o.idno = l.idno "
                                     "WHERE l.carino = ? AND l.kalan > 0 AND o.tarih < ? ORDER BY o.tarih, l.sirano"));
    open.bind(carino).bind(until).exec();
    QList<QStringList> openLines;
    while (open.next())
        openLines.append({open.toString(0), dayText(open.toString(1)), open.toString(2),
                          QString::number(open.toDouble(3)), QString::number(open.toDouble(4)),
                          QString::number(open.toDouble(5))});
    doc.addHeading(QStringLiteral("Açık Sipariş Bakiyeleri"));
    doc.addTable({QStringLiteral("Sipariş No"), QStringLiteral("Tarih"), QStringLiteral("Stok"),
                  QStringLiteral("Miktar"), QStringLiteral("Teslim"), QStringLiteral("Kalan")},
                 {2, 2, 6, 1, 1, 1}, openLines, {3, 4, 5});
}

// Report 6 without an account: per account, the debts due up to the day that the credits
// have not covered, for one representative ("." or empty: all).
void receivablesDue(QSqlDatabase &db, PdfReport &doc, const QString &representative, const QString &until)
{
    const bool all = representative.trimmed().isEmpty() || representative.trimmed() == QLatin1String(".");
    SqlQuery q(db, QStringLiteral(
                       "SELECT c.carikod, c.cariadi, COALESCE(sa.adi, ''), "
                       "COALESCE(SUM(CASE WHEN h.vadetarihi < ? THEN h.borc ELSE 0 END), 0), "
                       "COALESCE(SUM(h.borc), 0), COALESCE(SUM(h.alacak), 0) "
                       "FROM cariler c JOIN cari_hareketler h ON h.carino = c.carino AND h.tarih < ? "
                       "LEFT JOIN saticilar sa ON sa.saticino = c.saticino ") +
                       // The desk sends the representative's name or, for its own staff, the login name.
                       (all ? QString()
                            : QStringLiteral("WHERE (sa.adi = ? OR sa.saticino IN "
                                             "(SELECT k.saticino FROM kullanicilar k WHERE k.adi = ? AND k.musteritipi IN (1, 2))) ")) +
                       QStringLiteral("GROUP BY c.carino, c.carikod, c.cariadi, sa.adi ORDER BY sa.adi, c.cariadi"));
    q.bind(until).bind(until);
    if (!all)
        q.bind(representative.trimmed()).bind(representative.trimmed());
    q.exec();
    QList<QStringList> rows;
    double total = 0;
    while (q.next()) {
        const double due = std::max(0.0, q.toDouble(3) - q.toDouble(5));
        const double balance = q.toDouble(4) - q.toDouble(5);
        if (balance <= 0.004)
            continue;
        total += due;
        rows.append({q.toString(0), q.toString(1), q.toString(2), moneyText(store::roundMoney(balance)),
                     moneyText(store::roundMoney(due))});
    }
    doc.addField(QStringLiteral("Temsilci:"), all ? QStringLiteral("Tümü") : representative.trimmed());
    doc.addTable({QStringLiteral("Cari Kod"), QStringLiteral("Cari Adı"), QStringLiteral("Temsilci"),
                  QStringLiteral("Bakiye"), QStringLiteral("Vadesi Gelen")},
                 {2, 5, 2, 2, 2}, rows, {3, 4});
    doc.addField(QStringLiteral("Vadesi Gelen Toplam:"), moneyText(store::roundMoney(total)) + QStringLiteral(" TL"));
}

// Report 7: invoices and collections of the account month by month in the range.
void salesTable(QSqlDatabase &db, PdfReport &doc, int carino, const Range &range, const QString &representative)
{
    SqlQuery name(db, QStringLiteral("SELECT carikod, cariadi FROM cariler WHERE carino = ?"));
    name.bind(carino).exec();
    if (!name.next())
        throw MethodError(QStringLiteral("Cari hesap bulunamadı."));
    doc.addField(QStringLiteral("Cari:"), name.toString(0) + QStringLiteral(" ") + name.toString(1));
    doc.addField(QStringLiteral("Temsilci:"), representative);
    doc.addField(QStringLiteral("Tarih Aralığı:"), dayText(range.from) + QStringLiteral(" - ") +
                                                       QDate::fromString(range.until, Qt::ISODate)
                                                           .addDays(-1)
                                                           .toString(QStringLiteral("dd.MM.yyyy")));
    std::map<QString, std::pair<double, double>> months;  // "YYYY-MM" -> sales, collections
    SqlQuery sales(db, QStringLiteral("SELECT tarih, kdvdahil FROM faturalar WHERE carino = ? AND tarih >= ? "
                                      "AND tarih < ?"));
    sales.bind(carino).bind(range.from).bind(range.until).exec();
    while (sales.next())
        months[sales.toString(0).left(7)].first += sales.toDouble(1);
    SqlQuery paid(db, QStringLiteral("SELECT tarih, CASE WHEN turu = 'Tediye' THEN -tutar ELSE tutar END "
                                     "FROM tahsilatlar WHERE carino = ? AND tarih >= ? AND tarih < ?"));
    paid.bind(carino).bind(range.from).bind(range.until).exec();
    while (paid.next())
        months[paid.toString(0).left(7)].second += paid.toDouble(1);
    QList<QStringList> rows;
    double s = 0, c = 0;
    for (const auto &[month, v] : months) {
        s += v.first;
        c += v.second;
        rows.append({QDate::fromString(month + QStringLiteral("-01"), Qt::ISODate).toString(QStringLiteral("MM.yyyy")),
                     moneyText(store::roundMoney(v.first)), moneyText(store::roundMoney(v.second)),
                     moneyText(store::roundMoney(v.first - v.second))});
    }
    rows.append({QStringLiteral("Toplam"), moneyText(store::roundMoney(s)), moneyText(store::roundMoney(c)),
                 moneyText(store::roundMoney(s - c))});
    doc.addTable({QStringLiteral("Ay"), QStringLiteral("Satış"), QStringLiteral("Tahsilat"), QStringLiteral("Fark")},
                 {2, 3, 3, 3}, rows, {1, 2, 3});
}

// RaporGetir: report 6 (account summary, or receivables due when the account is 0) and
// report 7 (sales and collections table). The caller is named by its user number,
// which must be an active member of staff.
void raporGetir(Call &call, Reply &reply)
{
    const int report = call.integer(0);
    const int user = call.integer(2);
    const int carino = call.integer(3);
    const QString representative = call.text(4);
    requireLength(representative, 100, QStringLiteral("Temsilci adı"));
    if (report != 6 && report != 7)
        throw MethodError(QStringLiteral("Bilinmeyen rapor numarası: %1").arg(report));
    const Range range = dateRange(call, 5);
    QByteArray pdf;
    call.store().read([&](QSqlDatabase &db) {
        const QVariant kind =
            SqlQuery(db, QStringLiteral("SELECT musteritipi FROM kullanicilar WHERE sirano = ? AND aktif = 1"))
                .bind(user)
                .scalar();
        if (!kind.isValid() || (kind.toInt() != 1 && kind.toInt() != 2))
            throw MethodError(QStringLiteral("Raporları yalnızca satış temsilcileri alabilir."));
        if (report == 6 && carino > 0) {
            PdfReport doc(QStringLiteral("Cari Özeti"));
            accountSummary(db, doc, carino, range.until);
            pdf = doc.render();
        } else if (report == 6) {
            PdfReport doc(QStringLiteral("Cari Toplu Alacak Vadeleri"));
            receivablesDue(db, doc, representative, range.until);
            pdf = doc.render();
        } else {
            PdfReport doc(QStringLiteral("Cari Alış Satış Tablosu (Satıcılı)"));
            salesTable(db, doc, carino, range, representative);
            pdf = doc.render();
        }
    });
    reply.setOut(0, Value::int64(pdf.size()));
    reply.setResult(Value::stream(pdf));
}

} // namespace

void registerReportMethods(MethodTable &table)
{
    table.add(QStringLiteral("RaporAlinanSiparisler"), raporAlinanSiparisler);
    table.add(QStringLiteral("RaporEnCokSatilanStoklar"), raporEnCokSatilanStoklar);
    table.add(QStringLiteral("RaporGetir"), raporGetir);
}

} // namespace methods

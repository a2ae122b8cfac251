// Account and documents group: the statement, invoices, collections with their
// virtual-POS receipts, and the account's status and overdue texts.
#include "dispatch.h"
#include "methodhelpers.h"
#include "pdfreport.h"
#include "pricing.h"
#include "sqlquery.h"
#include "store.h"
#include "table.h"

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

// Statement rows in date order with the running balance (the client recomputes it).
void cariEkstreVer(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"CARINO", T::Int32},       {"TARIH", T::Date},         {"TURADI", T::String, 50},
                               {"EVRAK", T::String, 30},   {"BORC", T::Double},        {"ALACAK", T::Double},
                               {"KUR", T::String, 5},      {"BAKIYE", T::Double},      {"D", T::String, 1},
                               {"IDNO", T::Int32},         {"ACIKLAMA", T::String, 200}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT carino, tarih, turadi, evrak, borc, alacak, kur, belgeno, aciklama "
                                      "FROM cari_hareketler WHERE carino = ? ORDER BY tarih, hareketno"));
        q.bind(call.integer(0)).exec();
        double balance = 0;
        while (q.next()) {
            balance += q.toDouble(4) - q.toDouble(5);
            RowWriter w(t);
            w << q.value(0) << q.value(1) << q.value(2) << q.value(3) << q.value(4) << q.value(5) << q.value(6)
              << store::roundMoney(balance)
              << QString(balance > 0.004 ? QStringLiteral("B") : balance < -0.004 ? QStringLiteral("A")
                                                                                 : QStringLiteral(" "))
              << q.value(7) << q.value(8);
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

// Lines of one invoice of the account (the stock movements that point at it).
void faturaGetir(Call &call, Reply &reply)
{
    wire::Table t = makeTable({
        {"OEMNO", T::String, 50},          {"STOKADI", T::String, 200},        {"FINISHKOD", T::String, 50},
        {"MARKA", T::String, 50},          {"MODEL", T::String, 50},           {"ANAGRUP", T::String, 50},
        {"BIRIM", T::String, 10},          {"STOKHAR_MIKTAR", T::Double},      {"STOKHAR_TLBIRIMFIYATI", T::Double},
        {"STOKHAR_TLTUTAR", T::Double},    {"STOKHAR_INDIRIM1", T::Double},    {"STOKHAR_INDIRIM2", T::Double},
        {"KDV", T::Double},                {"STOKHAR_TOPLAMINDIRIM", T::Double}, {"STOKHAR_TOPLAMMASRAF", T::Double},
        {"STOKHAR_NETTLBIRIMFIYATI", T::Double}, {"STOKHAR_NETTLTUTAR", T::Double}, {"OZELKOD", T::String, 50},
        {"BARKOD", T::String, 50},         {"STOKHAR_HAREKETTARIHI", T::Date}, {"STOKHAR_HAREKETTIPI2", T::String, 50},
        {"EVRAKNO", T::String, 30},        {"STOKHAR_TLVERGI", T::Double},     {"IRSALIYEEVRAKNO", T::String, 30},
        {"STOKHAR_IRSTARIHI", T::Date},    {"SATIRACIKLMASI", T::String, 200}, {"STOKHAR_SAAT", T::String, 10},
        {"STOKHAR_VADE", T::Int32},        {"SIPARISEVRAKNO", T::String, 30},  {"SIPARISTARIHI", T::Date},
        {"IRSALIYETIP2", T::String, 50},   {"STOKHAR_INDIRIM3", T::Double},    {"STOKHAR_INDIRIM4", T::Double},
        {"STOKHAR_INDIRIM5", T::Double},   {"STOKHAR_INDIRIM6", T::Double},    {"STOKHAR_INDIRIM7", T::Double},
        {"STOKHAR_INDIRIM8", T::Double},   {"STOKHAR_DOVIZBIRIMFIYATI", T::Double}, {"STOKHAR_DOVIZVERGI", T::Double},
        {"STOKHAR_DOVIZTUTAR", T::Double}, {"STOKHAR_PARTI", T::String, 20},   {"STOKHAR_BEDEN", T::String, 20},
        {"STOKHAR_RENK", T::String, 20},   {"STOKHAR_MASRAF1", T::Double},     {"STOKHAR_MASRAF2", T::Double},
        {"STOKHAR_DOVIZTOPLAMINDIRIM", T::Double}, {"STOKHAR_DOVIZTOPLAMMASRAF", T::Double},
        {"STOKHAR_NETDOVIZBIRIMFIYATI", T::Double}, {"STOKHAR_NETDOVIZTUTAR", T::Double},
        {"STOKHAR_KURTL", T::Double},      {"SIPARISTIPI", T::String, 20},     {"IRSALIYETIPINO", T::Int32},
        {"STOKCARIKOD", T::String, 30},    {"SUBE_NO", T::Int32},              {"STOKHAR_CARINO", T::Int32},
        {"KUR_KURSIMGE", T::String, 5},    {"SATICIADI", T::String, 50},       {"URETICIKODU", T::String, 50},
        {"DPKOD", T::String, 20},          {"ENADI", T::String, 200},          {"PKOD", T::String, 20},
        {"BELGENO", T::Int32},             {"IDNO", T::Int32}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
                           "SELECT s.oemno, s.adi, s.kod, s.marka, s.model, s.anagrup, s.birim, h.miktar, "
                           "h.birimfiyat, h.tutar, h.iskonto1, h.iskonto2, h.kdv, h.toplamindirim, "
                           "h.masraf1 + h.masraf2, h.netbirimfiyat, h.nettutar, s.ozelkod, s.barkod, f.tarih, "
                           "f.harekettipi, f.evrakno, h.vergi, f.irsaliyeevrakno, f.irsaliyetarihi, h.aciklama, "
                           "f.saat, f.vade, f.siparisevrakno, f.siparistarihi, f.irsaliyetipi, h.iskonto3, "
                           "h.iskonto4, h.masraf1, h.masraf2, c.carikod, h.carino, f.kur, "
                           "COALESCE(sa.adi, ''), s.ureticikodu, s.dpkod, s.enadi, s.pkod, h.hareketno, f.idno "
                           "FROM stok_hareketleri h JOIN faturalar f ON f.idno = h.faturano "
                           "JOIN stoklar s ON s.stokno = h.stokno JOIN cariler c ON c.carino = f.carino "
                           "LEFT JOIN saticilar sa ON sa.saticino = f.saticino "
                           "WHERE f.carino = ? AND f.idno = ? ORDER BY h.hareketno"));
        q.bind(call.integer(0)).bind(call.integer(1)).exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 31; ++i)
                w << (i == 24 || i == 29 ? QVariant(q.toString(i).isEmpty() ? QVariant() : q.value(i)) : q.value(i));
            w << q.value(31) << q.value(32) << 0.0 << 0.0 << 0.0 << 0.0;       // İnd3..İnd8
            w << 0.0 << 0.0 << 0.0 << QString() << QString() << QString();   // foreign currency, lot, size, colour
            w << q.value(33) << q.value(34) << 0.0 << 0.0 << 0.0 << 0.0 << 1.0;
            w << QStringLiteral("Satış") << 1 << q.value(35) << 0 << q.value(36) << q.value(37) << q.value(38)
              << q.value(39) << q.value(40) << q.value(41) << q.value(42) << q.value(43) << q.value(44);
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

void faturaAltGetir(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"TOPLAM", T::Double},
                               {"TOPLAMINDIRIM", T::Double},
                               {"MATRAH", T::Double},
                               {"KDVTUTAR", T::Double},
                               {"KDVDAHIL", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT toplam, toplamindirim, matrah, kdvtutar, kdvdahil FROM faturalar "
                                      "WHERE idno = ?"));
        q.bind(call.integer(0)).exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 5; ++i)
                w << q.value(i);
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

void tahsilat(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"Tarih", T::Date},         {"Türü", T::String, 20},     {"Cins", T::String, 30},
                               {"Vade", T::Date},          {"Tutar", T::Double},        {"Açıklama", T::String, 200},
                               {"EvrakNo", T::String, 30}, {"Ref", T::String, 30},      {"Saat", T::String, 10},
                               {"Kur", T::String, 5},      {"KurTL", T::Double},        {"Döviz Tutar", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT tarih, turu, cins, vade, tutar, aciklama, evrakno, ref, saat, kur, "
                                      "kurtl, doviztutar FROM tahsilatlar WHERE idno = ?"));
        q.bind(call.integer(0)).exec();
        while (q.next()) {
            RowWriter w(t);
            for (int i = 0; i < 12; ++i)
                w << (i == 3 && q.toString(3).isEmpty() ? QVariant() : q.value(i));
        }
    });
    reply.setResult(Value::reader(std::move(t)));
}

void sanalposSiranoVer(Call &call, Reply &reply)
{
    int sirano = 0;
    call.store().read([&](QSqlDatabase &db) {
        sirano = SqlQuery(db, QStringLiteral("SELECT COALESCE(sanalposno, 0) FROM tahsilatlar WHERE idno = ?"))
                     .bind(call.integer(0))
                     .scalar()
                     .toInt();
    });
    reply.setResult(Value::integer(sirano));
}

// The receipt of a card payment as a PDF; no such receipt gives an empty stream of size 0.
void sanalPosPdfVer(Call &call, Reply &reply)
{
    QByteArray pdf;
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT p.sirano, p.tarih, p.saat, p.tutar, p.kartsahibi, p.kartno, p.banka, "
                                      "p.taksit, p.onaykodu, p.referans, c.carikod, c.cariadi "
                                      "FROM sanalpos_fisleri p JOIN cariler c ON c.carino = p.carino "
                                      "WHERE p.sirano = ?"));
        q.bind(call.integer(0)).exec();
        if (!q.next())
            return;
        PdfReport doc(QStringLiteral("Sanal POS Ödeme Dekontu"));
        doc.addHeading(QStringLiteral("Cari Bilgileri"));
        doc.addField(QStringLiteral("Cari Kod:"), q.toString(10));
        doc.addField(QStringLiteral("Cari Adı:"), q.toString(11));
        doc.addHeading(QStringLiteral("Ödeme Bilgileri"));
        doc.addField(QStringLiteral("Dekont No:"), QString::number(q.toInt(0)));
        doc.addField(QStringLiteral("Tarih / Saat:"),
                     QDate::fromString(q.toString(1), Qt::ISODate).toString(QStringLiteral("dd.MM.yyyy")) +
                         QLatin1Char(' ') + q.toString(2));
        doc.addField(QStringLiteral("Tutar:"), moneyText(q.toDouble(3)) + QStringLiteral(" TL"));
        doc.addField(QStringLiteral("Kart Sahibi:"), q.toString(4));
        doc.addField(QStringLiteral("Kart No:"), q.toString(5));
        doc.addField(QStringLiteral("Banka:"), q.toString(6));
        doc.addField(QStringLiteral("Taksit:"), q.toInt(7) > 1 ? QString::number(q.toInt(7)) : QStringLiteral("Tek Çekim"));
        doc.addField(QStringLiteral("Onay Kodu:"), q.toString(8));
        doc.addField(QStringLiteral("Referans:"), q.toString(9));
        doc.addText(QStringLiteral("Bu dekont Korvel Oto Yedek Parça sanal POS ödemesi için düzenlenmiştir."));
        pdf = doc.render();
    });
    reply.setOut(0, Value::int64(pdf.size()));
    reply.setResult(Value::stream(pdf));
}

double accountBalance(QSqlDatabase &db, int carino)
{
    return SqlQuery(db, QStringLiteral("SELECT COALESCE(SUM(borc - alacak), 0) FROM cari_hareketler WHERE carino = ?"))
        .bind(carino)
        .scalar()
        .toDouble();
}

void requireAccount(QSqlDatabase &db, int carino)
{
    if (!SqlQuery(db, QStringLiteral("SELECT 1 FROM cariler WHERE carino = ?")).bind(carino).scalar().isValid())
        throw MethodError(QStringLiteral("Cari hesap bulunamadı."));
}

// The balance as the payment page shows it: "1.250,00 TL" (negative: the account is in credit).
void cariDurumVer(Call &call, Reply &reply)
{
    QString text;
    call.store().read([&](QSqlDatabase &db) {
        requireAccount(db, call.integer(0));
        text = moneyText(store::roundMoney(accountBalance(db, call.integer(0)))) + QStringLiteral(" TL");
    });
    reply.setResult(Value::text(text));
}

// Overdue warning: debts whose due date has passed and that the credits have not covered
// yet (credits pay the oldest debts first). Empty when nothing is overdue.
void cariVadeGunGecmismiBul(Call &call, Reply &reply)
{
    QString text;
    call.store().read([&](QSqlDatabase &db) {
        const int carino = call.integer(0);
        requireAccount(db, carino);
        double credit = SqlQuery(db, QStringLiteral("SELECT COALESCE(SUM(alacak), 0) FROM cari_hareketler "
                                                    "WHERE carino = ?"))
                            .bind(carino)
                            .scalar()
                            .toDouble();
        SqlQuery q(db, QStringLiteral("SELECT borc, vadetarihi, tarih FROM cari_hareketler WHERE carino = ? "
                                      "AND borc > 0 ORDER BY tarih, hareketno"));
        q.bind(carino).exec();
        const QDate today = QDate::currentDate();
        double overdue = 0;
        QDate oldest;
        while (q.next()) {
            double open = q.toDouble(0);
            const double paid = std::min(credit, open);
            credit -= paid;
            open -= paid;
            QDate due = QDate::fromString(q.toString(1), Qt::ISODate);
            if (!due.isValid())
                due = QDate::fromString(q.toString(2), Qt::ISODate);
            if (open > 0.004 && due.isValid() && due < today) {
                overdue += open;
                if (!oldest.isValid() || due < oldest)
                    oldest = due;
            }
        }
        overdue = store::roundMoney(overdue);
        if (overdue > 0)
            text = QStringLiteral("Vadesi geçmiş %1 TL borcunuz bulunmaktadır (en eski vade %2, %3 gün geçti).")
                       .arg(moneyText(overdue), oldest.toString(QStringLiteral("dd.MM.yyyy")))
                       .arg(oldest.daysTo(today));
    });
    reply.setResult(Value::text(text));
}

} // namespace

void registerDocumentMethods(MethodTable &table)
{
    table.add(QStringLiteral("CariEkstreVer"), cariEkstreVer);
    table.add(QStringLiteral("FaturaGetir"), faturaGetir);
    table.add(QStringLiteral("FaturaAltGetir"), faturaAltGetir);
    table.add(QStringLiteral("Tahsilat"), tahsilat);
    table.add(QStringLiteral("SanalposSiranoVer"), sanalposSiranoVer);
    table.add(QStringLiteral("SAnalPosPdfVer"), sanalPosPdfVer);
    table.add(QStringLiteral("CariDurumVer"), cariDurumVer);
    table.add(QStringLiteral("CariVadeGunGecmismiBul"), cariVadeGunGecmismiBul);
}

} // namespace methods

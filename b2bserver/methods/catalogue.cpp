// Catalogue group: the stock search, package quantities, the new and campaign items and
// the stock movements of an item for an account.
#include "baglantiu.h"
#include "dispatch.h"
#include "methodhelpers.h"
#include "pricing.h"
#include "session.h"
#include "sqlquery.h"
#include "stockrows.h"
#include "store.h"
#include "table.h"

#include <QRegularExpression>

#include <vector>

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

constexpr int defaultSearchLimit = 1000;
constexpr int maxSearchTokens = 8;

// Row limit of the stock search: setting 'stokaramalimit' when it holds a positive
// number, otherwise 1,000.
int searchLimit(QSqlDatabase &db)
{
    SqlQuery q(db, QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = 'stokaramalimit'"));
    bool ok = false;
    const int limit = q.scalar().toString().trimmed().toInt(&ok);
    return ok && limit > 0 ? limit : defaultSearchLimit;
}

// SQLite: key entries of the rarest token up to which its items are read whole and
// sorted; beyond, the walk over the code index is cheaper.
constexpr int fewCandidates = 3000;
// PostgreSQL: keys of a token up to which it is joined as a set rather than probed.
constexpr int joinableKeys = 30000;

// Number of search keys starting with `token`, counted up to `cap`.
int keyCount(QSqlDatabase &db, const QString &token, const QString &upper, int cap)
{
    SqlQuery q(db, upper.isEmpty()
                       ? QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM stok_anahtarlari WHERE anahtar >= ? "
                                        "LIMIT ?) x")
                       : QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM stok_anahtarlari WHERE anahtar >= ? "
                                        "AND anahtar < ? LIMIT ?) x"));
    q.bind(token);
    if (!upper.isEmpty())
        q.bind(upper);
    return q.bind(cap).scalar().toInt();
}

// Columns of the stock list, then the four rates the stock detail dialog reads.
wire::Table searchTable()
{
    return makeTable({{"DURUM", T::Int32},          {"OEM1", T::String, 50},         {"OEM2", T::String, 50},
                      {"OEM3", T::String, 50},      {"BARKOD", T::String, 50},       {"FINISHKOD", T::String, 50},
                      {"ARAMA", T::String, 50},     {"ADI", T::String, 200},         {"OEM4", T::String, 50},
                      {"STOK_STOKNO", T::Int32},    {"URETICIKODU", T::String, 50},  {"RESIM", T::Int32},
                      {"BARKOD_BARKODNO", T::Int32}, {"DIGERADI", T::String, 200},   {"DPKOD", T::String, 20},
                      {"OEMNO", T::String, 50},     {"BIRIM", T::String, 10},        {"MARKA", T::String, 50},
                      {"MODEL", T::String, 50},     {"ANAGRUP", T::String, 50},      {"OZELKOD", T::String, 50},
                      {"KALAN", T::Double},         {"PKOD", T::String, 20},         {"KDV", T::Double},
                      {"ALINANSIPARIS", T::Double}, {"VERILENSIPARIS", T::Double},   {"LISTEFIYAT1", T::Double},
                      {"KAMPFIYAT", T::Double},     {"FIYAT", T::Double},            {"Y", T::Int32},
                      {"K", T::Int32},              {"INDIRIMYAZI", T::String, 30},  {"NETFIYAT", T::Double},
                      {"KDVDAHIL", T::Double},      {"IND1", T::Double},             {"IND2", T::Double},
                      {"IND3", T::Double},          {"IND4", T::Double}});
}

// Cells set by their type, not through QVariant: the search writes up to its limit of
// rows times 38 cells.
class TypedRowWriter {
public:
    explicit TypedRowWriter(wire::Table &table) : m_table(table), m_row(table.appendRow()) {}
    TypedRowWriter &operator<<(int value)
    {
        m_table.setInt(m_row, m_col++, value);
        return *this;
    }
    TypedRowWriter &operator<<(double value)
    {
        m_table.setReal(m_row, m_col++, value);
        return *this;
    }
    TypedRowWriter &operator<<(const QString &value)
    {
        m_table.setText(m_row, m_col++, value);
        return *this;
    }

private:
    wire::Table &m_table;
    int m_row;
    int m_col = 0;
};

void writeSearchRow(wire::Table &t, const StockRow &s)
{
    TypedRowWriter w(t);
    w << s.durum << s.oem1 << s.oem2 << s.oem3 << s.barkod << s.kod << s.arama << s.adi << s.oem4 << s.stokno
      << s.ureticikodu << s.resim << s.barkodno << s.digeradi << s.dpkod << s.oemno << s.birim << s.marka << s.model
      << s.anagrup << s.ozelkod << s.kalan << s.pkod << s.kdv << s.alinansiparis << s.verilensiparis << s.listefiyat
      << s.kampfiyat << s.fiyat() << s.yeni << s.kampanya << s.indirimYazi() << s.netFiyat() << s.kdvDahil()
      << s.rate(0) << s.rate(1) << s.rate(2) << s.rate(3);
}

// Every token of the text must be the start of a word of the item's codes or names; the
// words are held folded in stok_anahtarlari, so a token is a range scan there.
void stokAraGetirQuelpa(Call &call, Reply &reply)
{
    const QString text = call.text(0);
    requireLength(text, 200, QStringLiteral("Arama metni"));
    QStringList tokens;
    for (const QString &part : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const QString key = store::searchKey(part);
        if (!key.isEmpty() && !tokens.contains(key))
            tokens.append(key);
    }
    if (tokens.size() > maxSearchTokens)
        throw MethodError(QStringLiteral("Arama metni en fazla %1 kelime olabilir.").arg(maxSearchTokens));

    wire::Table table = searchTable();
    call.store().read([&](QSqlDatabase &db) {
        const TSonucBilgisi *session = call.record<TSonucBilgisi>(1);
        checkSession(db, session);
        // The rarest token picks the candidates; the others are tested item by item on
        // their keys. Few candidates (a code, a rare word) are read whole and sorted by
        // code. Many candidates (a word like FREN, a tenth of the catalogue) are found
        // walking the catalogue's code index until the page is full, and only the page is
        // read whole.
        const int limit = searchLimit(db);
        const bool postgres = call.store().backend() == store::Backend::Postgres;
        std::vector<QString> bounds;
        std::vector<int> counts;
        int rarest = -1, rarestCount = 0;
        for (int i = 0; i < tokens.size(); ++i) {
            bounds.push_back(keyUpperBound(tokens[i]));
            const int count = keyCount(db, tokens[i], bounds.back(), postgres ? joinableKeys : fewCandidates);
            counts.push_back(count);
            if (rarest < 0 || count < rarestCount) {
                rarest = i;
                rarestCount = count;
            }
        }
        const bool walk = tokens.isEmpty() || rarestCount >= fewCandidates;
        const QString item = walk ? QStringLiteral("s2") : QStringLiteral("s");
        auto range = [&](int i) {
            return bounds[size_t(i)].isEmpty() ? QStringLiteral("k.anahtar >= ?")
                                               : QStringLiteral("k.anahtar >= ? AND k.anahtar < ?");
        };
        // A token tested item by item. PostgreSQL would turn EXISTS into a join over all
        // the token's keys (its estimates of key ranges are poor), so there the test is a
        // scalar subquery, which it runs per item like SQLite runs EXISTS.
        auto probe = [&](int i) -> QString {
            return (postgres ? QStringLiteral("AND (SELECT MIN(k.stokno) FROM stok_anahtarlari k WHERE "
                                              "k.stokno = %1.stokno AND ")
                             : QStringLiteral("AND EXISTS (SELECT 1 FROM stok_anahtarlari k WHERE "
                                              "k.stokno = %1.stokno AND "))
                       .arg(item) +
                   range(i) + (postgres ? QStringLiteral(") IS NOT NULL ") : QStringLiteral(") "));
        };
        // Unary "+" tells SQLite which index not to use for a term: the candidates are
        // looked up by stock number (few) or the code index is walked (many).
        QString where = walk ? QStringLiteral("WHERE s2.aktif = 1 ") : QStringLiteral("WHERE +s.aktif = 1 ");
        if (rarest >= 0) {
            if (walk && postgres)
                where += probe(rarest);
            else
                where += QStringLiteral("AND %1%2.stokno IN (SELECT k.stokno FROM stok_anahtarlari k WHERE ")
                             .arg(walk ? QStringLiteral("+") : QString(), item) +
                         range(rarest) + QStringLiteral(") ");
        }
        for (int i = 0; i < tokens.size(); ++i) {
            if (i != rarest)
                where += probe(i);
        }
        QString sql = stockSelect();
        if (postgres && rarest >= 0) {
            // PostgreSQL: the keys carry the item's code, so the page is found on the key
            // index alone (the rarest token's range, the other tokens probed per key) and
            // only the page's items are read. Its planner cannot be steered like SQLite's
            // above, and reading every candidate item costs it far more.
            // Another token with a moderate number of keys is joined as a set; one with very
            // many (a single digit) is probed per key instead.
            QString page = QStringLiteral("SELECT k.kod, k.stokno FROM stok_anahtarlari k WHERE ") + range(rarest);
            for (int i = 0; i < tokens.size(); ++i) {
                if (i == rarest)
                    continue;
                const QString other = QString(range(i)).replace(QLatin1String("k.anahtar"), QLatin1String("k2.anahtar"));
                page += counts[size_t(i)] < joinableKeys
                            ? QStringLiteral(" AND k.stokno IN (SELECT k2.stokno FROM stok_anahtarlari k2 WHERE ") +
                                  other + QStringLiteral(")")
                            : QStringLiteral(" AND (SELECT MIN(k2.stokno) FROM stok_anahtarlari k2 WHERE "
                                             "k2.stokno = k.stokno AND ") +
                                  other + QStringLiteral(") IS NOT NULL");
            }
            page += QStringLiteral(" GROUP BY k.kod, k.stokno ORDER BY k.kod, k.stokno LIMIT ?");
            // An item taken out of the catalogue keeps its keys, so such a page may come
            // back short by the inactive items in it.
            sql += QStringLiteral("JOIN (") + page +
                   QStringLiteral(") pg ON pg.stokno = s.stokno WHERE s.aktif = 1 ORDER BY s.kod, s.stokno");
        } else if (walk)
            sql += QStringLiteral("JOIN (SELECT s2.stokno FROM stoklar s2 ") + where +
                   QStringLiteral("ORDER BY s2.kod, s2.stokno LIMIT ?) pg ON pg.stokno = s.stokno "
                                  "ORDER BY s.kod, s.stokno");
        else
            sql += where + QStringLiteral("ORDER BY s.kod, s.stokno LIMIT ?");
        SqlQuery q(db, sql);
        q.bind(session->CARINO());
        auto bindToken = [&](int i) {
            q.bind(tokens[i]);
            if (!bounds[size_t(i)].isEmpty())
                q.bind(bounds[size_t(i)]);
        };
        if (rarest >= 0)
            bindToken(rarest);
        for (int i = 0; i < tokens.size(); ++i) {
            if (i != rarest)
                bindToken(i);
        }
        q.bind(limit).exec();
        table.reserve(limit);
        while (q.next())
            writeSearchRow(table, readStockRow(q));
    });
    reply.setResult(Value::table(std::move(table)));
}

void enVer(Call &call, Reply &reply)
{
    int quantity = 0;
    call.store().read([&](QSqlDatabase &db) {
        const QVariant v = SqlQuery(db, QStringLiteral("SELECT koliadet FROM stoklar WHERE stokno = ?"))
                               .bind(call.integer(0))
                               .scalar();
        if (!v.isValid())
            throw MethodError(QStringLiteral("Stok bulunamadı."));
        quantity = std::max(1, v.toInt());
    });
    reply.setResult(Value::integer(quantity));
}

void yenilerVer2(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"OEM1", T::String, 50},         {"OEM2", T::String, 50},
                               {"OEM3", T::String, 50},         {"BARKOD", T::String, 50},
                               {"ADI", T::String, 200},         {"OEM4", T::String, 50},
                               {"STOK_STOKNO", T::Int32},       {"FINISHKOD", T::String, 50},
                               {"URETICIKODU", T::String, 50},  {"BARKOD_BARKODNO", T::Int32},
                               {"DIGERADI", T::String, 200},    {"DPKOD", T::String, 20},
                               {"OEMNO", T::String, 50},        {"BIRIM", T::String, 10},
                               {"MARKA", T::String, 50},        {"MODEL", T::String, 50},
                               {"ANAGRUP", T::String, 50},      {"OZELKOD", T::String, 50},
                               {"KALAN", T::Double},            {"PKOD", T::String, 20},
                               {"KDV", T::Double},              {"ALINANSIPARIS", T::Double},
                               {"VERILENSIPARIS", T::Double},   {"FIYAT", T::Double},
                               {"K", T::Int32},                 {"LISTEFIYAT1", T::Double},
                               {"KAMPFIYAT", T::Double},        {"INDIRIMYAZI", T::String, 30},
                               {"INDIRIM", T::Double},          {"NETFIYAT", T::Double},
                               {"KDVDAHIL", T::Double},         {"IND1", T::Double},
                               {"IND2", T::Double},             {"IND3", T::Double},
                               {"IND4", T::Double},             {"DURUM", T::Int32},
                               {"Y", T::Int32},                 {"RESIM", T::Int32}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, stockSelect() + QStringLiteral("WHERE s.aktif = 1 AND s.yeni = 1 ORDER BY s.kod, s.stokno"));
        q.bind(call.integer(0)).exec();
        while (q.next()) {
            const StockRow s = readStockRow(q);
            RowWriter w(t);
            w << s.oem1 << s.oem2 << s.oem3 << s.barkod << s.adi << s.oem4 << s.stokno << s.kod << s.ureticikodu
              << s.barkodno << s.digeradi << s.dpkod << s.oemno << s.birim << s.marka << s.model << s.anagrup
              << s.ozelkod << s.kalan << s.pkod << s.kdv << s.alinansiparis << s.verilensiparis << s.fiyat()
              << s.kampanya << s.listefiyat << s.kampfiyat << s.indirimYazi() << s.totalRate() << s.netFiyat()
              << s.kdvDahil() << s.rate(0) << s.rate(1) << s.rate(2) << s.rate(3) << s.durum << s.yeni << s.resim;
        }
    });
    reply.setResult(Value::table(std::move(t)));
}

// Campaign items; user kind 4 is not shown campaigns, so it gets an empty list.
void kampanyaliVer2(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"OEM1", T::String, 50},         {"OEM2", T::String, 50},
                               {"OEM3", T::String, 50},         {"BARKOD", T::String, 50},
                               {"ADI", T::String, 200},         {"OEM4", T::String, 50},
                               {"STOK_STOKNO", T::Int32},       {"RESIM", T::Int32},
                               {"FINISHKOD", T::String, 50},    {"URETICIKODU", T::String, 50},
                               {"BARKOD_BARKODNO", T::Int32},   {"DIGERADI", T::String, 200},
                               {"DPKOD", T::String, 20},        {"OEMNO", T::String, 50},
                               {"BIRIM", T::String, 10},        {"MARKA", T::String, 50},
                               {"MODEL", T::String, 50},        {"ANAGRUP", T::String, 50},
                               {"OZELKOD", T::String, 50},      {"KALAN", T::Double},
                               {"PKOD", T::String, 20},         {"KDV", T::Double},
                               {"ALINANSIPARIS", T::Double},    {"VERILENSIPARIS", T::Double},
                               {"ESKIFIYAT", T::Double},        {"FIYAT", T::Double},
                               {"Y", T::Int32},                 {"K", T::Int32},
                               {"INDIRIM", T::Double},          {"INDIRIMYAZI", T::String, 30},
                               {"NETFIYAT", T::Double},         {"KDVDAHIL", T::Double},
                               {"DURUM", T::Int32},             {"IND1", T::Double},
                               {"IND2", T::Double},             {"IND3", T::Double},
                               {"IND4", T::Double}});
    if (call.integer(1) != 4) {
        call.store().read([&](QSqlDatabase &db) {
            SqlQuery q(db, stockSelect() + QStringLiteral("WHERE s.aktif = 1 AND s.kampanya = 1 AND s.kampfiyat > 0 "
                                                          "ORDER BY s.kod, s.stokno"));
            q.bind(call.integer(0)).exec();
            while (q.next()) {
                const StockRow s = readStockRow(q);
                // The list price before the campaign: eskifiyat when kept, else the list price.
                const double listPrice = s.eskifiyat > 0 ? s.eskifiyat : s.listefiyat;
                RowWriter w(t);
                w << s.oem1 << s.oem2 << s.oem3 << s.barkod << s.adi << s.oem4 << s.stokno << s.resim << s.kod
                  << s.ureticikodu << s.barkodno << s.digeradi << s.dpkod << s.oemno << s.birim << s.marka << s.model
                  << s.anagrup << s.ozelkod << s.kalan << s.pkod << s.kdv << s.alinansiparis << s.verilensiparis
                  << listPrice << s.fiyat() << s.yeni << s.kampanya << s.totalRate() << s.indirimYazi()
                  << s.netFiyat() << s.kdvDahil() << s.durum << s.rate(0) << s.rate(1) << s.rate(2) << s.rate(3);
            }
        });
    }
    reply.setResult(Value::table(std::move(t)));
}

// Movements of one item with the account, newest last.
void stokHareketVer(Call &call, Reply &reply)
{
    wire::Table t = makeTable({{"BARKOD", T::String, 50},     {"TARIH", T::Date},
                               {"TURU", T::String, 30},       {"EVRAKSERI", T::String, 10},
                               {"EVRAKSIRA", T::Int32},       {"MIKTAR", T::Double},
                               {"NETBIRIMFIYAT", T::Double},  {"VADE", T::Int32},
                               {"KDVDAHILBIRIMFIYAT", T::Double}, {"SATICI", T::String, 50},
                               {"TLBIRIMFIYAT", T::Double},   {"TLVERGI", T::Double},
                               {"TLTUTAR", T::Double},        {"INDIRIM1", T::Double},
                               {"INDIRIM2", T::Double},       {"INDIRIM3", T::Double},
                               {"INDIRIM4", T::Double},       {"INDIRIM5", T::Double},
                               {"INDIRIM6", T::Double},       {"INDIRIM7", T::Double},
                               {"INDIRIM8", T::Double},       {"TOPLAMINDIRIM", T::Double},
                               {"MASRAF1", T::Double},        {"MASRAF2", T::Double},
                               {"TOPLAMMASRAF", T::Double},   {"NETTLTUTAR", T::Double},
                               {"STOKCARIKOD", T::String, 30}, {"KDVDAHILTUTAR", T::Double}});
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
                           "SELECT s.barkod, h.tarih, h.turu, h.evrakseri, h.evraksira, h.miktar, h.netbirimfiyat, "
                           "h.vade, h.kdv, h.satici, h.birimfiyat, h.vergi, h.tutar, h.iskonto1, h.iskonto2, "
                           "h.iskonto3, h.iskonto4, h.toplamindirim, h.masraf1, h.masraf2, h.nettutar, "
                           "COALESCE(c.carikod, '') "
                           "FROM stok_hareketleri h JOIN stoklar s ON s.stokno = h.stokno "
                           "LEFT JOIN cariler c ON c.carino = h.carino "
                           "WHERE h.carino = ? AND h.stokno = ? ORDER BY h.tarih, h.saat, h.hareketno"));
        q.bind(call.integer(0)).bind(call.integer(1)).exec();
        while (q.next()) {
            const double kdv = q.toDouble(8);
            const double net = q.toDouble(20);
            const double netUnit = q.toDouble(6);
            RowWriter w(t);
            w << q.value(0) << q.value(1) << q.value(2) << q.value(3) << q.value(4) << q.value(5) << netUnit
              << q.value(7) << store::roundMoney(netUnit * (1 + kdv / 100.0)) << q.value(9) << q.value(10)
              << q.value(11) << q.value(12) << q.value(13) << q.value(14) << q.value(15) << q.value(16) << 0.0 << 0.0
              << 0.0 << 0.0 << q.value(17) << q.value(18) << q.value(19) << q.toDouble(18) + q.toDouble(19) << net
              << q.value(21) << store::roundMoney(net + q.toDouble(11));
        }
    });
    reply.setResult(Value::table(std::move(t)));
}

} // namespace

void registerCatalogueMethods(MethodTable &table)
{
    table.add(QStringLiteral("StokAraGetirQuelpa"), stokAraGetirQuelpa);
    table.add(QStringLiteral("EnVer"), enVer);
    table.add(QStringLiteral("YenilerVer2"), yenilerVer2);
    table.add(QStringLiteral("KampanyaliVer2"), kampanyaliVer2);
    table.add(QStringLiteral("StokHareketVer"), stokHareketVer);
}

} // namespace methods

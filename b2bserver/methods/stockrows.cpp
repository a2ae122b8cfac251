#include "stockrows.h"

#include "pricing.h"
#include "sqlquery.h"

namespace methods {

double StockRow::netFiyat() const
{
    double net = fiyat();
    for (int i = 0; i < 4; ++i)
        net -= net * rate(i) / 100.0;
    return store::roundMoney(net);
}

double StockRow::kdvDahil() const
{
    return store::roundMoney(netFiyat() * (1.0 + kdv / 100.0));
}

QString StockRow::indirimYazi() const
{
    return store::discountText(rate(0), rate(1), rate(2), rate(3));
}

double StockRow::totalRate() const
{
    double left = 1.0;
    for (int i = 0; i < 4; ++i)
        left *= 1.0 - rate(i) / 100.0;
    return store::roundMoney((1.0 - left) * 100.0);
}

QString stockSelect()
{
    // Rates of the account for the item's brand win over the account's general rates.
    return QStringLiteral(
        "SELECT s.stokno, s.kod, s.barkod, s.oem1, s.oem2, s.oem3, s.oem4, s.oemno, s.arama, s.ureticikodu, "
        "s.dpkod, s.pkod, s.adi, s.digeradi, s.birim, s.marka, s.model, s.anagrup, s.ozelkod, s.departman, "
        "s.barkodno, s.durum, s.yeni, s.kampanya, CASE WHEN s.resimno IS NULL THEN 0 ELSE 1 END, s.koliadet, "
        "s.kdv, s.kalan, s.eldeki, s.alinansiparis, s.verilensiparis, s.listefiyat, s.kampfiyat, s.eskifiyat, "
        "COALESCE(m.iskonto1, c.iskonto1, 0), COALESCE(m.iskonto2, c.iskonto2, 0), "
        "COALESCE(m.iskonto3, c.iskonto3, 0), COALESCE(m.iskonto4, c.iskonto4, 0) "
        "FROM stoklar s LEFT JOIN cariler c ON c.carino = ? "
        "LEFT JOIN cari_marka_iskonto m ON m.carino = c.carino AND m.marka = s.marka ");
}

StockRow readStockRow(const store::SqlQuery &q)
{
    StockRow r;
    int i = 0;
    r.stokno = q.toInt(i++);
    QString *texts[] = {&r.kod, &r.barkod, &r.oem1, &r.oem2, &r.oem3, &r.oem4, &r.oemno, &r.arama, &r.ureticikodu,
                        &r.dpkod, &r.pkod, &r.adi, &r.digeradi, &r.birim, &r.marka, &r.model, &r.anagrup,
                        &r.ozelkod, &r.departman};
    for (QString *t : texts)
        *t = q.toString(i++);
    int *ints[] = {&r.barkodno, &r.durum, &r.yeni, &r.kampanya, &r.resim, &r.koliadet};
    for (int *v : ints)
        *v = q.toInt(i++);
    double *reals[] = {&r.kdv, &r.kalan, &r.eldeki, &r.alinansiparis, &r.verilensiparis, &r.listefiyat,
                       &r.kampfiyat, &r.eskifiyat, &r.rates[0], &r.rates[1], &r.rates[2], &r.rates[3]};
    for (double *v : reals)
        *v = q.toDouble(i++);
    return r;
}

bool loadStockRow(QSqlDatabase &db, int stokno, int carino, StockRow &row)
{
    store::SqlQuery q(db, stockSelect() + QStringLiteral("WHERE s.stokno = ? AND s.aktif = 1"));
    q.bind(carino).bind(stokno).exec();
    if (!q.next())
        return false;
    row = readStockRow(q);
    return true;
}

} // namespace methods

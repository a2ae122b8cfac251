#pragma once
// Stock items as the catalogue lists show them: the item's columns together with the
// calling account's discount rates and the prices derived from them.
#include <QString>

class QSqlDatabase;

namespace store {
class SqlQuery;
}
namespace wire {
class Table;
}

namespace methods {

struct StockRow {
    int stokno = 0;
    QString kod, barkod, oem1, oem2, oem3, oem4, oemno, arama, ureticikodu, dpkod, pkod, adi, digeradi, birim,
        marka, model, anagrup, ozelkod, departman;
    int barkodno = 0, durum = 0, yeni = 0, kampanya = 0, resim = 0, koliadet = 1;
    double kdv = 0, kalan = 0, eldeki = 0, alinansiparis = 0, verilensiparis = 0;
    double listefiyat = 0, kampfiyat = 0, eskifiyat = 0;
    double rates[4] = {0, 0, 0, 0};  // the account's rates for this item

    // Derived: campaign items sell at their campaign price, which is already net (no
    // account discount on top); every other item at its list price less the account's
    // rates applied one after the other.
    bool onCampaign() const { return kampanya != 0 && kampfiyat > 0; }
    double fiyat() const { return onCampaign() ? kampfiyat : listefiyat; }
    double rate(int i) const { return onCampaign() ? 0.0 : rates[i]; }
    double netFiyat() const;
    double kdvDahil() const;
    QString indirimYazi() const;
    double totalRate() const;  // the four rates as one percentage
};

// SELECT list and FROM clause of a stock query; bind the account number first, then the
// WHERE values. Read the rows with readStockRow.
QString stockSelect();
StockRow readStockRow(const store::SqlQuery &query);

// The rows of one stock item for an account; false when there is no such active item.
bool loadStockRow(QSqlDatabase &db, int stokno, int carino, StockRow &row);

} // namespace methods

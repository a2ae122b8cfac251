#pragma once
// Filling the stock detail dialog from a list row or a cart line: labels, package
// quantity, price, rates, captions and what sales staff may change.
#include <QString>

class TClientDataSet;
class Tstokayarinti;

// The list a dialog is opened from.
enum class TAyrintiListesi { Stok, Yeni, Kampanyali };

// Captions of the discount row and of the price for an item of a list.
struct TAyrintiBasliklari {
    QString indirimoran;
    QString Label2;
};
TAyrintiBasliklari AyrintiBasliklari(TAyrintiListesi liste, int k, const QString &indirimyazi);

// Sales staff (user kinds 1 and 2) may change price and rates.
bool FiyatDegistirebilir(int musteriTipi);

// From the current record of a list dataset (STOK_STOKNO, BARKOD, ADI, MARKA, FINISHKOD,
// MODEL, KDV, K, FIYAT, INDIRIMYAZI, IND1..IND4). Staff see the rates except for
// campaign items.
void ListeSatiriniDoldur(Tstokayarinti &d, const TClientDataSet &veri, TAyrintiListesi liste, int musteriTipi,
                         int koliadet);

// From the current line of the cart (BARKOD, STOKADI, MARKA, FINISHKOD, MODEL, KDV,
// BIRIMFIYAT, MIKTAR, INDIRIMORANI1..4). The line's quantity wins over the package.
void SepetSatiriniDoldur(Tstokayarinti &d, const TClientDataSet &sepet, int musteriTipi, int koliadet);

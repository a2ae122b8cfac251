#pragma once
// Amounts of a cart or order line as the server computes and stores them.
#include <QString>

namespace store {

struct LineAmounts {
    double tutar = 0;          // quantity x unit price
    double indirimtutar = 0;   // discount: the four rates applied one after the other
    double nettutar = 0;       // tutar - indirimtutar
    double vergitutari = 0;    // nettutar x VAT rate / 100
    double netbirimfiyat = 0;  // nettutar / quantity
};

double roundMoney(double value);  // two decimals, halves away from zero
LineAmounts computeLine(double miktar, double birimfiyat, double kdv, double ind1, double ind2, double ind3,
                        double ind4);
// Discount rates as the lists show them: "10+5", "12,5" (Turkish decimal comma; zero
// rates left out, "0" when none).
QString discountText(double ind1, double ind2, double ind3, double ind4);

} // namespace store

#include "pricing.h"

#include <QLocale>
#include <QStringList>

#include <cmath>

namespace store {

double roundMoney(double value)
{
    return std::round(value * 100.0 + (value >= 0 ? 1e-9 : -1e-9)) / 100.0;
}

LineAmounts computeLine(double miktar, double birimfiyat, double kdv, double ind1, double ind2, double ind3,
                        double ind4)
{
    LineAmounts a;
    a.tutar = roundMoney(miktar * birimfiyat);
    double net = a.tutar;
    for (double rate : {ind1, ind2, ind3, ind4})
        net -= net * rate / 100.0;
    a.nettutar = roundMoney(net);
    a.indirimtutar = roundMoney(a.tutar - a.nettutar);
    a.vergitutari = roundMoney(a.nettutar * kdv / 100.0);
    a.netbirimfiyat = miktar != 0 ? roundMoney(a.nettutar / miktar) : 0;
    return a;
}

QString discountText(double ind1, double ind2, double ind3, double ind4)
{
    QStringList parts;
    for (double rate : {ind1, ind2, ind3, ind4}) {
        if (rate != 0)
            parts.append(QLocale(QLocale::Turkish, QLocale::Turkey).toString(rate, 'g', 10));
    }
    return parts.isEmpty() ? QStringLiteral("0") : parts.join(QLatin1Char('+'));
}

} // namespace store

#include "methodhelpers.h"

#include "dispatch.h"

#include <QLocale>

#include <cmath>

namespace methods {

void requireRange(double value, double min, double max, const QString &what)
{
    if (!std::isfinite(value) || value < min || value > max)
        throw MethodError(QStringLiteral("%1 geçersiz: %2 ile %3 arasında olmalı.")
                              .arg(what, QString::number(min), QString::number(max)));
}

void requireLength(const QString &text, int max, const QString &what)
{
    if (text.size() > max)
        throw MethodError(QStringLiteral("%1 en fazla %2 karakter olabilir.").arg(what).arg(max));
}

QDate dateFromDays(double days, const QString &what)
{
    // 1900-01-01 .. 9999-12-31 is what a date picker can give.
    if (!std::isfinite(days) || days < 2 || days > 2958465)
        throw MethodError(QStringLiteral("%1 geçerli bir tarih değil.").arg(what));
    return QDate(1899, 12, 30).addDays(qint64(std::floor(days)));
}

QString orderStateName(int durum)
{
    switch (durum) {
    case 2: return QStringLiteral("Alındı");
    case 3: return QStringLiteral("Onaylandı");
    case 4: return QStringLiteral("Görüldü");
    case 5: return QStringLiteral("Parçalı Hazırlandı");
    case 6: return QStringLiteral("Hazırlandı");
    case 7: return QStringLiteral("Sevk Edildi");
    default: return QStringLiteral("Bilinmiyor");
    }
}

QString moneyText(double value)
{
    static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    return turkish.toString(value, 'f', 2);
}

QString isoToday()
{
    return QDate::currentDate().toString(Qt::ISODate);
}

QString keyUpperBound(const QString &prefix)
{
    QString bound = prefix;
    while (!bound.isEmpty()) {
        const QChar last = bound.back();
        bound.chop(1);
        if (last == QLatin1Char('Z'))
            continue;  // carry: "AZ" -> "B"
        bound.append(last == QLatin1Char('9') ? QLatin1Char('A') : QChar(last.unicode() + 1));
        return bound;
    }
    return QString();
}

wire::Table makeTable(std::initializer_list<Col> columns)
{
    wire::Table table;
    for (const Col &c : columns) {
        wire::ColumnInfo info;
        info.name = QString::fromUtf8(c.name);
        info.type = c.type;
        info.size = c.size ? c.size : (c.type == wire::ColumnType::String ? 100 : 0);
        table.addColumn(info);
    }
    return table;
}

} // namespace methods

#include "displayformat.h"

#include <QStringList>

#include <cmath>

namespace platform {
namespace {

struct Section {
    QString prefix;
    QString suffix;
    int minIntDigits = 0;
    int fixedDecimals = 0;   // '0' after the point
    int optionalDecimals = 0; // '#' after the point
    bool thousands = false;
    bool hasDigits = false;
};

// Splits on ';' outside quotes.
QStringList splitSections(const QString &format)
{
    QStringList out;
    QString current;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            current += c;
        } else if (c == u';') {
            out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    out << current;
    return out;
}

Section parseSection(const QString &text)
{
    Section s;
    bool afterPoint = false;
    QChar quote;
    for (QChar c : text) {
        QString &literal = s.hasDigits ? s.suffix : s.prefix;
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                literal += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            s.hasDigits = true;
            if (afterPoint) {
                if (c == u'0')
                    s.fixedDecimals += 1 + s.optionalDecimals, s.optionalDecimals = 0;
                else
                    ++s.optionalDecimals;
            } else if (c == u'0') {
                ++s.minIntDigits;
            }
        } else if (c == u',' && !afterPoint) {
            s.thousands = true;
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
            s.hasDigits = true;
        } else {
            literal += c;
        }
    }
    return s;
}

// Decimal digits of |value| rounded half away from zero at `decimals` places, taken from the
// number's 15 significant digits (what the user typed or the server sent, not binary noise).
void roundedDigits(double value, int decimals, QString &intPart, QString &fracPart)
{
    const QString e = QString::number(std::fabs(value), 'e', 14); // d.dddddddddddddde±XX
    QString digits = e.left(1) + e.mid(2, 14);
    const int exponent = e.mid(e.indexOf(u'e') + 1).toInt();
    const int pointPos = exponent + 1;
    if (pointPos <= 0) {
        intPart.clear();
        fracPart = QString(-pointPos, u'0') + digits;
    } else if (pointPos >= digits.size()) {
        intPart = digits + QString(pointPos - digits.size(), u'0');
        fracPart.clear();
    } else {
        intPart = digits.left(pointPos);
        fracPart = digits.mid(pointPos);
    }
    bool roundUp = fracPart.size() > decimals && fracPart.at(decimals) >= u'5';
    fracPart.truncate(decimals);
    fracPart = fracPart.leftJustified(decimals, u'0');
    if (roundUp) {
        QString all = intPart + fracPart;
        int i = all.size() - 1;
        for (; i >= 0; --i) {
            if (all[i] == u'9') {
                all[i] = u'0';
            } else {
                all[i] = QChar(all[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            all.prepend(u'1');
        intPart = all.left(all.size() - decimals);
        fracPart = all.right(decimals);
    }
    while (!intPart.isEmpty() && intPart.at(0) == u'0')
        intPart.remove(0, 1);
}

bool isZeroText(const QString &intPart, const QString &fracPart)
{
    for (QChar c : QString(intPart + fracPart))
        if (c != u'0')
            return false;
    return true;
}

QString render(const Section &s, const QString &intDigits, const QString &fracDigits, const QLocale &locale)
{
    QString intPart = intDigits;
    if (intPart.size() < s.minIntDigits)
        intPart = QString(s.minIntDigits - intPart.size(), u'0') + intPart;
    if (s.thousands && intPart.size() > 3) {
        const QString sep = locale.groupSeparator();
        for (int i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, sep);
    }
    QString frac = fracDigits;
    int keep = frac.size();
    while (keep > s.fixedDecimals && frac.at(keep - 1) == u'0')
        --keep;
    frac.truncate(keep);
    QString out = s.prefix + intPart;
    if (!frac.isEmpty())
        out += locale.decimalPoint() + frac;
    return out + s.suffix;
}

QString quoted(const QString &literal)
{
    if (literal.isEmpty())
        return {};
    QString escaped = literal;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString spreadsheetSection(const Section &s)
{
    QString intPattern;
    if (s.thousands) {
        const int len = std::max(4, s.minIntDigits);
        intPattern = QString(len - s.minIntDigits, u'#') + QString(s.minIntDigits, u'0');
        for (int i = intPattern.size() - 3; i > 0; i -= 3)
            intPattern.insert(i, u',');
    } else {
        intPattern = s.minIntDigits == 0 ? QStringLiteral("#") : QString(s.minIntDigits, u'0');
    }
    QString out = quoted(s.prefix) + intPattern;
    if (s.fixedDecimals + s.optionalDecimals > 0)
        out += u'.' + QString(s.fixedDecimals, u'0') + QString(s.optionalDecimals, u'#');
    return out + quoted(s.suffix);
}

} // namespace

QString FormatFloat(const QString &format, double value, const QLocale &locale)
{
    if (std::isnan(value) || std::isinf(value))
        return locale.toString(value);
    if (format.isEmpty()) {
        QLocale plain = locale;
        plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
        return plain.toString(value, 'g', 15);
    }
    const QStringList texts = splitSections(format);
    const Section positive = parseSection(texts.value(0));
    const bool hasNegative = texts.size() > 1 && !texts.at(1).isEmpty();
    const bool hasZero = texts.size() > 2 && !texts.at(2).isEmpty();

    Section chosen = positive;
    if (value < 0 && hasNegative)
        chosen = parseSection(texts.at(1));
    if (!chosen.hasDigits)
        return chosen.prefix; // a section of text only

    QString intDigits, fracDigits;
    roundedDigits(value, chosen.fixedDecimals + chosen.optionalDecimals, intDigits, fracDigits);
    const bool zero = isZeroText(intDigits, fracDigits);
    if (zero && hasZero) {
        const Section z = parseSection(texts.at(2));
        if (!z.hasDigits)
            return z.prefix;
        roundedDigits(0, z.fixedDecimals + z.optionalDecimals, intDigits, fracDigits);
        return render(z, intDigits, fracDigits, locale);
    }
    QString out = render(chosen, intDigits, fracDigits, locale);
    // A value that rounds to zero loses its sign, as the user reads it.
    if (value < 0 && !hasNegative && !zero)
        out.prepend(u'-');
    return out;
}

QString SpreadsheetNumberFormat(const QString &format)
{
    if (format.isEmpty())
        return {};
    QStringList parts;
    for (const QString &text : splitSections(format)) {
        const Section s = parseSection(text);
        parts << (s.hasDigits ? spreadsheetSection(s) : quoted(s.prefix));
    }
    return parts.join(u';');
}

} // namespace platform

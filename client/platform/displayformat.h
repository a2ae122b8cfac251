#pragma once
// Number display formats in the classic picture syntax the windows use, for example
// "#,###,##0.00", "#,###,##00.00" or ",0.00 TL;-,0.00 TL":
//   0  a digit that is always shown     #  a digit shown when significant
//   ,  thousands separators on           .  decimal point
//   "..." or '...'  literal text         anything else is literal text as well
//   up to three sections separated by ';': positive; negative; zero.
// A negative section prints the absolute value (it carries its own sign, if any); without
// one the positive section is used with a leading minus. Halves round away from zero on the
// number's 15 significant digits, so 2.675 shows as "2,68" as the user expects.
// Separators come from the QLocale given (the default locale when none is given).
#include <QLocale>
#include <QString>

namespace platform {

QString FormatFloat(const QString &format, double value, const QLocale &locale = QLocale());

// The same format written for a spreadsheet cell ("#,##0.00", literal text quoted), so a
// number exported with it looks as it does on screen. Empty for an empty format.
QString SpreadsheetNumberFormat(const QString &format);

} // namespace platform

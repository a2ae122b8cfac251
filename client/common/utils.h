#pragma once
// Shared helpers of every window: the Turkish message box, number rounding, web-address
// encoding, browser and folder look-up, and the three server address settings.
#include "dialogs.h"
#include "utilsmachine.h"

#include <QString>
#include <QStringList>

class TClientDataSet;
namespace platform {
class TSQLConnection;
}

// Shows the platform's message dialog with the kind's Turkish caption and sound, Turkish
// button captions and the focus on defaultButton; returns the modal result of the button
// pressed. From a background thread the dialog is handed to the UI thread and waited for.
int MesajGoster(const QString &text, platform::MessageKind kind, platform::MessageButtons buttons,
                platform::MessageButton defaultButton);

// Opens the connection: up to 11 attempts 500 ms apart, each failure's text shown in the
// plain message box (on the UI thread; a background caller waits until it is closed).
// With sonMesaj the connection-failure message follows a final failure. Failures that
// are not platform::Exception pass through unchanged. The connection is closed when
// the result is false.
bool BaglantiAc(platform::TSQLConnection &baglanti, bool sonMesaj);

// Every field of exactly the floating-point class gets the money format "#,###,##0.00";
// integer, currency and BCD fields keep theirs.
void OndalikBicimle(TClientDataSet &veri);

// The dataset is open and holds at least one record.
bool KayitVarmi(const TClientDataSet &veri);

// The dataset holds a record whose field SEC is 1; the cursor stays on the first such record.
bool SeciliVarmi(TClientDataSet &veri);

// The one connection-failure text the user sees everywhere.
QString BaglantiHataMesaji();

// x rounded to two decimals the way the money formats round: halves away from zero on
// the number's 15 significant digits (1.005 -> 1.01). Throws platform::ConvertError for a
// value that has no decimal form (NaN, infinities).
double IkiHaneYuvarla(double x);

// A complete web address encoded for use as one command-line argument: scheme, host and
// port as they are; path and query percent-encoded as UTF-8, "?", "&" and "=" kept.
QString UrlKodla(const QString &address);

// Full path of the Chrome executable, or empty. The candidate places are tried in order;
// the last one is under the user's home, built from the user name.
QString ChromeYoluBul();
// The same look-up under another file-system root and user name (for tests and tools).
QString ChromeYoluBul(const QString &root, const QString &userName);
QStringList ChromeAdaylari(const QString &userName);

// Major version of Internet Explorer: this platform has none, so 0.
int IEVersiyonuAl();

// The user's documents folder, no trailing separator; empty when unknown.
QString BelgelerKlasoruAl();

// Server address settings. Until the login chooses, they hold the built-in internet values.
QString SunucuAdresi();
void SetSunucuAdresi(const QString &host);
// The server port the connections use; the built-in port unless a test moves it.
QString SunucuPortu();
void SetSunucuPortu(const QString &port);
QString WebAdresi();
void SetWebAdresi(const QString &address);
QString ResimAdresi();
void SetResimAdresi(const QString &address);

#pragma once
// The cart operations of the main window, apart from the window: the cart reload, the
// package quantity, adding and changing a line, and the overdue check. Each works on the
// connection and datasets it is given, so tests drive it without the window.
#include <QtGlobal>

#include <array>
#include <optional>

class QLabel;
class QThread;
class TClientDataSet;
class TSonucBilgisi;
namespace platform {
class TSQLConnection;
}

// Loads the cart of account `carino` into `sepet` as its whole content and gives its float
// fields the money format. The reload opens a clone of `bagc` with the connection opener
// and its final message; false when it could not. An exception of the server call reaches
// the caller; in both cases `sepet` keeps what it held.
bool SepetYukle(TClientDataSet &sepet, const platform::TSQLConnection &bagc, qint32 carino);

// Package quantity of a stock item on a clone of `bagc`, without the final connection
// message; 1 when the server cannot be reached, the call fails or it gives less than 1.
int KoliAdetiAl(const platform::TSQLConnection &bagc, qint32 stokno);

// Adds the current record of a list dataset (STOK_STOKNO, BARKOD, ADI, KDV, K) to the cart
// of the session's account over `bagc`. The server's result, or nothing when the
// connection did not open (the opener has shown its message). A failing call throws.
std::optional<int> SepeteEkle(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi,
                              const TClientDataSet &veri, double miktar, double fiyat,
                              const std::array<double, 4> &oranlar);

// Changes cart line `sirano`, the current record of `sepet` (BARKOD, STOKADI, KDV), to the
// quantity, price and rates given. Result as SepeteEkle.
std::optional<int> SepetSatirGuncelle(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi,
                                      const TClientDataSet &sepet, qint32 sirano, double miktar, double fiyat,
                                      const std::array<double, 4> &oranlar);

// Asks the server on a thread of its own, over its own clone of `bagc`, for the overdue
// warning of account `carino` and writes it into `etiket` on the UI thread; no connection
// or a failed call writes an empty text. Checks that overlap each write their answer, so
// the later answer wins. The thread deletes itself when done; it is returned for callers
// that wait for it.
QThread *CariBakiyeUyariBak(QLabel *etiket, const platform::TSQLConnection &bagc, qint32 carino);

#pragma once
// The cart page of the main window in pieces the window wires together: the totals of the
// selected lines, the columns and settings of the cart view, its column fit, its popup
// menu, the controls below the grid, and the server calls of the line actions and of
// sending the order.
#include <QString>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;
class TClientDataSet;
class TGridView;
class TSonucBilgisi;
namespace platform {
class TSQLConnection;
}

// The five totals of the cart page.
struct TSepetToplamlari {
    double Toplam = 0;      // sum of TUTAR
    double Indirim = 0;     // sum of INDIRIMTUTAR
    double AraToplam = 0;   // Toplam - Indirim
    double Vergi = 0;       // sum of VERGITUTARI
    double GenelToplam = 0; // AraToplam + Vergi
};

// The server's line amounts of the lines whose SEC is 1, rounded to two decimals after
// every addition. A closed or empty cart gives zeros. The cursor is not moved, so the
// totals can follow a reload without disturbing an operation that works on a line.
TSepetToplamlari SepetToplamHesapla(const TClientDataSet &sepet);

// An amount as the totals box shows it: "#,###,##0.00" in the user's locale.
QString TutarYazisi(double tutar);

// Every column of the cart view in order, with caption, visibility, chooser membership,
// width weight and cell kind, plus the view's settings (no editing, incremental search,
// row and header heights, footer with the line count and the quantity sum, header filter).
// The view's existing columns are replaced.
void SepetKolonlariniKur(TGridView &view);

// Above this screen width the cart columns share the grid's width by weight; at or below
// it each one is sized to its content.
constexpr int SepetGenisEkranSiniri = 1152;
void SepetKolonlariYay(TGridView &view, int ekranGenisligi, int gridGenisligi);

// The popup menu's items in order, separated by lines.
struct TSepetMenusu {
    QAction *Deitir1 = nullptr;     // "Satır Değiştir"
    QAction *SatrSil1 = nullptr;    // "Satır Sil"
    QAction *HepsiniSil1 = nullptr; // "Hepsini Sil"
};
TSepetMenusu SepetMenusuKur(QMenu &menu);

// The controls below the cart grid. The selection buttons go to the front of `panelsec`
// (whose warning label fills the rest); the totals box and the "Gönder" and
// "Excel Kaydet" buttons come in a frame of their own, returned for the page's layout.
struct TSepetKontrolleri {
    QPushButton *Button4 = nullptr; // "Hepsini Seç"
    QPushButton *Button5 = nullptr; // "Seçimleri Kaldır"
    QFrame *Alt = nullptr;
    QLabel *aratoplaml = nullptr;
    QLabel *indiriml = nullptr;
    QLabel *nettutarl = nullptr;
    QLabel *vergil = nullptr;
    QLabel *geneltoplaml = nullptr;
    QPushButton *Button1 = nullptr; // "Gönder"
    QPushButton *Button2 = nullptr; // "Excel Kaydet"
};
TSepetKontrolleri SepetKontrolleriniKur(QFrame &panelsec, QWidget &sayfa);

// Writes the totals into the five labels.
void ToplamlariYaz(const TSepetKontrolleri &k, const TSepetToplamlari &t);

// Stores one line's selection on the server over a clone of `bagc`, opened with the
// connection messages. False when the connection did not open or the call failed; a
// failed call shows nothing. `baglandi`, when given, tells whether the connection opened.
bool SecimGuncelle(const platform::TSQLConnection &bagc, int sirano, int secim, bool *baglandi = nullptr);

// The description a deleted line is logged with: barcode "-" description, no blanks added.
QString SilinenSatirAciklamasi(const QString &barkod, const QString &stokadi);

// Deletes cart line `sirano` on the server over `bagc`. False when the connection did not
// open (the opener has shown its messages); the server's integer result is not read.
// A failing call throws.
bool SepetSatirSil(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi, int sirano,
                   const QString &aciklama);

// Deletes every line of the session's account's cart. As SepetSatirSil.
bool SepetHepsiniSil(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi);

// Sends the selected lines of the session's account's cart as an order with the cargo
// company `kn`, the cargo kind `kt`, the note and the delivery kind `td`. The server's
// answer; false also when the connection did not open. A failing call throws.
bool SiparisGonder(platform::TSQLConnection &bagc, const TSonucBilgisi &sbilgi, int kn, int kt,
                   const QString &aciklama, int td);

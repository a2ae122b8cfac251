#pragma once
// The stock list of the main window in small pieces the window wires together: the
// columns and settings of its view, the popup menu, the column fit, the price cell and
// the letter mapping of the search box.
#include <QObject>
#include <QString>

#include <functional>

class QLocale;
class QMenu;
class QAction;
class TGridView;
struct TCustomDrawCellArgs;
struct TGridStyles;

namespace stoklistesi {

// Every column of the stock list in order, with caption, initial visibility, chooser
// membership, width weight (Tag) and cell kind, plus the view's settings and styles.
// The view's existing columns are replaced.
void KolonlariKur(TGridView &view, const TGridStyles &stiller);

// The popup menu's items in order; the actions are named as the window refers to them.
struct TStokMenusu {
    QAction *S2 = nullptr;               // "Sepete Ekle"
    QAction *B1 = nullptr;               // "Sipariş Bakiyeleriniz"
    QAction *S3 = nullptr;               // "Siparişleri Göster"
    QAction *StokHareketleri1 = nullptr; // "Stok Hareketleri"
};
TStokMenusu MenuyuKur(QMenu &menu);

// Above this main-window width the list shows separate price columns; at or below it
// one drawn price-information cell.
constexpr int GenisPencereSiniri = 1152;

struct TYerlesim {
    bool Genis = false;
    int SatirYuksekligi = 0;
    int Birim = 0; // width of weight 1; 0 when no visible column has a weight
};

// The column fit for a main window `pencereGenisligi` wide and a grid `gridGenisligi`
// wide, in one view update: the layout's price columns, row height and every visible
// column's width as weight x unit, unit = trunc((grid - 30) / sum of visible weights).
TYerlesim KolonlariYay(TGridView &view, int pencereGenisligi, int gridGenisligi);

// The text of the price-information cell, one line per price, each ended by CR LF; the
// campaign line only for a positive campaign price.
QString FiyatBilgisiMetni(double listeFiyati, double kampanyaFiyati, double netFiyat, double kdvDahil,
                          const QLocale &locale);
// Draws the price-information cell of a row and marks it drawn.
void FiyatBilgisiCiz(TCustomDrawCellArgs &args);

// The plain Latin letter for a Turkish one; any other character unchanged.
QChar TurkceHarfCevir(QChar c);

// Hands every key typed into a line edit to a key-press handler first, as a character
// the handler may change (or clear to swallow the key). Enter arrives as '\r'. Only
// typed keys pass through here; pasted text does not.
class TTusYakalayici : public QObject {
    Q_OBJECT
public:
    using Isleyici = std::function<void(QChar &key)>;
    TTusYakalayici(QObject *editor, Isleyici isleyici);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Isleyici FIsleyici;
    bool FGonderiyor = false;
};

} // namespace stoklistesi

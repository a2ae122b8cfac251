#pragma once
// The main window's promotional pages: announcements (pictures with an action), new
// items and campaign items (read-only stock grids), and the counts in the tab captions.
// What does not need the window lives here: picture-text decoding, the announcement
// action, the views' set-up, the column fit and the caption texts.
#include <QByteArray>
#include <QList>
#include <QString>

class TAcilisEkranlariki;
class TClientDataSet;
class TGridView;
namespace wire {
class Table;
}

// Picture text to bytes: two hexadecimal digits per byte from the first character on,
// either letter case, no separators; a last single digit is read as a one-digit number.
// Empty text gives no bytes. platform::ConvertError when a character is not a hex digit.
QByteArray HexCoz(const QString &metin);

// What a double-click on an announcement does with its action text.
enum class TDuyuruEylemi {
    Hicbiri,    // blank text
    Kampanyali, // exactly "#KAMPANYA#": the campaign page
    Yeniler,    // exactly "#YENİ#": the new-items page
    Arama,      // anything else: the text, untrimmed, goes to the catalogue search
};
TDuyuruEylemi DuyuruEylemi(const QString &arama);

// ---- announcements ----

// The dataset form of the announcement list (columns RESIM, BASLIK, ARAMA), built in the
// background so that decoding never runs on the UI thread. A null list is an empty one;
// an announcement without a picture, or with a picture text that is not hexadecimal,
// keeps its row and action with a null picture.
wire::Table DuyuruTablosu(const TAcilisEkranlariki *ekranlar);

// Unbound picture view: one 405 px row per picture, hidden title and action cells, no
// header, nothing the user can change.
void DuyuruGorunumuKur(TGridView &gorunum);

// Replaces the view's rows with the announcements of the dataset, in its order.
void DuyurulariGoster(TGridView &gorunum, const TClientDataSet &duyurular);

// The action text of a shown row; empty when the row does not exist.
QString DuyuruArama(const TGridView &gorunum, int satir);

// ---- new items and campaign items ----

// Every column of the view in order, with captions, visibility, chooser membership,
// width weights, icon columns and the footer count; the view settings of both lists.
void YeniStokGorunumuKur(TGridView &gorunum);
void KampanyaliGorunumuKur(TGridView &gorunum);

// Screens up to this width get best fit; wider ones the weighted widths.
constexpr int GenisEkranSiniri = 1152;

// Wider screen than GenisEkranSiniri: every visible column gets Tag x trunc((W - 30) / S),
// S being the sum of the visible Tags and W the grid's width; otherwise best fit.
void KolonlariYay(TGridView &gorunum, int gridGenisligi, int ekranGenisligi);

// ---- tab captions ----

// A count before the tab's short title, "=" between, no blanks: "12=Yeni Stoklar".
QString SayiliBaslik(qint64 sayi, const QString &kisaAd);
// The balance in the user's locale, shortest general form without grouping: "4", "2,5".
QString BakiyeMetni(double bakiye);

// The five captions one row of BalonGetir gives. platform::Exception when the row does
// not exist or the reader has fewer than five columns.
struct TBalonBasliklari {
    QString Sepet;
    QString YeniStoklar;
    QString Kampanyali;
    QString Duyurular;
    QString Bakiyeler;
};
TBalonBasliklari BalonBasliklari(const wire::Table &okuyucu, int satir);
// The captions of every row in order (normally one; none leaves every caption as it is).
QList<TBalonBasliklari> BalonSatirlari(const wire::Table &okuyucu);

#pragma once

#include <QtGlobal>

#include <initializer_list>

class TGridColumn;
class TGridView;

// Grid columns described as a table, so each view lists only its own columns.
namespace kolon {

// How a column's cells are shown.
enum class THucre {
    Duz,          // as the grid shows the value
    Yazi,         // read-only label
    OrtaliDuz,    // as the grid shows the value, centred
    OrtaliYazi,   // label, centred
    Secim,        // check box storing 1/0, no header filter
    Durum,        // stock status pictures 0-5
    Resim,        // picture flag: only 1 shows the camera
    ResimVarYok,  // picture flag with "Var"/"Yok" for filter and export
    Bayrak,       // yes/no pictures
    BayrakBosHayir,       // yes picture only; "Hayır" stays blank
    BayrakVarsayilanHayir, // yes/no pictures; any other value shows "Hayır"
    Ozel,         // left to the caller (custom drawing)
};

struct TKolonTanimi {
    const char *Alan;   // empty: unbound
    const char *Baslik; // nullptr: none (the field name shows)
    bool Gorunur;
    bool Sunulan;       // offered in the column chooser
    int Agirlik;        // Tag: share of the width when widths follow the grid
    THucre Hucre = THucre::Duz;
    const char *Ad = nullptr; // name after the view's; nullptr: the field name
};

struct TKolonSecenekleri {
    bool BaslikOrtali = true;  // header captions centred
    bool ResimOrtali = true;   // picture cells centred
};

// Appends the described columns to the view, in the given order; the caller brackets the
// set-up with BeginUpdate()/EndUpdate().
void KolonlariEkle(TGridView &view, const TKolonTanimi *ilk, qsizetype sayi, TKolonSecenekleri secenek = {});
void KolonlariEkle(TGridView &view, std::initializer_list<TKolonTanimi> kolonlar,
                   TKolonSecenekleri secenek = {});

// The stock status pictures, the same wherever a DURUM column shows.
void DurumResimleriniEkle(TGridColumn &c);

} // namespace kolon

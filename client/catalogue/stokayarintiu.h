#pragma once
// The stock detail dialog "Sepete Ekle": an item with its picture, quantity, price, discount
// rates and the amounts they give. Its opener fills it, shows it modally and reads it; the
// amounts are for the user only, the server computes what it stores.
#include <QDialog>
#include <QLineEdit>

#include <array>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;
class TAsyncResim;

// Four discount rates in percent, applied one after the other.
using TIndirimOranlari = std::array<double, 4>;

// What TutarHesapla works out for a price, a quantity and the rates.
struct TTutarlar {
    double Brut = 0;      // price x quantity
    double Indirim = 0;   // discount amount of the line, not rounded
    double Net = 0;       // net total, rounded
    double NetBirim = 0;  // net unit price, rounded; 0 without a usable quantity
    double KdvDahil = 0;  // net unit price with VAT, rounded
    double Genel = 0;     // line total with VAT: the rounded VAT unit price x quantity, rounded
};

// Chained discounts: each rate above 0 applies to what the earlier ones left.
double IndirimUygula(double brut, const TIndirimOranlari &oranlar);

// The amounts of a line. A quantity of 0 or less gives no unit prices.
TTutarlar TutarHesapla(double fiyat, int adet, const TIndirimOranlari &oranlar, double kdvoran);

// A money box: shows its value as "#,###,##0.00" in the user's locale, also while it is
// edited, and is read-only until the window unlocks it.
class TCurrencyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCurrencyEdit(QWidget *parent = nullptr);

    double Value() const { return FValue; }
    void SetValue(double value);

Q_SIGNALS:
    void ValueChanged(double value);

private:
    void metinDegisti(const QString &text);
    double FValue = 0;
};

class Tstokayarinti : public QDialog {
    Q_OBJECT
public:
    // The dialog of one stock item.
    static Tstokayarinti *Ac(QWidget *AOwner, int _stokno);
    Tstokayarinti(QWidget *AOwner, int _stokno);
    ~Tstokayarinti() override;

    int stokno = 0;
    double kdvoran = 0;

    int koliadet() const { return Fkoliadet; }
    // The quantity moves in steps of the package quantity and starts at one package. A
    // package quantity below 1 counts as 1: it is a divisor and the box's minimum.
    void Setkoliadet(int value);

    // The quantity as the box's text reads in the user's locale; empty when it is no number.
    std::optional<double> Miktar() const;
    // The conversion error for the quantity text, as the platform words it.
    QString MiktarHatasi() const;
    TIndirimOranlari Oranlar() const;
    // The discount row shows when the rates add up to more than 1 percent.
    bool IndirimVarmi() const;
    // Writes the amounts of the current quantity, price and rates into the boxes.
    void TutarHesapla();
    // The price without 20 % VAT.
    void KdvCikar();

    // Controls, named as the windows and tests find them.
    QLabel *barkod = nullptr;
    QLabel *adi = nullptr;
    QLabel *finishkod = nullptr;
    QLabel *marka = nullptr;
    QLabel *model = nullptr;
    QLabel *Image1 = nullptr;
    TAsyncResim *AsyncResim1 = nullptr;
    QSpinBox *adet = nullptr;
    QLabel *Label2 = nullptr;
    TCurrencyEdit *birimfiyat = nullptr;
    QLabel *indirimoran = nullptr;
    TCurrencyEdit *indtutar = nullptr;
    TCurrencyEdit *kdvdahiltutar = nullptr;
    TCurrencyEdit *geneltutar = nullptr;
    QWidget *GridPanel2 = nullptr;
    TCurrencyEdit *edindirim1 = nullptr;
    TCurrencyEdit *edindirim2 = nullptr;
    TCurrencyEdit *edindirim3 = nullptr;
    TCurrencyEdit *edindirim4 = nullptr;
    QPushButton *ParcaliTus1 = nullptr;
    QPushButton *ParcaliTus2 = nullptr;

    // Makes the price and the four rates editable (sales staff).
    void FiyatKilidiniAc();

public Q_SLOTS:
    void FormShow();
    void FormActivate();
    void adetChange();
    void adetExit();
    void ParcaliTus1Click();
    void ParcaliTus2Click();

public:
    // Key handlers; each returns true when it consumed the key.
    bool adetKeyDown(int key);
    bool birimfiyatKeyDown(int key);
    bool birimfiyatKeyUp(TCurrencyEdit *sender, int key);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<TCurrencyEdit *, 8> paraKutulari() const;
    // Closes with OK unless the quantity text is no number: then the conversion error is
    // shown and the dialog stays open with its values.
    void TamamKapat();

    int Fkoliadet = 1;
    bool FKapaniyor = false;
};

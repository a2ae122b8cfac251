#pragma once
// The order confirmation "Sipariş Onay": delivery kind, cargo kind, cargo company and a
// note for the order the cart is sent as. The window that opens it reads td, kt, KN and
// the note after it closed with OK, and sends the order itself.
#include <QDialog>
#include <QGroupBox>

#include <vector>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class TClientDataSet;
class TSonucBilgisi;
namespace platform {
class TSQLConnection;
}

// A titled group of radio buttons, each item carrying an id. ItemIndex is -1 while none
// is chosen; setting it is limited to the items there are.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(const QString &title, QWidget *parent = nullptr);

    void Clear();
    void AddItem(const QString &text, int id);
    int Count() const { return int(FIds.size()); }
    int ItemIndex() const;
    void SetItemIndex(int index);
    int ItemId(int index) const { return FIds.at(size_t(index)); }
    QString ItemText(int index) const;

Q_SIGNALS:
    // The user clicked an item.
    void Click();

private:
    QButtonGroup *FGroup;
    QVBoxLayout *FLayout;
    std::vector<int> FIds;
};

class TONAYSIP : public QDialog {
    Q_OBJECT
public:
    // Fills the summary from the session record and the total, shows the warning and
    // loads the delivery and cargo kinds over `_c`. The connection and the record stay
    // the caller's and must outlive the dialog.
    static TONAYSIP *Ac(QWidget *AOwner, platform::TSQLConnection *_c, const QString &mesaj,
                        const TSonucBilgisi *_sbilgi, const QString &_toplam);
    ~TONAYSIP() override;

    platform::TSQLConnection *bagc = nullptr;
    const TSonucBilgisi *sbilgi = nullptr;
    QString toplam;
    // Results, meaningful after the dialog closed with OK.
    int td = 0; // delivery kind id
    int kt = 0; // cargo kind id
    int KN = 0; // SIRANO of the cargo company

    TRadioGroup *teslimbox = nullptr;
    TRadioGroup *boxkargo = nullptr;
    QGroupBox *kargokutusu = nullptr;
    QComboBox *kargocombo = nullptr;
    QLabel *uyarikargo = nullptr;
    QGroupBox *mesajkutusu = nullptr;
    QPlainTextEdit *aciklamagir = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Button1 = nullptr; // "Evet"
    QPushButton *Button2 = nullptr; // "Hayır"
    TClientDataSet *kargo = nullptr;

    // The summary label's text: user, account and amount, captions padded to one width.
    static QString OzetMetni(const QString &kullanici, const QString &cari, const QString &tutar);

    void TeslimKargoYukle();
    void KargolarYukle(int gn);

public Q_SLOTS:
    void boxkargoClick();
    void kargocomboChange();
    void Button1Click();

private:
    explicit TONAYSIP(QWidget *AOwner);
};

#include "onaysipu.h"

#include "baglantiu.h"
#include "clientdataset.h"
#include "exception.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "table.h"
#include "utils.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <memory>

namespace {

struct Kapat {
    platform::TSQLConnection &baglanti;
    ~Kapat() { baglanti.Close(); }
};

void uyar(const char *metin)
{
    MesajGoster(QString::fromUtf8(metin), platform::MessageKind::Warning, platform::MessageButton::Ok,
                platform::MessageButton::Ok);
}

// Fills a radio group from a reader read by position: id, then text.
void doldur(TRadioGroup &grup, const wire::Table *okuyucu)
{
    grup.Clear();
    if (!okuyucu || okuyucu->columnCount() < 2)
        return;
    for (int r = 0; r < okuyucu->rowCount(); ++r)
        grup.AddItem(okuyucu->value(r, 1).toString(), okuyucu->value(r, 0).toInt());
}

} // namespace

// ------------------------------------------------------------------ radio group

TRadioGroup::TRadioGroup(const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
    , FGroup(new QButtonGroup(this))
    , FLayout(new QVBoxLayout(this))
{
    FGroup->setExclusive(true);
    connect(FGroup, &QButtonGroup::idClicked, this, [this](int) { Q_EMIT Click(); });
}

void TRadioGroup::Clear()
{
    const QList<QAbstractButton *> buttons = FGroup->buttons();
    for (QAbstractButton *b : buttons) {
        FGroup->removeButton(b);
        delete b;
    }
    FIds.clear();
}

void TRadioGroup::AddItem(const QString &text, int id)
{
    auto *b = new QRadioButton(text, this);
    b->setObjectName(objectName() + QString::number(FIds.size()));
    FGroup->addButton(b, int(FIds.size()));
    FLayout->addWidget(b);
    FIds.push_back(id);
}

int TRadioGroup::ItemIndex() const
{
    return FGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    index = qBound(-1, index, Count() - 1);
    if (index < 0) {
        // An exclusive group keeps one button checked; lift that to clear it.
        if (QAbstractButton *b = FGroup->checkedButton()) {
            FGroup->setExclusive(false);
            b->setChecked(false);
            FGroup->setExclusive(true);
        }
        return;
    }
    FGroup->button(index)->setChecked(true);
}

QString TRadioGroup::ItemText(int index) const
{
    return FGroup->button(index)->text();
}

// ------------------------------------------------------------------ dialog

TONAYSIP::TONAYSIP(QWidget *AOwner)
    : QDialog(AOwner, Qt::Tool)
{
    setObjectName(QStringLiteral("ONAYSIP"));
    setWindowTitle(QStringLiteral("Sipariş Onay"));
    setFixedSize(894, 526);
    setModal(true);

    kargo = new TClientDataSet(this);
    kargo->setObjectName(QStringLiteral("kargo"));

    teslimbox = new TRadioGroup(QStringLiteral("Teslim Durumu"), this);
    teslimbox->setObjectName(QStringLiteral("teslimbox"));
    boxkargo = new TRadioGroup(QStringLiteral("Kargo Türleri"), this);
    boxkargo->setObjectName(QStringLiteral("boxkargo"));

    kargokutusu = new QGroupBox(QStringLiteral("Kargo"), this);
    kargokutusu->setObjectName(QStringLiteral("kargokutusu"));
    auto *kargoduzen = new QVBoxLayout(kargokutusu);
    kargocombo = new QComboBox(kargokutusu);
    kargocombo->setObjectName(QStringLiteral("kargocombo"));
    kargocombo->setEditable(false);
    uyarikargo = new QLabel(kargokutusu);
    uyarikargo->setObjectName(QStringLiteral("uyarikargo"));
    uyarikargo->setTextFormat(Qt::PlainText);
    uyarikargo->setWordWrap(true);
    kargoduzen->addWidget(kargocombo);
    kargoduzen->addWidget(uyarikargo, 1);

    mesajkutusu = new QGroupBox(QStringLiteral("Mesaj"), this);
    mesajkutusu->setObjectName(QStringLiteral("mesajkutusu"));
    auto *mesajduzen = new QVBoxLayout(mesajkutusu);
    aciklamagir = new QPlainTextEdit(mesajkutusu);
    aciklamagir->setObjectName(QStringLiteral("aciklamagir"));
    aciklamagir->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 225);"));
    mesajduzen->addWidget(aciklamagir);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    // The captions are padded with blanks, so they line up only in a fixed-pitch font.
    QFont sabit(QStringLiteral("Courier New"));
    sabit.setStyleHint(QFont::Monospace);
    sabit.setPixelSize(14);
    sabit.setBold(true);
    Label2->setFont(sabit);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);
    // Outside the look of the style: always red.
    Label3->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    Label1 = new QLabel(QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);

    Button1 = new QPushButton(QStringLiteral("Evet"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Hayır"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto *izgara = new QGridLayout(this);
    izgara->addWidget(teslimbox, 0, 0);
    izgara->addWidget(boxkargo, 0, 1);
    izgara->addWidget(kargokutusu, 0, 2);
    izgara->addWidget(mesajkutusu, 1, 0, 1, 2);
    izgara->addWidget(Label2, 1, 2);
    izgara->addWidget(Label3, 2, 0, 1, 3);
    izgara->addWidget(Label1, 3, 0, 1, 3);
    auto *dugmeler = new QHBoxLayout;
    dugmeler->addStretch(1);
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);
    dugmeler->addStretch(1);
    izgara->addLayout(dugmeler, 4, 0, 1, 3);
    izgara->setRowStretch(0, 1);
    izgara->setRowStretch(1, 1);

    connect(boxkargo, &TRadioGroup::Click, this, &TONAYSIP::boxkargoClick);
    connect(kargocombo, &QComboBox::activated, this, &TONAYSIP::kargocomboChange);
    connect(Button1, &QPushButton::clicked, this, &TONAYSIP::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

TONAYSIP::~TONAYSIP() = default;

TONAYSIP *TONAYSIP::Ac(QWidget *AOwner, platform::TSQLConnection *_c, const QString &mesaj,
                       const TSonucBilgisi *_sbilgi, const QString &_toplam)
{
    std::unique_ptr<TONAYSIP> d(new TONAYSIP(AOwner));
    d->sbilgi = _sbilgi;
    d->bagc = _c;
    d->toplam = _toplam;
    d->Label3->setText(mesaj);
    d->Label2->setText(OzetMetni(_sbilgi->ADI(), _sbilgi->CariAdi(), _toplam));
    d->TeslimKargoYukle();
    return d.release();
}

QString TONAYSIP::OzetMetni(const QString &kullanici, const QString &cari, const QString &tutar)
{
    return QStringLiteral("Kullanıcı: ") + kullanici + QStringLiteral("\r\n") + QStringLiteral("Cari     : ") + cari
        + QStringLiteral("\r\n") + QStringLiteral("Tutar    : ") + tutar;
}

void TONAYSIP::TeslimKargoYukle()
{
    const std::unique_ptr<platform::TSQLConnection> klon = bagc->Clone();
    if (!BaglantiAc(*klon, true))
        return;
    Kapat kapat{*klon};
    {
        TServerMethods1Client proxy(klon.get());
        doldur(*teslimbox, proxy.TeslimVer());
        // The second kind is the usual one; with a single kind that one.
        teslimbox->SetItemIndex(1);
    }
    {
        TServerMethods1Client proxy(klon.get());
        doldur(*boxkargo, proxy.KargoVer());
    }
}

void TONAYSIP::boxkargoClick()
{
    uyarikargo->clear();
    const int i = boxkargo->ItemIndex();
    if (i < 0)
        return;
    try {
        KargolarYukle(boxkargo->ItemId(i));
    } catch (const std::exception &e) {
        const auto *p = dynamic_cast<const platform::Exception *>(&e);
        MesajGoster(p ? p->Message() : QString::fromLocal8Bit(e.what()), platform::MessageKind::Error,
                    platform::MessageButton::Ok, platform::MessageButton::Ok);
    }
}

void TONAYSIP::KargolarYukle(int gn)
{
    if (!BaglantiAc(*bagc, true))
        return;
    {
        Kapat kapat{*bagc};
        TServerMethods1Client proxy(bagc);
        const wire::Table *okuyucu = proxy.KargolarVer(gn);
        if (!okuyucu)
            throw platform::Exception(QStringLiteral("Sunucu kargo firmalarını göndermedi."));
        kargo->CopyFromReader(*okuyucu);
    }
    kargocombo->clear();
    kargocombo->addItem(QStringLiteral(" "));
    if (const TField *adi = kargo->FindField(QStringLiteral("ADI"))) {
        for (int r = 0; r < kargo->RecordCount(); ++r)
            kargocombo->addItem(adi->AsStringAt(r));
    }
    if (kargocombo->count() == 2) {
        kargocombo->setCurrentIndex(1);
        kargocomboChange();
    }
}

void TONAYSIP::kargocomboChange()
{
    QString uyari;
    try {
        if (kargo->Active() && kargo->Locate(QStringLiteral("ADI"), kargocombo->currentText()))
            uyari = kargo->FieldByName(QStringLiteral("UYARI"))->AsString();
    } catch (const std::exception &) {
        uyari.clear();
    }
    uyarikargo->setText(uyari);
}

void TONAYSIP::Button1Click()
{
    // A second press while the dialog is closing does nothing.
    if (result() == QDialog::Accepted)
        return;
    if (teslimbox->ItemIndex() < 0) {
        uyar("Lütfen Teslim Durumu Seçiniz !");
        return;
    }
    if (boxkargo->ItemIndex() < 0) {
        uyar("Lütfen Kargo Türünü Seçiniz !");
        return;
    }
    // A company list without its columns is no company.
    const TField *firmaNo = kargo->Active() ? kargo->FindField(QStringLiteral("SIRANO")) : nullptr;
    if (kargocombo->currentIndex() > 0 && firmaNo && kargo->FindField(QStringLiteral("ADI"))
        && kargo->Locate(QStringLiteral("ADI"), kargocombo->currentText())) {
        KN = firmaNo->AsInteger();
        td = teslimbox->ItemId(teslimbox->ItemIndex());
        kt = boxkargo->ItemId(boxkargo->ItemIndex());
        Button1->setEnabled(false);
        accept();
        return;
    }
    uyar("Lütfen Kargo  Seçiniz !");
    kargocombo->setFocus();
}

#include "stokayarintiu.h"

#include "asyncresimu.h"
#include "displayformat.h"
#include "utils.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString ParaBicimi = QStringLiteral("#,###,##0.00");

// The user's number text as a double: group separators allowed, nothing else.
std::optional<double> sayiOku(const QString &text)
{
    const QLocale locale;
    QString t = text.trimmed();
    t.remove(locale.groupSeparator());
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

bool enterTusu(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

double IndirimUygula(double brut, const TIndirimOranlari &oranlar)
{
    double n = brut;
    for (double oran : oranlar) {
        if (oran > 0)
            n = n - n * oran / 100;
    }
    return n;
}

TTutarlar TutarHesapla(double fiyat, int adet, const TIndirimOranlari &oranlar, double kdvoran)
{
    TTutarlar t;
    t.Brut = fiyat * adet;
    const double n = IndirimUygula(t.Brut, oranlar);
    t.Indirim = t.Brut - n;
    t.Net = IkiHaneYuvarla(n);
    t.NetBirim = adet > 0 ? IkiHaneYuvarla(t.Net / adet) : 0;
    t.KdvDahil = IkiHaneYuvarla(t.NetBirim * (1 + kdvoran / 100));
    t.Genel = IkiHaneYuvarla(t.KdvDahil * adet);
    return t;
}

// ------------------------------------------------------------------ money box

TCurrencyEdit::TCurrencyEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setReadOnly(true);
    SetValue(0);
    connect(this, &QLineEdit::textEdited, this, &TCurrencyEdit::metinDegisti);
    // Typed text is shown in the money format again once the box is left.
    connect(this, &QLineEdit::editingFinished, this, [this] { setText(platform::FormatFloat(ParaBicimi, FValue)); });
}

void TCurrencyEdit::SetValue(double value)
{
    FValue = value;
    setText(platform::FormatFloat(ParaBicimi, value));
    Q_EMIT ValueChanged(value);
}

void TCurrencyEdit::metinDegisti(const QString &text)
{
    // Text that is no number (yet) leaves the value as it was.
    if (const auto v = sayiOku(text.isEmpty() ? QStringLiteral("0") : text)) {
        FValue = *v;
        Q_EMIT ValueChanged(FValue);
    }
}

// ------------------------------------------------------------------ dialog

Tstokayarinti *Tstokayarinti::Ac(QWidget *AOwner, int _stokno)
{
    return new Tstokayarinti(AOwner, _stokno);
}

Tstokayarinti::Tstokayarinti(QWidget *AOwner, int _stokno)
    : QDialog(AOwner),
      stokno(_stokno)
{
    setObjectName(QStringLiteral("stokayarinti"));
    setWindowTitle(QStringLiteral("Sepete Ekle"));
    resize(662, 631);

    auto *column = new QVBoxLayout(this);

    // Item description.
    auto *tanim = new QGridLayout;
    auto satir = [this, tanim](const char *caption, const char *name, QLabel *&value) {
        const int row = tanim->rowCount();
        auto *c = new QLabel(QString::fromUtf8(caption), this);
        c->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        tanim->addWidget(c, row, 0);
        value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextFormat(Qt::PlainText);
        value->setWordWrap(true);
        tanim->addWidget(value, row, 1);
    };
    satir("Barkod:", "barkod", barkod);
    satir("Açıklama:", "adi", adi);
    satir("Finish Kod:", "finishkod", finishkod);
    satir("Marka:", "marka", marka);
    satir("Model:", "model", model);
    tanim->setColumnStretch(1, 1);
    column->addLayout(tanim);

    // The picture lies over the placeholder; it stays visible until a picture arrives.
    auto *resim = new QGridLayout;
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/korvel/resim.png")));
    Image1->setAlignment(Qt::AlignCenter);
    resim->addWidget(Image1, 0, 0);
    AsyncResim1 = new TAsyncResim(this);
    AsyncResim1->setObjectName(QStringLiteral("AsyncResim1"));
    resim->addWidget(AsyncResim1, 0, 0);
    column->addLayout(resim, 1);

    // Quantity and amounts.
    auto *tutarlar = new QGridLayout;
    auto kutu = [this](const char *name) {
        auto *e = new TCurrencyEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->installEventFilter(this);
        return e;
    };
    auto baslik = [this](const char *caption) {
        auto *l = new QLabel(QString::fromUtf8(caption), this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    adet = new QSpinBox(this);
    adet->setObjectName(QStringLiteral("adet"));
    adet->setRange(1, 10000);
    adet->setValue(1);
    adet->installEventFilter(this);
    tutarlar->addWidget(baslik("Adet:"), 0, 0);
    tutarlar->addWidget(adet, 0, 1);

    Label2 = baslik("Fiyat:");
    Label2->setObjectName(QStringLiteral("Label2"));
    birimfiyat = kutu("birimfiyat");
    tutarlar->addWidget(Label2, 1, 0);
    tutarlar->addWidget(birimfiyat, 1, 1);

    indirimoran = baslik("İndirim:");
    indirimoran->setObjectName(QStringLiteral("indirimoran"));
    indtutar = kutu("indtutar");
    tutarlar->addWidget(indirimoran, 2, 0);
    tutarlar->addWidget(indtutar, 2, 1);

    kdvdahiltutar = kutu("kdvdahiltutar");
    tutarlar->addWidget(baslik("KDV Dahil:"), 3, 0);
    tutarlar->addWidget(kdvdahiltutar, 3, 1);

    geneltutar = kutu("geneltutar");
    tutarlar->addWidget(baslik("Tutar:"), 4, 0);
    tutarlar->addWidget(geneltutar, 4, 1);
    tutarlar->setColumnStretch(1, 1);
    column->addLayout(tutarlar);

    // The rates, shown to sales staff only.
    GridPanel2 = new QWidget(this);
    GridPanel2->setObjectName(QStringLiteral("GridPanel2"));
    auto *oranlar = new QGridLayout(GridPanel2);
    oranlar->setContentsMargins(0, 0, 0, 0);
    TCurrencyEdit **edits[] = {&edindirim1, &edindirim2, &edindirim3, &edindirim4};
    const char *names[] = {"edindirim1", "edindirim2", "edindirim3", "edindirim4"};
    const char *captions[] = {"İsk", "İsk2", "İsk3", "İsk4"};
    for (int i = 0; i < 4; ++i) {
        auto *c = new QLabel(QString::fromUtf8(captions[i]), GridPanel2);
        c->setAlignment(Qt::AlignCenter);
        oranlar->addWidget(c, 0, i);
        *edits[i] = kutu(names[i]);
        (*edits[i])->setParent(GridPanel2);
        oranlar->addWidget(*edits[i], 1, i);
    }
    GridPanel2->setVisible(false);
    column->addWidget(GridPanel2);

    auto *tuslar = new QHBoxLayout;
    ParcaliTus1 = new QPushButton(QStringLiteral("Sipariş ekle"), this);
    ParcaliTus1->setObjectName(QStringLiteral("ParcaliTus1"));
    ParcaliTus2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    ParcaliTus2->setObjectName(QStringLiteral("ParcaliTus2"));
    // Enter belongs to the boxes: it confirms from the quantity and does nothing elsewhere.
    for (QPushButton *b : {ParcaliTus1, ParcaliTus2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        tuslar->addWidget(b);
    }
    column->addLayout(tuslar);

    connect(adet, &QSpinBox::textChanged, this, &Tstokayarinti::adetChange);
    connect(ParcaliTus1, &QPushButton::clicked, this, &Tstokayarinti::ParcaliTus1Click);
    connect(ParcaliTus2, &QPushButton::clicked, this, &Tstokayarinti::ParcaliTus2Click);

    if (QScreen *screen = AOwner ? AOwner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    adet->setFocus();
}

Tstokayarinti::~Tstokayarinti() = default;

std::array<TCurrencyEdit *, 8> Tstokayarinti::paraKutulari() const
{
    return {birimfiyat, indtutar, kdvdahiltutar, geneltutar, edindirim1, edindirim2, edindirim3, edindirim4};
}

void Tstokayarinti::Setkoliadet(int value)
{
    Fkoliadet = qMax(1, value);
    adet->setSingleStep(Fkoliadet);
    adet->setValue(Fkoliadet);
    adet->setMinimum(Fkoliadet);
}

void Tstokayarinti::FiyatKilidiniAc()
{
    for (TCurrencyEdit *e : {birimfiyat, edindirim1, edindirim2, edindirim3, edindirim4})
        e->setReadOnly(false);
}

std::optional<double> Tstokayarinti::Miktar() const
{
    return sayiOku(adet->text());
}

QString Tstokayarinti::MiktarHatasi() const
{
    return QStringLiteral("'%1' geçerli bir sayı değil").arg(adet->text());
}

TIndirimOranlari Tstokayarinti::Oranlar() const
{
    return {edindirim1->Value(), edindirim2->Value(), edindirim3->Value(), edindirim4->Value()};
}

bool Tstokayarinti::IndirimVarmi() const
{
    const TIndirimOranlari r = Oranlar();
    return r[0] + r[1] + r[2] + r[3] > 1;
}

void Tstokayarinti::TutarHesapla()
{
    // A quantity box that holds no number yet counts as no quantity.
    const auto miktar = Miktar();
    const int q = miktar ? int(*miktar) : 0;
    const TTutarlar t = ::TutarHesapla(birimfiyat->Value(), q, Oranlar(), kdvoran);
    indtutar->SetValue(t.Indirim);
    kdvdahiltutar->SetValue(t.KdvDahil);
    geneltutar->SetValue(t.Genel);
}

void Tstokayarinti::KdvCikar()
{
    birimfiyat->SetValue(birimfiyat->Value() / 1.2);
}

void Tstokayarinti::FormShow()
{
    // Decided once, for the rates the opener gave.
    const bool indirim = IndirimVarmi();
    indirimoran->setVisible(indirim);
    indtutar->setVisible(indirim);
    TutarHesapla();
    AsyncResim1->SetUrl(StokResimAdresi(stokno));
}

void Tstokayarinti::FormActivate()
{
    adet->selectAll();
}

void Tstokayarinti::adetChange()
{
    TutarHesapla();
}

void Tstokayarinti::adetExit()
{
    if (FKapaniyor)
        return;
    const int q = adet->value();
    if (q % Fkoliadet != 0)
        adet->setValue(q - q % Fkoliadet + Fkoliadet);
}

bool Tstokayarinti::adetKeyDown(int key)
{
    if (!enterTusu(key))
        return false;
    TamamKapat();
    return true;
}

bool Tstokayarinti::birimfiyatKeyDown(int key)
{
    return enterTusu(key);
}

bool Tstokayarinti::birimfiyatKeyUp(TCurrencyEdit *, int key)
{
    const bool f4 = key == Qt::Key_F4;
    if (f4)
        KdvCikar();
    TutarHesapla();
    return f4;
}

void Tstokayarinti::ParcaliTus1Click()
{
    adetExit();
    TamamKapat();
}

void Tstokayarinti::ParcaliTus2Click()
{
    FKapaniyor = true;
    done(2);
}

void Tstokayarinti::reject()
{
    // Closing the window is a cancel.
    ParcaliTus2Click();
}

void Tstokayarinti::TamamKapat()
{
    if (!Miktar()) {
        MesajGoster(MiktarHatasi(), platform::MessageKind::Error, platform::MessageButton::Ok,
                    platform::MessageButton::Ok);
        adet->setFocus();
        return;
    }
    // The box may not round once the dialog closes: Enter sends the quantity as typed.
    FKapaniyor = true;
    done(1);
}

void Tstokayarinti::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FKapaniyor = false;
        FormShow();
    }
}

bool Tstokayarinti::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

bool Tstokayarinti::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == adet) {
        if (type == QEvent::KeyPress && adetKeyDown(static_cast<QKeyEvent *>(event)->key()))
            return true;
        // Leaving the box for another control of the dialog; not another window coming up.
        if (type == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                adetExit();
        }
        return QDialog::eventFilter(watched, event);
    }
    auto *kutu = qobject_cast<TCurrencyEdit *>(watched);
    if (kutu && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (type == QEvent::KeyPress) {
            if (kutu == birimfiyat && birimfiyatKeyDown(key))
                return true;
            // F4 is the VAT key here; the release does the work.
            if (key == Qt::Key_F4)
                return true;
        } else if (!static_cast<QKeyEvent *>(event)->isAutoRepeat() && birimfiyatKeyUp(kutu, key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

#include "unit1.h"

#include "baglantiu.h"
#include "beklesinu.h"
#include "buildconfig.h"
#include "clientdataset.h"
#include "datasource.h"
#include "dialogs.h"
#include "gifresim.h"
#include "iceriksekmeleri.h"
#include "proxim.h"
#include "ayrintiacici.h"
#include "sepetislemleri.h"
#include "sepetsekmesi.h"
#include "onaysipu.h"
#include "gridexporter.h"
#include "stokayarintiu.h"
#include "stoklistesi.h"
#include "girisformu.h"
#include "sekmeyukleme.h"
#include "shell.h"
#include "sqlconnection.h"
#include "table.h"
#include "utils.h"
#include "utilsmachine.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

// The pictures and the look are compiled into this library; make sure they are linked in.
static void assetsBagla()
{
    Q_INIT_RESOURCE(assets);
}

namespace {

const char *const BusyGif = ":/korvel/bekle.gif";

QFont tahoma(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QLabel *picture(const QString &resource, int size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(QPixmap(resource).scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    label->setFixedSize(size, size);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QToolButton *imageButton(const QString &name, const QString &resource, const QString &hint, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(QIcon(resource));
    b->setIconSize(QSize(22, 22));
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    assetsBagla();
    setObjectName(QStringLiteral("Form1"));
    setFont(tahoma(13, true));

    bagc = new platform::TSQLConnection(this);
    bagc->setObjectName(QStringLiteral("bagc"));

    buildStyles();
    buildDataModules();

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);
    buildHeader(central);
    buildSearchBar(central);
    RxGIFAnimator2 = new TGifResim(central);
    RxGIFAnimator2->setObjectName(QStringLiteral("RxGIFAnimator2"));
    RxGIFAnimator2->setFixedHeight(0);
    buildPages(central);
    buildLegend(central);
    buildBottom(central);
    buildCartDetail();
    buildCartTab();
    column->addWidget(Panel1);
    column->addWidget(Panel2);
    column->addWidget(RxGIFAnimator2);
    column->addWidget(sPageControl1, 1);
    column->addWidget(Panel3);
    column->addWidget(Panel5);

    // Designed at 1634 x 725; restored it sits centred on the screen.
    QSize size(1634, 725);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        size = size.boundedTo(area.size());
        setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
    setWindowState(Qt::WindowMaximized);
    araedit->setFocus();
    platform::SetApplicationMainForm(this);

    FormCreate();
}

TForm1::~TForm1()
{
    delete sbilgi;
}

// ------------------------------------------------------------------ layout

void TForm1::buildStyles()
{
    cxStyle1.Color = QColor(239, 239, 239);
    cxStyle2.Color = Qt::white;
    cxStyle3.Color = QColor(61, 65, 74);
    cxStyle3.TextColor = Qt::white;
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(13);
    arial.setBold(true);
    cxStyle3.Font = arial;
    cxStyle4.Color = QColor(210, 240, 249);
    cxStyle4.TextColor = Qt::black;
    cxStyle5.Color = QColor(66, 66, 66);
}

TGridStyles TForm1::listeStilleri() const
{
    TGridStyles s;
    s.Background = cxStyle1;
    s.Content = cxStyle1;
    s.ContentEven = cxStyle1;
    s.ContentOdd = cxStyle2;
    s.Header = cxStyle3;
    s.Selection = cxStyle4;
    s.Indicator = cxStyle5;
    return s;
}

void TForm1::buildDataModules()
{
    auto dataset = [this](const char *name) {
        auto *d = new TClientDataSet(this);
        d->setObjectName(QString::fromLatin1(name));
        return d;
    };
    auto source = [this](const char *name, TClientDataSet *d) {
        auto *s = new TDataSource(d, this);
        s->setObjectName(QString::fromLatin1(name));
        return s;
    };
    stok = dataset("stok");
    DataSource1 = source("DataSource1", stok);
    sepet = dataset("sepet");
    DataSource_SEPET = source("DataSource_SEPET", sepet);
    ONCEKILER = dataset("ONCEKILER");
    DataSource_ONCEKI = source("DataSource_ONCEKI", ONCEKILER);
    EKSTRE = dataset("EKSTRE");
    DataSource_EKSTRE = source("DataSource_EKSTRE", EKSTRE);
    YENILER = dataset("YENILER");
    DataSource_yeniler = source("DataSource_yeniler", YENILER);
    kampstok = dataset("kampstok");
    kampsource = source("kampsource", kampstok);
    duyurular = dataset("duyurular");
    DataSourceduyuru = source("DataSourceduyuru", duyurular);

    auto menu = [this](const char *name) {
        auto *m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    popstok = menu("popstok");
    PopupMenu1 = menu("PopupMenu1");
    poponceki = menu("poponceki");
    popekstre = menu("popekstre");

    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog1->setNameFilter(QStringLiteral("Excel (*.xls*)"));
}

void TForm1::buildHeader(QWidget *parent)
{
    Panel1 = new QFrame(parent);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(100);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(3, 3, 3, 3);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/korvel/logo.png"))
                          .scaled(330, 90, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);
    row->addWidget(Image1);

    GridPanel1 = new QWidget(Panel1);
    GridPanel1->setObjectName(QStringLiteral("GridPanel1"));
    auto *grid = new QGridLayout(GridPanel1);
    grid->setContentsMargins(8, 0, 8, 0);
    grid->setColumnStretch(0, 1827);
    grid->setColumnStretch(1, 8173);
    const char *captions[] = {"Kullanıcı: ", "Firma: ", "Temsilci: "};
    QLabel **values[] = {&kullanicilbl, &cariadilbl, &saticilbl};
    const char *names[] = {"kullanicilbl", "cariadilbl", "saticilbl"};
    for (int i = 0; i < 3; ++i) {
        auto *caption = new QLabel(QString::fromUtf8(captions[i]), GridPanel1);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(caption, i, 0);
        auto *value = new QLabel(GridPanel1);
        value->setObjectName(QString::fromLatin1(names[i]));
        value->setTextFormat(Qt::PlainText);
        grid->addWidget(value, i, 1);
        grid->setRowStretch(i, 1);
        *values[i] = value;
    }
    row->addWidget(GridPanel1, 1);

    GifResim1 = new TGifResim(Panel1);
    GifResim1->setObjectName(QStringLiteral("GifResim1"));
    GifResim1->setFixedSize(150, 90);
    GifResim1->LoadFromFile(QStringLiteral(":/korvel/ustresim.gif"));
    GifResim1->GosterAnim();
    row->addWidget(GifResim1);

    Genelmenu = new QMenu(this);
    Genelmenu->setObjectName(QStringLiteral("Genelmenu"));
    auto item = [this](const char *name, const QString &caption, void (TForm1::*slot)()) {
        QAction *a = Genelmenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    M1 = item("M1", QStringLiteral("Mail Gönder"), &TForm1::M1Click);
    Genelmenu->addSeparator();
    N4 = item("N4", QStringLiteral("Şifre Değiştirme İsteği"), &TForm1::N4Click);
    Genelmenu->addSeparator();
    WebSitesi1 = item("WebSitesi1", QString(), &TForm1::WebSitesi1Click);
    Genelmenu->addSeparator();
    G1 = item("G1", QStringLiteral("Çıkış"), &TForm1::G1Click);
    Genelmenu->addSeparator();
    R1 = item("R1", QStringLiteral("Raporlar"), &TForm1::R1Click);
    R1->setVisible(false);

    Button3 = new QToolButton(Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setIcon(QIcon(QStringLiteral(":/korvel/menu.png")));
    Button3->setIconSize(QSize(32, 32));
    Button3->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Button3->setPopupMode(QToolButton::MenuButtonPopup);
    Button3->setMenu(Genelmenu);
    Button3->setFocusPolicy(Qt::NoFocus);
    connect(Button3, &QToolButton::clicked, Button3, &QToolButton::showMenu);
    row->addWidget(Button3, 0, Qt::AlignVCenter);
}

void TForm1::buildSearchBar(QWidget *parent)
{
    Panel2 = new QFrame(parent);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(35);
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Sunken);
    auto *row = new QHBoxLayout(Panel2);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    Image2 = picture(QStringLiteral(":/korvel/ara.png"), 26, Panel2);
    Image2->setObjectName(QStringLiteral("Image2"));
    row->addWidget(Image2);

    araedit = new QLineEdit(Panel2);
    araedit->setObjectName(QStringLiteral("araedit"));
    araedit->setFixedWidth(340);
    araedit->setFont(tahoma(20, true));
    // Input is shown in upper case. Plain (not Turkish) upper-casing: a typed "i" becomes
    // "I", so together with the key mapping the search text stays in plain Latin letters.
    connect(araedit, &QLineEdit::textEdited, araedit, [e = araedit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper != text) {
            const int cursor = e->cursorPosition();
            e->setText(upper);
            e->setCursorPosition(qMin(cursor, int(upper.size())));
        }
    });
    row->addWidget(araedit);

    SpeedButton2 = imageButton(QStringLiteral("SpeedButton2"), QStringLiteral(":/korvel/ara.png"),
                               QStringLiteral("Ara"), Panel2);
    row->addWidget(SpeedButton2);
    SpeedButton1 = imageButton(QStringLiteral("SpeedButton1"), QStringLiteral(":/korvel/temizle.png"),
                               QStringLiteral("Temizle"), Panel2);
    row->addWidget(SpeedButton1);

    musteritus = new QPushButton(QStringLiteral("Başka Cari Seç"), Panel2);
    musteritus->setObjectName(QStringLiteral("musteritus"));
    musteritus->setVisible(false);
    row->addWidget(musteritus);

    TGifResim **animations[] = {&gifstokara, &gifyeniler, &gifkampanyali, &gifduyuru,
                                &gifoncekiler, &gifsepet, &gifekstre};
    const char *names[] = {"gifstokara", "gifyeniler", "gifkampanyali", "gifduyuru",
                           "gifoncekiler", "gifsepet", "gifekstre"};
    for (int i = 0; i < 7; ++i) {
        auto *gif = new TGifResim(Panel2);
        gif->setObjectName(QString::fromLatin1(names[i]));
        gif->setFixedSize(28, 27);
        gif->LoadFromFile(QString::fromLatin1(BusyGif));
        gif->setVisible(false);
        row->addWidget(gif);
        *animations[i] = gif;
    }
    row->addStretch(1);
}

QWidget *TForm1::addGrid(QWidget *page, const QString &gridName, const QString &viewName, TDataSource *source,
                         TGridView *&view)
{
    auto *grid = new QWidget(page);
    grid->setObjectName(gridName);
    auto *layout = new QVBoxLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    view = new TGridView(grid);
    view->setObjectName(viewName);
    view->SetDataSource(source);
    view->SetReadOnly(true);
    layout->addWidget(view);
    page->layout()->addWidget(grid);
    return grid;
}

void TForm1::buildPages(QWidget *parent)
{
    sPageControl1 = new QTabWidget(parent);
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));
    sPageControl1->setIconSize(QSize(24, 24));
    sPageControl1->setDocumentMode(false);

    struct Page {
        QWidget **field;
        const char *name;
        const char *caption;
        const char *icon;
    };
    const Page pages[] = {
        {&sstoklistesi, "sstoklistesi", "Stok Listesi", "sekme_stok"},
        {&ssepet, "ssepet", "Sepet", "sekme_sepet"},
        {&sonceki, "sonceki", "Önceki Siparişler", "sekme_onceki"},
        {&sccariekstre, "sccariekstre", "Cari Ekstre", "sekme_ekstre"},
        {&syeniler, "syeniler", "Yeni Stoklar", "sekme_yeni"},
        {&skampanyali, "skampanyali", "Kampanyalı Stoklar", "sekme_kampanya"},
        {&sTabSheetduyuru, "sTabSheetduyuru", "Duyurular", "sekme_duyuru"},
        {&sTabbakiyeler, "sTabbakiyeler", "Bakiyeler", "sekme_bakiye"},
        {&ss, "ss", "Sanal Pos", "sekme_sanalpos"},
    };
    for (const Page &p : pages) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(p.name));
        auto *layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(2, 2, 2, 2);
        sPageControl1->addTab(sheet, QIcon(QStringLiteral(":/korvel/%1.png").arg(QLatin1String(p.icon))),
                              QString::fromUtf8(p.caption));
        *p.field = sheet;
    }

    // The grids whose columns the role set-up switches. Their full column lists, fits and
    // handlers belong to the lists that fill them.
    cxGrid1 = addGrid(sstoklistesi, QStringLiteral("cxGrid1"), QStringLiteral("cxGrid1DBTableView1"), DataSource1,
                      cxGrid1DBTableView1);
    buildStockList();
    cxGrid2 = addGrid(ssepet, QStringLiteral("cxGrid2"), QStringLiteral("cxGridDBTableView1"), DataSource_SEPET,
                      cxGridDBTableView1);
    cxGrid6 = addGrid(syeniler, QStringLiteral("cxGrid6"), QStringLiteral("cxGridDBTableView5"), DataSource_yeniler,
                      cxGridDBTableView5);
    cxkampanyali = addGrid(skampanyali, QStringLiteral("cxkampanyali"), QStringLiteral("cxGridDBTableViewkampanyali"),
                           kampsource, cxGridDBTableViewkampanyali);
    cxGridduyuru = addGrid(sTabSheetduyuru, QStringLiteral("cxGridduyuru"), QStringLiteral("cxGridduyuruBandedDuyuru"),
                           nullptr, cxGridduyuruBandedDuyuru);
    buildContentPages();

    sPageControl1->setCurrentWidget(sstoklistesi);
    m_previousPage = sstoklistesi;
    connect(sPageControl1, &QTabWidget::currentChanged, this, &TForm1::sPageControl1Change);
}

void TForm1::buildLegend(QWidget *parent)
{
    Panel3 = new QFrame(parent);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(27);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setBold(true);
    Panel3->setFont(font);
    QPalette palette = Panel3->palette();
    palette.setColor(QPalette::WindowText, QColor(67, 76, 88));
    Panel3->setPalette(palette);
    auto *row = new QHBoxLayout(Panel3);
    row->setContentsMargins(6, 0, 6, 0);
    row->setSpacing(4);
    auto *title = new QLabel(QStringLiteral("Durum Açıklaması:"), Panel3);
    title->setObjectName(QStringLiteral("lbldurumaciklama"));
    row->addWidget(title);
    const struct {
        const char *icon;
        const char *caption;
    } entries[] = {
        {"durum1_var", "Stok mevcut"},         {"durum_kritik", "Kritik Seviye"},
        {"durum2_telefon", "Telefon Açınız"},  {"durum3_yolda", "Yolda"},
        {"durum5_tedarik", "Tedarik Sürecinde"}, {"durum4_ozel", "Özel Sipariş"},
        {"durum0_yok", "Yok"},
    };
    int n = 0;
    for (const auto &e : entries) {
        ++n;
        QLabel *icon = picture(QStringLiteral(":/korvel/%1.png").arg(QLatin1String(e.icon)), 16, Panel3);
        icon->setObjectName(QStringLiteral("durumresim%1").arg(n));
        row->addWidget(icon);
        auto *label = new QLabel(u' ' + QString::fromUtf8(e.caption) + QStringLiteral("   "), Panel3);
        label->setObjectName(QStringLiteral("durumyazi%1").arg(n));
        row->addWidget(label);
    }
    row->addStretch(1);
}

void TForm1::buildBottom(QWidget *parent)
{
    Panel5 = new QFrame(parent);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(40);
    auto *row = new QHBoxLayout(Panel5);
    row->setContentsMargins(0, 0, 0, 0);
    // Places of the scrolling-text controls; they take their content when it arrives.
    kayanyazi = new QWidget(Panel5);
    kayanyazi->setObjectName(QStringLiteral("kayanyazi"));
    row->addWidget(kayanyazi, 1);
    RealTimeMarquee1 = new QWidget(Panel5);
    RealTimeMarquee1->setObjectName(QStringLiteral("RealTimeMarquee1"));
    RealTimeMarquee1->setVisible(false);
    row->addWidget(RealTimeMarquee1, 1);
}

// ------------------------------------------------------------------ start-up

void TForm1::FormCreate()
{
    auto kayit = std::make_shared<TYuklemeKaydi>();
    kayit->Form = this;
    _acilisadet = 0;
    setWindowTitle(QStringLiteral("Korvel Oto Yedek Parça B2B Programı"));
    platform::SetApplicationTitle(QStringLiteral("Korvel Oto Yedek Parça B2B"));
    platform::SetMessageDialogFontSize(15);

    sbilgi = new TSonucBilgisi;
    sbilgi->SetBilgiSayarAdi(BilgisayarAdiAl());
    sbilgi->SetBilgisayarKullanici(KullaniciAdiAl());
    sbilgi->SetIcip(IcIpAl());
    sbilgi->SetBILGISAYARID(BilgisayarIdAl());

    bagc->SetHostName(SunucuAdresi());
    bagc->SetPort(SunucuPortu());

    WebSitesi1->setText(QString::fromUtf8(buildconfig::WebSiteHost));

    GirisYap();

    Async([kayit] { AcilisSirasi(*kayit); })->Await([kayit] {
        if (auto *f = qobject_cast<TForm1 *>(kayit->Form.data())) {
            f->m_acilisSirasiBitti = true;
            f->AcilisReklamGoster();
        }
    });
}

void TForm1::GirisYap()
{
    // The login works on the main session record itself and decides which server is used.
    auto giris = std::make_unique<Tgirisform>();
    giris->bagim = bagc;
    giris->Bilgim = sbilgi;
    if (giris->exec() != QDialog::Accepted)
        platform::TerminateProcessNow(0);
    giris.reset();
    if (sbilgi->Disip().trimmed().isEmpty())
        platform::TerminateProcessNow(0);
    MusteriTipineGoreAyarla(sbilgi->MusteriTipi());
}

void TForm1::MusteriTipineGoreAyarla(int musteriTipi)
{
    // Every switched item is set from the kind, starting from the window's designed state,
    // so the result does not depend on an earlier call.
    const bool staff = musteriTipi == 1 || musteriTipi == 2;
    musteritus->setVisible(staff);
    for (TGridView *v : {cxGrid1DBTableView1, cxGridDBTableView5, cxGridDBTableViewkampanyali, cxGridDBTableView1})
        setColumnShown(v, "KALAN", staff);
    for (TGridView *v : {cxGrid1DBTableView1, cxGridDBTableView5, cxGridDBTableViewkampanyali}) {
        setColumnShown(v, "ALINANSIPARIS", staff);
        setColumnShown(v, "VERILENSIPARIS", staff);
    }
    R1->setVisible(staff);

    setColumnShown(cxGridDBTableView1, "DURUM", musteriTipi != 3);

    const bool campaign = musteriTipi != 4;
    sPageControl1->setTabVisible(sPageControl1->indexOf(skampanyali), campaign);
    for (TGridView *v : {cxGrid1DBTableView1, cxGridDBTableView5}) {
        setColumnShown(v, "KAMPFIYAT", campaign);
        setColumnShown(v, "K", campaign);
    }
}

void TForm1::setColumnShown(TGridView *view, const char *field, bool show)
{
    TGridColumn *c = view->ColumnByFieldName(QString::fromLatin1(field));
    if (!c)
        return;
    if (!show) {
        c->Hide();
        return;
    }
    // A column that is offered by design returns to its designed look; an internal one
    // that a role shows becomes visible and offered.
    const auto designed = m_designedColumns.constFind(c);
    if (designed != m_designedColumns.cend() && designed->second)
        c->SetVisibleForCustomization(true), c->SetVisible(designed->first);
    else
        c->Show();
}

void TForm1::AcilisSirasi(TYuklemeKaydi &kayit)
{
    // In the background, one step after the other. The header labels are written on the
    // UI thread while this waits; the later steps open their own connection clones.
    platform::RunOnUiThread([&kayit] {
        if (auto *f = qobject_cast<TForm1 *>(kayit.Form.data()))
            f->AnaBilgiAl();
    });
    AcilisReklamAdetAl(kayit);
    BalonYaz(kayit); // after the advertisement count: its announcement count is the one that stays
}

void TForm1::AnaBilgiAl()
{
    kullanicilbl->setText(sbilgi->ADI());
    cariadilbl->setText(sbilgi->CariAdi());
    saticilbl->setText(sbilgi->SaticiAdi() + QStringLiteral(" Telefonu: ") + sbilgi->SaticiTelefon()
                       + QStringLiteral(" email: ") + sbilgi->SaticiMail());
}

void TForm1::AcilisReklamGoster()
{
    // The opening advertisement arrives with the promotions.
}

// ------------------------------------------------------------------ loads

void TForm1::SekmeYukle(const TSekmeYukleme &yukleme)
{
    ::SekmeYukle(yukleme, this, *bagc, *sbilgi);
}

void TForm1::OndalikBicimle(TClientDataSet &veri)
{
    ::OndalikBicimle(veri);
}

double TForm1::IkiHaneYuvarla(double x)
{
    return ::IkiHaneYuvarla(x);
}

void TForm1::sPageControl1Change(int index)
{
    QWidget *page = sPageControl1->widget(index);
    if (m_previousPage == sTabbakiyeler && page != sTabbakiyeler)
        sTabbakiyelerHide();
    m_previousPage = page;
    if (page == ssepet)
        ssepetShow();
    else if (page == sonceki)
        soncekiShow();
    else if (page == sccariekstre)
        sccariekstreShow();
    else if (page == syeniler)
        syenilerShow();
    else if (page == skampanyali)
        skampanyaliShow();
    else if (page == sTabSheetduyuru)
        sTabSheetduyuruShow();
    else if (page == sTabbakiyeler)
        sTabbakiyelerShow();
    else if (page == ss)
        ssShow();
}

// The pages' loads are written by the lists that own them.
void TForm1::soncekiShow() {}
void TForm1::sccariekstreShow() {}
void TForm1::sTabbakiyelerShow() {}
void TForm1::sTabbakiyelerHide() {}
void TForm1::ssShow() {}

// ------------------------------------------------------------------ menu and leaving

void TForm1::M1Click()
{
    // Opens the mail window with the session record and bagc once it exists.
}

void TForm1::N4Click()
{
    // Opens the password change request window once it exists.
}

void TForm1::WebSitesi1Click()
{
    platform::ShellOpen(QStringLiteral("http://") + QString::fromUtf8(buildconfig::WebSiteHost) + u'/');
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::G1Click()
{
    close();
}

void TForm1::R1Click()
{
    // Opens the reports window with its own clone of bagc once it exists.
}

bool TForm1::FormCloseQuery()
{
    const int cevap = MesajGoster(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"), platform::MessageKind::Question,
                                  platform::MessageButton::Yes | platform::MessageButton::No,
                                  platform::MessageButton::Yes);
    if (cevap == platform::ModalResult::Yes)
        platform::TerminateProcessNow(0);
    return false;
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery())
        event->ignore();
}

// ------------------------------------------------------------------ stock search and list

void TForm1::buildStockList()
{
    stoklistesi::KolonlariKur(*cxGrid1DBTableView1, listeStilleri());
    cxGrid1DBTableView1->SetPopupMenu(popstok);
    // Designed state of the columns the role set-up switches.
    for (const char *field : {"DURUM", "KALAN", "ALINANSIPARIS", "VERILENSIPARIS", "KAMPFIYAT", "K"}) {
        TGridColumn *c = cxGrid1DBTableView1->ColumnByFieldName(QString::fromLatin1(field));
        m_designedColumns.insert(c, {c->Visible(), c->VisibleForCustomization()});
    }
    const stoklistesi::TStokMenusu menu = stoklistesi::MenuyuKur(*popstok);
    S2 = menu.S2;
    B1 = menu.B1;
    S3 = menu.S3;
    StokHareketleri1 = menu.StokHareketleri1;
    connect(S2, &QAction::triggered, this, &TForm1::S2Click);
    connect(S3, &QAction::triggered, this, &TForm1::S3Click);
    connect(StokHareketleri1, &QAction::triggered, this, &TForm1::StokHareketleri1Click);
    connect(cxGrid1DBTableView1, &TGridView::DblClick, this, &TForm1::cxGrid1DBTableView1DblClick);
    connect(cxGrid1DBTableView1, &TGridView::Resized, this, &TForm1::cxGrid1Resize);

    new stoklistesi::TTusYakalayici(araedit, [this](QChar &key) { araeditKeyPress(key); });
    connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
}

void TForm1::araeditKeyPress(QChar &Key)
{
    Key = stoklistesi::TurkceHarfCevir(Key);
    if (Key != u'\r')
        return;
    Key = QChar();
    StokAra();
}

void TForm1::SpeedButton2Click()
{
    if (!araedit->isEnabled())
        return;
    QChar enter(u'\r');
    araeditKeyPress(enter);
}

void TForm1::StokAra()
{
    // One search at a time: the disabled box is the running search.
    if (!araedit->isEnabled())
        return;
    if (sPageControl1->currentWidget() != sstoklistesi)
        sPageControl1->setCurrentWidget(sstoklistesi);
    araedit->setEnabled(false);
    cxGrid1DBTableView1->ClearFilter();
    // The text as it stands when the search starts; the box stays disabled until the end.
    const QString kod = araedit->text();
    TSekmeYukleme y;
    y.View = cxGrid1DBTableView1;
    y.Source = DataSource1;
    y.DataSet = stok;
    y.Animasyon = gifstokara;
    y.Cagri = [kod](TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi> bilgi) {
        return StokListesiAl(proxy, kod, std::move(bilgi));
    };
    y.Baslik = [this](const TClientDataSet &veri, bool hata) { StokListesiGeldi(veri, hata); };
    SekmeYukle(y);
}

const wire::Table *TForm1::StokListesiAl(TServerMethods1Client &proxy, const QString &kod,
                                         std::unique_ptr<TSonucBilgisi> bilgi)
{
    return proxy.StokAraGetirQuelpa(kod, std::move(bilgi));
}

void TForm1::StokListesiGeldi(const TClientDataSet &veri, bool hata)
{
    // Runs while the view is still detached, before the failure message.
    const int sayfa = sPageControl1->indexOf(sstoklistesi);
    if (hata) {
        if (stok->Active())
            stok->EmptyDataSet();
        sPageControl1->setTabText(sayfa, QStringLiteral("Stok Listesi"));
    } else {
        sPageControl1->setTabText(sayfa, QString::number(veri.RecordCount()) + QStringLiteral("=Stok Listesi"));
    }
    araedit->setEnabled(true);
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::SpeedButton1Click()
{
    if (!araedit->isEnabled())
        return;
    if (stok->Active()) {
        stok->EmptyDataSet();
        sPageControl1->setTabText(sPageControl1->indexOf(sstoklistesi), QStringLiteral("Stok Listesi"));
    }
    if (sPageControl1->currentWidget() != sstoklistesi)
        sPageControl1->setCurrentWidget(sstoklistesi);
    cxGrid1DBTableView1->ClearFilter();
    araedit->clear();
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::cxGrid1Resize()
{
    // Never during a search: the view is detached and held in an update.
    if (araedit->isEnabled())
        StokKolonlariYay();
}

void TForm1::StokKolonlariYay()
{
    stoklistesi::KolonlariYay(*cxGrid1DBTableView1, width(), cxGrid1->width());
}

void TForm1::cxGrid1DBTableView1DblClick()
{
    ListedenAyrintiAc(cxGrid1DBTableView1, stok, &TForm1::StokAyrintiAc);
}

void TForm1::S2Click()
{
    cxGrid1DBTableView1DblClick();
}

// The item's order movements and its stock movements come with their windows; until then
// these open nothing.
void TForm1::S3Click() {}
void TForm1::StokHareketleri1Click() {}

// ------------------------------------------------------------------ promotional pages

void TForm1::buildContentPages()
{
    // Every column of the two stock views; the role set-up switches some of them later
    // (a switched column that is not hidden by design is shown and offered again).
    YeniStokGorunumuKur(*cxGridDBTableView5);
    KampanyaliGorunumuKur(*cxGridDBTableViewkampanyali);
    // The stock list's row and header colours, so the three stock grids look alike.
    cxGridDBTableView5->SetStyles(listeStilleri());
    cxGridDBTableViewkampanyali->SetStyles(listeStilleri());
    connect(cxGridDBTableView5, &TGridView::Resized, this, &TForm1::cxGrid6Resize);
    connect(cxGridDBTableViewkampanyali, &TGridView::Resized, this, &TForm1::cxkampanyaliResize);

    DuyuruGorunumuKur(*cxGridduyuruBandedDuyuru);
    connect(cxGridduyuruBandedDuyuru, &TGridView::DblClick, this, &TForm1::cxGridduyuruBandedDuyuruDblClick);
}

void TForm1::sekmeBasligiYaz(QWidget *sekme, const QString &baslik)
{
    sPageControl1->setTabText(sPageControl1->indexOf(sekme), baslik);
}

void TForm1::syenilerShow()
{
    TSekmeYukleme y;
    y.Grid = cxGrid6;
    y.View = cxGridDBTableView5;
    y.Source = DataSource_yeniler;
    y.DataSet = YENILER;
    y.Animasyon = gifyeniler;
    const qint32 carino = sbilgi->CARINO();
    y.Cagri = [carino](TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi>) {
        return YenilerAl(proxy, carino);
    };
    y.Baslik = [this](const TClientDataSet &veri, bool hata) {
        if (!hata)
            sekmeBasligiYaz(syeniler, SayiliBaslik(veri.RecordCount(), QStringLiteral("Yeni Stoklar")));
    };
    SekmeYukle(y);
}

void TForm1::skampanyaliShow()
{
    TSekmeYukleme y;
    y.Grid = cxkampanyali;
    y.View = cxGridDBTableViewkampanyali;
    y.Source = kampsource;
    y.DataSet = kampstok;
    y.Animasyon = gifkampanyali;
    const qint32 carino = sbilgi->CARINO();
    const qint32 musteriTipi = sbilgi->MusteriTipi();
    y.Cagri = [carino, musteriTipi](TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi>) {
        return KampanyaliAl(proxy, carino, musteriTipi);
    };
    y.Baslik = [this](const TClientDataSet &veri, bool hata) {
        if (!hata)
            sekmeBasligiYaz(skampanyali, SayiliBaslik(veri.RecordCount(), QStringLiteral("Kampanyalı")));
    };
    SekmeYukle(y);
}

void TForm1::sTabSheetduyuruShow()
{
    // The announcements travel through the dataset `duyurular`, decoded in the background;
    // the unbound view takes its rows from there once the load is back. Its caption is
    // the advertisement count of the start-up and stays.
    auto sonuc = std::make_shared<wire::Table>();
    TSekmeYukleme y;
    y.Grid = cxGridduyuru;
    y.DataSet = duyurular;
    y.Animasyon = gifduyuru;
    y.Cagri = [sonuc](TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi>) {
        return DuyuruAl(proxy, *sonuc);
    };
    y.Baslik = [this](const TClientDataSet &veri, bool hata) {
        if (!hata)
            DuyurulariGoster(*cxGridduyuruBandedDuyuru, veri);
        cxGridduyuruBandedDuyuru->EndUpdate();
    };
    cxGridduyuruBandedDuyuru->BeginUpdate();
    SekmeYukle(y);
}

const wire::Table *TForm1::DuyuruAl(TServerMethods1Client &proxy, wire::Table &sonuc)
{
    sonuc = DuyuruTablosu(proxy.AcilisEkranlarVer2());
    return &sonuc;
}

const wire::Table *TForm1::YenilerAl(TServerMethods1Client &proxy, qint32 carino)
{
    return proxy.YenilerVer2(carino);
}

const wire::Table *TForm1::KampanyaliAl(TServerMethods1Client &proxy, qint32 carino, qint32 musteriTipi)
{
    return proxy.KampanyaliVer2(carino, musteriTipi);
}

void TForm1::cxGridduyuruBandedDuyuruDblClick()
{
    const QString arama = DuyuruArama(*cxGridduyuruBandedDuyuru, cxGridduyuruBandedDuyuru->FocusedRow());
    switch (DuyuruEylemi(arama)) {
    case TDuyuruEylemi::Hicbiri:
        return;
    case TDuyuruEylemi::Kampanyali:
        // A user whose role hides the campaign page does not reach it through an announcement.
        if (sPageControl1->isTabVisible(sPageControl1->indexOf(skampanyali)))
            sPageControl1->setCurrentWidget(skampanyali);
        return;
    case TDuyuruEylemi::Yeniler:
        sPageControl1->setCurrentWidget(syeniler);
        return;
    case TDuyuruEylemi::Arama:
        // Through the search button, so the search runs exactly as the user starts it.
        araedit->setText(arama);
        SpeedButton2->click();
        return;
    }
}

void TForm1::cxGrid6Resize()
{
    KolonlariYay(cxGridDBTableView5);
}

void TForm1::cxkampanyaliResize()
{
    // Not while a load holds the grid disabled.
    if (cxkampanyali->isEnabled())
        KolonlariYay(cxGridDBTableViewkampanyali);
}

void TForm1::KolonlariYay(TGridView *gorunum)
{
    const QScreen *ekran = screen();
    ::KolonlariYay(*gorunum, gorunum->width(), ekran ? ekran->geometry().width() : 0);
}

void TForm1::AcilisReklamAdetAl(TYuklemeKaydi &kayit)
{
    std::unique_ptr<platform::TSQLConnection> baglanti;
    platform::RunOnUiThread([&] {
        if (auto *f = qobject_cast<TForm1 *>(kayit.Form.data())) {
            f->_acilisadet = 0;
            baglanti = f->bagc->Clone();
        }
    });
    if (!baglanti)
        return;
    try {
        if (!BaglantiAc(*baglanti, true))
            return;
        qint32 adet = 0;
        {
            TServerMethods1Client proxy(baglanti.get());
            adet = proxy.AcilisReklamAdet();
        }
        baglanti->Close();
        platform::RunOnUiThread([&] {
            if (auto *f = qobject_cast<TForm1 *>(kayit.Form.data())) {
                f->_acilisadet = adet;
                f->sekmeBasligiYaz(f->sTabSheetduyuru, SayiliBaslik(adet, QStringLiteral("Duyurular")));
            }
        });
    } catch (const std::exception &e) {
        qWarning("advertisement count failed: %s", e.what());
        platform::RunOnUiThread([&] {
            if (auto *f = qobject_cast<TForm1 *>(kayit.Form.data()))
                f->_acilisadet = 0;
        });
    }
}

void TForm1::BalonYaz(TYuklemeKaydi &kayit)
{
    std::unique_ptr<platform::TSQLConnection> baglanti;
    std::unique_ptr<TSonucBilgisi> bilgi;
    platform::RunOnUiThread([&] {
        if (auto *f = qobject_cast<TForm1 *>(kayit.Form.data())) {
            baglanti = f->bagc->Clone();
            bilgi = std::make_unique<TSonucBilgisi>();
            bilgi->Kopyala(*f->sbilgi);
        }
    });
    if (!baglanti)
        return;
    try {
        if (!BaglantiAc(*baglanti, true))
            return;
        QList<TBalonBasliklari> satirlar;
        {
            TServerMethods1Client proxy(baglanti.get());
            const wire::Table *okuyucu = proxy.BalonGetir(std::move(bilgi));
            if (okuyucu)
                satirlar = BalonSatirlari(*okuyucu);
        }
        baglanti->Close();
        for (const TBalonBasliklari &b : satirlar) {
            platform::RunOnUiThread([&] {
                auto *f = qobject_cast<TForm1 *>(kayit.Form.data());
                if (!f)
                    return;
                f->sekmeBasligiYaz(f->ssepet, b.Sepet);
                f->sekmeBasligiYaz(f->syeniler, b.YeniStoklar);
                f->sekmeBasligiYaz(f->skampanyali, b.Kampanyali);
                f->sekmeBasligiYaz(f->sTabSheetduyuru, b.Duyurular);
                f->sekmeBasligiYaz(f->sTabbakiyeler, b.Bakiyeler);
            });
        }
    } catch (const std::exception &e) {
        // A count that cannot be read leaves the captions as they were.
        qWarning("tab counts failed: %s", e.what());
    }
}

// ------------------------------------------------------------------ cart dataset, stock detail and add-to-cart

namespace {

// What the application shows for an error nobody handled on the way up.
void hataGoster(const std::exception &e)
{
    const auto *p = dynamic_cast<const platform::Exception *>(&e);
    MesajGoster(p ? p->Message() : QString::fromLocal8Bit(e.what()), platform::MessageKind::Error,
                platform::MessageButton::Ok, platform::MessageButton::Ok);
}

template <typename Fn>
void hataYakala(Fn &&fn)
{
    try {
        fn();
    } catch (const std::exception &e) {
        hataGoster(e);
    }
}

} // namespace

void TForm1::buildCartDetail()
{
    // The cart page's bottom panel; the warning fills the space right of its buttons.
    panelsec = new QFrame(ssepet);
    panelsec->setObjectName(QStringLiteral("panelsec"));
    auto *row = new QHBoxLayout(panelsec);
    row->setContentsMargins(4, 2, 4, 2);
    lbluyarbakiye = new QLabel(panelsec);
    lbluyarbakiye->setObjectName(QStringLiteral("lbluyarbakiye"));
    lbluyarbakiye->setTextFormat(Qt::PlainText);
    lbluyarbakiye->setFont(tahoma(16, true));
    lbluyarbakiye->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Red whatever the style says.
    lbluyarbakiye->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    row->addWidget(lbluyarbakiye, 1);
    ssepet->layout()->addWidget(panelsec);

    connect(cxGridDBTableView5, &TGridView::DblClick, this, &TForm1::cxGridDBTableView5DblClick);
    connect(cxGridDBTableViewkampanyali, &TGridView::DblClick, this, &TForm1::cxGridDBTableViewkampanyaliDblClick);
}

void TForm1::SepetYenile()
{
    SepetYukle(*sepet, *bagc, sbilgi->CARINO());
}

void TForm1::CariBakiyeUyariBak()
{
    ::CariBakiyeUyariBak(lbluyarbakiye, *bagc, sbilgi->CARINO());
}

void TForm1::cxGridDBTableView5DblClick()
{
    ListedenAyrintiAc(cxGridDBTableView5, YENILER, &TForm1::YeniStokAyrintiAc);
}

void TForm1::cxGridDBTableViewkampanyaliDblClick()
{
    ListedenAyrintiAc(cxGridDBTableViewkampanyali, kampstok, &TForm1::KampanyaliAyrintiAc);
}

void TForm1::ListedenAyrintiAc(TGridView *view, TClientDataSet *veri, void (TForm1::*acici)(int))
{
    const int row = view->FocusedRow();
    if (row < 0 || view->RecordIndex(row) < 0)
        return;
    const QVariant deger = view->Value(row, QStringLiteral("STOK_STOKNO"));
    if (!deger.isValid())
        return;
    const int stokno = deger.toInt();
    veri->Locate(QStringLiteral("STOK_STOKNO"), stokno);
    hataYakala([&] {
        if (!sepet->Active())
            SepetYenile();
        // An item already in the cart is changed there, never added twice.
        if (sepet->Active() && sepet->Locate(QStringLiteral("STOKNO"), stokno))
            SatirDegistirAc(sepet->FieldByName(QStringLiteral("SIRANO"))->AsInteger());
        else
            (this->*acici)(stokno);
    });
}

void TForm1::StokAyrintiAc(int stokno)
{
    AyrintiAc(stok, int(TAyrintiListesi::Stok), stokno);
}

void TForm1::YeniStokAyrintiAc(int stokno)
{
    AyrintiAc(YENILER, int(TAyrintiListesi::Yeni), stokno);
}

void TForm1::KampanyaliAyrintiAc(int stokno)
{
    AyrintiAc(kampstok, int(TAyrintiListesi::Kampanyali), stokno);
}

void TForm1::AyrintiAc(TClientDataSet *veri, int liste, int stokno)
{
    std::unique_ptr<Tstokayarinti> d(Tstokayarinti::Ac(this, stokno));
    ListeSatiriniDoldur(*d, *veri, TAyrintiListesi(liste), sbilgi->MusteriTipi(), KoliAdetiAl(stokno));
    if (d->exec() != platform::ModalResult::Ok)
        return;
    // The dialog closes only on a quantity that reads as a number.
    const TIndirimOranlari r = d->Oranlar();
    SepeteEkle(veri, d->Miktar().value_or(0), d->birimfiyat->Value(), r[0], r[1], r[2], r[3]);
}

void TForm1::SatirDegistirAc(int sirano)
{
    const int stokno = sepet->FieldByName(QStringLiteral("STOKNO"))->AsInteger();
    std::unique_ptr<Tstokayarinti> d(Tstokayarinti::Ac(this, stokno));
    SepetSatiriniDoldur(*d, *sepet, sbilgi->MusteriTipi(), KoliAdetiAl(stokno));
    if (d->exec() == platform::ModalResult::Ok) {
        // The rates of the dialog: the line's own unless staff changed them there.
        const TIndirimOranlari r = d->Oranlar();
        SepetSatirGuncelle(sirano, d->Miktar().value_or(0), d->birimfiyat->Value(), r[0], r[1], r[2], r[3]);
    }
    SepetYenile();
}

void TForm1::SepeteEkle(TClientDataSet *veri, double miktar, double fiyat, double ind1, double ind2, double ind3,
                        double ind4)
{
    if (::SepeteEkle(*bagc, *sbilgi, *veri, miktar, fiyat, {ind1, ind2, ind3, ind4}) == 1)
        SepetYenile();
}

void TForm1::SepetSatirGuncelle(int sirano, double miktar, double fiyat, double ind1, double ind2, double ind3,
                                double ind4)
{
    if (!sepet->Locate(QStringLiteral("SIRANO"), sirano))
        return;
    if (::SepetSatirGuncelle(*bagc, *sbilgi, *sepet, sirano, miktar, fiyat, {ind1, ind2, ind3, ind4}) == 1)
        SepetYenile();
}

int TForm1::KoliAdetiAl(int stokno)
{
    return ::KoliAdetiAl(*bagc, stokno);
}

// ------------------------------------------------------------------ cart page and sending the order

void TForm1::buildCartTab()
{
    SepetKolonlariniKur(*cxGridDBTableView1);
    cxGridDBTableView1->SetPopupMenu(PopupMenu1);
    // Designed state of the columns the role set-up switches.
    for (const char *field : {"DURUM", "KALAN"}) {
        TGridColumn *c = cxGridDBTableView1->ColumnByFieldName(QString::fromLatin1(field));
        m_designedColumns.insert(c, {c->Visible(), c->VisibleForCustomization()});
    }
    const TSepetMenusu menu = SepetMenusuKur(*PopupMenu1);
    Deitir1 = menu.Deitir1;
    SatrSil1 = menu.SatrSil1;
    HepsiniSil1 = menu.HepsiniSil1;

    const TSepetKontrolleri k = SepetKontrolleriniKur(*panelsec, *ssepet);
    Button4 = k.Button4;
    Button5 = k.Button5;
    aratoplaml = k.aratoplaml;
    indiriml = k.indiriml;
    nettutarl = k.nettutarl;
    vergil = k.vergil;
    geneltoplaml = k.geneltoplaml;
    Button1 = k.Button1;
    Button2 = k.Button2;
    ssepet->layout()->addWidget(k.Alt);

    connect(cxGridDBTableView1, &TGridView::DblClick, this, &TForm1::cxGridDBTableView1DblClick);
    connect(cxGridDBTableView1, &TGridView::Resized, this, &TForm1::cxGrid2Resize);
    connect(Deitir1, &QAction::triggered, this, &TForm1::Deitir1Click);
    connect(SatrSil1, &QAction::triggered, this, &TForm1::SatrSil1Click);
    connect(HepsiniSil1, &QAction::triggered, this, &TForm1::HepsiniSil1Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    // Every replacement of the cart (the page's load, a reload after a change or an order)
    // brings its caption and totals up to date.
    connect(sepet, &TClientDataSet::DataSetChanged, this, &TForm1::SepetGosterildi);
}

void TForm1::ssepetShow()
{
    lbluyarbakiye->clear();
    CariBakiyeUyariBak();
    TSekmeYukleme y;
    y.Grid = cxGrid2;
    y.View = cxGridDBTableView1;
    y.Source = DataSource_SEPET;
    y.DataSet = sepet;
    y.Animasyon = gifsepet;
    const qint32 carino = sbilgi->CARINO();
    y.Cagri = [carino](TServerMethods1Client &p, std::unique_ptr<TSonucBilgisi>) { return p.SepetVer2(carino); };
    y.Baslik = [this](const TClientDataSet &, bool) { SepetGosterildi(); };
    SekmeYukle(y);
}

void TForm1::SepetGosterildi()
{
    sekmeBasligiYaz(ssepet, QString::number(sepet->RecordCount()) + QStringLiteral("=Sepet"));
    SepetToplamHesapla();
}

void TForm1::SepetToplamHesapla()
{
    TSepetKontrolleri k;
    k.aratoplaml = aratoplaml;
    k.indiriml = indiriml;
    k.nettutarl = nettutarl;
    k.vergil = vergil;
    k.geneltoplaml = geneltoplaml;
    ToplamlariYaz(k, ::SepetToplamHesapla(*sepet));
}

bool TForm1::SecimGuncelle(int sirano, int secim)
{
    return ::SecimGuncelle(*bagc, sirano, secim);
}

bool TForm1::SiparisGonder(int kn, int kt, const QString &aciklama, int td)
{
    return ::SiparisGonder(*bagc, *sbilgi, kn, kt, aciklama, td);
}

void TForm1::cxGridDBTableView1DblClick()
{
    Deitir1Click();
}

namespace {

// The SIRANO of the view's focused cart line, with `sepet` moved to it; 0 when none.
int odaktakiSatir(TGridView *view, TClientDataSet *sepet)
{
    const int row = view->FocusedRow();
    if (row < 0 || view->RecordIndex(row) < 0)
        return 0;
    const QVariant no = view->Value(row, QStringLiteral("SIRANO"));
    if (!no.isValid() || !sepet->Locate(QStringLiteral("SIRANO"), no.toInt()))
        return 0;
    return no.toInt();
}

} // namespace

void TForm1::Deitir1Click()
{
    const int sirano = odaktakiSatir(cxGridDBTableView1, sepet);
    if (sirano == 0)
        return;
    const TGridColumn *c = cxGridDBTableView1->FocusedColumn();
    if (!c || c->Caption() != QStringLiteral("Seç")) {
        hataYakala([&] { SatirDegistirAc(sirano); });
        return;
    }
    // The check box: the flag changes here and on the server, the totals follow at once.
    hataYakala([&] {
        TField *sec = sepet->FieldByName(QStringLiteral("SEC"));
        const int yeni = sec->AsInteger() == 0 ? 1 : 0;
        sepet->Edit();
        sec->SetAsInteger(yeni);
        sepet->Post();
        SecimGuncelle(sirano, yeni);
    });
    SepetToplamHesapla();
}

void TForm1::SecimleriAyarla(int secim)
{
    hataYakala([&] {
        if (!KayitVarmi(*sepet))
            return;
        TField *sec = sepet->FieldByName(QStringLiteral("SEC"));
        const TField *no = sepet->FieldByName(QStringLiteral("SIRANO"));
        // One call per line. Once the server cannot be reached the remaining lines change
        // only here: every further attempt would cost the user eleven more messages.
        bool baglandi = true;
        for (sepet->First(); !sepet->Eof(); sepet->Next()) {
            sepet->Edit();
            sec->SetAsInteger(secim);
            sepet->Post();
            if (baglandi)
                ::SecimGuncelle(*bagc, no->AsInteger(), secim, &baglandi);
        }
    });
    SepetToplamHesapla();
    if (araedit->isEnabled()) {
        araedit->selectAll();
        araedit->setFocus();
    }
}

void TForm1::Button4Click()
{
    SecimleriAyarla(1);
}

void TForm1::Button5Click()
{
    SecimleriAyarla(0);
}

void TForm1::SatrSil1Click()
{
    const int sirano = odaktakiSatir(cxGridDBTableView1, sepet);
    if (sirano == 0)
        return;
    if (MesajGoster(QStringLiteral("Satırı silmek istiyor musunuz "), platform::MessageKind::Question,
                    platform::MessageButton::Yes | platform::MessageButton::No, platform::MessageButton::No)
        != platform::ModalResult::Yes)
        return;
    hataYakala([&] {
        const QString aciklama = SilinenSatirAciklamasi(sepet->FieldByName(QStringLiteral("BARKOD"))->AsString(),
                                                        sepet->FieldByName(QStringLiteral("STOKADI"))->AsString());
        if (!::SepetSatirSil(*bagc, *sbilgi, sirano, aciklama))
            return;
        SepetYenile();
        MesajGoster(QStringLiteral("Satır silindi !"), platform::MessageKind::Information,
                    platform::MessageButton::Ok, platform::MessageButton::Ok);
    });
}

void TForm1::HepsiniSil1Click()
{
    if (!KayitVarmi(*sepet))
        return;
    if (MesajGoster(QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz "), platform::MessageKind::Question,
                    platform::MessageButton::Yes | platform::MessageButton::No, platform::MessageButton::No)
        == platform::ModalResult::No)
        return;
    hataYakala([&] {
        if (!::SepetHepsiniSil(*bagc, *sbilgi))
            return;
        MesajGoster(QStringLiteral("Sepet Silindi !"), platform::MessageKind::Information,
                    platform::MessageButton::Ok, platform::MessageButton::Ok);
        SepetYenile();
    });
}

void TForm1::Button2Click()
{
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty())
        return;
    const QString dosya = SaveDialog1->selectedFiles().constFirst();
    hataYakala([&] { TGridExporter::ExportToXlsx(*cxGridDBTableView1, dosya); });
}

void TForm1::Button1Click()
{
    // The order is sent on the UI thread; while one "Gönder" is in hand (dialog, send,
    // answer, reload) the button is disabled and a press that slipped through is ignored.
    if (m_siparisGonderiliyor)
        return;
    // A cart without its selection column has nothing to send either.
    bool secili = false;
    try {
        secili = SeciliVarmi(*sepet);
    } catch (const std::exception &) {
    }
    if (!secili) {
        MesajGoster(QStringLiteral("Gönderilecek Parça Yok "), platform::MessageKind::Warning,
                    platform::MessageButton::Ok, platform::MessageButton::Ok);
        return;
    }
    m_siparisGonderiliyor = true;
    Button1->setEnabled(false);
    hataYakala([&] {
        std::unique_ptr<TONAYSIP> d(TONAYSIP::Ac(this, bagc, lbluyarbakiye->text(), sbilgi, geneltoplaml->text()));
        if (d->exec() != QDialog::Accepted)
            return;
        if (SiparisGonder(d->KN, d->kt, d->aciklamagir->toPlainText(), d->td)) {
            MesajGoster(QStringLiteral("Siparişiniz Gönderildi !"), platform::MessageKind::Information,
                        platform::MessageButton::Ok, platform::MessageButton::Ok);
            SepetYenile();
        } else {
            MesajGoster(QStringLiteral("Sipariş Göndermede Hata"), platform::MessageKind::Error,
                        platform::MessageButton::Ok, platform::MessageButton::Ok);
        }
    });
    Button1->setEnabled(true);
    m_siparisGonderiliyor = false;
}

void TForm1::cxGrid2Resize()
{
    const QScreen *s = screen();
    SepetKolonlariYay(*cxGridDBTableView1, s ? s->geometry().width() : width(), cxGrid2->width());
}

#pragma once
// The main window: header, search bar, the tab pages every subsystem fills, the status
// legend, the general menu, the session record and the one connection of the run.
#include "clientdataset.h"
#include "gridview.h"

#include <QHash>
#include <QMainWindow>
#include <QPair>

#include <memory>

class QAction;
class QFileDialog;
class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;

class TDataSource;
class TGifResim;
class TServerMethods1Client;
class TSonucBilgisi;
namespace wire {
class Table;
}
namespace platform {
class TSQLConnection;
}

struct TSekmeYukleme;
struct TYuklemeKaydi;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The session record of the run and the one connection; server calls take copies
    // of the record and background work takes clones of the connection.
    TSonucBilgisi *sbilgi = nullptr;
    platform::TSQLConnection *bagc = nullptr;
    int _acilisadet = 0;

    // Header.
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QWidget *GridPanel1 = nullptr;
    QLabel *kullanicilbl = nullptr;
    QLabel *cariadilbl = nullptr;
    QLabel *saticilbl = nullptr;
    TGifResim *GifResim1 = nullptr;
    QToolButton *Button3 = nullptr;
    QMenu *Genelmenu = nullptr;
    QAction *M1 = nullptr;
    QAction *N4 = nullptr;
    QAction *WebSitesi1 = nullptr;
    QAction *G1 = nullptr;
    QAction *R1 = nullptr;

    // Search bar.
    QFrame *Panel2 = nullptr;
    QLabel *Image2 = nullptr;
    QLineEdit *araedit = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QPushButton *musteritus = nullptr;
    TGifResim *gifstokara = nullptr;
    TGifResim *gifyeniler = nullptr;
    TGifResim *gifkampanyali = nullptr;
    TGifResim *gifduyuru = nullptr;
    TGifResim *gifoncekiler = nullptr;
    TGifResim *gifsepet = nullptr;
    TGifResim *gifekstre = nullptr;

    // Top banner strip, height 0 until a banner is loaded.
    TGifResim *RxGIFAnimator2 = nullptr;

    // Pages.
    QTabWidget *sPageControl1 = nullptr;
    QWidget *sstoklistesi = nullptr;
    QWidget *ssepet = nullptr;
    QWidget *sonceki = nullptr;
    QWidget *sccariekstre = nullptr;
    QWidget *syeniler = nullptr;
    QWidget *skampanyali = nullptr;
    QWidget *sTabSheetduyuru = nullptr;
    QWidget *sTabbakiyeler = nullptr;
    QWidget *ss = nullptr;

    // Grids and their views on the pages.
    QWidget *cxGrid1 = nullptr;
    TGridView *cxGrid1DBTableView1 = nullptr;
    QWidget *cxGrid2 = nullptr;
    TGridView *cxGridDBTableView1 = nullptr;
    QWidget *cxGrid6 = nullptr;
    TGridView *cxGridDBTableView5 = nullptr;
    QWidget *cxkampanyali = nullptr;
    TGridView *cxGridDBTableViewkampanyali = nullptr;
    QWidget *cxGridduyuru = nullptr;
    TGridView *cxGridduyuruBandedDuyuru = nullptr; // unbound: one announcement picture per row

    // Status legend and the bottom strip.
    QFrame *Panel3 = nullptr;
    QFrame *Panel5 = nullptr;
    QWidget *kayanyazi = nullptr;
    QWidget *RealTimeMarquee1 = nullptr;

    // Grid styles of the stock list and the views that name them.
    TGridStyle cxStyle1;
    TGridStyle cxStyle2;
    TGridStyle cxStyle3;
    TGridStyle cxStyle4;
    TGridStyle cxStyle5;

    // Datasets of the tabs and their data sources.
    TClientDataSet *stok = nullptr;
    TDataSource *DataSource1 = nullptr;
    TClientDataSet *sepet = nullptr;
    TDataSource *DataSource_SEPET = nullptr;
    TClientDataSet *ONCEKILER = nullptr;
    TDataSource *DataSource_ONCEKI = nullptr;
    TClientDataSet *EKSTRE = nullptr;
    TDataSource *DataSource_EKSTRE = nullptr;
    TClientDataSet *YENILER = nullptr;
    TDataSource *DataSource_yeniler = nullptr;
    TClientDataSet *kampstok = nullptr;
    TDataSource *kampsource = nullptr;
    TClientDataSet *duyurular = nullptr;
    TDataSource *DataSourceduyuru = nullptr;

    QMenu *popstok = nullptr;
    QAction *S2 = nullptr;
    QAction *B1 = nullptr;
    QAction *S3 = nullptr;
    QAction *StokHareketleri1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *poponceki = nullptr;
    QMenu *popekstre = nullptr;
    QFileDialog *SaveDialog1 = nullptr;

    // Adapts columns, tabs and menus to the user kind of the session record.
    void MusteriTipineGoreAyarla(int musteriTipi);
    // Writes the three header value labels from the session record (UI thread).
    void AnaBilgiAl();
    // True once the background start-up sequence has run all its steps.
    bool AcilisSirasiBitti() const { return m_acilisSirasiBitti; }
    // Starts one background load of a tab page.
    void SekmeYukle(const TSekmeYukleme &yukleme);

    // Both operations of the shared helpers, so the windows that round or format through
    // the main window keep one implementation.
    static void OndalikBicimle(TClientDataSet &veri);
    static double IkiHaneYuvarla(double x);

    // Cart dataset and overdue warning. lbluyarbakiye sits on the cart page's bottom panel.
    QFrame *panelsec = nullptr;
    QLabel *lbluyarbakiye = nullptr;
    // Reloads `sepet` for the account of the session record as it is now; an exception of
    // the server call reaches the caller and `sepet` keeps its content.
    void SepetYenile();
    // Starts the overdue check on a thread of its own; it writes lbluyarbakiye when it answers.
    void CariBakiyeUyariBak();

    // Stock detail and add-to-cart. The openers read the current record of their list; a
    // server call that fails with an exception reaches the caller.
    void StokAyrintiAc(int stokno);
    void YeniStokAyrintiAc(int stokno);
    void KampanyaliAyrintiAc(int stokno);
    // Opens the current line of `sepet` (number `sirano`) and changes it on confirmation.
    void SatirDegistirAc(int sirano);
    void SepeteEkle(TClientDataSet *veri, double miktar, double fiyat, double ind1, double ind2, double ind3,
                    double ind4);
    void SepetSatirGuncelle(int sirano, double miktar, double fiyat, double ind1, double ind2, double ind3,
                            double ind4);
    int KoliAdetiAl(int stokno);

    // Cart page: the selection buttons (in panelsec), the totals box and the buttons
    // "Gönder" and "Excel Kaydet".
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QLabel *aratoplaml = nullptr;
    QLabel *indiriml = nullptr;
    QLabel *nettutarl = nullptr;
    QLabel *vergil = nullptr;
    QLabel *geneltoplaml = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QAction *Deitir1 = nullptr;
    QAction *SatrSil1 = nullptr;
    QAction *HepsiniSil1 = nullptr;
    // Writes the totals of the selected lines of `sepet` into the totals box.
    void SepetToplamHesapla();
    // Stores one line's selection on the server; false when it could not.
    bool SecimGuncelle(int sirano, int secim);
    // Sends the selected cart lines as an order; the server's answer.
    bool SiparisGonder(int kn, int kt, const QString &aciklama, int td);

public Q_SLOTS:
    void M1Click();
    void N4Click();
    void WebSitesi1Click();
    void G1Click();
    void R1Click();

    void ssepetShow();
    void soncekiShow();
    void sccariekstreShow();
    void syenilerShow();
    void skampanyaliShow();
    void sTabSheetduyuruShow();
    void sTabbakiyelerShow();
    void sTabbakiyelerHide();
    void ssShow();

    // Stock search and stock list.
    void araeditKeyPress(QChar &Key);
    void SpeedButton2Click();
    void SpeedButton1Click();
    void cxGrid1Resize();
    void StokKolonlariYay();
    void cxGrid1DBTableView1DblClick();
    void S2Click();
    void S3Click();
    void StokHareketleri1Click();

    void AcilisReklamGoster();

    // Stock detail and add-to-cart: the entry points of the new-items and campaign lists.
    void cxGridDBTableView5DblClick();
    void cxGridDBTableViewkampanyaliDblClick();

    // Cart page and sending the order.
    void cxGridDBTableView1DblClick();
    void Deitir1Click();
    void SatrSil1Click();
    void HepsiniSil1Click();
    void Button4Click();
    void Button5Click();
    void Button2Click();
    void Button1Click();
    void cxGrid2Resize();

    // Promotional pages: the announcement action and the column fit of the stock views.
    void cxGridduyuruBandedDuyuruDblClick();
    void cxGrid6Resize();
    void cxkampanyaliResize();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool FormCloseQuery();

private:
    void FormCreate();
    void GirisYap();
    static void AcilisSirasi(TYuklemeKaydi &kayit);

    // Promotional pages: their views, the server calls of their loads (background), the
    // column fit and the start-up counts (background steps of the start-up sequence).
    void buildContentPages();
    static const wire::Table *DuyuruAl(TServerMethods1Client &proxy, wire::Table &sonuc);
    static const wire::Table *YenilerAl(TServerMethods1Client &proxy, qint32 carino);
    static const wire::Table *KampanyaliAl(TServerMethods1Client &proxy, qint32 carino, qint32 musteriTipi);
    void KolonlariYay(TGridView *gorunum);
    static void AcilisReklamAdetAl(TYuklemeKaydi &kayit);
    static void BalonYaz(TYuklemeKaydi &kayit);
    void sekmeBasligiYaz(QWidget *sekme, const QString &baslik);
    void sPageControl1Change(int index);

    void buildHeader(QWidget *parent);
    void buildSearchBar(QWidget *parent);
    void buildPages(QWidget *parent);
    void buildLegend(QWidget *parent);
    void buildBottom(QWidget *parent);
    void buildDataModules();
    void buildStyles();
    TGridStyles listeStilleri() const;
    QWidget *addGrid(QWidget *page, const QString &gridName, const QString &viewName, TDataSource *source,
                     TGridView *&view);

    void setColumnShown(TGridView *view, const char *field, bool show);

    void buildStockList();
    void StokAra();
    void StokListesiGeldi(const TClientDataSet &veri, bool hata);
    // The background half of a search: the server call on the clone's proxy.
    static const wire::Table *StokListesiAl(TServerMethods1Client &proxy, const QString &kod,
                                            std::unique_ptr<TSonucBilgisi> bilgi);

    void buildCartDetail();
    void buildCartTab();
    void SecimleriAyarla(int secim);
    // The cart page's caption and totals after its content was replaced.
    void SepetGosterildi();
    bool m_siparisGonderiliyor = false;
    // The entry from a list: its focused row's item, either its cart line or a new one.
    void ListedenAyrintiAc(TGridView *view, TClientDataSet *veri, void (TForm1::*acici)(int));
    void AyrintiAc(TClientDataSet *veri, int liste, int stokno);

    QWidget *m_previousPage = nullptr;
    bool m_acilisSirasiBitti = false;
    // Designed (visible, offered) state of the columns the role set-up switches.
    QHash<TGridColumn *, QPair<bool, bool>> m_designedColumns;
};

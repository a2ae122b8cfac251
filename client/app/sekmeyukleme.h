#pragma once
// The one way a tab page loads its content from the server without freezing the window.
// A load names its page's controls and the server call; everything else (busy animation,
// disabled grid, detached view held in an update, connection clone and session copy in
// the background, continuation on the UI thread, the failure message) is done here.
//
//   TSekmeYukleme y;
//   y.Grid = cxGrid6; y.View = cxGridDBTableView5; y.Source = DataSource_yeniler;
//   y.DataSet = YENILER; y.Animasyon = gifyeniler;
//   y.Cagri = [carino](TServerMethods1Client &p, std::unique_ptr<TSonucBilgisi>) {
//       return p.YenilerVer2(carino);
//   };
//   y.Baslik = [this](const TClientDataSet &d, bool hata) { ... };
//   SekmeYukle(y);          // a TForm1 member: supplies bagc and sbilgi
#include <QPointer>

#include <functional>
#include <memory>

class QWidget;
class TClientDataSet;
class TDataSource;
class TGifResim;
class TGridView;
class TServerMethods1Client;
class TSonucBilgisi;
namespace platform {
class TSQLConnection;
}
namespace wire {
class Table;
}

// The record a load's two halves share: the window and the failure flag, plus whatever
// a particular load keeps in a derived record.
struct TYuklemeKaydi {
    QPointer<QWidget> Form;
    bool hata = false;
};

struct TSekmeYukleme {
    QWidget *Grid = nullptr;        // disabled while loading
    TGridView *View = nullptr;      // detached from Source and held in an update
    TDataSource *Source = nullptr;  // the view's data source, re-attached afterwards
    TClientDataSet *DataSet = nullptr;
    TGifResim *Animasyon = nullptr; // shown while loading
    // Background: the server call on a proxy over an open clone. `bilgi` is a fresh copy
    // of the session record for methods that take one. The table stays the proxy's.
    std::function<const wire::Table *(TServerMethods1Client &proxy, std::unique_ptr<TSonucBilgisi> bilgi)> Cagri;
    // UI thread, after the content was replaced (or the load failed): writes the tab caption.
    std::function<void(const TClientDataSet &veri, bool hata)> Baslik;
};

// Starts the load and returns at once. The session record is copied here, on the UI
// thread; the connection is cloned here as well, so the background never reads either.
void SekmeYukle(const TSekmeYukleme &yukleme, QWidget *form, const platform::TSQLConnection &bagc,
                const TSonucBilgisi &sbilgi);

#include "sekmeyukleme.h"

#include "beklesinu.h"
#include "clientdataset.h"
#include "datasource.h"
#include "gifresim.h"
#include "gridview.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "table.h"
#include "utils.h"

#include <QVariant>

namespace {

// Loads of one grid may overlap (a tab activated twice quickly). The grid stays disabled
// and the animation shown until the last of them ends, and an older answer never
// replaces a newer one.
const char *const RunningProperty = "korvelLoadsRunning";
const char *const StartedProperty = "korvelLoadsStarted";
const char *const AppliedProperty = "korvelLoadApplied";

int bump(QObject *o, const char *name, int delta)
{
    const int v = o->property(name).toInt() + delta;
    o->setProperty(name, v);
    return v;
}

struct TSekmeKaydi : TYuklemeKaydi {
    TSekmeYukleme Yukleme;
    std::unique_ptr<platform::TSQLConnection> Baglanti;
    std::unique_ptr<TSonucBilgisi> Bilgi;
    std::unique_ptr<wire::Table> Sonuc;
    int Bilet = 0;
};

void work(TSekmeKaydi &k)
{
    k.hata = true;
    try {
        if (!BaglantiAc(*k.Baglanti, false))
            return;
        wire::Table sonuc;
        {
            TServerMethods1Client proxy(k.Baglanti.get());
            const wire::Table *tablo = k.Yukleme.Cagri(proxy, std::move(k.Bilgi));
            if (tablo)
                sonuc = *tablo;
        }
        k.Baglanti->Close();
        k.Sonuc = std::make_unique<wire::Table>(std::move(sonuc));
        k.hata = false;
    } catch (const std::exception &e) {
        qWarning("tab load failed: %s", e.what());
    } catch (...) {
        qWarning("tab load failed");
    }
    k.Baglanti.reset();
}

void done(TSekmeKaydi &k)
{
    if (!k.Form)
        return; // the window and its controls are gone
    const TSekmeYukleme &y = k.Yukleme;
    if (!k.hata && y.DataSet && k.Sonuc && k.Bilet > (y.DataSet->property(AppliedProperty).toInt())) {
        // Replace the content only while no view shows it and its controls are disabled.
        if (y.View)
            y.View->SetDataSource(nullptr);
        y.DataSet->DisableControls();
        try {
            y.DataSet->LoadFromTable(std::move(*k.Sonuc));
            OndalikBicimle(*y.DataSet);
            y.DataSet->setProperty(AppliedProperty, k.Bilet);
        } catch (const std::exception &e) {
            qWarning("tab load: answer not usable: %s", e.what());
            k.hata = true;
        }
        y.DataSet->EnableControls();
    }
    if (y.Baslik && y.DataSet)
        y.Baslik(*y.DataSet, k.hata);
    const bool last = !y.Grid || bump(y.Grid, RunningProperty, -1) <= 0;
    if (last && y.View)
        y.View->SetDataSource(y.Source);
    if (y.View)
        y.View->EndUpdate();
    if (last) {
        if (y.Grid)
            y.Grid->setEnabled(true);
        if (y.Animasyon)
            y.Animasyon->GizleDurdur();
    }
    if (k.hata)
        MesajGoster(BaglantiHataMesaji(), platform::MessageKind::Error, platform::MessageButton::Ok,
                    platform::MessageButton::Ok);
}

} // namespace

void SekmeYukle(const TSekmeYukleme &yukleme, QWidget *form, const platform::TSQLConnection &bagc,
                const TSonucBilgisi &sbilgi)
{
    auto k = std::make_shared<TSekmeKaydi>();
    k->Form = form;
    k->Yukleme = yukleme;
    k->Baglanti = bagc.Clone();
    k->Bilgi = std::make_unique<TSonucBilgisi>();
    k->Bilgi->Kopyala(sbilgi);
    if (yukleme.DataSet)
        k->Bilet = bump(yukleme.DataSet, StartedProperty, 1);

    if (yukleme.Animasyon)
        yukleme.Animasyon->GosterAnim();
    if (yukleme.Grid) {
        yukleme.Grid->setEnabled(false);
        bump(yukleme.Grid, RunningProperty, 1);
    }
    if (yukleme.View) {
        yukleme.View->SetDataSource(nullptr);
        yukleme.View->BeginUpdate();
    }
    Async([k] { work(*k); })->Await([k] { done(*k); });
}

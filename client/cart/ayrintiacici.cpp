#include "ayrintiacici.h"

#include "clientdataset.h"
#include "stokayarintiu.h"

#include <QLabel>
#include <QSpinBox>

#include <cmath>

namespace {

QString gosterim(const TClientDataSet &veri, const char *alan)
{
    return veri.FieldByName(QString::fromLatin1(alan))->DisplayText();
}

double sayi(const TClientDataSet &veri, const char *alan)
{
    return veri.FieldByName(QString::fromLatin1(alan))->AsFloat();
}

void oranlariYaz(Tstokayarinti &d, const TClientDataSet &veri, const char *const (&alanlar)[4])
{
    TCurrencyEdit *kutular[] = {d.edindirim1, d.edindirim2, d.edindirim3, d.edindirim4};
    for (int i = 0; i < 4; ++i)
        kutular[i]->SetValue(sayi(veri, alanlar[i]));
}

void personelAyari(Tstokayarinti &d, int musteriTipi, bool oranlarGorunur)
{
    if (!FiyatDegistirebilir(musteriTipi))
        return;
    d.FiyatKilidiniAc();
    d.GridPanel2->setVisible(oranlarGorunur);
}

} // namespace

bool FiyatDegistirebilir(int musteriTipi)
{
    return musteriTipi == 1 || musteriTipi == 2;
}

TAyrintiBasliklari AyrintiBasliklari(TAyrintiListesi liste, int k, const QString &indirimyazi)
{
    // The two lists word the plain discount differently; campaign items read the same.
    if (liste == TAyrintiListesi::Kampanyali || k > 0)
        return {QStringLiteral("Kampanyalı ") + indirimyazi, QStringLiteral("Kampanyalı Fiyat:")};
    if (liste == TAyrintiListesi::Yeni)
        return {QStringLiteral("İndirim:  % ") + indirimyazi, QStringLiteral("Fiyat:")};
    return {QStringLiteral("İndirim: %") + indirimyazi, QStringLiteral("Fiyat:")};
}

void ListeSatiriniDoldur(Tstokayarinti &d, const TClientDataSet &veri, TAyrintiListesi liste, int musteriTipi,
                         int koliadet)
{
    d.kdvoran = sayi(veri, "KDV");
    d.barkod->setText(gosterim(veri, "BARKOD"));
    d.adi->setText(gosterim(veri, "ADI"));
    d.marka->setText(gosterim(veri, "MARKA"));
    d.finishkod->setText(gosterim(veri, "FINISHKOD"));
    d.model->setText(gosterim(veri, "MODEL"));
    d.Setkoliadet(koliadet);
    personelAyari(d, musteriTipi, liste != TAyrintiListesi::Kampanyali);

    // Every list fills price and rates, whatever its campaign flag holds.
    d.birimfiyat->SetValue(sayi(veri, "FIYAT"));
    oranlariYaz(d, veri, {"IND1", "IND2", "IND3", "IND4"});
    const int k = int(std::lround(sayi(veri, "K")));
    const TAyrintiBasliklari b = AyrintiBasliklari(liste, k, veri.FieldByName(QStringLiteral("INDIRIMYAZI"))->AsString());
    d.indirimoran->setText(b.indirimoran);
    d.Label2->setText(b.Label2);
}

void SepetSatiriniDoldur(Tstokayarinti &d, const TClientDataSet &sepet, int musteriTipi, int koliadet)
{
    d.barkod->setText(gosterim(sepet, "BARKOD"));
    d.adi->setText(gosterim(sepet, "STOKADI"));
    d.marka->setText(gosterim(sepet, "MARKA"));
    d.finishkod->setText(gosterim(sepet, "FINISHKOD"));
    d.model->setText(gosterim(sepet, "MODEL"));
    d.kdvoran = sayi(sepet, "KDV");
    oranlariYaz(d, sepet, {"INDIRIMORANI1", "INDIRIMORANI2", "INDIRIMORANI3", "INDIRIMORANI4"});
    d.Setkoliadet(koliadet);
    personelAyari(d, musteriTipi, true);
    d.birimfiyat->SetValue(sayi(sepet, "BIRIMFIYAT"));
    // After the package quantity, so the line's quantity wins (kept within the box's range).
    d.adet->setValue(int(std::lround(sayi(sepet, "MIKTAR"))));
}

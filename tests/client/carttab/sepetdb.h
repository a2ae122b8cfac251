#pragma once
// Direct access to the database of the main-window fixture's server: cart lines are laid
// out and read back there, since the server reads it afresh on every call.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace carttest {

// The fixture's database: beside its settings folder.
QString veritabani();

// Runs statements; false with the driver's text in `hata` when one fails.
bool sql(const QStringList &komutlar, QString *hata = nullptr);
// The first column of every row of a query.
QVariantList sorgu(const QString &komut);

struct SepetSatiri {
    int sec = 1;
    double tutar = 0, indirim = 0, vergi = 0;
};

// Replaces the cart of `carino` by lines on the catalogue's first items by number, distinct
// while the catalogue has enough of them; false when it could not.
bool sepetiKur(int carino, const QList<SepetSatiri> &satirlar);

} // namespace carttest

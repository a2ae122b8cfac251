#include "sepetdb.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace carttest {

namespace {
const char *const Baglanti = "carttest";

template <typename Fn>
auto veritabaniIle(Fn &&fn)
{
    struct Kaldir {
        ~Kaldir() { QSqlDatabase::removeDatabase(QString::fromLatin1(Baglanti)); }
    } kaldir;
    QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QString::fromLatin1(Baglanti));
    d.setDatabaseName(veritabani());
    d.open();
    d.exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
    auto r = fn(d);
    d.close();
    return r;
}
} // namespace

QString veritabani()
{
    return QDir(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))).filePath(QStringLiteral("../b2b.sqlite"));
}

bool sql(const QStringList &komutlar, QString *hata)
{
    return veritabaniIle([&](QSqlDatabase &d) {
        QSqlQuery q(d);
        for (const QString &k : komutlar) {
            if (!q.exec(k)) {
                if (hata)
                    *hata = q.lastError().text();
                return false;
            }
        }
        return true;
    });
}

QVariantList sorgu(const QString &komut)
{
    return veritabaniIle([&](QSqlDatabase &d) {
        QVariantList r;
        QSqlQuery q(d);
        if (q.exec(komut))
            while (q.next())
                r << q.value(0);
        return r;
    });
}

bool sepetiKur(int carino, const QList<SepetSatiri> &satirlar)
{
    const QVariantList stoklar =
        sorgu(QStringLiteral("SELECT stokno FROM stoklar ORDER BY stokno LIMIT %1").arg(satirlar.size()));
    if (stoklar.isEmpty() && !satirlar.isEmpty())
        return false;
    QStringList k{QStringLiteral("DELETE FROM sepet WHERE carino = %1").arg(carino)};
    for (int i = 0; i < satirlar.size(); ++i) {
        const SepetSatiri &s = satirlar.at(i);
        k << QStringLiteral("INSERT INTO sepet (carino, stokno, barkod, stokadi, miktar, birimfiyat, kdv, sec, tarih, "
                            "saat, tutar, indirimtutar, vergitutari, nettutar) SELECT %1, stokno, barkod, adi, 1, "
                            "%3, 18, %2, '2026-12-11', '10:00:00', %3, %4, %5, %3 - %4 FROM stoklar WHERE stokno = %6")
                 .arg(carino)
                 .arg(s.sec)
                 .arg(s.tutar, 0, 'f', 4)
                 .arg(s.indirim, 0, 'f', 4)
                 .arg(s.vergi, 0, 'f', 4)
                 .arg(stoklar.at(i % stoklar.size()).toInt());
    }
    return sql(k);
}

} // namespace carttest

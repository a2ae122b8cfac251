// Content group: scrolling text, banners, announcements and opening advertisements.
#include "dispatch.h"
#include "sqlquery.h"
#include "store.h"

namespace methods {

using store::SqlQuery;

namespace {

QString setting(Call &call, const QString &key)
{
    QString value;
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT deger FROM ayarlar WHERE anahtar = ?"));
        value = q.bind(key).scalar().toString();
    });
    return value;
}

void kayanYaziGetir(Call &call, Reply &reply)
{
    reply.setResult(Value::text(setting(call, QStringLiteral("kayanyazi"))));
}

void acilisReklamAdet(Call &call, Reply &reply)
{
    int count = 0;
    call.store().read([&](QSqlDatabase &db) {
        count = SqlQuery(db, QStringLiteral("SELECT COUNT(*) FROM duyurular WHERE aktif = 1")).scalar().toInt();
    });
    reply.setResult(Value::integer(count));
}

// A banner picture and its size; no banner gives an empty stream of size 0.
Handler banner(const QString &place)
{
    return [place](Call &call, Reply &reply) {
        QByteArray bytes;
        call.store().read([&](QSqlDatabase &db) {
            bytes = SqlQuery(db, QStringLiteral("SELECT veri FROM bannerlar WHERE yer = ?")).bind(place).scalar().toByteArray();
        });
        reply.setOut(0, Value::int64(bytes.size()));
        reply.setResult(Value::stream(bytes));
    };
}

} // namespace

void registerContentMethods(MethodTable &table)
{
    table.add(QStringLiteral("KayanYaziGetir"), kayanYaziGetir);
    table.add(QStringLiteral("AcilisReklamAdet"), acilisReklamAdet);
    table.add(QStringLiteral("BannerResimVer"), banner(QStringLiteral("genel")));
    table.add(QStringLiteral("BannerResimVer2"), banner(QStringLiteral("ust")));
    table.add(QStringLiteral("BannerResimVer3"), banner(QStringLiteral("alt")));
}

} // namespace methods

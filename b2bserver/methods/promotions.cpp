// Content group, the opening-screen items: the announcements as pictures with their actions.
#include "dispatch.h"
#include "mobilstokunit.h"
#include "sqlquery.h"
#include "store.h"

namespace methods {

using store::SqlQuery;

namespace {

// The picture travels as upper-case hexadecimal text.
TAcilisEkran screenFrom(const SqlQuery &q)
{
    TAcilisEkran e;
    e.SetSiraNo(q.toInt(0));
    e.SetResim(QString::fromLatin1(q.toBytes(1).toHex().toUpper()));
    e.SetBaslik(q.toString(2));
    e.SetArama(q.toString(3));
    return e;
}

const QString activeScreens =
    QStringLiteral("SELECT sirano, resim, baslik, arama FROM duyurular WHERE aktif = 1 ORDER BY sira, sirano");

void acilisEkranlarVer2(Call &call, Reply &reply)
{
    auto all = std::make_shared<TAcilisEkranlariki>();
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, activeScreens);
        q.exec();
        QList<TAcilisEkran> screens;
        while (q.next())
            screens.append(screenFrom(q));
        all->SetEkranlar(screens);
    });
    reply.setResult(Value::record(wire::ValueKind::AcilisEkranlariki, std::move(all)));
}

// The advertisement at a 0-based position among the active ones; null past the end.
void acilisReklamVer(Call &call, Reply &reply)
{
    const int position = call.integer(0);
    std::shared_ptr<TAcilisEkran> screen;
    if (position >= 0) {
        call.store().read([&](QSqlDatabase &db) {
            SqlQuery q(db, activeScreens + QStringLiteral(" LIMIT 1 OFFSET ?"));
            q.bind(position).exec();
            if (q.next())
                screen = std::make_shared<TAcilisEkran>(screenFrom(q));
        });
    }
    reply.setResult(Value::record(wire::ValueKind::AcilisEkran, std::move(screen)));
}

} // namespace

void registerPromotionMethods(MethodTable &table)
{
    table.add(QStringLiteral("AcilisEkranlarVer2"), acilisEkranlarVer2);
    table.add(QStringLiteral("AcilisREklamVer"), acilisReklamVer);
}

} // namespace methods

// Orders group: delivery and cargo choices, order history.
#include "dispatch.h"
#include "sqlquery.h"
#include "store.h"
#include "tables.h"

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

// Readers of the order dialog: the client reads them by position (id, text).
void teslimVer(Call &call, Reply &reply)
{
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT teslimid, adi FROM teslim_cinsleri ORDER BY sira, teslimid"));
        q.exec();
        reply.setResult(Value::reader(tableFromQuery(q, {{"ID", T::Int32}, {"ADI", T::String, 100}})));
    });
}

void kargoVer(Call &call, Reply &reply)
{
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT kargoid, adi FROM kargo_cinsleri ORDER BY sira, kargoid"));
        q.exec();
        reply.setResult(Value::reader(tableFromQuery(q, {{"ID", T::Int32}, {"ADI", T::String, 100}})));
    });
}

void kargolarVer(Call &call, Reply &reply)
{
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT sirano, adi, uyari FROM kargo_firmalari WHERE kargoid = ? "
                                      "ORDER BY sira, sirano"));
        q.bind(call.integer(0)).exec();
        reply.setResult(Value::reader(
            tableFromQuery(q, {{"SIRANO", T::Int32}, {"ADI", T::String, 100}, {"UYARI", T::String, 250}})));
    });
}

} // namespace

void registerOrderMethods(MethodTable &table)
{
    table.add(QStringLiteral("TeslimVer"), teslimVer);
    table.add(QStringLiteral("KargoVer"), kargoVer);
    table.add(QStringLiteral("KargolarVer"), kargolarVer);
}

} // namespace methods

#include "tables.h"

#include "sqlquery.h"

namespace methods {

wire::Table tableFromQuery(store::SqlQuery &query, std::initializer_list<ColumnSpec> columns)
{
    wire::Table table;
    for (const ColumnSpec &c : columns) {
        wire::ColumnInfo info;
        info.name = QString::fromLatin1(c.name);
        info.type = c.type;
        info.size = c.size ? c.size : (c.type == wire::ColumnType::String ? 100 : 0);
        info.nullable = true;
        table.addColumn(info);
    }
    const int count = int(columns.size());
    while (query.next()) {
        const int row = table.appendRow();
        for (int c = 0; c < count; ++c)
            table.setValue(row, c, query.value(c));
    }
    return table;
}

} // namespace methods

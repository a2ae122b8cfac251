#pragma once
// Builds a data packet / reader from a query: the columns are declared with their wire
// types and filled by position from the query's columns (ISO date text becomes a date).
#include <initializer_list>

#include "table.h"

namespace store {
class SqlQuery;
}

namespace methods {

struct ColumnSpec {
    const char *name;  // upper-case column name as the client reads it
    wire::ColumnType type;
    int size = 0;      // strings: the declared length
};

// Column i of the table takes column i of every row of `query` (already executed).
wire::Table tableFromQuery(store::SqlQuery &query, std::initializer_list<ColumnSpec> columns);

} // namespace methods

#pragma once
// Small wire tables for the dataset and grid tests: columns by (name, type), rows as
// lists of values (an invalid QVariant is a null cell).
#include <table.h>

#include <QVariantList>

#include <initializer_list>
#include <utility>

inline wire::Table makeTable(std::initializer_list<std::pair<const char *, wire::ColumnType>> columns,
                             std::initializer_list<QVariantList> rows)
{
    wire::Table t;
    for (const auto &[name, type] : columns)
        t.addColumn({QString::fromUtf8(name), type, 0, true});
    for (const QVariantList &values : rows) {
        const int r = t.appendRow();
        for (int c = 0; c < values.size(); ++c)
            t.setValue(r, c, values.at(c));
    }
    return t;
}

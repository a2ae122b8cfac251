#pragma once
// The search keys of one stock item (rows of stok_anahtarlari): every code whole and each
// word of it, and each word of the names, folded by searchKey(). A search token matches
// an item when it is the start of one of its keys.
#include <QString>
#include <QStringList>

namespace store {

QStringList stockSearchKeys(const QStringList &codes, const QStringList &names);

} // namespace store

#include "searchkeys.h"

#include "store.h"

#include <QSet>

namespace store {

QStringList stockSearchKeys(const QStringList &codes, const QStringList &names)
{
    QStringList keys;
    QSet<QString> seen;
    auto add = [&](const QString &key) {
        if (!key.isEmpty() && !seen.contains(key)) {
            seen.insert(key);
            keys.append(key);
        }
    };
    for (const QString &code : codes) {
        add(searchKey(code));  // "ABC 123.X" -> ABC123X, so a code typed without its separators matches
        for (const QString &word : searchText(code).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            add(word);
    }
    for (const QString &name : names) {
        for (const QString &word : searchText(name).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            add(word);
    }
    return keys;
}

} // namespace store

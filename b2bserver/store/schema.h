#pragma once
// Versioned schema migrations. Each migration runs in its own transaction and moves the
// database one version forward; a database is never downgraded.
#include <QSqlDatabase>

namespace store {

class Store;

// Version the code expects; migrate() brings every database to it.
int latestSchemaVersion();
// Version recorded in the database, 0 for a fresh one.
int currentSchemaVersion(QSqlDatabase &db);
void migrate(Store &store);

} // namespace store

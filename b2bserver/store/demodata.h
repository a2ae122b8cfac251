#pragma once
// Deterministic demo data: the same options (seed included) always give the same rows.
#include <QList>
#include <QString>

namespace store {

class Store;

struct DemoOptions {
    int stockItems = 20000;
    int accounts = 60;
    quint64 seed = 1;
};

// A user the demo created, for the start-up message and for tests.
struct DemoUser {
    int sirano = 0;
    QString name;       // login name, upper case
    QString password;
    int kind = 0;       // MusteriTipi
    int account = 0;    // CARINO acted for (staff: first account of their portfolio)
    QString computerId; // registered computer identifier
};

// Fills an empty store in one transaction. Throws StoreError when the store already
// holds users or when a write fails (nothing is left behind then).
void fillDemoData(Store &store, const DemoOptions &options);

// The users of the store with their first registered computer, staff first.
QList<DemoUser> listUsers(Store &store, int limit);

// Maps a computer identifier to the user with this login name (replacing an earlier
// mapping of the identifier). Throws StoreError when there is no such user.
void registerComputer(Store &store, const QString &computerId, const QString &userName);

} // namespace store

#pragma once
// The session record check of methods that take a TSonucBilgisi.
#include <QSqlDatabase>
#include <QString>

class TSonucBilgisi;

namespace methods {

struct SessionUser {
    int sirano = 0;
    int kind = 0;     // MusteriTipi
    int account = 0;  // the user's own account (customers)
    QString name;
    bool isStaff() const { return kind == 1 || kind == 2; }
};

// Accepts the record when its computer identifier is known, the user is active, the
// password matches and the account it acts for is one the user may act for (staff any,
// customers only their own). `account` is the account the call touches (the record's
// CARINO when negative). Throws MethodError with the reason otherwise.
SessionUser checkSession(QSqlDatabase &db, const TSonucBilgisi *record, int account = -1);

} // namespace methods

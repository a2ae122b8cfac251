#pragma once
// Main-window fixture: the substitute server over a fresh database with one user of every
// kind, this computer registered to the user a test logs in as, and a main window opened
// through its real login.
#include "childprocess.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TForm1;

namespace anapencere {

class Sunucu {
public:
    // Starts the server and points the client's settings (server port, external-address
    // service, settings folder) at it. False with hata() when it cannot.
    bool baslat(const QStringList &faults = {});
    // Registers this computer for the user of kind `tip` (0 to 4).
    bool kullaniciSec(int tip);
    int port() const { return m_process.port(); }
    QString hata() const { return m_error; }

private:
    QTemporaryDir m_dir;
    testsupport::ChildProcess m_process;
    QString m_db;
    QString m_error;
};

// Opens the main window; its login is answered with the name and password of the user of
// kind `tip`, who must be registered for this computer. Null when the login was not answered.
std::unique_ptr<TForm1> ac(int tip);

// Name and password of the fixture's user of a kind.
QString kullaniciAdi(int tip);

} // namespace anapencere

// Prints the identifier the client sends to the server for this computer, so that the
// computer can be registered for a user before the first login.
#include "utilsmachine.h"

#include <cstdio>

int main()
{
    const QString id = BilgisayarIdAl();
    if (id.isEmpty()) {
        std::fputs("Bu bilgisayar için kimlik bulunamadı (disk seri numarası ve ağ adresi yok).\n", stderr);
        return 1;
    }
    std::printf("%s\n", id.toUtf8().constData());
    return 0;
}

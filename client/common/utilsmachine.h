#pragma once
// Identity of the computer the client runs on, as the session record carries it, and the
// per-user data folder. Every function reads the machine afresh (no cache) and is safe on
// any thread. The overloads taking MachineSources read a fixture instead of the machine.
#include <QString>

namespace platform {
struct MachineSources;
}

// The host name; empty when it is longer than 15 characters or cannot be read.
QString BilgisayarAdiAl();
QString BilgisayarAdiAl(const platform::MachineSources &kaynak);

// The login name of the process owner; empty when longer than 15 characters or unknown.
QString KullaniciAdiAl();
QString KullaniciAdiAl(const platform::MachineSources &kaynak);

// The first IPv4 address the host name resolves to; "127.0.0.1" when it does not resolve.
QString IcIpAl();
QString IcIpAl(const platform::MachineSources &kaynak);

// The serial of the first physical disk, upper-cased. Throws platform::Exception when
// there is none.
QString DiskSeriNoAl();
QString DiskSeriNoAl(const platform::MachineSources &kaynak);

// The first adapter address that is not all zeros, as "AA-BB-CC-DD-EE-FF"; the walk
// stops at the first adapter that is not all zeros. Empty when there is no adapter.
QString MacAdresiAl();
QString MacAdresiAl(const platform::MachineSources &kaynak);

// The computer identifier: the disk serial, or the adapter address when there is no
// disk serial, without any blank, with the two alias serials of the deployment mapped
// to its one fixed identifier. Empty when neither source gives a value.
QString BilgisayarIdAl();
QString BilgisayarIdAl(const platform::MachineSources &kaynak);

// The per-user data folder "korveloto" in the user's configuration folder, created
// when missing (a failure to create it is not reported). No trailing separator.
QString VeriKlasoruAl();
QString VeriKlasoruAl(const platform::MachineSources &kaynak);

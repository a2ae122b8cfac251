#pragma once
// Where the identity of this computer comes from on Linux: host and user name, the
// local address, the serial of the first physical disk and the adapter addresses.
// Every reader looks through a MachineSources, so tests feed it a fixture tree and
// their own environment instead of the real machine.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <sys/types.h>

namespace platform {

struct MachineSources {
    // Prefix of every absolute path read (/proc, /sys, /run, /etc); empty is the real root.
    QString root;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Owner of the process whose user name is asked for.
    uid_t uid;
    // Resolves a host name to its IPv4 addresses in the resolver's order.
    std::function<QStringList(const QString &hostName)> resolveIpv4;

    // The real machine: root "/", the process environment and uid, the system resolver.
    MachineSources();

    // An absolute path below root.
    QString path(const QString &absolute) const;
    bool isRealRoot() const { return root.isEmpty() || root == QLatin1String("/"); }
};

// The kernel's host name; empty when it cannot be read.
QString ReadHostName(const MachineSources &sources);

// The login name of sources.uid: getpwuid on the real root, <root>/etc/passwd otherwise.
// Empty when the user is unknown.
QString ReadUserName(const MachineSources &sources);

// IPv4 addresses of a host name through the system resolver; empty when it cannot resolve.
QStringList SystemResolveIpv4(const QString &hostName);

// The serial of the first physical disk as the device reports it (blanks and case kept).
// Disks are taken in name order below /sys/block; loop, ram, zram, device-mapper, md,
// optical, removable and virtual devices are skipped. For a disk the serial comes from
// device/serial, then udev's ID_SERIAL_SHORT (/run/udev/data/b<major>:<minor>), then
// device/wwid; the first disk with any of them wins. Empty when no disk has one.
QString ReadFirstDiskSerial(const MachineSources &sources);

// Hardware addresses of the network adapters in interface-index order, each as read
// from /sys/class/net/<name>/address ("aa:bb:cc:dd:ee:ff"). Adapters without a 6-byte
// address (tunnels, point-to-point links) are not listed.
QStringList ReadAdapterAddresses(const MachineSources &sources);

// The per-user configuration folder: $XDG_CONFIG_HOME when absolute, else $HOME/.config.
// Empty when neither is known.
QString ConfigFolder(const MachineSources &sources);

} // namespace platform

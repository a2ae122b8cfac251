#include "machine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <arpa/inet.h>
#include <netdb.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// The first line of a small sysfs/procfs file, without its line break; empty on failure.
QString readLine(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = f.read(4096);
    const qsizetype nl = line.indexOf('\n');
    if (nl >= 0)
        line.truncate(nl);
    return QString::fromUtf8(line);
}

bool isVirtualOrNonDisk(const QString &name, const QString &blockDir)
{
    static const char *const skipped[] = {"loop", "ram", "zram", "dm-", "md", "sr", "fd", "nbd", "zd"};
    for (const char *prefix : skipped) {
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    }
    if (readLine(blockDir + QStringLiteral("/removable")).trimmed() == QLatin1String("1"))
        return true;
    // /sys/block/<name> links into /sys/devices; software devices live under devices/virtual.
    const QString target = QFileInfo(blockDir).canonicalFilePath();
    return target.contains(QLatin1String("/devices/virtual/"));
}

QString udevSerial(const MachineSources &sources, const QString &blockDir)
{
    const QString dev = readLine(blockDir + QStringLiteral("/dev")).trimmed();
    if (dev.isEmpty() || !dev.contains(u':'))
        return {};
    QFile f(sources.path(QStringLiteral("/run/udev/data/b") + dev));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray key = "E:ID_SERIAL_SHORT=";
    while (!f.atEnd()) {
        QByteArray line = f.readLine(8192);
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(key.size()));
    }
    return {};
}

} // namespace

MachineSources::MachineSources()
    : uid(::geteuid())
    , resolveIpv4(SystemResolveIpv4)
{
}

QString MachineSources::path(const QString &absolute) const
{
    if (isRealRoot())
        return absolute;
    QString r = root;
    while (r.endsWith(u'/'))
        r.chop(1);
    return r + absolute;
}

QString ReadHostName(const MachineSources &sources)
{
    QString name = readLine(sources.path(QStringLiteral("/proc/sys/kernel/hostname"))).trimmed();
    if (name.isEmpty() && sources.isRealRoot()) {
        char buffer[256] = {};
        if (::gethostname(buffer, sizeof buffer - 1) == 0)
            name = QString::fromLocal8Bit(buffer);
    }
    return name;
}

QString ReadUserName(const MachineSources &sources)
{
    if (sources.isRealRoot()) {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::vector<char> buffer(size_t(size > 0 ? size : 16384));
        passwd entry{};
        passwd *found = nullptr;
        if (::getpwuid_r(sources.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
            return QString::fromLocal8Bit(found->pw_name);
        return {};
    }
    QFile f(sources.path(QStringLiteral("/etc/passwd")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    while (!f.atEnd()) {
        const QList<QByteArray> parts = f.readLine(8192).trimmed().split(':');
        bool ok = false;
        if (parts.size() >= 3 && parts[2].toUInt(&ok) == sources.uid && ok)
            return QString::fromUtf8(parts[0]);
    }
    return {};
}

QStringList SystemResolveIpv4(const QString &hostName)
{
    QStringList result;
    if (hostName.isEmpty())
        return result;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *list = nullptr;
    if (::getaddrinfo(hostName.toLocal8Bit().constData(), nullptr, &hints, &list) != 0)
        return result;
    for (addrinfo *a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(a->ai_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            result.append(QString::fromLatin1(text));
    }
    ::freeaddrinfo(list);
    return result;
}

QString ReadFirstDiskSerial(const MachineSources &sources)
{
    const QString blockRoot = sources.path(QStringLiteral("/sys/block"));
    const QStringList names = QDir(blockRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString &name : names) {
        const QString blockDir = blockRoot + u'/' + name;
        if (isVirtualOrNonDisk(name, blockDir))
            continue;
        QString serial = readLine(blockDir + QStringLiteral("/device/serial"));
        if (serial.trimmed().isEmpty())
            serial = udevSerial(sources, blockDir);
        // wwid carries a naming-scheme prefix and padding, so it is the last resort.
        if (serial.trimmed().isEmpty())
            serial = readLine(blockDir + QStringLiteral("/device/wwid"));
        if (!serial.trimmed().isEmpty())
            return serial;
    }
    return {};
}

QStringList ReadAdapterAddresses(const MachineSources &sources)
{
    const QString netRoot = sources.path(QStringLiteral("/sys/class/net"));
    const QStringList names = QDir(netRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    struct Adapter {
        int index;
        QString name;
        QString address;
    };
    std::vector<Adapter> adapters;
    for (const QString &name : names) {
        const QString dir = netRoot + u'/' + name;
        const QString address = readLine(dir + QStringLiteral("/address")).trimmed();
        const QStringList bytes = address.split(u':');
        if (bytes.size() != 6)
            continue;
        bool ok = true;
        for (const QString &b : bytes) {
            bool byteOk = false;
            if (b.size() != 2 || (b.toUInt(&byteOk, 16), !byteOk))
                ok = false;
        }
        if (!ok)
            continue;
        bool indexOk = false;
        const int index = readLine(dir + QStringLiteral("/ifindex")).trimmed().toInt(&indexOk);
        adapters.push_back({indexOk ? index : INT_MAX, name, address});
    }
    std::stable_sort(adapters.begin(), adapters.end(), [](const Adapter &a, const Adapter &b) { return a.index < b.index; });
    QStringList result;
    for (const Adapter &a : adapters)
        result.append(a.address);
    return result;
}

QString ConfigFolder(const MachineSources &sources)
{
    const QString xdg = sources.environment.value(QStringLiteral("XDG_CONFIG_HOME"));
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    const QString home = sources.environment.value(QStringLiteral("HOME"));
    if (home.isEmpty())
        return {};
    return QDir::cleanPath(home + QStringLiteral("/.config"));
}

} // namespace platform

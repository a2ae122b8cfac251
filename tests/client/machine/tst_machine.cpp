// Identity of the computer read from fixture trees in place of /proc, /sys, /run and /etc.
#include "buildconfig.h"
#include "exception.h"
#include "machine.h"
#include "testmain.h"
#include "utilsmachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Builds a file tree from "path=content" entries; "path->target" makes a symbolic link.
void buildTree(const QString &root, const QStringList &entries)
{
    for (const QString &e : entries) {
        const qsizetype link = e.indexOf(QLatin1String("->"));
        const qsizetype eq = e.indexOf(u'=');
        if (link > 0 && (eq < 0 || link < eq)) {
            const QString path = root + e.left(link);
            QDir().mkpath(QFileInfo(path).path());
            const QString target = root + e.mid(link + 2);
            QDir().mkpath(target);
            QVERIFY(QFile::link(target, path));
            continue;
        }
        const QString path = root + e.left(eq);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(e.mid(eq + 1).toUtf8());
    }
}

} // namespace

class TstMachine : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    platform::MachineSources sourcesFor(const QStringList &entries)
    {
        static int n = 0;
        const QString root = m_dir.path() + QStringLiteral("/t") + QString::number(++n);
        QDir().mkpath(root);
        buildTree(root, entries);
        platform::MachineSources s;
        s.root = root;
        s.uid = 1000;
        s.environment = QProcessEnvironment();
        s.resolveIpv4 = [](const QString &) { return QStringList(); };
        return s;
    }

private Q_SLOTS:
    void computerId_data()
    {
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("expected");

        const QString eth = QStringLiteral("/sys/class/net/eth0/");
        QTest::newRow("serial with inner and outer blanks")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial=  WD 12 AB  \n")} << QStringLiteral("WD12AB");
        QTest::newRow("lower-case serial is upper-cased")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial=wd-abc12i\n")} << QStringLiteral("WD-ABC12I");
        QTest::newRow("udev serial when sysfs has none")
            << QStringList{QStringLiteral("/sys/block/sda/dev=8:0\n"),
                           QStringLiteral("/run/udev/data/b8:0=S:disk/by-id/x\nE:ID_SERIAL=Long_Name_S3Z\nE:ID_SERIAL_SHORT=s3z9nb0k\n")}
            << QStringLiteral("S3Z9NB0K");
        QTest::newRow("wwid as last resort")
            << QStringList{QStringLiteral("/sys/block/sda/device/wwid=t10.ATA Disk 42\n")} << QStringLiteral("T10.ATADISK42");
        QTest::newRow("loop, ram, zram, dm and removable disks are skipped")
            << QStringList{QStringLiteral("/sys/block/dm-0/device/serial=DM\n"),
                           QStringLiteral("/sys/block/loop0/device/serial=LOOP\n"),
                           QStringLiteral("/sys/block/ram0/device/serial=RAM\n"),
                           QStringLiteral("/sys/block/zram0/device/serial=ZRAM\n"),
                           QStringLiteral("/sys/block/sda/removable=1\n"),
                           QStringLiteral("/sys/block/sda/device/serial=USBSTICK\n"),
                           QStringLiteral("/sys/block/sdb/removable=0\n"),
                           QStringLiteral("/sys/block/sdb/device/serial=REALDISK\n")}
            << QStringLiteral("REALDISK");
        QTest::newRow("virtual block devices are skipped")
            << QStringList{QStringLiteral("/sys/block/vda->/sys/devices/virtual/block/vda"),
                           QStringLiteral("/sys/devices/virtual/block/vda/device/serial=VIRT\n"),
                           QStringLiteral("/sys/block/vdb->/sys/devices/pci0000:00/block/vdb"),
                           QStringLiteral("/sys/devices/pci0000:00/block/vdb/device/serial=PCI1\n")}
            << QStringLiteral("PCI1");
        QTest::newRow("no disk and a zero first adapter: the next adapter in index order")
            << QStringList{QStringLiteral("/sys/class/net/lo/address=00:00:00:00:00:00\n"),
                           QStringLiteral("/sys/class/net/lo/ifindex=1\n"),
                           QStringLiteral("/sys/class/net/aeth/address=02:00:00:00:00:09\n"),
                           QStringLiteral("/sys/class/net/aeth/ifindex=7\n"), eth + QStringLiteral("address=52:54:00:ab:cd:ef\n"),
                           eth + QStringLiteral("ifindex=2\n"),
                           QStringLiteral("/sys/class/net/tun0/address=\n"), QStringLiteral("/sys/class/net/tun0/ifindex=1\n")}
            << QStringLiteral("52-54-00-AB-CD-EF");
        QTest::newRow("a blank disk serial falls back to the adapter")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial=   \n"), eth + QStringLiteral("address=0a:0b:0c:0d:0e:0f\n"),
                           eth + QStringLiteral("ifindex=2\n")}
            << QStringLiteral("0A-0B-0C-0D-0E-0F");
        QTest::newRow("only zero adapters") << QStringList{QStringLiteral("/sys/class/net/lo/address=00:00:00:00:00:00\n")}
                                            << QStringLiteral("00-00-00-00-00-00");
        QTest::newRow("nothing at all") << QStringList{QStringLiteral("/sys/block/.keep=")} << QString();
        QTest::newRow("first alias serial")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial=") + QLatin1String(buildconfig::DiskAliasSerial1)}
            << QString::fromLatin1(buildconfig::DiskAliasId);
        QTest::newRow("second alias serial, lower case with blanks")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial= ")
                           + QString::fromLatin1(buildconfig::DiskAliasSerial2).toLower() + QStringLiteral(" \n")}
            << QString::fromLatin1(buildconfig::DiskAliasId);
        QTest::newRow("another serial stays itself")
            << QStringList{QStringLiteral("/sys/block/sda/device/serial=") + QLatin1String(buildconfig::DiskAliasSerial1)
                           + QStringLiteral("X")}
            << QString::fromLatin1(buildconfig::DiskAliasSerial1) + QStringLiteral("X");
    }

    void computerId()
    {
        QFETCH(QStringList, tree);
        QFETCH(QString, expected);
        QCOMPARE(BilgisayarIdAl(sourcesFor(tree)), expected);
    }

    void diskSerialRaisesWithoutDisk()
    {
        const auto s = sourcesFor({QStringLiteral("/sys/block/loop0/device/serial=LOOP\n")});
        QVERIFY_THROWS_EXCEPTION(platform::Exception, DiskSeriNoAl(s));
    }

    void namesLongerThanFifteenAreEmpty_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("15 characters") << QStringLiteral("abcdefghijklmno") << QStringLiteral("abcdefghijklmno");
        QTest::newRow("16 characters") << QStringLiteral("abcdefghijklmnop") << QString();
        QTest::newRow("missing") << QString() << QString();
    }

    void namesLongerThanFifteenAreEmpty()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QStringList tree{QStringLiteral("/etc/passwd=root:x:0:0::/root:/bin/sh\n")};
        if (!name.isEmpty()) {
            tree << QStringLiteral("/proc/sys/kernel/hostname=") + name + u'\n';
            tree[0] += name + QStringLiteral(":x:1000:1000::/home/u:/bin/sh\n");
        }
        const auto s = sourcesFor(tree);
        QCOMPARE(KullaniciAdiAl(s), expected);
        QCOMPARE(BilgisayarAdiAl(s), expected);
    }

    void localAddress()
    {
        auto s = sourcesFor({QStringLiteral("/proc/sys/kernel/hostname=atolye\n")});
        QString asked;
        s.resolveIpv4 = [&asked](const QString &host) {
            asked = host;
            return QStringList{QStringLiteral("192.168.1.20"), QStringLiteral("10.0.0.5")};
        };
        QCOMPARE(IcIpAl(s), QStringLiteral("192.168.1.20"));
        QCOMPARE(asked, QStringLiteral("atolye"));
        s.resolveIpv4 = [](const QString &) { return QStringList(); };
        QCOMPARE(IcIpAl(s), QStringLiteral("127.0.0.1"));
        // The real resolver answers for the loopback name.
        QCOMPARE(platform::SystemResolveIpv4(QStringLiteral("localhost")).value(0), QStringLiteral("127.0.0.1"));
    }

    void dataFolderCreatedAndReused()
    {
        auto s = sourcesFor({});
        const QString config = m_dir.path() + QStringLiteral("/config-home/deeper");
        s.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        const QString folder = VeriKlasoruAl(s);
        QCOMPARE(folder, config + QStringLiteral("/korveloto"));
        QVERIFY(QFileInfo(folder).isDir());

        QFile kept(folder + QStringLiteral("/ayar.ini"));
        QVERIFY(kept.open(QIODevice::WriteOnly));
        kept.write("[kullanici]\n");
        kept.close();
        QCOMPARE(VeriKlasoruAl(s), folder);
        QVERIFY(QFile::exists(folder + QStringLiteral("/ayar.ini")));

        // A relative XDG_CONFIG_HOME is ignored in favour of ~/.config.
        s.environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("relative/dir"));
        s.environment.insert(QStringLiteral("HOME"), m_dir.path() + QStringLiteral("/home"));
        QCOMPARE(VeriKlasoruAl(s), m_dir.path() + QStringLiteral("/home/.config/korveloto"));
    }
};

KORVEL_TEST_MAIN(TstMachine)
#include "tst_machine.moc"

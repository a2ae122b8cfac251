// The remembered-login file: literal UTF-8 keys, 1/0 Booleans, malformed files read as absent.
#include "inidosyasi.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>

class TstIniDosyasi : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString yaz(const QByteArray &icerik)
    {
        const QString yol = m_dir.filePath(QStringLiteral("ayar.ini"));
        QFile f(yol);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(icerik);
        return yol;
    }

private Q_SLOTS:
    void writesLiteralKeysAndKeepsOthers()
    {
        const QString yol = yaz("; elle yazılmış\n[baska]\nanahtar = değer \n\n[KULLANICI]\nISIM=ESKI\n");
        IniDosyasi ini;
        QVERIFY(ini.Yukle(yol));
        ini.YazMetin(QStringLiteral("kullanici"), QStringLiteral("isim"), QStringLiteral("ŞÜKRÜ"));
        ini.YazMetin(QStringLiteral("kullanici"), QStringLiteral("sifre"), QStringLiteral("A=B\nC"));
        ini.YazMantiksal(QStringLiteral("kullanici"), QStringLiteral("hatırla"), false);
        QVERIFY(ini.Kaydet(yol));
        const QFileDevice::Permissions izin = QFile::permissions(yol);
        QVERIFY(izin.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(!(izin & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther)));

        QFile f(yol);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()),
                 QStringLiteral("; elle yazılmış\n[baska]\nanahtar=değer\n\n[KULLANICI]\nISIM=ŞÜKRÜ\nsifre=A=B C\nhatırla=0\n"));

        IniDosyasi geri;
        QVERIFY(geri.Yukle(yol));
        QCOMPARE(geri.OkuMetin(QStringLiteral("kullanici"), QStringLiteral("sifre")), QStringLiteral("A=B C"));
        QCOMPARE(geri.OkuMantiksal(QStringLiteral("kullanici"), QStringLiteral("hatırla"), true), false);
        QCOMPARE(geri.OkuMetin(QStringLiteral("baska"), QStringLiteral("anahtar")), QStringLiteral("değer"));
    }

    void booleans_data()
    {
        QTest::addColumn<QByteArray>("deger");
        QTest::addColumn<bool>("varsayilan");
        QTest::addColumn<bool>("beklenen");
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("0") << QByteArray("0") << true << false;
        QTest::newRow("other integer") << QByteArray("-7") << false << true;
        QTest::newRow("text keeps the default") << QByteArray("evet") << true << true;
        QTest::newRow("empty keeps the default") << QByteArray("") << false << false;
    }

    void booleans()
    {
        QFETCH(QByteArray, deger);
        QFETCH(bool, varsayilan);
        QFETCH(bool, beklenen);
        IniDosyasi ini;
        QVERIFY(ini.Yukle(yaz("[kullanici]\nhatırla=" + deger + "\n")));
        QCOMPARE(ini.OkuMantiksal(QStringLiteral("kullanici"), QStringLiteral("hatırla"), varsayilan), beklenen);
    }

    void malformedReadsAsAbsent_data()
    {
        QTest::addColumn<QByteArray>("icerik");
        QTest::newRow("not UTF-8") << QByteArray("[kullanici]\nisim=\xff\xfe\n");
        QTest::newRow("key before any section") << QByteArray("isim=ALI\n[kullanici]\n");
        QTest::newRow("line without =") << QByteArray("[kullanici]\nisim ALI\n");
        QTest::newRow("unclosed section") << QByteArray("[kullanici\nisim=ALI\n");
        QTest::newRow("binary") << QByteArray("[kullanici]\nisim=A\0B\n", 20);
        QTest::newRow("huge") << QByteArray("[kullanici]\n") + QByteArray(300 * 1024, 'x');
    }

    void malformedReadsAsAbsent()
    {
        QFETCH(QByteArray, icerik);
        IniDosyasi ini;
        QVERIFY(!ini.Yukle(yaz(icerik)));
        QVERIFY(!ini.AnahtarVar(QStringLiteral("kullanici"), QStringLiteral("isim")));
        QVERIFY(!ini.Yukle(m_dir.filePath(QStringLiteral("yok.ini"))));
    }
};

KORVEL_TEST_MAIN(TstIniDosyasi)
#include "tst_inidosyasi.moc"

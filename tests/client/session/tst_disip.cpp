// The external address: asked again until the service answers, answer trimmed.
#include "disip.h"
#include "sahteipservisi.h"
#include "testmain.h"

#include <QElapsedTimer>

#include <future>

class TstDisIp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void asksUntilAnswered()
    {
        SahteIpServisi servis({{500, "hata"}, {0, {}}, {200, " \r\n 203.0.113.77 \r\n"}});
        const QString adres = servis.adres();
        QElapsedTimer saat;
        saat.start();
        auto sonuc = std::async(std::launch::async, [adres] { return DisIpSorgula(adres); });
        QTRY_VERIFY_WITH_TIMEOUT(sonuc.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
        QCOMPARE(sonuc.get(), QStringLiteral("203.0.113.77"));
        QCOMPARE(servis.istekSayisi(), 3);
        // One pause of a second after each of the two failures.
        QVERIFY2(saat.elapsed() >= 1900, qPrintable(QString::number(saat.elapsed())));
    }

    void singleAttempt_data()
    {
        QTest::addColumn<int>("durum");
        QTest::addColumn<QByteArray>("govde");
        QTest::addColumn<bool>("basarili");
        QTest::addColumn<QString>("beklenen");
        QTest::newRow("plain answer") << 200 << QByteArray("198.51.100.4\n") << true << QStringLiteral("198.51.100.4\n");
        QTest::newRow("blank answer is still an answer") << 200 << QByteArray("  ") << true << QStringLiteral("  ");
        QTest::newRow("server error") << 503 << QByteArray("1.2.3.4") << false << QString();
        QTest::newRow("not found") << 404 << QByteArray() << false << QString();
        QTest::newRow("dropped connection") << 0 << QByteArray() << false << QString();
    }

    void singleAttempt()
    {
        QFETCH(int, durum);
        QFETCH(QByteArray, govde);
        QFETCH(bool, basarili);
        QFETCH(QString, beklenen);
        SahteIpServisi servis({{durum, govde}});
        const QString adres = servis.adres();
        QString cevap;
        auto sonuc = std::async(std::launch::async, [adres, &cevap] { return DisIpSor(adres, {}, &cevap); });
        QTRY_VERIFY_WITH_TIMEOUT(sonuc.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10000);
        QCOMPARE(sonuc.get(), basarili);
        if (basarili)
            QCOMPARE(cevap, beklenen);
    }

    void unusableAddressesFail_data()
    {
        QTest::addColumn<QString>("adres");
        QTest::newRow("empty") << QString();
        QTest::newRow("other scheme") << QStringLiteral("ftp://127.0.0.1/ip");
        QTest::newRow("no host") << QStringLiteral("http:///ip");
    }

    void unusableAddressesFail()
    {
        QFETCH(QString, adres);
        QString cevap;
        QVERIFY(!DisIpSor(adres, {}, &cevap));
    }

    void truncatedBodyFails()
    {
        // A server that announces more than it sends and closes is not an answer.
        QTcpServer sunucu;
        QVERIFY(sunucu.listen(QHostAddress::LocalHost, 0));
        connect(&sunucu, &QTcpServer::newConnection, this, [&sunucu] {
            QTcpSocket *s = sunucu.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [s] {
                s->readAll();
                s->write("HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\n10.0.");
                s->disconnectFromHost();
            });
        });
        const QString adres = QStringLiteral("http://127.0.0.1:%1/ip").arg(sunucu.serverPort());
        QString cevap;
        auto sonuc = std::async(std::launch::async, [adres, &cevap] { return DisIpSor(adres, {}, &cevap); });
        QTRY_VERIFY_WITH_TIMEOUT(sonuc.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 10000);
        QVERIFY(!sonuc.get());
    }
};

KORVEL_TEST_MAIN(TstDisIp)
#include "tst_disip.moc"

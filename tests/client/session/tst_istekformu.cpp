// The server's request form for unknown computers: the form shows the identifier, a good
// post lands in the mail outbox, bad or oversized input gets a clear page and stores nothing.
#include "childprocess.h"
#include "testmain.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrlQuery>

namespace {
struct Cevap {
    int durum = 0;
    QString govde;
};
} // namespace

class TstIstekFormu : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    testsupport::ChildProcess m_server;
    QNetworkAccessManager m_ag;

    QUrl adres(const QString &sorgu = {}) const
    {
        QUrl u(QStringLiteral("http://127.0.0.1:%1/formmailgonder.aspx").arg(m_server.webPort()));
        if (!sorgu.isEmpty())
            u.setQuery(sorgu);
        return u;
    }

    Cevap bekle(QNetworkReply *r)
    {
        QSignalSpy bitti(r, &QNetworkReply::finished);
        if (!r->isFinished())
            bitti.wait(15000);
        Cevap c{r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), QString::fromUtf8(r->readAll())};
        r->deleteLater();
        return c;
    }

    Cevap gonder(const QByteArray &govde)
    {
        QNetworkRequest istek(adres());
        istek.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        return bekle(m_ag.post(istek, govde));
    }

    // Rows of the outbox written by the form, as "id|firm|contact|phone|mail|note".
    QStringList kayitlar()
    {
        QStringList sonuc;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("okuma"));
            db.setDatabaseName(m_dir.filePath(QStringLiteral("b2b.sqlite")));
            if (db.open()) {
                QSqlQuery q(QStringLiteral("SELECT idsi, firmaadi, yetkili, telefon, mail, konu FROM mail_kutusu "
                                           "WHERE tur = 'istekformu' ORDER BY mailno"),
                            db);
                while (q.next()) {
                    QStringList alanlar;
                    for (int i = 0; i < 6; ++i)
                        alanlar << q.value(i).toString();
                    sonuc << alanlar.join(u'|');
                }
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("okuma"));
        return sonuc;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_server.start(QStringLiteral(KORVEL_SERVER_BIN),
                                {QStringLiteral("--db"), m_dir.filePath(QStringLiteral("b2b.sqlite")),
                                 QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--web-port"),
                                 QStringLiteral("0")}),
                 qPrintable(m_server.errorString()));
    }

    void formShowsTheIdentifier()
    {
        // As the login window opens it: a blank after "kullanici=" and an identifier needing escapes.
        const Cevap c = bekle(m_ag.get(QNetworkRequest(adres(QStringLiteral("carino=0&kullanici=%20&id=AB%3Cb%3E7")))));
        QCOMPARE(c.durum, 200);
        QVERIFY2(c.govde.contains(QStringLiteral("Bilgisayar kimliği: <b id=\"kimlik\">AB&lt;b&gt;7</b>")), qPrintable(c.govde));
        QVERIFY(!c.govde.contains(QStringLiteral("AB<b>7")));
        for (const char *alan : {"firma", "yetkili", "telefon", "eposta", "not", "id", "carino", "kullanici"})
            QVERIFY2(c.govde.contains(QStringLiteral("name=\"%1\"").arg(QLatin1String(alan))), alan);
        QVERIFY(c.govde.contains(QStringLiteral("method=\"post\"")));
    }

    void goodPostIsStored()
    {
        const Cevap c = gonder("carino=0&kullanici=+&id=PC-42&firma=%C3%96z+Oto&yetkili=Ay%C5%9Fe+Kaya"
                               "&telefon=0224+555+01+02&eposta=ayse%40ozoto.example&not=Sat%C4%B1r+1%0D%0ASat%C4%B1r+2");
        QCOMPARE(c.durum, 200);
        QVERIFY2(c.govde.contains(QStringLiteral("İsteğiniz alındı")), qPrintable(c.govde));
        QVERIFY(c.govde.contains(QStringLiteral("Öz Oto")));
        QCOMPARE(kayitlar(), QStringList{QStringLiteral("PC-42|Öz Oto|Ayşe Kaya|0224 555 01 02|ayse@ozoto.example|Satır 1\r\nSatır 2")});
    }

    void badInputStoresNothing_data()
    {
        QTest::addColumn<QByteArray>("govde");
        QTest::addColumn<int>("durum");
        QTest::addColumn<QString>("mesaj");
        const QByteArray iyi = "id=PC-9&yetkili=Ali&telefon=0212+444+00+00&eposta=&not=";
        QTest::newRow("firm missing") << QByteArray(iyi + "&firma=+++") << 400 << QStringLiteral("Firma adı boş bırakılamaz.");
        QTest::newRow("identifier missing") << QByteArray("firma=A&yetkili=Ali&telefon=0212+444+00+00") << 400
                                            << QStringLiteral("Bilgisayar kimliği eksik veya geçersiz.");
        QTest::newRow("phone with letters") << QByteArray("id=PC-9&firma=A&yetkili=Ali&telefon=bizi+arayin") << 400
                                            << QStringLiteral("Telefon numarası geçersiz.");
        QTest::newRow("e-mail without @") << QByteArray(iyi + "&firma=A").replace("eposta=", "eposta=ali.example.com")
                                          << 400 << QStringLiteral("E-posta adresi geçersiz.");
        QTest::newRow("firm too long") << QByteArray(iyi + "&firma=" + QByteArray(151, 'x')) << 400
                                       << QStringLiteral("Firma adı en fazla 150 karakter olabilir.");
        QTest::newRow("control character") << QByteArray(iyi + "&firma=A%07B") << 400
                                           << QStringLiteral("Firma adı geçersiz karakterler içeriyor.");
        QTest::newRow("not UTF-8") << QByteArray(iyi + "&firma=%FF%FE") << 400
                                   << QStringLiteral("Form geçersiz karakterler içeriyor.");
        QTest::newRow("body over the limit") << QByteArray(iyi + "&firma=A&not=" + QByteArray(1100 * 1024, 'n')) << 413
                                             << QString();
    }

    void badInputStoresNothing()
    {
        QFETCH(QByteArray, govde);
        QFETCH(int, durum);
        QFETCH(QString, mesaj);
        const QStringList once = kayitlar();
        const Cevap c = gonder(govde);
        QCOMPARE(c.durum, durum);
        if (!mesaj.isEmpty()) {
            QVERIFY2(c.govde.contains(QStringLiteral("Form gönderilemedi")), qPrintable(c.govde));
            QVERIFY2(c.govde.contains(mesaj.toHtmlEscaped()), qPrintable(c.govde));
        }
        QCOMPARE(kayitlar(), once);
    }

    void cleanupTestCase()
    {
        m_server.stop();
    }
};

KORVEL_TEST_MAIN(TstIstekFormu)
#include "tst_istekformu.moc"

// The picture control against a small loopback web server whose answers each test sets.
#include "asyncresimu.h"
#include "testmain.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

QByteArray picture(const char *format, QColor color)
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(color);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

// Answers GET requests with one status, content type and body per path; a held path
// keeps the connection open without an answer until release().
class WebServer : public QObject {
public:
    struct Answer {
        int status = 200;
        QByteArray type;
        QByteArray body;
    };

    WebServer()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        });
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    void set(const QByteArray &path, Answer a) { m_answers[path] = std::move(a); }
    void hold(const QByteArray &path) { m_held = path; }
    void release()
    {
        for (const QPointer<QTcpSocket> &s : std::as_const(m_waiting))
            if (s)
                answer(s, m_answers.value(m_held));
        m_waiting.clear();
    }
    int requests(const QByteArray &path) const { return m_count.value(path); }

private:
    void read(QTcpSocket *s)
    {
        QByteArray &buf = m_buffers[s];
        buf += s->readAll();
        if (!buf.contains("\r\n\r\n"))
            return;
        const QByteArray path = buf.split(' ').value(1);
        buf.clear();
        ++m_count[path];
        if (path == m_held)
            m_waiting << s;
        else
            answer(s, m_answers.value(path, Answer{404, {}, {}}));
    }
    void answer(QTcpSocket *s, const Answer &a)
    {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\nContent-Length: "
                          + QByteArray::number(a.body.size()) + "\r\n";
        if (!a.type.isEmpty())
            head += "Content-Type: " + a.type + "\r\n";
        s->write(head + "\r\n" + a.body);
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QHash<QByteArray, int> m_count;
    QByteArray m_held;
    QList<QPointer<QTcpSocket>> m_waiting;
};

QColor shown(const TAsyncResim &r)
{
    return r.Picture().isNull() ? QColor() : r.Picture().toImage().pixelColor(0, 0);
}

// Sets the address and waits until its download was handled; returns whether it changed the picture.
bool load(TAsyncResim &r, const QString &url)
{
    QSignalSpy spy(&r, &TAsyncResim::Islendi);
    r.SetUrl(url);
    if (!spy.wait(5000))
        return false;
    return spy.first().first().toBool();
}

} // namespace

class TestAsyncResim : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameAddressDownloadsOnce();
    void emptyAddressKeepsThePicture();
    void answers_data();
    void answers();
    void destroyedDuringDownload();
};

void TestAsyncResim::sameAddressDownloadsOnce()
{
    WebServer web;
    web.set("/a", {200, "image/png", picture("PNG", Qt::blue)});
    TAsyncResim r;
    QVERIFY(load(r, web.url("/a")));
    QCOMPARE(shown(r), QColor(Qt::blue));
    r.SetUrl(web.url("/a"));
    QTest::qWait(100);
    QCOMPARE(web.requests("/a"), 1);
    QCOMPARE(r.Url(), web.url("/a"));
}

void TestAsyncResim::emptyAddressKeepsThePicture()
{
    WebServer web;
    web.set("/a", {200, "image/png", picture("PNG", Qt::blue)});
    TAsyncResim r;
    QVERIFY(load(r, web.url("/a")));
    r.SetUrl(QString());
    QCOMPARE(r.Url(), QString());
    QTest::qWait(50);
    QCOMPARE(shown(r), QColor(Qt::blue));
    // The same address after the empty one is a new request.
    QVERIFY(load(r, web.url("/a")));
    QCOMPARE(web.requests("/a"), 2);
}

void TestAsyncResim::answers_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QColor>("after");
    const QColor old(Qt::blue);
    const QByteArray png = picture("PNG", Qt::green);
    QTest::newRow("png") << 200 << QByteArray("image/png") << png << QColor(Qt::green);
    QTest::newRow("jpeg") << 200 << QByteArray("image/jpeg") << picture("JPEG", Qt::white) << QColor(Qt::white);
    QTest::newRow("jpg upper case") << 200 << QByteArray("image/JPG") << picture("JPEG", Qt::white)
                                    << QColor(Qt::white);
    QTest::newRow("bmp") << 200 << QByteArray("image/bmp") << picture("BMP", Qt::red) << QColor(Qt::red);
    QTest::newRow("gif ignored") << 200 << QByteArray("image/gif") << png << old;
    QTest::newRow("jpeg type, png body") << 200 << QByteArray("image/jpeg") << png << old;
    QTest::newRow("type with parameters") << 200 << QByteArray("image/png; charset=utf-8") << png << old;
    QTest::newRow("no type") << 200 << QByteArray() << png << old;
    QTest::newRow("empty body") << 200 << QByteArray("image/png") << QByteArray() << old;
    QTest::newRow("404 empty") << 404 << QByteArray() << QByteArray() << old;
    QTest::newRow("truncated png") << 200 << QByteArray("image/png") << png.left(png.size() / 2) << old;
    QTest::newRow("garbage") << 200 << QByteArray("image/bmp") << QByteArray(300, 'x') << old;
}

void TestAsyncResim::answers()
{
    QFETCH(int, status);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, body);
    QFETCH(QColor, after);
    WebServer web;
    web.set("/old", {200, "image/png", picture("PNG", Qt::blue)});
    web.set("/new", {status, type, body});
    TAsyncResim r;
    QVERIFY(load(r, web.url("/old")));
    load(r, web.url("/new"));
    QCOMPARE(web.requests("/new"), 1);
    const QColor c = shown(r);
    QVERIFY2(qAbs(c.red() - after.red()) < 8 && qAbs(c.green() - after.green()) < 8
                 && qAbs(c.blue() - after.blue()) < 8,
             qPrintable(c.name()));
}

void TestAsyncResim::destroyedDuringDownload()
{
    WebServer web;
    web.set("/slow", {200, "image/png", picture("PNG", Qt::blue)});
    web.hold("/slow");
    QWidget window;
    auto *r = new TAsyncResim(&window);
    window.show();
    r->SetUrl(web.url("/slow"));
    QTRY_COMPARE(web.requests("/slow"), 1);
    delete r;
    web.release();
    QTest::qWait(200);
    QVERIFY(window.findChildren<TAsyncResim *>().isEmpty());
}

KORVEL_TEST_MAIN(TestAsyncResim)
#include "tst_asyncresim.moc"

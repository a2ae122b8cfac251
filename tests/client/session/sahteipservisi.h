#pragma once
// A what-is-my-IP service for tests, served on the test's own event loop: each request
// takes the next scripted answer (the last one repeats). An answer is a full HTTP status
// and body, or a dropped connection.
#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

class SahteIpServisi : public QObject {
public:
    struct Cevap {
        int durum = 200;      // 0: close the connection without answering
        QByteArray govde;
    };

    explicit SahteIpServisi(QList<Cevap> senaryo, QObject *parent = nullptr)
        : QObject(parent)
        , m_senaryo(std::move(senaryo))
    {
        m_sunucu.listen(QHostAddress::LocalHost, 0);
        connect(&m_sunucu, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_sunucu.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, s, [this, s] { oku(s); });
            }
        });
    }

    QString adres() const { return QStringLiteral("http://127.0.0.1:%1/ip").arg(m_sunucu.serverPort()); }
    int istekSayisi() const { return m_istek; }

private:
    void oku(QTcpSocket *s)
    {
        QByteArray &tampon = m_tamponlar[s];
        tampon += s->readAll();
        if (!tampon.contains("\r\n\r\n"))
            return;
        m_tamponlar.remove(s);
        const Cevap c = m_senaryo.value(qMin(m_istek, int(m_senaryo.size()) - 1));
        ++m_istek;
        if (c.durum != 0) {
            s->write("HTTP/1.1 " + QByteArray::number(c.durum) + " X\r\nContent-Type: text/plain\r\nContent-Length: "
                     + QByteArray::number(c.govde.size()) + "\r\nConnection: close\r\n\r\n" + c.govde);
        }
        s->disconnectFromHost();
    }

    QTcpServer m_sunucu;
    QList<Cevap> m_senaryo;
    QHash<QTcpSocket *, QByteArray> m_tamponlar;
    int m_istek = 0;
};

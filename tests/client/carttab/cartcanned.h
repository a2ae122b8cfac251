#pragma once
// A canned server for the cart page's calls: answers per method, every call recorded.
#include "netfixture.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QPair>

namespace carttest {

using Answer = nettest::CannedServer::Answer;

inline Answer cevapla(int status, const QByteArray &body)
{
    Answer a;
    a.status = status;
    a.body = body;
    return a;
}

inline Answer sonuc(const QJsonValue &value)
{
    return cevapla(200, QJsonDocument(QJsonObject{{QStringLiteral("result"), QJsonArray{value}}}).toJson());
}

inline Answer bos()
{
    return cevapla(200, QByteArrayLiteral("{\"result\":[]}"));
}

inline Answer hata(const char *message)
{
    return cevapla(500, QJsonDocument(QJsonObject{{QStringLiteral("error"), QString::fromUtf8(message)}}).toJson());
}

struct Sunucu {
    QMutex lock;
    QHash<QString, Answer> cevaplar;
    QList<QPair<QString, QJsonArray>> cagrilar;
    nettest::CannedServer server{[this](const QString &method, const QByteArray &body) {
        QMutexLocker l(&lock);
        cagrilar.append({method, QJsonDocument::fromJson(body).object().value(QStringLiteral("_parameters")).toArray()});
        return cevaplar.value(method, hata("bilinmeyen"));
    }};
    void cevap(const QString &method, const Answer &a)
    {
        QMutexLocker l(&lock);
        cevaplar.insert(method, a);
    }
    QList<QJsonArray> parametreler(const QString &method)
    {
        QMutexLocker l(&lock);
        QList<QJsonArray> r;
        for (const auto &c : cagrilar)
            if (c.first == method)
                r.append(c.second);
        return r;
    }
    std::unique_ptr<platform::TSQLConnection> baglanti() { return nettest::loopbackConnection(server.port()); }
};

} // namespace carttest

#include "asyncresimu.h"

#include "utils.h"

#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>

namespace {

// Graphic format for the part of the content type after "image/"; null for none.
const char *bicim(const QString &tur)
{
    if (tur == QLatin1String("jpeg") || tur == QLatin1String("jpg"))
        return "JPEG";
    if (tur == QLatin1String("bmp"))
        return "BMP";
    if (tur == QLatin1String("png"))
        return "PNG";
    return nullptr;
}

} // namespace

TAsyncResim::TAsyncResim(QWidget *owner)
    : QWidget(owner),
      FHTTPClient(new QNetworkAccessManager(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
}

TAsyncResim::~TAsyncResim()
{
    // Abort a running transfer while this object is still whole; an answer that ends
    // during the abort is ignored, so nothing repaints or touches freed state later.
    iptal = true;
    delete FHTTPClient;
}

void TAsyncResim::SetUrl(const QString &url)
{
    if (url == FUrl)
        return;
    FUrl = url;
    if (FUrl.isEmpty())
        return;
    QNetworkRequest request{QUrl(FUrl)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = FHTTPClient->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > EnBuyukBoyut || total > EnBuyukBoyut)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { Geldi(reply); });
}

void TAsyncResim::Geldi(QNetworkReply *reply)
{
    reply->deleteLater();
    if (iptal)
        return;
    // An aborted or oversized transfer counts as no answer.
    const QByteArray icerik = reply->error() == QNetworkReply::OperationCanceledError ? QByteArray() : reply->readAll();
    if (icerik.isEmpty() || icerik.size() > EnBuyukBoyut) {
        Q_EMIT Islendi(false);
        return;
    }
    // "image/<kind>": the kind decides the decoder; anything else leaves the picture.
    const QString tur = QString::fromLatin1(reply->rawHeader("Content-Type")).mid(6).toLower();
    const char *format = bicim(tur);
    QImage resim;
    if (!format || !resim.loadFromData(icerik, format) || resim.isNull()) {
        Q_EMIT Islendi(false);
        return;
    }
    FPicture = QPixmap::fromImage(std::move(resim));
    update();
    Q_EMIT Islendi(true);
}

void TAsyncResim::paintEvent(QPaintEvent *)
{
    if (FPicture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize boyut = FPicture.size().scaled(size(), Qt::KeepAspectRatio);
    QRect hedef(QPoint(0, 0), boyut);
    hedef.moveCenter(rect().center());
    p.drawPixmap(hedef, FPicture);
}

QString StokResimAdresi(qint64 stokNo)
{
    return ResimAdresi() + QString::number(stokNo);
}

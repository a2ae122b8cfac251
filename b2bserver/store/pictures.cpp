#include "pictures.h"

#include "gifencoder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace store {

namespace {

bool canDrawText()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

QByteArray encode(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QColor hueColor(int variant, int saturation = 160, int value = 210)
{
    return QColor::fromHsv((variant * 47) % 360, saturation, value);
}

void drawCaption(QPainter &p, const QRect &rect, const QString &text, int pixelSize, const QColor &color,
                 Qt::Alignment align = Qt::AlignCenter)
{
    if (!canDrawText())
        return;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect, int(align), text);
}

} // namespace

QByteArray productPicture(int variant, bool jpeg)
{
    QImage image(240, 180, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = hueColor(variant);
    QLinearGradient bg(0, 0, 0, 180);
    bg.setColorAt(0, QColor(250, 250, 252));
    bg.setColorAt(1, QColor(224, 228, 234));
    p.fillRect(image.rect(), bg);

    // A stylised part: a disc, a cylinder or a bracket, depending on the variant.
    p.setPen(QPen(base.darker(160), 3));
    p.setBrush(base);
    switch (variant % 3) {
    case 0: {
        p.drawEllipse(QPointF(120, 90), 62, 62);
        p.setBrush(base.lighter(150));
        p.drawEllipse(QPointF(120, 90), 24, 24);
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3 + variant;
            p.drawEllipse(QPointF(120 + 42 * std::cos(a), 90 + 42 * std::sin(a)), 6, 6);
        }
        break;
    }
    case 1: {
        p.drawRoundedRect(QRectF(50, 50, 140, 80), 14, 14);
        p.setBrush(base.lighter(140));
        for (int i = 0; i < 5; ++i)
            p.drawRect(QRectF(62 + i * 25, 40, 14, 100));
        break;
    }
    default: {
        QPainterPath path;
        path.moveTo(40, 140);
        path.lineTo(40, 60);
        path.lineTo(120, 40);
        path.lineTo(200, 60);
        path.lineTo(200, 140);
        path.closeSubpath();
        p.drawPath(path);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(80, 100), 12, 12);
        p.drawEllipse(QPointF(160, 100), 12, 12);
        break;
    }
    }
    drawCaption(p, QRect(0, 150, 232, 28), QStringLiteral("KORVEL"), 12, base.darker(200),
                Qt::AlignRight | Qt::AlignVCenter);
    p.end();
    return jpeg ? encode(image, "JPEG", 80) : encode(image, "PNG");
}

QByteArray topBannerGif()
{
    const int width = 960, height = 60, frames = 6;
    QList<GifFrame> list;
    for (int f = 0; f < frames; ++f) {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient bg(0, 0, width, 0);
        bg.setColorAt(0, QColor(18, 52, 110));
        bg.setColorAt(1, QColor(196, 30, 42));
        p.fillRect(image.rect(), bg);
        // A light band sweeping across, one step per frame.
        const int x = f * width / frames;
        p.fillRect(QRect(x, 0, width / frames / 2, height), QColor(255, 255, 255, 60));
        p.setPen(QPen(QColor(255, 204, 0), 4));
        p.drawLine(0, height - 4, width, height - 4);
        drawCaption(p, image.rect(),
                    f % 2 ? QStringLiteral("Kampanyalı ürünlerde büyük indirim!")
                          : QStringLiteral("Korvel Oto Yedek Parça B2B"),
                    26, Qt::white);
        p.end();
        list.append({image, 700});
    }
    return encodeGif(list);
}

QByteArray bottomBannerBmp()
{
    QImage image(800, 40, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(240, 240, 240));
    for (int i = 0; i < 8; ++i)
        p.fillRect(QRect(i * 100 + 4, 6, 92, 28), hueColor(i + 3, 120, 230));
    drawCaption(p, image.rect(), QStringLiteral("Yağ filtresi · Fren balatası · Amortisör · Triger seti"), 16,
                QColor(30, 30, 30));
    p.end();
    return encode(image, "BMP");
}

QByteArray plainBannerPng()
{
    QImage image(600, 60, QImage::Format_RGB32);
    image.fill(QColor(18, 52, 110));
    QPainter p(&image);
    drawCaption(p, image.rect(), QStringLiteral("Korvel Oto"), 24, Qt::white);
    p.end();
    return encode(image, "PNG");
}

QByteArray announcementJpeg(int variant, const QString &title)
{
    QImage image(640, 400, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 640, 400);
    bg.setColorAt(0, hueColor(variant * 3 + 1, 140, 240));
    bg.setColorAt(1, hueColor(variant * 3 + 2, 200, 150));
    p.fillRect(image.rect(), bg);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QPointF(500, 110), 150, 150);
    p.drawEllipse(QPointF(120, 330), 90, 90);
    drawCaption(p, QRect(30, 120, 580, 160), title, 34, Qt::white, Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    p.end();
    return encode(image, "JPEG", 85);
}

} // namespace store

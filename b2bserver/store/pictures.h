#pragma once
// Pictures of the demo data, drawn with QPainter. Text is drawn only when a
// QGuiApplication exists (fonts need one); otherwise the pictures carry shapes alone.
#include <QByteArray>
#include <QString>

namespace store {

// A product picture of `variant`, PNG or JPEG, about 240 x 180.
QByteArray productPicture(int variant, bool jpeg);
// Animated GIF strip for the top of the main window.
QByteArray topBannerGif();
// Windows bitmap strip that scrolls along the bottom of the main window.
QByteArray bottomBannerBmp();
// Single-picture banner of the older banner method (PNG).
QByteArray plainBannerPng();
// JPEG picture of an announcement / opening advertisement.
QByteArray announcementJpeg(int variant, const QString &title);

} // namespace store

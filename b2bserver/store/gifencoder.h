#pragma once
// A small GIF89a writer (Qt reads GIF but cannot write it): LZW-compressed frames, each
// with its own palette, looping forever when there is more than one frame.
#include <QByteArray>
#include <QImage>
#include <QList>

namespace store {

struct GifFrame {
    QImage image;
    int delayMs = 100;
};

// All frames must have the size of the first one. Returns an empty array for no frames.
QByteArray encodeGif(const QList<GifFrame> &frames);

} // namespace store

#include "gifencoder.h"

#include <unordered_map>

namespace store {

namespace {

void putWord(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray &out) : m_out(out) {}
    void write(int code, int width)
    {
        m_bits |= quint32(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            pushByte(char(m_bits & 0xff));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void finish()
    {
        if (m_count > 0)
            pushByte(char(m_bits & 0xff));
        flushBlock();
        m_out.append('\0');  // block terminator
    }

private:
    void pushByte(char b)
    {
        m_block.append(b);
        if (m_block.size() == 255)
            flushBlock();
    }
    void flushBlock()
    {
        if (m_block.isEmpty())
            return;
        m_out.append(char(m_block.size()));
        m_out.append(m_block);
        m_block.clear();
    }
    QByteArray &m_out;
    QByteArray m_block;
    quint32 m_bits = 0;
    int m_count = 0;
};

void writeLzw(QByteArray &out, const QImage &indexed)
{
    const int minCodeSize = 8;
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    out.append(char(minCodeSize));
    CodeWriter writer(out);

    std::unordered_map<quint32, int> table;
    int nextCode = endCode + 1;
    int width = minCodeSize + 1;
    writer.write(clearCode, width);

    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *line = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int k = line[x];
            if (prefix < 0) {
                prefix = k;
                continue;
            }
            const quint32 key = (quint32(prefix) << 8) | quint32(k);
            const auto it = table.find(key);
            if (it != table.end()) {
                prefix = it->second;
                continue;
            }
            writer.write(prefix, width);
            if (nextCode < 4096) {
                table.emplace(key, nextCode);
                // The decoder widens its codes one step later than we add them.
                if (nextCode == (1 << width) && width < 12)
                    ++width;
                ++nextCode;
            } else {
                writer.write(clearCode, width);
                table.clear();
                nextCode = endCode + 1;
                width = minCodeSize + 1;
            }
            prefix = k;
        }
    }
    if (prefix >= 0)
        writer.write(prefix, width);
    writer.write(endCode, width);
    writer.finish();
}

} // namespace

QByteArray encodeGif(const QList<GifFrame> &frames)
{
    if (frames.isEmpty())
        return {};
    const QSize size = frames.first().image.size();
    QByteArray out("GIF89a");
    putWord(out, size.width());
    putWord(out, size.height());
    out.append(char(0));  // no global colour table
    out.append(char(0));  // background colour index
    out.append(char(0));  // pixel aspect ratio

    if (frames.size() > 1) {
        out.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
        putWord(out, 0);  // loop forever
        out.append('\0');
    }

    for (const GifFrame &frame : frames) {
        QImage indexed = frame.image.convertToFormat(QImage::Format_RGB32)
                             .scaled(size)
                             .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        QList<QRgb> palette = indexed.colorTable();
        palette.resize(256, qRgb(0, 0, 0));

        // Graphic control: delay in hundredths of a second, restore nothing.
        out.append("\x21\xf9\x04\x04", 4);
        putWord(out, qMax(1, frame.delayMs / 10));
        out.append('\0');
        out.append('\0');

        out.append(char(0x2c));
        putWord(out, 0);
        putWord(out, 0);
        putWord(out, size.width());
        putWord(out, size.height());
        out.append(char(0x87));  // local colour table of 256 entries
        for (QRgb c : palette) {
            out.append(char(qRed(c)));
            out.append(char(qGreen(c)));
            out.append(char(qBlue(c)));
        }
        writeLzw(out, indexed);
    }
    out.append(char(0x3b));
    return out;
}

} // namespace store

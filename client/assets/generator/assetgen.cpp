// Draws the client's pictures: logo, icons, status pictures and the animated GIFs.
// Run once after a change of the drawings: assetgen <client/assets directory>.
// Qt writes no GIF, so a small GIF89a writer (popularity palette, LZW) is included.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

// The palette of the "dividoro" look.
const QColor Slate(61, 65, 74);
const QColor SlateDark(42, 45, 52);
const QColor Amber(232, 160, 40);
const QColor AmberDark(196, 118, 22);
const QColor Paper(244, 245, 247);
const QColor Green(46, 160, 67);
const QColor Red(208, 52, 44);
const QColor Blue(40, 110, 200);
const QColor Purple(122, 82, 184);
const QColor Teal(24, 150, 150);
const QColor Magenta(196, 48, 140);

QString g_outDir;

QImage canvas(int w, int h, const QColor &fill = Qt::transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void save(const QImage &img, const QString &name)
{
    const QString path = g_outDir + u'/' + name;
    if (!img.save(path, "PNG"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// ---------------------------------------------------------------- GIF writer

class GifWriter {
public:
    GifWriter(int w, int h) : m_w(w), m_h(h) {}

    void addFrame(const QImage &frame, int delayCs) { m_frames.push_back({frame.convertToFormat(QImage::Format_ARGB32), delayCs}); }

    bool write(const QString &path)
    {
        buildPalette();
        QByteArray out;
        out += "GIF89a";
        put16(out, m_w);
        put16(out, m_h);
        out += char(0xF7); // global table, 8 bits, 256 entries
        out += char(0);
        out += char(0);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < int(m_palette.size()) ? m_palette[size_t(i)] : 0;
            out += char(qRed(c));
            out += char(qGreen(c));
            out += char(qBlue(c));
        }
        // Loop for ever.
        out += QByteArray::fromHex("21FF0B4E45545343415045322E300301000000");
        for (const Frame &f : m_frames) {
            out += char(0x21);
            out += char(0xF9);
            out += char(4);
            out += char((2 << 2) | (m_transparent >= 0 ? 1 : 0));
            put16(out, f.delay);
            out += char(m_transparent >= 0 ? m_transparent : 0);
            out += char(0);
            out += char(0x2C);
            put16(out, 0);
            put16(out, 0);
            put16(out, m_w);
            put16(out, m_h);
            out += char(0);
            out += char(8);
            const QByteArray data = lzw(indices(f.image));
            for (qsizetype i = 0; i < data.size(); i += 255) {
                const qsizetype n = std::min<qsizetype>(255, data.size() - i);
                out += char(n);
                out += data.mid(i, n);
            }
            out += char(0);
        }
        out += char(0x3B);
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
    }

private:
    struct Frame {
        QImage image;
        int delay;
    };

    static void put16(QByteArray &out, int v)
    {
        out += char(v & 0xFF);
        out += char((v >> 8) & 0xFF);
    }

    static bool clearPixel(QRgb c) { return qAlpha(c) < 128; }
    static QRgb opaque(QRgb c) { return qRgb(qRed(c), qGreen(c), qBlue(c)); }

    // The 255 most frequent colours (one entry kept for transparency when needed).
    void buildPalette()
    {
        std::unordered_map<QRgb, int> counts;
        bool anyClear = false;
        for (const Frame &f : m_frames) {
            for (int y = 0; y < m_h; ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(f.image.constScanLine(y));
                for (int x = 0; x < m_w; ++x) {
                    if (clearPixel(line[x]))
                        anyClear = true;
                    else
                        ++counts[opaque(line[x])];
                }
            }
        }
        std::vector<std::pair<int, QRgb>> byCount;
        for (auto [c, n] : counts)
            byCount.push_back({n, c});
        std::sort(byCount.begin(), byCount.end(), [](auto a, auto b) { return a.first != b.first ? a.first > b.first : a.second < b.second; });
        const size_t room = anyClear ? 255 : 256;
        if (anyClear) {
            m_transparent = 0;
            m_palette.push_back(qRgb(255, 0, 255));
        }
        for (size_t i = 0; i < byCount.size() && i < room; ++i)
            m_palette.push_back(byCount[i].second);
    }

    int nearest(QRgb c)
    {
        if (auto it = m_cache.find(c); it != m_cache.end())
            return it->second;
        int best = 0;
        long bestD = -1;
        for (int i = m_transparent >= 0 ? 1 : 0; i < int(m_palette.size()); ++i) {
            const QRgb p = m_palette[size_t(i)];
            const long dr = qRed(p) - qRed(c), dg = qGreen(p) - qGreen(c), db = qBlue(p) - qBlue(c);
            const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (bestD < 0 || d < bestD) {
                bestD = d;
                best = i;
            }
        }
        m_cache[c] = best;
        return best;
    }

    std::vector<int> indices(const QImage &img)
    {
        std::vector<int> idx;
        idx.reserve(size_t(m_w * m_h));
        for (int y = 0; y < m_h; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < m_w; ++x)
                idx.push_back(clearPixel(line[x]) ? m_transparent : nearest(opaque(line[x])));
        }
        return idx;
    }

    static QByteArray lzw(const std::vector<int> &pixels)
    {
        const int minCode = 8, clearCode = 256;
        QByteArray out;
        quint32 bitBuf = 0;
        int bitCount = 0;
        int codeSize = minCode + 1;
        auto putCode = [&](int code) {
            bitBuf |= quint32(code) << bitCount;
            bitCount += codeSize;
            while (bitCount >= 8) {
                out += char(bitBuf & 0xFF);
                bitBuf >>= 8;
                bitCount -= 8;
            }
        };
        std::unordered_map<quint32, int> dict;
        int maxCode = clearCode + 1;
        putCode(clearCode);
        int cur = -1;
        for (int p : pixels) {
            if (cur < 0) {
                cur = p;
                continue;
            }
            const quint32 key = (quint32(cur) << 8) | quint32(p);
            if (auto it = dict.find(key); it != dict.end()) {
                cur = it->second;
                continue;
            }
            putCode(cur);
            dict[key] = ++maxCode;
            if (maxCode >= (1 << codeSize))
                ++codeSize;
            if (maxCode == 4095) {
                putCode(clearCode);
                dict.clear();
                codeSize = minCode + 1;
                maxCode = clearCode + 1;
            }
            cur = p;
        }
        putCode(cur);
        putCode(clearCode);
        putCode(clearCode + 1);
        if (bitCount > 0)
            out += char(bitBuf & 0xFF);
        return out;
    }

    int m_w, m_h;
    std::vector<Frame> m_frames;
    std::vector<QRgb> m_palette;
    int m_transparent = -1;
    std::map<QRgb, int> m_cache;
};

// ---------------------------------------------------------------- drawings

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// A wheel rim with five spokes, the brand's mark.
void drawWheel(QPainter &p, QPointF c, qreal r, qreal angleDeg, const QColor &tyre, const QColor &rim)
{
    p.save();
    p.translate(c);
    p.setPen(Qt::NoPen);
    p.setBrush(tyre);
    p.drawEllipse(QPointF(0, 0), r, r);
    p.setBrush(rim);
    p.drawEllipse(QPointF(0, 0), r * 0.72, r * 0.72);
    p.setBrush(tyre);
    p.drawEllipse(QPointF(0, 0), r * 0.22, r * 0.22);
    p.rotate(angleDeg);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.rotate(i * 72.0);
        p.setBrush(tyre);
        p.drawEllipse(QPointF(0, -r * 0.47), r * 0.15, r * 0.15);
        p.restore();
    }
    p.restore();
}

void makeLogo()
{
    QImage img = canvas(360, 96);
    QPainter p(&img);
    prepare(p);
    drawWheel(p, QPointF(48, 48), 40, 0, Slate, Amber);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(40);
    p.setFont(f);
    p.setPen(Slate);
    p.drawText(QRectF(100, 6, 260, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KORVEL"));
    f.setPixelSize(18);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(f);
    p.setPen(AmberDark);
    p.drawText(QRectF(102, 54, 260, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("OTO YEDEK PARÇA"));
    p.end();
    save(img, QStringLiteral("logo.png"));
}

// Header picture: the wheel turning beside "B2B".
void makeHeaderGif()
{
    const int w = 150, h = 90;
    GifWriter gif(w, h);
    for (int i = 0; i < 18; ++i) {
        QImage img = canvas(w, h, Paper);
        QPainter p(&img);
        prepare(p);
        drawWheel(p, QPointF(45, 45), 36, i * 4.0, Slate, Amber);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(30);
        p.setFont(f);
        const qreal glow = 0.5 + 0.5 * std::sin(i * 2 * M_PI / 18);
        QColor c = Slate;
        c = QColor::fromRgbF(Slate.redF() + (Amber.redF() - Slate.redF()) * glow,
                             Slate.greenF() + (Amber.greenF() - Slate.greenF()) * glow,
                             Slate.blueF() + (Amber.blueF() - Slate.blueF()) * glow);
        p.setPen(c);
        p.drawText(QRectF(84, 0, 66, h), Qt::AlignCenter, QStringLiteral("B2B"));
        p.end();
        gif.addFrame(img, 8);
    }
    gif.write(g_outDir + QStringLiteral("/ustresim.gif"));
}

// The busy animation: twelve dots, one bright, running round.
void makeBusyGif()
{
    const int w = 28, h = 27;
    GifWriter gif(w, h);
    for (int i = 0; i < 12; ++i) {
        QImage img = canvas(w, h, Paper);
        QPainter p(&img);
        prepare(p);
        p.translate(w / 2.0, h / 2.0);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 12; ++k) {
            const int age = (i - k + 12) % 12;
            QColor c = age == 0 ? AmberDark : age < 4 ? Amber : Slate;
            c.setAlphaF(age == 0 ? 1.0 : age < 4 ? 0.85 - age * 0.12 : 0.25);
            p.setBrush(c);
            const qreal a = k * 30.0 * M_PI / 180.0;
            p.drawEllipse(QPointF(std::sin(a) * 9.5, -std::cos(a) * 9.5), 2.2, 2.2);
        }
        p.end();
        gif.addFrame(img, 8);
    }
    gif.write(g_outDir + QStringLiteral("/bekle.gif"));
}

// Icons: 32 px, slate line drawings with an amber accent.
using Draw = void (*)(QPainter &);

void icon(const QString &name, Draw draw, int size = 32, const QColor &pen = Slate)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    prepare(p);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(pen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    draw(p);
    p.end();
    save(img, name);
}

void accent(QPainter &p)
{
    p.setPen(QPen(Amber, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void drawSearch(QPainter &p)
{
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
    accent(p);
    p.setPen(QPen(Amber, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19.5, 19.5), QPointF(27, 27));
}

void drawClear(QPainter &p)
{
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
}

void drawMenu(QPainter &p)
{
    for (int y : {9, 16, 23})
        p.drawLine(QPointF(6, y), QPointF(26, y));
}

void drawList(QPainter &p)
{
    for (int y : {8, 16, 24}) {
        p.drawRect(QRectF(5, y - 2.5, 5, 5));
        p.drawLine(QPointF(14, y), QPointF(27, y));
    }
}

void drawCart(QPainter &p)
{
    QPainterPath path;
    path.moveTo(3, 6);
    path.lineTo(7, 6);
    path.lineTo(10, 21);
    path.lineTo(25, 21);
    path.lineTo(28, 10);
    path.lineTo(8.2, 10);
    p.drawPath(path);
    accent(p);
    p.drawEllipse(QPointF(12, 26), 2, 2);
    p.drawEllipse(QPointF(23, 26), 2, 2);
}

void drawClock(QPainter &p)
{
    p.drawEllipse(QPointF(16, 16), 11.5, 11.5);
    accent(p);
    p.drawLine(QPointF(16, 16), QPointF(16, 9));
    p.drawLine(QPointF(16, 16), QPointF(21, 19));
}

void drawDocument(QPainter &p)
{
    QPainterPath path;
    path.moveTo(7, 4);
    path.lineTo(19, 4);
    path.lineTo(25, 10);
    path.lineTo(25, 28);
    path.lineTo(7, 28);
    path.closeSubpath();
    p.drawPath(path);
    accent(p);
    for (int y : {14, 19, 24})
        p.drawLine(QPointF(11, y), QPointF(21, y));
}

QPainterPath starPath(QPointF c, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = (i * 36.0 - 90.0) * M_PI / 180.0;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawStar(QPainter &p)
{
    p.setBrush(Amber);
    p.drawPath(starPath(QPointF(16, 17), 12.5, 5.5));
}

void drawTag(QPainter &p)
{
    QPainterPath path;
    path.moveTo(4, 6);
    path.lineTo(15, 6);
    path.lineTo(28, 19);
    path.lineTo(17, 30);
    path.lineTo(4, 17);
    path.closeSubpath();
    p.drawPath(path);
    accent(p);
    p.drawLine(QPointF(12, 22), QPointF(20, 14));
    p.drawEllipse(QPointF(12.5, 15), 1.4, 1.4);
    p.drawEllipse(QPointF(19.5, 21), 1.4, 1.4);
}

void drawMegaphone(QPainter &p)
{
    QPainterPath path;
    path.moveTo(5, 12);
    path.lineTo(12, 12);
    path.lineTo(24, 5);
    path.lineTo(24, 27);
    path.lineTo(12, 20);
    path.lineTo(5, 20);
    path.closeSubpath();
    p.drawPath(path);
    accent(p);
    p.drawLine(QPointF(9, 20), QPointF(11, 27));
    p.drawArc(QRectF(22, 11, 8, 10), -60 * 16, 120 * 16);
}

void drawScale(QPainter &p)
{
    p.drawLine(QPointF(16, 5), QPointF(16, 27));
    p.drawLine(QPointF(9, 27), QPointF(23, 27));
    p.drawLine(QPointF(6, 9), QPointF(26, 9));
    accent(p);
    p.drawArc(QRectF(2, 12, 10, 8), 180 * 16, 180 * 16);
    p.drawArc(QRectF(20, 12, 10, 8), 180 * 16, 180 * 16);
    p.drawLine(QPointF(2, 16), QPointF(6, 9));
    p.drawLine(QPointF(12, 16), QPointF(6, 9));
    p.drawLine(QPointF(20, 16), QPointF(26, 9));
    p.drawLine(QPointF(30, 16), QPointF(26, 9));
}

void drawCard(QPainter &p)
{
    p.drawRoundedRect(QRectF(3, 7, 26, 18), 3, 3);
    accent(p);
    p.setPen(QPen(Amber, 3.5));
    p.drawLine(QPointF(4.5, 12.5), QPointF(27.5, 12.5));
    p.setPen(QPen(Slate, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 20), QPointF(14, 20));
}

// Status pictures: 16 px filled badges, one colour each.
void badge(const QString &name, const QColor &colour, void (*mark)(QPainter &))
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    mark(p);
    p.end();
    save(img, name);
}

void markCheck(QPainter &p)
{
    QPainterPath path;
    path.moveTo(4.5, 8.5);
    path.lineTo(7, 11);
    path.lineTo(11.5, 5.5);
    p.drawPath(path);
}

void markCross(QPainter &p)
{
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
}

void markExclamation(QPainter &p)
{
    p.drawLine(QPointF(8, 4), QPointF(8, 9));
    p.drawPoint(QPointF(8, 12));
}

void markPhone(QPainter &p)
{
    QPainterPath path;
    path.moveTo(5, 4.5);
    path.cubicTo(3.5, 8, 8, 12.5, 11.5, 11);
    p.drawPath(path);
    p.drawLine(QPointF(5, 4.5), QPointF(6.5, 6.5));
    p.drawLine(QPointF(11.5, 11), QPointF(9.5, 9.5));
}

void markTruck(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.3));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 5.5, 6, 4.5));
    p.drawRect(QRectF(9.5, 7, 3, 3));
    p.drawEllipse(QPointF(5.5, 11.3), 1.1, 1.1);
    p.drawEllipse(QPointF(11, 11.3), 1.1, 1.1);
}

void markHourglass(QPainter &p)
{
    QPainterPath path;
    path.moveTo(5, 4);
    path.lineTo(11, 4);
    path.lineTo(5, 12);
    path.lineTo(11, 12);
    path.closeSubpath();
    p.drawPath(path);
}

void markStar(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(starPath(QPointF(8, 8.4), 5.6, 2.4));
}

void markPicture(QPainter &p)
{
    p.drawRect(QRectF(4, 5, 8, 6.5));
    p.drawLine(QPointF(5, 10.5), QPointF(7.5, 8));
    p.drawLine(QPointF(7.5, 8), QPointF(11, 10.5));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen <output directory>\n");
        return 2;
    }
    g_outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_outDir);

    makeLogo();
    makeHeaderGif();
    makeBusyGif();

    icon(QStringLiteral("ara.png"), drawSearch);
    icon(QStringLiteral("temizle.png"), drawClear, 32, Red);
    icon(QStringLiteral("menu.png"), drawMenu);
    icon(QStringLiteral("sekme_stok.png"), drawList, 32, Qt::white);
    icon(QStringLiteral("sekme_sepet.png"), drawCart, 32, Qt::white);
    icon(QStringLiteral("sekme_onceki.png"), drawClock, 32, Qt::white);
    icon(QStringLiteral("sekme_ekstre.png"), drawDocument, 32, Qt::white);
    icon(QStringLiteral("sekme_yeni.png"), drawStar, 32, Qt::white);
    icon(QStringLiteral("sekme_kampanya.png"), drawTag, 32, Qt::white);
    icon(QStringLiteral("sekme_duyuru.png"), drawMegaphone, 32, Qt::white);
    icon(QStringLiteral("sekme_bakiye.png"), drawScale, 32, Qt::white);
    icon(QStringLiteral("sekme_sanalpos.png"), drawCard, 32, Qt::white);

    // Stock status pictures by DURUM value, plus the legend's critical level.
    badge(QStringLiteral("durum0_yok.png"), Red, markCross);
    badge(QStringLiteral("durum1_var.png"), Green, markCheck);
    badge(QStringLiteral("durum2_telefon.png"), Blue, markPhone);
    badge(QStringLiteral("durum3_yolda.png"), Purple, markTruck);
    badge(QStringLiteral("durum4_ozel.png"), Magenta, markStar);
    badge(QStringLiteral("durum5_tedarik.png"), Teal, markHourglass);
    badge(QStringLiteral("durum_kritik.png"), Amber, markExclamation);
    // Flag pictures of the stock lists.
    badge(QStringLiteral("evet.png"), Green, markCheck);
    badge(QStringLiteral("hayir.png"), QColor(170, 174, 182), markCross);
    badge(QStringLiteral("resim.png"), Slate, markPicture);
    return 0;
}

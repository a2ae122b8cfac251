#include "jsonscanner.h"

#include "codec.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace wire::detail {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Rough power of ten of a valid JSON number without its sign: > 0 when it is at least 1.
// Only used to tell overflow from underflow.
qint64 decimalMagnitude(const char *p, const char *end)
{
    qint64 magnitude = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    for (; p < end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            afterPoint = true;
            continue;
        }
        if (!seenNonZero) {
            if (*p != '0')
                seenNonZero = true;
            if (afterPoint)
                --magnitude;
            else if (seenNonZero)
                ++magnitude;
        } else if (!afterPoint) {
            ++magnitude;
        }
    }
    if (!seenNonZero)
        return std::numeric_limits<qint64>::min();
    if (p < end) {
        ++p;
        bool negative = false;
        if (*p == '+' || *p == '-')
            negative = *p++ == '-';
        qint64 exponent = 0;
        for (; p < end && exponent < 1000000000; ++p)
            exponent = exponent * 10 + (*p - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

} // namespace

void JsonScanner::fail(const QString &what) const
{
    throw DecodeError(QStringLiteral("Geçersiz JSON (konum %1): %2").arg(offset()).arg(what));
}

void JsonScanner::skipWhite()
{
    while (m_p < m_end && (*m_p == ' ' || *m_p == '\n' || *m_p == '\r' || *m_p == '\t'))
        ++m_p;
}

char JsonScanner::peek()
{
    skipWhite();
    return m_p < m_end ? *m_p : '\0';
}

bool JsonScanner::atEnd()
{
    skipWhite();
    return m_p >= m_end;
}

void JsonScanner::expectEnd()
{
    if (!atEnd())
        fail(QStringLiteral("belgenin sonunda fazladan veri var"));
}

void JsonScanner::expect(char c)
{
    skipWhite();
    if (m_p >= m_end)
        fail(QStringLiteral("'%1' beklenirken veri bitti").arg(QLatin1Char(c)));
    if (*m_p != c)
        fail(QStringLiteral("'%1' bekleniyordu").arg(QLatin1Char(c)));
    ++m_p;
}

bool JsonScanner::consume(char c)
{
    skipWhite();
    if (m_p < m_end && *m_p == c) {
        ++m_p;
        return true;
    }
    return false;
}

bool JsonScanner::consumeLiteral(const char *word)
{
    skipWhite();
    const char *q = m_p;
    for (const char *w = word; *w; ++w, ++q) {
        if (q >= m_end || *q != *w)
            return false;
    }
    m_p = q;
    return true;
}

bool JsonScanner::readBool()
{
    if (consumeLiteral("true"))
        return true;
    if (consumeLiteral("false"))
        return false;
    fail(QStringLiteral("true ya da false bekleniyordu"));
}

JsonNumber JsonScanner::readNumber()
{
    skipWhite();
    const char *start = m_p;
    const char *q = m_p;
    bool negative = false;
    if (q < m_end && *q == '-') {
        negative = true;
        ++q;
    }
    if (q >= m_end || !isDigit(*q))
        fail(QStringLiteral("sayı bekleniyordu"));
    const char *intStart = q;
    if (*q == '0') {
        ++q;
    } else {
        while (q < m_end && isDigit(*q))
            ++q;
    }
    const char *intEnd = q;
    bool hasFraction = false;
    bool hasExponent = false;
    if (q < m_end && *q == '.') {
        ++q;
        if (q >= m_end || !isDigit(*q))
            fail(QStringLiteral("ondalık noktadan sonra rakam yok"));
        while (q < m_end && isDigit(*q))
            ++q;
        hasFraction = true;
    }
    if (q < m_end && (*q == 'e' || *q == 'E')) {
        ++q;
        if (q < m_end && (*q == '+' || *q == '-'))
            ++q;
        if (q >= m_end || !isDigit(*q))
            fail(QStringLiteral("üs rakamı yok"));
        while (q < m_end && isDigit(*q))
            ++q;
        hasExponent = true;
    }
    m_p = q;

    JsonNumber n;
    if (!hasFraction && !hasExponent) {
        // Plain integer: accumulate exactly; fall back to a double beyond 64 bits.
        quint64 magnitude = 0;
        bool overflow = false;
        for (const char *d = intStart; d < intEnd; ++d) {
            if (__builtin_mul_overflow(magnitude, quint64(10), &magnitude)
                || __builtin_add_overflow(magnitude, quint64(*d - '0'), &magnitude)) {
                overflow = true;
                break;
            }
        }
        const quint64 limit = negative ? quint64(1) << 63 : (quint64(1) << 63) - 1;
        if (!overflow && magnitude <= limit) {
            n.integer = negative ? qint64(0 - magnitude) : qint64(magnitude);
            n.real = negative && magnitude == 0 ? -0.0 : double(n.integer); // "-0" keeps its sign as a double
            n.isInteger = true;
            n.integral = true;
            return n;
        }
    }
    double d = 0;
    const auto res = std::from_chars(start, q, d);
    if (res.ec == std::errc::result_out_of_range) {
        // Tiny values underflow to zero harmlessly; huge ones cannot be represented.
        if (decimalMagnitude(intStart, q) > 0)
            fail(QStringLiteral("sayı aralık dışında"));
        d = 0;
    } else if (res.ec != std::errc() || res.ptr != q || !std::isfinite(d)) {
        fail(QStringLiteral("sayı okunamadı"));
    }
    n.real = d;
    n.integral = std::trunc(d) == d;
    if (n.integral && d >= -9223372036854775808.0 && d < 9223372036854775808.0) {
        n.integer = qint64(d);
        n.isInteger = true;
    }
    return n;
}

void JsonScanner::readEscape(char16_t *&out)
{
    // m_p is on the character after the backslash.
    if (m_p >= m_end)
        fail(QStringLiteral("metin bitmeden veri bitti"));
    const char c = *m_p++;
    switch (c) {
    case '"': *out++ = u'"'; return;
    case '\\': *out++ = u'\\'; return;
    case '/': *out++ = u'/'; return;
    case 'b': *out++ = u'\b'; return;
    case 'f': *out++ = u'\f'; return;
    case 'n': *out++ = u'\n'; return;
    case 'r': *out++ = u'\r'; return;
    case 't': *out++ = u'\t'; return;
    case 'u': {
        if (m_end - m_p < 4)
            fail(QStringLiteral("eksik \\u kaçışı"));
        int v = 0;
        for (int i = 0; i < 4; ++i) {
            const int h = hexValue(m_p[i]);
            if (h < 0)
                fail(QStringLiteral("geçersiz \\u kaçışı"));
            v = v * 16 + h;
        }
        m_p += 4;
        *out++ = char16_t(v);
        return;
    }
    default:
        fail(QStringLiteral("geçersiz kaçış dizisi"));
    }
}

void JsonScanner::decodeUtf8(const unsigned char *&in, const unsigned char *stop, char16_t *&out)
{
    // One multi-byte sequence starting at *in (>= 0x80); rejects overlong forms,
    // surrogates and code points above U+10FFFF.
    const unsigned char b0 = *in;
    int extra;
    char32_t cp;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1; cp = b0 & 0x1F; min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2; cp = b0 & 0x0F; min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3; cp = b0 & 0x07; min = 0x10000;
    } else {
        m_p = reinterpret_cast<const char *>(in);
        fail(QStringLiteral("geçersiz UTF-8"));
    }
    if (stop - in <= extra) {
        m_p = reinterpret_cast<const char *>(in);
        fail(QStringLiteral("geçersiz UTF-8"));
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char b = in[i];
        if ((b & 0xC0) != 0x80) {
            m_p = reinterpret_cast<const char *>(in);
            fail(QStringLiteral("geçersiz UTF-8"));
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        m_p = reinterpret_cast<const char *>(in);
        fail(QStringLiteral("geçersiz UTF-8"));
    }
    in += extra + 1;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        *out++ = char16_t(0xD800 + (cp >> 10));
        *out++ = char16_t(0xDC00 + (cp & 0x3FF));
    } else {
        *out++ = char16_t(cp);
    }
}

QString JsonScanner::readString()
{
    expect('"');
    const char *start = m_p;
    const char *q = m_p;
    bool plain = true;
    // Find the closing quote; note whether escapes or non-ASCII bytes need decoding.
    for (;;) {
        if (q >= m_end) {
            m_p = q;
            fail(QStringLiteral("kapanmamış metin"));
        }
        const unsigned char c = static_cast<unsigned char>(*q);
        if (c == '"')
            break;
        if (c < 0x20) {
            m_p = q;
            fail(QStringLiteral("metinde denetim karakteri"));
        }
        if (c == '\\') {
            plain = false;
            q += 2;
            continue;
        }
        if (c >= 0x80)
            plain = false;
        ++q;
    }
    if (plain) {
        m_p = q + 1;
        return QString::fromLatin1(start, q - start);
    }
    // UTF-16 never needs more units than the UTF-8 bytes it came from.
    QString result(q - start, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    char16_t *const outBegin = out;
    const unsigned char *in = reinterpret_cast<const unsigned char *>(start);
    const unsigned char *stop = reinterpret_cast<const unsigned char *>(q);
    while (in < stop) {
        const unsigned char c = *in;
        if (c < 0x80) {
            if (c == '\\') {
                m_p = reinterpret_cast<const char *>(in + 1);
                readEscape(out);
                in = reinterpret_cast<const unsigned char *>(m_p);
            } else {
                *out++ = c;
                ++in;
            }
        } else {
            decodeUtf8(in, stop, out);
        }
    }
    if (in != stop) {
        m_p = reinterpret_cast<const char *>(in);
        fail(QStringLiteral("kapanmamış metin"));
    }
    result.truncate(out - outBegin);
    m_p = q + 1;
    return result;
}

void JsonScanner::skipString()
{
    // Same checks as readString, without building the text.
    expect('"');
    char16_t scratch[2];
    for (;;) {
        if (m_p >= m_end)
            fail(QStringLiteral("kapanmamış metin"));
        const unsigned char c = static_cast<unsigned char>(*m_p);
        if (c == '"') {
            ++m_p;
            return;
        }
        if (c < 0x20)
            fail(QStringLiteral("metinde denetim karakteri"));
        char16_t *out = scratch;
        if (c == '\\') {
            ++m_p;
            readEscape(out);
        } else if (c >= 0x80) {
            const unsigned char *in = reinterpret_cast<const unsigned char *>(m_p);
            decodeUtf8(in, reinterpret_cast<const unsigned char *>(m_end), out);
            m_p = reinterpret_cast<const char *>(in);
        } else {
            ++m_p;
        }
    }
}

void JsonScanner::skipValue()
{
    skipValue(0);
}

void JsonScanner::skipValue(int depth)
{
    if (depth > maxDepth)
        fail(QStringLiteral("iç içe geçme çok derin"));
    const char c = peek();
    switch (c) {
    case '{':
        ++m_p;
        if (consume('}'))
            return;
        do {
            skipString();
            expect(':');
            skipValue(depth + 1);
        } while (consume(','));
        expect('}');
        return;
    case '[':
        ++m_p;
        if (consume(']'))
            return;
        do {
            skipValue(depth + 1);
        } while (consume(','));
        expect(']');
        return;
    case '"':
        skipString();
        return;
    case 't':
    case 'f':
        readBool();
        return;
    case 'n':
        if (!consumeLiteral("null"))
            fail(QStringLiteral("geçersiz değer"));
        return;
    case '\0':
        fail(QStringLiteral("değer beklenirken veri bitti"));
    default:
        skipNumber();
        return;
    }
}

void JsonScanner::skipNumber()
{
    // Grammar only; converting is the costly part and a skipped value needs none.
    const char *q = m_p;
    if (q < m_end && *q == '-')
        ++q;
    if (q >= m_end || !isDigit(*q))
        fail(QStringLiteral("sayı bekleniyordu"));
    if (*q == '0') {
        ++q;
    } else {
        while (q < m_end && isDigit(*q))
            ++q;
    }
    if (q < m_end && *q == '.') {
        ++q;
        if (q >= m_end || !isDigit(*q))
            fail(QStringLiteral("ondalık noktadan sonra rakam yok"));
        while (q < m_end && isDigit(*q))
            ++q;
    }
    if (q < m_end && (*q == 'e' || *q == 'E')) {
        ++q;
        if (q < m_end && (*q == '+' || *q == '-'))
            ++q;
        if (q >= m_end || !isDigit(*q))
            fail(QStringLiteral("üs rakamı yok"));
        while (q < m_end && isDigit(*q))
            ++q;
    }
    m_p = q;
}

} // namespace wire::detail

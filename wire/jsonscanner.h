#pragma once
// Internal: a strict, allocation-light JSON reader over UTF-8 bytes. The table and
// stream decoders use it to fill typed storage without building a QJsonDocument first.
#include <QString>

#include <cstddef>

namespace wire::detail {

struct JsonNumber {
    double real = 0;       // always set
    qint64 integer = 0;    // set when isInteger
    bool isInteger = false; // integral and exactly representable as qint64
    bool integral = false;  // no fractional part (may still be outside qint64)
};

class JsonScanner {
public:
    JsonScanner(const char *begin, const char *end) : m_begin(begin), m_p(begin), m_end(end) {}

    // Next significant character after white space, or 0 at the end.
    char peek();
    void expect(char c);
    bool consume(char c);          // after white space
    bool consumeLiteral(const char *word); // true, false, null
    bool atEnd();
    void expectEnd();

    QString readString();
    JsonNumber readNumber();
    bool readBool();
    // Skips any value, checking its syntax. Nesting deeper than maxDepth is refused.
    void skipValue();
    std::ptrdiff_t offset() const { return m_p - m_begin; }
    const char *position() const { return m_p; }

    [[noreturn]] void fail(const QString &what) const;

    static constexpr int maxDepth = 512;

private:
    void skipWhite();
    void skipValue(int depth);
    void skipString();
    void skipNumber();
    void readEscape(char16_t *&out);
    void decodeUtf8(const unsigned char *&in, const unsigned char *stop, char16_t *&out);

    const char *m_begin;
    const char *m_p;
    const char *m_end;
};

} // namespace wire::detail

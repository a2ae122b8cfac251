#pragma once
// The platform's general exception: every connection, transport, protocol or decoding
// failure reaches callers as this class, carrying a message that can be shown as is.
#include <QString>

#include <stdexcept>

namespace platform {

class Exception : public std::runtime_error {
public:
    explicit Exception(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// A text that cannot be converted to a number or date.
class ConvertError : public Exception {
public:
    using Exception::Exception;
};

} // namespace platform

#pragma once

#include <QString>
#include <exception>

namespace quillio {

// Base of every error the program raises on purpose. It carries the text the person reads; the
// default error handler shows it and the program goes on.
class QuillioError : public std::exception
{
public:
    explicit QuillioError(QString text);
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace quillio

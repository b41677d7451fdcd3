#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace core {

// An error meant for the clerk: its text is shown as it stands in the program's
// error report (a message box), so it is kept as a QString, not a byte string.
class AppError : public std::exception {
public:
    explicit AppError(QString text);
    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

// The system's own text for the last failed system call (errno).
QString systemErrorText();

// A text that does not read as a number (Str_ToNumber, Str_StrToDouble, line numbers).
class ConversionError : public AppError {
public:
    using AppError::AppError;
};

// The database engine refused a statement or the connection; carries the engine's text.
class DbError : public AppError {
public:
    using AppError::AppError;
};

} // namespace core

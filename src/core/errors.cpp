#include "errors.h"

#include <cerrno>
#include <cstring>

namespace core {

AppError::AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

QString systemErrorText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace core

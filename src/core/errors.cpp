#include "errors.h"

AppError::AppError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

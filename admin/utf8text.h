#pragma once

#include <QByteArray>
#include <QStringEncoder>
#include <QStringView>

namespace admin {

// Appends a text to bytes in UTF-8 without a byte array of its own: the
// long passes (COPY lines, checksums) meet millions of texts.
inline void appendUtf8(QByteArray& out, QStringView text)
{
    static thread_local QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype at = out.size();
    out.resize(at + 3 * text.size()); // the most UTF-8 a UTF-16 unit makes
    out.truncate(utf8.appendToBuffer(out.data() + at, text) - out.constData());
}

} // namespace admin

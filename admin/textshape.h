#pragma once

#include <QString>

namespace admin {

// Whether text has the shape of a pattern, character by character: '0' a
// digit, '?' a 'T' or a blank (the two separators of a date and time), any
// other character itself. A test by hand, as a pattern match for every value
// of millions of rows costs more than reading them.
inline bool hasShape(QStringView text, const char* shape)
{
    qsizetype i = 0;
    for (; shape[i] != '\0'; ++i) {
        if (i >= text.size())
            return false;
        const QChar c = text[i];
        const char want = shape[i];
        if (want == '0' ? (c < u'0' || c > u'9') : want == '?' ? (c != u'T' && c != u' ') : c != QLatin1Char(want))
            return false;
    }
    return i == text.size();
}

} // namespace admin

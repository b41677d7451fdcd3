#include "csvtext.h"

#include <algorithm>

namespace admin {

QList<CsvRecord> parseCsv(const QString& text)
{
    QList<CsvRecord> records;
    CsvRecord record;
    QString field;
    int line = 1;
    bool quoted = false;      // inside a quoted field
    bool afterQuote = false;  // a quoted field just closed
    bool recordOpen = false;  // something of the record was read
    int quoteLine = 0;
    const auto endField = [&] {
        record.fields << field;
        field.clear();
        afterQuote = false;
    };
    const auto endRecord = [&] {
        endField();
        records << record;
        record = CsvRecord();
        recordOpen = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (!recordOpen) {
            record.line = line;
            recordOpen = true;
        }
        if (c == u',') {
            endField();
        } else if (c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) {
            if (c == u'\r')
                ++i;
            endRecord();
            ++line;
        } else if (afterQuote) {
            throw CsvSyntaxError{line, QStringLiteral("따옴표로 닫은 값 뒤에 쉼표나 줄바꿈이 아닌 글자가 있습니다.")};
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
            quoteLine = line;
        } else {
            field += c;
        }
    }
    if (quoted)
        throw CsvSyntaxError{quoteLine, QStringLiteral("따옴표로 연 값이 파일 끝까지 닫히지 않았습니다.")};
    if (recordOpen)
        endRecord();
    return records;
}

QString csvLine(const QStringList& fields)
{
    // One pass a field and one string for the record: an export writes millions.
    QString line;
    for (qsizetype n = 0; n < fields.size(); ++n) {
        const QString& f = fields[n];
        if (n > 0)
            line += u',';
        const bool needsQuotes =
            !f.isEmpty() && (f.front() == u' ' || f.back() == u' ' || std::any_of(f.cbegin(), f.cend(), [](QChar c) {
                return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
            }));
        if (needsQuotes)
            line += u'"' + QString(f).replace(u'"', QStringLiteral("\"\"")) + u'"';
        else
            line += f;
    }
    line += QStringLiteral("\r\n");
    return line;
}

namespace {

// A spreadsheet runs a cell that begins with one of these as a formula.
// Apostrophes in front are counted through, so that a text that begins with
// apostrophes and then such a character gets one more and reads back the same.
bool formulaLike(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'\'')
        ++i;
    return i < text.size() && QStringView(u"=+-@\t\r").contains(text[i]);
}

} // namespace

QString formulaGuarded(const QString& text)
{
    return formulaLike(text) ? u'\'' + text : text;
}

QString formulaUnguarded(const QString& text)
{
    return text.startsWith(u'\'') && formulaLike(text.mid(1)) ? text.mid(1) : text;
}

} // namespace admin

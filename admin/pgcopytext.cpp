#include "pgcopytext.h"

#include "utf8text.h"

#include "core/errors.h"

#include <QDateTime>
#include <QLocale>
#include <cstring>
#include <cmath>
#include <limits>

namespace admin {

namespace {

// Server type numbers (pg_type.oid), fixed since the types were made.
enum : unsigned {
    kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25, kFloat4 = 700, kFloat8 = 701,
    kBpchar = 1042, kVarchar = 1043, kDate = 1082, kTimestamp = 1114, kNumeric = 1700,
};

// A text in UTF-8 straight into the line, escaped where it must be (rarely).
void appendText(QByteArray& line, QStringView text)
{
    const qsizetype at = line.size();
    appendUtf8(line, text);
    qsizetype special = at;
    const auto plain = [](char c) { return c != '\\' && c != '\t' && c != '\n' && c != '\r'; };
    while (special < line.size() && plain(line[special]))
        ++special;
    if (special == line.size())
        return;
    const QByteArray rest = line.mid(special);
    line.truncate(special);
    for (const char c : rest) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += c;
        }
    }
}

QByteArray doubleText(double value)
{
    if (std::isnan(value))
        return QByteArrayLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

int digitsAt(const char* text, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

[[noreturn]] void unreadable(const CopyField& field)
{
    throw core::DbError(QStringLiteral("서버가 준 값 \"%1\"을(를) 읽을 수 없습니다.")
                      .arg(QString::fromUtf8(field.data, qMin(field.length, 40))));
}

// "yyyy-MM-dd HH:mm:ss[.ffffff]", the fraction cut to milliseconds as the
// ODBC driver's timestamp structure is.
QDateTime timestampOf(const CopyField& field)
{
    const char* t = field.data;
    const int n = field.length;
    if (n < 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' || t[16] != ':' || (n > 19 && t[19] != '.'))
        unreadable(field);
    int ms = 0;
    for (int i = 20, scale = 100; i < n; ++i, scale /= 10) {
        if (t[i] < '0' || t[i] > '9')
            unreadable(field);
        ms += (t[i] - '0') * scale;
    }
    const QDate date(digitsAt(t, 0, 4), digitsAt(t, 5, 2), digitsAt(t, 8, 2));
    const QTime time(digitsAt(t, 11, 2), digitsAt(t, 14, 2), digitsAt(t, 17, 2), ms);
    if (!date.isValid() || !time.isValid())
        unreadable(field);
    return QDateTime(date, time);
}

double doubleOf(const CopyField& field)
{
    const QByteArray text = QByteArray::fromRawData(field.data, field.length);
    if (text == "NaN")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "Infinity" || text == "-Infinity")
        return text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        unreadable(field);
    return value;
}

} // namespace

void appendCopyValue(QByteArray& line, const QVariant& value)
{
    if (value.isNull()) {
        line += "\\N";
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        line += QByteArray::number(value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        line += doubleText(value.toDouble());
        break;
    case QMetaType::Bool:
        line += value.toBool() ? 't' : 'f';
        break;
    case QMetaType::QDateTime:
        line += value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
        break;
    case QMetaType::QString:
        appendText(line, *static_cast<const QString*>(value.constData()));
        break;
    default:
        appendText(line, value.toString());
    }
}

PgValueKind pgValueKind(unsigned typeOid)
{
    switch (typeOid) {
    case kText:
    case kBpchar:
    case kVarchar:
        return PgValueKind::Text;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return PgValueKind::Double;
    case kInt2:
    case kInt4:
        return PgValueKind::Int;
    case kInt8:
        return PgValueKind::BigInt;
    case kTimestamp:
        return PgValueKind::DateTime;
    case kDate:
        return PgValueKind::Date;
    }
    throw core::DbError(QStringLiteral("서버의 열 형식(OID %1)은 대량 읽기(COPY)로 읽지 않습니다.").arg(typeOid));
}

int unpaddedLength(const char* text, int length)
{
    constexpr quint64 kBlanks = 0x2020202020202020ULL;
    while (length >= 8) {
        quint64 word = 0;
        std::memcpy(&word, text + length - 8, sizeof word);
        if (word != kBlanks)
            break;
        length -= 8;
    }
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return length;
}

bool splitCopyLine(char* line, int length, CopyField* fields, int columns)
{
    if (length > 0 && line[length - 1] == '\n')
        --length;
    int from = 0;
    for (int column = 0; column < columns; ++column) {
        if (from > length)
            return false;
        // A tab inside a value is written \t: every tab byte ends one.
        char* in = line + from;
        const char* tab = static_cast<const char*>(std::memchr(in, '\t', size_t(length - from)));
        const int size = tab ? int(tab - in) : length - from;
        from += size + 1;
        if (size == 2 && in[0] == '\\' && in[1] == 'N') {
            fields[column] = {nullptr, -1};
            continue;
        }
        if (!std::memchr(in, '\\', size_t(size))) {
            fields[column] = {in, size};
            continue;
        }
        int written = 0;
        for (int i = 0; i < size; ++i) {
            char c = in[i];
            if (c == '\\' && i + 1 < size) {
                c = in[++i];
                switch (c) {
                case 't': c = '\t'; break;
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 'b': c = '\b'; break;
                case 'f': c = '\f'; break;
                case 'v': c = '\v'; break;
                default: break; // the character itself (the server writes no octal or hex forms)
                }
            }
            in[written++] = c; // decoding never lengthens: in place
        }
        fields[column] = {in, written};
    }
    return from == length + 1;
}

QVariant pgValue(PgValueKind kind, const CopyField& field, bool unpadded)
{
    if (field.length < 0) {
        // As the ODBC reader: a NULL text is a variant of no type, other NULLs keep their type.
        switch (kind) {
        case PgValueKind::Text: return QVariant();
        case PgValueKind::Double: return QVariant(QMetaType::fromType<double>());
        case PgValueKind::Int: return QVariant(QMetaType::fromType<int>());
        case PgValueKind::BigInt: return QVariant(QMetaType::fromType<qlonglong>());
        case PgValueKind::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
        case PgValueKind::Date: return QVariant(QMetaType::fromType<QDate>());
        }
    }
    switch (kind) {
    case PgValueKind::Text: {
        return QString::fromUtf8(field.data, unpadded ? unpaddedLength(field.data, field.length) : field.length);
    }
    case PgValueKind::Double:
        return doubleOf(field);
    case PgValueKind::Int:
    case PgValueKind::BigInt: {
        bool ok = false;
        const qlonglong value = QByteArray::fromRawData(field.data, field.length).toLongLong(&ok);
        if (!ok)
            unreadable(field);
        return kind == PgValueKind::Int ? QVariant(int(value)) : QVariant(value);
    }
    case PgValueKind::DateTime:
        return timestampOf(field);
    case PgValueKind::Date: {
        const QDate date = QDate::fromString(QString::fromLatin1(field.data, field.length), Qt::ISODate);
        if (!date.isValid())
            unreadable(field);
        return date;
    }
    }
    return {};
}

} // namespace admin

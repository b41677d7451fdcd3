#include "strutil.h"

#include "errors.h"

#include <QLocale>
#include <QStringEncoder>
#include <cmath>

namespace core {

namespace {

constexpr QChar kBlank = u' ';

// Blank counts of the display form, by the plain text's length; -1 means
// "no entry": the display form is then empty.
constexpr int kBlanksNonNegative[] = {-1, 22, 21, 19, 17, 15, 13, 11, 9, 8, 5, 3, 2, -1};
constexpr int kBlanksNegative[] = {-1, -1, 21, 19, 17, 15, 13, 12, 9, 8, 6, 3, 2, 0};
constexpr int kTableSize = 14;

ConversionError notANumber(const QString& text)
{
    return ConversionError(QStringLiteral("'%1'은(는) 올바른 숫자가 아닙니다.").arg(text));
}

// Rounds half away from zero, as the "0" and "#,##0" formats do.
double roundHalfAway(double v)
{
    return std::round(v);
}

QString groupThousands(const QString& digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

} // namespace

QString Str_TrimLeft(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == kBlank)
        ++i;
    return text.mid(i);
}

QString Str_TrimRight(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == kBlank)
        --n;
    return text.left(n);
}

QString Str_RemoveBlanks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != kBlank)
            out += c;
    return out;
}

double strictToDouble(const QString& text)
{
    // Optional minus, digits, optional point and fraction; at least one digit.
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (i < n && text[i] == u'-')
        ++i;
    int digits = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != n)
        throw notANumber(text);
    bool ok = false;
    const double v = QLocale::c().toDouble(text.endsWith(u'.') ? text + u'0' : text, &ok);
    if (!ok)
        throw notANumber(text);
    return v;
}

int strictToInt(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw notANumber(text);
    return v;
}

double Str_ToNumber(const QString& text)
{
    QString kept;
    for (QChar c : text)
        if (c == u'-' || c == u'.' || (c >= u'0' && c <= u'9'))
            kept += c;
    if (kept.isEmpty())
        kept = QStringLiteral("0");
    try {
        return strictToDouble(kept);
    } catch (const ConversionError&) {
        throw notANumber(text);
    }
}

QString Str_StrToDouble(const QString& plainText, const QString& formattedText)
{
    if (plainText.isEmpty())
        return QString(); // the table's length 0: nothing to show
    const double value = strictToDouble(plainText);
    const int length = int(plainText.size());
    if (length >= kTableSize)
        return QString();
    const int blanks = value < 0 ? kBlanksNegative[length] : kBlanksNonNegative[length];
    if (blanks < 0)
        return QString();
    return QString(blanks, kBlank) + formattedText;
}

QString formatThousands(double value)
{
    const double r = roundHalfAway(value);
    QString digits = QString::number(std::fabs(r), 'f', 0);
    QString out = groupThousands(digits);
    if (r < 0)
        out.prepend(u'-');
    return out;
}

QString formatThousandsBlankZero(double value)
{
    if (roundHalfAway(value) == 0)
        return QString();
    return formatThousands(value);
}

QString formatPlain(double value)
{
    const double r = roundHalfAway(value);
    if (r == 0)
        return QStringLiteral("0");
    return QString::number(r, 'f', 0);
}

QString formatZeroPadded(qint64 value, int digits)
{
    QString s = QString::number(value < 0 ? -value : value).rightJustified(digits, u'0');
    return value < 0 ? u'-' + s : s;
}

QString shortestDecimal(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

int cp949Length(const QString& text)
{
    int n = 0;
    for (QChar c : text)
        n += c.unicode() < 128 ? 1 : 2;
    return n;
}

qsizetype firstUnstorableInCp949(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    // The Korean Windows code page, with the syllables beyond EUC-KR (ICU
    // takes "CP949" for IBM's 949, which lacks them). Its table comes with
    // the platform's converters; where they lack it, every character but
    // NUL is taken as storable.
    QStringEncoder whole("windows-949");
    if (!whole.isValid())
        return nul;
    // The encoder converts when its result is read: a result thrown away
    // converts nothing and reports no error.
    const QByteArray bytes = whole.encode(text);
    if (!whole.hasError())
        return nul;
    // Rare: found again character by character, to tell the clerk where.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QStringEncoder one("windows-949");
        const QByteArray character = one.encode(QStringView(text).mid(i, length));
        if (one.hasError() || i == nul)
            return i;
        i += length - 1;
    }
    return nul;
}

} // namespace core

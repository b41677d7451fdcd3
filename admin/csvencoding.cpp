#include "csvencoding.h"

#include "core/errors.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace admin {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF");

// One converter of each way for every line and field: opening the code
// page's converter by name costs more than converting a field. Each is reset
// before use, so that no error or half character is carried over.
// (A converter without state counts no errors: the default flags.)
QStringDecoder& cp949Decoder()
{
    static thread_local QStringDecoder decoder(kCp949CodePage);
    decoder.resetState();
    return decoder;
}

QStringEncoder& cp949Encoder()
{
    static thread_local QStringEncoder encoder(kCp949CodePage);
    encoder.resetState();
    return encoder;
}

// A bad sequence reads as U+FFFD and so does not write back the same.
bool validUtf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// The code page's decoder skips some bad bytes silently: a line is sound
// when it encodes back to the same bytes.
bool soundCodePage(const QByteArray& line, QString* text)
{
    QStringDecoder& decoder = cp949Decoder();
    *text = decoder.decode(line);
    if (decoder.hasError())
        return false;
    // Bytes outside the code page's table read as control or private-use
    // characters (0x80 as U+0080, 0xFF as U+F8F7): never text of an office file.
    for (QChar c : *text)
        if ((c.unicode() >= 0x80 && c.unicode() <= 0x9f) || c.category() == QChar::Other_PrivateUse)
            return false;
    QStringEncoder& encoder = cp949Encoder();
    const QByteArray back = encoder.encode(*text);
    return !encoder.hasError() && back == line;
}

[[noreturn]] void badLine(const QString& fileName, int line, CsvEncoding encoding)
{
    throw core::AppError(QStringLiteral("%1 %2번째 줄: %3로 읽을 수 없는 바이트가 있습니다. --encoding으로 인코딩을 주십시오.")
                       .arg(fileName)
                       .arg(line)
                       .arg(csvEncodingName(encoding)));
}

} // namespace

CsvEncoding csvEncodingNamed(const QString& name)
{
    const QString n = name.toLower();
    if (n.isEmpty())
        return CsvEncoding::Detect;
    if (n == QLatin1String("utf-8") || n == QLatin1String("utf8"))
        return CsvEncoding::Utf8;
    if (n == QLatin1String("cp949") || n == QLatin1String("euc-kr") || n == QLatin1String("ms949"))
        return CsvEncoding::Cp949;
    throw core::AppError(QStringLiteral("알 수 없는 인코딩입니다: %1 (utf-8, cp949, euc-kr 중 하나)").arg(name));
}

QString csvEncodingName(CsvEncoding encoding)
{
    return encoding == CsvEncoding::Cp949 ? QStringLiteral("CP949") : QStringLiteral("UTF-8");
}

DecodedFile decodeCsvFile(const QByteArray& bytes, CsvEncoding wanted, const QString& fileName)
{
    const bool marked = bytes.startsWith(kUtf8Mark);
    CsvEncoding encoding = wanted;
    if (encoding == CsvEncoding::Detect)
        encoding = marked || validUtf8(bytes) ? CsvEncoding::Utf8 : CsvEncoding::Cp949;
    const QByteArray body = encoding == CsvEncoding::Utf8 && marked ? bytes.mid(kUtf8Mark.size()) : bytes;

    // Line by line, so that a refusal names the line (a line break byte is
    // never part of a character in either encoding).
    QString text;
    int lineNumber = 0;
    for (const QByteArray& line : body.split('\n')) {
        ++lineNumber;
        QString part;
        if (encoding == CsvEncoding::Utf8) {
            if (!validUtf8(line))
                badLine(fileName, lineNumber, encoding);
            part = QString::fromUtf8(line);
        } else if (!soundCodePage(line, &part)) {
            badLine(fileName, lineNumber, encoding);
        }
        if (lineNumber > 1)
            text += u'\n';
        text += part;
    }
    return {text, encoding};
}

QByteArray encodeCsvFile(const QString& text, CsvEncoding encoding, const QString& fileName)
{
    if (encoding != CsvEncoding::Cp949)
        return kUtf8Mark + text.toUtf8();
    QStringEncoder encoder(kCp949CodePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        throw core::AppError(QStringLiteral("%1: CP949에 없는 글자가 있어 UTF-8로만 쓸 수 있습니다.").arg(fileName));
    return bytes;
}

namespace {

// Where the code page lacks a character its encoder reports an error (or
// writes a substitute that reads back as another character).
bool heldWhole(const QString& text)
{
    // The code page holds ASCII as it is, and most fields are codes and digits.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return true;
    QStringEncoder& encoder = cp949Encoder();
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return false;
    QStringDecoder& decoder = cp949Decoder();
    const QString back = decoder.decode(bytes);
    return !decoder.hasError() && back == text;
}

} // namespace

QString cp949Lacks(const QString& text)
{
    if (heldWhole(text))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!heldWhole(character))
            return character;
        i += length - 1;
    }
    return text.left(1); // not by one character alone
}

} // namespace admin

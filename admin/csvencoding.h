#pragma once

#include <QByteArray>
#include <QString>

namespace admin {

// The encodings offices' CSV files come in: UTF-8 (with or without the mark
// spreadsheets put in front) and the Korean Windows code page (CP949, a
// superset of EUC-KR).
enum class CsvEncoding { Detect, Utf8, Cp949 };

// "utf-8", "utf8", "cp949", "euc-kr", "ms949" (case-blind); Detect for an
// empty name. Throws AppError for any other.
CsvEncoding csvEncodingNamed(const QString& name);
QString csvEncodingName(CsvEncoding encoding);

struct DecodedFile {
    QString text;
    CsvEncoding encoding;
};

// Detect: a UTF-8 mark or valid UTF-8 is UTF-8, anything else the code page.
// Bytes the encoding cannot hold are refused with the file and line (AppError).
DecodedFile decodeCsvFile(const QByteArray& bytes, CsvEncoding wanted, const QString& fileName);

// UTF-8 with the mark (spreadsheets then read Korean right), or the code page.
// Throws AppError for a text the code page lacks.
QByteArray encodeCsvFile(const QString& text, CsvEncoding encoding, const QString& fileName);

// The Korean Windows code page by the name Qt's converters know it: ICU's
// "CP949" is IBM's code page 949, which lacks the Windows extension (for
// example 똠, 0x8C63), and its EUC-KR decoder drops such bytes without an
// error; "windows-949" is the code page Korean Windows writes.
inline constexpr char kCp949CodePage[] = "windows-949";

// The first character of a text the Korean Windows code page lacks; empty
// when it holds them all.
QString cp949Lacks(const QString& text);

} // namespace admin

#include "csvfilewriter.h"

#include "csvtext.h"

#include "core/errors.h"

#include <unistd.h>

namespace admin {

namespace {

constexpr qsizetype kBufferBytes = 1 << 20;

} // namespace

CsvFileWriter::CsvFileWriter(const QString& target, CsvEncoding encoding)
    : m_target((store::refuseForeignName(target), target)), // before any work
      m_encoding(encoding),
      m_work(target),
      m_part(m_work.filePath(QStringLiteral("part"))),
      m_codePage(kCp949CodePage)
{
    if (!m_part.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        throw core::AppError(QStringLiteral("파일을 쓸 수 없습니다: %1 (%2)").arg(target, m_part.errorString()));
    // UTF-8 carries the mark in front, as encodeCsvFile writes it.
    if (m_encoding != CsvEncoding::Cp949)
        m_buffer = encodeCsvFile(QString(), m_encoding, target);
    m_buffer.reserve(kBufferBytes + 4096);
}

void CsvFileWriter::write(const QStringList& fields)
{
    const QString line = csvLine(fields);
    if (m_encoding != CsvEncoding::Cp949) {
        m_buffer += line.toUtf8();
    } else {
        m_buffer += m_codePage.encode(line);
        if (m_codePage.hasError()) {
            for (qsizetype i = 0; i < fields.size(); ++i)
                if (const QString lacking = cp949Lacks(fields[i]); !lacking.isEmpty())
                    throw core::AppError(QStringLiteral("%1: %2번째 행(%3번째 줄) %4 열에 CP949에 없는 글자 \"%5\"이(가) 있습니다. "
                                                  "--encoding utf-8로 내보내십시오. 아무것도 쓰지 않았습니다.")
                                       .arg(m_target)
                                       .arg(m_records)
                                       .arg(m_lines)
                                       .arg(m_header.value(i), lacking));
            throw core::AppError(QStringLiteral("%1: CP949에 없는 글자가 있어 UTF-8로만 쓸 수 있습니다. 아무것도 쓰지 않았습니다.").arg(m_target));
        }
    }
    if (m_records++ == 0)
        m_header = fields;
    m_lines += line.count(u'\n');
    if (m_buffer.size() >= kBufferBytes)
        flushBuffer();
}

void CsvFileWriter::flushBuffer()
{
    if (m_part.write(m_buffer) != m_buffer.size())
        throw core::AppError(QStringLiteral("파일을 쓸 수 없습니다: %1 (%2)").arg(m_target, m_part.errorString()));
    m_buffer.clear();
}

void CsvFileWriter::finish()
{
    flushBuffer();
    if (!m_part.flush() || ::fsync(m_part.handle()) != 0)
        throw core::AppError(QStringLiteral("파일을 쓸 수 없습니다: %1 (%2)").arg(m_target, m_part.errorString()));
    m_part.close();
    store::moveIntoPlace(m_part.fileName(), m_target, store::ExistingName::ReplaceOwn);
}

} // namespace admin

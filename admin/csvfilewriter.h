#pragma once

#include "csvencoding.h"

#include "store/privatefiles.h"

#include <QFile>
#include <QStringEncoder>
#include <QStringList>

namespace admin {

// A CSV file written record by record, whole or not at all: the records go
// into a private part file beside the name (made 0600 in a folder of its own),
// which takes the name only when finish() is reached; a writer destroyed
// before that leaves nothing. Memory stays that of one buffer, whatever the
// table's size.
class CsvFileWriter {
public:
    CsvFileWriter(const QString& target, CsvEncoding encoding); // throws AppError
    CsvFileWriter(const CsvFileWriter&) = delete;
    CsvFileWriter& operator=(const CsvFileWriter&) = delete;

    // Throws AppError naming the record, its file line and the column (from
    // the header, the first record) when the code page lacks a character.
    void write(const QStringList& fields);
    // Flushed to the disk, then given the name (a file of the user's own is replaced).
    void finish();

private:
    void flushBuffer();

    QString m_target;
    CsvEncoding m_encoding;
    store::PrivateWorkFolder m_work;
    QFile m_part;
    QStringEncoder m_codePage;
    QStringList m_header;
    QByteArray m_buffer;
    qint64 m_records = 0;
    qint64 m_lines = 1; // the file line the next record starts on
};

} // namespace admin

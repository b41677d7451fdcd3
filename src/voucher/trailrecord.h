#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace voucher {

// One record of voucher_history: what was done to which voucher line, by
// whom, when and where, the line's rows before and after as text, chained to
// the record before it by a SHA-256 hash.
struct TrailRecord {
    qint64 id = 0;     // history_id: the chain's order
    QString operation; // "save", "correct", "delete"; "close", "reopen" for the closed periods
    QString serialJen;
    QString serialBun;
    QString branch;
    QString date;        // the line's Date_Day; the date a closing names
    QString doneBy;      // the operating-system user, then the database login in brackets
    QString doneAt;      // the database's clock, UTC, "yyyy-MM-dd HH:mm:ss.zzz"
    QString workstation; // the host name
    QString before;      // the line's rows before (rowsText()), empty where there were none
    QString after;       // the same after
    QString prevHash;    // the record before it's hash, empty for the first
    QString hash;

    // SHA-256 (hex) over one text of every field above but id and hash:
    // each as its length in UTF-8 bytes, ':', the bytes and a line break.
    QString computedHash() const;
};

// The operations a record names.
inline const QString kTrailSave = QStringLiteral("save");
inline const QString kTrailCorrect = QStringLiteral("correct");
inline const QString kTrailDelete = QStringLiteral("delete");
inline const QString kTrailClose = QStringLiteral("close");
inline const QString kTrailReopen = QStringLiteral("reopen");

// A line's rows as one text: a row per text line in side order ("01" debit,
// "02" credit), each row its columns as `Column=value` joined by tabs, texts
// without their padding, amounts in their shortest form; a backslash, tab
// or line break in a value is written \\, \t, \n.
// The voucher columns a row's text holds, in order (Serial_Bun is the key, not a column here).
const QStringList& trailRowColumns();
QString trailRowText(const QStringList& values); // values in trailRowColumns() order
// The rows of a text back as column → value maps.
QList<QList<std::pair<QString, QString>>> parseTrailRows(const QString& text);
// What a clerk reads of a line's rows: the debit row's account, amount and description.
QString trailSummary(const QString& rowsText);

// Who and where, for done_by and workstation.
QString operatingSystemUser();
QString workstationName();

} // namespace voucher

#pragma once

#include "voucher/voucherline.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace voucher {

inline constexpr int kLineCount = 5;

// What the entry window is doing with its lines: nothing yet, correcting a
// stored line chosen in the list, or typing a new voucher. Shown and kept as
// the texts "1", "2" and "3".
enum class VoucherMode { Idle, Correcting, New };
QString modeText(VoucherMode mode);

// One line as the clerk typed it: the fields' texts as they stand (amounts
// in whatever form the field shows) and the codes of the chosen names.
struct TypedLine {
    int number = 0;     // 1..5
    bool shown = true;  // a panel the loaded voucher does not use is hidden
    QString serialBun;  // "01".."05"
    std::array<QString, kNameKinds> names;
    std::array<QString, kNameKinds> codes;
    QString acText;
    QString crAmt; // the debit amount, editable
    QString drAmt; // the read-only amount

    QString& code(LookupKind kind) { return codes[static_cast<size_t>(kind)]; }
    const QString& code(LookupKind kind) const { return codes[static_cast<size_t>(kind)]; }
    // The line ready for storing, amounts read as values (throws
    // ConversionError for an amount that is no figure).
    VoucherLine value() const;
};

// Where a problem sends the clerk: the name fields in LookupKind order, the
// line's other fields, then the voucher's head.
enum class DraftField {
    Account, CustomerBank, Employee, Department, Project, Item,
    Description, Amount, ReadOnlyAmount, Date, Branch, None,
};
DraftField nameField(LookupKind kind);

// Why the voucher cannot be stored as it stands: the line (0 for the
// voucher's head), the field to correct and what the clerk is told. The
// field's text comes selected when the clerk will most likely retype it.
struct DraftProblem {
    enum class Select { Nothing, All, Range };
    int line = 0;
    DraftField field = DraftField::None;
    QString message;
    Select select = Select::Nothing;
    int selectFrom = 0;
    int selectLength = 0;
};

// The voucher being typed or corrected in the entry window, without its
// widgets: the mode, the head and the five lines as typed, the stored line
// a correction writes, and every check a save, a correction or a deletion
// makes before it reaches the book.
struct VoucherDraft {
    // The stored line chosen in the list whose rows the panels were loaded
    // with, its panel and what the panel showed then: the one line a
    // correction writes, under the key it was read by.
    struct LoadedLine {
        StoredLine stored;
        int panel = 0;
        VoucherLine shown;
    };

    VoucherMode mode = VoucherMode::Idle;
    QString date;         // the base date as typed
    int branchIndex = -1; // the branch selector's position, -1 for none
    QString serial;       // the loaded voucher's number
    std::array<TypedLine, kLineCount> lines;
    std::optional<LoadedLine> loadedLine;
    QString lastStoredKey; // voucher number + line number of the last stored line
    QString gridReturnKey; // the listed row to return to, or the voucher being deleted

    VoucherDraft();
    TypedLine& line(int number) { return lines[size_t(number - 1)]; }
    const TypedLine& line(int number) const { return lines[size_t(number - 1)]; }

    // Whether a save in the current mode writes this line: in a new voucher
    // every line with an amount, in a correction the loaded line.
    bool writesLine(const TypedLine& line) const;

    // The first reason the save button may not store what was typed, in the
    // order the clerk is told them (after the window's own: an empty list). An empty amount reads as "0" from here
    // on: the lines checked before a refusal hold "0" where they were empty.
    std::optional<DraftProblem> checkSave();
    // After the save has moved on to a correction: whether a line is chosen.
    std::optional<DraftProblem> checkCorrection() const;
    // The panel a deletion of the listed line number empties, 0 for none.
    static int lineToDelete(const QString& listedSerialBun);
    std::optional<DraftProblem> checkDeletion(int line) const;

    // The shown lines of a new voucher, ready for the book.
    QList<VoucherLine> newVoucherLines() const;
};

} // namespace voucher

#pragma once

#include <QString>
#include <optional>

namespace store {
class SqlStatement;
}

// The voucher list finds its rows with `Date_Day + Kubun_Bon like :tbDKubun`,
// the pattern being "%" + date + branch + "%", which no index can answer.
// When the text between the two "%" is 15 characters, the most that a
// 10-character date and a 5-character branch joined can hold, a row matches
// only when its joined text equals that text, that is when its date is the
// first 10 characters and its branch the last 5. Saying so as well lets an
// index find the rows and selects exactly the same rows.
namespace voucher {

struct DateAndBranch {
    QString date;   // the pattern's first 10 characters, trailing blanks removed
    QString branch; // its last 5
};

// The date and branch a list pattern pins down, or nothing when it may match
// otherwise: not "%" + 15 characters + "%", or a character inside that is a
// wildcard or a letter (the engines' like ignores the case of letters).
std::optional<DateAndBranch> pinnedBy(const QString& pattern);

// After every line of the statement that tests :tbDKubun, adds the line
// "and rtrim(t.Date_Day) = :tbListDay and rtrim(t.Kubun_Bon) = :tbListBon" and
// binds both, when the pattern pins them down and the data source keeps the
// two columns to their widths. Otherwise leaves the statement as it is.
void narrowToDateAndBranch(store::SqlStatement& query, const QString& pattern);

} // namespace voucher

#include "importcommand.h"

#include "csvtext.h"
#include "importusedcodes.h"
#include "masterrules.h"
#include "progress.h"
#include "sqlutil.h"
#include "tablecolumns.h"
#include "writesession.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/schema.h"

#include <QFile>
#include <QHash>
#include <QSet>

namespace admin {

namespace {

constexpr int kShownProblems = 20;

class ImportCheck {
public:
    ImportCheck(const QString& file) : m_file(file) {}

    void add(int line, int column, const QString& name, const QString& text)
    {
        m_problems << (column > 0 ? QStringLiteral("%1 %2번째 줄 %3번째 열(%4): %5").arg(m_file).arg(line).arg(column).arg(name, text)
                                  : QStringLiteral("%1 %2번째 줄: %3").arg(m_file).arg(line).arg(text));
    }
    void addWhole(const QString& text) { m_problems << QStringLiteral("%1: %2").arg(m_file, text); }

    // Prints the problems and refuses the file.
    void refuseIfAny() const
    {
        if (m_problems.isEmpty())
            return;
        for (qsizetype i = 0; i < m_problems.size() && i < kShownProblems; ++i)
            say(m_problems[i]);
        if (m_problems.size() > kShownProblems)
            say(QStringLiteral("... 외 %1건").arg(m_problems.size() - kShownProblems));
        throw core::AppError(QStringLiteral("%1에 문제 %2건이 있어 아무것도 쓰지 않았습니다.").arg(m_file).arg(m_problems.size()));
    }

private:
    QString m_file;
    QStringList m_problems;
};

QList<CsvRecord> readRecords(const ImportOptions& o)
{
    QFile file(o.file);
    if (!file.open(QIODevice::ReadOnly))
        throw core::AppError(QStringLiteral("파일을 읽을 수 없습니다: %1 (%2)").arg(o.file, file.errorString()));
    const DecodedFile decoded = decodeCsvFile(file.readAll(), o.encoding, o.file);
    say(QStringLiteral("파일: %1 (%2)").arg(o.file, csvEncodingName(decoded.encoding)));
    try {
        return parseCsv(decoded.text);
    } catch (const CsvSyntaxError& e) {
        throw core::AppError(QStringLiteral("%1 %2번째 줄: %3").arg(o.file).arg(e.line).arg(e.text));
    }
}

// Which table column each header field names (case-blind).
QList<int> headerColumns(const CsvRecord& header, const QList<TableColumn>& columns, ImportCheck& check)
{
    QList<int> positions;
    QSet<int> seen;
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields[i].trimmed();
        int found = -1;
        for (qsizetype c = 0; c < columns.size(); ++c)
            if (columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
                found = int(c);
        if (found < 0)
            check.add(header.line, int(i) + 1, name, QStringLiteral("테이블에 없는 열입니다."));
        else if (seen.contains(found))
            check.add(header.line, int(i) + 1, name, QStringLiteral("같은 열이 두 번 있습니다."));
        seen.insert(found);
        positions << found;
    }
    return positions;
}

int columnIndex(const QList<TableColumn>& columns, const QString& name)
{
    for (qsizetype c = 0; c < columns.size(); ++c)
        if (columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(c);
    throw core::AppError(QStringLiteral("테이블에 열 %1이(가) 없습니다.").arg(name));
}

// What a replace may not take away: a row of the chart of accounts the
// program writes itself, a code a stored voucher uses.
void refuseLostCash(const QList<QStringList>& rows, int accountColumn, ImportCheck& check)
{
    for (const QStringList& row : rows)
        if (row[accountColumn].trimmed() == kCashAccount)
            return;
    check.addWhole(QStringLiteral("현금 계정 %1이(가) 파일에 없습니다: 출금 전표마다 대변에 쓰는 계정이라 빠질 수 없습니다.")
                       .arg(kCashAccount));
}

void refuseOrphans(const QList<OrphanCode>& orphans, ImportCheck& check)
{
    for (const OrphanCode& o : orphans)
        check.addWhole(QStringLiteral("%1 코드 %2을(를) 전표 %3행이 씁니다 (%4 열): 파일에 없어 지울 수 없습니다.")
                           .arg(o.label, o.code)
                           .arg(o.rows)
                           .arg(o.column));
    check.refuseIfAny();
}

QString keyOf(const QStringList& values, const QList<int>& keyColumns)
{
    QStringList parts;
    for (int k : keyColumns)
        parts << values[k];
    return parts.join(u'\x1f');
}

} // namespace

int runImport(const ImportOptions& o)
{
    const MasterRules* rules = masterRules(o.table);
    if (!rules)
        throw core::AppError(QStringLiteral("가져올 수 있는 테이블이 아닙니다: %1 (%2)")
                           .arg(o.table, importableTables().join(QStringLiteral(", "))));
    OpenedTarget target = openTarget(o.target);
    store::Connection& c = *target.connection;
    say(QStringLiteral("대상: %1").arg(c.describe()));
    if (!schema::schemaExists(c))
        throw core::AppError(QStringLiteral("테이블이 없습니다. 먼저 init --empty를 실행하십시오."));
    const QString& table = rules->table;
    QList<TableColumn> columns = tableColumns(c, table);
    for (TableColumn& column : columns)
        column.name = schema::declaredColumnName(table, column.name); // the messages' spelling on every engine

    QList<CsvRecord> records;
    try {
        records = readRecords(o);
    } catch (const core::AppError& e) {
        throw core::AppError(e.text() + QStringLiteral(" 아무것도 쓰지 않았습니다."));
    }
    ImportCheck check(o.file);
    if (records.isEmpty())
        throw core::AppError(QStringLiteral("%1: 머리 줄(열 이름)이 없습니다.").arg(o.file));
    const CsvRecord header = records.takeFirst();
    const QList<int> positions = headerColumns(header, columns, check);
    QList<int> keyColumns;
    for (const QString& key : rules->keyColumns) {
        keyColumns << columnIndex(columns, key);
        if (!positions.contains(keyColumns.last()))
            check.addWhole(QStringLiteral("머리 줄에 열 %1이(가) 없습니다.").arg(key));
    }
    check.refuseIfAny();
    const int codeAt = int(positions.indexOf(keyColumns.last()));
    QStringList fileCodes;
    for (const CsvRecord& r : records)
        fileCodes << formulaUnguarded(r.fields.value(codeAt)).trimmed();
    const int codeDigits = expectedCodeDigits(*rules, fileCodes);

    // Keys already stored, when the rows are added to them.
    QHash<QString, int> keys; // key -> file line (0: stored)
    if (!o.replace) {
        QStringList names;
        for (int k : keyColumns)
            names << columns[k].name;
        for (const QStringList& row : c.selectNative(QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), table)))
            keys.insert(row.join(u'\x1f'), 0);
    }

    QList<QStringList> rows;
    for (const CsvRecord& r : records) {
        if (r.fields.join(QString()).trimmed().isEmpty())
            continue; // the empty rows a spreadsheet leaves at the end
        if (r.fields.size() != positions.size()) {
            check.add(r.line, 0, {}, QStringLiteral("값이 %1개입니다 (머리 줄은 %2개).").arg(r.fields.size()).arg(positions.size()));
            continue;
        }
        QStringList values(columns.size());
        for (qsizetype i = 0; i < r.fields.size(); ++i) {
            const TableColumn& column = columns[positions[i]];
            const QString value = formulaUnguarded(r.fields[i]);
            values[positions[i]] = value;
            const QString lacking = value.contains(QChar(0)) ? QStringLiteral("\\0") : cp949Lacks(value);
            if (!lacking.isEmpty())
                check.add(r.line, int(i) + 1, column.name, QStringLiteral("CP949에 없는 글자 \"%1\"이(가) 있습니다.").arg(lacking));
            else if (column.width > 0 && core::cp949Length(value) > column.width)
                check.add(r.line, int(i) + 1, column.name,
                          QStringLiteral("%1바이트로 너비 %2바이트를 넘습니다.").arg(core::cp949Length(value)).arg(column.width));
        }
        for (int k : keyColumns)
            if (values[k].trimmed().isEmpty())
                check.add(r.line, int(positions.indexOf(k)) + 1, columns[k].name, QStringLiteral("코드가 비어 있습니다."));
        if (lostLeadingZeros(values[keyColumns.last()].trimmed(), codeDigits))
            check.add(r.line, codeAt + 1, columns[keyColumns.last()].name,
                      QStringLiteral("코드 %1은(는) 숫자 %2자리여야 합니다. %3").arg(values[keyColumns.last()]).arg(codeDigits).arg(leadingZerosHint()));
        const QString key = keyOf(values, keyColumns);
        const auto seen = keys.constFind(key);
        if (seen != keys.constEnd())
            check.add(r.line, int(positions.indexOf(keyColumns.last())) + 1, columns[keyColumns.last()].name,
                      *seen == 0 ? QStringLiteral("코드 %1이(가) 테이블에 이미 있습니다 (바꾸려면 --replace).").arg(values[keyColumns.last()])
                                 : QStringLiteral("코드 %1이(가) %2번째 줄에도 있습니다.").arg(values[keyColumns.last()]).arg(*seen));
        keys.insert(key, r.line);
        if (rules->accountClassification)
            for (const RuleProblem& p : classificationProblems(values[columnIndex(columns, QStringLiteral("a_kubun"))],
                                                               values[columnIndex(columns, QStringLiteral("b_kubun"))],
                                                               values[columnIndex(columns, QStringLiteral("c_kubun"))]))
                check.add(r.line, int(positions.indexOf(columnIndex(columns, p.column))) + 1, p.column, p.text);
        rows << values;
    }
    if (rules->branchSequence) {
        QStringList codes;
        for (auto it = keys.cbegin(); it != keys.cend(); ++it)
            codes << it.key();
        const QString problem = branchSequenceProblem(codes);
        if (!problem.isEmpty())
            check.addWhole(problem);
    }
    if (o.replace && rows.isEmpty())
        check.addWhole(QStringLiteral("머리 줄만 있고 행이 없습니다: --replace로 테이블을 비우지는 않습니다."));
    else if (o.replace && rules->accountClassification)
        refuseLostCash(rows, columnIndex(columns, QStringLiteral("ac_code")), check);
    check.refuseIfAny();

    QStringList names;
    for (const TableColumn& column : columns)
        names << column.name;
    // On a server, the checks around the rows run where COPY writes them.
    WriteSession transaction(c);
    const qint64 before = transaction.countRows(table);
    QList<OrphanCode> orphansBefore;
    bool removesCodes = false;
    if (o.replace) {
        const QString referenced = referencedCodeColumn(table);
        QSet<QString> codes;
        if (!referenced.isEmpty())
            for (const QStringList& row : rows)
                codes.insert(core::Str_TrimRight(row[columnIndex(columns, referenced)]));
        removesCodes = replaceRemovesCodes(transaction, table, codes);
        if (removesCodes)
            orphansBefore = orphanVoucherCodes(transaction, table);
        transaction.exec(QStringLiteral("DELETE FROM %1").arg(table));
    }
    {
        // Many rows at once: one statement a row costs a round trip each on a server.
        const std::unique_ptr<RowSink> insert = transaction.inserter(table, names);
        Progress progress(table, rows.size());
        QVector<QVariant> values(names.size());
        for (const QStringList& row : rows) {
            for (qsizetype i = 0; i < names.size(); ++i)
                values[i] = row.value(i);
            insert->add(values);
            progress.advanceTo(insert->written());
        }
        insert->finish();
        progress.advanceTo(insert->written());
    }
    if (removesCodes)
        refuseOrphans(newOrphans(orphansBefore, orphanVoucherCodes(transaction, table)), check);
    transaction.commit();
    const QString removed = o.replace ? QStringLiteral("%1행을 지우고 ").arg(before) : QString();
    say(QStringLiteral("%1: %2%3행을 넣었습니다 (이제 %4행).").arg(table, removed).arg(rows.size()).arg(countRows(c, table)));
    if (rules->accountClassification) {
        const int codeSet = columnIndex(columns, QStringLiteral("code_kubun"));
        const auto listed = std::count_if(rows.cbegin(), rows.cend(), [&](const QStringList& row) {
            return row[codeSet].trimmed() == kLookupCodeSet;
        });
        say(QStringLiteral("계정 찾기 창에는 code_kubun이 %1인 계정만 나옵니다: 이 파일의 계정 %2개 중 %3개.")
                .arg(kLookupCodeSet)
                .arg(rows.size())
                .arg(listed));
    }
    return 0;
}

} // namespace admin

#include "borvane.h"

#include "panelrows.h"
#include "widgets/branchcombo.h"
#include "widgets/messages.h"

#include <QLineEdit>

void TfmBorvane::readDraft()
{
    m_draft.date = edDate->text();
    m_draft.branchIndex = branchIndex();
    m_draft.serial = edSerial->text();
    for (LinePanel& line : m_lines)
        readTypedLine(line);
}

void TfmBorvane::showDraftAmounts()
{
    // The checks read an empty amount as "0", and the clerk sees it so.
    for (LinePanel& line : m_lines) {
        if (line.crAmt->text() != line.typed->crAmt)
            line.crAmt->setText(line.typed->crAmt);
        if (line.drAmt->text() != line.typed->drAmt)
            line.drAmt->setText(line.typed->drAmt);
    }
}

QWidget* TfmBorvane::draftFieldWidget(const DraftProblem& problem)
{
    if (problem.field == DraftField::Date)
        return edDate;
    if (problem.field == DraftField::Branch)
        return cbKubun;
    if (problem.line < 1 || problem.line > kLineCount)
        return nullptr;
    const LinePanel& line = lineAt(problem.line);
    switch (problem.field) {
    case DraftField::Description:
        return line.acText;
    case DraftField::Amount:
        return line.crAmt;
    case DraftField::ReadOnlyAmount:
        return line.drAmt;
    case DraftField::Date:
    case DraftField::Branch:
    case DraftField::None:
        return nullptr;
    default:
        return line.names[size_t(problem.field)];
    }
}

bool TfmBorvane::refuse(const std::optional<DraftProblem>& problem)
{
    if (!problem)
        return false;
    warningBox(this, problem->message);
    QWidget* field = draftFieldWidget(*problem);
    if (!field)
        return true;
    auto* edit = qobject_cast<QLineEdit*>(field);
    // A field to retype comes with its text selected, a bad character alone.
    if (edit && problem->select == DraftProblem::Select::All)
        edit->selectAll();
    field->setFocus();
    if (edit && problem->select == DraftProblem::Select::Range)
        edit->setSelection(problem->selectFrom, problem->selectLength);
    return true;
}

#include "lookupframe.h"

#include "core/errorreport.h"
#include "core/strutil.h"
#include "store/statement.h"
#include "widgets/dbgrid.h"
#include "widgets/focusexit.h"
#include "widgets/hangulinput.h"
#include "widgets/messages.h"
#include "widgets/placement.h"
#include "widgets/preeditcommit.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace lookup {

LookupFrame::LookupFrame(LookupDefinition definition, LookupTarget* target, QWidget* parent)
    : LookupDialog(parent), m_definition(std::move(definition)),
      m_search(new voucher::MasterSearch(m_definition.kind, this)), m_target(target),
      m_composing(new widgets::PreeditCommitter(this))
{
    buildWindow();
    takeKoreanSearch(edSearch);
    widgets::HangulInput::instance().askOnFocus(DBGrid1);

    connect(edSearch, &QLineEdit::textChanged, this, [this](const QString& text) { m_request.searchText = text; });
    connect(CloseBtn, &QPushButton::clicked, this, &LookupFrame::CloseBtnClick);
    connect(SearchBtn, &QPushButton::clicked, this, &LookupFrame::SearchBtnClick);
    connect(DBGrid1, &widgets::DbGrid::cellClicked, this, &LookupFrame::writeCurrentRow);
    connect(DBGrid1, &widgets::DbGrid::gridKeyDown, this, &LookupFrame::writeCurrentRow);
    connect(DBGrid1, &widgets::DbGrid::gridKeyUp, this, &LookupFrame::writeCurrentRow);
    connect(DBGrid1, &widgets::DbGrid::gridDoubleClicked, this, &LookupFrame::DBGrid1DblClick);
    widgets::FocusExit::instance().setHandler(edSearch, [this](QWidget* target) { edSearchExit(target); });
}

void LookupFrame::FormCreate()
{
    widgets::centreOnScreen(this);
    watchKeys();
    edAc_code2->clear();
    edAc_Name2->clear();
    edSearch->clear();
    resetFilters();
    m_creationListingPending = true;
    connect(Query1, &store::SqlStatement::opened, this, [this] { m_creationListingPending = false; });
}

void LookupFrame::ensureListed()
{
    if (!m_creationListingPending)
        return;
    m_creationListingPending = false;
    // A failure here must not stop anything: report it and leave the grid
    // empty, as for any other handler.
    try {
        runSearch();
    } catch (const std::exception& error) {
        core::reportError(error);
    }
}

void LookupFrame::showEvent(QShowEvent* event)
{
    ensureListed();
    LookupDialog::showEvent(event);
}

store::SqlStatement* LookupFrame::query()
{
    ensureListed();
    return Query1;
}

void LookupFrame::watchKeys()
{
    // Key preview: the window sees every key before the focused control.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void LookupFrame::prepareFor(const voucher::LookupRequest& request)
{
    edAc_code2->clear();
    edAc_Name2->clear();
    edSearch->clear();
    resetFilters();
    m_request = request;
    edSearch->setText(request.searchText);
}

void LookupFrame::runSearch()
{
    m_search->search(m_request);
}

void LookupFrame::showLookup()
{
    show();
    raise();
    activateWindow();
}

int LookupFrame::targetLine() const
{
    return m_request.line;
}

bool LookupFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyDown(key))
            return true;
        if (watched == edSearch && searchKeyPress(key))
            return true;
    }
    // A click into a grid without rows is a click all the same: it writes the
    // empty row, so the target loses a choice that the search no longer offers.
    if (event->type() == QEvent::MouseButtonRelease && watched == DBGrid1->viewport()
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && DBGrid1->model()->rowCount() == 0)
        writeCurrentRow();
    return LookupDialog::eventFilter(watched, event);
}

bool LookupFrame::FormKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        refuseClose();
        return true;
    }
    return false;
}

void LookupFrame::refuseClose()
{
    widgets::plainBox(this, QStringLiteral("현재 \"Alt+F4\"키는 종료를 못 시킵니다"));
}

void LookupFrame::closeEvent(QCloseEvent* event)
{
    // A close asked for by the window manager is its Alt+F4: refused, and the
    // window is never destroyed. A close from the program only hides it.
    if (event->spontaneous()) {
        event->ignore();
        refuseClose();
        return;
    }
    event->accept();
}

void LookupFrame::reject()
{
    // Escape closes nothing here.
}

bool LookupFrame::searchKeyPress(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    focusNextChild();
    return true;
}

void LookupFrame::takeKoreanSearch(QWidget* searchControl)
{
    m_composing->watch(searchControl);
    widgets::HangulInput::instance().askOnFocus(searchControl);
}

void LookupFrame::CloseBtnClick()
{
    hide();
}

void LookupFrame::edSearchExit(QWidget* target)
{
    if (!m_definition.noSearchOnExitTo.isEmpty() && widgets::focusTargetName(target) == m_definition.noSearchOnExitTo)
        return;
    runSearch();
}

void LookupFrame::SearchBtnClick()
{
    // Alt+R may click while the focus is still in the search field.
    m_composing->commitPending(edSearch);
    runSearch();
}

void LookupFrame::writeCurrentRow()
{
    const voucher::MasterChoice choice = m_search->current();
    edAc_code2->setText(choice.code);
    edAc_Name2->setText(choice.name);
    const int line = targetLine();
    if (line >= 1 && line <= 5 && m_target)
        m_target->writeLookupChoice(m_definition.kind, line, choice.code, choice.name);
}

void LookupFrame::DBGrid1DblClick()
{
    writeCurrentRow();
    hide();
}

} // namespace lookup

#include "borvane.h"

#include "core/errorreport.h"
#include "core/strutil.h"
#include "lookup/lookupdialog.h"
#include "widgets/accelbutton.h"
#include "widgets/branchcombo.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"
#include "widgets/focusexit.h"
#include "widgets/messages.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <utility>

namespace entry {

namespace {

const QString kDiscardTypedLines =
    QStringLiteral("입력한 전표 라인이 저장되지 않았습니다.\n입력한 내용을 지우고 목록을 다시 조회하시겠습니까?");

} // namespace

TfmBorvane::TfmBorvane(QWidget* parent) : QWidget(parent)
{
    buildControls();
    connectHandlers();
    try {
        FormCreate();
    } catch (const std::exception& error) {
        // As the framework does for a creation handler: report and go on
        // with the window as far as it got.
        core::reportError(error);
    }
}

TfmBorvane::~TfmBorvane() = default;

void TfmBorvane::connectHandlers()
{
    connect(InsertBtn, &QPushButton::clicked, this, [this] { InsertBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
    connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseBtnClick(); });
    connect(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    connect(SaveBtn, &QPushButton::clicked, this, [this] { SaveBtnClick(); });
    connect(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteBtnClick(); });

    widgets::FocusExit& exits = widgets::FocusExit::instance();
    exits.setEnterHandler(cbKubun, [this](QWidget* from) { cbKubunEnter(from); });
    exits.setHandler(cbKubun, [this](QWidget* target) { cbKubunExit(target); });
    connect(cbKubun->lineEdit(), &QLineEdit::textEdited, this, [this] { cbKubunChange(); });
    connect(cbKubun, &QComboBox::activated, this, [this] { cbKubunChange(); });
    connect(cbKubun, &widgets::BranchCombo::itemChosen, this, [this] { cbKubunChange(); });
    connect(cbKubun, &widgets::BranchCombo::wantsItems, this, &TfmBorvane::fillEmptyBranchList);

    connect(DBGrid1, &widgets::DbGrid::cellClicked, this, [this] { DBGrid1CellClick(); });
    connect(DBGrid1, &widgets::DbGrid::gridKeyDown, this, [this] { DBGrid1KeyDown(); });
    connect(DBGrid1, &widgets::DbGrid::gridKeyUp, this, [this] { DBGrid1KeyUp(); });

    connectLineFields();
    connectInputHandlers();
    connectHistoryKey();
}

void TfmBorvane::setLookupDialogs(const std::array<lookup::LookupDialog*, voucher::kNameKinds>& dialogs)
{
    m_lookups = dialogs;
    m_lookupMaker = nullptr;
}

void TfmBorvane::makeLookupDialogs()
{
    if (!m_lookupMaker)
        return;
    const LookupDialogMaker maker = std::exchange(m_lookupMaker, nullptr);
    m_lookups = maker();
}

void TfmBorvane::writeLookupChoice(voucher::LookupKind kind, int line, const QString& code, const QString& name)
{
    if (line < 1 || line > voucher::kLineCount)
        return;
    LinePanel& l = lineAt(line);
    l.code(kind) = code;
    l.name(kind)->setText(name);
    lineTyped(); // a choice is as much the clerk's work as typing
}

int TfmBorvane::branchIndex() const
{
    return cbKubun->itemIndex();
}

void TfmBorvane::runHandler(Handler handler)
{
    switch (handler) {
    case Handler::InsertBtnClick:
        return InsertBtnClick();
    case Handler::CancelBtnClick:
        return CancelBtnClick();
    case Handler::SaveBtnClick:
        return SaveBtnClick();
    case Handler::DeleteBtnClick:
        return DeleteBtnClick();
    case Handler::DBGrid1CellClick:
        return DBGrid1CellClick();
    case Handler::cbKubunChange:
        return cbKubunChange();
    case Handler::pQuery:
        return pQuery();
    case Handler::StartNewVoucher:
        return lineTyped();
    }
}

void TfmBorvane::pClear()
{
    edSerial->clear();
    for (LinePanel& line : m_lines) {
        line.serialBun->setText(line.twoDigits());
        for (voucher::LookupKind kind : {voucher::LookupKind::Account, voucher::LookupKind::CustomerBank, voucher::LookupKind::Employee,
                                voucher::LookupKind::Department, voucher::LookupKind::Project}) {
            line.name(kind)->clear();
            line.code(kind).clear();
        }
        line.acText->clear();
        line.name(voucher::LookupKind::Item)->clear();
        line.code(voucher::LookupKind::Item).clear();
        // The loaded plain forms stay: only loading writes them.
        line.crAmt->clear();
        line.drAmt->clear();
    }
    m_linesTyped = false;
}

bool TfmBorvane::warnWhenListEmpty()
{
    if (!m_book.listIsEmpty())
        return false;
    widgets::warningBox(this, widgets::kNoDataMessage);
    Panel7->setFocus();
    return true;
}

void TfmBorvane::pEnabledBtn()
{
    const voucher::VoucherMode mode = m_draft.mode;
    InsertBtn->setEnabled(mode == voucher::VoucherMode::Idle);
    CancelBtn->setEnabled(mode != voucher::VoucherMode::Idle);
    SaveBtn->setEnabled(mode != voucher::VoucherMode::Idle);
    DeleteBtn->setEnabled(mode == voucher::VoucherMode::Correcting);
    PrintBtn->setEnabled(mode == voucher::VoucherMode::Correcting);
    CloseBtn->setEnabled(true);
}

void TfmBorvane::lineTyped()
{
    m_linesTyped = true;
    // As the move does: a correction stays one, and the buttons follow the
    // mode also where leaving the date for the grid set "3" without them.
    if (m_draft.mode != voucher::VoucherMode::Correcting)
        m_draft.mode = voucher::VoucherMode::New;
    pEnabledBtn();
}

void TfmBorvane::showPanelsEnabled()
{
    for (LinePanel& line : m_lines)
        line.panel->setVisible(true);
    for (LinePanel& line : m_lines)
        line.panel->setEnabled(true);
}

void TfmBorvane::paintPanelsButtonFace()
{
    for (LinePanel& line : m_lines)
        line.panel->setColour(widgets::buttonFace());
}

void TfmBorvane::resetPanels()
{
    for (LinePanel& line : m_lines) {
        line.panel->setVisible(true);
        line.panel->setEnabled(true);
        line.panel->setColour(widgets::buttonFace());
    }
}

bool TfmBorvane::hasUnsavedLines() const
{
    if (!m_linesTyped)
        return false;
    for (const LinePanel& line : m_lines) {
        if (line.panel->isHidden())
            continue;
        for (const QLineEdit* name : line.names)
            if (!name->text().isEmpty())
                return true;
        const QString amount = core::Str_RemoveBlanks(line.crAmt->text());
        if (!line.acText->text().isEmpty() || (!amount.isEmpty() && amount != QLatin1String("0")))
            return true;
    }
    return false;
}

bool TfmBorvane::mayDiscardTypedLines(QWidget* field)
{
    if (!hasUnsavedLines())
        return true;
    if (m_saving || activeControlName() == QLatin1String("SaveBtn"))
        return false;
    if (widgets::questionBox(this, kDiscardTypedLines))
        return true;
    field->setFocus();
    return false;
}

void TfmBorvane::InsertBtnClick()
{
    lineAt(1).name(voucher::LookupKind::Account)->setFocus();
    lineAt(1).serialBun->setText(QStringLiteral("01"));
}

void TfmBorvane::CancelBtnClick()
{
    pClear();
    resetPanels();
    m_draft.mode = voucher::VoucherMode::Idle;
    pEnabledBtn();
}

void TfmBorvane::CloseBtnClick()
{
    close();
}

void TfmBorvane::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TfmBorvane::FormClose()
{
    for (lookup::LookupDialog* dialog : m_lookups)
        if (dialog)
            dialog->hide();
    emit formClosed();
}

} // namespace entry

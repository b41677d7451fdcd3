#include "customerbanklookup.h"

#include "widgets/dbgrid.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace lookup {

LookupDefinition TForm2::lookupDefinition()
{
    LookupDefinition s;
    s.kind = voucher::LookupKind::CustomerBank;
    s.caption = QStringLiteral("거래처및은행명의 코드를 검색하는 차입니다.");
    s.clientSize = QSize(844, 616);
    s.label2 = QStringLiteral("선택한 거래처및은행명");
    s.label3 = QStringLiteral("검색할 거래처 및 은행명등을 등록");
    s.label3At = QPoint(440, 58);
    s.searchAt = QPoint(518, 72);
    s.searchBtnX = 740;
    s.panel7X = 323;
    s.codeWidth = 158;
    s.nameWidth = 298;
    s.columns = {
        {QStringLiteral("Tot_Code"), QStringLiteral("코              드"), 12},
        {QStringLiteral("Tot_Name"), QStringLiteral("거 래 처  명  및  은  행  계 좌 번 호 명"), 47},
        {QStringLiteral("Tot_No"), QStringLiteral("사 업 자 등 록 번호   및   은 행  계 좌 번 호"), 47},
        {QStringLiteral("Tot_Kubun"), QStringLiteral("구  분"), 6},
    };
    return s;
}

TForm2::TForm2(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form2"));

    cbCheck = new QComboBox(Panel1);
    cbCheck->setObjectName(QStringLiteral("cbCheck"));
    cbCheck->setGeometry(440, 72, 68, 20);
    cbCheck->setEditable(true);
    cbCheck->setInsertPolicy(QComboBox::NoInsert); // Enter must not add items
    cbCheck->setCompleter(nullptr);                // the text is what was typed
    cbCheck->addItems({QStringLiteral("전   체"), QStringLiteral("거래처"), QStringLiteral("은행명")});
    cbCheck->setEditText(QStringLiteral("거래처"));

    // Only the user's changes run the search; selecting from code does not.
    connect(cbCheck, &QComboBox::activated, this, &TForm2::cbCheckChange);
    connect(cbCheck->lineEdit(), &QLineEdit::textEdited, this, &TForm2::cbCheckChange);

    takeKoreanSearch(cbCheck);
    setTabOrder(cbCheck, edSearch);
    cbCheck->setFocus();
    FormCreate();
}

void TForm2::resetFilters()
{
    cbCheck->setCurrentIndex(0);
}

int TForm2::selectedKind() const
{
    return cbCheck->findText(cbCheck->currentText(), Qt::MatchExactly);
}

void TForm2::cbCheckChange()
{
    pQuery();
}

void TForm2::pQuery()
{
    m_request.partyKind = selectedKind();
    LookupFrame::runSearch();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // cbCheckKeyPress: Enter in the kind combo moves on, as in the search field.
    if (event->type() == QEvent::KeyPress && (watched == cbCheck || watched == cbCheck->lineEdit())) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (searchKeyPress(key))
            return true;
    }
    return LookupFrame::eventFilter(watched, event);
}

} // namespace lookup

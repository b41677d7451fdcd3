#include "accountlookup.h"

namespace lookup {

LookupDefinition TForm1::lookupDefinition()
{
    LookupDefinition s;
    s.kind = voucher::LookupKind::Account;
    s.caption = QStringLiteral("회계 계정과목을 검색하는 창입니다.");
    s.clientSize = QSize(698, 673);
    s.label2 = QStringLiteral("선택한 계정과목");
    s.label3 = QStringLiteral("검색할 계정과목명 등록");
    s.label3At = QPoint(385, 58);
    s.searchAt = QPoint(385, 72);
    s.searchBtnX = 607;
    s.panel7X = 190;
    s.codeWidth = 168;
    s.nameWidth = 218;
    s.columns = {
        {QStringLiteral("ac_code"), QStringLiteral("계정과목 코드"), 12},
        {QStringLiteral("ac_name01"), QStringLiteral("회계 계정과목 이름"), 30},
        {QStringLiteral("ac_name02"), QStringLiteral("회계 계정과목 이름에 대한 분류 계정"), 50},
    };
    s.titleAlignment = Qt::AlignLeft;
    s.noSearchOnExitTo = QStringLiteral("CloseBtn");
    return s;
}

TForm1::TForm1(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

} // namespace lookup

#include "masterlookups.h"

namespace lookup {

namespace {

// The employee lookup's window; the department, project and item lookups
// keep its layout and change caption, size, labels and columns.
LookupDefinition employeeLayout()
{
    LookupDefinition s;
    s.clientSize = QSize(788, 680);
    s.label3At = QPoint(459, 58);
    s.searchAt = QPoint(459, 72);
    s.searchBtnX = 681;
    s.panel7X = 264;
    return s;
}

} // namespace

LookupDefinition TForm3::lookupDefinition()
{
    LookupDefinition s = employeeLayout();
    s.kind = voucher::LookupKind::Employee;
    s.caption = QStringLiteral("사원이름을 검색하는 창입니다.");
    s.label2 = QStringLiteral("선택한 사원이름");
    s.label3 = QStringLiteral("검색할 사원이름 등록");
    s.columns = {
        {QStringLiteral("Sawon_Code"), QStringLiteral("사 원 코 드"), 12},
        {QStringLiteral("Sawon_Name"), QStringLiteral("사   원      이   름"), 20},
        {QStringLiteral("Sawon_Kubun"), QStringLiteral("성  별"), 6},
        {QStringLiteral("Sawon_Jumin"), QStringLiteral("주 민  등 록 번 호"), 15},
        {QStringLiteral("Sawon_Text"),
         QStringLiteral("적          요          기          재          사          항"), 50},
    };
    return s;
}

LookupDefinition TForm4::lookupDefinition()
{
    LookupDefinition s = employeeLayout();
    s.kind = voucher::LookupKind::Department;
    s.caption = QStringLiteral("부서이름을 검색하는 창입니다.");
    s.clientSize = QSize(775, 646);
    s.label2 = QStringLiteral("선택한 부서이름");
    s.label3 = QStringLiteral("검색할 부서이름 등록");
    s.columns = {
        {QStringLiteral("Buser_Code"), QStringLiteral("부  서  코  드"), 12},
        {QStringLiteral("Buser_Name"), QStringLiteral("부           서             이           름"), 35},
        {QStringLiteral("Buser_Text"),
         QStringLiteral("적               요               기               재               사               항"), 56},
    };
    // The department grid alone has no empty first column and left titles.
    s.leadingEmptyColumn = false;
    s.titleAlignment = Qt::AlignLeft;
    return s;
}

LookupDefinition TForm5::lookupDefinition()
{
    LookupDefinition s = employeeLayout();
    s.kind = voucher::LookupKind::Project;
    s.caption = QStringLiteral("프로젝트이름을 검색하는 창입니다.");
    s.clientSize = QSize(775, 689);
    s.label2 = QStringLiteral("선택한 프로젝트이름");
    s.label3 = QStringLiteral("검색할 프로젝트이름 등록");
    s.columns = {
        {QStringLiteral("Project_Code"), QStringLiteral("프로젝트 코드"), 12},
        {QStringLiteral("Project_Name"), QStringLiteral("프   로   젝   트          이   름"), 31},
        {QStringLiteral("Project_Text"),
         QStringLiteral("적             요             기             재             사             항"), 60},
    };
    return s;
}

LookupDefinition TForm6::lookupDefinition()
{
    LookupDefinition s = employeeLayout();
    s.kind = voucher::LookupKind::Item;
    s.caption = QStringLiteral("아이템 명을 검색하는 창입니다.");
    s.clientSize = QSize(775, 710);
    s.label2 = QStringLiteral("선택한 아이템 명");
    s.label3 = QStringLiteral("검색할 아이템 명 등록");
    s.columns = {
        {QStringLiteral("Item_Code"), QStringLiteral("아이템  코드"), 12},
        {QStringLiteral("Item_Name"), QStringLiteral("아          이          템             명"), 35},
        {QStringLiteral("Item_Text"),
         QStringLiteral("적               요               기               재               사               항"), 56},
    };
    return s;
}

TForm3::TForm3(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form3"));
    FormCreate();
}

TForm4::TForm4(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form4"));
    FormCreate();
}

TForm5::TForm5(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form5"));
    FormCreate();
}

TForm6::TForm6(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form6"));
    FormCreate();
}

} // namespace lookup

#include "accountlookup.h"

namespace {

struct CategoryGroup {
    const char* label; // the tt column, which only names the group
    const char* key;   // a_kubun + b_kubun + c_kubun
};

// Groups 3 to 22: each lends its accounts their classification text (bigo).
const CategoryGroup kCategoryGroups[] = {
    {"03재고자산", "10102"},   {"04투자자산", "10201"},   {"05유형자산", "10202"},   {"06무형자산", "10203"},
    {"07이연자산", "10204"},   {"08유동부채", "20101"},   {"09고정부채", "20201"},   {"10이연부채", "20301"},
    {"11자본금", "30101"},     {"12자본잉여금", "30201"}, {"13이익잉여금", "30301"}, {"14자본조정", "30401"},
    {"24노무비", "40403"},     {"25제조경비", "40404"},   {"27노무비", "40502"},     {"28제조경비", "40503"},
    {"29일반관리비", "40701"}, {"31영업외비용", "41001"}, {"33특별손실", "41301"},   {"34법인세등", "41501"},
};

} // namespace

QStringList TForm1::statementLines()
{
    QStringList lines;
    lines << QStringLiteral("select    t.ac_code,  ac_name01 = max(t.ac_name01), ac_name02 = max(t.ac_name02)")
          << QStringLiteral("from      (");

    // Group 1: every admitted account with its trimmed name.
    lines << QStringLiteral("\tselect  tt = '01전체합계란', ac_code,  ac_name01 = rtrim(ac_name), ac_name02 = ''")
          << QStringLiteral("\tfrom     test_ac_code")
          << QStringLiteral("\twhere  code_kubun = 'SSSSS'  and  ac_name not like ('%'+'회사설정계정'+'%')")
          << QStringLiteral("                and rtrim(ac_code)  not in ( '10101001000 ' )")
          << QStringLiteral("                and a_kubun + b_kubun + c_kubun not in "
                            "('40101','40201','40301','40302','40303','40304','40305',")
          << QStringLiteral("                '40401','40402','40501','40901','41201')")
          << QStringLiteral("\t            and   ac_name  like (:tbac_name)");

    // Group 2: the current assets, again without the cash account.
    lines << QStringLiteral("\tunion   all")
          << QStringLiteral("\tselect  tt = '02당좌자산', ac_code,  ac_name01 = '', ac_name02 = bigo")
          << QStringLiteral("\tfrom     test_ac_code")
          << QStringLiteral("\twhere  a_kubun + b_kubun + c_kubun = '10101'  and   code_kubun = 'SSSSS'")
          << QStringLiteral("                          and   ac_name not like ('%'+'회사설정계정'+'%')")
          << QStringLiteral("                and rtrim(ac_code)  not in ( '10101001000 ' )")
          << QStringLiteral("\t            and   ac_name  like (:tbac_name)");

    for (const CategoryGroup& g : kCategoryGroups) {
        lines << QStringLiteral("\tunion   all")
              << QStringLiteral("\tselect  tt = '%1', ac_code,  ac_name01 = '', ac_name02 = bigo")
                     .arg(QString::fromUtf8(g.label))
              << QStringLiteral("\tfrom     test_ac_code")
              << QStringLiteral("\twhere  a_kubun + b_kubun + c_kubun = '%1'   and   code_kubun = 'SSSSS'")
                     .arg(QLatin1String(g.key))
              << QStringLiteral("                          and   ac_name not like ('%'+'회사설정계정'+'%')")
              << QStringLiteral("\t            and   ac_name  like (:tbac_name)");
    }

    lines << QStringLiteral("             ) t")
          << QStringLiteral("group     by t.ac_code")
          << QStringLiteral("order     by  t.ac_code");
    return lines;
}

LookupDefinition TForm1::lookupDefinition()
{
    LookupDefinition s;
    s.kind = LookupKind::Account;
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
    s.codeColumn = QStringLiteral("ac_code");
    s.nameColumn = QStringLiteral("ac_name01");
    s.parameter = QStringLiteral("tbac_name");
    s.statement = statementLines();
    s.noSearchOnExitTo = QStringLiteral("CloseBtn");
    return s;
}

TForm1::TForm1(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form1"));
    FormCreate();
}

// The six lookups' statements, as written, and what each reads from its result.
#include "voucher/masterbook.h"

namespace voucher {


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

MasterLookup reading(LookupKind kind, const char* code, const char* name, QStringList statement)
{
    MasterLookup m;
    m.kind = kind;
    m.codeColumn = QLatin1String(code);
    m.nameColumn = QLatin1String(name);
    m.statement = std::move(statement);
    return m;
}

} // namespace

QStringList accountStatement()
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

QString partyKindFilterLine(int itemIndex)
{
    switch (itemIndex) {
    case 0:
        return QStringLiteral("   Where   Tot_Kubun like ('%' + '' + '%' )");
    case 1:
        return QStringLiteral("   Where   Tot_Kubun like ('%' +  '거래처' + '%'  )");
    case 2:
        return QStringLiteral("   Where   Tot_Kubun like ('%' +  '은행명' + '%'  )");
    default:
        return QString();
    }
}

QStringList partyStatement(int itemIndex)
{
    QStringList lines{
        QStringLiteral("   Select    Tot_Code,  Tot_Name, Tot_No, Tot_Kubun"),
        QStringLiteral("   From   ("),
        QStringLiteral("   \tSelect  Tot_code = Sale_Code,   Tot_Name = Sale_Name,"),
        QStringLiteral("               Tot_No = Sale_Serial01 + '-' + Sale_Serial02 + '-' + Sale_Serial03,"),
        QStringLiteral("               Tot_Kubun = '거래처'"),
        QStringLiteral("   \tFrom    Sale_Table"),
        QStringLiteral("       Where   rtrim(Sale_Name) like ( :tbName )"),
        QStringLiteral("   \tUnion   All"),
        QStringLiteral("   \tSelect  Tot_code = Bank_Code,   Tot_Name = Bank_Name,"),
        QStringLiteral("               Tot_No = Bank_Serial,"),
        QStringLiteral("               Tot_Kubun = '은행명'"),
        QStringLiteral("    \tFrom    Bank_Table"),
        QStringLiteral("       Where   rtrim(Bank_Name) like ( :tbName )"),
        QStringLiteral("             )  T"),
    };
    const QString filter = partyKindFilterLine(itemIndex);
    if (!filter.isEmpty())
        lines << filter;
    lines << QStringLiteral("    \tOrder  by  Tot_Code");
    return lines;
}

QVector<MasterLookup> allLookups()
{
    QVector<MasterLookup> all;
    MasterLookup accounts = reading(LookupKind::Account, "ac_code", "ac_name01", accountStatement());
    accounts.parameter = QStringLiteral("tbac_name");
    all << accounts;
    // Built per search from the kind filter.
    all << reading(LookupKind::CustomerBank, "Tot_Code", "Tot_Name", {});
    MasterLookup employees = reading(LookupKind::Employee, "Sawon_Code", "Sawon_Name", {
            QStringLiteral("Select  \tSawon_Code, Sawon_Name,"),
            QStringLiteral("\tSawon_Kubun,"),
            QStringLiteral("\tSawon_Jumin = (Sawon_Jumin01 + '-' + Sawon_Jumin02),"),
            QStringLiteral("            Sawon_Text"),
            QStringLiteral("From    \tSawon_Table"),
            QStringLiteral("Where    Sawon_Name Like ( :tbName )"),
            QStringLiteral("Order     By Sawon_Code"),
        });
    employees.residentNumberColumns = {QStringLiteral("Sawon_Jumin")};
    all << employees;
    all << reading(LookupKind::Department, "Buser_Code", "Buser_Name", {
            QStringLiteral("Select  Buser_Code, Buser_Name, Buser_Text"),
            QStringLiteral("From    Buser_Table"),
            QStringLiteral("Where  rtrim(Buser_Name) like ( :tbName )"),
            QStringLiteral("Order   By  Buser_Code"),
        });
    all << reading(LookupKind::Project, "Project_Code", "Project_Name", {
            QStringLiteral("Select  Project_Code, Project_Name, Project_Text"),
            QStringLiteral("From    Project_Table"),
            QStringLiteral("Where  rtrim(Project_Name) like ( :tbName )"),
            QStringLiteral("Order   By  Project_Code"),
        });
    all << reading(LookupKind::Item, "Item_Code", "Item_Name", {
            QStringLiteral("Select  Item_Code,  Item_Name, Item_Text"),
            QStringLiteral("From    Item_Table"),
            QStringLiteral("Where  rtrim(Item_Name) like ( :tbName )"),
            QStringLiteral("Order  By Item_Code"),
        });
    return all;
}

} // namespace voucher

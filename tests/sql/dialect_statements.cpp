#include "dialect_statements.h"

namespace dialect_statements {

namespace {

// The windows fill every line up with blanks to a fixed width.
QStringList padded(QStringList lines, int width = 102)
{
    for (QString& line : lines)
        line = line.leftJustified(width);
    return lines;
}

} // namespace

QStringList voucherList()
{
    return padded({
        "select      ttt.serial_jen,     ttt.serial_bun,    ttt.Date_day,    ttt.total,    ttt.ac_text,",
        "serial_ttt = (rtrim(ttt.serial_jen) + rtrim(ttt.serial_bun)),",
        "ac_jencode1 = max(Rtrim(ttt.ac_jencode1)), ac_JenName1 = max(Rtrim(ttt.ac_JenName1)),",
        "Cr_Amt1 = sum(ttt.cr_amt1),",
        "ac_jencode2 = max(Rtrim(ttt.ac_jencode2)), ac_JenName2 = max(Rtrim(ttt.ac_JenName2)),",
        "Dr_Amt2 = sum(ttt.dr_amt2)",
        "from      (",
        "select       t.Serial,    t.serial_jen,    t.serial_bun,    t.Date_day,    t.ac_text,",
        "total = (rtrim(tt.kubun_name) + '/' + rtrim(tt.kubun_jangso)),",
        "ac_Jencode1  =  t.ac_Jencode,   ac_JenName1  =  t.ac_JenName,",
        "CR_Amt1      =  t.Cr_Amt,       Dr_Amt1      =  t.Dr_Amt,",
        "ac_jencode2  =  '',           ac_JenName2  =  '',",
        "Cr_Amt2      =  0,              Dr_Amt2      =  0",
        "from         account_jen_AA t, kubun_table tt",
        "where      t.Date_Day + t.Kubun_Bon like (:tbDKubun) and rtrim(t.kubun_jen) = '2'",
        "and t.Serial_CrDr = '01'  and rtrim(t.kubun_bon) = rtrim(tt.kubun_code)",
        "and t.Form_Kubun = 'A002'",
        "union  all",
        "select       t.Serial,    t.serial_jen,    t.serial_bun,    t.Date_day,    t.ac_text,",
        "total = (rtrim(tt.kubun_name) + '/' + rtrim(tt.kubun_jangso)),",
        "ac_Jencode1  =  '',           ac_JenName1  =  '',",
        "CR_Amt1      =  0,              Dr_Amt1      =  0,",
        "ac_jencode2  =  t.ac_Jencode,   ac_JenName2  =  t.ac_JenName,",
        "Cr_Amt2      =  t.Cr_Amt,       Dr_Amt2      =  t.Dr_Amt",
        "from         account_jen_AA t, kubun_table tt",
        "where      t.Date_Day + t.Kubun_Bon like (:tbDKubun) and rtrim(t.kubun_jen) = '2'",
        "and t.Serial_CrDr = '02'  and rtrim(t.kubun_bon) = rtrim(tt.kubun_code)",
        "and t.Form_Kubun = 'A002'",
        ")  ttt",
        "group    by  ttt.serial_jen,    ttt.serial_bun,    ttt.date_day,    ttt.total,    ttt.ac_text",
    });
}

QStringList accountLookup()
{
    const char* const groups[][2] = {
        {"03재고자산", "10102"},   {"04투자자산", "10201"},   {"05유형자산", "10202"},   {"06무형자산", "10203"},
        {"07이연자산", "10204"},   {"08유동부채", "20101"},   {"09고정부채", "20201"},   {"10이연부채", "20301"},
        {"11자본금", "30101"},     {"12자본잉여금", "30201"}, {"13이익잉여금", "30301"}, {"14자본조정", "30401"},
        {"24노무비", "40403"},     {"25제조경비", "40404"},   {"27노무비", "40502"},     {"28제조경비", "40503"},
        {"29일반관리비", "40701"}, {"31영업외비용", "41001"}, {"33특별손실", "41301"},   {"34법인세등", "41501"},
    };
    QStringList lines{
        "select    t.ac_code,  ac_name01 = max(t.ac_name01), ac_name02 = max(t.ac_name02)",
        "from      (",
        "\tselect  tt = '01전체합계란', ac_code,  ac_name01 = rtrim(ac_name), ac_name02 = ''",
        "\tfrom     test_ac_code",
        "\twhere  code_kubun = 'SSSSS'  and  ac_name not like ('%'+'회사설정계정'+'%')",
        "                and rtrim(ac_code)  not in ( '10101001000 ' )",
        "                and a_kubun + b_kubun + c_kubun not in ('40101','40201','40301','40302','40303','40304','40305',",
        "                '40401','40402','40501','40901','41201')",
        "\t            and   ac_name  like (:tbac_name)",
        "\tunion   all",
        "\tselect  tt = '02당좌자산', ac_code,  ac_name01 = '', ac_name02 = bigo",
        "\tfrom     test_ac_code",
        "\twhere  a_kubun + b_kubun + c_kubun = '10101'  and   code_kubun = 'SSSSS'",
        "                          and   ac_name not like ('%'+'회사설정계정'+'%')",
        "                and rtrim(ac_code)  not in ( '10101001000 ' )",
        "\t            and   ac_name  like (:tbac_name)",
    };
    for (const auto& g : groups) {
        lines << "\tunion   all"
              << QStringLiteral("\tselect  tt = '%1', ac_code,  ac_name01 = '', ac_name02 = bigo").arg(QString::fromUtf8(g[0]))
              << "\tfrom     test_ac_code"
              << QStringLiteral("\twhere  a_kubun + b_kubun + c_kubun = '%1'   and   code_kubun = 'SSSSS'").arg(QLatin1String(g[1]))
              << "                          and   ac_name not like ('%'+'회사설정계정'+'%')"
              << "\t            and   ac_name  like (:tbac_name)";
    }
    lines << "             ) t"
          << "group     by t.ac_code"
          << "order     by  t.ac_code";
    return padded(lines);
}

QStringList customerAndBankLookup(int kind)
{
    QStringList lines{
        "   Select    Tot_Code,  Tot_Name, Tot_No, Tot_Kubun",
        "   From   (",
        "   \tSelect  Tot_code = Sale_Code,   Tot_Name = Sale_Name,",
        "               Tot_No = Sale_Serial01 + '-' + Sale_Serial02 + '-' + Sale_Serial03,",
        "               Tot_Kubun = '거래처'",
        "   \tFrom    Sale_Table",
        "       Where   rtrim(Sale_Name) like ( :tbName )",
        "   \tUnion   All",
        "   \tSelect  Tot_code = Bank_Code,   Tot_Name = Bank_Name,",
        "               Tot_No = Bank_Serial,",
        "               Tot_Kubun = '은행명'",
        "    \tFrom    Bank_Table",
        "       Where   rtrim(Bank_Name) like ( :tbName )",
        "             )  T",
    };
    const char* const filters[] = {
        "   Where   Tot_Kubun like ('%' + '' + '%' )",
        "   Where   Tot_Kubun like ('%' +  '거래처' + '%'  )",
        "   Where   Tot_Kubun like ('%' +  '은행명' + '%'  )",
    };
    lines << QString::fromUtf8(filters[kind]) << "    \tOrder  by  Tot_Code";
    return padded(lines);
}

QStringList printedVoucher()
{
    return padded({
        "Select   *",
        "From     (",
        "Select  Tot = ' ',  Serial_Bun , Kubun_Bon , Ac_JenCode, Ac_JenName,",
        "Serial_Jen , Serial_CrDr, Cr_Amt,  Dr_Amt,  Ac_Text,",
        "Sawon_NameCode = (rtrim(Sawon_Name)  + '   ' + rtrim(Sawon_Code)),",
        "Buser_NameCode  = (rtrim(Buser_Name)  +  '   ' + rtrim(Buser_Code)),",
        "Kubun_NameCode = (rtrim(Kubun_Name) +  '   ' + rtrim(Kubun_Code)),",
        "Project_NameCode = (rtrim(Project_Name) +  '   ' + rtrim(Project_Code)),",
        "Item_NameCode = (rtrim(Item_Name) +  '   ' + rtrim(Item_Code))",
        "From    Account_Jen_AA",
        "Where   rtrim(Date_Day)     =  :tbDateDay     and",
        "rtrim(Kubun_Bon)    =  :tbKubunBon    and",
        "rtrim(Serial_Jen)   =  :tbSerialJen   and",
        "Serial_CrDr = '01'",
        "Union",
        "Select  Tot, Serial_Bun = '', Kubun_Bon = '', Serial_Jen = '', Ac_JenCode = '', Ac_JenName = '',",
        "Serial_CrDr = '', Cr_Amt = 0, Dr_Amt = 0, Ac_Text = '',",
        "Sawon_NameCode = '', Buser_NameCode = '',",
        "Kubun_NameCode = '', Project_NameCode = '',",
        "Item_NameCode = ''",
        "From    Jen_Print",
        "Where   Tot <=  :tbCount",
        ")  T",
        "Order    By Tot, Serial_Jen, Serial_Bun, Serial_CrDr",
    });
}

} // namespace dialect_statements

#include "voucher/printstatements.h"

namespace voucher {

QStringList printLineCount()
{
    return {
        QStringLiteral("Select   *,"),
        QStringLiteral("Sawon_NameCode = (rtrim(Sawon_Name)  + '   ' + rtrim(Sawon_Code)),"),
        QStringLiteral("Buser_NameCode  = (rtrim(Buser_Name)  +  '   ' + rtrim(Buser_Code)),"),
        QStringLiteral("Kubun_NameCode = (rtrim(Kubun_Name) +  '   ' + rtrim(Kubun_Code)),"),
        QStringLiteral("Project_NameCode = (rtrim(Project_Name) +  '   ' + rtrim(Project_Code)),"),
        QStringLiteral("Item_NameCode = (rtrim(Item_Name) +  '   ' + rtrim(Item_Code))"),
        QStringLiteral("From    Account_Jen_AA"),
        QStringLiteral("Where   rtrim(Date_Day)     =  :tbDateDay     and"),
        QStringLiteral("rtrim(Kubun_Bon)    =  :tbKubunBon    and"),
        QStringLiteral("rtrim(Serial_Jen)   =  :tbSerialJen   and"),
        QStringLiteral("Serial_CrDr = '01'"),
        QStringLiteral("Order   By  Serial_Jen, Serial_Bun, Serial_CrDR"),
    };
}

QStringList printRows()
{
    return {
        QStringLiteral("Select   *"),
        QStringLiteral("From     ("),
        QStringLiteral("Select  Tot = ' ',  Serial_Bun , Kubun_Bon , Ac_JenCode, Ac_JenName,"),
        QStringLiteral("Serial_Jen , Serial_CrDr, Cr_Amt,  Dr_Amt,  Ac_Text,"),
        QStringLiteral("Sawon_NameCode = (rtrim(Sawon_Name)  + '   ' + rtrim(Sawon_Code)),"),
        QStringLiteral("Buser_NameCode  = (rtrim(Buser_Name)  +  '   ' + rtrim(Buser_Code)),"),
        QStringLiteral("Kubun_NameCode = (rtrim(Kubun_Name) +  '   ' + rtrim(Kubun_Code)),"),
        QStringLiteral("Project_NameCode = (rtrim(Project_Name) +  '   ' + rtrim(Project_Code)),"),
        QStringLiteral("Item_NameCode = (rtrim(Item_Name) +  '   ' + rtrim(Item_Code))"),
        QStringLiteral("From    Account_Jen_AA"),
        QStringLiteral("Where   rtrim(Date_Day)     =  :tbDateDay     and"),
        QStringLiteral("rtrim(Kubun_Bon)    =  :tbKubunBon    and"),
        QStringLiteral("rtrim(Serial_Jen)   =  :tbSerialJen   and"),
        QStringLiteral("Serial_CrDr = '01'"),
        QStringLiteral("Union"),
        QStringLiteral("Select  Tot, Serial_Bun = '', Kubun_Bon = '', Serial_Jen = '', Ac_JenCode = '', Ac_JenName = '',"),
        QStringLiteral("Serial_CrDr = '', Cr_Amt = 0, Dr_Amt = 0, Ac_Text = '',"),
        QStringLiteral("Sawon_NameCode = '', Buser_NameCode = '',"),
        QStringLiteral("Kubun_NameCode = '', Project_NameCode = '',"),
        QStringLiteral("Item_NameCode = ''"),
        QStringLiteral("From    Jen_Print"),
        QStringLiteral("Where   Tot <=  :tbCount"),
        QStringLiteral(")  T"),
        QStringLiteral("Order    By Tot, Serial_Jen, Serial_Bun, Serial_CrDr"),
    };
}

} // namespace voucher

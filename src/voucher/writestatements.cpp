#include "voucher/writestatements.h"

namespace voucher {

namespace {

QStringList filled(std::initializer_list<const char*> lines, int width)
{
    QStringList out;
    for (const char* line : lines)
        out << QString::fromUtf8(line).leftJustified(width, u' ');
    return out;
}

} // namespace

QStringList voucherRowInsert()
{
    return filled(
        {
            "Insert  Into  Account_Jen_AA       (",
            "Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char,",
            "Year_Char, Date_Day, Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun,",
            "Giel_Serial, Ac_JenCode, Ac_JenName, Ac_Text, Item_Code, Item_Name, Kubun_Code, Kubun_Name,",
            "Project_Code, Project_Name, Buser_Code, Buser_Name, Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day   )",
            "Values    (",
            ":tbSerial, :tbSerial_Jen, :tbSerial_Bun, :tbSerial_CrDr, :tbMonth_Char,",
            ":tbYear_Char, :tbDate_Day, :tbTable_Kubun, :tbKubun_Bon, :tbKubun_Jen, :tbKubun_Amt, :tbForm_Kubun,",
            ":tbGiel_Serial, :tbAc_JenCode, :tbAc_JenName, :tbAc_Text, :tbItem_Code, :tbItem_Name, :tbKubun_Code, :tbKubun_Name,",
            ":tbProject_Code, :tbProject_Name, :tbBuser_Code, :tbBuser_Name, :tbSawon_Code, :tbSawon_Name, :tbCr_Amt, :tbDr_Amt, :tbEnd_Day )",
        },
        139);
}

QStringList voucherRowUpdate()
{
    return filled(
        {
            "Update  Account_Jen_AA",
            "Set  Ac_JenCode   = :tbAc_JenCode,   Ac_JenName    = :tbAc_JenName,",
            "Ac_Text      = :tbAc_Text,",
            "Item_Code    = :tbItem_Code,    Item_Name     = :tbItem_Name,",
            "Kubun_Code   = :tbKubun_Code,   Kubun_Name    = :tbKubun_Name,",
            "Project_Code = :tbProject_Code, Project_Name  = :tbProject_Name,",
            "Buser_Code   = :tbBuser_Code,   Buser_Name    = :tbBuser_Name,",
            "Sawon_Code   = :tbSawon_Code,   Sawon_Name    = :tbSawon_Name,",
            "Cr_Amt       = :tbCr_Amt,       Dr_Amt        = :tbDr_Amt,",
            "End_Day      = :tbEnd_Day",
            "Where   rtrim(Date_Day) + rtrim(Serial_Jen) + rtrim(Serial_Bun) + rtrim(Serial_CrDr) = :tbSerial",
        },
        104);
}

QStringList voucherRowBranches()
{
    return filled(
        {
            "Select  Kubun_Bon",
            "From    Account_Jen_AA",
            "Where   rtrim(Date_Day) + rtrim(Serial_Jen) + rtrim(Serial_Bun) + rtrim(Serial_CrDr) = :tbSerial",
        },
        104);
}

QStringList voucherLineDelete()
{
    return filled(
        {
            "Delete",
            "From    Account_Jen_AA",
            "Where   rtrim(Serial_Jen) + rtrim(Serial_Bun) = :tbSerial",
        },
        71);
}

QStringList voucherLineRowCount()
{
    return filled(
        {
            "Select    Count(*)  As    Serial",
            "From      Account_Jen_AA",
            "Where     rtrim(Serial_Jen) + rtrim(Serial_Bun) = :tbSerial",
        },
        73);
}

QStringList voucherRowCount()
{
    return filled(
        {
            "Select    Count(*)  As    Serial",
            "From      Account_Jen_AA",
            "Where     rtrim(Serial_Jen) = :tbSerial",
        },
        73);
}

} // namespace voucher

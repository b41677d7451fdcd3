#include "printqueries.h"

#include "core/strutil.h"
#include "store/statement.h"

namespace {

// The seven rows of the form: the voucher's lines, then the filler rows.
constexpr int kFormRows = 7;

// The key of the voucher as the entry window shows it; blanks never belong to it.
void bindVoucherKey(store::SqlStatement& statement, const PrintRequest& request)
{
    statement.bindText(QStringLiteral("tbDateDay"), Str_RemoveBlanks(request.dateText));
    statement.bindText(QStringLiteral("tbKubunBon"), formatZeroPadded(request.branchIndex, 5));
    statement.bindText(QStringLiteral("tbSerialJen"), Str_RemoveBlanks(request.serialText));
}

store::SqlStatement* makeStatement(store::Connection& connection, const QString& name, const QStringList& lines,
                                   QObject* parent)
{
    auto* statement = new store::SqlStatement(connection, parent);
    statement->setObjectName(name);
    statement->setLines(lines);
    return statement;
}

} // namespace

PrintQueries::PrintQueries(store::Connection& connection, QObject* parent)
    : QObject(parent),
      Print_Count_Query(makeStatement(connection, QStringLiteral("Print_Count_Query"), printCountQueryText(), this)),
      Print_Query(makeStatement(connection, QStringLiteral("Print_Query"), printQueryText(), this)),
      m_printRows(*Print_Query)
{
}

QStringList PrintQueries::printCountQueryText()
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

QStringList PrintQueries::printQueryText()
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

bool PrintQueries::open(const PrintRequest& request)
{
    Print_Count_Query->close();
    bindVoucherKey(*Print_Count_Query, request);
    Print_Count_Query->open();

    Print_Query->close();
    bindVoucherKey(*Print_Query, request);
    Print_Query->bindText(QStringLiteral("tbCount"), formatZeroPadded(kFormRows - Print_Count_Query->rowCount(), 2));
    Print_Query->open();
    return Print_Query->isOpen() && !Print_Query->isEmpty();
}

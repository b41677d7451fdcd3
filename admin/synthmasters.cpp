#include "synthmasters.h"

#include "koreanwords.h"
#include "sqlutil.h"
#include "writesession.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "schema/schema.h"
#include "schema/voucherform.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace admin {

namespace {

const QStringList kExcludedKeys = {QStringLiteral("40101"), QStringLiteral("40201"), QStringLiteral("40301"),
                                   QStringLiteral("40302"), QStringLiteral("40303"), QStringLiteral("40304"),
                                   QStringLiteral("40305"), QStringLiteral("40401"), QStringLiteral("40402"),
                                   QStringLiteral("40501"), QStringLiteral("40901"), QStringLiteral("41201")};
const QString kCash = QLatin1String(schema::kCashCode);
const QString kPlaceholder = QStringLiteral("회사설정계정");

QString digits(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// How many rows a table still needs to reach the size asked for.
qint64 missing(store::Connection& c, const QString& table, qint64 wanted)
{
    return std::max<qint64>(0, wanted - countRows(c, table));
}

void emptyMasterTables(store::Connection& c)
{
    QSqlDatabase db = c.database();
    if (!db.transaction())
        throw core::DbError(db.lastError().text());
    try {
        for (const QString& table : masterTables())
            c.execNative(QStringLiteral("DELETE FROM %1").arg(table));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw core::DbError(db.lastError().text());
}

void addBranches(store::Connection& c, int wanted, Dice& dice)
{
    const qint64 have = countRows(c, QStringLiteral("kubun_table"));
    const auto out = tableWriter(c, QStringLiteral("kubun_table"),
                     {QStringLiteral("Kubun_Code"), QStringLiteral("Kubun_Name"), QStringLiteral("Kubun_JangSo")});
    for (qint64 i = have; i < wanted; ++i) {
        const QString place = dice.pick(places());
        out->add({digits(i, 5), place + QStringLiteral("지점"), place});
    }
    out->finish();
}

void addAccounts(store::Connection& c, int wanted, Dice& dice)
{
    const qint64 need = missing(c, QStringLiteral("test_ac_code"), wanted);
    if (need == 0)
        return;
    // Sub-accounts of the demo accounts: same key and classification, the
    // last three digits of the code numbering them.
    const QVector<QStringList> bases = [&] {
        QVector<QStringList> all = c.selectNative(QStringLiteral("SELECT ac_code, ac_name, bigo, a_kubun, b_kubun, c_kubun "
                                                              "FROM test_ac_code WHERE code_kubun = 'SSSSS' ORDER BY ac_code"));
        QVector<QStringList> kept;
        for (const QStringList& r : all)
            if (r[0] != kCash && !r[1].contains(kPlaceholder))
                kept.append(r);
        return kept;
    }();
    const QStringList& qualifiers = admin::qualifiers();
    const auto out = tableWriter(c, QStringLiteral("test_ac_code"),
                     {QStringLiteral("ac_code"), QStringLiteral("ac_name"), QStringLiteral("bigo"),
                      QStringLiteral("code_kubun"), QStringLiteral("a_kubun"), QStringLiteral("b_kubun"),
                      QStringLiteral("c_kubun")});
    for (qint64 k = 0; k < need; ++k) {
        const QStringList& base = bases[int(k % bases.size())];
        const int sub = int(k / bases.size()) + 1;
        if (sub > 999)
            break;
        const int round = (sub - 1) / int(qualifiers.size());
        QString name = base[1] + u'-' + qualifiers[(sub - 1) % qualifiers.size()];
        if (round > 0)
            name += QString::number(round + 1);
        const QString codeSet = dice.chance(0.03) ? QStringLiteral("KKKKK") : QStringLiteral("SSSSS");
        out->add({base[0].left(8) + digits(sub, 3), name, base[2], codeSet, base[3], base[4], base[5]});
    }
    out->finish();
}

QString companyName(Dice& dice)
{
    const QString stem = dice.pick(companyStems());
    const QString kind = dice.pick(companyKinds());
    const QString middle = dice.chance(0.3) ? dice.pick(places()) : QString();
    switch (dice.between(0, 3)) {
    case 0:
        return QStringLiteral("(주)") + stem + middle + kind;
    case 1:
        return stem + middle + kind + QStringLiteral("(주)");
    case 2:
        return stem + middle + kind;
    default:
        return stem + QStringLiteral(" ") + kind;
    }
}

void addCustomers(store::Connection& c, int wanted, Dice& dice)
{
    const qint64 need = missing(c, QStringLiteral("Sale_Table"), wanted);
    const auto out = tableWriter(c, QStringLiteral("Sale_Table"),
                     {QStringLiteral("Sale_Code"), QStringLiteral("Sale_Name"), QStringLiteral("Sale_Serial01"),
                      QStringLiteral("Sale_Serial02"), QStringLiteral("Sale_Serial03")});
    for (qint64 i = 1; i <= need; ++i) {
        const bool corporate = dice.chance(0.6);
        out->add({QStringLiteral("1") + digits(i, 6), companyName(dice), digits(dice.between(101, 899), 3),
                 digits(corporate ? dice.between(81, 88) : dice.between(1, 79), 2), digits(dice.between(0, 99999), 5)});
    }
    out->finish();
}

void addBanks(store::Connection& c, int wanted, Dice& dice)
{
    const qint64 need = missing(c, QStringLiteral("Bank_Table"), wanted);
    const auto out = tableWriter(c, QStringLiteral("Bank_Table"),
                     {QStringLiteral("Bank_Code"), QStringLiteral("Bank_Name"), QStringLiteral("Bank_Serial")});
    for (qint64 i = 1; i <= need; ++i) {
        const QString name = dice.pick(banks()) + u' ' + dice.pick(places()) + QStringLiteral("지점");
        const QString account = QStringLiteral("%1-%2-%3").arg(digits(dice.between(1, 999), 3),
                                                              digits(dice.between(0, 999999), 6),
                                                              digits(dice.between(1, 99), 2));
        out->add({QStringLiteral("2") + digits(i, 6), name, account});
    }
    out->finish();
}

void addEmployees(store::Connection& c, int wanted, Dice& dice)
{
    const qint64 need = missing(c, QStringLiteral("Sawon_Table"), wanted);
    const auto out = tableWriter(c, QStringLiteral("Sawon_Table"),
                     {QStringLiteral("Sawon_Code"), QStringLiteral("Sawon_Name"), QStringLiteral("Sawon_Kubun"),
                      QStringLiteral("Sawon_Jumin01"), QStringLiteral("Sawon_Jumin02"), QStringLiteral("Sawon_Text")});
    for (qint64 i = 1; i <= need; ++i) {
        const bool male = dice.chance(0.55);
        const QString name = dice.pick(surnames()) + dice.pick(givenSyllables())
                             + dice.pick(givenSyllables());
        const QString birth = digits(dice.between(50, 85), 2) + digits(dice.between(1, 12), 2) + digits(dice.between(1, 28), 2);
        const QString second = (male ? QStringLiteral("1") : QStringLiteral("2")) + digits(dice.between(0, 999999), 6);
        const QString remark = dice.pick(departmentStems()) + QStringLiteral("팀 ") + dice.pick(positions());
        out->add({QStringLiteral("3") + digits(i, 6), name, male ? QStringLiteral("남") : QStringLiteral("여"), birth,
                 second, remark});
    }
    out->finish();
}

// Departments, projects and items: code, name and a remark.
template <typename Compose>
void addCodeNameText(store::Connection& c, const QString& table, const QString& prefix, int wanted, Compose compose)
{
    const qint64 need = missing(c, table, wanted);
    const QString stem = table.left(table.indexOf(u'_'));
    const auto out = tableWriter(c, table, {stem + QStringLiteral("_Code"), stem + QStringLiteral("_Name"), stem + QStringLiteral("_Text")});
    for (qint64 i = 1; i <= need; ++i) {
        const auto [name, text] = compose(i);
        out->add({prefix + digits(i, 6), name, text});
    }
    out->finish();
}

} // namespace

void synthesizeMasters(store::Connection& c, const SynthOptions& o, Dice& dice)
{
    emptyMasterTables(c);
    schema::loadDemoData(c);
    addBranches(c, o.branches, dice);
    addAccounts(c, o.accounts, dice);
    addCustomers(c, o.customers, dice);
    addBanks(c, o.banks, dice);
    addEmployees(c, o.employees, dice);
    addCodeNameText(c, QStringLiteral("Buser_Table"), QStringLiteral("D"), o.departments, [&](qint64 i) {
        const QString name = dice.pick(places()) + u' ' + dice.pick(departmentStems())
                             + QString::number(i % 9 + 1) + QStringLiteral("팀");
        return std::pair{name, name + QStringLiteral(" 업무")};
    });
    addCodeNameText(c, QStringLiteral("Project_Table"), QStringLiteral("P"), o.projects, [&](qint64 i) {
        const QString name = dice.pick(places()) + u' ' + dice.pick(projectObjects()) + u' '
                             + dice.pick(projectActions());
        return std::pair{name, QStringLiteral("%1년 착수 사업").arg(1995 + i % 11)};
    });
    addCodeNameText(c, QStringLiteral("Item_Table"), QStringLiteral("I"), o.items, [&](qint64) {
        const QString name = dice.pick(itemObjects()) + u'(' + dice.pick(qualifiers()) + u')';
        return std::pair{name, name + QStringLiteral(" 관리 항목")};
    });
}

MasterPools readMasterPools(store::Connection& c, int branches)
{
    MasterPools pools;
    pools.branches = branches;
    for (const QStringList& r : c.selectNative(QStringLiteral("SELECT ac_code, ac_name, a_kubun, b_kubun, c_kubun FROM test_ac_code "
                                                           "WHERE code_kubun = 'SSSSS'"))) {
        const QString key = r[2] + r[3] + r[4];
        if (r[0] == kCash || r[1].contains(kPlaceholder) || kExcludedKeys.contains(key))
            continue;
        pools.accounts.append({r[0], r[1]});
        if (key == QLatin1String("40701"))
            pools.expenseAccounts.append({r[0], r[1]});
    }
    const auto read = [&](const QString& sql, QVector<CodeName>& into) {
        for (const QStringList& r : c.selectNative(sql))
            into.append({r[0], r[1]});
    };
    read(QStringLiteral("SELECT Sale_Code, Sale_Name FROM Sale_Table"), pools.customersAndBanks);
    read(QStringLiteral("SELECT Bank_Code, Bank_Name FROM Bank_Table"), pools.customersAndBanks);
    read(QStringLiteral("SELECT Sawon_Code, Sawon_Name FROM Sawon_Table"), pools.employees);
    read(QStringLiteral("SELECT Buser_Code, Buser_Name FROM Buser_Table"), pools.departments);
    read(QStringLiteral("SELECT Project_Code, Project_Name FROM Project_Table"), pools.projects);
    read(QStringLiteral("SELECT Item_Code, Item_Name FROM Item_Table"), pools.items);
    return pools;
}

} // namespace admin

// Each lookup's statement in the master book against the demo data, once on
// SQLite and once on PostgreSQL. The expected rows are worked out here from
// the raw master rows, not taken from the statements under test.
#include "core/strutil.h"
#include "enginedb.h"
#include "masterrows.h"
#include "schema/datasource.h"
#include "sql/dialect.h"
#include "store/connection.h"
#include "store/statement.h"
#include "voucher/masterbook.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>

namespace {

const QString kCash = QStringLiteral("10101001000");
const QString kCompanySetting = QStringLiteral("회사설정계정");

const QSet<QString> kExcludedKeys{
    QStringLiteral("40101"), QStringLiteral("40201"), QStringLiteral("40301"), QStringLiteral("40302"),
    QStringLiteral("40303"), QStringLiteral("40304"), QStringLiteral("40305"), QStringLiteral("40401"),
    QStringLiteral("40402"), QStringLiteral("40501"), QStringLiteral("40901"), QStringLiteral("41201")};

// Categories that lend an account its classification text.
const QSet<QString> kClassifiedKeys{
    QStringLiteral("10101"), QStringLiteral("10102"), QStringLiteral("10201"), QStringLiteral("10202"),
    QStringLiteral("10203"), QStringLiteral("10204"), QStringLiteral("20101"), QStringLiteral("20201"),
    QStringLiteral("20301"), QStringLiteral("30101"), QStringLiteral("30201"), QStringLiteral("30301"),
    QStringLiteral("30401"), QStringLiteral("40403"), QStringLiteral("40404"), QStringLiteral("40502"),
    QStringLiteral("40503"), QStringLiteral("40701"), QStringLiteral("41001"), QStringLiteral("41301"),
    QStringLiteral("41501")};

struct RawAccount {
    QString code, name, bigo, codeSet, key;
};

QVector<RawAccount> rawAccounts()
{
    QVector<RawAccount> accounts;
    for (const QStringList& r : store::Connection::account().selectNative(QStringLiteral("select ac_code, ac_name, bigo, code_kubun, a_kubun, "
                                                          "b_kubun, c_kubun from test_ac_code")))
        accounts.append({r[0], r[1], r[2], r[3], r[4] + r[5] + r[6]});
    return accounts;
}

bool holds(const QString& name, const QString& needle)
{
    return name.contains(needle, Qt::CaseInsensitive);
}

// The accounts the lookup admits for a search, as (code, name, classification).
QVector<QStringList> expectedAccounts(const QString& searchText)
{
    const QString needle = core::Str_RemoveBlanks(searchText);
    std::map<QString, std::pair<QString, QString>> byCode;
    for (const RawAccount& a : rawAccounts()) {
        if (a.codeSet != QLatin1String("SSSSS") || a.name.contains(kCompanySetting) || !holds(a.name, needle))
            continue;
        const bool named = !kExcludedKeys.contains(a.key) && a.code != kCash;
        const bool classified =
            kClassifiedKeys.contains(a.key) && !(a.key == QLatin1String("10101") && a.code == kCash);
        if (!named && !classified)
            continue;
        auto& entry = byCode[a.code];
        if (named)
            entry.first = std::max(entry.first, a.name);
        if (classified)
            entry.second = std::max(entry.second, a.bigo);
    }
    QVector<QStringList> rows;
    for (const auto& [code, names] : byCode)
        rows.append({code, names.first, names.second});
    return rows;
}

QVector<QStringList> sortedByCode(QVector<QStringList> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) { return a[0] < b[0]; });
    return rows;
}

// Customers and banks as the lookup shows them, for a kind item (-1: none).
QVector<QStringList> expectedParties(int kind, const QString& searchText)
{
    const QString needle = core::Str_RemoveBlanks(searchText);
    QVector<QStringList> rows;
    if (kind != 2)
        for (const QStringList& r : store::Connection::account().selectNative(QStringLiteral("select Sale_Code, Sale_Name, Sale_Serial01, "
                                                              "Sale_Serial02, Sale_Serial03 from Sale_Table")))
            if (holds(r[1], needle))
                rows.append({r[0], r[1], r[2] + u'-' + r[3] + u'-' + r[4], QStringLiteral("거래처")});
    if (kind != 1)
        for (const QStringList& r : store::Connection::account().selectNative(QStringLiteral("select Bank_Code, Bank_Name, Bank_Serial from Bank_Table")))
            if (holds(r[1], needle))
                rows.append({r[0], r[1], r[2], QStringLiteral("은행명")});
    return sortedByCode(rows);
}

// Names a clerk's search meets at its edges: blanks inside and after, the
// wildcards % and _ as text, Latin letters in both cases, Hangul; the
// customer and the bank of each pair share their code.
const QStringList kEdgeNames{QStringLiteral("가나 다라 상사"), QStringLiteral("100% 정품"), QStringLiteral("A_B 무역"),
                             QStringLiteral("AxB 상사"),      QStringLiteral("abc trading"), QStringLiteral("ABC BANK"),
                             QStringLiteral("끝 공백   ")};

void addEdgeNames(store::Connection& c)
{
    for (int i = 0; i < kEdgeNames.size(); ++i) {
        const QString code = QStringLiteral("'E90%1'").arg(i, 2, 10, QLatin1Char('0'));
        const QString name = u'\'' + kEdgeNames[i] + u'\'';
        const QString text = QStringLiteral("'비고'");
        execSql(c, QStringLiteral("insert into test_ac_code (ac_code, ac_name, bigo, code_kubun, a_kubun, b_kubun, c_kubun) "
                                  "values (%1, %2, %3, 'SSSSS', '5', '01', '01')").arg(code, name, text));
        execSql(c, QStringLiteral("insert into Sale_Table values (%1, %2, '123', '45', '67890')").arg(code, name));
        execSql(c, QStringLiteral("insert into Bank_Table values (%1, %2, '110-22-333')").arg(code, name));
        execSql(c, QStringLiteral("insert into Sawon_Table values (%1, %2, '남', '800101', '1234567', %3)").arg(code, name, text));
        for (const char* table : {"Buser_Table", "Project_Table", "Item_Table"})
            execSql(c, QStringLiteral("insert into %1 values (%2, %3, %4)").arg(QLatin1String(table), code, name, text));
    }
}

// One lookup's search as a dialog asks for it, on its own connection.
std::unique_ptr<voucher::MasterSearch> searched(voucher::LookupKind kind, const QString& searchText, int partyKind = 0)
{
    auto search = std::make_unique<voucher::MasterSearch>(kind, nullptr);
    search->search({1, searchText, partyKind});
    return search;
}

} // namespace

class MasterStatementsTest : public EngineClassTest {
    Q_OBJECT
public:
    using EngineClassTest::EngineClassTest;

private slots:
    void accountLookupListsWhatItsRulesAdmit()
    {
        // The demo chart must hold a case of every rule, or the comparison proves little.
        const QVector<RawAccount> raw = rawAccounts();
        auto anyRaw = [&](auto pred) { return std::any_of(raw.begin(), raw.end(), pred); };
        QVERIFY(anyRaw([](const RawAccount& a) { return a.code == kCash; }));
        QVERIFY(anyRaw([](const RawAccount& a) { return a.codeSet == "SSSSS" && a.name.contains(kCompanySetting); }));
        QVERIFY(anyRaw([](const RawAccount& a) { return a.codeSet == "SSSSS" && kExcludedKeys.contains(a.key); }));
        QVERIFY(anyRaw([](const RawAccount& a) { return a.codeSet != "SSSSS"; }));
        QVERIFY(anyRaw([](const RawAccount& a) {
            return a.codeSet == "SSSSS" && !kExcludedKeys.contains(a.key) && !kClassifiedKeys.contains(a.key);
        }));

        const auto search = searched(voucher::LookupKind::Account, QString()); // every admitted account
        const QVector<QStringList> rows = readRows(
            *search->result(), {QStringLiteral("ac_code"), QStringLiteral("ac_name01"), QStringLiteral("ac_name02")});
        COMPARE_ROWS(rows, expectedAccounts(QString()));

        QSet<QString> codes;
        for (const QStringList& r : rows)
            codes.insert(r[0]);
        QVERIFY(!codes.contains(kCash));
        for (const RawAccount& a : raw) {
            if (a.name.contains(kCompanySetting) || kExcludedKeys.contains(a.key))
                QVERIFY2(!codes.contains(a.code), qPrintable(a.code));
            // Another code set may reuse a code, never with its own name.
            if (a.codeSet != "SSSSS")
                QVERIFY2(std::none_of(rows.begin(), rows.end(), [&](const QStringList& r) { return r[1] == a.name; }),
                         qPrintable(a.name));
            // An ungrouped category: listed once, its second name column empty.
            if (a.codeSet == "SSSSS" && a.key == QLatin1String("50101"))
                QVERIFY(rows.contains(QStringList{a.code, a.name, QString()}));
            // A classified account carries its name and its classification.
            if (a.code == QLatin1String("10102001000"))
                QVERIFY(rows.contains(QStringList{a.code, a.name, a.bigo}));
        }
        QVERIFY(std::is_sorted(rows.begin(), rows.end(),
                               [](const QStringList& a, const QStringList& b) { return a[0] < b[0]; }));
    }

    void accountSearch_data()
    {
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("findsSome");
        QTest::newRow("blanks around and inside") << QStringLiteral("  보통 예 금 ") << true;
        QTest::newRow("a run inside names") << QStringLiteral("상각") << true;
        QTest::newRow("excluded category by name") << QStringLiteral("상품매출") << false;
        QTest::newRow("company setting") << QStringLiteral("회사 설정") << false;
        QTest::newRow("cash by name") << QStringLiteral("현금") << false;
        QTest::newRow("nothing matches") << QStringLiteral("없는계정과목") << false;
    }

    void accountSearch()
    {
        QFETCH(QString, searchText);
        QFETCH(bool, findsSome);
        const auto search = searched(voucher::LookupKind::Account, searchText);
        const QVector<QStringList> rows = readRows(
            *search->result(), {QStringLiteral("ac_code"), QStringLiteral("ac_name01"), QStringLiteral("ac_name02")});
        COMPARE_ROWS(rows, expectedAccounts(searchText));
        QCOMPARE(!rows.isEmpty(), findsSome);
    }

    void customerBankLookupFiltersByKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("searchText");
        QTest::newRow("all") << 0 << QString();
        QTest::newRow("customers") << 1 << QString();
        QTest::newRow("banks") << 2 << QString();
        QTest::newRow("no kind item: no filter") << -1 << QString();
        QTest::newRow("banks, blanks in search") << 2 << QStringLiteral(" 국민 은행 ");
        QTest::newRow("all, run across both tables") << 0 << QStringLiteral("부산");
        QTest::newRow("customers, bank name") << 1 << QStringLiteral("은행");
        QTest::newRow("parenthesis and a trailing blank") << 0 << QStringLiteral("(주) ");
    }

    void customerBankLookupFiltersByKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, searchText);
        const auto search = searched(voucher::LookupKind::CustomerBank, searchText, kind);
        const QVector<QStringList> rows = readRows(*search->result(), {QStringLiteral("Tot_Code"), QStringLiteral("Tot_Name"),
                                                                   QStringLiteral("Tot_No"), QStringLiteral("Tot_Kubun")});
        const QVector<QStringList> expected = expectedParties(kind, searchText);
        COMPARE_ROWS(rows, expected);
        if (kind != 1)
            QVERIFY(!expected.isEmpty());
    }

    void masterLookups_data()
    {
        QTest::addColumn<voucher::LookupKind>("kind");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("findsSome");
        const QString employees = QStringLiteral(
            "select Sawon_Code, Sawon_Name, Sawon_Kubun, Sawon_Jumin01, Sawon_Jumin02, Sawon_Text from Sawon_Table");
        const QString departments = QStringLiteral("select Buser_Code, Buser_Name, Buser_Text from Buser_Table");
        const QString projects = QStringLiteral("select Project_Code, Project_Name, Project_Text from Project_Table");
        const QString items = QStringLiteral("select Item_Code, Item_Name, Item_Text from Item_Table");
        QTest::newRow("employees, all") << voucher::LookupKind::Employee << employees << QString() << true;
        QTest::newRow("employees, blanks") << voucher::LookupKind::Employee << employees << QStringLiteral(" 김 철 ") << true;
        QTest::newRow("departments, all") << voucher::LookupKind::Department << departments << QString() << true;
        QTest::newRow("departments, blanks") << voucher::LookupKind::Department << departments << QStringLiteral("영업 ") << true;
        QTest::newRow("projects, all") << voucher::LookupKind::Project << projects << QString() << true;
        QTest::newRow("projects, lower-case ASCII") << voucher::LookupKind::Project << projects << QStringLiteral(" e r p") << true;
        QTest::newRow("projects, blank of the name left out") << voucher::LookupKind::Project << projects << QStringLiteral("본사사옥") << false;
        QTest::newRow("items, all") << voucher::LookupKind::Item << items << QString() << true;
        QTest::newRow("items, blanks") << voucher::LookupKind::Item << items << QStringLiteral("요 금") << true;
        QTest::newRow("items, nothing") << voucher::LookupKind::Item << items << QStringLiteral("없는항목") << false;
    }

    void masterLookups()
    {
        QFETCH(voucher::LookupKind, kind);
        QFETCH(QString, sql);
        QFETCH(QString, searchText);
        QFETCH(bool, findsSome);
        const auto search = searched(kind, searchText);
        const QVector<QStringList> rows = readRows(*search->result(), resultColumns(*search->result()));
        const bool employees = kind == voucher::LookupKind::Employee;
        // The registration number is read whole and shown masked.
        QCOMPARE(search->showsMasked(QStringLiteral("Sawon_Jumin")), employees);

        const QString needle = core::Str_RemoveBlanks(searchText);
        QVector<QStringList> expected;
        for (QStringList r : store::Connection::account().selectNative(sql)) {
            if (employees) // the registration number is read joined
                r = QStringList{r[0], r[1], r[2], r[3] + u'-' + r[4], r[5]};
            if (holds(r[1], needle))
                expected.append(r);
        }
        COMPARE_ROWS(rows, sortedByCode(expected));
        QCOMPARE(!rows.isEmpty(), findsSome);
    }

    // On SQLite the customer and bank union is merged into the query around
    // it and read in code order from the two code indexes, so the first page
    // shows without sorting every customer; the account groups are found by
    // the index on their joined key. On PostgreSQL the union's leaves are read
    // as their tables, in code order from the same indexes (the planner is
    // told not to sort, so that the plan shows whether it could avoid it).
    // (The rows are checked above and below.)
    void lookupsReadByIndex()
    {
        if (m_postgres) {
            store::Connection& c = store::Connection::account();
            QStringList plans;
            execSql(c, QStringLiteral("SET enable_sort = off"));
            for (int kind : {-1, 0, 1, 2}) {
                QString sql = sql::translateSql(voucher::partyStatement(kind).join(u'\n'), core::Engine::PostgreSQL);
                sql.replace(QStringLiteral(":tbName"), QStringLiteral("'%'"));
                plans << QString();
                for (const QStringList& r : c.selectNative(QStringLiteral("EXPLAIN ") + sql))
                    plans.last() += r.value(0) + u'\n';
            }
            execSql(c, QStringLiteral("RESET enable_sort"));
            static const QRegularExpression sortNode(QStringLiteral("(^|->)\\s*Sort\\s+\\("),
                                                     QRegularExpression::MultilineOption);
            for (const QString& plan : std::as_const(plans)) {
                QVERIFY2(!plan.contains(sortNode), qPrintable(plan));
                QVERIFY2(plan.contains(QLatin1String("Index Scan using ix_")), qPrintable(plan));
            }
            return;
        }
        const auto plan = [](const QStringList& lines) {
            QString sql = sql::translateSql(lines.join(u'\n'), core::Engine::SQLite);
            sql.replace(QStringLiteral(":tbName"), QStringLiteral("'%'")).replace(QStringLiteral(":tbac_name"), QStringLiteral("'%'"));
            QString text;
            for (const QStringList& r : store::Connection::account().selectNative(QStringLiteral("EXPLAIN QUERY PLAN ") + sql))
                text += r.value(3) + u'\n';
            return text;
        };
        for (int kind : {-1, 0, 1, 2}) {
            const QString parties = plan(voucher::partyStatement(kind));
            QVERIFY2(!parties.contains(QLatin1String("TEMP B-TREE")), qPrintable(parties));
            QVERIFY2(parties.contains(QLatin1String("ix_sale_code")) && parties.contains(QLatin1String("ix_bank_code")),
                     qPrintable(parties));
        }
        const QString accounts = plan(voucher::accountStatement());
        QCOMPARE(accounts.count(QLatin1String("USING INDEX ix_ac_group")), 21);
    }

    // A lookup left half read (more rows than one of the driver's batches)
    // reads on through the lookups' own connection (in pages on a server): the entry
    // window's connection holds no transaction for it, whose commit (a
    // save's) would read the cursor to its end, and a write (as a save
    // makes) does not read the rest of it first.
    void aHalfReadLookupCostsTheWindowsWritesNothing()
    {
        addParties(QStringLiteral("Sale_Table"), QStringLiteral("H"), 1100, QStringLiteral("추가 거래처"));
        const auto search = searched(voucher::LookupKind::CustomerBank, QString());
        store::SqlStatement* list = search->result();
        QVERIFY(list->canFetchMore());
        if (m_postgres) {
            const QVector<QStringList> transactionStart = store::Connection::account().selectNative(
                QStringLiteral("select case when now() = statement_timestamp() then 'none' else 'open' end"));
            QCOMPARE(transactionStart.value(0).value(0), QStringLiteral("none"));
        }
        store::SqlStatement write;
        write.setLines({QStringLiteral("update Jen_Print set Tot = Tot where 1 = 0")});
        write.execute();
        QVERIFY(list->canFetchMore());
    }

    // On PostgreSQL the name searches are answered by trigram indexes and
    // read through a cursor. Each lookup's statement returns exactly the rows
    // it returns read whole and from the table alone (no index scans), on
    // edge names; on SQLite both runs are the same plain statement.
    void nameSearchesReadTheSameRowsByIndex_data()
    {
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("findsEdgeNames");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("blank of the name left out") << QStringLiteral("나 다") << false;
        QTest::newRow("percent") << QStringLiteral("%") << true;
        QTest::newRow("percent after digits") << QStringLiteral("100%") << true;
        QTest::newRow("underscore") << QStringLiteral("_") << true;
        QTest::newRow("underscore between letters") << QStringLiteral("A_B") << true;
        QTest::newRow("lower case") << QStringLiteral("abc") << true;
        QTest::newRow("upper case") << QStringLiteral("ABC") << true;
        QTest::newRow("Hangul") << QStringLiteral("상사") << true;
    }

    void nameSearchesReadTheSameRowsByIndex()
    {
        QFETCH(QString, searchText);
        QFETCH(bool, findsEdgeNames);
        store::Connection& program = store::Connection::account();
        store::Connection& lookups = store::Connection::lookups();
        if (!m_edgeNamesAdded) {
            addEdgeNames(program);
            m_edgeNamesAdded = true;
        }
        std::unique_ptr<store::Connection> plain;
        if (m_postgres) {
            plain = store::Connection::openOdbc(QString::fromLatin1(schema::kDataSourceName),
                                                store::Connection::ResultReading::Whole);
            plain->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(account().schema()));
            plain->addSessionSetting(QStringLiteral("SET enable_indexscan = off"));
            plain->addSessionSetting(QStringLiteral("SET enable_bitmapscan = off"));
        }
        store::Connection& unindexed = plain ? *plain : program;
        for (voucher::LookupKind kind : voucher::kAllNameKinds) {
            // The bare CHAR columns of the account and employee names take no trigram index.
            const bool trigramIndexed =
                m_postgres && kind != voucher::LookupKind::Account && kind != voucher::LookupKind::Employee;
            if (trigramIndexed) {
                // The names are read through the trigram indexes (which
                // answer bitmap scans only), not the table or the code index.
                execSql(lookups, QStringLiteral("SET enable_seqscan = off"));
                execSql(lookups, QStringLiteral("SET enable_indexscan = off"));
            }
            const auto search = searched(kind, searchText);
            const QStringList columns = resultColumns(*search->result());
            const QVector<QStringList> indexed = readRows(*search->result(), columns);

            const QVector<QStringList> read = readAsWritten(unindexed, search->result()->text(),
                                                            search->lookup().parameter, searchText, columns);
            if (QTest::currentTestFailed())
                return;
            const bool edgeRead = std::any_of(read.begin(), read.end(),
                                              [](const QStringList& r) { return r[0].startsWith(QLatin1String("E90")); });
            QVERIFY2(edgeRead == findsEdgeNames, qPrintable(search->lookup().codeColumn));
            COMPARE_ORDERED_ROWS(indexed, read);

            if (!trigramIndexed)
                continue;
            QString sql = sql::translateSql(search->result()->lines().join(u'\n'), core::Engine::PostgreSQL);
            sql.replace(u':' + search->lookup().parameter, QStringLiteral("'%가나%'"));
            QString plan;
            for (const QStringList& r : lookups.selectNative(QStringLiteral("EXPLAIN ") + sql))
                plan += r.value(0) + u'\n';
            execSql(lookups, QStringLiteral("RESET enable_seqscan"));
            execSql(lookups, QStringLiteral("RESET enable_indexscan"));
            QVERIFY2(plan.contains(QLatin1String("_name_trgm")) && !plan.contains(QLatin1String("Seq Scan")),
                     qPrintable(plan));
        }
    }

private:
    bool m_edgeNamesAdded = false;
};

ENGINE_CLASS_TEST_MAIN(MasterStatementsTest, QCoreApplication)

#include "test_masterstatements.moc"

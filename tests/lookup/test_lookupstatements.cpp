// Each lookup's statement against the demo data, once on SQLite and once on
// PostgreSQL. The expected rows are worked out here from the raw master rows,
// not taken from the statements under test.
#include "lookuptestkit.h"

#include "core/strutil.h"
#include "lookup/lookupforms.h"
#include "schema/datasource.h"
#include "sql/dialect.h"
#include "store/connection.h"
#include "store/statement.h"
#include "enginedb.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
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

// A lookup's statement as written, without the rewrites that only change how
// the engine reads it, read whole for a search text: the named columns as
// text. A failure fails the test (see QTest::currentTestFailed()).
QVector<QStringList> readAsWritten(store::Connection& c, const QString& text, const QString& parameter,
                                   const QString& searchText, const QStringList& columns)
{
    QVector<QStringList> rows;
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    bool ran = q.prepare(sql::translateSql(text, c.engine(), /*asWritten=*/true));
    if (ran) {
        q.bindValue(u':' + parameter, voucher::searchPattern(searchText));
        ran = q.exec();
    }
    if (!ran) {
        QTest::qFail(qPrintable(q.lastError().text()), __FILE__, __LINE__);
        return rows;
    }
    while (q.next()) {
        QStringList row;
        for (const QString& column : columns)
            row << core::Str_TrimRight(q.value(q.record().indexOf(column)).toString());
        rows.append(row);
    }
    return rows;
}

// `count` customers or banks coded prefix + 0000, 0001, …, named after them.
void addParties(const QString& table, const QString& prefix, int count, const QString& name)
{
    const bool banks = table == QLatin1String("Bank_Table");
    QStringList rows;
    for (int i = 0; i < count; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        rows << QStringLiteral("('%1%2', '%3 %2', %4)")
                    .arg(prefix, number, name,
                         banks ? QStringLiteral("'110-22-333'") : QStringLiteral("'123', '45', '67890'"));
    }
    execSql(store::Connection::account(), QStringLiteral("insert into %1 values ").arg(table) + rows.join(u','));
}

std::unique_ptr<lookup::LookupFrame> makeLookup(int form, lookup::LookupTarget* target)
{
    switch (form) {
    case 1:
        return std::make_unique<lookup::TForm1>(target);
    case 2:
        return std::make_unique<lookup::TForm2>(target);
    case 3:
        return std::make_unique<lookup::TForm3>(target);
    case 4:
        return std::make_unique<lookup::TForm4>(target);
    case 5:
        return std::make_unique<lookup::TForm5>(target);
    default:
        return std::make_unique<lookup::TForm6>(target);
    }
}

} // namespace

class LookupStatementsTest : public QObject {
    Q_OBJECT
public:
    explicit LookupStatementsTest(bool postgres) : m_postgres(postgres) {}

private slots:
    void initTestCase()
    {
        if (m_postgres)
            REQUIRE_POSTGRES();
        m_account = std::make_unique<TestAccount>(m_postgres ? QStringLiteral("postgres") : QStringLiteral("sqlite"));
    }

    void cleanupTestCase() { m_account.reset(); }

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

        FakeTarget target;
        lookup::TForm1 form(&target); // creation lists every admitted account
        const QVector<QStringList> rows =
            readRows(*form.query(), {QStringLiteral("ac_code"), QStringLiteral("ac_name01"), QStringLiteral("ac_name02")});
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
        FakeTarget target;
        lookup::TForm1 form(&target);
        form.prepareFor(1, searchText);
        form.runSearch();
        const QVector<QStringList> rows =
            readRows(*form.query(), {QStringLiteral("ac_code"), QStringLiteral("ac_name01"), QStringLiteral("ac_name02")});
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
        QTest::newRow("edited text: no filter") << -1 << QString();
        QTest::newRow("banks, blanks in search") << 2 << QStringLiteral(" 국민 은행 ");
        QTest::newRow("all, run across both tables") << 0 << QStringLiteral("부산");
        QTest::newRow("customers, bank name") << 1 << QStringLiteral("은행");
        QTest::newRow("parenthesis and a trailing blank") << 0 << QStringLiteral("(주) ");
    }

    void customerBankLookupFiltersByKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, searchText);
        FakeTarget target;
        lookup::TForm2 form(&target);
        auto* cbCheck = form.findChild<QComboBox*>(QStringLiteral("cbCheck"));
        QVERIFY(cbCheck);
        QCOMPARE(cbCheck->currentText(), QStringLiteral("전   체"));
        if (kind >= 0)
            cbCheck->setCurrentIndex(kind);
        else
            cbCheck->setEditText(QStringLiteral("거래"));
        QCOMPARE(form.selectedKind(), kind);
        form.searchEdit()->setText(searchText);
        form.pQuery();
        const QVector<QStringList> rows = readRows(*form.query(), {QStringLiteral("Tot_Code"), QStringLiteral("Tot_Name"),
                                                                   QStringLiteral("Tot_No"), QStringLiteral("Tot_Kubun")});
        const QVector<QStringList> expected = expectedParties(kind, searchText);
        COMPARE_ROWS(rows, expected);
        if (kind != 1)
            QVERIFY(!expected.isEmpty());
    }

    void masterLookups_data()
    {
        QTest::addColumn<int>("form");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("searchText");
        QTest::addColumn<bool>("findsSome");
        const QString employees = QStringLiteral(
            "select Sawon_Code, Sawon_Name, Sawon_Kubun, Sawon_Jumin01, Sawon_Jumin02, Sawon_Text from Sawon_Table");
        const QString departments = QStringLiteral("select Buser_Code, Buser_Name, Buser_Text from Buser_Table");
        const QString projects = QStringLiteral("select Project_Code, Project_Name, Project_Text from Project_Table");
        const QString items = QStringLiteral("select Item_Code, Item_Name, Item_Text from Item_Table");
        QTest::newRow("employees, all") << 3 << employees << QString() << true;
        QTest::newRow("employees, blanks") << 3 << employees << QStringLiteral(" 김 철 ") << true;
        QTest::newRow("departments, all") << 4 << departments << QString() << true;
        QTest::newRow("departments, blanks") << 4 << departments << QStringLiteral("영업 ") << true;
        QTest::newRow("projects, all") << 5 << projects << QString() << true;
        QTest::newRow("projects, lower-case ASCII") << 5 << projects << QStringLiteral(" e r p") << true;
        QTest::newRow("projects, blank of the name left out") << 5 << projects << QStringLiteral("본사사옥") << false;
        QTest::newRow("items, all") << 6 << items << QString() << true;
        QTest::newRow("items, blanks") << 6 << items << QStringLiteral("요 금") << true;
        QTest::newRow("items, nothing") << 6 << items << QStringLiteral("없는항목") << false;
    }

    void masterLookups()
    {
        QFETCH(int, form);
        QFETCH(QString, sql);
        QFETCH(QString, searchText);
        QFETCH(bool, findsSome);
        FakeTarget target;
        std::unique_ptr<lookup::LookupFrame> dialog = makeLookup(form, &target);
        if (!searchText.isEmpty()) {
            dialog->prepareFor(2, searchText);
            dialog->runSearch();
        }
        QStringList columns;
        for (const lookup::LookupColumn& c : dialog->definition().columns)
            columns << c.field;
        const QVector<QStringList> rows = readRows(*dialog->query(), columns);

        const QString needle = core::Str_RemoveBlanks(searchText);
        QVector<QStringList> expected;
        for (QStringList r : store::Connection::account().selectNative(sql)) {
            if (form == 3) // the registration number is shown joined
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
        FakeTarget target;
        lookup::TForm2 form(&target);
        store::SqlStatement* list = form.query();
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

    // Ctrl+End shows the last rows of a long list at once, read in reverse
    // order, and the rows between are read when shown. A bank shares the code
    // of each customer of the half-read test, and one more bank comes last:
    // pairs of rows of one code, which the engine orders among themselves as
    // it likes, meet the edge of the rows read from the end. Every row still
    // shows once, in the order of the codes.
    void ctrlEndReadsTheListsOwnRowsFromItsEnd()
    {
        addParties(QStringLiteral("Bank_Table"), QStringLiteral("H"), 1101, QStringLiteral("추가 은행"));
        // More rows before them than a grid would rather read on than count.
        addParties(QStringLiteral("Sale_Table"), QStringLiteral("G"), 9000, QStringLiteral("앞선 거래처"));
        FakeTarget target;
        lookup::TForm2 form(&target);
        store::SqlStatement* list = form.query();
        const QStringList columns{QStringLiteral("Tot_Code"), QStringLiteral("Tot_Name"), QStringLiteral("Tot_Kubun")};

        // Another workstation's customer after the list was opened: on SQLite
        // the list shows the rows it was opened on; on a server, where the
        // list holds no transaction while shown, the rows as they stand when
        // read on, each once.
        const auto addLater = [] { addParties(QStringLiteral("Sale_Table"), QStringLiteral("G4500-"), 1, QStringLiteral("나중 거래처")); };
        if (m_postgres)
            addLater();
        QVector<QStringList> plain =
            readAsWritten(store::Connection::account(), list->text(), QStringLiteral("tbName"), QString(), columns);
        if (QTest::currentTestFailed())
            return;
        if (!m_postgres)
            addLater();

        auto* grid = form.findChild<QTableView*>(QStringLiteral("DBGrid1"));
        QVERIFY(grid);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(grid->currentIndex().row(), int(plain.size()) - 1);
        QCOMPARE(list->asText(QStringLiteral("Tot_Code")), plain.last()[0]);
        QCOMPARE(list->fetchedRows(), plain.size());
        QVERIFY2(list->rowsReadInOrder() < plain.size() / 2, "counted, not read to the end");

        // A row far from both ends first, then every row in order.
        const auto rowAt = [&](int row) {
            QStringList r;
            for (const QString& column : columns)
                r << core::Str_TrimRight(list->value(row, list->columnIndex(column)).toString());
            return r;
        };
        const int middle = int(plain.size()) / 2 + 300;
        QCOMPARE(rowAt(middle)[0], plain[middle][0]);
        QVector<QStringList> shown;
        for (int row = 0; row < plain.size(); ++row)
            shown.append(rowAt(row));
        COMPARE_ORDERED_ROWS(shown, plain);
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
            plain->addSessionSetting(QStringLiteral("SET search_path TO %1").arg(m_account->schema()));
            plain->addSessionSetting(QStringLiteral("SET enable_indexscan = off"));
            plain->addSessionSetting(QStringLiteral("SET enable_bitmapscan = off"));
        }
        store::Connection& unindexed = plain ? *plain : program;
        FakeTarget target;
        for (int form = 1; form <= 6; ++form) {
            // The bare CHAR columns of the account and employee names take no trigram index.
            const bool trigramIndexed = m_postgres && form != 1 && form != 3;
            if (trigramIndexed) {
                // The names are read through the trigram indexes (which
                // answer bitmap scans only), not the table or the code index.
                execSql(lookups, QStringLiteral("SET enable_seqscan = off"));
                execSql(lookups, QStringLiteral("SET enable_indexscan = off"));
            }
            std::unique_ptr<lookup::LookupFrame> dialog = makeLookup(form, &target);
            dialog->prepareFor(1, searchText);
            dialog->runSearch();
            QStringList columns;
            for (const lookup::LookupColumn& c : dialog->definition().columns)
                columns << c.field;
            const QVector<QStringList> indexed = readRows(*dialog->query(), columns);

            const QVector<QStringList> read = readAsWritten(unindexed, dialog->query()->text(),
                                                            dialog->reading().parameter, searchText, columns);
            if (QTest::currentTestFailed())
                return;
            const bool edgeRead = std::any_of(read.begin(), read.end(),
                                              [](const QStringList& r) { return r[0].startsWith(QLatin1String("E90")); });
            QVERIFY2(edgeRead == findsEdgeNames, qPrintable(dialog->objectName()));
            COMPARE_ORDERED_ROWS(indexed, read);

            if (!trigramIndexed)
                continue;
            QString sql = sql::translateSql(dialog->query()->lines().join(u'\n'), core::Engine::PostgreSQL);
            sql.replace(u':' + dialog->reading().parameter, QStringLiteral("'%가나%'"));
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
    bool m_postgres;
    std::unique_ptr<TestAccount> m_account;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    LookupStatementsTest onSqlite(false);
    LookupStatementsTest onPostgres(true);
    int failures = QTest::qExec(&onSqlite, argc, argv);
    failures += QTest::qExec(&onPostgres, argc, argv);
    return failures;
}

#include "test_lookupstatements.moc"

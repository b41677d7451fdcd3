#include "dialect_statements.h"

#include "core/errors.h"
#include "sql/dialect.h"
#include "sql/resultshortcuts.h"
#include "sql/sqltoken.h"
#include "store/statement.h"
#include "testdb.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using core::Engine;
using sql::translateSql;

namespace {

// A database of one engine for one test, with the real tables; a PostgreSQL
// schema is dropped again when the test ends.
struct Db {
    QTemporaryDir dir;
    QString schema;
    std::unique_ptr<store::Connection> connection;
    ~Db()
    {
        connection.reset();
        try {
            if (!schema.isEmpty())
                testdb::dropPostgresSchema(schema);
        } catch (const core::AppError& e) {
            qWarning("schema %s left behind: %s", qPrintable(schema), qPrintable(e.text()));
        }
    }
};

// Texts of the rows of a statement, columns joined by '|', in result order.
QStringList rowsOf(store::SqlStatement& q, const QStringList& columns)
{
    QStringList rows;
    for (q.first(); !q.eof(); q.next()) {
        QStringList cells;
        for (const QString& c : columns)
            cells << q.asText(c);
        rows << cells.join(u'|');
    }
    return rows;
}

void insertVoucherRow(store::Connection& c, const QString& date, const QString& bon, const QString& serialJen,
                      const QString& bun, const QString& crDr, const QString& acCode, const QString& acName,
                      const QString& text, double cr, double dr, const QString& form = QStringLiteral("A002"))
{
    c.execNative(QStringLiteral("INSERT INTO account_jen_AA (Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Date_Day, "
                                "Kubun_Bon, Kubun_Jen, Form_Kubun, Ac_JenCode, Ac_JenName, Ac_Text, Sawon_Code, "
                                "Sawon_Name, Kubun_Code, Kubun_Name, Cr_Amt, Dr_Amt) VALUES ('AA*%2*2*%3*%4*%6*%5', "
                                "'%3', '%4', '%5', '%1', '%2', '2', '%6', '%7', '%8', '%9', 'S01', '김철수', "
                                "'C01', '한빛상사', %10, %11)")
                     .arg(date, bon, serialJen, bun, crDr, form, acCode, acName, text)
                     .arg(cr)
                     .arg(dr));
}

} // namespace

// Runs a check on the engine of the data row: a fresh database with the real
// tables; an engine error fails the row with the engine's text.
#define RUN_ON_ENGINE(check)                                                   \
    do {                                                                       \
        QFETCH(bool, postgres);                                                \
        if (postgres)                                                          \
            REQUIRE_POSTGRES();                                                \
        try {                                                                  \
            Db db;                                                             \
            if (postgres)                                                      \
                db.connection = testdb::postgres(false, &db.schema);           \
            else                                                               \
                db.connection = testdb::sqlite(db.dir, false);                 \
            check(*db.connection);                                             \
        } catch (const core::AppError& e) {                                          \
            QFAIL(qPrintable(e.text()));                                       \
        }                                                                      \
    } while (0)

class TestDialect : public QObject {
    Q_OBJECT
private slots:
    void tokensGiveTheTextBack_data();
    void tokensGiveTheTextBack();
    void tokenKinds();
    void translations_data();
    void translations();
    void shortcutsToTheLastRows_data();
    void shortcutsToTheLastRows();

    void results_data();
    void concatenationAndAliases_data() { results_data(); }
    void concatenationAndAliases() { RUN_ON_ENGINE(concatenationAndAliasesOn); }
    void trailingBlanksOfComparedLiterals_data() { results_data(); }
    void trailingBlanksOfComparedLiterals() { RUN_ON_ENGINE(trailingBlanksOfComparedLiteralsOn); }
    void likeIgnoresCase_data() { results_data(); }
    void likeIgnoresCase() { RUN_ON_ENGINE(likeIgnoresCaseOn); }
    void voucherList_data() { results_data(); }
    void voucherList() { RUN_ON_ENGINE(voucherListOn); }
    void accountLookup_data() { results_data(); }
    void accountLookup() { RUN_ON_ENGINE(accountLookupOn); }
    void customerAndBankLookup_data() { results_data(); }
    void customerAndBankLookup() { RUN_ON_ENGINE(customerAndBankLookupOn); }
    void printedVoucher_data() { results_data(); }
    void printedVoucher() { RUN_ON_ENGINE(printedVoucherOn); }
    void keyedUpdateAndDelete_data() { results_data(); }
    void keyedUpdateAndDelete() { RUN_ON_ENGINE(keyedUpdateAndDeleteOn); }

private:
    void concatenationAndAliasesOn(store::Connection& c);
    void trailingBlanksOfComparedLiteralsOn(store::Connection& c);
    void likeIgnoresCaseOn(store::Connection& c);
    void voucherListOn(store::Connection& c);
    void accountLookupOn(store::Connection& c);
    void customerAndBankLookupOn(store::Connection& c);
    void printedVoucherOn(store::Connection& c);
    void keyedUpdateAndDeleteOn(store::Connection& c);
};

void TestDialect::tokensGiveTheTextBack_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("statement") << "select  tt = '01전체합계란',\tac_code -- note\r\n from t where x = :tbac_name";
    QTest::newRow("unterminated literal") << "select 'abc";
    QTest::newRow("unterminated comment") << "select 1 /* open /* nested */";
    QTest::newRow("odd characters") << "select ? $ `x` {y} ::int a.b.[c d].\"e\"";
    QTest::newRow("empty") << "";
}

void TestDialect::tokensGiveTheTextBack()
{
    QFETCH(QString, sql);
    QString joined;
    for (const auto& token : sql::tokenize(sql))
        joined += token.text;
    QCOMPARE(joined, sql);
}

void TestDialect::tokenKinds()
{
    using sql::TokenKind;
    const auto tokens = sql::tokenize(
        QStringLiteral("t.Cr_Amt+N'it''s'/*c*/<>:tb_1 [a b]-- x\n1.5e3,(;)||"));
    QVector<sql::TokenKind> kinds;
    QStringList texts;
    for (const auto& token : tokens) {
        kinds << token.kind;
        texts << token.text;
    }
    const QVector<sql::TokenKind> expected{sql::TokenKind::Name,     sql::TokenKind::Operator,  sql::TokenKind::String,
                                      sql::TokenKind::Comment,  sql::TokenKind::Operator,  sql::TokenKind::Parameter,
                                      sql::TokenKind::Space,    sql::TokenKind::QuotedName, sql::TokenKind::Comment,
                                      sql::TokenKind::Space,    sql::TokenKind::Number,    sql::TokenKind::Comma,
                                      sql::TokenKind::OpenParen, sql::TokenKind::Semicolon, sql::TokenKind::CloseParen,
                                      sql::TokenKind::Operator};
    QCOMPARE(texts, QStringList({"t.Cr_Amt", "+", "N'it''s'", "/*c*/", "<>", ":tb_1", " ", "[a b]", "-- x", "\n",
                                 "1.5e3", ",", "(", ";", ")", "||"}));
    QCOMPARE(kinds, expected);
}

void TestDialect::translations_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QString>("sqlite");
    QTest::addColumn<QString>("postgres"); // empty: the same as for SQLite

    // Select-list aliases.
    QTest::newRow("alias") << "select a = rtrim(b), c from t"
                           << "select rtrim(b) AS a, c from t" << "";
    // SQLite alone: a named joined text is cast to the text type.
    QTest::newRow("alias keeps lines") << "select x,\nserial_ttt = (rtrim(s) + rtrim(b)),\n  n = 1\nfrom t"
                                       << "select x,\nCAST((rtrim(s) || rtrim(b)) AS TEXT) AS serial_ttt,\n  1 AS n\nfrom t"
                                       << "select x,\n(rtrim(s) || rtrim(b)) AS serial_ttt,\n  1 AS n\nfrom t";
    QTest::newRow("alias after distinct and top") << "select distinct top 5 a = b from t"
                                                  << "select distinct top 5 b AS a from t" << "";
    QTest::newRow("alias in every union branch and derived table")
        << "select t.a, m = max(t.m) from (select a, m = '' from x union all select a, m = b from y) t group by t.a"
        << "select t.a, max(t.m) AS m from (select a, '' AS m from x union all select a, b AS m from y) t group by t.a"
        << "";
    QTest::newRow("alias as string literal") << "select 'Total' = sum(Cr_Amt), 'a b' = 1 from t"
                                             << "select sum(Cr_Amt) AS Total, 1 AS [a b] from t"
                                             << "select sum(Cr_Amt) AS \"total\", 1 AS \"a b\" from t";
    QTest::newRow("alias before a comment") << "select a = 1 -- one\n, b = 2 from t"
                                            << "select 1 AS a -- one\n, 2 AS b from t" << "";
    QTest::newRow("comparisons are not aliases")
        << "select case when a = b then 1 else 0 end as c from t join u on t.k = u.k where x = y"
        << "select case when a = b then 1 else 0 end as c from t join u on t.k = u.k where x = y" << "";
    QTest::newRow("set assigns") << "Update t Set a = :tbA, b = 'x ' Where rtrim(k) = 'k '"
                                 << "Update t Set a = :tbA, b = 'x ' Where rtrim(k) = 'k'" << "";
    QTest::newRow("variable assignment left alone") << "select @v = a from t" << "select @v = a from t" << "";
    QTest::newRow("count as") << "Select    Count(*)  As    Serial" << "Select    Count(*)  As    Serial" << "";

    // + between texts.
    QTest::newRow("texts join") << "select rtrim(a) + '/' + rtrim(b) As Total"
                                << "select rtrim(a) || '/' || rtrim(b) As Total" << "";
    QTest::newRow("columns and parameters are texts") << "where a + b + :p = :q"
                                                      << "where a || b || :p = :q" << "";
    QTest::newRow("amounts add") << "select Cr_Amt + Dr_Amt, t.CR_AMT1 + t.dr_amt2, sum(x) + count(*) from t"
                                 << "select Cr_Amt + Dr_Amt, t.CR_AMT1 + t.dr_amt2, sum(x) + count(*) from t" << "";
    QTest::newRow("a number makes it arithmetic") << "select Cr_Amt + :p, 1 + 2, (Cr_Amt * 2) + x, -Dr_Amt + 1"
                                                  << "select Cr_Amt + :p, 1 + 2, (Cr_Amt * 2) + x, -Dr_Amt + 1" << "";
    QTest::newRow("groups take their inner type") << "select (Cr_Amt + 1) + 2, (a + b) + c, isnull(Dr_Amt, 0) + 1"
                                                  << "select (Cr_Amt + 1) + 2, (a || b) || c, isnull(Dr_Amt, 0) + 1"
                                                  << "";
    QTest::newRow("mixed chain is grouped") << "select 'a' + b + 1 - 2"
                                            << "select ('a' || b) + 1 - 2" << "";
    QTest::newRow("case inside") << "select case when a + 'x' = b then c + d else Cr_Amt + 1 end + 0 from t"
                                 << "select case when a || 'x' = b then c || d else Cr_Amt + 1 end + 0 from t" << "";
    QTest::newRow("subquery type") << "select (select count(*) from t) + 1, (select max(a) from t) + 'x'"
                                   << "select (select count(*) from t) + 1, (select max(a) from t) || 'x'" << "";
    QTest::newRow("unary plus stays") << "where a = +1" << "where a = +1" << "";
    QTest::newRow("join before like") << "where t.Date_Day + t.Kubun_Bon like (:tbDKubun)"
                                      << "where t.Date_Day || t.Kubun_Bon like (:tbDKubun)"
                                      << "where t.Date_Day || t.Kubun_Bon ILIKE (:tbDKubun) ESCAPE ''";

    // LIKE.
    QTest::newRow("not like") << "where ac_name not like ('%'+'회사설정계정'+'%') and b LIKE :p"
                              << "where ac_name not like ('%'||'회사설정계정'||'%') and b LIKE :p"
                              << "where ac_name not like ('%'||'회사설정계정'||'%') ESCAPE '' and b ILIKE :p ESCAPE ''";
    QTest::newRow("like with its own escape") << "where a like 'x!%' + b escape '!'"
                                              << "where a like 'x!%' || b escape '!'"
                                              << "where a ILIKE 'x!%' || b escape '!'";

    // Trailing blanks.
    QTest::newRow("not in list") << "and rtrim(ac_code)  not in ( '10101001000 ' )"
                                 << "and rtrim(ac_code)  not in ( '10101001000' )" << "";
    QTest::newRow("in list elements") << "where a in ('x  ', 'y', 'z ' + 'w', ('v '))"
                                      << "where a in ('x', 'y', 'z ' || 'w', ('v'))" << "";
    QTest::newRow("every comparison") << "where a = 'x ' and 'y ' <> b and c != 'z ' and d <= ('w ') and e !< 'q '"
                                      << "where a = 'x' and 'y' <> b and c != 'z' and d <= ('w') and e >= 'q'" << "";
    QTest::newRow("part of a join is kept") << "where a = 'x ' + b and c + 'y ' = d"
                                            << "where a = 'x ' || b and c || 'y ' = d" << "";
    QTest::newRow("select list and like keep blanks") << "select Tot = ' ', ' ' from t where a like 'x '"
                                                      << "select ' ' AS Tot, ' ' from t where a like 'x '"
                                                      << "select ' ' AS Tot, ' ' from t where a ILIKE 'x ' ESCAPE ''";
    QTest::newRow("quotes inside") << "where a = 'it''s  '" << "where a = 'it''s'" << "";

    // What is never touched.
    QTest::newRow("literals") << "select 'a+b = c like '':x''' + x, 'n = 1' from t where k = ':like + '"
                              << "select 'a+b = c like '':x''' || x, 'n = 1' from t where k = ':like +'" << "";
    QTest::newRow("parameters") << "where a = :like and b = :tbSerial + :select_1"
                                << "where a = :like and b = :tbSerial || :select_1" << "";
    QTest::newRow("comments") << "-- a = b + 'c ' like\nselect x /* y = 1 + 'z' like */ from t"
                              << "-- a = b + 'c ' like\nselect x /* y = 1 + 'z' like */ from t" << "";
    QTest::newRow("tabs and lines") << "\tselect  \tTot_code = Sale_Code,\n\t\tTot_No = a + '-' + b\n   From x"
                                    << "\tselect  \tSale_Code AS Tot_code,\n\t\tCAST(a || '-' || b AS TEXT) AS Tot_No\n   From x"
                                    << "\tselect  \tSale_Code AS Tot_code,\n\t\ta || '-' || b AS Tot_No\n   From x";
    QTest::newRow("a chain ending in a sum is no text") << "select n = a + 'b' + 1 - 2 from t"
                                                        << "select (a || 'b') + 1 - 2 AS n from t" << "";
    QTest::newRow("national literal") << "where a = N'현금 '" << "where a = '현금'" << "";
    QTest::newRow("quoted names") << "select [a B], [C], \"Tot\" from t" << "select [a B], [C], \"Tot\" from t"
                                  << "select \"a b\", \"c\", \"tot\" from t";
}

void TestDialect::translations()
{
    QFETCH(QString, tsql);
    QFETCH(QString, sqlite);
    QFETCH(QString, postgres);
    QCOMPARE(sql::translateSql(tsql, core::Engine::SQLite), sqlite);
    QCOMPARE(sql::translateSql(tsql, core::Engine::PostgreSQL), postgres.isEmpty() ? sqlite : postgres);
    QCOMPARE(sql::translateSql(tsql, core::Engine::SqlServer), tsql);
}

void TestDialect::shortcutsToTheLastRows_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("reversed"); // "" when there is no shortcut
    QTest::addColumn<QString>("count");
    QTest::newRow("directions turned round") << "select a, b from t order by t.a, b desc, c asc;"
                                             << "select a, b from t order by t.a DESC, b ASC, c DESC"
                                             << "SELECT COUNT(*) FROM (\nselect a, b from t \n) counted_rows";
    QTest::newRow("order of the union") << "select a from t union all select b from u order by a"
                                        << "select a from t union all select b from u order by a DESC"
                                        << "SELECT COUNT(*) FROM (\nselect a from t union all select b from u \n) counted_rows";
    QTest::newRow("order inside a part only") << "select a from (select a from t order by a) x union select b from u"
                                              << "" << "";
    QTest::newRow("top") << "select top 5 a from t order by a" << "" << "";
    QTest::newRow("distinct top") << "select distinct top 5 a from t order by a" << "" << "";
    QTest::newRow("expression") << "select a from t order by rtrim(a)" << "" << "";
    QTest::newRow("collation") << "select a from t order by a collate Korean_Wansung_CI_AS" << "" << "";
    QTest::newRow("limit after") << "select a from t order by a limit 5" << "" << "";
    QTest::newRow("no order") << "select a from t" << "" << "";
}

void TestDialect::shortcutsToTheLastRows()
{
    QFETCH(QString, sql);
    QFETCH(QString, reversed);
    QFETCH(QString, count);
    const sql::ResultShortcuts s = sql::resultShortcuts(sql, core::Engine::SQLite, 2);
    QCOMPARE(s.usable, !reversed.isEmpty());
    if (!s.usable)
        return;
    QCOMPARE(s.reversed, reversed);
    QCOMPARE(s.count, count);
    // SQL Server names the counted columns, and reads a window its own way.
    QCOMPARE(sql::resultShortcuts(sql, core::Engine::SqlServer, 2).count, count + " (c1, c2)");
    QCOMPARE(sql::withRowWindow(s.reversed, core::Engine::SqlServer, 10, 5), reversed + "\nOFFSET 10 ROWS FETCH NEXT 5 ROWS ONLY");
    QCOMPARE(sql::withRowWindow(s.reversed, core::Engine::PostgreSQL, 10, 5), reversed + "\nLIMIT 5 OFFSET 10");
}

void TestDialect::results_data()
{
    QTest::addColumn<bool>("postgres");
    QTest::newRow("SQLite") << false;
    QTest::newRow("PostgreSQL") << true;
}

void TestDialect::concatenationAndAliasesOn(store::Connection& c)
{
    store::SqlStatement q(c);
    q.setLines({"select  joined = 'a' + 'b',  amount = 1 + 2,", "  pair = (rtrim('x  ') + '/' + :p),",
                "  odd = ':p = a + b like ''c''' + ' -- d' /* e = 'f' + */"});
    q.bindText("p", "y");
    q.open();
    QCOMPARE(q.columnCount(), 4);
    QCOMPARE(q.columnName(0).toLower(), QStringLiteral("joined"));
    QCOMPARE(q.columnName(2).toLower(), QStringLiteral("pair"));
    QCOMPARE(q.asText("joined"), QStringLiteral("ab"));
    QCOMPARE(q.asFloat("amount"), 3.0);
    QCOMPARE(q.asText("pair"), QStringLiteral("x/y"));
    QCOMPARE(q.asText("odd"), QStringLiteral(":p = a + b like 'c' -- d"));

    // Quoted names match whatever case the table was created in, as in SQL Server.
    c.execNative("INSERT INTO Jen_Print (Tot) VALUES ('01'), ('02')");
    store::SqlStatement n(c);
    n.setLines({"select 'Label' = [Tot] + \"TOT\" from Jen_Print where [tot] = N'01 '"});
    n.open();
    QCOMPARE(rowsOf(n, {"label"}), QStringList({"0101"}));
}

void TestDialect::trailingBlanksOfComparedLiteralsOn(store::Connection& c)
{
    for (const char* code : {"10101001000", "10101002000", "10102001000"})
        c.execNative(QStringLiteral("INSERT INTO test_ac_code (ac_code, ac_name, code_kubun) "
                                                  "VALUES ('%1', 'n', 'SSSSS')")
                                       .arg(QLatin1String(code)));
    store::SqlStatement q(c);
    q.setLines({"select ac_code from test_ac_code", "where rtrim(ac_code)  not in ( '10101001000 ' )",
                "and rtrim(code_kubun) = 'SSSSS  '", "order by ac_code"});
    q.open();
    QCOMPARE(rowsOf(q, {"ac_code"}), QStringList({"10101002000", "10102001000"}));
}

void TestDialect::likeIgnoresCaseOn(store::Connection& c)
{
    c.execNative("INSERT INTO Buser_Table (Buser_Code, Buser_Name) VALUES ('B1', 'Sales팀'), ('B2', 'SALES본부'), "
                 "('B3', '총무'), ('B4', 'R\\D팀'), ('B5', 'RD팀')");
    store::SqlStatement q(c);
    q.setLines({"Select  Buser_Code, Buser_Name, Buser_Text", "From    Buser_Table",
                "Where  rtrim(Buser_Name) like ( :tbName )", "Order   By  Buser_Code"});
    q.bindText("tbName", "%sales%");
    q.open();
    QCOMPARE(rowsOf(q, {"Buser_Code"}), QStringList({"B1", "B2"}));
    // A backslash is an ordinary character of the searched text.
    q.close();
    q.bindText("tbName", "%r\\d%");
    q.open();
    QCOMPARE(rowsOf(q, {"Buser_Code"}), QStringList({"B4"}));
    // A pattern that no case changes is compared as it is, finding the same.
    q.close();
    q.bindText("tbName", "%팀%");
    q.open();
    QCOMPARE(rowsOf(q, {"Buser_Code"}), QStringList({"B1", "B4", "B5"}));
    // The bare name is compared first only where a '%' ends the pattern and
    // takes the blanks a CHAR column keeps after the name.
    for (const auto& [pattern, codes] : {std::pair{"%팀", QStringList{"B1", "B4", "B5"}},
                                         std::pair{"%", QStringList{"B1", "B2", "B3", "B4", "B5"}}}) {
        q.close();
        q.bindText("tbName", pattern);
        q.open();
        QCOMPARE(rowsOf(q, {"Buser_Code"}), codes);
    }

    // The employee search matches the stored name without rtrim.
    c.execNative("INSERT INTO Sawon_Table (Sawon_Code, Sawon_Name, Sawon_Jumin01, Sawon_Jumin02) VALUES "
                 "('S1', 'Kim Minsu', '800101', '1234567'), ('S2', '이영희', '810202', '2345678')");
    store::SqlStatement s(c);
    s.setLines({"Select  \tSawon_Code, Sawon_Name,", "\tSawon_Kubun,",
                "\tSawon_Jumin = (Sawon_Jumin01 + '-' + Sawon_Jumin02),", "            Sawon_Text",
                "From    \tSawon_Table", "Where    Sawon_Name Like ( :tbName )", "Order     By Sawon_Code"});
    s.bindText("tbName", "%KIM%");
    s.open();
    QCOMPARE(rowsOf(s, {"Sawon_Code", "Sawon_Name", "Sawon_Jumin"}), QStringList({"S1|Kim Minsu|800101-1234567"}));
}

void TestDialect::voucherListOn(store::Connection& c)
{
    c.execNative("INSERT INTO kubun_table (Kubun_Code, Kubun_Name, Kubun_JangSo) VALUES "
                 "('00000', '본사', '서울'), ('00001', '지사', '부산')");
    store::SqlStatement branches(c);
    branches.setLines({"Select  Kubun_Code, ( rtrim(Kubun_Name) + '/' + rtrim(Kubun_JangSo) ) As Total",
                       "From    Kubun_Table", "Order   By   Kubun_Code"});
    branches.open();
    QCOMPARE(rowsOf(branches, {"Total"}), QStringList({"본사/서울", "지사/부산"}));

    const QString v1 = "2001-05-30-00000001";
    insertVoucherRow(c, "2001-05-30", "00000", v1, "01", "01", "51101001000", "복리후생비", "회식", 120000, 0);
    insertVoucherRow(c, "2001-05-30", "00000", v1, "01", "02", "10101001000", "현금", "회식", 0, 120000);
    insertVoucherRow(c, "2001-05-30", "00000", v1, "02", "01", "51102001000", "여비교통비", "택시", 8500, 0);
    insertVoucherRow(c, "2001-05-30", "00000", v1, "02", "02", "10101001000", "현금", "택시", 0, 8500);
    // Another branch, another date and another form stay out of the list.
    insertVoucherRow(c, "2001-05-30", "00001", "2001-05-30-00000002", "01", "01", "5", "x", "x", 1, 0);
    insertVoucherRow(c, "2001-05-31", "00000", "2001-05-31-00000001", "01", "01", "5", "x", "x", 1, 0);
    insertVoucherRow(c, "2001-05-30", "00000", "2001-05-30-00000003", "01", "01", "5", "x", "x", 1, 0, "A001");

    store::SqlStatement q(c);
    q.setLines(dialect_statements::voucherList());
    q.bindText("tbDKubun", "%2001-05-3000000%");
    q.open();
    QCOMPARE(q.rowCount(), 2);
    QStringList rows = rowsOf(q, {"serial_ttt", "Date_day", "total", "ac_text", "ac_jencode1", "ac_JenName1",
                                  "Cr_Amt1", "ac_jencode2", "ac_JenName2", "Dr_Amt2"});
    rows.sort();
    QCOMPARE(rows, QStringList({
                       "2001-05-30-0000000101|2001-05-30|본사/서울|회식|51101001000|복리후생비|120000|"
                       "10101001000|현금|120000",
                       "2001-05-30-0000000102|2001-05-30|본사/서울|택시|51102001000|여비교통비|8500|"
                       "10101001000|현금|8500",
                   }));

    // The list after a deletion: the same statement narrowed to one voucher.
    QStringList narrowed = dialect_statements::voucherList();
    narrowed[16] = "and rtrim(t.serial_jen) like (:tbjen )  and t.Form_Kubun = 'A002'";
    narrowed[27] = "and rtrim(t.serial_jen) like (:tbjen)   and t.Form_Kubun = 'A002'";
    q.close();
    q.setLines(narrowed);
    q.bindText("tbjen", "%2001-05-30-00000002%");
    q.bindText("tbDKubun", "%2001-05-3000001%");
    q.open();
    QCOMPARE(rowsOf(q, {"serial_ttt", "total", "Cr_Amt1"}), QStringList({"2001-05-30-0000000201|지사/부산|1"}));
}

void TestDialect::accountLookupOn(store::Connection& c)
{
    struct Account {
        const char *code, *name, *bigo, *a, *b, *c, *set;
    };
    const Account accounts[] = {
        {"10101001000", "현금", "현금성자산", "1", "01", "01", "SSSSS"},
        {"10101002000", "보통예금", "예금", "1", "01", "01", "SSSSS"},
        {"10102001000", "상품", "", "1", "01", "02", "SSSSS"},
        {"10102002000", "제품", "재고", "1", "01", "02", "SSSSS"},
        {"40101001000", "상품매출", "매출", "4", "01", "01", "SSSSS"},      // excluded key
        {"40701001000", "회사설정계정A", "x", "4", "07", "01", "SSSSS"},    // excluded name
        {"40701002000", "접대비", "판관비", "4", "07", "01", "SSSSS"},
        {"50101001000", "기타", "기타분류", "5", "01", "01", "SSSSS"},       // key of no group
        {"40701003000", "통신비", "판관비", "4", "07", "01", "XXXXX"},      // other code set
    };
    for (const Account& a : accounts)
        c.execNative(QStringLiteral("INSERT INTO test_ac_code (ac_code, ac_name, bigo, a_kubun, b_kubun, "
                                                  "c_kubun, code_kubun) VALUES ('%1', '%2', '%3', '%4', '%5', '%6', '%7')")
                                       .arg(QString::fromUtf8(a.code), QString::fromUtf8(a.name),
                                            QString::fromUtf8(a.bigo), QString::fromUtf8(a.a), QString::fromUtf8(a.b),
                                            QString::fromUtf8(a.c), QString::fromUtf8(a.set)));
    store::SqlStatement q(c);
    q.setLines(dialect_statements::accountLookup());
    q.bindText("tbac_name", "%%");
    q.open();
    QCOMPARE(rowsOf(q, {"ac_code", "ac_name01", "ac_name02"}),
             QStringList({"10101002000|보통예금|예금", "10102001000|상품|", "10102002000|제품|재고",
                          "40701002000|접대비|판관비", "50101001000|기타|"}));
    q.close();
    q.bindText("tbac_name", "%상품%");
    q.open();
    QCOMPARE(rowsOf(q, {"ac_code", "ac_name01"}), QStringList({"10102001000|상품"}));
}

void TestDialect::customerAndBankLookupOn(store::Connection& c)
{
    c.execNative("INSERT INTO Sale_Table (Sale_Code, Sale_Name, Sale_Serial01, Sale_Serial02, Sale_Serial03) VALUES "
                 "('C02', '대한상사', '123', '45', '67890'), ('C01', '한빛상사', '111', '22', '33333')");
    c.execNative("INSERT INTO Bank_Table (Bank_Code, Bank_Name, Bank_Serial) VALUES ('B01', '국민은행 상사지점', '001-1')");
    for (int kind : {0, 1, 2}) {
        store::SqlStatement q(c);
        q.setLines(dialect_statements::customerAndBankLookup(kind));
        q.bindText("tbName", "%상사%");
        q.open();
        const QStringList rows = rowsOf(q, {"Tot_Code", "Tot_Name", "Tot_No", "Tot_Kubun"});
        const QStringList banks{"B01|국민은행 상사지점|001-1|은행명"};
        const QStringList customers{"C01|한빛상사|111-22-33333|거래처", "C02|대한상사|123-45-67890|거래처"};
        QCOMPARE(rows, kind == 0 ? banks + customers : kind == 1 ? customers : banks);
    }
}

void TestDialect::printedVoucherOn(store::Connection& c)
{
    c.execNative("INSERT INTO Jen_Print (Tot) VALUES ('01'), ('02'), ('03'), ('04'), ('05'), ('06'), ('07')");
    const QString v = "2001-05-30-00000001";
    insertVoucherRow(c, "2001-05-30", "00003", v, "02", "01", "51102001000", "여비교통비", "택시", 8500, 0);
    insertVoucherRow(c, "2001-05-30", "00003", v, "01", "01", "51101001000", "복리후생비", "회식", 120000, 0);
    insertVoucherRow(c, "2001-05-30", "00003", v, "01", "02", "10101001000", "현금", "회식", 0, 120000);

    store::SqlStatement q(c);
    q.setLines(dialect_statements::printedVoucher());
    q.bindText("tbDateDay", "2001-05-30");
    q.bindText("tbKubunBon", "00003");
    q.bindText("tbSerialJen", v);
    q.bindText("tbCount", "05");
    q.open();
    const QStringList rows =
        rowsOf(q, {"Tot", "Serial_Bun", "Ac_JenName", "Cr_Amt", "Sawon_NameCode", "Kubun_NameCode"});
    QCOMPARE(rows, QStringList({"|01|복리후생비|120000|김철수   S01|한빛상사   C01",
                                "|02|여비교통비|8500|김철수   S01|한빛상사   C01", "01|||0||", "02|||0||",
                                "03|||0||", "04|||0||", "05|||0||"}));
}

void TestDialect::keyedUpdateAndDeleteOn(store::Connection& c)
{
    const QString v = "2001-05-30-00000001";
    insertVoucherRow(c, "2001-05-30", "00000", v, "01", "01", "51101001000", "복리후생비", "회식", 120000, 0);
    insertVoucherRow(c, "2001-05-30", "00000", v, "01", "02", "10101001000", "현금", "회식", 0, 120000);
    insertVoucherRow(c, "2001-05-30", "00000", v, "02", "01", "51102001000", "여비교통비", "택시", 8500, 0);
    insertVoucherRow(c, "2001-05-30", "00000", v, "02", "02", "10101001000", "현금", "택시", 0, 8500);

    store::SqlStatement update(c);
    update.setLines({"Update  Account_Jen_AA", "Set  Ac_Text      = :tbAc_Text,",
                     "Cr_Amt       = :tbCr_Amt,       Dr_Amt        = :tbDr_Amt",
                     "Where   rtrim(Date_Day) + rtrim(Serial_Jen) + rtrim(Serial_Bun) + rtrim(Serial_CrDr) = :tbSerial"});
    update.bindText("tbAc_Text", "야식");
    update.bindFloat("tbCr_Amt", 1500);
    update.bindFloat("tbDr_Amt", 0);
    update.bindText("tbSerial", "2001-05-30" + v + "0101");
    QCOMPARE(update.execute(), 1);

    store::SqlStatement load(c);
    load.setLines({"select *", "From   Account_Jen_AA",
                   "where  rtrim(Date_Day) + rtrim(kubun_bon) + rtrim(serial_CrDr)  =    :tbDayBonCrDr",
                   "and  rtrim(serial_jen) =  :tbSerial_jen   and  rtrim(kubun_jen) = '2'", "and  Form_Kubun = 'A002'"});
    load.bindText("tbDayBonCrDr", "2001-05-300000001");
    load.bindText("tbSerial_jen", v);
    load.open();
    QStringList rows = rowsOf(load, {"Serial_Bun", "Ac_Text", "Cr_Amt"});
    rows.sort();
    QCOMPARE(rows, QStringList({"01|야식|1500", "02|택시|8500"}));

    store::SqlStatement del(c);
    del.setLines({"Delete", "From    Account_Jen_AA", "Where   rtrim(Serial_Jen) + rtrim(Serial_Bun) = :tbSerial"});
    del.bindText("tbSerial", v + "02");
    QCOMPARE(del.execute(), 2);

    store::SqlStatement count(c);
    count.setLines({"Select    Count(*)  As    Serial", "From      Account_Jen_AA", "Where     rtrim(Serial_Jen) = :tbSerial"});
    count.bindText("tbSerial", v);
    count.open();
    QCOMPARE(count.asInteger("Serial"), qint64(2));

    store::SqlStatement max(c);
    max.setLines({"Select Max(Serial_Jen) as Serial_Max", "From   Account_Jen_AA", "Where  Date_Day = '2001-05-30'"});
    max.open();
    QCOMPARE(max.asText("Serial_Max"), v);
}

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"

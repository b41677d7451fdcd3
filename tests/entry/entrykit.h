#pragma once

#include "store/connection.h"
#include "testdb.h"

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>
#include <memory>

class DbGrid;
class QWidget;

namespace entrykit {

// The program's data source for one test: a fresh SQLite file or a fresh
// PostgreSQL schema with the demo master data, set as Connection::account()
// for the test's lifetime.
class TestAccount {
public:
    explicit TestAccount(const QString& engine); // "sqlite" or "postgres"
    ~TestAccount();
    store::Connection& connection() { return store::Connection::account(); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_schema;
};

// Data columns for a test run on both engines: "sqlite" and "postgres".
void addEngines();

// addEngines(), and each engine again behind a driver that reports the rows
// a write changed as unknown (bool column countsUnknown).
void addEnginesAndRowCounts();

// In a test run by addEngines(): fetches `engine` and skips (or, in the test
// suite, fails) the PostgreSQL row when that server is not there.
#define FETCH_ENGINE()                       \
    QFETCH(QString, engine);                 \
    if (engine == QLatin1String("postgres")) \
        REQUIRE_POSTGRES()

// In a test run by addEnginesAndRowCounts(): makes the connection report
// its write counts as the row's driver does.
#define FETCH_ROW_COUNTS(connection)   \
    QFETCH(bool, countsUnknown);       \
    (connection).setRowCountsUnknown(countsUnknown)

// One line of a seeded voucher: the debit row's account and every name and
// code of the line; the credit row is the cash account.
struct SeedLine {
    SeedLine(QString line, QString acCode, QString acName, double amount, QString text = {})
        : line(std::move(line)), acCode(std::move(acCode)), acName(std::move(acName)), amount(amount),
          text(std::move(text))
    {
    }
    QString line;     // "01".."05"
    QString acCode;
    QString acName;
    double amount = 0;
    QString text;
    QString kubunCode, kubunName;
    QString sawonCode, sawonName;
    QString buserCode, buserName;
    QString projectCode, projectName;
    QString itemCode, itemName;
};

// Writes the two rows of every line with plain INSERTs in the program's row
// form. kubunJen and form let a test add rows of other voucher kinds.
void seedVoucher(store::Connection& c, const QString& date, int branch, const QString& serialJen,
                 const QVector<SeedLine>& lines, const QString& kubunJen = QStringLiteral("2"),
                 const QString& form = QStringLiteral("A002"));

// Runs native SQL on the connection; fails the test on an error.
void execSql(store::Connection& c, const QString& sql);

// Answers every modal message box that opens while it lives: records its
// icon and text, then presses Enter on it.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    explicit ModalWatcher(QObject* parent = nullptr);
    // The key that answers a box: Enter (OK, or a question's default), or
    // Escape (a question's No).
    Qt::Key answerKey = Qt::Key_Return;
    QStringList texts;
    QVector<QMessageBox::Icon> icons;

protected:
    // After a box was answered; owner is the window it belonged to, if any.
    virtual void answered(QWidget* owner) { Q_UNUSED(owner); }

private:
    void poll();
    QTimer m_timer;
};

// Clicks the cell of a grid row (in a visible data column).
void clickGridRow(DbGrid* grid, int row, int column = 3);

// The grid's row whose result columns serial_jen and serial_bun match, or -1.
int gridRowOf(DbGrid* grid, const QString& serialJen, const QString& line);

// The display text of a grid cell.
QString gridText(DbGrid* grid, int row, int column);

// Types a text into a widget key by key; characters beyond ASCII (Hangul)
// arrive as key events carrying their text, as a committed input method
// syllable would.
void typeText(QWidget* widget, const QString& text);

// The objectName of the widget with the keyboard focus in the window.
QString focusName(QWidget* window);

} // namespace entrykit

// A test program's main with the program's application object, so that
// errors escaping a handler reach the error report as in the program.
#define ENTRY_TEST_MAIN(TestClass)                     \
    int main(int argc, char** argv)                    \
    {                                                  \
        VoucherApplication app(argc, argv);            \
        TestClass test;                                \
        return QTest::qExec(&test, argc, argv);        \
    }

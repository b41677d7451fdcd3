// What the lookup dialogs hand to the master book and how their grid reads
// a long list, once on SQLite and once on PostgreSQL (the rows each
// statement returns are the master book's tests).
#include "lookuptestkit.h"

#include "core/strutil.h"
#include "enginedb.h"
#include "lookup/lookupforms.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>

class LookupListsTest : public EngineClassTest {
    Q_OBJECT
public:
    using EngineClassTest::EngineClassTest;

private slots:
    // The kind combo's item (or an edited text, no item) and the search text
    // are what the customer and bank search is asked for.
    void customerBankLookupFiltersByKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("searchText");
        QTest::newRow("all") << 0 << QString();
        QTest::newRow("customers") << 1 << QString();
        QTest::newRow("banks") << 2 << QStringLiteral(" 국민 은행 ");
        QTest::newRow("edited text: no filter") << -1 << QStringLiteral("부산");
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
        QCOMPARE(form.query()->lines(), voucher::partyStatement(kind));
        voucher::MasterSearch asked(voucher::LookupKind::CustomerBank, nullptr);
        asked.search({1, searchText, kind});
        const QStringList columns = resultColumns(*asked.result());
        COMPARE_ROWS(readRows(*form.query(), columns), readRows(*asked.result(), columns));
    }

    // Ctrl+End shows the last rows of a long list at once, read in reverse
    // order, and the rows between are read when shown. A bank shares the code
    // of each of 1,100 customers, and one more bank comes last:
    // pairs of rows of one code, which the engine orders among themselves as
    // it likes, meet the edge of the rows read from the end. Every row still
    // shows once, in the order of the codes.
    void ctrlEndReadsTheListsOwnRowsFromItsEnd()
    {
        addParties(QStringLiteral("Sale_Table"), QStringLiteral("H"), 1100, QStringLiteral("추가 거래처"));
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
};

ENGINE_CLASS_TEST_MAIN(LookupListsTest, QApplication)

#include "test_lookuplists.moc"

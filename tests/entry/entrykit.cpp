#include "entrykit.h"

#include "testdb.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace entrykit {

void addEngines()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << QStringLiteral("sqlite");
    QTest::newRow("postgres") << QStringLiteral("postgres");
}

void addEnginesAndRowCounts()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<bool>("countsUnknown");
    for (const char* engine : {"sqlite", "postgres"}) {
        QTest::newRow(engine) << QString::fromLatin1(engine) << false;
        QTest::addRow("%s, counts unknown", engine) << QString::fromLatin1(engine) << true;
    }
}

TestAccount::TestAccount(const QString& engine)
{
    if (engine == QLatin1String("postgres")) {
        store::Connection::setAccount(testdb::postgres(true, &m_schema));
    } else {
        m_dir = std::make_unique<QTemporaryDir>();
        store::Connection::setAccount(testdb::sqlite(*m_dir));
    }
}

TestAccount::~TestAccount()
{
    store::Connection::setAccount(nullptr);
    if (!m_schema.isEmpty())
        testdb::dropPostgresSchema(m_schema);
}

void execSql(store::Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(sql))
        QFAIL(qPrintable(q.lastError().text()));
}

void seedVoucher(store::Connection& c, const QString& date, int branch, const QString& serialJen,
                 const QVector<SeedLine>& lines, const QString& kubunJen, const QString& form)
{
    const QString branchCode = QString::number(branch).rightJustified(5, u'0');
    for (const SeedLine& l : lines) {
        for (const char* side : {"01", "02"}) {
            const bool debit = QLatin1String(side) == QLatin1String("01");
            QSqlQuery q(c.database());
            q.prepare(QStringLiteral(
                "INSERT INTO account_jen_AA (Serial, Serial_Jen, Serial_Bun, Serial_CrDr, Month_Char, Year_Char,"
                " Date_Day, Table_Kubun, Kubun_Bon, Kubun_Jen, Kubun_Amt, Form_Kubun, Giel_Serial, Ac_JenCode,"
                " Ac_JenName, Ac_Text, Item_Code, Item_Name, Kubun_Code, Kubun_Name, Project_Code, Project_Name,"
                " Buser_Code, Buser_Name, Sawon_Code, Sawon_Name, Cr_Amt, Dr_Amt, End_Day)"
                " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
            const QString serial = QStringLiteral("AA*%1*%2*%3*%4*%5*%6")
                                       .arg(branchCode, kubunJen, serialJen, l.line, form, QLatin1String(side));
            const QVariantList values = {
                serial, serialJen, l.line, QLatin1String(side), date.mid(5, 2), date.left(4), date,
                QStringLiteral("AA"), branchCode, kubunJen, QStringLiteral("5"), form, QStringLiteral("999"),
                debit ? l.acCode : QStringLiteral("10101001000"), debit ? l.acName : QStringLiteral("현금"),
                l.text, l.itemCode, l.itemName, l.kubunCode, l.kubunName, l.projectCode, l.projectName,
                l.buserCode, l.buserName, l.sawonCode, l.sawonName,
                debit ? l.amount : 0.0, debit ? 0.0 : l.amount, QDateTime::currentDateTime(),
            };
            for (const QVariant& v : values)
                q.addBindValue(v);
            if (!q.exec())
                QFAIL(qPrintable(q.lastError().text()));
        }
    }
}

ModalWatcher::ModalWatcher(QObject* parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::poll);
    m_timer.start(20);
}

void ModalWatcher::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    texts << box->text();
    icons << box->icon();
    QWidget* owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
    QTest::keyClick(box, answerKey);
    answered(owner);
}

void clickGridRow(DbGrid* grid, int row, int column)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int gridRowOf(DbGrid* grid, const QString& serialJen, const QString& line)
{
    store::SqlStatement* s = grid->statement();
    const int jen = s->columnIndex(QStringLiteral("serial_jen"));
    const int bun = s->columnIndex(QStringLiteral("serial_bun"));
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (s->value(row, jen).toString().trimmed() == serialJen && s->value(row, bun).toString().trimmed() == line)
            return row;
    return -1;
}

QString gridText(DbGrid* grid, int row, int column)
{
    return grid->model()->index(row, column).data().toString();
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QString focusName(QWidget* window)
{
    QWidget* f = window->focusWidget();
    return f ? f->objectName() : QString();
}

} // namespace entrykit

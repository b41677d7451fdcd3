#include "entrykit.h"

#include "widgets/dbgrid.h"
#include "store/statement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace entrykit {

void clickGridRow(widgets::DbGrid* grid, int row, int column)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

int gridRowOf(widgets::DbGrid* grid, const QString& serialJen, const QString& line)
{
    store::SqlStatement* s = grid->statement();
    const int jen = s->columnIndex(QStringLiteral("serial_jen"));
    const int bun = s->columnIndex(QStringLiteral("serial_bun"));
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (s->value(row, jen).toString().trimmed() == serialJen && s->value(row, bun).toString().trimmed() == line)
            return row;
    return -1;
}

QString gridText(widgets::DbGrid* grid, int row, int column)
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

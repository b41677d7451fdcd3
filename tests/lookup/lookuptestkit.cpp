#include "lookuptestkit.h"

#include "core/strutil.h"
#include "store/connection.h"
#include "store/statement.h"

#include <QApplication>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

ModalCatcher::ModalCatcher()
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts.append(box->text());
            box->accept();
        }
    });
    m_timer.start();
}

QVector<QStringList> readRows(store::SqlStatement& statement, const QStringList& columns)
{
    QVector<QStringList> rows;
    if (!statement.isOpen())
        return rows;
    const int saved = statement.currentRow();
    for (statement.first(); !statement.eof(); statement.next()) {
        QStringList row;
        for (const QString& column : columns)
            row << statement.asText(column);
        rows.append(row);
    }
    statement.setCurrentRow(saved);
    return rows;
}


void compareRows(const QVector<QStringList>& actual, const QVector<QStringList>& expected)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QCOMPARE(actual[i], expected[i]);
    QCOMPARE(actual.size(), expected.size());
}

#pragma once

#include "lookup/lookuptarget.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

namespace store {
class Connection;
class SqlStatement;
}

// Records every write-back a lookup dialog makes, in order.
class FakeTarget : public LookupTarget {
public:
    struct Write {
        LookupKind kind;
        int line;
        QString code;
        QString name;
    };
    void writeLookupChoice(LookupKind kind, int line, const QString& code, const QString& name) override
    {
        writes.append({kind, line, code, name});
    }
    QVector<Write> writes;
};

// Closes the modal message boxes that open while it is armed, keeping their texts.
class ModalCatcher : public QObject {
    Q_OBJECT
public:
    ModalCatcher();
    QStringList texts;

private:
    QTimer m_timer;
};

// The rows of an open statement, each as the named columns read as text.
QVector<QStringList> readRows(store::SqlStatement& statement, const QStringList& columns);


// Compares two row lists row by row, so that a failure names the first
// differing row; returns from the test function on failure.
void compareRows(const QVector<QStringList>& actual, const QVector<QStringList>& expected);
#define COMPARE_ROWS(actual, expected)           \
    do {                                         \
        compareRows((actual), (expected));       \
        if (QTest::currentTestFailed())          \
            return;                              \
    } while (0)

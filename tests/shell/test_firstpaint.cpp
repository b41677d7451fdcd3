// Work put off until a window first shows runs once, after its first paint.
#include "shell/firstpaint.h"

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>

namespace {

class PaintCount : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestFirstPaint : public QObject {
    Q_OBJECT
private slots:
    void runsOnceAfterTheFirstPaint()
    {
        QWidget window;
        window.resize(200, 100);
        PaintCount count;
        window.installEventFilter(&count);
        int runs = 0;
        int paintsSeen = -1;
        shell::afterFirstPaint(&window, [&] {
            ++runs;
            paintsSeen = count.paints;
        });
        QCoreApplication::processEvents();
        QCOMPARE(runs, 0); // nothing painted yet
        window.show();
        QTRY_COMPARE(runs, 1);
        QVERIFY(paintsSeen >= 1);
        window.repaint();
        window.hide();
        window.show();
        QTest::qWait(50);
        QCOMPARE(runs, 1);
    }

    void runsInTheOrderAskedFor()
    {
        QWidget window;
        window.resize(200, 100);
        QStringList ran;
        shell::afterFirstPaint(&window, [&] { ran << QStringLiteral("first"); });
        shell::afterFirstPaint(&window, [&] { ran << QStringLiteral("second"); });
        shell::afterFirstPaint(&window, [&] { ran << QStringLiteral("third"); });
        window.show();
        QTRY_COMPARE(ran.size(), 3);
        QCOMPARE(ran, (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
    }
};

QTEST_MAIN(TestFirstPaint)
#include "test_firstpaint.moc"

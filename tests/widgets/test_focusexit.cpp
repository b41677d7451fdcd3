// Exit and enter handlers: the focus target by name, no nested runs while a
// handler moves the focus or shows a message box, other windows, errors.
#include "core/errorreport.h"
#include "widgets/focusexit.h"
#include "modalwatcher.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

struct Window {
    QWidget top;
    QLineEdit* a;
    QLineEdit* b;
    QLineEdit* c;
    Window()
    {
        auto* layout = new QVBoxLayout(&top);
        a = new QLineEdit(&top);
        b = new QLineEdit(&top);
        c = new QLineEdit(&top);
        a->setObjectName(QStringLiteral("a"));
        b->setObjectName(QStringLiteral("b"));
        c->setObjectName(QStringLiteral("c"));
        layout->addWidget(a);
        layout->addWidget(b);
        layout->addWidget(c);
    }
    ~Window()
    {
        for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b), static_cast<QWidget*>(c)})
            widgets::FocusExit::instance().removeHandler(w);
    }
    bool show()
    {
        top.show();
        a->setFocus();
        return QTest::qWaitForWindowActive(&top);
    }
};

// A field, a button and a list after the three fields.
struct ClickWindow : Window {
    QPushButton* button;
    QListWidget* list;
    ClickWindow()
    {
        button = new QPushButton(QStringLiteral("확인"), &top);
        button->setObjectName(QStringLiteral("button"));
        list = new QListWidget(&top);
        list->setObjectName(QStringLiteral("list"));
        list->addItems({QStringLiteral("하나"), QStringLiteral("둘")});
        list->setCurrentRow(0);
        top.layout()->addWidget(button);
        top.layout()->addWidget(list);
    }
};

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

class TestFocusExit : public QObject {
    Q_OBJECT
private slots:
    void exitHandlerIsToldTheTarget();
    void focusMovedByAHandlerStartsNoOtherHandler();
    void messageBoxInAHandlerIsNoExit();
    void anotherWindowAndBackIsNoExit();
    void enterRunsForTheControlThatEndsUpFocused();
    void firstControlClickedInTheWindowIsEntered();
    void errorInAHandlerGoesToTheReport();
    void refusedPressClicksNothing();
    void refusedPressIntoAListChoosesNoRow();
    void refusalByKeyboardSwallowsNoLaterClick();
    void focusMovesAfterABoxInAnActiveWindowStartNoHandler();
};

void TestFocusExit::exitHandlerIsToldTheTarget()
{
    Window w;
    QStringList targets;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget* t) { targets << widgets::focusTargetName(t); });
    QVERIFY(w.show());
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(targets, QStringList{"b"});
    QTest::mouseClick(w.a, Qt::LeftButton);
    QTest::mouseClick(w.c, Qt::LeftButton);
    QCOMPARE(targets, (QStringList{"b", "c"}));
    QVERIFY(!widgets::FocusExit::instance().running());
}

void TestFocusExit::focusMovedByAHandlerStartsNoOtherHandler()
{
    Window w;
    int aRuns = 0;
    QStringList bTargets;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) {
        ++aRuns;
        QVERIFY(widgets::FocusExit::instance().running());
        w.a->setFocus(); // refuse to let go
    });
    widgets::FocusExit::instance().setHandler(w.b, [&](QWidget* t) { bTargets << widgets::focusTargetName(t); });
    QVERIFY(w.show());
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(aRuns, 1);
    QVERIFY(bTargets.isEmpty()); // b never really had the focus
    QCOMPARE(w.top.focusWidget(), w.a);
    // The focus stands on a again, so the next move out of it is an exit again.
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(aRuns, 2);
    QVERIFY(bTargets.isEmpty());
}

void TestFocusExit::messageBoxInAHandlerIsNoExit()
{
    Window w;
    int aRuns = 0;
    QStringList bTargets;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) {
        ++aRuns;
        ModalWatcher answerer; // presses Enter on the box
        QMessageBox::warning(&w.top, QString(), QStringLiteral("경고"));
    });
    widgets::FocusExit::instance().setHandler(w.b, [&](QWidget* t) { bTargets << widgets::focusTargetName(t); });
    QVERIFY(w.show());
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(aRuns, 1);
    QVERIFY(bTargets.isEmpty());
    QCOMPARE(w.top.focusWidget(), w.b);
    w.top.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    QCOMPARE(QApplication::focusWidget(), w.b);
    QVERIFY(bTargets.isEmpty());
    QTest::keyClick(w.b, Qt::Key_Tab);
    QCOMPARE(bTargets, QStringList{"c"});
}

void TestFocusExit::anotherWindowAndBackIsNoExit()
{
    Window w;
    Window other;
    int aRuns = 0;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) { ++aRuns; });
    QVERIFY(w.show());
    QVERIFY(other.show());
    QCOMPARE(QApplication::focusWidget(), other.a);
    w.top.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    QCOMPARE(QApplication::focusWidget(), w.a);
    QCOMPARE(aRuns, 0);
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(aRuns, 1);
}

void TestFocusExit::enterRunsForTheControlThatEndsUpFocused()
{
    Window w;
    QStringList entered;
    widgets::FocusExit::instance().setEnterHandler(w.b, [&](QWidget* from) { entered << "b from " + widgets::focusTargetName(from); });
    widgets::FocusExit::instance().setEnterHandler(w.c, [&](QWidget* from) { entered << "c from " + widgets::focusTargetName(from); });
    bool sendOn = false;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) {
        if (sendOn)
            w.c->setFocus();
    });
    QVERIFY(w.show());
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(entered, QStringList{"b from a"});

    // The exit handler sends the focus on: the control it lands on is entered.
    w.a->setFocus();
    sendOn = true;
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(w.top.focusWidget(), w.c);
    QCOMPARE(entered, (QStringList{"b from a", "c from a"}));
}

// The first control of a window to take the focus is entered too: on a
// desktop where the click that activates the window also focuses the
// control, nothing held the focus there before.
void TestFocusExit::firstControlClickedInTheWindowIsEntered()
{
    Window w;
    for (QLineEdit* field : {w.a, w.b, w.c})
        field->setFocusPolicy(Qt::ClickFocus); // nothing takes the focus as the window comes up
    QStringList entered;
    widgets::FocusExit::instance().setEnterHandler(w.b, [&](QWidget* from) { entered << "b from " + widgets::focusTargetName(from); });
    w.top.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    QCOMPARE(QApplication::focusWidget(), nullptr);

    QTest::mouseClick(w.top.windowHandle(), Qt::LeftButton, {}, w.b->mapTo(&w.top, w.b->rect().center()));
    QCOMPARE(QApplication::focusWidget(), w.b);
    QCOMPARE(entered, QStringList{"b from "});
}

void TestFocusExit::errorInAHandlerGoesToTheReport()
{
    QStringList reported;
    core::setErrorReport([&](const QString& text) { reported << text; });
    Window w;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) { throw core::DbError(QStringLiteral("테이블이 없습니다")); });
    QVERIFY(w.show());
    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(reported, QStringList{QStringLiteral("테이블이 없습니다")});
    QCOMPARE(w.top.focusWidget(), w.b);
    QVERIFY(!widgets::FocusExit::instance().running());
    core::setErrorReport(nullptr);
}

void TestFocusExit::refusedPressClicksNothing()
{
    ClickWindow w;
    int refusals = 1;
    QStringList targets;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget* t) {
        targets << widgets::focusTargetName(t);
        if (refusals-- > 0)
            w.a->setFocus();
    });
    QSignalSpy clicks(w.button, &QPushButton::clicked);
    QVERIFY(w.show());

    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(targets, QStringList{"button"});
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!w.button->isDown());
    QCOMPARE(w.top.focusWidget(), w.a);

    // The next click is a click again.
    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(targets, (QStringList{"button", "button"}));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(w.top.focusWidget(), w.button);
    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);

    // A handler that sends the focus on elsewhere refuses the click too.
    w.a->setFocus();
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) { w.c->setFocus(); });
    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(w.top.focusWidget(), w.c);
}

void TestFocusExit::refusedPressIntoAListChoosesNoRow()
{
    ClickWindow w;
    bool refuse = true;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget*) {
        if (refuse)
            w.a->setFocus();
    });
    QSignalSpy rowClicks(w.list, &QListWidget::itemClicked);
    QVERIFY(w.show());

    // The press reaches the list's viewport, inside the control that was refused.
    clickRow(w.list, 1);
    QCOMPARE(w.list->currentRow(), 0);
    QCOMPARE(rowClicks.count(), 0);
    QCOMPARE(w.top.focusWidget(), w.a);

    refuse = false;
    clickRow(w.list, 1);
    QCOMPARE(w.list->currentRow(), 1);
    QCOMPARE(rowClicks.count(), 1);
}

void TestFocusExit::refusalByKeyboardSwallowsNoLaterClick()
{
    ClickWindow w;
    int runs = 0;
    widgets::FocusExit::instance().setHandler(w.c, [&](QWidget*) {
        if (runs++ == 0)
            w.c->setFocus(); // Tab onto the button: refused once
    });
    QSignalSpy clicks(w.button, &QPushButton::clicked);
    w.top.show();
    w.c->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&w.top));

    QTest::keyClick(w.c, Qt::Key_Tab);
    QCOMPARE(runs, 1);
    QCOMPARE(w.top.focusWidget(), w.c);
    // Straight away, without the event loop running in between.
    QTest::mouseClick(w.button, Qt::LeftButton);
    QCOMPARE(runs, 2);
    QCOMPARE(clicks.count(), 1);
}

void TestFocusExit::focusMovesAfterABoxInAnActiveWindowStartNoHandler()
{
    Window w;
    QStringList aTargets;
    QStringList bTargets;
    QStringList entered;
    widgets::FocusExit::instance().setHandler(w.a, [&](QWidget* t) {
        aTargets << widgets::focusTargetName(t);
        ModalWatcher answerer; // presses Enter on the box
        QMessageBox::warning(&w.top, QString(), QStringLiteral("경고"));
        // A desktop gives the activation back to the window as the box
        // closes; the handler goes on in an active window.
        w.top.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.top));
        QCOMPARE(QApplication::focusWidget(), w.b);
        w.c->setFocus();
        QCOMPARE(QApplication::focusWidget(), w.c);
    });
    widgets::FocusExit::instance().setHandler(w.b, [&](QWidget* t) { bTargets << widgets::focusTargetName(t); });
    widgets::FocusExit::instance().setEnterHandler(w.b, [&](QWidget*) { entered << "b"; });
    widgets::FocusExit::instance().setEnterHandler(w.c, [&](QWidget* from) { entered << "c from " + widgets::focusTargetName(from); });
    QVERIFY(w.show());

    QTest::keyClick(w.a, Qt::Key_Tab);
    QCOMPARE(aTargets, QStringList{"b"});
    QVERIFY(bTargets.isEmpty());
    QCOMPARE(entered, QStringList{"c from a"});
    QCOMPARE(QApplication::focusWidget(), w.c);
    // c holds the focus now: leaving it is an exit of c, not of b or a.
    QTest::keyClick(w.c, Qt::Key_Backtab);
    QCOMPARE(aTargets.size(), 1);
    QVERIFY(bTargets.isEmpty());
    QCOMPARE(QApplication::focusWidget(), w.b);
}

QTEST_MAIN(TestFocusExit)
#include "test_focusexit.moc"

#include "modalwatcher.h"

#include <QApplication>
#include <QTest>

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
    titles << box->windowTitle();
    QWidget* owner = box->parentWidget() ? box->parentWidget()->window() : nullptr;
    QTest::keyClick(box, answerKey);
    answered(owner);
}

#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>

class QWidget;

// Answers every modal message box that opens while it lives: records its
// icon and text, then presses the answer key on it. A box opened inside an
// event would otherwise wait for a click that never comes.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    explicit ModalWatcher(QObject* parent = nullptr);
    // The key that answers a box: Enter (OK, or a question's default), or
    // Escape (a question's No).
    Qt::Key answerKey = Qt::Key_Return;
    QStringList texts;
    QVector<QMessageBox::Icon> icons;
    QStringList titles;

protected:
    // After a box was answered; owner is the window it belonged to, if any.
    virtual void answered(QWidget* owner) { Q_UNUSED(owner); }

private:
    void poll();
    QTimer m_timer;
};

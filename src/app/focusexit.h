#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Exit handlers: a handler registered for a control runs when the keyboard
// focus leaves that control for another control of the same window, and it
// is told which control receives the focus (the focus target, compared by
// objectName). Focus that goes to another window (a message box, a lookup
// dialog) and comes back to the same control is no exit.
//
// While an exit handler runs, focus moves that it causes (putting the focus
// back, a message box) start no further exit handler: as in a desktop
// framework that aborts the focus move when the exit handler refocuses, the
// control that was about to receive the focus never really had it.
class FocusExit : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* target)>;

    static FocusExit& instance();

    void setHandler(QWidget* control, Handler handler);
    void removeHandler(QWidget* control);

    // True while an exit handler runs.
    bool running() const { return m_depth > 0; }

    // The control that last held the focus in that window, as tracked here.
    QWidget* lastFocus(QWidget* window) const;

private:
    FocusExit();
    void onFocusChanged(QWidget* old, QWidget* now);

    QHash<QWidget*, Handler> m_handlers;
    QHash<QWidget*, QPointer<QWidget>> m_lastFocusByWindow;
    int m_depth = 0;
};

// The objectName of a focus target, or "" for none.
QString focusTargetName(const QWidget* target);

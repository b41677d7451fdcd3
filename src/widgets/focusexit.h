#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace widgets {

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
//
// Enter handlers run when a control of a window takes the focus from another
// control of the same window, after the exit handler of the control left;
// the control that holds the focus once the exit handler is done is the one
// entered. The first control of a window to take the focus is entered too
// (from none).
//
// A mouse press that moved the focus into a control whose exit handler then
// sent the focus elsewhere (back to the field, or on to another control)
// does not reach that control, nor does its release: a button is not
// clicked and a grid row is not chosen by a press whose focus move was
// refused.
//
// An error that ends a handler goes to the program's error report
// (errorreport.h); the focus stays where it went.
class FocusExit : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* target)>;
    using EnterHandler = std::function<void(QWidget* from)>;

    static FocusExit& instance();

    void setHandler(QWidget* control, Handler handler);
    void removeHandler(QWidget* control);
    void setEnterHandler(QWidget* control, EnterHandler handler);

    // True while an exit or enter handler runs.
    bool running() const { return m_depth > 0; }

    // The control that last held the focus in that window, as tracked here.
    QWidget* lastFocus(QWidget* window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FocusExit();
    void onFocusChanged(QWidget* old, QWidget* now);
    void runGuarded(QWidget* window, const std::function<void()>& body);
    void refusePressInto(QWidget* target);
    bool swallowMouse(QObject* watched, QEvent* event);

    QHash<QWidget*, Handler> m_handlers;
    QHash<QWidget*, EnterHandler> m_enterHandlers;
    QHash<QWidget*, QPointer<QWidget>> m_lastFocusByWindow;
    int m_depth = 0;

    // The reason of the last focus-in: a mouse press gives focus before the
    // press itself reaches the control.
    Qt::FocusReason m_lastFocusInReason = Qt::OtherFocusReason;
    // The control whose press is to be swallowed (armed by a refused move,
    // until the press arrives or the event loop moves on), and the control
    // whose release is swallowed after its press was.
    QPointer<QWidget> m_refusedPress;
    QPointer<QWidget> m_refusedRelease;
    quint64 m_refusalArming = 0;
};

// The objectName of a focus target, or "" for none.
QString focusTargetName(const QWidget* target);

} // namespace widgets

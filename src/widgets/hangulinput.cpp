#include "hangulinput.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace widgets {

namespace {

constexpr char kAsksHangul[] = "asksHangul";
constexpr int kNewWindowDelayMs = 300;

} // namespace

HangulInput& HangulInput::instance()
{
    static HangulInput* input = new HangulInput; // lives as long as the program
    return *input;
}

void HangulInput::askOnFocus(QWidget* control)
{
    control->setProperty(kAsksHangul, true);
}

void HangulInput::start()
{
    if (m_started)
        return;
    m_started = true;
    m_method = desktopHangulInputMethod();
    if (!m_method)
        return;
    connect(qApp, &QApplication::focusChanged, this, &HangulInput::onFocusChanged);
    ask(QApplication::focusWidget()); // the control that had the focus at the first paint
}

void HangulInput::onFocusChanged(QWidget*, QWidget* now)
{
    if (!now)
        return;
    // After the focus move: the input method hears of the new control first.
    const QPointer<QWidget> control(now);
    QTimer::singleShot(0, this, [this, control] { ask(control); });
    // A window shown for the first time gets its input context from the
    // input method a moment later, and a request before that goes to the
    // window that had the focus: ask again once it is there.
    if (now->window() != m_lastWindow) {
        m_lastWindow = now->window();
        QTimer::singleShot(kNewWindowDelayMs, this, [this, control] { ask(control); });
    }
}

void HangulInput::ask(QWidget* control)
{
    if (control && control->hasFocus() && control->property(kAsksHangul).toBool())
        m_method->switchToHangul(control);
}

} // namespace widgets

#pragma once

#include <QObject>
#include <memory>

class QWidget;

namespace widgets {

// The desktop's input method, as far as a program may ask it for Hangul.
class HangulInputMethod {
public:
    virtual ~HangulInputMethod() = default;
    // Switches the input method of the window holding `control` to Hangul,
    // without waiting for an answer.
    virtual void switchToHangul(QWidget* control) = 0;
};

// The input method of this desktop where a program can ask it for Hangul
// (Windows' input method manager, fcitx5 on Linux), or none.
std::unique_ptr<HangulInputMethod> desktopHangulInputMethod();

// Controls that take Korean names and descriptions ask for Hangul when they
// take the focus, so the clerk can type Korean at once. Figures (the date,
// the amounts) do not ask. Nothing talks to the desktop before start(),
// which the program calls after its first paint; where the desktop has no
// input method to ask, nothing happens at all.
class HangulInput : public QObject {
    Q_OBJECT
public:
    static HangulInput& instance();

    void askOnFocus(QWidget* control);
    void start();

private:
    HangulInput() = default;
    void onFocusChanged(QWidget* old, QWidget* now);
    void ask(QWidget* control);

    std::unique_ptr<HangulInputMethod> m_method;
    QWidget* m_lastWindow = nullptr; // only compared
    bool m_started = false;
};

} // namespace widgets

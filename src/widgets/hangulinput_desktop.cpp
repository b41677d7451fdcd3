// The input methods a program can ask for Hangul, one per desktop.
#include "hangulinput.h"

#include <QWidget>

#if defined(Q_OS_WIN)
#include <windows.h>
#include <imm.h>

namespace widgets {
namespace {

// Windows: the Korean keyboard layout, with its input method in Hangul mode.
class WindowsImm final : public HangulInputMethod {
public:
    void switchToHangul(QWidget* control) override
    {
        HKL layouts[32];
        const int count = GetKeyboardLayoutList(32, layouts);
        for (int i = 0; i < count; ++i)
            if (LOWORD(reinterpret_cast<UINT_PTR>(layouts[i])) == 0x0412) // Korean
                ActivateKeyboardLayout(layouts[i], 0);
        const HWND window = reinterpret_cast<HWND>(control->window()->winId());
        if (HIMC context = ImmGetContext(window)) {
            DWORD conversion = 0;
            DWORD sentence = 0;
            ImmGetConversionStatus(context, &conversion, &sentence);
            ImmSetOpenStatus(context, TRUE);
            ImmSetConversionStatus(context, conversion | IME_CMODE_HANGUL, sentence);
            ImmReleaseContext(window, context);
        }
    }
};

} // namespace

std::unique_ptr<HangulInputMethod> desktopHangulInputMethod()
{
    return std::make_unique<WindowsImm>();
}

} // namespace widgets

#else
#include <QDBusConnection>
#include <QDBusMessage>

namespace widgets {
namespace {

// fcitx5: its controller on the session bus switches the input context that
// has the focus to its Hangul engine (when Hangul is among the clerk's input
// methods; otherwise fcitx5 leaves things as they are).
class Fcitx5 final : public HangulInputMethod {
public:
    void switchToHangul(QWidget*) override
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
            QStringLiteral("org.fcitx.Fcitx.Controller1"), QStringLiteral("SetCurrentIM"));
        call << QStringLiteral("hangul");
        QDBusConnection::sessionBus().send(call); // no answer awaited
    }
};

} // namespace

std::unique_ptr<HangulInputMethod> desktopHangulInputMethod()
{
    // Only where the program's input method is fcitx: Qt then talks to it.
    const QString module = qEnvironmentVariable("QT_IM_MODULE");
    if (!module.startsWith(QLatin1String("fcitx")))
        return nullptr;
    return std::make_unique<Fcitx5>();
}

} // namespace widgets
#endif

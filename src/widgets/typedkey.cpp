#include "typedkey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace widgets {

char16_t typedCharacter(const QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return 0; // accelerators and system keys type nothing
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0; // focus moves and editing keys
    case Qt::Key_Backspace:
        return mods & Qt::ControlModifier ? 127 : 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    default:
        break;
    }
    if (mods & Qt::ControlModifier) {
        // Ctrl with a letter types its control character; Ctrl with any other
        // key (arrows, digits, Insert) types nothing.
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return char16_t(key - Qt::Key_A + 1);
        switch (key) {
        case Qt::Key_BracketLeft: return 27;
        case Qt::Key_Backslash: return 28;
        case Qt::Key_BracketRight: return 29;
        default: return 0;
        }
    }
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    const QChar c = text.front();
    if (c.unicode() < 32 || c.unicode() == 127)
        return 0; // a control code from a key handled above or typing nothing
    return c.unicode();
}

KeyPressFilter::KeyPressFilter(Handler handler, QObject* parent) : QObject(parent), m_handler(std::move(handler)) {}

void KeyPressFilter::watch(QWidget* control)
{
    control->installEventFilter(this);
}

void KeyPressFilter::watch(const QVector<QWidget*>& controls)
{
    for (QWidget* control : controls)
        watch(control);
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType())
        return false;
    if (event->type() == QEvent::InputMethod) {
        auto* control = static_cast<QWidget*>(watched);
        if (!refusesCommit(control, static_cast<QInputMethodEvent*>(event)->commitString()))
            return false;
        discardComposition(control);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    char16_t key = typedCharacter(static_cast<QKeyEvent*>(event));
    if (key == 0)
        return false;
    m_handler(static_cast<QWidget*>(watched), key);
    return key == 0;
}

bool KeyPressFilter::refusesCommit(QWidget* control, const QString& committed)
{
    for (const QChar c : committed) {
        char16_t key = c.unicode();
        if (key < 32)
            continue; // an input method commits text, not Enter or Backspace
        m_handler(control, key);
        if (key == 0)
            return true;
    }
    return false;
}

void KeyPressFilter::discardComposition(QWidget* control)
{
    // Neither the refused text nor a syllable begun with it stays in the field.
    QInputMethodEvent nothing;
    QCoreApplication::sendEvent(control, &nothing);
    QGuiApplication::inputMethod()->reset();
}

} // namespace widgets

#include "typedkey.h"

#include <QKeyEvent>
#include <QWidget>

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
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    char16_t key = typedCharacter(static_cast<QKeyEvent*>(event));
    if (key == 0)
        return false;
    m_handler(static_cast<QWidget*>(watched), key);
    return key == 0;
}

#pragma once

#include <QObject>
#include <QVector>
#include <functional>

class QKeyEvent;
class QWidget;

namespace widgets {

// The character a key press types, as a key-press handler of the clerk's
// desktop framework receives it: printable characters, Backspace (8),
// Enter (13), Escape (27) and the control characters of Ctrl with a letter
// (Ctrl+V is 22, Ctrl+Y 25). Keys that type nothing (arrows, Delete, Tab,
// function keys, Alt combinations) give 0.
char16_t typedCharacter(const QKeyEvent* event);

// Runs a key-press handler for the characters typed into the watched
// controls, before the control sees them. The handler may set the character
// to 0: the key press is then discarded. Text that an input method commits
// is typed too: its characters go through the handler one by one, and the
// first one refused discards the whole commit and the composition with it.
class KeyPressFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* control, char16_t& key)>;
    KeyPressFilter(Handler handler, QObject* parent);
    void watch(QWidget* control);
    void watch(const QVector<QWidget*>& controls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refusesCommit(QWidget* control, const QString& committed);
    void discardComposition(QWidget* control);

    Handler m_handler;
};

} // namespace widgets

#include "altchord.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace widgets {

namespace {

bool takesTypedText(const QObject* control)
{
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractSpinBox*>(control))
        return true;
    const auto* combo = qobject_cast<const QComboBox*>(control);
    return combo && combo->isEditable();
}

} // namespace

AltChordFilter::AltChordFilter(QObject* parent) : QObject(parent) {}

bool AltChordFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !takesTypedText(watched))
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    // Alt alone, Alt+arrows (a combo box's list) and Alt+F4 carry no text.
    return (key->modifiers() & Qt::AltModifier) && !key->text().isEmpty() && key->text().front().isPrint();
}

} // namespace widgets

#include "preeditcommit.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QWidget>

namespace widgets {

PreeditCommitter::PreeditCommitter(QObject* parent) : QObject(parent) {}

void PreeditCommitter::watch(QWidget* field)
{
    field->installEventFilter(this);
    connect(field, &QObject::destroyed, this, [this, field] { m_preedit.remove(field); });
}

bool PreeditCommitter::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::InputMethod:
        // A commit usually ends the composition; the next syllable may begin in the same event.
        m_preedit.insert(field, static_cast<QInputMethodEvent*>(event)->preeditString());
        break;
    case QEvent::FocusAboutToChange:
        commitPending(field);
        break;
    case QEvent::FocusOut: {
        // Switching windows or opening a menu does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commitPending(field);
        break;
    }
    default:
        break;
    }
    return false;
}

void PreeditCommitter::commitPending(QWidget* field)
{
    const QString pending = m_preedit.take(field);
    if (pending.isEmpty())
        return;
    QInputMethodEvent commit;
    commit.setCommitString(pending);
    QCoreApplication::sendEvent(field, &commit); // clears the tracked composition again
    m_preedit.remove(field);
    // The platform input method must not deliver the same syllable later.
    QGuiApplication::inputMethod()->reset();
}

} // namespace widgets

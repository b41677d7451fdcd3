#include "colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace colours {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

void paintPanel(QWidget* panel, const QColor& colour)
{
    QPalette p = panel->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Window, colour);
    panel->setPalette(p);
}

QColor panelColour(const QWidget* panel)
{
    return panel->palette().color(QPalette::Active, QPalette::Window);
}

} // namespace colours

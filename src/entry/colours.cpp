#include "colours.h"

#include "colourpanel.h"

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
    if (auto* own = dynamic_cast<ColourPanel*>(panel)) {
        own->setColour(colour);
        return;
    }
    QPalette p = panel->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Window, colour);
    panel->setPalette(p);
}

QColor panelColour(const QWidget* panel)
{
    if (const auto* own = dynamic_cast<const ColourPanel*>(panel))
        return own->colour();
    return panel->palette().color(QPalette::Active, QPalette::Window);
}

} // namespace colours

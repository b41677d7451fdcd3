#include "colours.h"

#include <QApplication>
#include <QPalette>

namespace widgets {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

} // namespace widgets

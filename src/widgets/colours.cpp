#include "colours.h"

#include <QApplication>
#include <QPalette>

namespace colours {

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

} // namespace colours

#include "glyphs.h"

#include <QApplication>
#include <QHash>

QIcon standardGlyph(QStyle::StandardPixmap pixmap)
{
    static QHash<int, QIcon> glyphs;
    auto it = glyphs.constFind(int(pixmap));
    if (it == glyphs.constEnd())
        it = glyphs.insert(int(pixmap), QApplication::style()->standardIcon(pixmap));
    return it.value();
}

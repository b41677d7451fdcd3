#include "glyphs.h"

#include <QApplication>
#include <QHash>

QIcon standardGlyph(QStyle::StandardPixmap pixmap)
{
    static QHash<int, QIcon> glyphs;
    auto it = glyphs.constFind(int(pixmap));
    if (it == glyphs.constEnd()) {
        // The style's icon reads every size it has from its image files, up
        // to 128 pixels; the buttons draw 14. On a plain screen the 16-pixel
        // picture alone will do.
        QStyle* style = QApplication::style();
        const QIcon glyph = qApp->devicePixelRatio() > 1 ? style->standardIcon(pixmap) : QIcon(style->standardPixmap(pixmap));
        it = glyphs.insert(int(pixmap), glyph);
    }
    return it.value();
}

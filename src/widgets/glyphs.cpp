#include "glyphs.h"

#include <QApplication>
#include <QHash>

namespace widgets {

namespace {

// With no icon theme of the desktop's own, the style searches the fallback
// theme (hicolor), a theme of applications' own icons that holds none of
// these actions, and ends with its own pictures; reading that theme's index
// of some thousand folders took a tenth of the start-up. Asked without the
// desktop's settings, the style gives its own pictures at once. A desktop
// theme (Breeze, Adwaita, ...) is still asked.
bool onlyTheFallbackIconTheme()
{
    return QGuiApplication::desktopSettingsAware() && QIcon::themeName() == QIcon::fallbackThemeName();
}

} // namespace

QIcon standardGlyph(QStyle::StandardPixmap pixmap)
{
    static QHash<int, QIcon> glyphs;
    auto it = glyphs.constFind(int(pixmap));
    if (it == glyphs.constEnd()) {
        QStyle* style = QApplication::style();
        const bool styleOwn = onlyTheFallbackIconTheme();
        if (styleOwn)
            QGuiApplication::setDesktopSettingsAware(false);
        // The style's icon reads every size it has from its image files, up
        // to 128 pixels; the buttons draw 14. On a plain screen the 16-pixel
        // picture alone will do.
        const QIcon glyph = qApp->devicePixelRatio() > 1 ? style->standardIcon(pixmap) : QIcon(style->standardPixmap(pixmap));
        if (styleOwn)
            QGuiApplication::setDesktopSettingsAware(true);
        it = glyphs.insert(int(pixmap), glyph);
    }
    return it.value();
}

} // namespace widgets

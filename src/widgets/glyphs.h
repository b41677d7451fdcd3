#pragma once

#include <QIcon>
#include <QStyle>

namespace widgets {

// A button glyph from the style's standard icons, read from its image files
// once per program: seven windows carry the same few glyphs, and reading the
// images again for every button was a third of the start-up.
QIcon standardGlyph(QStyle::StandardPixmap pixmap);

} // namespace widgets

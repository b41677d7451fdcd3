#pragma once

#include <QColor>

// The named colours of the entry window.
namespace widgets {

inline QColor green() { return QColor(0x00, 0x80, 0x00); }
inline QColor teal() { return QColor(0x00, 0x80, 0x80); }
inline QColor purple() { return QColor(0x80, 0x00, 0x80); }
inline QColor maroon() { return QColor(0x80, 0x00, 0x00); }
inline QColor aqua() { return QColor(0x00, 0xFF, 0xFF); }
inline QColor lime() { return QColor(0x00, 0xFF, 0x00); }
// The system's button face, the panels' ordinary colour.
QColor buttonFace();

} // namespace widgets

#pragma once

#include "rendercontext.h"

#include <QFont>
#include <QObject>
#include <QRectF>
#include <QString>
#include <optional>

namespace report {

enum class Alignment { Left, Center, Right };

// A piece of text on a band. Positions are millimetres from the band's top
// left corner. A fixed-width element wraps (when asked) inside its width; an
// auto-size element is as wide as its text and keeps the edge its alignment
// names (left edge, midpoint or right edge) where the geometry puts it.
// Neither ever stretches its band: the text is clipped to the element's box
// (at least one line high), so wrapped lines that do not fit are not printed,
// and a fixed-width text cut short ends in "…".
class TextElement : public QObject {
    Q_OBJECT
public:
    TextElement(const QString& name, QObject* parent);

    void setGeometry(double left, double top, double width, double height);
    QRectF geometry() const { return m_geometry; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool autoSize() const { return m_autoSize; }
    void setAlignment(Alignment alignment) { m_alignment = alignment; }
    Alignment alignment() const { return m_alignment; }
    void setWordWrap(bool on) { m_wordWrap = on; }
    bool wordWrap() const { return m_wordWrap; }
    // Without a font of its own the element takes the report's font.
    void setFont(const QFont& font) { m_font = font; }
    QFont effectiveFont(const QFont& reportFont) const { return m_font.value_or(reportFont); }

    // Where a text of the given width goes, in band millimetres.
    QRectF placedRect(double textWidthMm) const;

    // The text the element prints for the current state of the run.
    virtual QString text(const RenderContext& context) const = 0;

    // Paints the element on the band whose rectangle (page millimetres) is given.
    void paint(RenderContext& context, const QRectF& bandMm) const;

private:
    QRectF m_geometry;
    bool m_autoSize = false;
    Alignment m_alignment = Alignment::Left;
    bool m_wordWrap = false;
    std::optional<QFont> m_font;
};

// A fixed caption, settable before the run.
class Label : public TextElement {
    Q_OBJECT
public:
    using TextElement::TextElement;
    void setCaption(const QString& caption) { m_caption = caption; }
    QString caption() const { return m_caption; }
    QString text(const RenderContext&) const override { return m_caption; }

private:
    QString m_caption;
};

// A column of the data set's current row, by name; with a mask the column is
// read as a number and formatted.
class DataField : public TextElement {
    Q_OBJECT
public:
    using TextElement::TextElement;
    void setColumn(const QString& column) { m_column = column; }
    QString column() const { return m_column; }
    void setMask(const QString& mask); // throws AppError for an unknown mask
    QString mask() const { return m_mask; }
    QString text(const RenderContext& context) const override;

private:
    QString m_column;
    QString m_mask;
};

// The sum of a numeric column over the detail rows printed so far:
// "SUM(dataset.column)" or "SUM(column)".
class SumField : public TextElement {
    Q_OBJECT
public:
    using TextElement::TextElement;
    void setExpression(const QString& expression); // throws AppError for anything else
    QString expression() const { return m_expression; }
    QString datasetName() const { return m_datasetName; }
    QString column() const { return m_column; }
    void setMask(const QString& mask); // throws AppError for an unknown mask
    QString mask() const { return m_mask; }

    void reset() { m_total = 0; }
    void accumulate(const RenderContext& context); // adds the current row
    double total() const { return m_total; }
    QString text(const RenderContext& context) const override;

private:
    QString m_expression;
    QString m_datasetName;
    QString m_column;
    QString m_mask;
    double m_total = 0;
};

} // namespace report

#pragma once

#include "element.h"

#include <QFlags>
#include <QList>
#include <QObject>

namespace report {

// Where a band stands in the run.
enum class BandKind {
    PageHeader, // top of every page, the first page included
    Child,      // right below the page header, on every page
    Detail,     // once per row of the data set
    Summary,    // once, after the last detail row
};

enum class FrameSide { None = 0, Left = 1, Top = 2, Right = 4, Bottom = 8, All = 15 };
Q_DECLARE_FLAGS(FrameSides, FrameSide)

// A horizontal strip of the band width: a fixed height, lines on chosen
// sides, vertical rules across its height, and text elements.
class Band : public QObject {
    Q_OBJECT
public:
    Band(BandKind kind, const QString& name, QObject* parent);

    BandKind kind() const { return m_kind; }
    void setHeight(double mm) { m_height = mm; }
    double height() const { return m_height; }
    void setFrame(FrameSides sides) { m_frame = sides; }
    FrameSides frame() const { return m_frame; }
    // A vertical line across the band's height at x mm from its left edge.
    void addVerticalRule(double xMm) { m_rules.append(xMm); }
    const QList<double>& verticalRules() const { return m_rules; }

    // Creates an element owned by the band.
    template <typename Element>
    Element* add(const QString& name)
    {
        auto* element = new Element(name, this);
        m_elements.append(element);
        return element;
    }
    const QList<TextElement*>& elements() const { return m_elements; }

    // Lines are a quarter millimetre wide.
    static constexpr double kLineWidthMm = 0.25;

    void paint(RenderContext& context, const QRectF& bandMm) const;

private:
    BandKind m_kind;
    double m_height = 0;
    FrameSides m_frame = FrameSide::None;
    QList<double> m_rules;
    QList<TextElement*> m_elements;
};

} // namespace report

Q_DECLARE_OPERATORS_FOR_FLAGS(report::FrameSides)

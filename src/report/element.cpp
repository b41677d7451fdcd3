#include "element.h"

#include "core/errors.h"
#include "core/strutil.h"
#include "mask.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTextOption>

namespace report {

TextElement::TextElement(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

void TextElement::setGeometry(double left, double top, double width, double height)
{
    m_geometry = QRectF(left, top, width, height);
}

QRectF TextElement::placedRect(double textWidthMm) const
{
    if (!m_autoSize)
        return m_geometry;
    double left = m_geometry.left();
    if (m_alignment == Alignment::Right)
        left = m_geometry.right() - textWidthMm;
    else if (m_alignment == Alignment::Center)
        left = m_geometry.center().x() - textWidthMm / 2;
    return QRectF(left, m_geometry.top(), textWidthMm, m_geometry.height());
}

void TextElement::paint(RenderContext& context, const QRectF& bandMm) const
{
    const QString value = text(context);
    if (value.isEmpty())
        return;
    QPainter& painter = *context.painter;
    const QFont font = effectiveFont(context.reportFont);
    const QFontMetricsF metrics(font, painter.device());

    const QRectF placed = placedRect(context.widthToMm(metrics.horizontalAdvance(value))).translated(bandMm.topLeft());
    // The text stays in its own box: a wrapped line that does not fit below
    // the first is not printed over the element under it. The box is at
    // least one line high, so that a font a little taller than the one the
    // layout was drawn for still shows its first line whole.
    const double boxHeight = qMax(placed.height(), metrics.height() / context.dotsPerMmY);
    const QRectF boxMm(placed.left(), placed.top(), placed.width(), boxHeight);
    // An auto-size box is as wide as its text; a bold glyph may overhang its
    // advance width, so only the band limits it sideways.
    const QRectF clipMm = m_autoSize ? QRectF(bandMm.left(), placed.top(), bandMm.width(), boxHeight) : boxMm;

    Qt::Alignment horizontal = Qt::AlignLeft;
    if (m_alignment == Alignment::Center)
        horizontal = Qt::AlignHCenter;
    else if (m_alignment == Alignment::Right)
        horizontal = Qt::AlignRight;
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setClipRect(context.toDevice(clipMm), painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (m_wordWrap && !m_autoSize) {
        // Breaks between words, and inside a word longer than the width. Only
        // the lines that start inside the box are drawn: a clipped line would
        // still be in the printed file's text.
        QTextOption option(horizontal | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        const QRectF box = context.toDevice(boxMm);
        QTextLayout layout(value, font, painter.device());
        layout.setTextOption(option);
        layout.beginLayout();
        for (double y = 0;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout.endLayout();
        int shown = 0;
        while (shown < layout.lineCount() && layout.lineAt(shown).y() < box.height())
            ++shown;
        shown = qMax(shown, 1);
        for (int i = 0; i < shown - 1; ++i)
            layout.lineAt(i).draw(&painter, box.topLeft());
        // The last line shown ends in "…" when text is left over, so that the
        // paper never passes a cut name off as whole.
        const QTextLine last = layout.lineAt(shown - 1);
        if (shown == layout.lineCount()) {
            last.draw(&painter, box.topLeft());
        } else {
            const QRectF lineBox(box.left(), box.top() + last.y(), box.width(), last.height());
            painter.drawText(lineBox, int(horizontal | Qt::AlignTop),
                             metrics.elidedText(value.mid(last.textStart()), Qt::ElideRight, box.width()));
        }
    } else {
        const QRectF box = context.toDevice(placed);
        const QString shownText = m_autoSize ? value : metrics.elidedText(value, Qt::ElideRight, box.width());
        painter.drawText(box, int(horizontal | Qt::AlignTop | Qt::TextDontClip), shownText);
    }
    painter.restore();
}

void DataField::setMask(const QString& mask)
{
    if (!mask.isEmpty() && !isSupportedMask(mask))
        throw core::AppError(QStringLiteral("지원하지 않는 표시 형식입니다: %1").arg(mask));
    m_mask = mask;
}

QString DataField::text(const RenderContext& context) const
{
    if (!context.dataset || context.dataset->eof())
        return QString();
    if (m_mask.isEmpty())
        return context.dataset->text(m_column);
    return applyMask(context.dataset->number(m_column), m_mask);
}

void SumField::setExpression(const QString& expression)
{
    static const QRegularExpression sum(QStringLiteral(R"(^\s*SUM\s*\(\s*(?:(\w+)\s*\.\s*)?(\w+)\s*\)\s*$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = sum.match(expression);
    if (!match.hasMatch())
        throw core::AppError(QStringLiteral("지원하지 않는 식입니다: %1").arg(expression));
    m_expression = expression;
    m_datasetName = match.captured(1);
    m_column = match.captured(2);
}

void SumField::setMask(const QString& mask)
{
    if (!mask.isEmpty() && !isSupportedMask(mask))
        throw core::AppError(QStringLiteral("지원하지 않는 표시 형식입니다: %1").arg(mask));
    m_mask = mask;
}

void SumField::accumulate(const RenderContext& context)
{
    if (context.dataset && !context.dataset->eof())
        m_total += context.dataset->number(m_column);
}

QString SumField::text(const RenderContext&) const
{
    if (m_mask.isEmpty())
        return core::shortestDecimal(m_total);
    return applyMask(m_total, m_mask);
}

} // namespace report

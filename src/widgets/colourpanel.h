#pragma once

#include <QColor>
#include <QFrame>

namespace widgets {

// A line panel of the entry window. Its colour (the button face, aqua for
// the chosen line) is its own and it fills its background with it itself:
// a palette would be handed down to every field on the panel at each change
// of colour, and the colour changes at every voucher the clerk loads.
class ColourPanel : public QFrame {
    Q_OBJECT
public:
    explicit ColourPanel(QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

} // namespace widgets

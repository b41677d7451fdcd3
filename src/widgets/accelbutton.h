#pragma once

#include <QPushButton>

namespace widgets {

// A button of the button bar. Its accelerator (Alt and the letter after "&")
// clicks it where the focus stands, as the desktop framework's accelerators
// do: the field being typed in is not left, so its exit handler does not run.
// A mouse click still takes the focus.
class AccelButton : public QPushButton {
    Q_OBJECT
public:
    AccelButton(const QString& caption, QWidget* parent);

protected:
    bool event(QEvent* event) override;
};

} // namespace widgets

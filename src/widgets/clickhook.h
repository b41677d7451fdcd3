#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace widgets {

// A click handler for controls that have no click signal (edit fields): it
// runs when the left button is released over the control, after the control
// has handled the release itself, so that what the handler selects stays
// selected.
class ClickHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* control)>;
    ClickHook(Handler handler, QObject* parent);
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
    bool m_delivering = false;
};

} // namespace widgets

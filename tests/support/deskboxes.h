#pragma once

#include "modalwatcher.h"

namespace testdesk {

// Answers every modal message box that opens while it lives (records its
// icon and text, presses Enter) and then gives the activation back to the
// window the box belongs to, at once, as a desktop's window manager does: the
// handler that showed the box goes on in an active window, so the focus
// moves it makes are real focus changes.
class DesktopBoxes : public ModalWatcher {
public:
    using ModalWatcher::ModalWatcher;

protected:
    void answered(QWidget* owner) override;
};

} // namespace testdesk

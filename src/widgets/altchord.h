#pragma once

#include <QObject>

namespace widgets {

// On the clerk's desktop Alt with a key is an accelerator or nothing: it never
// types. Qt's edit fields take the text of an Alt chord that no accelerator
// claimed, so Alt+P (a button caption's letter, but no accelerator) would add
// a "p" to a description and the voucher would change unasked. Installed on
// the application, this drops such a key press before a text field sees it.
// Accelerators are claimed as shortcuts before any key press is delivered,
// so they keep working; controls that type nothing (the grids, whose key
// handlers the windows listen to) still receive the chord.
class AltChordFilter : public QObject {
    Q_OBJECT
public:
    explicit AltChordFilter(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace widgets

#pragma once

#include "entrykit.h"
#include "entry/borvane.h"
#include "lookup/lookupforms.h"

#include <QLineEdit>
#include <functional>
#include <memory>

class QPushButton;

namespace entrykit {

// The entry window with its six lookup dialogs on a fresh database, as the
// program puts them together, for tests that drive the line fields.
class FieldDesk {
public:
    // seed writes rows before the window lists today's vouchers.
    using Seed = std::function<void(store::Connection&)>;
    explicit FieldDesk(const QString& engine = QStringLiteral("sqlite"), const Seed& seed = {});
    explicit FieldDesk(const Seed& seed) : FieldDesk(QStringLiteral("sqlite"), seed) {}
    ~FieldDesk();

    // Shows the window and makes it the active one; the focus starts on the
    // first account field.
    bool show();
    // Activates the window again, as the clerk's click on it would (after a
    // message box or a lookup dialog took the activation).
    bool comeBack();

    QLineEdit* edit(const QString& name) const;
    QPushButton* button(const QString& name) const;
    QWidget* control(const QString& name) const;
    // The name field, amount fields and lookup dialog of a kind and line.
    QLineEdit* nameField(voucher::LookupKind kind, int line) const;
    QLineEdit* crAmt(int line) const;
    QLineEdit* drAmt(int line) const;
    lookup::LookupFrame* dialog(voucher::LookupKind kind) const;
    // Lookup dialogs now shown.
    int shownDialogs() const;
    QString focus() const { return focusName(window.get()); }

    TestAccount account;
    std::unique_ptr<entry::TfmBorvane> window;
    std::unique_ptr<lookup::LookupFrame> forms[voucher::kNameKinds];
};

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

// Field name prefix of a kind: "edAc_JenName_" .. "edItem_Name".
QString namePrefix(voucher::LookupKind kind);
QString lineDigits(int line);

} // namespace entrykit

#pragma once

#include "entry/borvane.h"
#include "lookup/lookupforms.h"
#include "modalwatcher.h"

#include <QLineEdit>
#include <QString>
#include <functional>
#include <memory>

class QPushButton;
class TestAccount;

namespace store {
class Connection;
}
namespace widgets {
class DbGrid;
}

namespace testdesk {

// The entry window with its six lookup dialogs, wired as the program puts
// them together. Shown by show(), so that a test may place the first focus
// before the window gets it, or by the first action at it.
class Desk {
public:
    // Writes rows before the window lists today's vouchers.
    using Seed = std::function<void(store::Connection&)>;

    // On the program's data source as the test set it.
    Desk();
    // On a fresh database of the engine's ("sqlite", "postgres") of its own.
    explicit Desk(const QString& engine, const Seed& seed = {});
    explicit Desk(const Seed& seed) : Desk(QStringLiteral("sqlite"), seed) {}
    ~Desk();
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    // Shows the window with the focus on `focus` (or where the window puts
    // it) and makes it the active one.
    bool show(QWidget* focus = nullptr);
    // Shows the window if need be and makes it the active one (again, as the
    // clerk's click on it would, after a message box or a lookup dialog took
    // the activation).
    bool activate();

    // The data source the window works on.
    store::Connection& connection() const;

    QWidget* control(const QString& name) const;
    QLineEdit* edit(const QString& name) const;
    QPushButton* button(const QString& name) const;
    widgets::DbGrid* grid() const;
    lookup::LookupFrame* dialog(voucher::LookupKind kind) const;
    // How many lookup dialogs are shown.
    int shownDialogs() const;
    // The objectName of the window's focus widget.
    QString focus() const;

private:
    explicit Desk(std::unique_ptr<TestAccount> account);

    std::unique_ptr<TestAccount> m_account; // a database of the desk's own, if it opened one
    std::unique_ptr<entry::TfmBorvane> m_window;

public:
    entry::TfmBorvane& w;

private:
    std::unique_ptr<lookup::LookupFrame> m_dialogs[voucher::kNameKinds];
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

} // namespace testdesk

#include "deskwindow.h"

#include "deskinput.h"
#include "enginedb.h"
#include "widgets/dbgrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace testdesk {

namespace {

std::unique_ptr<TestAccount> openAccount(const QString& engine, const Desk::Seed& seed)
{
    auto account = std::make_unique<TestAccount>(engine);
    if (seed)
        seed(account->connection());
    return account;
}

} // namespace

Desk::Desk() : Desk(std::unique_ptr<TestAccount>()) {}

Desk::Desk(const QString& engine, const Seed& seed) : Desk(openAccount(engine, seed)) {}

Desk::Desk(std::unique_ptr<TestAccount> account)
    : m_account(std::move(account)), m_window(std::make_unique<entry::TfmBorvane>()), w(*m_window)
{
    m_dialogs[0] = std::make_unique<lookup::TForm1>(&w);
    m_dialogs[1] = std::make_unique<lookup::TForm2>(&w);
    m_dialogs[2] = std::make_unique<lookup::TForm3>(&w);
    m_dialogs[3] = std::make_unique<lookup::TForm4>(&w);
    m_dialogs[4] = std::make_unique<lookup::TForm5>(&w);
    m_dialogs[5] = std::make_unique<lookup::TForm6>(&w);
    w.setLookupDialogs({m_dialogs[0].get(), m_dialogs[1].get(), m_dialogs[2].get(), m_dialogs[3].get(),
                        m_dialogs[4].get(), m_dialogs[5].get()});
}

Desk::~Desk()
{
    for (auto& dialog : m_dialogs) {
        dialog->hide();
        dialog.reset();
    }
    m_window.reset();
}

bool Desk::show(QWidget* focus)
{
    if (focus)
        focus->setFocus();
    return activate();
}

bool Desk::activate()
{
    if (QApplication::activeWindow() == &w)
        return true;
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

store::Connection& Desk::connection() const
{
    return store::Connection::account();
}

QWidget* Desk::control(const QString& name) const
{
    auto* c = w.findChild<QWidget*>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

QLineEdit* Desk::edit(const QString& name) const
{
    return qobject_cast<QLineEdit*>(control(name));
}

QPushButton* Desk::button(const QString& name) const
{
    return qobject_cast<QPushButton*>(control(name));
}

widgets::DbGrid* Desk::grid() const
{
    return w.findChild<widgets::DbGrid*>(QStringLiteral("DBGrid1"));
}

lookup::LookupFrame* Desk::dialog(voucher::LookupKind kind) const
{
    return m_dialogs[static_cast<int>(kind)].get();
}

int Desk::shownDialogs() const
{
    int shown = 0;
    for (const auto& dialog : m_dialogs)
        shown += dialog->isVisible() ? 1 : 0;
    return shown;
}

QString Desk::focus() const
{
    return focusName(&w);
}

void DesktopBoxes::answered(QWidget* owner)
{
    if (owner) {
        owner->activateWindow();
        if (!QTest::qWaitForWindowActive(owner))
            qWarning("the window did not become active again after its message box");
    }
}

} // namespace testdesk

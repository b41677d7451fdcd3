#include "fielddesk.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace entrykit {

FieldDesk::FieldDesk(const QString& engine, const Seed& seed) : account(engine)
{
    if (seed)
        seed(account.connection());
    window = std::make_unique<entry::TfmBorvane>();
    entry::TfmBorvane* w = window.get();
    forms[0] = std::make_unique<lookup::TForm1>(w);
    forms[1] = std::make_unique<lookup::TForm2>(w);
    forms[2] = std::make_unique<lookup::TForm3>(w);
    forms[3] = std::make_unique<lookup::TForm4>(w);
    forms[4] = std::make_unique<lookup::TForm5>(w);
    forms[5] = std::make_unique<lookup::TForm6>(w);
    w->setLookupDialogs({forms[0].get(), forms[1].get(), forms[2].get(), forms[3].get(), forms[4].get(),
                         forms[5].get()});
}

FieldDesk::~FieldDesk()
{
    for (auto& form : forms)
        form.reset();
    window.reset();
}

bool FieldDesk::show()
{
    window->show();
    return comeBack();
}

bool FieldDesk::comeBack()
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
}

QWidget* FieldDesk::control(const QString& name) const
{
    auto* c = window->findChild<QWidget*>(name);
    if (!c)
        qWarning("no control %s", qPrintable(name));
    return c;
}

QLineEdit* FieldDesk::edit(const QString& name) const
{
    return qobject_cast<QLineEdit*>(control(name));
}

QPushButton* FieldDesk::button(const QString& name) const
{
    return qobject_cast<QPushButton*>(control(name));
}

QLineEdit* FieldDesk::nameField(voucher::LookupKind kind, int line) const
{
    return edit(namePrefix(kind) + lineDigits(line));
}

QLineEdit* FieldDesk::crAmt(int line) const
{
    return edit(QStringLiteral("edCr_Amt_") + lineDigits(line));
}

QLineEdit* FieldDesk::drAmt(int line) const
{
    return edit(QStringLiteral("edDr_Amt_") + lineDigits(line));
}

lookup::LookupFrame* FieldDesk::dialog(voucher::LookupKind kind) const
{
    return forms[static_cast<int>(kind)].get();
}

int FieldDesk::shownDialogs() const
{
    int shown = 0;
    for (const auto& form : forms)
        shown += form->isVisible() ? 1 : 0;
    return shown;
}

void DesktopBoxes::answered(QWidget* owner)
{
    if (owner) {
        owner->activateWindow();
        if (!QTest::qWaitForWindowActive(owner))
            qWarning("the window did not become active again after its message box");
    }
}

QString namePrefix(voucher::LookupKind kind)
{
    switch (kind) {
    case voucher::LookupKind::Account: return QStringLiteral("edAc_JenName_");
    case voucher::LookupKind::CustomerBank: return QStringLiteral("edKubun_Name_");
    case voucher::LookupKind::Employee: return QStringLiteral("edSawon_Name_");
    case voucher::LookupKind::Department: return QStringLiteral("edBuser_Name_");
    case voucher::LookupKind::Project: return QStringLiteral("edProject_Name_");
    case voucher::LookupKind::Item: return QStringLiteral("edItem_Name");
    }
    return {};
}

QString lineDigits(int line)
{
    return QString::number(line).rightJustified(2, u'0');
}

} // namespace entrykit

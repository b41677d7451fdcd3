#include "messages.h"

#include <QMessageBox>

namespace widgets {

const QString kProgramName = QStringLiteral("출금 전표");
const QString kNoDataMessage = QStringLiteral("현재 데이타가 없읍니다....");

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void warningBox(QWidget* parent, const QString& text)
{
    showBox(parent, QMessageBox::Warning, QStringLiteral("경고"), text);
}

void plainBox(QWidget* parent, const QString& text)
{
    showBox(parent, QMessageBox::NoIcon, kProgramName, text);
}

bool questionBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("확인"), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

} // namespace widgets

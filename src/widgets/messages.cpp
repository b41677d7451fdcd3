#include "messages.h"

#include <QCoreApplication>
#include <QMessageBox>

const QString kNoDataMessage = QStringLiteral("현재 데이타가 없읍니다....");

namespace {

QString programTitle()
{
    QString name = QCoreApplication::applicationName().section(u'.', 0, 0).toLower();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

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
    showBox(parent, QMessageBox::NoIcon, programTitle(), text);
}

bool questionBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("확인"), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

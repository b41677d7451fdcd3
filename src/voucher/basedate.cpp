#include "voucher/basedate.h"

#include <QDate>
#include <QRegularExpression>

namespace voucher {

bool isCalendarDate(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() && QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid();
}

bool isBaseDate(const QString& text)
{
    return text.size() == 10 && isCalendarDate(text);
}

QString badDateWarning(const QString& typed)
{
    return typed + QStringLiteral(" : 유효하지 않은 날짜 형식입니다.");
}

} // namespace voucher

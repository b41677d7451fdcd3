#include "savevoucher.h"

#include "voucher/voucherbook.h"

namespace voucherseed {

namespace {

// The line as the entry window's panels hand it to the save.
VoucherLine voucherLine(const Line& line, const QString& serialBun)
{
    VoucherLine v;
    v.serialBun = serialBun;
    const auto set = [&v](LookupKind kind, const QString& code, const QString& name) {
        v.codes[static_cast<size_t>(kind)] = code;
        v.names[static_cast<size_t>(kind)] = name;
    };
    set(LookupKind::Account, line.accountCode, line.accountName);
    set(LookupKind::CustomerBank, line.kubunCode, line.kubunName);
    set(LookupKind::Employee, line.sawonCode, line.sawonName);
    set(LookupKind::Department, line.buserCode, line.buserName);
    set(LookupKind::Project, line.projectCode, line.projectName);
    set(LookupKind::Item, line.itemCode, line.itemName);
    v.acText = line.text;
    v.crAmt = line.amount;
    return v;
}

} // namespace

QString saveVoucher(store::Connection& connection, const QString& date, int branchIndex, const QList<Line>& lines)
{
    QList<VoucherLine> voucherLines;
    for (int i = 0; i < lines.size(); ++i)
        voucherLines.append(voucherLine(lines[i], lines[i].serialBun.isEmpty()
                                                      ? QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))
                                                      : lines[i].serialBun));
    // The one call of the program's save in the tests' support.
    VoucherBook book(connection);
    return book.saveNewVoucher(date, branchIndex, voucherLines).serialJen;
}

} // namespace voucherseed

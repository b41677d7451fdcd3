#include "savevoucher.h"

#include "voucher/voucherbook.h"

namespace voucherseed {

namespace {

// The line as the entry window's panels hand it to the save.
voucher::VoucherLine voucherLine(const Line& line, const QString& serialBun)
{
    voucher::VoucherLine v;
    v.serialBun = serialBun;
    const auto set = [&v](voucher::LookupKind kind, const QString& code, const QString& name) {
        v.codes[static_cast<size_t>(kind)] = code;
        v.names[static_cast<size_t>(kind)] = name;
    };
    set(voucher::LookupKind::Account, line.accountCode, line.accountName);
    set(voucher::LookupKind::CustomerBank, line.kubunCode, line.kubunName);
    set(voucher::LookupKind::Employee, line.sawonCode, line.sawonName);
    set(voucher::LookupKind::Department, line.buserCode, line.buserName);
    set(voucher::LookupKind::Project, line.projectCode, line.projectName);
    set(voucher::LookupKind::Item, line.itemCode, line.itemName);
    v.acText = line.text;
    v.crAmt = line.amount;
    return v;
}

} // namespace

QString saveVoucher(store::Connection& connection, const QString& date, int branchIndex, const QList<Line>& lines)
{
    QList<voucher::VoucherLine> voucherLines;
    for (int i = 0; i < lines.size(); ++i)
        voucherLines.append(voucherLine(lines[i], lines[i].serialBun.isEmpty()
                                                      ? QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))
                                                      : lines[i].serialBun));
    // The one call of the program's save in the tests' support.
    voucher::VoucherBook book(connection);
    return book.saveNewVoucher(date, branchIndex, voucherLines).serialJen;
}

} // namespace voucherseed

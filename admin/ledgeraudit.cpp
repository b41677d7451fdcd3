#include "ledgeraudit.h"

#include "masterrules.h"
#include "progress.h"
#include "rowstream.h"
#include "sqlutil.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <map>
#include <set>

namespace admin {

namespace {

struct Row {
    QString line, side, date, branch, kind, form, serial;
    double cr = 0;
    double dr = 0;
    QString account;
};

QSet<QString> knownCodes(store::Connection& c, const QStringList& masters)
{
    QSet<QString> codes;
    for (const QString& master : masters)
        for (const QStringList& row : c.selectNative(
                 QStringLiteral("SELECT %1 FROM %2").arg(master.section(u'.', 1), master.section(u'.', 0, 0))))
            codes.insert(row.value(0));
    return codes;
}

QString amount(double value)
{
    return QString::number(value, 'f', 0);
}

class Auditor {
public:
    explicit Auditor(store::Connection& c) : m_c(c)
    {
        for (const VoucherCodeColumn& column : voucherCodeColumns())
            m_known.append(knownCodes(c, column.masters));
    }

    QStringList run()
    {
        QStringList columns = {QStringLiteral("Serial_Jen"), QStringLiteral("Serial_Bun"),  QStringLiteral("Serial_CrDr"),
                               QStringLiteral("Date_Day"),   QStringLiteral("Kubun_Bon"),   QStringLiteral("Kubun_Jen"),
                               QStringLiteral("Form_Kubun"), QStringLiteral("Serial"),      QStringLiteral("Cr_Amt"),
                               QStringLiteral("Dr_Amt")};
        const qsizetype firstCode = columns.size();
        for (const VoucherCodeColumn& column : voucherCodeColumns())
            columns << QLatin1String(column.column);
        Progress progress(QStringLiteral("account_jen_AA"), countRows(m_c, QStringLiteral("account_jen_AA")));
        RowStream q(m_c, QStringLiteral("SELECT %1 FROM account_jen_AA ORDER BY Serial_Jen, Serial_Bun, Serial_CrDr")
                             .arg(columns.join(QStringLiteral(", "))));
        QString number;
        std::vector<Row> rows;
        while (q.next()) {
            const auto text = [&](qsizetype i) { return q.value(int(i)).toString().trimmed(); };
            if (text(0) != number) {
                voucher(number, rows);
                rows.clear();
                number = text(0);
            }
            Row r{text(1), text(2), text(3), text(4), text(5), text(6), text(7),
                  q.value(8).toDouble(), q.value(9).toDouble(), text(firstCode)};
            rows.push_back(r);
            for (qsizetype i = 0; i < voucherCodeColumns().size(); ++i) {
                const QString code = text(firstCode + i);
                // Neighbouring rows mostly share a code: one comparison instead of a lookup.
                if (code.isEmpty() || code == m_lastKnown[i])
                    continue;
                if (m_known[i].contains(code))
                    m_lastKnown[i] = code;
                else
                    m_unknown[{int(i), code}].insert(number);
            }
            progress.advanceTo(++m_read);
        }
        voucher(number, rows);
        for (const auto& [key, numbers] : m_unknown) {
            const VoucherCodeColumn& column = voucherCodeColumns()[key.first];
            m_findings << QStringLiteral("%1 코드 %2이(가) 마스터 테이블에 없습니다 (%3 열, 전표 %4%5).")
                              .arg(QString::fromUtf8(column.label), key.second, QLatin1String(column.column),
                                   *numbers.begin(),
                                   numbers.size() > 1 ? QStringLiteral(" 외 %1건").arg(numbers.size() - 1) : QString());
        }
        return m_findings;
    }

    qint64 rowsRead() const { return m_read; }

private:
    void voucher(const QString& number, const std::vector<Row>& rows)
    {
        if (rows.empty())
            return;
        std::set<QString> heads;
        std::map<QString, std::vector<const Row*>> lines;
        for (const Row& r : rows) {
            heads.insert(QStringList{r.date, r.branch, r.kind, r.form}.join(u'/'));
            lines[r.line].push_back(&r);
            const QString serial =
                QStringLiteral("AA*%1*%2*%3*%4*%5*%6").arg(r.branch, r.kind, number, r.line, r.form, r.side);
            if (r.serial != serial)
                m_findings << QStringLiteral("전표 %1 줄 %2: Serial %3이(가) 행의 키 %4와 다릅니다.")
                                  .arg(number, r.line, r.serial, serial);
        }
        if (heads.size() > 1)
            m_findings << QStringLiteral("전표번호 %1을(를) 전표 %2건이 함께 씁니다 (날짜/지점/구분/양식: %3).")
                              .arg(number)
                              .arg(heads.size())
                              .arg(QStringList(heads.begin(), heads.end()).join(QStringLiteral(", ")));
        for (const auto& [line, pair] : lines)
            checkLine(number, line, pair);
    }

    void checkLine(const QString& number, const QString& line, const std::vector<const Row*>& pair)
    {
        const Row* debit = nullptr;
        const Row* credit = nullptr;
        int debits = 0, credits = 0;
        for (const Row* r : pair) {
            if (r->side == QLatin1String("01"))
                debit = r, ++debits;
            else if (r->side == QLatin1String("02"))
                credit = r, ++credits;
        }
        if (debits != 1 || credits != 1 || pair.size() != 2) {
            m_findings << QStringLiteral("전표 %1 줄 %2: 차변 행 %3개, 대변 행 %4개, 모두 %5행입니다 (차변과 대변 한 행씩이어야 합니다).")
                              .arg(number, line)
                              .arg(debits)
                              .arg(credits)
                              .arg(pair.size());
            return;
        }
        if (debit->cr != credit->dr || debit->dr != credit->cr)
            m_findings << QStringLiteral("전표 %1 줄 %2: 금액이 맞지 않습니다 (차변 행 %3/%4, 대변 행 %5/%6).")
                              .arg(number, line, amount(debit->cr), amount(debit->dr), amount(credit->cr),
                                   amount(credit->dr));
        // A withdrawal pays out of cash; a receipt takes cash in.
        if (debit->kind == QLatin1String("2") && credit->account != kCashAccount)
            m_findings << QStringLiteral("전표 %1 줄 %2: 출금 전표의 대변 계정이 현금(%3)이 아니라 %4입니다.")
                              .arg(number, line, kCashAccount, credit->account);
        if (debit->kind == QLatin1String("1") && debit->account != kCashAccount)
            m_findings << QStringLiteral("전표 %1 줄 %2: 입금 전표의 차변 계정이 현금(%3)이 아니라 %4입니다.")
                              .arg(number, line, kCashAccount, debit->account);
    }

    store::Connection& m_c;
    QList<QSet<QString>> m_known;
    QStringList m_lastKnown = QStringList(voucherCodeColumns().size());
    std::map<std::pair<int, QString>, std::set<QString>> m_unknown;
    QStringList m_findings;
    qint64 m_read = 0;
};

} // namespace

QStringList auditLedger(store::Connection& connection)
{
    Auditor auditor(connection);
    QStringList findings = auditor.run();
    say(QStringLiteral("전표 테이블 %1행을 검사했습니다.").arg(auditor.rowsRead()));
    return findings;
}

} // namespace admin

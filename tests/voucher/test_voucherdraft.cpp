#include "voucher/voucherdraft.h"

#include <QTest>

namespace {

void name(voucher::VoucherDraft& d, int line, voucher::LookupKind kind, const char* text, const char* code = "")
{
    d.line(line).names[size_t(kind)] = QString::fromUtf8(text);
    d.line(line).code(kind) = QString::fromUtf8(code);
}

// A voucher of one complete line, as the clerk types it.
voucher::VoucherDraft typedVoucher(voucher::VoucherMode mode)
{
    voucher::VoucherDraft d;
    d.mode = mode;
    d.date = QStringLiteral("2024-03-15");
    d.branchIndex = 0;
    name(d, 1, voucher::LookupKind::Account, "여비교통비", "40701005000");
    d.line(1).crAmt = QStringLiteral("120,000");
    return d;
}

} // namespace

class TestVoucherDraft : public QObject {
    Q_OBJECT
private slots:
    void saveChecksTellTheFirstProblem();
};

void TestVoucherDraft::saveChecksTellTheFirstProblem()
{
    using K = voucher::LookupKind;
    using F = voucher::DraftField;
    const struct {
        const char* name;
        voucher::VoucherMode mode;
        void (*type)(voucher::VoucherDraft&);
        int line;
        voucher::DraftField field;
        const char* message; // nullptr: the save goes ahead
    } cases[] = {
        {"complete line", voucher::VoucherMode::New, [](voucher::VoucherDraft&) {}, 0, F::None, nullptr},
        {"idle window", voucher::VoucherMode::Idle, [](voucher::VoucherDraft&) {}, 1, F::Account, "처음 등록 부분을 하세요...."},
        {"zero in display form, no account", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.line(2).crAmt = "   0"; },
         2, F::Account, "2라인에 계정과목을 등록 하세요...."},
        {"amount without account before a complete line", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { d.line(3) = d.line(1), d.line(3).number = 3, d.line(2).crAmt = "5"; }, 2, F::Account,
         "2라인에 계정과목을 등록 하세요...."},
        {"amount with Hangul", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.line(1).crAmt = "3천"; }, 1, F::Amount,
         "1라인의 금액은 숫자로만 입력할 수 있습니다...."},
        {"account typed, never chosen", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.line(1).code(K::Account).clear(); },
         1, F::Account, "1라인에 계정과목의 코드를 등록 하세요...."},
        {"codes field by field, then line by line", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { name(d, 1, K::Item, "통행료"), name(d, 2, K::Employee, "박민수"), name(d, 4, K::CustomerBank, "한빛"); },
         4, F::CustomerBank, "4라인에 거래처및은행명의 코드를 등록 하세요...."},
        {"name on a line without amount", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { name(d, 5, K::Project, "ERP"); }, 5,
         F::Project, "5라인에 프로젝트이름의 코드를 등록 하세요...."},
        {"hidden line is not looked at", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { d.line(2).crAmt = "5", name(d, 2, K::Item, "x"), d.line(2).shown = false; }, 0, F::None,
         nullptr},
        {"description over its column", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { d.line(1).acText = QString(150, u'x') + QString(26, u'가'); }, 1, F::Description,
         "1라인 적요: 200바이트(한글 100자)까지만 저장할 수 있습니다...."},
        {"long description on a line not stored", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { d.line(2).acText = QString(201, u'x'); }, 0, F::None, nullptr},
        {"customer name with a sign CP949 lacks", voucher::VoucherMode::New,
         [](voucher::VoucherDraft& d) { name(d, 1, K::CustomerBank, "한빛☕", "10001"); }, 1, F::CustomerBank,
         "1라인 거래처및은행명: 3번째 글자에 저장할 수 없는 문자가 들어 있습니다. 그 문자를 지우고 다시 입력하세요...."},
        {"date no calendar day", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.date = "2001-02-30"; }, 0, F::Date,
         "2001-02-30 : 유효하지 않은 날짜 형식입니다."},
        {"no branch", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.branchIndex = -1; }, 0, F::Branch,
         "본지점 구분을 선택하세요."},
        {"nothing to store", voucher::VoucherMode::New, [](voucher::VoucherDraft& d) { d.line(1).crAmt = "0", d.line(1).shown = false; },
         2, F::Amount, "저장할 금액이 입력된 라인이 없습니다. 금액을 입력하세요...."},
        {"correction needs no date check", voucher::VoucherMode::Correcting, [](voucher::VoucherDraft& d) { d.date = "2001-02-30"; }, 0,
         F::None, nullptr},
        {"correction writes the loaded line only", voucher::VoucherMode::Correcting,
         [](voucher::VoucherDraft& d) { d.line(2).crAmt = "7", name(d, 2, K::Account, "접대비"), d.loadedLine = voucher::VoucherDraft::LoadedLine{{}, 2, {}}; },
         2, F::Account, "2라인에 계정과목의 코드를 등록 하세요...."},
    };
    const auto said = [](int l, voucher::DraftField f, const QString& m) { return QString("%1 %2 %3").arg(l).arg(int(f)).arg(m); };
    for (const auto& c : cases) {
        voucher::VoucherDraft draft = typedVoucher(c.mode);
        c.type(draft);
        const std::optional<voucher::DraftProblem> problem = draft.checkSave();
        const QString seen = problem ? said(problem->line, problem->field, problem->message) : QString();
        const QString expected = c.message ? said(c.line, c.field, QString::fromUtf8(c.message)) : QString();
        QVERIFY2(seen == expected, qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.name), seen)));
    }
}

QTEST_GUILESS_MAIN(TestVoucherDraft)
#include "test_voucherdraft.moc"

// The printed voucher on SQLite and PostgreSQL: the rows of a stored voucher
// with blank filler rows to seven, the captions, the total, and the layout as
// a PDF text extractor sees it.
#include "core/errors.h"
#include "core/strutil.h"
#include "pdftext.h"
#include "print/printflow.h"
#include "print/printjob.h"
#include "print/printpreview.h"
#include "print/qrborvane.h"
#include "print/statementrows.h"
#include "store/statement.h"
#include "voucher/voucherbook.h"
#include "enginedb.h"
#include "voucherseed.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using voucherseed::sampleLine;

namespace {

const QString kDate = QStringLiteral("2024-03-15");
const QString kSerial = QStringLiteral("2024-03-15-00000001");
const QString kBranchText = QStringLiteral("부산지점/부산 해운대");
constexpr int kBranch = 1;

// Band tops on the page, in millimetres: the 10 mm margin, the 30.2 mm
// title band and the 16.7 mm heading band, then 16.7 mm per detail row.
constexpr double kFirstRowTop = 10 + 30.2 + 16.7;
constexpr double kRowHeight = 16.7;
constexpr double kSummaryTop = kFirstRowTop + 7 * kRowHeight;

print::PrintRequest request(const QString& serial = kSerial)
{
    return print::PrintRequest{kDate, kBranch, kBranchText, serial};
}

QString compact(QString text)
{
    return text.remove(u' ');
}

// Words made of the given Hangul, one blank between them, as long as `bytes`
// CP949 bytes allow (a syllable is two bytes, a blank one).
QString hangulText(const QString& word, int bytes)
{
    QString text;
    int used = 0;
    for (int i = 0;; i = (i + 1) % word.size()) {
        if (i == 0 && !text.isEmpty()) {
            if (used + 1 + 2 > bytes)
                break;
            text += u' ';
            ++used;
        }
        if (used + 2 > bytes)
            break;
        text += word[i];
        used += 2;
    }
    return text;
}

// A code of `bytes` letters and digits.
QString asciiText(int bytes)
{
    QString text;
    for (int i = 0; i < bytes; ++i)
        text += QLatin1Char("K0123456789"[i % 11]);
    return text;
}

} // namespace

class VoucherPrintTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TestAccount> m_account;

    // Makes a fresh database of the engine the program's data source.
    bool openAccount(const QString& engine)
    {
        if (engine == u"postgres" && !testdb::postgresAvailable())
            return false;
        m_account = std::make_unique<TestAccount>(engine);
        return true;
    }

    QString pdfPath(const QString& name) const { return QDir(m_dir.path()).filePath(name + QStringLiteral(".pdf")); }

#define OPEN_ACCOUNT(engine)                    \
    do {                                        \
        if (!openAccount(engine))               \
            REQUIRE_POSTGRES();                 \
    } while (0)

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (!pdftext::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void cleanup() { m_account.reset(); }

    void printsTheLinesThenBlankRowsToSeven_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("total");
        for (const char* engine : {"sqlite", "postgres"}) {
            QTest::addRow("%s three lines", engine) << QString::fromLatin1(engine) << 3 << QStringLiteral("1,780,000");
            QTest::addRow("%s five lines", engine) << QString::fromLatin1(engine) << 5 << QStringLiteral("1,784,500");
        }
    }

    void printsTheLinesThenBlankRowsToSeven()
    {
        QFETCH(QString, engine);
        QFETCH(int, lineCount);
        QFETCH(QString, total);
        OPEN_ACCOUNT(engine);
        const double amounts[] = {1500000, 250000, 30000, 4000, 500};
        QList<voucherseed::Line> lines;
        for (int i = 0; i < lineCount; ++i)
            lines.append(sampleLine(i + 1, amounts[i]));
        store::Connection& db = store::Connection::account();
        voucherseed::insertVoucher(db, kDate, kBranch, kSerial, lines);
        // Neighbours that must stay off the form: the next voucher of the
        // day, and the same number under another branch.
        voucherseed::insertVoucher(db, kDate, kBranch, QStringLiteral("2024-03-15-00000002"), {sampleLine(9, 777000)});
        voucherseed::insertVoucher(db, kDate, 2, kSerial, {sampleLine(8, 888000)});

        print::VoucherPrintJob job(request());
        QVERIFY(job.prepare());
        QCOMPARE(job.printed().lineCount, lineCount);
        QCOMPARE(job.printed().rows->rowCount(), 7);
        QCOMPARE(print::fmQrBorvane, job.form());
        QCOMPARE(job.form()->element<report::Label>("qlKubun")->caption(), QStringLiteral("구    분 :") + kBranchText);
        QCOMPARE(job.form()->element<report::Label>("qlJen")->caption(), QStringLiteral("전표번호 :") + kSerial);
        QCOMPARE(job.form()->element<report::Label>("qlDate")->caption(), QStringLiteral("기준일자 : ") + kDate);

        const QString path = pdfPath(QStringLiteral("voucher-%1-%2").arg(engine).arg(lineCount));
        job.printToPdf(path);
        QCOMPARE(job.form()->report().printedDetailRows(), 7);
        QCOMPARE(job.form()->report().pageCount(), 1);

        const QString text = pdftext::compactText(path);
        for (const QString& expected :
             {QStringLiteral("출금전표"), QStringLiteral("기준일자:") + kDate, compact(QStringLiteral("구분:") + kBranchText),
              QStringLiteral("전표번호:") + kSerial, QStringLiteral("계정과목이름"), QStringLiteral("적요기재사항"),
              QStringLiteral("거래처및은행이름코드"), QStringLiteral("금액"), QStringLiteral("합계"), total}) {
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" missing in ") + text));
        }
        QVERIFY(!text.contains(QStringLiteral("777,000")));
        QVERIFY(!text.contains(QStringLiteral("888,000")));

        // Each line in its own row, in line order; then blank rows down to the summary.
        const QList<pdftext::Word> words = pdftext::words(path);
        for (int i = 0; i < lineCount; ++i) {
            const voucherseed::Line& line = lines[i];
            const double top = kFirstRowTop + i * kRowHeight;
            const QString row = pdftext::joined(pdftext::wordsIn(words, QRectF(10, top, 277, kRowHeight)));
            for (const QString& expected :
                 {line.accountName, line.accountCode, compact(line.text), line.sawonName + line.sawonCode,
                  line.buserName + line.buserCode, line.kubunName + line.kubunCode,
                  line.projectName + line.projectCode, line.itemName + line.itemCode}) {
                QVERIFY2(row.contains(expected), qPrintable(QStringLiteral("row %1: %2 missing in %3").arg(i).arg(expected, row)));
            }
            const QList<pdftext::Word> amount = pdftext::wordsIn(words, QRectF(245.2, top, 50, kRowHeight));
            QCOMPARE(amount.size(), 1);
            QCOMPARE(amount[0].text, core::formatThousands(amounts[i]));
            // The amount keeps its right edge at 275.7 mm of the band.
            QVERIFY2(qAbs(amount[0].box.right() - (10 + 275.7)) < 1.0, qPrintable(QString::number(amount[0].box.right())));
        }
        const double fillerTop = kFirstRowTop + lineCount * kRowHeight;
        QVERIFY(pdftext::wordsIn(words, QRectF(10, fillerTop, 277, kSummaryTop - fillerTop)).isEmpty());
        const QList<pdftext::Word> summary = pdftext::wordsIn(words, QRectF(10, kSummaryTop, 277, 8.5));
        QCOMPARE(pdftext::joined(summary), QStringLiteral("합계") + total);
        QVERIFY2(qAbs(summary.last().box.right() - (10 + 275.4)) < 1.0, qPrintable(QString::number(summary.last().box.right())));
    }

    // The report reads Print_Query through the statement's rows: columns
    // by name in any case, texts of the fixed-width columns without their
    // trailing blanks, amounts as numbers, then the filler rows.
    void printRowsReadThePrintStatement_data() { addEngines(); }
    void printRowsReadThePrintStatement()
    {
        QFETCH(QString, engine);
        OPEN_ACCOUNT(engine);
        const voucherseed::Line line = sampleLine(1, 1500000);
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, kSerial, {line});
        voucher::VoucherBook book;
        const voucher::PrintRows printed = book.openPrintRows(kDate, kBranch, kSerial);
        QVERIFY(printed.any());
        print::StatementRows statementRows(*printed.rows);
        report::RowSource& rows = statementRows;
        QCOMPARE(rows.name(), QStringLiteral("Print_Query"));
        QVERIFY(rows.isOpen());
        rows.first();
        QCOMPARE(rows.text(QStringLiteral("AC_JENNAME")), line.accountName);
        QCOMPARE(rows.text(QStringLiteral("ac_jencode")), line.accountCode);
        QCOMPARE(rows.number(QStringLiteral("cr_amt")), 1500000.0);
        int count = 1;
        for (rows.next(); !rows.eof(); rows.next()) {
            QCOMPARE(rows.text(QStringLiteral("Ac_JenName")), QString());
            ++count;
        }
        QCOMPARE(count, 7);
    }

    // The title and the date stand in the middle of the 277 mm band; branch
    // and voucher number at its left edge.
    void titleLayout()
    {
        OPEN_ACCOUNT(QStringLiteral("sqlite"));
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, kSerial, {sampleLine(1, 1000)});
        const QString path = pdfPath(QStringLiteral("title"));
        QVERIFY(print::renderVoucherToPdf(request(), path));
        const QList<pdftext::Word> words = pdftext::words(path);

        auto spanOf = [&](const QRectF& area) {
            QRectF span;
            for (const pdftext::Word& w : pdftext::wordsIn(words, area))
                span = span.isNull() ? w.box : span.united(w.box);
            return span;
        };
        const QRectF title = spanOf(QRectF(10, 10 + 8, 277, 8));
        const QRectF date = spanOf(QRectF(10, 10 + 17.5, 277, 4));
        QVERIFY(!title.isNull() && !date.isNull());
        QVERIFY2(qAbs(title.center().x() - (10 + 138.6)) < 1.0, qPrintable(QString::number(title.center().x() - 10)));
        QVERIFY2(qAbs(date.center().x() - (10 + 138.6)) < 1.0, qPrintable(QString::number(date.center().x() - 10)));
        QVERIFY(title.height() > 2 * date.height() * 0.8); // 20 pt against 10 pt
        const QRectF branch = spanOf(QRectF(10, 10 + 22, 100, 4));
        const QRectF serial = spanOf(QRectF(10, 10 + 26.5, 100, 3.7));
        QVERIFY(qAbs(branch.left() - 11.1) < 0.8);
        QVERIFY(qAbs(serial.left() - 11.1) < 0.8);
    }

    // The longest texts the columns hold (widths in CP949 bytes, a Hangul
    // syllable two) print only what fits in each field's box; nothing wraps
    // onto the line below.
    void longestTextsStayInTheirFields_data() { addEngines(); }
    void longestTextsStayInTheirFields()
    {
        QFETCH(QString, engine);
        OPEN_ACCOUNT(engine);
        voucherseed::Line longest = sampleLine(1, 1234000);
        longest.accountName = hangulText(QStringLiteral("여비교통비"), 90);
        longest.text = hangulText(QStringLiteral("출장경비정산"), 200);
        longest.sawonName = hangulText(QStringLiteral("홍길동"), 100);
        longest.sawonCode = asciiText(20);
        longest.buserName = hangulText(QStringLiteral("경영지원부"), 100);
        longest.buserCode = asciiText(20);
        longest.kubunName = hangulText(QStringLiteral("한국상사"), 200);
        longest.kubunCode = asciiText(20);
        longest.projectName = hangulText(QStringLiteral("신사옥건설"), 200);
        longest.projectCode = asciiText(20);
        longest.itemName = hangulText(QStringLiteral("관리항목"), 200);
        longest.itemCode = asciiText(20);
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, kSerial,
                                   {longest, sampleLine(2, 5000)});
        const QString path = pdfPath(QStringLiteral("longest-") + engine);
        QVERIFY(print::renderVoucherToPdf(request(), path));
        const QList<pdftext::Word> words = pdftext::words(path);

        // The detail fields' boxes in the band (left, top, width, height) and what each prints.
        struct Field {
            QRectF box;
            QString text;
        };
        const auto nameCode = [](const QString& name, const QString& code) { return name + code; };
        const QList<Field> fields{
            {{0.5, 1.1, 39.2, 3.4}, longest.accountName},
            {{0.5, 6.6, 39.2, 3.4}, longest.accountCode},
            {{0.5, 11.6, 39.2, 3.4}, nameCode(longest.sawonName, longest.sawonCode)},
            {{41.5, 1.1, 192.6, 3.4}, longest.text},
            {{41.5, 6.6, 95.2, 3.4}, nameCode(longest.buserName, longest.buserCode)},
            {{138.9, 6.6, 95.2, 3.4}, nameCode(longest.kubunName, longest.kubunCode)},
            {{41.5, 11.6, 95.2, 3.4}, nameCode(longest.projectName, longest.projectCode)},
            {{138.9, 11.6, 95.2, 3.4}, nameCode(longest.itemName, longest.itemCode)},
            {{235.2, 6.3, 40.5, 3.7}, core::formatThousands(longest.amount)},
        };
        // A word box is the font's height, a little taller than the field's.
        const QMarginsF slack(0.5, 0.8, 0.5, 0.8);
        int inFields = 0;
        for (const Field& field : fields) {
            const QRectF box = field.box.translated(10, kFirstRowTop) + slack;
            const QString shown = pdftext::joined(pdftext::wordsIn(words, box));
            const QString head = QString(shown).remove(u'…');
            QVERIFY2(!head.isEmpty(), qPrintable(field.text));
            QVERIFY2(compact(field.text).startsWith(head), qPrintable(shown + QStringLiteral(" / ") + field.text));
            QVERIFY2(shown.endsWith(u'…') == (head != compact(field.text)), qPrintable(shown)); // "…" where cut
            inFields += int(pdftext::wordsIn(words, box).size());
        }
        const QList<pdftext::Word> row = pdftext::wordsIn(words, QRectF(10, kFirstRowTop - 1, 277, kRowHeight + 1));
        QVERIFY2(row.size() == inFields, qPrintable(QStringLiteral("outside the fields: ") + pdftext::joined(row)));
        // The line below prints its own texts, whole.
        const QString next = pdftext::joined(
            pdftext::wordsIn(words, QRectF(10, kFirstRowTop + kRowHeight, 277, kRowHeight)));
        QVERIFY2(next.contains(compact(sampleLine(2, 0).text)), qPrintable(next));
    }

    // A voucher deleted after it was chosen: seven blank rows, no total.
    void deletedVoucherPrintsBlankRows_data() { addEngines(); }
    void deletedVoucherPrintsBlankRows()
    {
        QFETCH(QString, engine);
        OPEN_ACCOUNT(engine);
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, QStringLiteral("2024-03-15-00000002"),
                                   {sampleLine(1, 5000)});
        print::VoucherPrintJob job(request());
        QVERIFY(job.prepare());
        QCOMPARE(job.printed().lineCount, 0);
        const QString path = pdfPath(QStringLiteral("deleted-") + engine);
        job.printToPdf(path);
        QCOMPARE(job.form()->report().printedDetailRows(), 7);
        QCOMPARE(job.form()->element<report::SumField>("QRExpr1")->total(), 0.0);

        const QList<pdftext::Word> words = pdftext::words(path);
        QVERIFY(pdftext::wordsIn(words, QRectF(10, kFirstRowTop, 277, 7 * kRowHeight)).isEmpty());
        QCOMPARE(pdftext::joined(pdftext::wordsIn(words, QRectF(10, kSummaryTop, 277, 8.5))), QStringLiteral("합계"));
        QVERIFY(pdftext::compactText(path).contains(QStringLiteral("전표번호:") + kSerial));
    }

    // Lines that cancel out: each amount prints, the zero total does not.
    void zeroTotalPrintsNothing()
    {
        OPEN_ACCOUNT(QStringLiteral("sqlite"));
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, kSerial,
                                   {sampleLine(1, 5000), sampleLine(2, -5000)});
        const QString path = pdfPath(QStringLiteral("zero"));
        QVERIFY(print::renderVoucherToPdf(request(), path));
        const QString text = pdftext::compactText(path);
        QVERIFY(text.contains(QStringLiteral("5,000")));
        QVERIFY(text.contains(QStringLiteral("-5,000")));
        const QList<pdftext::Word> words = pdftext::words(path);
        QCOMPARE(pdftext::joined(pdftext::wordsIn(words, QRectF(10, kSummaryTop, 277, 8.5))), QStringLiteral("합계"));
    }

    // Without any row (no voucher, no filler rows) nothing is printed or shown.
    void nothingToPrint()
    {
        OPEN_ACCOUNT(QStringLiteral("sqlite"));
        store::Connection::account().execNative(QStringLiteral("DELETE FROM Jen_Print"));
        const QString path = pdfPath(QStringLiteral("nothing"));
        QVERIFY(!print::renderVoucherToPdf(request(), path));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!print::showVoucherPrint(request(), nullptr)); // would block on a shown preview
        QVERIFY(print::fmQrBorvane == nullptr);
    }

    void unwritablePdfIsReported()
    {
        OPEN_ACCOUNT(QStringLiteral("sqlite"));
        voucherseed::insertVoucher(store::Connection::account(), kDate, kBranch, kSerial, {sampleLine(1, 1000)});
        try {
            print::renderVoucherToPdf(request(), QStringLiteral("/nonexistent-folder/voucher.pdf"));
            QFAIL("an unwritable file was reported as written");
        } catch (const core::AppError& error) {
            QVERIFY(error.text().contains(QStringLiteral("PDF 파일을 저장할 수 없습니다.")));
        }
    }
};

QTEST_MAIN(VoucherPrintTest)
#include "test_voucherprint.moc"

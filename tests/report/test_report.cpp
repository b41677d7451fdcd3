// The banded report layer: masks, sums, pagination, word wrap clipped to the
// element's box, and auto-size fields that keep their anchored edge.
#include "core/errors.h"
#include "report/mask.h"
#include "report/report.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace report;

namespace {

constexpr double kDotsPerMm = 10; // 254 dpi

QImage blankPage()
{
    QImage image(2970, 2100, QImage::Format_RGB32); // A4 landscape
    image.setDotsPerMeterX(int(kDotsPerMm * 1000));
    image.setDotsPerMeterY(int(kDotsPerMm * 1000));
    image.fill(Qt::white);
    return image;
}

// Bounding box in millimetres of everything not white inside the given area
// (millimetres of the page); an empty rectangle when the area is blank.
QRectF inkBox(const QImage& image, const QRectF& areaMm)
{
    const int x0 = qMax(0, int(areaMm.left() * kDotsPerMm));
    const int x1 = qMin(image.width(), int(areaMm.right() * kDotsPerMm));
    const int y0 = qMax(0, int(areaMm.top() * kDotsPerMm));
    const int y1 = qMin(image.height(), int(areaMm.bottom() * kDotsPerMm));
    int left = INT_MAX, right = -1, top = INT_MAX, bottom = -1;
    for (int y = y0; y < y1; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = x0; x < x1; ++x) {
            if (qGray(line[x]) < 160) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0)
        return QRectF();
    return QRectF(left / kDotsPerMm, top / kDotsPerMm, (right + 1 - left) / kDotsPerMm,
                  (bottom + 1 - top) / kDotsPerMm);
}

// Renders the first page only.
QImage renderFirstPage(Report& report)
{
    QImage image = blankPage();
    QPainter painter(&image);
    report.render(painter, [] { return false; });
    return image;
}

// Rows of (Name, Amt) in the given order, the data set "Rows".
class ListRows : public RowSource {
public:
    explicit ListRows(const QList<QPair<QString, double>>& rows) : m_rows(rows) {}
    QString name() const override { return QStringLiteral("Rows"); }
    bool isOpen() const override { return true; }
    void first() override { m_current = 0; }
    void next() override { ++m_current; }
    bool eof() override { return m_current >= m_rows.size(); }
    QString text(const QString& column) override
    {
        return column == u"Name" ? m_rows.at(m_current).first : QString::number(number(column));
    }
    double number(const QString& column) override { return column == u"Amt" ? m_rows.at(m_current).second : 0; }

private:
    QList<QPair<QString, double>> m_rows;
    int m_current = 0;
};

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ListRows> rows(const QList<QPair<QString, double>>& values)
    {
        return std::make_unique<ListRows>(values);
    }

private slots:
    void masks()
    {
        QCOMPARE(applyMask(1234567, QStringLiteral("#,###")), QStringLiteral("1,234,567"));
        QCOMPARE(applyMask(0, QStringLiteral("#,###")), QString());
        QCOMPARE(applyMask(-5000, QStringLiteral("#,###")), QStringLiteral("-5,000"));
        QCOMPARE(applyMask(0, QStringLiteral("#,##0")), QStringLiteral("0"));
        QVERIFY_THROWS_EXCEPTION(core::AppError, applyMask(1, QStringLiteral("0.00")));
        DataField field(QStringLiteral("f"), nullptr);
        QVERIFY_THROWS_EXCEPTION(core::AppError, field.setMask(QStringLiteral("##")));
    }

    // A masked field reads its column as a number; an unmasked one reads its
    // text (trailing blanks: tests/print, printRowsReadThePrintStatement).
    void dataFieldsReadTheCurrentRow()
    {
        auto statement = rows({{QStringLiteral("벽지"), 1500000}, {QStringLiteral("빈 줄"), 0}});
        DataField amount(QStringLiteral("amount"), nullptr);
        amount.setColumn(QStringLiteral("Amt"));
        amount.setMask(QStringLiteral("#,###"));
        DataField name(QStringLiteral("name"), nullptr);
        name.setColumn(QStringLiteral("Name"));
        RenderContext context;
        context.dataset = statement.get();
        statement->first();
        QCOMPARE(amount.text(context), QStringLiteral("1,500,000"));
        QCOMPARE(name.text(context), QStringLiteral("벽지"));
        statement->next();
        QCOMPARE(amount.text(context), QString());
        statement->next(); // past the end: nothing to print
        QCOMPARE(name.text(context), QString());
    }

    // The sum covers every detail row, across pages; headers repeat on
    // every page and a zero total prints nothing.
    void sumsAndPages()
    {
        Report report(QStringLiteral("r"));
        report.setFont(QFont(QStringLiteral("NanumGothic"), 9));
        report.createBand(BandKind::PageHeader, QStringLiteral("head"))->setHeight(30);
        Band* detail = report.createBand(BandKind::Detail, QStringLiteral("detail"));
        detail->setHeight(50);
        Band* summary = report.createBand(BandKind::Summary, QStringLiteral("summary"));
        summary->setHeight(10);
        auto* total = summary->add<SumField>(QStringLiteral("total"));
        total->setExpression(QStringLiteral("sum( Rows.Amt )"));
        total->setMask(QStringLiteral("#,###"));
        QCOMPARE(total->column(), QStringLiteral("Amt"));

        QList<QPair<QString, double>> values;
        for (int i = 1; i <= 10; ++i)
            values.append({QStringLiteral("r%1").arg(i), i * 1000.0});
        auto statement = rows(values);
        report.setDataSet(statement.get());
        QImage image = blankPage();
        QPainter painter(&image);
        int newPages = 0;
        // 190 mm below the top margin: the header and three detail rows per
        // page; the summary fits under the tenth row on the fourth page.
        QCOMPARE(report.render(painter, [&] { return ++newPages, true; }), 4);
        QCOMPARE(newPages, 3);
        QCOMPARE(report.printedDetailRows(), 10);
        QCOMPARE(total->total(), 55000.0);
        QCOMPARE(total->text({}), QStringLiteral("55,000"));

        // A refused new page ends the run where it stands.
        QCOMPARE(report.render(painter, [] { return false; }), 1);
        QCOMPARE(report.printedDetailRows(), 3);

        auto zeros = rows({{QStringLiteral("a"), 0}, {QStringLiteral("b"), 0}});
        report.setDataSet(zeros.get());
        report.render(painter, [] { return true; });
        QCOMPARE(report.printedDetailRows(), 2);
        QCOMPARE(total->text({}), QString());

        // An empty result still prints a page with the header and summary.
        auto none = rows({});
        report.setDataSet(none.get());
        QCOMPARE(report.render(painter, [] { return true; }), 1);
        QCOMPARE(report.printedDetailRows(), 0);

        total->setExpression(QStringLiteral("SUM(Other.Amt)"));
        QVERIFY_THROWS_EXCEPTION(core::AppError, report.render(painter, [] { return true; }));
        QVERIFY_THROWS_EXCEPTION(core::AppError, total->setExpression(QStringLiteral("AVG(Rows.Amt)")));
    }

    // Wrapped lines stay in the element's box (at least one line high): what
    // does not fit below the first line is not printed over what lies below.
    void wordWrapIsClippedToTheBox()
    {
        Report report(QStringLiteral("r"));
        report.setFont(QFont(QStringLiteral("NanumGothic"), 9));
        Band* head = report.createBand(BandKind::PageHeader, QStringLiteral("head"));
        head->setHeight(8); // band from y 10 to 18 mm on the page
        auto* text = head->add<Label>(QStringLiteral("text"));
        text->setGeometry(5, 1, 30, 3.4); // page x 15 .. 45 mm
        text->setWordWrap(true);
        text->setCaption(QStringLiteral("적요 기재 사항이 길어서 한 줄에 다 들어가지 않는 경우에는 "
                                        "다음 줄로 넘어가지만 띠의 높이는 늘어나지 않습니다 끝"));
        const QImage image = renderFirstPage(report);

        const QRectF firstLine = inkBox(image, QRectF(10, 10, 60, 4.5));
        QVERIFY(!firstLine.isEmpty());
        QVERIFY(inkBox(image, QRectF(10, 15, 60, 3)).isEmpty()); // no second line below the box
        QVERIFY(inkBox(image, QRectF(0, 18, 100, 20)).isEmpty());  // nothing below the band
        QVERIFY(inkBox(image, QRectF(45.05, 0, 50, 40)).isEmpty()); // nothing beyond the width

        // Without word wrap the text stays on one line, cut at the width.
        text->setWordWrap(false);
        const QImage single = renderFirstPage(report);
        QVERIFY(!inkBox(single, QRectF(10, 10, 60, 4.5)).isEmpty());
        QVERIFY(inkBox(single, QRectF(10, 15, 60, 10)).isEmpty());
        QVERIFY(inkBox(single, QRectF(45.05, 0, 50, 40)).isEmpty());
    }

    // An auto-size field follows its text's width and keeps the edge its
    // alignment anchors.
    void autoSizeKeepsItsAnchoredEdge()
    {
        Label label(QStringLiteral("l"), nullptr);
        label.setGeometry(100, 2, 20, 4);
        label.setAutoSize(true);
        label.setAlignment(Alignment::Right);
        QCOMPARE(label.placedRect(7).left(), 113.0);
        QCOMPARE(label.placedRect(35).right(), 120.0);
        label.setAlignment(Alignment::Center);
        QCOMPARE(label.placedRect(30).center().x(), 110.0);
        label.setAlignment(Alignment::Left);
        QCOMPARE(label.placedRect(30).left(), 100.0);
        label.setAutoSize(false);
        QCOMPARE(label.placedRect(30), QRectF(100, 2, 20, 4));

        Report report(QStringLiteral("r"));
        report.setFont(QFont(QStringLiteral("NanumGothic"), 10));
        Band* head = report.createBand(BandKind::PageHeader, QStringLiteral("head"));
        head->setHeight(10);
        auto* amount = head->add<Label>(QStringLiteral("amount"));
        amount->setGeometry(200, 2, 20, 4); // right edge at page x 230 mm
        amount->setAutoSize(true);
        amount->setAlignment(Alignment::Right);

        amount->setCaption(QStringLiteral("7"));
        const QRectF small = inkBox(renderFirstPage(report), QRectF(0, 10, 297, 10));
        amount->setCaption(QStringLiteral("123,456,789,000"));
        const QRectF large = inkBox(renderFirstPage(report), QRectF(0, 10, 297, 10));
        QVERIFY(!small.isEmpty() && !large.isEmpty());
        QVERIFY2(qAbs(small.right() - 230) < 0.6, qPrintable(QString::number(small.right())));
        QVERIFY2(qAbs(large.right() - 230) < 0.6, qPrintable(QString::number(large.right())));
        // Wider than its design width, and not cut off.
        QVERIFY(large.left() < 210 - 5);
    }
};

QTEST_MAIN(ReportTest)
#include "test_report.moc"

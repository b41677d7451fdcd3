#include "qrborvane.h"

#include <QFont>

TfmQrBorvane* fmQrBorvane = nullptr;

using report::Alignment;
using report::BandKind;
using report::FrameSide;

namespace {

const QString kGulim = QStringLiteral("굴림");
constexpr double kBandMiddle = 138.6; // of the 277 mm band

// The form is laid out in 굴림; where it is missing NanumGothic stands in.
QFont gulim(double points, bool bold = false)
{
    static const bool substituted = [] {
        QFont::insertSubstitution(kGulim, QStringLiteral("NanumGothic"));
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(kGulim);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A caption that sizes itself to its text, left-aligned.
report::Label* autoLabel(report::Band* band, const QString& name, const QString& caption, double left,
                         double top, double height, const QFont& font)
{
    auto* label = band->add<report::Label>(name);
    label->setCaption(caption);
    label->setGeometry(left, top, 0, height);
    label->setAutoSize(true);
    label->setWordWrap(true);
    label->setFont(font);
    return label;
}

report::DataField* dataField(report::Band* band, const QString& name, const QString& column, double left,
                             double top, double width, double height, Alignment alignment, const QFont& font)
{
    auto* field = band->add<report::DataField>(name);
    field->setColumn(column);
    field->setGeometry(left, top, width, height);
    field->setAlignment(alignment);
    field->setWordWrap(true);
    field->setFont(font);
    return field;
}

} // namespace

TfmQrBorvane::TfmQrBorvane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fmQrBorvane"));

    QuickRep1 = new report::Report(QStringLiteral("QuickRep1"), this);
    report::PageSetup& page = QuickRep1->pageSetup();
    page.paper = QPageSize::A4;
    page.orientation = QPageLayout::Landscape;
    page.margins = QMarginsF(10, 10, 10, 10);
    QuickRep1->setFont(gulim(9));

    // Title: centred on the 277 mm band, branch and voucher number at the left.
    PageHeaderBand1 = QuickRep1->createBand(BandKind::PageHeader, QStringLiteral("PageHeaderBand1"));
    PageHeaderBand1->setHeight(30.2);
    // In 굴림 the title starts at 115.6 mm and the date at 118.3 mm, both with
    // their midpoint at 138.6 mm; anchored by that midpoint they stay centred
    // in a stand-in font of other widths.
    QRLabel5 = autoLabel(PageHeaderBand1, QStringLiteral("QRLabel5"), QStringLiteral("출 금    전 표"), 115.6, 8.5,
                         7.4, gulim(20, true));
    QRLabel5->setGeometry(115.6, 8.5, 2 * (kBandMiddle - 115.6), 7.4);
    QRLabel5->setAlignment(Alignment::Center);
    qlDate = autoLabel(PageHeaderBand1, QStringLiteral("qlDate"), QStringLiteral("기준일자 : "), 118.3, 17.7, 3.7,
                       gulim(10, true));
    qlDate->setGeometry(118.3, 17.7, 2 * (kBandMiddle - 118.3), 3.7);
    qlDate->setAlignment(Alignment::Center);
    qlKubun = autoLabel(PageHeaderBand1, QStringLiteral("qlKubun"), QStringLiteral("구    분 :"), 1.1, 22.0, 3.4,
                        gulim(9));
    qlJen = autoLabel(PageHeaderBand1, QStringLiteral("qlJen"), QStringLiteral("전표번호 :"), 1.1, 26.5, 3.4,
                      gulim(9));

    // Column headings in three rows, ruled like the detail rows below them.
    ChildBand1 = QuickRep1->createBand(BandKind::Child, QStringLiteral("ChildBand1"));
    ChildBand1->setHeight(16.7);
    ChildBand1->setFrame(FrameSide::All);
    ChildBand1->addVerticalRule(40.0);
    ChildBand1->addVerticalRule(235.2);
    QRLabel2 = autoLabel(ChildBand1, QStringLiteral("QRLabel2"), QStringLiteral("계정과목 이름"), 9.5, 1.1, 3.4,
                         gulim(9, true));
    QRLabel3 = autoLabel(ChildBand1, QStringLiteral("QRLabel3"), QStringLiteral("계정과목 코드"), 10.3, 6.6, 3.4,
                         gulim(9));
    QRLabel4 = autoLabel(ChildBand1, QStringLiteral("QRLabel4"), QStringLiteral("사원 이름코드"), 10.1, 11.6, 3.4,
                         gulim(9));
    QRLabel1 = autoLabel(ChildBand1, QStringLiteral("QRLabel1"),
                         QStringLiteral("적               요               기               재               "
                                        "사               항"),
                         49.7, 1.1, 3.4, gulim(9, true));
    QRLabel7 = autoLabel(ChildBand1, QStringLiteral("QRLabel7"), QStringLiteral("부   서  이   름    코   드"), 42.1,
                         6.6, 3.4, gulim(9));
    QRLabel9 = autoLabel(ChildBand1, QStringLiteral("QRLabel9"), QStringLiteral("거 래 처  및  은 행 이 름 코 드"),
                         190.8, 6.6, 3.4, gulim(9));
    QRLabel8 = autoLabel(ChildBand1, QStringLiteral("QRLabel8"),
                         QStringLiteral("프   로   젝   트  이   름    코   드"), 41.8, 11.6, 3.4, gulim(9));
    QRLabel10 = autoLabel(ChildBand1, QStringLiteral("QRLabel10"), QStringLiteral("관 리 항 목  이 름 코 드"), 200.3,
                          11.6, 3.4, gulim(9));
    QRLabel6 = autoLabel(ChildBand1, QStringLiteral("QRLabel6"), QStringLiteral("금                 액"), 240.8, 6.3,
                         3.7, gulim(10, true));

    // One row per printed line; the band keeps its height whatever the text.
    DetailBand1 = QuickRep1->createBand(BandKind::Detail, QStringLiteral("DetailBand1"));
    DetailBand1->setHeight(16.7);
    DetailBand1->setFrame(FrameSide::Left | FrameSide::Right | FrameSide::Bottom);
    DetailBand1->addVerticalRule(40.0);
    DetailBand1->addVerticalRule(235.2);
    QRDBText2 = dataField(DetailBand1, QStringLiteral("QRDBText2"), QStringLiteral("Ac_JenName"), 0.5, 1.1, 39.2, 3.4,
                          Alignment::Center, gulim(9, true));
    QRDBText3 = dataField(DetailBand1, QStringLiteral("QRDBText3"), QStringLiteral("Ac_JenCode"), 0.5, 6.6, 39.2, 3.4,
                          Alignment::Center, gulim(9));
    QRDBText4 = dataField(DetailBand1, QStringLiteral("QRDBText4"), QStringLiteral("Sawon_NameCode"), 0.5, 11.6, 39.2,
                          3.4, Alignment::Center, gulim(9));
    QRDBText5 = dataField(DetailBand1, QStringLiteral("QRDBText5"), QStringLiteral("Ac_Text"), 41.5, 1.1, 192.6, 3.4,
                          Alignment::Left, gulim(9, true));
    QRDBText6 = dataField(DetailBand1, QStringLiteral("QRDBText6"), QStringLiteral("Buser_NameCode"), 41.5, 6.6, 95.2,
                          3.4, Alignment::Left, gulim(9));
    QRDBText7 = dataField(DetailBand1, QStringLiteral("QRDBText7"), QStringLiteral("Kubun_NameCode"), 138.9, 6.6, 95.2,
                          3.4, Alignment::Right, gulim(9));
    QRDBText8 = dataField(DetailBand1, QStringLiteral("QRDBText8"), QStringLiteral("Project_NameCode"), 41.5, 11.6,
                          95.2, 3.4, Alignment::Left, gulim(9));
    QRDBText9 = dataField(DetailBand1, QStringLiteral("QRDBText9"), QStringLiteral("Item_NameCode"), 138.9, 11.6, 95.2,
                          3.4, Alignment::Right, gulim(9));
    // The amount grows to the left from its right edge at 275.7 mm.
    QRDBText1 = dataField(DetailBand1, QStringLiteral("QRDBText1"), QStringLiteral("Cr_Amt"), 245.7, 6.3, 30.0, 3.7,
                          Alignment::Right, gulim(10));
    QRDBText1->setAutoSize(true);
    QRDBText1->setMask(QStringLiteral("#,###"));

    SummaryBand1 = QuickRep1->createBand(BandKind::Summary, QStringLiteral("SummaryBand1"));
    SummaryBand1->setHeight(8.5);
    SummaryBand1->setFrame(FrameSide::Left | FrameSide::Right | FrameSide::Bottom);
    QRLabel11 = autoLabel(SummaryBand1, QStringLiteral("QRLabel11"), QStringLiteral("합              계"), 176.7, 2.1,
                          4.2, gulim(11, true));
    // The total grows to the left from its right edge at 275.4 mm.
    QRExpr1 = SummaryBand1->add<report::SumField>(QStringLiteral("QRExpr1"));
    QRExpr1->setExpression(QStringLiteral("SUM(Print_Query.Cr_Amt)"));
    QRExpr1->setMask(QStringLiteral("#,###"));
    QRExpr1->setGeometry(245.4, 2.4, 30.0, 4.2);
    QRExpr1->setAutoSize(true);
    QRExpr1->setAlignment(Alignment::Right);
    QRExpr1->setWordWrap(true);
    QRExpr1->setFont(gulim(11, true));
}

TfmQrBorvane::~TfmQrBorvane()
{
    if (fmQrBorvane == this)
        fmQrBorvane = nullptr;
}

void TfmQrBorvane::setCaptions(const PrintRequest& request)
{
    qlKubun->setCaption(QStringLiteral("구    분 :") + request.branchText);
    qlJen->setCaption(QStringLiteral("전표번호 :") + request.serialText);
    qlDate->setCaption(QStringLiteral("기준일자 : ") + request.dateText);
}

void TfmQrBorvane::setDataSet(report::RowSource* printRows)
{
    QuickRep1->setDataSet(printRows);
}

#include "qrborvane.h"

#include <QFont>

namespace print {

TfmQrBorvane* fmQrBorvane = nullptr;

using report::Alignment;
using report::BandKind;
using report::FrameSide;
using report::FrameSides;

namespace {

// The form's bands, top to bottom.
struct BandRow {
    BandKind kind;
    const char* name;
    double height;
    FrameSides frame;
    QList<double> rules; // vertical rules, mm from the band's left edge
};

// Column headings and detail rows are ruled alike: three columns.
const QList<double> kColumnRules{40.0, 235.2};

const BandRow kBands[] = {
    {BandKind::PageHeader, "PageHeaderBand1", 30.2, FrameSide::None, {}},
    {BandKind::Child, "ChildBand1", 16.7, FrameSide::All, kColumnRules},
    // One row per printed line; the band keeps its height whatever the text.
    {BandKind::Detail, "DetailBand1", 16.7, FrameSide::Left | FrameSide::Right | FrameSide::Bottom, kColumnRules},
    {BandKind::Summary, "SummaryBand1", 8.5, FrameSide::Left | FrameSide::Right | FrameSide::Bottom, {}},
};

// What an element prints: a fixed caption, a column of the current row, or
// the sum of a column.
enum class Content { Caption, Column, Sum };
// The entry window's field a caption is followed by (setCaptions).
enum class RequestText { None, Date, Branch, Serial };

// One text element of the form. Every element wraps inside its box; an
// auto-size one is as wide as its text and keeps the edge its alignment
// names. A width of 0 on an auto-size caption: it starts at left.
struct ElementRow {
    BandKind band;
    const char* name;
    double left, top, width, height; // mm in the band
    double points;
    bool bold;
    Alignment alignment;
    bool autoSize;
    Content content;
    const char* text; // caption, column or sum expression (UTF-8)
    const char* mask = "";
    RequestText followedBy = RequestText::None;
};

constexpr double kBandMiddle = 138.6; // of the 277 mm band
// In 굴림 the title starts at 115.6 mm and the date at 118.3 mm, both with
// their midpoint at 138.6 mm; anchored by that midpoint they stay centred in
// a stand-in font of other widths.
constexpr double kTitleLeft = 115.6;
constexpr double kDateLeft = 118.3;

// Short names for the table's band and alignment columns.
constexpr auto H = BandKind::PageHeader;
constexpr auto C = BandKind::Child;
constexpr auto D = BandKind::Detail;
constexpr auto S = BandKind::Summary;
constexpr auto L = Alignment::Left;
constexpr auto M = Alignment::Center;
constexpr auto R = Alignment::Right;

// In painting order within each band.
const ElementRow kElements[] = {
    // Title: centred on the band, branch and voucher number at the left.
    {H, "QRLabel5", kTitleLeft, 8.5, 2 * (kBandMiddle - kTitleLeft), 7.4, 20, true, M, true, Content::Caption,
     "출 금    전 표"},
    {H, "qlDate", kDateLeft, 17.7, 2 * (kBandMiddle - kDateLeft), 3.7, 10, true, M, true, Content::Caption,
     "기준일자 : ", "", RequestText::Date},
    {H, "qlKubun", 1.1, 22.0, 0, 3.4, 9, false, L, true, Content::Caption, "구    분 :", "", RequestText::Branch},
    {H, "qlJen", 1.1, 26.5, 0, 3.4, 9, false, L, true, Content::Caption, "전표번호 :", "", RequestText::Serial},

    // Column headings in three rows, over the detail fields below them.
    {C, "QRLabel2", 9.5, 1.1, 0, 3.4, 9, true, L, true, Content::Caption, "계정과목 이름"},
    {C, "QRLabel3", 10.3, 6.6, 0, 3.4, 9, false, L, true, Content::Caption, "계정과목 코드"},
    {C, "QRLabel4", 10.1, 11.6, 0, 3.4, 9, false, L, true, Content::Caption, "사원 이름코드"},
    {C, "QRLabel1", 49.7, 1.1, 0, 3.4, 9, true, L, true, Content::Caption,
     "적               요               기               재               사               항"},
    {C, "QRLabel7", 42.1, 6.6, 0, 3.4, 9, false, L, true, Content::Caption, "부   서  이   름    코   드"},
    {C, "QRLabel9", 190.8, 6.6, 0, 3.4, 9, false, L, true, Content::Caption, "거 래 처  및  은 행 이 름 코 드"},
    {C, "QRLabel8", 41.8, 11.6, 0, 3.4, 9, false, L, true, Content::Caption,
     "프   로   젝   트  이   름    코   드"},
    {C, "QRLabel10", 200.3, 11.6, 0, 3.4, 9, false, L, true, Content::Caption, "관 리 항 목  이 름 코 드"},
    {C, "QRLabel6", 240.8, 6.3, 0, 3.7, 10, true, L, true, Content::Caption, "금                 액"},

    {D, "QRDBText2", 0.5, 1.1, 39.2, 3.4, 9, true, M, false, Content::Column, "Ac_JenName"},
    {D, "QRDBText3", 0.5, 6.6, 39.2, 3.4, 9, false, M, false, Content::Column, "Ac_JenCode"},
    {D, "QRDBText4", 0.5, 11.6, 39.2, 3.4, 9, false, M, false, Content::Column, "Sawon_NameCode"},
    {D, "QRDBText5", 41.5, 1.1, 192.6, 3.4, 9, true, L, false, Content::Column, "Ac_Text"},
    {D, "QRDBText6", 41.5, 6.6, 95.2, 3.4, 9, false, L, false, Content::Column, "Buser_NameCode"},
    {D, "QRDBText7", 138.9, 6.6, 95.2, 3.4, 9, false, R, false, Content::Column, "Kubun_NameCode"},
    {D, "QRDBText8", 41.5, 11.6, 95.2, 3.4, 9, false, L, false, Content::Column, "Project_NameCode"},
    {D, "QRDBText9", 138.9, 11.6, 95.2, 3.4, 9, false, R, false, Content::Column, "Item_NameCode"},
    // The amount grows to the left from its right edge at 275.7 mm.
    {D, "QRDBText1", 245.7, 6.3, 30.0, 3.7, 10, false, R, true, Content::Column, "Cr_Amt", "#,###"},

    {S, "QRLabel11", 176.7, 2.1, 0, 4.2, 11, true, L, true, Content::Caption, "합              계"},
    // The total grows to the left from its right edge at 275.4 mm.
    {S, "QRExpr1", 245.4, 2.4, 30.0, 4.2, 11, true, R, true, Content::Sum, "SUM(Print_Query.Cr_Amt)", "#,###"},
};

const QString kGulim = QStringLiteral("굴림");

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

report::TextElement* addElement(report::Band* band, const ElementRow& row)
{
    const QString name = QString::fromLatin1(row.name);
    const QString text = QString::fromUtf8(row.text);
    const QString mask = QString::fromLatin1(row.mask);
    report::TextElement* element = nullptr;
    switch (row.content) {
    case Content::Caption: {
        auto* label = band->add<report::Label>(name);
        label->setCaption(text);
        element = label;
        break;
    }
    case Content::Column: {
        auto* field = band->add<report::DataField>(name);
        field->setColumn(text);
        field->setMask(mask);
        element = field;
        break;
    }
    case Content::Sum: {
        auto* sum = band->add<report::SumField>(name);
        sum->setExpression(text);
        sum->setMask(mask);
        element = sum;
        break;
    }
    }
    element->setGeometry(row.left, row.top, row.width, row.height);
    element->setAutoSize(row.autoSize);
    element->setAlignment(row.alignment);
    element->setWordWrap(true);
    element->setFont(gulim(row.points, row.bold));
    return element;
}

QString requestText(const PrintRequest& request, RequestText which)
{
    switch (which) {
    case RequestText::Date:
        return request.dateText;
    case RequestText::Branch:
        return request.branchText;
    case RequestText::Serial:
        return request.serialText;
    case RequestText::None:
        break;
    }
    return QString();
}

} // namespace

TfmQrBorvane::TfmQrBorvane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fmQrBorvane"));

    m_report = new report::Report(QStringLiteral("QuickRep1"), this);
    report::PageSetup& page = m_report->pageSetup();
    page.paper = QPageSize::A4;
    page.orientation = QPageLayout::Landscape;
    page.margins = QMarginsF(10, 10, 10, 10);
    m_report->setFont(gulim(9));

    for (const BandRow& row : kBands) {
        report::Band* band = m_report->createBand(row.kind, QString::fromLatin1(row.name));
        band->setHeight(row.height);
        band->setFrame(row.frame);
        for (double x : row.rules)
            band->addVerticalRule(x);
    }
    for (const ElementRow& row : kElements)
        addElement(m_report->band(row.band), row);
}

TfmQrBorvane::~TfmQrBorvane()
{
    if (fmQrBorvane == this)
        fmQrBorvane = nullptr;
}

void TfmQrBorvane::setCaptions(const PrintRequest& request)
{
    for (const ElementRow& row : kElements) {
        if (row.followedBy == RequestText::None)
            continue;
        element<report::Label>(row.name)->setCaption(QString::fromUtf8(row.text) +
                                                      requestText(request, row.followedBy));
    }
}

void TfmQrBorvane::setDataSet(report::RowSource* printRows)
{
    m_report->setDataSet(printRows);
}

} // namespace print

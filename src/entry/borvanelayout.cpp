#include "borvane.h"

#include "widgets/accelbutton.h"
#include "widgets/branchcombo.h"
#include "widgets/bytelimit.h"
#include "widgets/colourpanel.h"
#include "widgets/colours.h"
#include "widgets/dbgrid.h"
#include "widgets/glyphs.h"

#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace entry {

namespace {

constexpr int kClientWidth = 963;
constexpr int kClientHeight = 701;
constexpr int kBodyHeight = 652;
constexpr int kPanelWidth = 959;
constexpr int kPanelHeight = 75;
constexpr int kGridHeight = 274;
constexpr int kTextLimitBytes = 400;

QFont pixelFont(const QFont& base, int pixels, bool bold)
{
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, colour);
        p.setColor(group, QPalette::WindowText, colour);
        p.setColor(group, QPalette::ButtonText, colour);
    }
    w->setPalette(p);
}

void setBaseColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, colour);
    w->setPalette(p);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QPoint& at,
                  const QFont& font, const QColor& colour = QColor())
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(font);
    if (colour.isValid())
        setTextColour(label, colour);
    label->adjustSize();
    label->move(at);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setFrame(true);
    return edit;
}

// One field of a line panel: its name before the line digits, place, heading
// and looks.
struct FieldLayout {
    const char* prefix;
    QRect geometry;
    const char* heading;
    int headingPixels;
    QColor colour; // invalid: the window's
    bool bold;
};

QString fieldName(const char* prefix, int line)
{
    return QString::fromLatin1(prefix) + QString::number(line).rightJustified(2, u'0');
}

} // namespace

void TfmBorvane::buildControls()
{
    setObjectName(QStringLiteral("fmBorvane"));
    setWindowTitle(QStringLiteral("출금 전표"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(pixelFont(QFont(QStringLiteral("굴림")), 13, false));

    // Created in tab order: the body, the button bar, then the header.
    Panel10 = new QFrame(this);
    Panel10->setObjectName(QStringLiteral("Panel10"));
    Panel10->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel10->setLineWidth(1);
    Panel10->setGeometry(0, kClientHeight - kBodyHeight, kClientWidth, kBodyHeight);
    for (int n = 1; n <= voucher::kLineCount; ++n) {
        lineAt(n).number = n;
        lineAt(n).typed = &m_draft.line(n);
        buildLinePanel(lineAt(n), Panel10);
    }
    buildGrid(Panel10);
    buildButtonBar();
    buildHeader();
    buildTabOrder();
}

void TfmBorvane::buildHeader()
{
    const QFont bold = pixelFont(font(), 13, true);
    makeLabel(this, QStringLiteral("Label1"), QStringLiteral("기준일자"), {16, 6}, bold, widgets::green());
    edDate = makeEdit(this, QStringLiteral("edDate"), {16, 22, 79, 21});
    edDate->setMaxLength(10);

    makeLabel(this, QStringLiteral("Label2"), QStringLiteral("본지점구분"), {120, 6}, bold, widgets::green());
    cbKubun = new widgets::BranchCombo(this);
    cbKubun->setObjectName(QStringLiteral("cbKubun"));
    cbKubun->setGeometry(120, 22, 92, 21);

    makeLabel(this, QStringLiteral("Label3"), QStringLiteral("전표번호"), {242, 6}, bold, widgets::green());
    edSerial = makeEdit(this, QStringLiteral("edSerial"), {242, 22, 143, 21});
    edSerial->setEnabled(false);
    setBaseColour(edSerial, widgets::aqua());
    setTextColour(edSerial, Qt::black); // the number stays readable on aqua
}

void TfmBorvane::buildButtonBar()
{
    Panel7 = new QFrame(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel7->setLineWidth(2);
    Panel7->setGeometry(463, 6, 497, 39);
    Panel7->setFont(pixelFont(font(), 13, true));
    // A disabled button greys its caption with its glyph: a green caption
    // would tell the clerk the button works.
    const QColor greyedCaption = Panel7->palette().color(QPalette::Disabled, QPalette::ButtonText);
    setTextColour(Panel7, widgets::green());
    QPalette bar = Panel7->palette();
    bar.setColor(QPalette::Disabled, QPalette::ButtonText, greyedCaption);
    Panel7->setPalette(bar);
    // The bar takes the focus only from code ("move the focus to the button bar").
    Panel7->setFocusPolicy(Qt::NoFocus);

    struct ButtonLayout {
        widgets::AccelButton** button;
        const char* name;
        QString caption;
        QStyle::StandardPixmap glyph;
        int left;
    };
    const ButtonLayout buttons[] = {
        {&InsertBtn, "InsertBtn", QStringLiteral("&I 등록"), QStyle::SP_FileIcon, 9},
        {&CancelBtn, "CancelBtn", QStringLiteral("&C 취소"), QStyle::SP_DialogCancelButton, 89},
        {&SaveBtn, "SaveBtn", QStringLiteral("&S 저장"), QStyle::SP_DialogSaveButton, 169},
        {&DeleteBtn, "DeleteBtn", QStringLiteral("D 삭제"), QStyle::SP_TrashIcon, 249},
        {&PrintBtn, "PrintBtn", QStringLiteral("P 출력"), QStyle::SP_FileDialogDetailedView, 329},
        {&CloseBtn, "CloseBtn", QStringLiteral("&X 종료"), QStyle::SP_DialogCloseButton, 409},
    };
    for (const ButtonLayout& b : buttons) {
        auto* button = new widgets::AccelButton(b.caption, Panel7);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.left, 7, 80, 25);
        // The glyph's disabled image is the style's greyed form of it.
        button->setIcon(widgets::standardGlyph(b.glyph));
        button->setIconSize(QSize(14, 14));
        *b.button = button;
    }
}

void TfmBorvane::buildLinePanel(LinePanel& line, QWidget* body)
{
    const int n = line.number;
    line.panel = new widgets::ColourPanel(body);
    line.panel->setObjectName(QStringLiteral("Panel%1").arg(n));
    line.panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    line.panel->setLineWidth(1);
    line.panel->setGeometry(2, 2 + (n - 1) * kPanelHeight, kPanelWidth, kPanelHeight);
    line.panel->setColour(widgets::buttonFace());

    const QFont headingFont = pixelFont(font(), 12, true);
    makeLabel(line.panel, fieldName("Label_Serial_Bun_", n), QStringLiteral("순서"), {6, 31}, headingFont);
    line.serialBun = makeEdit(line.panel, fieldName("edSerial_Bun_", n), {41, 28, 21, 20});
    line.serialBun->setEnabled(false);
    line.serialBun->setFont(pixelFont(font(), 13, true));
    setTextColour(line.serialBun, widgets::teal());

    const int kubunWidth = n == 2 ? 220 : 221;
    const FieldLayout fields[] = {
        {"edAc_JenName_", {87, 15, 182, 20}, "계   정   과   목     이   름", 12, widgets::teal(), true},
        {"edKubun_Name_", {271, 15, kubunWidth, 20}, "거   래   처     및    은   행    명", 12, widgets::green(), true},
        {"edSawon_Name_", {497, 15, 66, 20}, "사원이름", 12, widgets::teal(), true},
        {"edBuser_Name_", {567, 15, 149, 20}, "부    서     이    름", 13, widgets::green(), true},
        {"edProject_Name_", {720, 15, 232, 20}, "프        로        젝        트        명", 12, widgets::teal(), true},
        {"edAc_Text_", {87, 51, 450, 20}, "적            요               기                  재             사              항", 12, widgets::purple(), true},
        {"edItem_Name", {542, 51, 167, 20}, "관      리        항      목", 12, widgets::maroon(), true},
        {"edCr_Amt_", {712, 51, 113, 21}, "차   변     금   액", 12, QColor(), false},
        {"edDr_Amt_", {836, 51, 113, 21}, "대   변     금   액", 12, QColor(), false},
    };
    QLineEdit* edits[std::size(fields)] = {};
    for (size_t i = 0; i < std::size(fields); ++i) {
        const FieldLayout& f = fields[i];
        const QString name = fieldName(f.prefix, n);
        auto* heading = new QLabel(QString::fromUtf8(f.heading), line.panel);
        heading->setObjectName(QStringLiteral("Label_") + name);
        heading->setFont(pixelFont(font(), f.headingPixels, true));
        heading->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        heading->setGeometry(f.geometry.x(), f.geometry.y() - 15, f.geometry.width(), 15);
        QLineEdit* edit = makeEdit(line.panel, name, f.geometry);
        if (f.bold)
            edit->setFont(pixelFont(font(), 13, true));
        if (f.colour.isValid())
            setTextColour(edit, f.colour);
        edits[i] = edit;
    }
    line.names = {edits[0], edits[1], edits[2], edits[3], edits[4], edits[6]};
    line.acText = edits[5];
    line.crAmt = edits[7];
    line.drAmt = edits[8];

    line.acText->setValidator(new widgets::Cp949ByteLimit(kTextLimitBytes, line.acText));
    line.name(voucher::LookupKind::Item)->setValidator(new widgets::Cp949ByteLimit(kTextLimitBytes, line.name(voucher::LookupKind::Item)));
    line.drAmt->setReadOnly(true);
    setBaseColour(line.drAmt, widgets::lime());
}

void TfmBorvane::buildGrid(QWidget* body)
{
    DBGrid1 = new widgets::DbGrid(body);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(2, kBodyHeight - 2 - kGridHeight, kPanelWidth, kGridHeight);
    DBGrid1->horizontalHeader()->setFont(font());
    DBGrid1->setColumns({
        {QString(), QString(), 0, QString()},
        {QStringLiteral("Date_day"), QStringLiteral("기준일자"), 75, QString()},
        {QStringLiteral("total"), QStringLiteral("본지점구분"), 75, QString()},
        {QStringLiteral("ac_JenName1"), QStringLiteral("차변계정과목"), 155, QString()},
        {QStringLiteral("Cr_Amt1"), QStringLiteral("차   변   금   액"), 110, QStringLiteral("#,##0")},
        {QStringLiteral("ac_text"),
         QStringLiteral("적        요        기        재        사        항"), 300, QString()},
        {QStringLiteral("ac_JenName2"), QStringLiteral("대변  계정과목"), 90, QString()},
        {QStringLiteral("Dr_Amt2"), QStringLiteral("대   변   금   액"), 110, QStringLiteral("#,##0")},
    });
    DBGrid1->setStatement(&m_book.list());
}

void TfmBorvane::buildTabOrder()
{
    QList<QWidget*> order;
    for (const LinePanel& line : m_lines) {
        order << line.serialBun;
        for (voucher::LookupKind kind : {voucher::LookupKind::Account, voucher::LookupKind::CustomerBank, voucher::LookupKind::Employee,
                                voucher::LookupKind::Department, voucher::LookupKind::Project})
            order << line.name(kind);
        order << line.acText << line.name(voucher::LookupKind::Item) << line.crAmt << line.drAmt;
    }
    order << DBGrid1 << Panel7 << InsertBtn << CancelBtn << SaveBtn << PrintBtn << CloseBtn << DeleteBtn
          << edDate << cbKubun << edSerial;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace entry

// The widgets of a lookup window, placed as designed: the top panel with the
// chosen pair, the button bar and the search controls, and the grid below it.
#include "lookupframe.h"

#include "store/statement.h"
#include "widgets/dbgrid.h"
#include "widgets/glyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPalette>
#include <QStyle>

#include <algorithm>

namespace lookup {

namespace {

constexpr int kPanel1Height = 105;

QFont dialogFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLineEdit* displayEdit(QWidget* parent, const char* name, int x, int y, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(x, y, width, 20);
    edit->setReadOnly(true);
    edit->setEnabled(false);
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

// A grid column's width as the grid draws it: the display width in digits of
// the grid font, but never narrower than its title.
int columnPixels(const QFontMetrics& metrics, const LookupColumn& column)
{
    const int byChars = column.displayChars * metrics.horizontalAdvance(QLatin1Char('0')) + 4;
    const int byTitle = metrics.horizontalAdvance(column.title) + 4;
    return std::max(byChars, byTitle);
}

} // namespace

void LookupFrame::buildWindow()
{
    setWindowTitle(m_definition.caption);
    // Single border, no border icons: no system close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(m_definition.clientSize);
    setFont(dialogFont(13, false));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, m_definition.clientSize.width(), kPanel1Height);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setFont(dialogFont(12, true));
    setColour(Panel1, QPalette::WindowText, Qt::darkGreen);
    setColour(Panel1, QPalette::Text, Qt::darkGreen);

    Label1 = label(Panel1, "Label1", QStringLiteral("선택한 코드"), 8, 7);
    edAc_code2 = displayEdit(Panel1, "edAc_code2", 8, 21, m_definition.codeWidth);
    Label2 = label(Panel1, "Label2", m_definition.label2, 8, 58);
    edAc_Name2 = displayEdit(Panel1, "edAc_Name2", 8, 72, m_definition.nameWidth);

    buildButtonBar();

    Label3 = label(Panel1, "Label3", m_definition.label3, m_definition.label3At.x(), m_definition.label3At.y());
    Label3->setFont(dialogFont(13, true));
    setColour(Label3, QPalette::WindowText, Qt::blue);
    Label3->adjustSize();

    edSearch = new QLineEdit(Panel1);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    edSearch->setGeometry(m_definition.searchAt.x(), m_definition.searchAt.y(), 218, 21);
    edSearch->setFont(dialogFont(13, true));
    setColour(edSearch, QPalette::Text, Qt::darkGreen);

    SearchBtn = new QPushButton(QStringLiteral("&R 검색"), Panel1);
    SearchBtn->setObjectName(QStringLiteral("SearchBtn"));
    SearchBtn->setGeometry(m_definition.searchBtnX, 70, 80, 25);
    SearchBtn->setFont(dialogFont(13, true));
    SearchBtn->setIcon(widgets::standardGlyph(QStyle::SP_FileDialogContentsView));
    setColour(SearchBtn, QPalette::ButtonText, Qt::darkCyan);
    SearchBtn->setAutoDefault(false);

    buildGrid();

    // Tab order: the search controls, the button bar, then the grid.
    setTabOrder(edSearch, SearchBtn);
    setTabOrder(SearchBtn, CloseBtn);
    setTabOrder(CloseBtn, DBGrid1);
    edSearch->setFocus();
}

void LookupFrame::buildButtonBar()
{
    Panel7 = new QFrame(Panel1);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setGeometry(m_definition.panel7X, 10, 497, 39);
    Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel7->setLineWidth(2);

    struct Button {
        const char* name;
        QString caption;
        int x;
        QStyle::StandardPixmap glyph;
    };
    // The entry window's bar; here only the close button is ever enabled.
    const Button buttons[] = {
        {"InsertBtn", QStringLiteral("&I 등록"), 9, QStyle::SP_FileIcon},
        {"CancelBtn", QStringLiteral("&C 취소"), 89, QStyle::SP_DialogCancelButton},
        {"SaveBtn", QStringLiteral("&S 저장"), 169, QStyle::SP_DialogSaveButton},
        {"DeleteBtn", QStringLiteral("D 삭제"), 249, QStyle::SP_TrashIcon},
        {"PrintBtn", QStringLiteral("P 출력"), 329, QStyle::SP_FileDialogDetailedView},
        {"CloseBtn", QStringLiteral("&X 종료"), 409, QStyle::SP_DialogCloseButton},
    };
    for (const Button& b : buttons) {
        auto* button = new QPushButton(b.caption, Panel7);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.x, 7, 80, 25);
        button->setIcon(widgets::standardGlyph(b.glyph));
        button->setAutoDefault(false);
        button->setEnabled(false);
        CloseBtn = button; // the last one is the close button
    }
    CloseBtn->setEnabled(true);
}

void LookupFrame::buildGrid()
{
    DBGrid1 = new widgets::DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(0, kPanel1Height, m_definition.clientSize.width(),
                         m_definition.clientSize.height() - kPanel1Height);

    const QFontMetrics metrics(DBGrid1->font());
    QVector<widgets::GridColumn> columns;
    if (m_definition.leadingEmptyColumn)
        columns.append(widgets::GridColumn{QString(), QString(), 0, QString(), m_definition.titleAlignment});
    for (const LookupColumn& c : m_definition.columns)
        columns.append(widgets::GridColumn{c.field, c.title, columnPixels(metrics, c), QString(), m_definition.titleAlignment,
                                  m_search->showsMasked(c.field) ? voucher::maskResidentNumber : nullptr});
    DBGrid1->setColumns(columns);

    Query1 = m_search->result();
    DBGrid1->setStatement(Query1);
}

} // namespace lookup

#include "customerbanklookup.h"

#include "store/statement.h"
#include "widgets/dbgrid.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

LookupDefinition TForm2::lookupDefinition()
{
    LookupDefinition s;
    s.kind = LookupKind::CustomerBank;
    s.caption = QStringLiteral("거래처및은행명의 코드를 검색하는 차입니다.");
    s.clientSize = QSize(844, 616);
    s.label2 = QStringLiteral("선택한 거래처및은행명");
    s.label3 = QStringLiteral("검색할 거래처 및 은행명등을 등록");
    s.label3At = QPoint(440, 58);
    s.searchAt = QPoint(518, 72);
    s.searchBtnX = 740;
    s.panel7X = 323;
    s.codeWidth = 158;
    s.nameWidth = 298;
    s.columns = {
        {QStringLiteral("Tot_Code"), QStringLiteral("코              드"), 12},
        {QStringLiteral("Tot_Name"), QStringLiteral("거 래 처  명  및  은  행  계 좌 번 호 명"), 47},
        {QStringLiteral("Tot_No"), QStringLiteral("사 업 자 등 록 번호   및   은 행  계 좌 번 호"), 47},
        {QStringLiteral("Tot_Kubun"), QStringLiteral("구  분"), 6},
    };
    s.codeColumn = QStringLiteral("Tot_Code");
    s.nameColumn = QStringLiteral("Tot_Name");
    return s;
}

QString TForm2::kindFilterLine(int itemIndex)
{
    switch (itemIndex) {
    case 0:
        return QStringLiteral("   Where   Tot_Kubun like ('%' + '' + '%' )");
    case 1:
        return QStringLiteral("   Where   Tot_Kubun like ('%' +  '거래처' + '%'  )");
    case 2:
        return QStringLiteral("   Where   Tot_Kubun like ('%' +  '은행명' + '%'  )");
    default:
        return QString();
    }
}

QStringList TForm2::statementLines(int itemIndex)
{
    QStringList lines{
        QStringLiteral("   Select    Tot_Code,  Tot_Name, Tot_No, Tot_Kubun"),
        QStringLiteral("   From   ("),
        QStringLiteral("   \tSelect  Tot_code = Sale_Code,   Tot_Name = Sale_Name,"),
        QStringLiteral("               Tot_No = Sale_Serial01 + '-' + Sale_Serial02 + '-' + Sale_Serial03,"),
        QStringLiteral("               Tot_Kubun = '거래처'"),
        QStringLiteral("   \tFrom    Sale_Table"),
        QStringLiteral("       Where   rtrim(Sale_Name) like ( :tbName )"),
        QStringLiteral("   \tUnion   All"),
        QStringLiteral("   \tSelect  Tot_code = Bank_Code,   Tot_Name = Bank_Name,"),
        QStringLiteral("               Tot_No = Bank_Serial,"),
        QStringLiteral("               Tot_Kubun = '은행명'"),
        QStringLiteral("    \tFrom    Bank_Table"),
        QStringLiteral("       Where   rtrim(Bank_Name) like ( :tbName )"),
        QStringLiteral("             )  T"),
    };
    const QString filter = kindFilterLine(itemIndex);
    if (!filter.isEmpty())
        lines << filter;
    lines << QStringLiteral("    \tOrder  by  Tot_Code");
    return lines;
}

TForm2::TForm2(LookupTarget* target, QWidget* parent) : LookupFrame(lookupDefinition(), target, parent)
{
    setObjectName(QStringLiteral("Form2"));

    cbCheck = new QComboBox(Panel1);
    cbCheck->setObjectName(QStringLiteral("cbCheck"));
    cbCheck->setGeometry(440, 72, 68, 20);
    cbCheck->setEditable(true);
    cbCheck->setInsertPolicy(QComboBox::NoInsert); // Enter must not add items
    cbCheck->setCompleter(nullptr);                // the text is what was typed
    cbCheck->addItems({QStringLiteral("전   체"), QStringLiteral("거래처"), QStringLiteral("은행명")});
    cbCheck->setEditText(QStringLiteral("거래처"));

    // Only the user's changes run the search; selecting from code does not.
    connect(cbCheck, &QComboBox::activated, this, &TForm2::cbCheckChange);
    connect(cbCheck->lineEdit(), &QLineEdit::textEdited, this, &TForm2::cbCheckChange);

    takeKoreanSearch(cbCheck);
    setTabOrder(cbCheck, edSearch);
    cbCheck->setFocus();
    FormCreate();
}

void TForm2::resetFilters()
{
    cbCheck->setCurrentIndex(0);
}

int TForm2::selectedKind() const
{
    return cbCheck->findText(cbCheck->currentText(), Qt::MatchExactly);
}

void TForm2::cbCheckChange()
{
    pQuery();
}

void TForm2::pQuery()
{
    Query1->close();
    Query1->setLines(statementLines(selectedKind()));
    Query1->bindText(definition().parameter, lookupPattern(edSearch->text()));
    Query1->open();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // cbCheckKeyPress: Enter in the kind combo moves on, as in the search field.
    if (event->type() == QEvent::KeyPress && (watched == cbCheck || watched == cbCheck->lineEdit())) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (searchKeyPress(key))
            return true;
    }
    return LookupFrame::eventFilter(watched, event);
}

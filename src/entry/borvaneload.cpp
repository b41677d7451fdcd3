#include "borvane.h"

#include "amountform.h"
#include "core/strutil.h"
#include "namecolumns.h"
#include "panelrows.h"
#include "statements.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QLineEdit>


void TfmBorvane::pPanel_DisplayQuery()
{
    if (warnWhenListEmpty())
        return;
    Panel_DisplayQuery.close();
    Panel_DisplayQuery.setLines(entrysql::voucherDebitRows());
    Panel_DisplayQuery.bindText(QStringLiteral("tbDayBonCrDr"), Str_TrimRight(edDate->text())
                                                                    + formatZeroPadded(branchIndex(), 5)
                                                                    + QStringLiteral("01"));
    Panel_DisplayQuery.bindText(QStringLiteral("tbSerial_jen"), Str_TrimRight(edSerial->text()));
    Panel_DisplayQuery.prepare();
    Panel_DisplayQuery.open();

    const QString chosenLine = Query1.asText(QStringLiteral("Serial_Bun"));
    std::optional<LoadedLine> chosenRead;
    store::SqlStatement& q = Panel_DisplayQuery;
    for (q.first(); !q.eof(); q.next()) {
        const QString serialBun = q.asText(QStringLiteral("Serial_Bun"));
        const int n = strictToInt(serialBun);
        if (n < 1 || n > kLineCount)
            continue;
        if (serialBun == chosenLine)
            chosenRead = LoadedLine{{q.asText(QStringLiteral("Date_Day")), q.asText(QStringLiteral("Kubun_Bon")),
                                     q.asText(QStringLiteral("Serial_Jen")), serialBun},
                                    n,
                                    {}};
        LinePanel& line = lineAt(n);
        line.serialBun->setText(serialBun);
        for (const NameColumns& f : kNameColumns) {
            line.name(f.kind)->setText(q.asText(QString::fromLatin1(f.nameColumn)));
            line.code(f.kind) = q.asText(QString::fromLatin1(f.codeColumn));
        }
        line.acText->setText(q.asText(QStringLiteral("Ac_Text")));
        showLoadedAmount(line.crAmt, line.crAmtPlain, q.asFloat(QStringLiteral("Cr_Amt")));
        showLoadedAmount(line.drAmt, line.drAmtPlain, q.asFloat(QStringLiteral("Dr_Amt")));
    }

    if (chosenRead) {
        chosenRead->shown = readVoucherLine(lineAt(chosenRead->panel));
        m_loadedLine = std::move(chosenRead);
        return;
    }
    // Nothing of the chosen line was read (the base date was edited since the
    // list was made, or the line is gone) and the panels kept what they held.
    // The line loaded before stays the one to correct only if it is the
    // chosen line and its panel still shows it as loaded, not cleared or
    // typed over since.
    const bool loadedLineStillShown = m_loadedLine && m_loadedLine->stored.serialJen == Str_TrimRight(edSerial->text())
                                      && m_loadedLine->stored.serialBun == chosenLine
                                      && readVoucherLine(lineAt(m_loadedLine->panel)) == m_loadedLine->shown;
    if (!loadedLineStillShown)
        m_loadedLine.reset();
}

void TfmBorvane::showLoadedAmount(QLineEdit* field, QString& plain, double stored)
{
    plain = amountPlainForm(stored);
    const double value = Str_ToNumber(Str_TrimLeft(plain));
    field->setText(amountDisplayForm(value));
}

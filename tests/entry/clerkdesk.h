#pragma once

#include "entry/borvane.h"
#include "lookup/lookupforms.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace widgets {
class DbGrid;
}
class QLineEdit;
class QPushButton;

namespace store {
class Connection;
}

namespace clerkdesk {

// The entry window with its six lookup dialogs, wired and shown as the
// program does it; the data source must be set first.
class Desk {
public:
    Desk();
    ~Desk();

    entry::TfmBorvane w;
    lookup::TForm1 form1{&w};
    lookup::TForm2 form2{&w};
    lookup::TForm3 form3{&w};
    lookup::TForm4 form4{&w};
    lookup::TForm5 form5{&w};
    lookup::TForm6 form6{&w};

    lookup::LookupFrame* dialog(voucher::LookupKind kind);
    QLineEdit* edit(const QString& name);
    QPushButton* button(const QString& name);
    widgets::DbGrid* grid();

    // Brings the entry window back to the front after a lookup dialog took it.
    bool activate();
};

// What a clerk types into one line; an empty text is left alone. A name
// is typed as `search` and chosen in its lookup by the row with `code`.
struct NameInput {
    QString search;
    QString code;
};

struct LineInput {
    NameInput account, customer, employee, department, project, item;
    QString text;   // the description
    QString amount; // typed into the debit amount, as keys
};

// Types the base date, leaves it for the branch selector and clicks the
// branch at `branch` in its dropped-down list, then tabs on to line 1.
void chooseDateAndBranch(Desk& desk, const QString& date, int branch);

// Clicks the grid row of voucher number + line number, which loads it for correction.
void chooseRow(Desk& desk, const QString& serialJen, const char* line);

// Types one line field by field: each name is typed, left with Tab so that
// its lookup opens, and chosen by a click in the lookup's grid. The amount
// is typed last and the focus stays in it.
void typeLine(Desk& desk, int line, const LineInput& input);

// Types a name into a line's field, leaves it with Tab and, when `code` is
// not empty, clicks that row in the lookup that opened.
void typeName(Desk& desk, int line, voucher::LookupKind kind, const NameInput& input);

// Clicks into a field and replaces its text by typing.
void retype(Desk& desk, QLineEdit* field, const QString& text);

// Clicks a button of the window with the mouse.
void press(Desk& desk, const QString& button);

// Everything a refused save must leave as it was: the mode, the voucher
// number, the keys, every text and line code, the panels' looks and the
// buttons' states, as texts.
QStringList windowState(Desk& desk);

qint64 nativeCount(store::Connection& c, const QString& where);

// The rows of one voucher, columns as named, in the order they were written
// (the insertion order on SQLite, line and side elsewhere).
QVector<QStringList> voucherRows(store::Connection& c, const QString& serialJen, const QString& columns);

// Faults the store raises on purpose, each with the text below.
extern const QString kFaultText;
// Inserts of line `serialBun` fail.
void failInsertsOfLine(store::Connection& c, const QString& serialBun);
// Updates of credit rows fail.
void failCreditUpdates(store::Connection& c);
// Committing a transaction that inserted voucher rows fails.
void failCommits(store::Connection& c);
void removeFaults(store::Connection& c);

} // namespace clerkdesk

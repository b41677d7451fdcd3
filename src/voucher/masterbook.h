#pragma once

#include "voucher/namekinds.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

namespace store {
class SqlStatement;
}

namespace voucher {

// What a lookup is asked for: the entry line it serves and the text searched
// for, with the customer and bank lookup's kind filter.
struct LookupRequest {
    int line = 0; // 1..5; 0 before the first request
    QString searchText;
    int partyKind = 0; // 0 every row, 1 customers, 2 banks; any other adds no filter
};

// How one lookup reads the master data: its statement, the parameter the
// search pattern binds, the columns the chosen code and name come from, and
// the columns holding a resident registration number, shown masked.
struct MasterLookup {
    LookupKind kind = LookupKind::Employee;
    QString codeColumn;
    QString nameColumn;
    QString parameter = QStringLiteral("tbName");
    QStringList statement; // empty when built per search (customers and banks)
    QStringList residentNumberColumns;
};

// The chosen row of a lookup: empty texts when there is none.
struct MasterChoice {
    QString code;
    QString name;
};

// The master data the six lookups read, below the dialogs that show it.

const MasterLookup& lookup(LookupKind kind);
// Every lookup's reading, one per kind.
QVector<MasterLookup> allLookups();

// The account lookup's statement, one text line per item; `:tbac_name`
// occurs in every group.
QStringList accountStatement();
// The customer and bank lookup's kind filter line of an item: 0 every row,
// 1 customers, 2 banks; any other index adds no line.
QString partyKindFilterLine(int itemIndex);
// The customer and bank statement for a kind filter item.
QStringList partyStatement(int itemIndex);

// "%" + the search text without any blank + "%": a name is found when it
// holds the typed text, blanks left out, as one contiguous run.
QString searchPattern(const QString& searchText);

// A resident registration number as a screen shows it: the birth date and
// the digit after the hyphen kept ("800101-1******").
QString maskResidentNumber(const QString& number);
// The second part of a resident registration number with its first digit
// kept ("1******"), as an export writes it.
QString maskResidentNumberTail(const QString& tail);


// One lookup's reading on the lookups' own connection: the result a grid
// shows, searched anew for each request.
class MasterSearch : public QObject {
public:
    MasterSearch(LookupKind kind, QObject* parent);

    const MasterLookup& lookup() const { return m_lookup; }
    store::SqlStatement* result() const { return m_result; }

    void search(const LookupRequest& request);
    MasterChoice current() const;
    // Whether a result column is shown masked (a resident registration number).
    bool showsMasked(const QString& column) const;

private:
    const MasterLookup& m_lookup;
    store::SqlStatement* m_result;
};

} // namespace voucher

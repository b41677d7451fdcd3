#pragma once

#include "store/connection.h"

namespace schema {

// Creates account_jen_AA and the master tables (kubun_table, test_ac_code,
// Sale_Table, Bank_Table, Sawon_Table, Buser_Table, Project_Table,
// Item_Table, Jen_Print) with the indexes the program's statements look up
// by, in the connection's engine. Tables that exist are left alone.
// Returns a notice for the administrator when the name search indexes below
// could not be made (empty otherwise); the tables are there all the same.
QString createSchema(store::Connection& connection);

// On PostgreSQL: the pg_trgm extension (in `public`) and the trigram indexes
// that answer the lookups' `like '%…%'` over names. Where the extension may
// not be created, nothing fails: the searches work, only by reading the
// table. Returns a Korean notice saying so, or empty when made (and on
// other engines).
QString createNameSearchIndexes(store::Connection& connection);

// Whether an embedded file lacks an index this program looks up by, or the
// trail's tables and triggers (a file made by an earlier version);
// createSchema() then adds them. Server data
// sources are left to their administrators: always false there.
bool indexesMissing(store::Connection& connection);
// The width of a text column of account_jen_AA in bytes of the Korean code
// page (Ac_Text: 200), the most a stored text may hold on every engine; 0 for
// a column that is not text.
int voucherTextWidth(const QString& column);

// A column's name as this schema declares it ("Serial_Jen"; a server folds
// unquoted names to lower case), found case-blind; the name itself for a
// column the schema does not declare.
QString declaredColumnName(const QString& table, const QString& column);

// Whether account_jen_AA exists.
bool schemaExists(store::Connection& connection);

// Whether account_jen_AA holds no Date_Day longer than 10 characters and no
// Kubun_Bon longer than 5: by a check of the table on SQLite (created with
// the schema above), by the column types on PostgreSQL. Remembered per connection.
bool keyWidthsEnforced(store::Connection& connection);

// Loads the demo master data (branches, chart of accounts, customers, banks,
// employees, departments, projects, items, the filler rows "01".."07").
// Meant for empty master tables.
void loadDemoData(store::Connection& connection);

// Adds the rows the program cannot work without, whatever a company's own
// master data: the printed voucher's filler rows (Jen_Print "01".."07") and
// the cash account every withdrawal credits (10101001000 "현금"). Rows
// already there (by key) are kept; all or nothing. The demo data holds them too.
void addProgramRows(store::Connection& connection);

} // namespace schema

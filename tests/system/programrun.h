#pragma once

#include <QString>
#include <QTemporaryDir>

// The built program started on a SQLite file of its own, as a clerk would
// start it: it finds <data>/voucher/Account.db through XDG_DATA_HOME, sees no
// ODBC data source, keeps its single-instance lock in a temp folder of its
// own, and (VOUCHER_STARTUP_PROBE) ends at the first paint of its window.
class ProgramData {
public:
    ProgramData(); // a new file with the tables and the demo master data
    QString databasePath() const;
    // Whether the program came up and showed its window; `output` gets what it printed.
    bool programStarts(QString* output);

private:
    QTemporaryDir m_dir;
};

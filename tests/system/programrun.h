#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// The built program started on a SQLite file of its own, as a clerk would
// start it: it finds <data>/voucher/Account.db through XDG_DATA_HOME, sees no
// ODBC data source, keeps its single-instance lock in a temp folder of its
// own, and (VOUCHER_STARTUP_PROBE) ends at the first paint of its window.
class ProgramData {
public:
    enum class Start { WithFile, NoFile };
    // WithFile: a new file with the tables and the demo master data.
    explicit ProgramData(Start start = Start::WithFile);
    QString databasePath() const;
    // Whether the program came up and showed its window; `output` gets what
    // it printed; `inChild` runs in the child process before the program.
    bool programStarts(QString* output, const std::function<void()>& inChild = {});

    // The program then finds the ODBC data sources registered for this
    // process (a test's own server) instead of none.
    void useRegisteredDataSources() { m_registeredDataSources = true; }

    // Root may read and write any file whatever its mode: when the tests run
    // as root, the data is handed to the user nobody, and the program and
    // commandFor() run as that user, for whom the modes hold.
    void handToAnotherUser();
    // Program and arguments that run `program` as the user of the data.
    QStringList commandFor(const QString& program, const QStringList& args) const;

private:
    QTemporaryDir m_dir;
    bool m_otherUser = false;
    bool m_registeredDataSources = false;
};

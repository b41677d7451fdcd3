#include "programrun.h"

#include "store/connection.h"
#include "store/schema.h"

#include <QDir>
#include <QProcess>

ProgramData::ProgramData()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("voucher"));
    QDir(m_dir.path()).mkpath(QStringLiteral("odbc"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    auto c = store::Connection::openSqlite(databasePath());
    store::createSchema(*c);
    store::loadDemoData(*c);
}

QString ProgramData::databasePath() const
{
    return m_dir.filePath(QStringLiteral("voucher/Account.db"));
}

bool ProgramData::programStarts(QString* output)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VOUCHER_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path());
    env.insert(QStringLiteral("ODBCSYSINI"), m_dir.filePath(QStringLiteral("odbc")));
    env.insert(QStringLiteral("ODBCINI"), m_dir.filePath(QStringLiteral("odbc/odbc.ini")));
    env.insert(QStringLiteral("TMPDIR"), m_dir.filePath(QStringLiteral("tmp")));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VOUCHER_PROGRAM), {});
    const bool finished = p.waitForFinished(60000);
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
           && output->contains(QLatin1String("shown VmHWM="));
}

#include "programrun.h"

#include "schema/schema.h"
#include "store/connection.h"

#include <QDir>
#include <QProcess>

#include <unistd.h>

ProgramData::ProgramData(Start start)
{
    QDir(m_dir.path()).mkpath(QStringLiteral("odbc"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    if (start == Start::NoFile)
        return;
    QDir(m_dir.path()).mkpath(QStringLiteral("voucher"));
    auto c = store::Connection::openSqlite(databasePath());
    schema::createSchema(*c);
    schema::loadDemoData(*c);
}

QString ProgramData::databasePath() const
{
    return m_dir.filePath(QStringLiteral("voucher/Account.db"));
}

void ProgramData::handToAnotherUser()
{
    if (::geteuid() != 0)
        return;
    QProcess::execute(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("nobody:"), m_dir.path()});
    m_otherUser = true;
}

QStringList ProgramData::commandFor(const QString& program, const QStringList& args) const
{
    if (!m_otherUser)
        return QStringList{program} + args;
    return QStringList{QStringLiteral("runuser"), QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                       program}
           + args;
}

bool ProgramData::programStarts(QString* output, const std::function<void()>& inChild)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VOUCHER_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path());
    if (!m_registeredDataSources) {
        env.insert(QStringLiteral("ODBCSYSINI"), m_dir.filePath(QStringLiteral("odbc")));
        env.insert(QStringLiteral("ODBCINI"), m_dir.filePath(QStringLiteral("odbc/odbc.ini")));
    }
    env.insert(QStringLiteral("TMPDIR"), m_dir.filePath(QStringLiteral("tmp")));
    if (m_otherUser)
        env.remove(QStringLiteral("XDG_RUNTIME_DIR")); // root's
    QProcess p;
    p.setProcessEnvironment(env);
    if (inChild)
        p.setChildProcessModifier(inChild);
    const QStringList command = commandFor(QStringLiteral(VOUCHER_PROGRAM), {});
    p.start(command.first(), command.mid(1));
    const bool finished = p.waitForFinished(60000);
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0
           && output->contains(QLatin1String("shown VmHWM="));
}

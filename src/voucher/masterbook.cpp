#include "voucher/masterbook.h"

#include "core/strutil.h"
#include "store/statement.h"

namespace voucher {


const MasterLookup& lookup(LookupKind kind)
{
    static const QVector<MasterLookup> all = allLookups();
    for (const MasterLookup& m : all)
        if (m.kind == kind)
            return m;
    return all.front();
}

QString searchPattern(const QString& searchText)
{
    return QLatin1Char('%') + core::Str_RemoveBlanks(searchText) + QLatin1Char('%');
}

QString maskResidentNumber(const QString& number)
{
    // Birth date and the digit after the hyphen tell namesakes apart; the
    // rest identifies a person and stays off the screen.
    const qsizetype hyphen = number.indexOf(QLatin1Char('-'));
    const qsizetype kept = hyphen >= 0 ? hyphen + 2 : 7;
    QString masked = number;
    for (qsizetype i = kept; i < masked.size(); ++i)
        if (!masked[i].isSpace())
            masked[i] = QLatin1Char('*');
    return masked;
}

QString maskResidentNumberTail(const QString& tail)
{
    return tail.isEmpty() ? tail : tail.left(1) + QString(tail.size() - 1, QLatin1Char('*'));
}


MasterSearch::MasterSearch(LookupKind kind, QObject* parent)
    : QObject(parent), m_lookup(voucher::lookup(kind)),
      m_result(new store::SqlStatement(store::Connection::lookups(), this))
{
    m_result->setObjectName(QStringLiteral("Query1"));
    m_result->setLines(m_lookup.statement);
}

void MasterSearch::search(const LookupRequest& request)
{
    m_result->close();
    if (m_lookup.statement.isEmpty())
        m_result->setLines(partyStatement(request.partyKind));
    m_result->bindText(m_lookup.parameter, searchPattern(request.searchText));
    m_result->open();
}

MasterChoice MasterSearch::current() const
{
    // An empty result gives empty texts: the target loses its name and code.
    if (!m_result->isOpen() || m_result->eof())
        return {};
    return {m_result->asText(m_lookup.codeColumn), m_result->asText(m_lookup.nameColumn)};
}

bool MasterSearch::showsMasked(const QString& column) const
{
    return m_lookup.residentNumberColumns.contains(column, Qt::CaseInsensitive);
}

} // namespace voucher

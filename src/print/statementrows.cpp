#include "statementrows.h"

#include "store/statement.h"

namespace print {

QString StatementRows::name() const
{
    return m_statement.objectName();
}

bool StatementRows::isOpen() const
{
    return m_statement.isOpen();
}

void StatementRows::first()
{
    m_statement.first();
}

void StatementRows::next()
{
    m_statement.next();
}

bool StatementRows::eof()
{
    return m_statement.eof();
}

QString StatementRows::text(const QString& column)
{
    return m_statement.asText(column);
}

double StatementRows::number(const QString& column)
{
    return m_statement.asFloat(column);
}

} // namespace print

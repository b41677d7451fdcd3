#pragma once

#include "report/rowsource.h"

namespace store {
class SqlStatement;
}

namespace print {

// A statement's open result as the report reads it: the statement's name,
// its cursor, and its columns read as text or number.
class StatementRows : public report::RowSource {
public:
    explicit StatementRows(store::SqlStatement& statement) : m_statement(statement) {}

    QString name() const override;
    bool isOpen() const override;
    void first() override;
    void next() override;
    bool eof() override;
    QString text(const QString& column) override;
    double number(const QString& column) override;

private:
    store::SqlStatement& m_statement;
};

} // namespace print

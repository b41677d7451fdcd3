#pragma once

namespace core {

// The engine behind a connection; decides how Transact-SQL text is rewritten.
enum class Engine { SQLite, PostgreSQL, SqlServer };

} // namespace core

#pragma once

namespace store {

// The engine behind a connection; decides how Transact-SQL text is rewritten.
enum class Engine { SQLite, PostgreSQL, SqlServer };

} // namespace store

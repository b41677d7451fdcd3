#pragma once

#include <QString>

namespace sql {

// PostgreSQL reads a UNION ALL in a derived table as one list of its tables
// (and can then merge the tables' index orders for the query's ORDER BY)
// only where every leaf has no WHERE of its own and gives each column the
// union's type. Text already translated for PostgreSQL, with
//   FROM ( SELECT … FROM A WHERE ca  UNION ALL  SELECT … FROM B WHERE cb ) T
//   [WHERE w] ORDER BY …
// (one table per leaf, no GROUP BY around it, named columns selected), is
// written
//   FROM ( SELECT …, (ca) AS union_leaf_kept FROM A  UNION ALL
//          SELECT …, (cb) FROM B ) T  WHERE (w) AND T.union_leaf_kept  ORDER BY …
// which keeps the same rows, and a plain column that stands beside a joined
// text in another leaf is cast to text, the type the union gives it anyway.
// Any other text is returned unchanged.
QString liftUnionLeafConditions(const QString& postgresSql);

} // namespace sql

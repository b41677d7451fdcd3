#pragma once

#include "writesession.h"

#include "store/connection.h"

#include <QStringList>

namespace admin {

// The trail's part of a copy. voucher_history moves with the books record
// for record, history_id and all, so that its chain verifies on the target
// as it did on the source; closed_books moves like any other table. A
// target's trail is never lost: a target holding records is refused unless
// every one of them is in the source's trail (same history_id, same hash);
// then the source's trail replaces it in the copy's one transaction, the
// append-only triggers lifted and put back inside that transaction.
class TrailCopy {
public:
    // Refuses a source without the trail's tables (a file of an earlier
    // version) before anything is written. The target's statements run in
    // the copy's write session, where its rows go.
    TrailCopy(store::Connection& from, store::Connection& to, bool replace);

    // The trail's tables, copied after the voucher table. Their texts are
    // copied exactly as stored, never trimmed: the hashes cover them so.
    static const QStringList& tables();

    // In the target's transaction, before any table is emptied: the
    // refusals, the triggers lifted where the target holds records, and
    // history_id made to take the source's numbers.
    void begin(WriteSession& target);
    // After the rows are written: the triggers back, and new records
    // numbered after the last one copied.
    void end(WriteSession& target);

private:
    void refuseUnlessContained(WriteSession& target);

    store::Connection& m_from;
    core::Engine m_engine; // the target's
    bool m_replace;
};

} // namespace admin

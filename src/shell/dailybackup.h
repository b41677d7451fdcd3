#pragma once

class QWidget;

namespace shell {

// The program's own daily backup of its embedded file (store/dailybackups.h):
// once the window has first painted, the clerk is told when the last sound
// copy in a place is older than two days or the last attempt failed, and a
// worker thread with a connection of its own makes the day's copy. When the
// program closes, another copy is made if the day's work changed the books.
// Nothing is made on a server data source: that is its administrator's.
void keepDailyBackup(QWidget* window);

// After the window has closed: waits for the day's first copy and makes the
// copy of the day's work. The program lets go of its single-instance guard
// first, so the clerk never waits for a large ledger's copy: a new start runs
// as the first copy while this one ends without a window.
void finishDailyBackup();

} // namespace shell

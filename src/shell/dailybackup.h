#pragma once

class QWidget;

// The program's own daily backup of its embedded file (store/dailybackups.h):
// once the window has first painted, the clerk is told when the last sound
// copy in a place is older than two days or the last attempt failed, and a
// worker thread with a connection of its own makes the day's copy. When the
// program closes, another copy is made if the day's work changed the books.
// Nothing is made on a server data source: that is its administrator's.
// The close is never held up for more than a few seconds: a copy still under
// way then is given up, leaving nothing half-written.
void keepDailyBackup(QWidget* window);

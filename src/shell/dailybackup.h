#pragma once

class QWidget;

// The program's own daily backup of its embedded file: once the window has
// first painted, a worker thread with a connection of its own copies the
// file through SQLite's online backup into the backup folder beside it
// (store/onlinebackup.h), one file per day, and keeps the last seven days.
// Nothing is made on a server data source: that is its administrator's.
// A backup still under way two seconds after the program closes is given
// up and made at the next start.
void keepDailyBackup(QWidget* window);

#pragma once
// How an Orva SQLite file keeps its commits: a write-ahead log (the default)
// or the rollback journal.
//
// With the write-ahead log a commit appends to the -wal file and is not
// synced to disk at once (synchronous NORMAL): a power cut can lose the last
// commits, but only as a suffix and in order, never a part of one. The
// rollback journal (synchronous FULL) syncs every commit; it is the choice
// for a file that other programs open on a network share, where the shared
// memory the log needs is not available to them.

#include <QString>

class Connection;
class Log;

enum class SqliteJournal { WriteAheadLog, Rollback };

// "rollback" (or "delete") gives Rollback; anything else the write-ahead log.
SqliteJournal sqliteJournalNamed(const QString &name);

// Puts the open SQLite connection into the journal mode. A file that cannot
// be switched (read only, a folder that refuses the log's files, a share)
// keeps the mode it has; the log says so and the connection stays usable.
// Returns the journal mode in effect, as SQLite names it ("wal", "delete").
QString useSqliteJournal(Connection &connection, SqliteJournal journal, Log &log);

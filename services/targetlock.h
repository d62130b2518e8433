#pragma once
// One run per Orva database. Besides the lock of its program folder, a run
// holds a lock on the Orva target it writes to, whichever program folder it
// runs from: for an SQLite file a lock file beside it, named after the
// file's canonical path; on PostgreSQL a session advisory lock; on the
// production server (through ODBC) a session application lock. The lock
// lives until release() or the object's end; a server releases it by itself
// when the connection ends.

#include <QString>

#include <memory>

class Connection;
class QLockFile;

class TargetLock
{
public:
    enum class Outcome { Taken, Held, Failed };

    TargetLock();
    ~TargetLock();
    TargetLock(const TargetLock &) = delete;
    TargetLock &operator=(const TargetLock &) = delete;

    // Takes the lock of the target orva is open on; sqliteFile is the file
    // of an SQLite target. Held: another run has it, holder() says who and
    // since when where the target tells. Failed: the lock could not be
    // asked for, error() says why.
    Outcome take(Connection &orva, const QString &sqliteFile);
    void release();

    QString holder() const { return m_holder; }
    QString error() const { return m_error; }
    // What was locked, for the log ("archivo ...", "PostgreSQL ...").
    QString describe() const { return m_what; }

    // The lock file of an SQLite file: beside it, so every run that reaches
    // the file by any path, link or program folder meets the same lock.
    static QString lockFileFor(const QString &sqliteFile);

private:
    Outcome takeFile(const QString &sqliteFile);
    Outcome takeAdvisory(Connection &orva);
    Outcome takeAppLock(Connection &orva);

    std::unique_ptr<QLockFile> m_file;
    Connection *m_server = nullptr;
    QString m_releaseStatement;
    QString m_holder, m_error, m_what;
};

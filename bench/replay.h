#pragma once
// The replay: every write and transaction statement a run made, recorded as
// Orva accepted it and run again, in the same order and transactions, into a
// fresh copy of the same database as fast as the engine takes them. Its time
// is the floor that the transfer's own time is compared with.

#include <QFile>
#include <QSqlDatabase>
#include <QString>

class WriteRecorder
{
public:
    explicit WriteRecorder(const QString &path);
    bool isOpen() const { return m_file.isOpen(); }
    void append(const QString &statement);
    qint64 count() const { return m_count; }

private:
    QFile m_file;
    qint64 m_count = 0;
};

struct ReplayMeasure
{
    bool ok = false;
    QString error;
    qint64 statements = 0;
    double seconds = 0;
};

// Runs the statements recorded at path on db, one by one; stops at the first
// the engine refuses.
ReplayMeasure replayWrites(const QString &path, QSqlDatabase db);

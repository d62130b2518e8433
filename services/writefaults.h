#pragma once
// Test hooks that put a fault at a chosen write to Orva, so that every
// statement boundary of a run can be proven safe from outside the process:
//
//   TRASPASOR_CRASH_AT_WRITE=k   the process kills itself (SIGKILL, no
//                                clean-up) immediately before its k-th write;
//   TRASPASOR_FAIL_AT_WRITE=k    the k-th write fails once, as the database
//                                would refuse it (the operator's choice applies);
//   TRASPASOR_FAIL_AT_WRITE=k+   it fails at every attempt (a lasting fault).
//
// Writes are INSERT, UPDATE and DELETE statements and the transaction verbs
// sent to Orva, counted over the whole process; reads do not count. Unset
// (or empty) variables leave the hooks inert.

#include <QString>

class WriteFaults
{
public:
    // Takes the hooks from the environment. False, with *error naming the
    // variable, when a value is not a positive whole number (k+ allowed for
    // the failure); the hooks then stay inert.
    bool readEnvironment(QString *error);
    // The same from given values (empty: hook unset).
    bool configure(const QString &crashAt, const QString &failAt, QString *error);

    bool active() const { return m_crashAt > 0 || m_failAt > 0; }

    // Called before each write with its statement: kills the process at the
    // crash point; true when this write must fail. A write tried again right
    // after its injected failure is the same write, not the next one.
    bool beforeWrite(const QString &statement);

    // Writes seen so far.
    qint64 writes() const { return m_writes; }

    // Whether statement writes (INSERT, UPDATE, DELETE); the transaction
    // verbs are recognised by the connection.
    static bool isWriteStatement(const QString &statement);

private:
    qint64 m_crashAt = 0;
    qint64 m_failAt = 0;
    bool m_failLasting = false;
    qint64 m_writes = 0;
    bool m_failPending = false;
    QString m_failedStatement;
};

#pragma once
// The step-facing reads and writes of one Orva row by its key: a read that
// tells a failed read from no row, and the one insert-or-update by key that
// every transfer of a keyed row goes through.

#include "services/recordset.h"

#include <QString>
#include <functional>

class SvcSession;

// What a read of one row found: the read failed (the operator went past its
// error, so nothing is known about the row), there is no row, or there is
// one (row() is positioned on it).
class RowRead
{
public:
    enum class State { Failed, NoRow, Row };

    // Runs sql on Orva through the error handling; a give-up propagates.
    static RowRead of(SvcSession &session, const QString &sql);

    State state() const { return m_state; }
    bool failed() const { return m_state == State::Failed; }
    bool found() const { return m_state == State::Row; }
    // The recordset on the first row (not open when the read failed).
    Recordset &row() { return m_row; }
    const Recordset &row() const { return m_row; }
    // Ends the read, so that the next statement does not wait on it.
    void close() { m_row.close(); }

private:
    State m_state = State::Failed;
    Recordset m_row;
};

// What the comparison of a keyed row decided.
enum class RowChange {
    Unchanged, // the stored row already holds the values: nothing is written
    Changed,   // written: inserted when there is no row, updated otherwise
    Undecided, // a value could not be read (the operator went past it): nothing is written
};

// How an insert-or-update by key ended.
enum class KeyedWrite {
    NotRead,   // the read of the row failed: nothing written rather than a second row
    Undecided, // the comparison could not decide: nothing written
    Unchanged, // the row was there with the same values
    Inserted,  // the insert took
    Updated,   // the update took
    Refused,   // the insert or update was sent and did not take
};

// Insert or update by key: reads the row with lookup; compare gets the stored
// row (nullptr when there is none) and decides; the row is closed before
// write(insert) sends the insert (true) or the update (false) and says whether
// it took. A give-up anywhere propagates.
KeyedWrite insertOrUpdateByKey(SvcSession &session, const QString &lookup,
                               const std::function<RowChange(const Recordset *stored)> &compare,
                               const std::function<bool(bool insert)> &write);

// Whether a keyed write sent a statement (it counts, taken or not).
inline bool sentStatement(KeyedWrite w)
{
    return w == KeyedWrite::Inserted || w == KeyedWrite::Updated || w == KeyedWrite::Refused;
}

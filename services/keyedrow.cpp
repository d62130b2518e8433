#include "services/keyedrow.h"
#include "services/svcsession.h"

RowRead RowRead::of(SvcSession &session, const QString &sql)
{
    RowRead read;
    read.m_row = session.OpenRecordset(sql);
    if (read.m_row.isOpen())
        read.m_state = read.m_row.hasRows() ? State::Row : State::NoRow;
    return read;
}

KeyedWrite insertOrUpdateByKey(SvcSession &session, const QString &lookup,
                               const std::function<RowChange(const Recordset *stored)> &compare,
                               const std::function<bool(bool insert)> &write)
{
    RowRead stored = RowRead::of(session, lookup);
    if (stored.failed())
        return KeyedWrite::NotRead;
    const bool missing = !stored.found();
    const RowChange change = compare(missing ? nullptr : &stored.row());
    stored.close();
    if (change == RowChange::Undecided)
        return KeyedWrite::Undecided;
    if (!missing && change == RowChange::Unchanged)
        return KeyedWrite::Unchanged;
    if (!write(missing))
        return KeyedWrite::Refused;
    return missing ? KeyedWrite::Inserted : KeyedWrite::Updated;
}

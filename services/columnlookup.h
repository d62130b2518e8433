#pragma once
// The columns of a result found by name without regard to case. A prepared
// statement keeps its lookup from run to run (its columns stay the same), so
// the names are read and hashed once per shape instead of once per run, and
// a name asked in another case than the engine's is lowered once: the
// spelling asked is kept with the column it found.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ColumnLookup
{
public:
    // names: the result's column names in order; utf8Names: the same names
    // as the engine gives them in UTF-8 (for sameColumns), or empty.
    explicit ColumnLookup(const QStringList &names, QList<QByteArray> utf8Names = {});

    // The index of a column by its name in any case; -1 when it has none.
    int indexOf(const QString &name);
    const QStringList &names() const { return m_names; }
    // Whether the engine's columns, in UTF-8, are still the ones looked up
    // here (a change of Orva's schema makes the engine prepare a statement again).
    template <typename NameAt> bool sameColumns(int count, NameAt nameAt) const
    {
        if (count != m_utf8Names.size())
            return false;
        for (int i = 0; i < count; ++i) {
            const char *name = nameAt(i);
            if (!name || m_utf8Names.at(i) != name)
                return false;
        }
        return true;
    }

private:
    QStringList m_names;
    QList<QByteArray> m_utf8Names;
    QHash<QString, int> m_byName; // the engine's names, then every spelling asked
    QHash<QString, int> m_byLowerName;
};

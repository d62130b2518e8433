#include "services/columnlookup.h"

ColumnLookup::ColumnLookup(const QStringList &names, QList<QByteArray> utf8Names)
    : m_names(names), m_utf8Names(std::move(utf8Names))
{
    m_byName.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        m_byName.insert(names.at(i), i); // a repeated name keeps its last column
}

int ColumnLookup::indexOf(const QString &name)
{
    const auto exact = m_byName.constFind(name);
    if (exact != m_byName.constEnd())
        return exact.value();
    if (m_byLowerName.isEmpty())
        for (auto it = m_byName.constBegin(); it != m_byName.constEnd(); ++it)
            m_byLowerName.insert(it.key().toLower(), it.value());
    const int index = m_byLowerName.value(name.toLower(), -1);
    // The spellings a program asks for are few; a name from elsewhere that
    // names no column is not kept.
    if (index >= 0 && m_byName.size() < 4 * m_names.size() + 64)
        m_byName.insert(name, index);
    return index;
}

#include "services/runcache.h"

RunCache::Hold::~Hold()
{
    if (--m_cache.m_holds == 0)
        m_cache.m_tables.clear();
}

const QVariant *RunCache::find(const QString &table, const QString &key) const
{
    if (m_tables.isEmpty())
        return nullptr;
    const auto t = m_tables.constFind(table.toLower());
    if (t == m_tables.constEnd())
        return nullptr;
    const auto v = t->constFind(key);
    return v == t->constEnd() ? nullptr : &v.value();
}

void RunCache::store(const QString &table, const QString &key, const QVariant &value)
{
    if (!holding())
        return;
    // A run's memory does not grow with the size of the catalogue: past the
    // bound, a value is read from Orva each time it is needed, as without
    // the cache (the articles of a large station are each looked up once or
    // twice anyway).
    QHash<QString, QVariant> &held = m_tables[table.toLower()];
    if (held.size() < maxPerTable || held.contains(key))
        held.insert(key, value);
}

void RunCache::drop(const QString &table)
{
    m_tables.remove(table.toLower());
}

void RunCache::written(const QString &statement)
{
    if (!m_tables.isEmpty())
        drop(writtenTable(statement));
}

namespace {

// The word starting at *at (after blanks), moving *at past it; a bracketed or
// double-quoted name loses its quotes.
QString nextWord(const QString &s, qsizetype *at)
{
    qsizetype i = *at;
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    qsizetype start = i;
    QString word;
    if (i < s.size() && (s.at(i) == QLatin1Char('[') || s.at(i) == QLatin1Char('"'))) {
        const QChar close = s.at(i) == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('"');
        const qsizetype end = s.indexOf(close, i + 1);
        word = s.mid(i + 1, end < 0 ? -1 : end - i - 1);
        i = end < 0 ? s.size() : end + 1;
    } else {
        while (i < s.size() && !s.at(i).isSpace() && s.at(i) != QLatin1Char('('))
            ++i;
        word = s.mid(start, i - start);
    }
    *at = i;
    return word;
}

} // namespace

QString RunCache::writtenTable(const QString &statement)
{
    qsizetype at = 0;
    const QString verb = nextWord(statement, &at);
    if (verb.compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) == 0)
        return nextWord(statement, &at);
    if (verb.compare(QLatin1String("INSERT"), Qt::CaseInsensitive) == 0
        || verb.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0) {
        const QString next = nextWord(statement, &at);
        if (next.compare(QLatin1String("INTO"), Qt::CaseInsensitive) == 0
            || next.compare(QLatin1String("FROM"), Qt::CaseInsensitive) == 0)
            return nextWord(statement, &at);
        return next;
    }
    return QString();
}

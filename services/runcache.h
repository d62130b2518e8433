#pragma once
// Values read once per run: settings and definitions that only change when
// the tool itself writes them (configuration keys, the IVA accounts, voucher
// type definitions, articles' cost and description). They are held only
// while a run goes on, so each run sees what other programs changed in
// between; a statement of the tool that writes a table drops what was held
// from that table.

#include <QHash>
#include <QString>
#include <QVariant>

class RunCache
{
public:
    // Values are kept while a hold lives; they are forgotten when the last ends.
    class Hold
    {
    public:
        explicit Hold(RunCache &cache) : m_cache(cache) { ++m_cache.m_holds; }
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        RunCache &m_cache;
    };

    bool holding() const { return m_holds > 0; }

    // The value held for key of table; nullptr when none is held.
    const QVariant *find(const QString &table, const QString &key) const;
    // Keeps value while a run holds values; does nothing otherwise.
    void store(const QString &table, const QString &key, const QVariant &value);

    // Forgets what was held from table (names without regard to case).
    void drop(const QString &table);
    // Called with every write statement the engine accepted: drops what was
    // held from the table it writes.
    void written(const QString &statement);

    // The table an INSERT, UPDATE or DELETE writes; "" for any other statement.
    static QString writtenTable(const QString &statement);

    // At most this many values are held per table.
    static constexpr qsizetype maxPerTable = 4096;

private:
    int m_holds = 0;
    QHash<QString, QHash<QString, QVariant>> m_tables; // lower-case table -> key -> value
};

#include "support/orvafile.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace {

// Runs use with a connection of its own to path, removed afterwards.
template <typename Use> void withDatabase(const QString &path, Use use)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        use(db);
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QStringList orvaFileRows(const QString &path)
{
    QStringList rows;
    withDatabase(path, [&](QSqlDatabase &db) {
        if (!db.open()) {
            rows << QStringLiteral("cannot open ") + path;
            return;
        }
        for (const QString &table : db.tables()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT * FROM \"%1\"").arg(table));
            while (q.next()) {
                QStringList values;
                const QSqlRecord record = q.record();
                for (int i = 0; i < record.count(); ++i) {
                    if (record.fieldName(i).compare(QLatin1String("fechahora_modificacion"), Qt::CaseInsensitive))
                        values << q.value(i).toString();
                }
                rows << table + QLatin1String(": ") + values.join(QLatin1Char('|'));
            }
        }
    });
    rows.sort();
    return rows;
}

QString sqliteIntegrity(const QString &path)
{
    QString result;
    withDatabase(path, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!db.open())
            result = db.lastError().text();
        else if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next())
            result = q.lastError().text();
        else
            result = q.value(0).toString();
    });
    return result;
}

QStringList rowsNotIn(const QStringList &from, const QStringList &what)
{
    QHash<QString, int> held;
    for (const QString &row : what)
        ++held[row];
    QStringList missing;
    for (const QString &row : from) {
        int &n = held[row];
        if (n > 0)
            --n;
        else
            missing << row;
    }
    return missing;
}

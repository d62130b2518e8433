#include "services/sqlitejournal.h"
#include "services/connection.h"
#include "services/log.h"
#include "services/statement.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// Runs a pragma; its one value, or "" with *error set when it failed.
QString pragma(QSqlDatabase db, const QString &statement, QString *error)
{
    QSqlQuery q(db);
    if (!q.exec(statement)) {
        *error = q.lastError().text().trimmed();
        return QString();
    }
    return q.next() ? q.value(0).toString().toLower() : QString();
}

} // namespace

SqliteJournal sqliteJournalNamed(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("rollback") || n == QLatin1String("delete"))
        return SqliteJournal::Rollback;
    return SqliteJournal::WriteAheadLog;
}

QString useSqliteJournal(Connection &connection, SqliteJournal journal, Log &log)
{
    const QSqlDatabase db = connection.database();
    const QString wanted = journal == SqliteJournal::WriteAheadLog ? QStringLiteral("wal") : QStringLiteral("delete");
    QString error;
    QString mode = pragma(db, Statement(QStringLiteral("PRAGMA journal_mode={}")).part(wanted), &error);
    if (mode != wanted) {
        QString previous;
        QString ignored;
        previous = pragma(db, QStringLiteral("PRAGMA journal_mode"), &ignored);
        log.warning(
            QStringLiteral("La base de datos de Orva %1 sigue con el modo de diario '%2': no se pudo pasar a '%3'%4.")
                .arg(connection.target().databaseName, previous, wanted,
                     error.isEmpty() ? QString() : QStringLiteral(" (") + error + QLatin1Char(')')));
        mode = previous;
    }
    // In the log a commit need not wait for the disk; with the rollback
    // journal every commit is synced.
    QSqlQuery q(db);
    q.exec(mode == QLatin1String("wal") ? QStringLiteral("PRAGMA synchronous=NORMAL")
                                        : QStringLiteral("PRAGMA synchronous=FULL"));
    return mode;
}

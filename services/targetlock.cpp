#include "services/targetlock.h"
#include "services/connection.h"
#include "services/log.h"
#include "services/statement.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The advisory lock's key on PostgreSQL (two 32-bit numbers: "KTZ", "ORV"),
// and the application lock's resource on the production server.
constexpr int advisoryClass = 0x4B545A;
constexpr int advisoryObject = 0x4F5256;
const char *const appLockResource = "Traspasor KTZ";

// A statement on the advisory lock: its two key numbers in the pattern's places.
QString lockStatement(const QString &pattern)
{
    return Statement(pattern).integer(advisoryClass).integer(advisoryObject);
}

QString stamp(const QVariant &value)
{
    const QDateTime moment = value.toDateTime();
    return moment.isValid() ? Log::timeStamp(moment.toLocalTime()) : QString();
}

} // namespace

TargetLock::TargetLock() = default;

TargetLock::~TargetLock()
{
    release();
}

QString TargetLock::lockFileFor(const QString &sqliteFile)
{
    const QFileInfo info(sqliteFile);
    const QString canonical = info.canonicalFilePath();
    const QFileInfo real(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
    return real.absolutePath() + QStringLiteral("/.") + real.fileName() + QStringLiteral(".traspasor-lock");
}

TargetLock::Outcome TargetLock::take(Connection &orva, const QString &sqliteFile)
{
    release();
    m_holder.clear();
    m_error.clear();
    switch (orva.dialect()) {
    case SqlDialect::Sqlite:
        return takeFile(sqliteFile);
    case SqlDialect::PostgreSql:
        return takeAdvisory(orva);
    case SqlDialect::SqlServer:
        return takeAppLock(orva);
    case SqlDialect::Firebird:
        break; // Orva is never a Firebird database: the lock file beside it, as for any file
    }
    return takeFile(sqliteFile);
}

TargetLock::Outcome TargetLock::takeFile(const QString &sqliteFile)
{
    const QString path = lockFileFor(sqliteFile);
    m_what = QStringLiteral("archivo %1")
                 .arg(QFileInfo(path).absolutePath() + QLatin1Char('/') + QFileInfo(sqliteFile).fileName());
    auto lock = std::make_unique<QLockFile>(path);
    // Only a lock whose process is gone is stale, however long a run takes.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_file = std::move(lock);
        return Outcome::Taken;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        m_error = QStringLiteral("no se pudo crear %1").arg(path);
        return Outcome::Failed;
    }
    qint64 pid = 0;
    QString host, application;
    if (lock->getLockInfo(&pid, &host, &application)) {
        m_holder = QStringLiteral("proceso %1 en %2").arg(pid).arg(host);
        const QDateTime since = QFileInfo(path).lastModified();
        if (since.isValid())
            m_holder += QStringLiteral(", iniciada %1").arg(Log::timeStamp(since));
    }
    return Outcome::Held;
}

TargetLock::Outcome TargetLock::takeAdvisory(Connection &orva)
{
    m_what = QStringLiteral("bloqueo consultivo de PostgreSQL (%1)").arg(orva.target().describe());
    QSqlQuery query(orva.database());
    if (!query.exec(lockStatement(QStringLiteral("SELECT pg_try_advisory_lock({}, {})"))) || !query.next()) {
        m_error = query.lastError().text();
        return Outcome::Failed;
    }
    if (query.value(0).toBool()) {
        m_server = &orva;
        m_releaseStatement = lockStatement(QStringLiteral("SELECT pg_advisory_unlock({}, {})"));
        return Outcome::Taken;
    }
    // Who holds it: the session's process and its start, when this role may see them.
    QSqlQuery who(orva.database());
    if (who.exec(lockStatement(QStringLiteral(
            "SELECT a.pid, a.backend_start, a.client_addr FROM pg_locks l JOIN pg_stat_activity a ON a.pid = l.pid "
            "WHERE l.locktype = 'advisory' AND l.granted AND l.classid = {} AND l.objid = {} AND l.objsubid = 2 "
            "AND l.database = (SELECT oid FROM pg_database WHERE datname = current_database())")))
        && who.next()) {
        m_holder = QStringLiteral("sesión %1").arg(who.value(0).toString());
        if (!who.value(2).toString().isEmpty())
            m_holder += QStringLiteral(" desde %1").arg(who.value(2).toString());
        if (const QString since = stamp(who.value(1)); !since.isEmpty())
            m_holder += QStringLiteral(", iniciada %1").arg(since);
    }
    return Outcome::Held;
}

TargetLock::Outcome TargetLock::takeAppLock(Connection &orva)
{
    m_what = QStringLiteral("bloqueo de aplicación del servidor (%1)").arg(orva.target().describe());
    QSqlQuery query(orva.database());
    const QString resource = QLatin1String(appLockResource);
    if (!query.exec(
            Statement(QStringLiteral("SET NOCOUNT ON; DECLARE @r int; EXEC @r = sp_getapplock @Resource = N{}, "
                                     "@LockMode = 'Exclusive', @LockOwner = 'Session', @LockTimeout = 0; SELECT @r"))
                .text(resource))
        || !query.next()) {
        m_error = query.lastError().text();
        return Outcome::Failed;
    }
    const int status = query.value(0).toInt();
    if (status >= 0) {
        m_server = &orva;
        m_releaseStatement = Statement(QStringLiteral("EXEC sp_releaseapplock @Resource = N{}, @LockOwner = 'Session'"))
                                 .text(resource)
                                 .sql();
        return Outcome::Taken;
    }
    if (status != -1) {
        m_error = QStringLiteral("sp_getapplock devolvió %1").arg(status);
        return Outcome::Failed;
    }
    QSqlQuery who(orva.database());
    if (who.exec(
            Statement(QStringLiteral("SELECT TOP 1 s.session_id, s.login_time, s.host_name FROM sys.dm_tran_locks l "
                                     "JOIN sys.dm_exec_sessions s ON s.session_id = l.request_session_id "
                                     "WHERE l.resource_type = 'APPLICATION' AND l.resource_database_id = DB_ID() "
                                     "AND l.resource_description LIKE {} AND l.request_session_id <> @@SPID"))
                .text(QLatin1Char('%') + resource + QLatin1Char('%')))
        && who.next()) {
        m_holder = QStringLiteral("sesión %1 en %2").arg(who.value(0).toString(), who.value(2).toString().trimmed());
        if (const QString since = stamp(who.value(1)); !since.isEmpty())
            m_holder += QStringLiteral(", iniciada %1").arg(since);
    }
    return Outcome::Held;
}

void TargetLock::release()
{
    if (m_file) {
        m_file->unlock();
        m_file.reset();
    }
    if (m_server) {
        if (m_server->isOpen()) {
            QSqlQuery query(m_server->database());
            query.exec(m_releaseStatement);
        }
        m_server = nullptr;
    }
}

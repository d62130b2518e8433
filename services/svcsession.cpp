#include "services/svcsession.h"
#include "services/errorhandling.h"
#include "services/errors.h"
#include "services/keyedrow.h"
#include "services/orvapassword.h"
#include "services/statement.h"
#include "services/svctools.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The statement and, when the condition is not blank, " AND (condition)".
QString withCondition(const QString &statement, const QString &condition)
{
    if (condition.trimmed().isEmpty())
        return statement;
    return Statement(QStringLiteral("{} AND ({})")).part(statement).part(condition);
}

} // namespace

ServerSettings ServerSettings::read(const QString &iniPath)
{
    ServerSettings s;
    if (iniPath.isEmpty() || !QFileInfo::exists(iniPath))
        return s;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Orva"));
    const QString driver = ini.value(QStringLiteral("Driver")).toString().trimmed().toUpper();
    if (driver == QLatin1String("PSQL") || driver == QLatin1String("QPSQL") || driver == QLatin1String("POSTGRESQL")) {
        s.driver = QStringLiteral("QPSQL");
        s.dialect = SqlDialect::PostgreSql;
    }
    s.odbcDriver = ini.value(QStringLiteral("OdbcDriver"), s.odbcDriver).toString();
    const QString dialect = ini.value(QStringLiteral("Dialect")).toString().trimmed().toLower();
    if (dialect == QLatin1String("sqlite"))
        s.dialect = SqlDialect::Sqlite;
    else if (dialect == QLatin1String("postgresql"))
        s.dialect = SqlDialect::PostgreSql;
    else if (dialect == QLatin1String("sqlserver"))
        s.dialect = SqlDialect::SqlServer;
    s.port = ini.value(QStringLiteral("Port"), -1).toInt();
    s.options = ini.value(QStringLiteral("Options")).toString();
    s.sqliteJournal = sqliteJournalNamed(ini.value(QStringLiteral("Journal")).toString());
    const QString passwordFile = ini.value(QStringLiteral("PasswordFile")).toString().trimmed();
    if (!passwordFile.isEmpty())
        s.passwordFile = QFileInfo(iniPath).dir().absoluteFilePath(passwordFile);
    ini.endGroup();
    s.ktzCharset = ini.value(QStringLiteral("KTZ/Charset")).toString().trimmed();
    return s;
}

SvcSession::SvcSession(ErrorHandling &errors) : m_errors(errors), m_orva(errors, QStringLiteral("orva"))
{}

void SvcSession::Open(bool noServer, int /*mode*/, const QString &connectionText)
{
    m_openError.clear();
    ConnectionSpec target;
    if (!connectionText.isEmpty() && connectionText.startsWith(QLatin1String("Provider="), Qt::CaseInsensitive)) {
        m_openError = QStringLiteral("El proveedor Oracle OLE DB no está disponible en esta plataforma (servidor %1)")
                          .arg(Server);
        return;
    }
    // A server's password may come from outside the command line.
    QString password = Password;
    if (!noServer && password.isEmpty() && !orvaPasswordFromOutside(m_settings.passwordFile, &password, &m_openError))
        return;
    if (noServer) {
        if (DbName.trimmed().isEmpty()) {
            m_openError = QStringLiteral("No se indicó la base de datos de Orva (@DbName)");
            return;
        }
        if (!QFileInfo::exists(DbName) && !m_allowCreate) {
            m_openError = QStringLiteral("No existe la base de datos de Orva %1").arg(DbName);
            return;
        }
        target.driver = QStringLiteral("QSQLITE");
        target.databaseName = DbName;
        target.dialect = SqlDialect::Sqlite;
        if (m_readOnly)
            target.options = QStringLiteral("QSQLITE_OPEN_READONLY");
    } else if (m_settings.driver == QLatin1String("QPSQL")) {
        target.driver = QStringLiteral("QPSQL");
        QString host = Server;
        target.port = m_settings.port;
        const int colon = host.indexOf(QLatin1Char(':'));
        if (colon > 0) {
            target.port = host.mid(colon + 1).toInt();
            host = host.left(colon);
        }
        target.host = host;
        target.databaseName = DbName;
        target.user = User;
        target.password = password;
        target.options = m_settings.options;
        target.dialect = SqlDialect::PostgreSql;
    } else {
        target.driver = QStringLiteral("QODBC");
        target.databaseName = QStringLiteral("Driver={%1};Server=%2;Database=%3;Uid=%4;Pwd=%5;")
                                  .arg(m_settings.odbcDriver, Server, DbName, User, password);
        if (m_settings.port > 0)
            target.databaseName += QStringLiteral("Port=%1;").arg(m_settings.port);
        target.options = m_settings.options;
        target.dialect = m_settings.dialect;
    }
    if (!m_orva.open(target)) {
        m_openError = m_orva.openError();
        return;
    }
    // SQLite opens any file and fails only at the first statement: a file
    // that is not a database is refused here, with one message, instead of
    // failing every configuration statement of the start-up.
    if (target.dialect == SqlDialect::Sqlite) {
        QSqlQuery probe(m_orva.database());
        if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            m_openError = QStringLiteral("%1 no es una base de datos de Orva (%2)")
                              .arg(DbName, probe.lastError().databaseText().trimmed());
            probe = QSqlQuery();
            m_orva.close();
            return;
        }
    }
    if (noServer && !m_readOnly)
        useSqliteJournal(m_orva, m_settings.sqliteJournal, m_errors.log());
    if (m_readOnly && target.dialect == SqlDialect::PostgreSql)
        makeSessionReadOnly();
}

QString SvcSession::lookupStatement(const QString &table, const QString &key, const QString &resultColumn,
                                    const QString &keyColumn, const QString &extra)
{
    return withCondition(Statement(QStringLiteral("SELECT {} FROM {} WHERE {} = {}"))
                             .part(resultColumn)
                             .part(table)
                             .part(keyColumn)
                             .text(key),
                         extra);
}

QString SvcSession::lookup(const QString &sql, const QString &resultColumn, bool *answered)
{
    *answered = false;
    const RowRead read = RowRead::of(*this, sql);
    if (read.failed())
        return QString();
    QString result;
    *answered =
        !read.found() || m_errors.attempt([&] { result = SvcTools::FieldText(read.row().value(resultColumn)); });
    return result;
}

void SvcSession::makeSessionReadOnly()
{
    try {
        m_orva.executeOrThrow(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
    } catch (const RunTimeError &e) {
        m_openError = QStringLiteral("No se pudo abrir Orva sólo para lectura: ") + e.error().description;
        m_orva.close();
    }
}

QString SvcSession::LookupValue(const QString &table, const QString &key, const QString &resultColumn,
                                const QString &keyColumn, int /*keyType*/, const QString &extra)
{
    bool answered = false;
    return lookup(lookupStatement(table, key, resultColumn, keyColumn, extra), resultColumn, &answered);
}

QString SvcSession::LookupHeldValue(const QString &heldAs, const QString &table, const QString &key,
                                    const QString &resultColumn, const QString &keyColumn)
{
    const QString sql = lookupStatement(table, key, resultColumn, keyColumn, QString());
    RunCache &held = m_orva.runCache();
    if (const QVariant *value = held.find(heldAs, sql))
        return value->toString();
    bool answered = false;
    const QString value = lookup(sql, resultColumn, &answered);
    if (answered)
        held.store(heldAs, sql, value);
    return value;
}

RowRead SvcSession::ReadRecord(const QString &table, const QString &key, const QString &keyColumn,
                               const QString &condition)
{
    return RowRead::of(
        *this,
        withCondition(Statement(QStringLiteral("SELECT * FROM {} WHERE {} = {}")).part(table).part(keyColumn).text(key),
                      condition));
}

bool SvcSession::RecordExists(const QString &table, const QString &key, const QString &keyColumn, Recordset *rs,
                              int /*keyType*/, const QString &condition)
{
    RowRead read = ReadRecord(table, key, keyColumn, condition);
    if (rs)
        *rs = std::move(read.row());
    return read.found();
}

bool SvcSession::HasColumn(const QString &table, const QString &column)
{
    if (!m_orva.isOpen())
        return false;
    const QSqlDatabase db = m_orva.database();
    QString tableName = table;
    for (const QString &name : db.tables()) {
        if (sameText(name, table))
            tableName = name;
    }
    const QSqlRecord record = db.record(tableName);
    for (int i = 0; i < record.count(); ++i) {
        if (sameText(record.fieldName(i), column))
            return true;
    }
    return false;
}

QString SvcSession::NumberToSql(const QVariant &value, const QString &kind)
{
    if (kind == QLatin1String("@"))
        return SqlLiteral::number(value);
    if (kind == QLatin1String("'"))
        return SqlLiteral::textOf(value);
    return SvcTools::FieldText(value);
}

#include "session/configstore.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

QString ConfigStore::Cfg(const QString &key)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("Cfg"));
    return scope.run(
        [&]() -> QString {
            if (tableName.trimmed().isEmpty())
                tableName = QStringLiteral("TA_CONFIGURACION");
            // A run reads each key once: only the tool's own GrabaDfg changes one
            // during a run, and its write drops what was held from the table.
            RunCache &held = m_services.session.connection().runCache();
            if (const QVariant *value = held.find(tableName, key.trimmed()))
                return value->toString();
            const QString sql =
                Statement(QStringLiteral("SELECT VALOR FROM {} WHERE CLAVE = {}")).part(tableName).text(key.trimmed());
            RowRead read = RowRead::of(m_services.session, sql);
            if (read.failed())
                return QString();
            // A key that is not stored reads as one blank.
            QString value = QStringLiteral(" ");
            if (read.found() && !m_services.errors.attempt([&] {
                    value = SvcTools::FieldText(read.row().value(QStringLiteral("Valor")));
                }))
                return QString();
            held.store(tableName, key.trimmed(), value);
            return value;
        },
        QString());
}

bool ConfigStore::GrabaDfg(const QString &key, const QString &value)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("GrabaDfg"));
    return scope.run(
        [&] {
            const QString where = Statement(QStringLiteral(" WHERE CLAVE = {}")).text(key);
            const QString group = QStringLiteral("DATOS");
            Connection &orva = m_services.session.connection();
            const KeyedWrite outcome = insertOrUpdateByKey(
                m_services.session, Statement(QStringLiteral("SELECT * FROM {}{}")).part(tableName).part(where),
                [](const Recordset *) { return RowChange::Changed; },
                [&](bool insert) {
                    if (insert)
                        return orva.Execute(
                            Statement(QStringLiteral("INSERT INTO {} (Grupo,Clave,Valor) VALUES ({},{},{})"))
                                .part(tableName)
                                .text(group)
                                .text(key.trimmed())
                                .text(value.trimmed()));
                    return orva.Execute(Statement(QStringLiteral("UPDATE {} SET Grupo = {}, Clave = {}, Valor = {}{}"))
                                            .part(tableName)
                                            .text(group)
                                            .text(key.trimmed())
                                            .text(value.trimmed())
                                            .part(where));
                });
            // A read the operator skipped tells nothing about the row: writing
            // anyway could add a second row under the same key.
            if (outcome == KeyedWrite::NotRead)
                m_services.log.warning(
                    QStringLiteral("No se guardó %1: no se pudo leer la configuración.").arg(key.trimmed()));
            return outcome == KeyedWrite::Inserted || outcome == KeyedWrite::Updated
                || outcome == KeyedWrite::Unchanged;
        },
        false);
}

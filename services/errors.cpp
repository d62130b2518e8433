#include "services/errors.h"
#include "services/redact.h"

QString RunError::text() const
{
    QString line = QStringLiteral("Error %1: %2").arg(number).arg(description.trimmed());
    if (!procedure.isEmpty())
        line += QStringLiteral(" | en %1").arg(procedure);
    if (!record.isEmpty())
        line += QStringLiteral(" | registro: %1").arg(record);
    if (!statement.isEmpty())
        line += QStringLiteral(" | sentencia: %1").arg(statement);
    return redactPasswords(line);
}

void throwNullError(const QString &what)
{
    throw RunTimeError(
        RunError{ErrorNumber::InvalidUseOfNull, QStringLiteral("Uso no válido de Null (%1)").arg(what), {}, {}, {}});
}

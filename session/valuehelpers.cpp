#include "session/valuehelpers.h"
#include "services/svctools.h"

bool EsVerdadero(const QString &text)
{
    const QString upper = text.toUpper();
    for (const char *no : {"FALSE", "FALSO", "0", "NO", "N"}) {
        if (sameText(upper, QString::fromLatin1(no)))
            return false;
    }
    return true;
}

QString FormatoFechaHora(const QDateTime &moment)
{
    // "dd/mm/yy hh:mm" with the platform's date separator "-".
    return moment.toString(QStringLiteral("dd-MM-yy HH:mm"));
}

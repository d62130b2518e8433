#include "numbering/numbering.h"
#include "session/configstore.h"
#include "services/svctools.h"

#include <QStringList>

Numbering::Numbering(SharedServices &services, ConfigStore &config) : m_services(services), m_config(config)
{}

QString Numbering::ObtieneEquivalenciaTC(const QString &tc)
{
    static const QStringList configured = {
        QStringLiteral("FCC"),  QStringLiteral("FPC"), QStringLiteral("FP"),   QStringLiteral("NCC"),
        QStringLiteral("NDC"),  QStringLiteral("PG"),  QStringLiteral("FC"),   QStringLiteral("NC"),
        QStringLiteral("ND"),   QStringLiteral("CB"),  QStringLiteral("CBCT"), QStringLiteral("TK"),
        QStringLiteral("TKFC"),
    };
    static const QStringList ownEquivalent = {
        QStringLiteral("CBFP"), QStringLiteral("PGFP"), QStringLiteral("NCFP"),
        QStringLiteral("NCCP"), QStringLiteral("GF"),
    };
    const QString type = tc.trimmed();
    if (configured.contains(type, Qt::CaseInsensitive))
        return m_config.Cfg(QStringLiteral("EQU_") + type).trimmed();
    if (ownEquivalent.contains(type, Qt::CaseInsensitive))
        return type;
    return QString();
}

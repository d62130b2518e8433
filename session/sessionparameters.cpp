#include "session/sessionparameters.h"
#include "services/svctools.h"

QString SessionParameters::entry(const QString &text, const QString &name, const QString &defaultValue)
{
    const qsizetype position = text.indexOf(name, 0, Qt::CaseInsensitive);
    if (position < 0)
        return defaultValue;
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'), position);
    qsizetype length = semicolon - name.size() - position;
    if (semicolon < 0 || length < 0)
        length = name.size();
    const QString span = text.mid(position + name.size(), length);
    return SvcTools::RemoveText(span, QStringLiteral("=")).trimmed();
}

SessionParameters SessionParameters::parse(const QString &text)
{
    SessionParameters p;
    p.ParametroAdicional = entry(text, QStringLiteral("@ParametroAdicional"), QString());
    p.Menu = entry(text, QStringLiteral("@Menu"), QString());
    p.Server = entry(text, QStringLiteral("@Server"), QString());
    p.DbName = entry(text, QStringLiteral("@DbName"), QString());
    p.Usuario = entry(text, QStringLiteral("@Usuario"), QString());
    p.Password = entry(text, QStringLiteral("@Password"), QString());
    p.UsuarioLogeado = entry(text, QStringLiteral("@UsuarioLogeado"), QString());
    p.Caja = entry(text, QStringLiteral("@Caja"), QStringLiteral("1"));
    p.Datos = entry(text, QStringLiteral("@Datos"), QString());
    return p;
}

bool SessionParameters::unattended() const
{
    return sameText(ParametroAdicional, QStringLiteral("DesdeTimer"));
}

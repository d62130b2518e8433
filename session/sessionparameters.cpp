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
    p.Progreso = entry(text, QStringLiteral("@Progreso"), QString());
    p.Desde = entry(text, QStringLiteral("@Desde"), QString());
    p.Hasta = entry(text, QStringLiteral("@Hasta"), QString());
    p.Informe = entry(text, QStringLiteral("@Informe"), QString());
    return p;
}

bool SessionParameters::unattended() const
{
    return sameText(ParametroAdicional, QStringLiteral("DesdeTimer"));
}

const QStringList &SessionParameters::knownNames()
{
    static const QStringList names{
        QStringLiteral("@ParametroAdicional"),
        QStringLiteral("@Server"),
        QStringLiteral("@DbName"),
        QStringLiteral("@Usuario"),
        QStringLiteral("@Password"),
        QStringLiteral("@Caja"),
        QStringLiteral("@Menu"),
        QStringLiteral("@UsuarioLogeado"),
        QStringLiteral("@Datos"),
        QStringLiteral("@Informe"),
        QStringLiteral("@Desde"),
        QStringLiteral("@Hasta"),
        QStringLiteral("@Progreso"),
    };
    return names;
}

namespace {

struct WrittenEntry
{
    QString name;
    qsizetype position;
};

// The entry names as written: "@" at the start, after a blank or after ";",
// followed by letters, digits or "_".
QList<WrittenEntry> writtenEntries(const QString &text)
{
    QList<WrittenEntry> entries;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('@') || !text.at(i + 1).isLetter())
            continue;
        if (i > 0 && !text.at(i - 1).isSpace() && text.at(i - 1) != QLatin1Char(';'))
            continue;
        qsizetype end = i + 1;
        while (end < text.size() && (text.at(end).isLetterOrNumber() || text.at(end) == QLatin1Char('_')))
            ++end;
        entries.append({text.mid(i, end - i), i});
        i = end - 1;
    }
    return entries;
}

// Whether a and b differ by at most one letter inserted, removed, changed,
// or two neighbours swapped (letter case ignored).
bool withinOneLetter(const QString &a, const QString &b)
{
    const QString x = a.toCaseFolded();
    const QString y = b.toCaseFolded();
    if (qAbs(x.size() - y.size()) > 1)
        return false;
    qsizetype i = 0;
    while (i < x.size() && i < y.size() && x.at(i) == y.at(i))
        ++i;
    if (x.size() == y.size()) {
        if (i == x.size())
            return true;
        if (x.mid(i + 1) == y.mid(i + 1))
            return true;
        return i + 1 < x.size() && x.at(i) == y.at(i + 1) && x.at(i + 1) == y.at(i) && x.mid(i + 2) == y.mid(i + 2);
    }
    const QString &longer = x.size() > y.size() ? x : y;
    const QString &shorter = x.size() > y.size() ? y : x;
    return longer.mid(i + 1) == shorter.mid(i);
}

QString knownNameOf(const QString &written)
{
    for (const QString &name : SessionParameters::knownNames()) {
        if (sameText(name, written))
            return name;
    }
    return {};
}

QString resembledName(const QString &written)
{
    for (const QString &name : SessionParameters::knownNames()) {
        if (withinOneLetter(name, written))
            return name;
    }
    return {};
}

// The value an entry's text would hold with its ";" in place: from its name
// to the end of the text, without "=" and trimmed.
QString wholeValue(const QString &text, const WrittenEntry &e)
{
    return SvcTools::RemoveText(text.mid(e.position + e.name.size()), QStringLiteral("=")).trimmed();
}

} // namespace

QList<EntryFinding> SessionParameters::check(const QString &text)
{
    QList<EntryFinding> findings;
    const QList<WrittenEntry> entries = writtenEntries(text);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const WrittenEntry &e = entries.at(k);
        const QString known = knownNameOf(e.name);
        if (known.isEmpty()) {
            const QString resembles = resembledName(e.name);
            findings.append(
                {resembles.isEmpty() ? EntryFinding::Unknown : EntryFinding::Misspelt, e.name, resembles, {}});
            continue;
        }
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), e.position);
        const QString value = entry(text.mid(e.position), e.name, QString());
        if (semicolon < 0) {
            if (value != wholeValue(text, e))
                findings.append({EntryFinding::Cut, e.name, {}, value});
            continue;
        }
        if (k + 1 < entries.size() && entries.at(k + 1).position < semicolon)
            findings.append({EntryFinding::RunsOn, e.name, entries.at(k + 1).name, value});
    }
    return findings;
}

QString EntryFinding::message() const
{
    const bool secret = sameText(name, QStringLiteral("@Password"));
    const QString shown = secret ? QStringLiteral("(oculto)") : QLatin1Char('"') + value + QLatin1Char('"');
    switch (kind) {
    case Unknown:
        return QStringLiteral("entrada desconocida %1").arg(name);
    case Misspelt:
        return QStringLiteral("entrada desconocida %1: ¿quiso decir %2?").arg(name, resembles);
    case Cut:
        return QStringLiteral("la entrada %1 no termina en \";\": su valor se cortó a %2").arg(name, shown);
    case RunsOn:
        return QStringLiteral("la entrada %1 no termina en \";\" antes de %2: su valor es %3")
            .arg(name, resembles, shown);
    }
    return {};
}

bool SessionParameters::reconciliation() const
{
    return sameText(ParametroAdicional, QStringLiteral("Conciliar"));
}

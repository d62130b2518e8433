#include "reconcile/reconcilecsv.h"

#include <QSaveFile>

namespace {

const QChar separator = QLatin1Char(';');

QString csvLine(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out << csvField(f);
    return out.join(separator) + QStringLiteral("\r\n");
}

QStringList dayFields(const DayResult &d, const QLocale &locale)
{
    return {QString::number(d.station),     d.day.toString(Qt::ISODate),  kindTitle(d.kind),
            QString::number(d.ktzCount),    QString::number(d.orvaCount), csvAmount(d.ktzTotal, locale),
            csvAmount(d.orvaTotal, locale), verdictTitle(d.verdict)};
}

QStringList findingFields(const Finding &f, const QLocale &locale)
{
    if (f.problem == Problem::NotReadable)
        return {f.document, problemTitle(f.problem) + QStringLiteral(": ") + f.detail, QString(), QString()};
    return {f.document, problemTitle(f.problem), csvAmount(f.ktzTotal, locale), csvAmount(f.orvaTotal, locale)};
}

} // namespace

QString csvField(const QString &text)
{
    const bool plain = !text.contains(separator) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && text.trimmed() == text;
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvAmount(Currency value, const QLocale &locale)
{
    QString text = value.toText();
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

QString reconciliationCsv(const Reconciliation &r, const QLocale &locale)
{
    QString out = csvLine({QStringLiteral("Estación"), QStringLiteral("Fecha"), QStringLiteral("Clase"),
                           QStringLiteral("Cantidad KTZ"), QStringLiteral("Cantidad Orva"), QStringLiteral("Total KTZ"),
                           QStringLiteral("Total Orva"), QStringLiteral("Resultado"), QStringLiteral("Documento"),
                           QStringLiteral("Problema"), QStringLiteral("Importe KTZ"), QStringLiteral("Importe Orva")});
    for (const DayResult &d : r.days) {
        const QStringList day = dayFields(d, locale);
        if (d.findings.isEmpty())
            out += csvLine(day + QStringList{QString(), QString(), QString(), QString()});
        for (const Finding &f : d.findings)
            out += csvLine(day + findingFields(f, locale));
    }
    for (const NotTransferable &n : r.notTransferable)
        out += csvLine({QString::number(n.station), n.day.toString(Qt::ISODate), kindTitle(n.kind), QString(),
                        QString(), QString(), QString(), QStringLiteral("no transferible"), n.document, n.ruleText,
                        QString(), QString()});
    return out;
}

bool writeReconciliationCsv(const Reconciliation &r, const QLocale &locale, const QString &path, QString *error)
{
    QSaveFile file(path);
    const auto failed = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("No se pudo escribir %1: %2").arg(path, reason);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + reconciliationCsv(r, locale).toUtf8();
    if (file.write(bytes) != bytes.size())
        return failed(file.errorString());
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

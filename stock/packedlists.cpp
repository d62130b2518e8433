// The packed lot and serial lists of the voucher grid: "L1|L2|L3|".

#include "services/svctools.h"
#include "stock/clscmncptes.h"

namespace {

const QChar Separator = QLatin1Char('|');

// The list text as its items are read: trimmed, a leading separator dropped.
QString listBody(const QString &packed)
{
    QString s = packed.trimmed();
    if (s.startsWith(Separator))
        s.remove(0, 1);
    return s;
}

} // namespace

QStringList ClsCmnCptes::DescomponeSerieLote(const QString &Serie_Lote)
{
    QStringList items{QString()};
    QString s = listBody(Serie_Lote);
    for (qsizetype p = s.indexOf(Separator); p >= 0; p = s.indexOf(Separator)) {
        items.last() = s.left(p).trimmed();
        items.append(QString());
        s = s.mid(p + 1);
        if (s.trimmed().isEmpty())
            break;
    }
    return items;
}

QString ClsCmnCptes::ExtraeSerieLote(const QString &Serie_Lote, qint16 QuePosicion)
{
    QString s = listBody(Serie_Lote);
    int counter = 1;
    for (qsizetype p = s.indexOf(Separator); p >= 0; p = s.indexOf(Separator)) {
        if (counter == QuePosicion)
            return s.left(p);
        ++counter;
        s = s.mid(p + 1);
        if (s.trimmed().isEmpty())
            break;
    }
    return QString();
}

int ClsCmnCptes::Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PipeLotes)
{
    QStringList series = DescomponeSerieLote(PipeSeries);
    QStringList lots = DescomponeSerieLote(PipeLotes);
    if (!PipeSeries.isEmpty() && PipeLotes.isEmpty())
        lots = QStringList(series.size(), QString());
    if (PipeSeries.isEmpty() && !PipeLotes.isEmpty())
        series = QStringList(lots.size(), QString());
    // Lists of different lengths: a missing partner counts as empty.
    QStringList pairs;
    for (qsizetype i = 0; i < series.size(); ++i) {
        const QString pair = series.at(i).trimmed() + Separator + lots.value(i).trimmed();
        if (SvcTools::RemoveText(pair, Separator).trimmed().isEmpty())
            continue;
        const bool seen =
            std::any_of(pairs.cbegin(), pairs.cend(), [&](const QString &known) { return sameText(known, pair); });
        if (!seen)
            pairs << pair;
    }
    return int(pairs.size());
}

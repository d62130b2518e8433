#include "sales/salesselection.h"
#include "services/statement.h"
#include "services/svctools.h"

QString SalesSelection::invoiceCountStatement() const
{
    return Statement(QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM FAC_OUT {} ORDER BY FOUT_FECHA ASC"))
        .part(invoiceFilter);
}

QString SalesSelection::loadCountStatement() const
{
    return Statement(QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM T_CARGAS {} ORDER BY F_COMP ASC"))
        .part(loadFilter);
}

QString SalesSelection::invoiceStatement() const
{
    return Statement(QStringLiteral("SELECT * FROM FAC_OUT {} ORDER BY FOUT_FECHA ASC")).part(invoiceFilter);
}

QString SalesSelection::loadStatement() const
{
    return Statement(QStringLiteral("SELECT * FROM T_CARGAS {} ORDER BY F_COMP ASC")).part(loadFilter);
}

SalesSelection salesSelection(RunContext &context)
{
    const QString lastDate = context.Cfg(QStringLiteral("KTZ_ULTIMAFECHA") + context.KeySuffix);
    const bool firstRun = lastDate.trimmed().isEmpty();
    return salesSelectionFrom(firstRun ? context.Cfg(QStringLiteral("KTZ_FECHADESDE")) : lastDate, firstRun);
}

SalesSelection salesSelectionFrom(const QString &startDate, bool firstRun)
{
    SalesSelection s;
    s.startDate = startDateText(startDate);
    s.invoiceFilter =
        Statement(
            firstRun
                ? QStringLiteral(" WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO ='B') AND FOUT_FECHA>= {} AND FOUT_NUM > 0")
                : QStringLiteral(" WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO = 'B') AND  FOUT_FECHA>={} AND FOUT_NUM > 0"))
            .text(s.startDate);
    s.loadFilter = Statement(QStringLiteral(" WHERE N_COMP > 0 AND F_COMP >= {}")).text(s.startDate);
    return s;
}

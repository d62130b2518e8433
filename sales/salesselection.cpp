#include "sales/salesselection.h"
#include "services/svcsession.h"
#include "services/svctools.h"

namespace {

const QString invoiceOrder = QStringLiteral(" ORDER BY FOUT_FECHA ASC");
const QString loadOrder = QStringLiteral(" ORDER BY F_COMP ASC");
const QString invoiceCount = QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM FAC_OUT ");
const QString loadCount = QStringLiteral("SELECT COUNT(*) AS RECORDCOUNT FROM T_CARGAS ");

} // namespace

QString SalesSelection::invoiceCountStatement() const
{
    return invoiceCount + invoiceFilter + invoiceOrder;
}

QString SalesSelection::loadCountStatement() const
{
    return loadCount + loadFilter + loadOrder;
}

QString SalesSelection::invoiceStatement() const
{
    return QStringLiteral("SELECT * FROM FAC_OUT ") + invoiceFilter + invoiceOrder;
}

QString SalesSelection::loadStatement() const
{
    return QStringLiteral("SELECT * FROM T_CARGAS ") + loadFilter + loadOrder;
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
    const QString start = sqlText(s.startDate);
    s.invoiceFilter = firstRun
        ? QStringLiteral(" WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO ='B') AND FOUT_FECHA>= '") + start
            + QStringLiteral("' AND FOUT_NUM > 0")
        : QStringLiteral(" WHERE (FOUT_TIPO = 'A' OR FOUT_TIPO = 'B') AND  FOUT_FECHA>='") + start
            + QStringLiteral("' AND FOUT_NUM > 0");
    s.loadFilter = QStringLiteral(" WHERE N_COMP > 0 AND F_COMP >= '") + start + QLatin1Char('\'');
    return s;
}

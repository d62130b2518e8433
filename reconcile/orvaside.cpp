#include "reconcile/orvaside.h"
#include "reconcile/ktzside.h"
#include "sales/salesdocument.h"
#include "sales/voucheridentity.h"
#include "services/recordset.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

QString dateWindow(const DayRange &range)
{
    return Statement(QStringLiteral("FECHA >= {} AND FECHA < {}"))
        .text(range.from.toString(Qt::ISODate))
        .text(range.to.addDays(1).toString(Qt::ISODate));
}

// The day of an Orva date text; invalid when it is none.
QDate orvaDay(const Recordset &rs)
{
    const QDate day = documentDay(rs.value(QStringLiteral("FECHA")));
    if (day.isValid())
        return day;
    return QDate::fromString(SvcTools::FieldText(rs.value(QStringLiteral("FECHA"))).left(10), Qt::ISODate);
}

QString text(const Recordset &rs, const QString &column)
{
    return SvcTools::FieldText(rs.value(column));
}

} // namespace

QString salesJournalStatement(const QString &voucherType, const DayRange &range)
{
    return Statement(QStringLiteral("SELECT SUCURSAL, NUMERO, LETRA, [NUMERO ASIENTO] AS ASIENTO, MIN(FECHA) AS FECHA, "
                                    "SUM(CASE WHEN SECUENCIA = 1 THEN 1 ELSE 0 END) AS VECES, "
                                    "SUM(CASE WHEN [DEBE-HABER] = 'D' THEN IMPORTE ELSE 0 END) AS TOTAL "
                                    "FROM MV_ASIENTOS WHERE TC = {} AND TIPO_REG = 'VTAS' AND {} "
                                    "GROUP BY SUCURSAL, NUMERO, LETRA, [NUMERO ASIENTO]"))
        .text(voucherType)
        .part(dateWindow(range));
}

QString noteVoucherStatement(const DayRange &range)
{
    return Statement(
               QStringLiteral("SELECT IDCOMPROBANTE, MIN(FECHA) AS FECHA, COUNT(*) AS VECES, SUM(IMPORTE) AS TOTAL "
                              "FROM V_MV_CPTE WHERE TC = 'RM' AND {} GROUP BY IDCOMPROBANTE"))
        .part(dateWindow(range));
}

void readSalesPool(Connection &orva, const QString &voucherType, OrvaPool &pool)
{
    pool.documents.clear();
    if (pool.range.isEmpty())
        return;
    Recordset rs;
    rs.open(orva, salesJournalStatement(voucherType, pool.range));
    for (; !rs.eof(); rs.moveNext()) {
        const VoucherIdentity voucher{voucherType, text(rs, QStringLiteral("SUCURSAL")),
                                      text(rs, QStringLiteral("NUMERO")), text(rs, QStringLiteral("LETRA"))};
        const QString entry =
            QString::number(documentId(rs.value(QStringLiteral("ASIENTO")), QStringLiteral("ASIENTO")));
        const QDate day = orvaDay(rs);
        if (!day.isValid())
            continue;
        // Lines without their customer line still make the entry the
        // transfer recognises: it counts once.
        const int times = qMax(1, int(amountColumn(rs, QStringLiteral("VECES")).toDouble()));
        pool.documents << OrvaDocument{
            salesDocumentKey(voucher, entry),         salesDocumentName(voucher, entry), day, voucher.sucursal, times,
            amountColumn(rs, QStringLiteral("TOTAL"))};
    }
}

void readNotePool(Connection &orva, OrvaPool &pool)
{
    pool.documents.clear();
    if (pool.range.isEmpty())
        return;
    Recordset rs;
    rs.open(orva, noteVoucherStatement(pool.range));
    for (; !rs.eof(); rs.moveNext()) {
        const QString id = text(rs, QStringLiteral("IDCOMPROBANTE"));
        const QDate day = orvaDay(rs);
        if (!day.isValid())
            continue;
        pool.documents << OrvaDocument{id.toUpper(),
                                       noteDocumentName(id),
                                       day,
                                       id.left(4),
                                       int(amountColumn(rs, QStringLiteral("VECES")).toDouble()),
                                       amountColumn(rs, QStringLiteral("TOTAL"))};
    }
}

#include "sales/salesdocument.h"
#include "customers/accountcode.h"
#include "services/errors.h"
#include "services/svctools.h"

#include <cmath>

QString columnText(const Recordset &rs, const QString &column)
{
    return SvcTools::FieldText(rs.value(column));
}

QString recordColumnText(const Recordset &rs, const QString &column)
{
    if (!rs.hasField(column) || rs.eof())
        return QStringLiteral("?");
    return SvcTools::FieldText(rs.value(column));
}

qint64 documentId(const QVariant &value, const QString &column)
{
    switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return value.toLongLong();
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
        return qint64(value.toULongLong());
    default:
        break;
    }
    // Doubles and texts: their nearest whole number, halves to even.
    return qint64(std::nearbyint(doubleOf(value, column)));
}

Currency amountField(const QVariant &value, const QString &column)
{
    const QVariant field = SvcTools::FieldValue(value);
    if (field.typeId() == QMetaType::QString && field.toString().trimmed().isEmpty())
        return Currency();
    return currencyOf(field, column);
}

Currency amountColumn(const Recordset &rs, const QString &column)
{
    return amountField(rs.value(column), column);
}

QString shiftFromName(const QString &name)
{
    const QString upper = name.toUpper();
    if (sameText(upper, QStringLiteral("MAÑANA")))
        return QStringLiteral("   5");
    if (sameText(upper, QStringLiteral("TARDE")))
        return QStringLiteral("   6");
    if (sameText(upper, QStringLiteral("NOCHE")))
        return QStringLiteral("   7");
    // A shift name the station made up: no shift, never the previous document's.
    return QStringLiteral("    ");
}

SalesDocument LeeFactura(const Recordset &invoice)
{
    SalesDocument doc;
    doc.date = dateText(SvcTools::FieldValue(invoice.value(QStringLiteral("FOUT_FECHA"))));
    doc.branch = columnText(invoice, QStringLiteral("fout_pventa"));
    doc.number = columnText(invoice, QStringLiteral("fout_num"));
    doc.letter = columnText(invoice, QStringLiteral("fout_tipo"));
    doc.total = amountColumn(invoice, QStringLiteral("Total"));
    doc.netTaxed = amountColumn(invoice, QStringLiteral("neto_grav"));
    doc.nonTaxed = amountColumn(invoice, QStringLiteral("imp_ngrav"));
    doc.vat = amountColumn(invoice, QStringLiteral("fout_totiva"));
    doc.vatRate = amountColumn(invoice, QStringLiteral("fout_ivaporc"));
    doc.customerNumber = lastFourCharacters(columnText(invoice, QStringLiteral("cli_cod")));
    doc.customerName = columnText(invoice, QStringLiteral("cli_name"));
    doc.customerTaxId = columnText(invoice, QStringLiteral("cli_cuit"));
    doc.shift = shiftFromName(columnText(invoice, QStringLiteral("fout_turno")));
    doc.isInvoice = true;
    doc.id = documentId(invoice.value(QStringLiteral("id")), QStringLiteral("id"));
    return doc;
}

QString invoiceRecord(const Recordset &invoice)
{
    return QStringLiteral("factura %1 (punto de venta %2, número %3, letra %4)")
        .arg(recordColumnText(invoice, QStringLiteral("id")), recordColumnText(invoice, QStringLiteral("fout_pventa")),
             recordColumnText(invoice, QStringLiteral("fout_num")),
             recordColumnText(invoice, QStringLiteral("fout_tipo")));
}

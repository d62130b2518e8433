#include "sales/journalstatements.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

// CABCONDIVA and LIVA_TIPO: the text "Null" (any case) is written as an empty text.
QString bookText(const QString &value)
{
    return sameText(value, QStringLiteral("Null")) ? QString() : value;
}

// The voucher's own columns as the checks compare them.
QString voucherCondition(const VoucherIdentity &v)
{
    return Statement(QStringLiteral("TC={} AND SUCURSAL={} AND NUMERO={} AND LETRA={}"))
        .texts({v.tc, v.sucursal, v.numero, v.letra});
}

} // namespace

QString voucherCheckStatement(const JournalHeader &header)
{
    return Statement(QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE {} AND [NUMERO ASIENTO] = {}"))
        .part(voucherCondition(header.voucher))
        .literal(header.entryNumber);
}

QString customerLineCheckStatement(const JournalHeader &header)
{
    // Loads and invoices number their ids independently: the voucher (CPTE_ORIGEN) tells them apart.
    return Statement(QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE CUENTA={} AND SECUENCIA =1 AND MES_OPERATIVO={} "
                                    "AND [NUMERO ASIENTO]={} AND PERIODO = {} AND TIPO_REG={} AND CPTE_ORIGEN={}"))
        .text(header.customerAccount)
        .literal(header.month)
        .text(header.entryNumber)
        .literal(header.period)
        .code(header.tipoReg, 4)
        .text(header.voucher.origin());
}

QString journalLineStatement(const JournalHeader &h, const JournalLine &line)
{
    const QString origin = h.voucher.origin();
    return Statement(
               QStringLiteral(
                   "INSERT INTO MV_ASIENTOS (FECHA,FECHASUBDIARIO,MES_OPERATIVO,[NUMERO ASIENTO],CUENTA,SECUENCIA,"
                   "CABIMPORTE,[DEBE-HABER],IMPORTE,PERIODO,TC,SUCURSAL,NUMERO,LETRA,TIPO_REG,DETALLE,MONEDA,"
                   "COTIZACION,IDCAJAS,CPTE_ORIGEN, CABCUENTA,CABNOMBRE,LIVA_TOTAL,LIVA_IMPNETONGRAV,"
                   "LIVA_IMPNETOGRAV,LIVA_IMPIVA,LIVA_ALICIVA,CABCONDIVA,LIVA_TIPO,CABCUIT,Transmision)  "
                   "VALUES({},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},'   1',1,{},{},{},{},{},{},{},{},{},{},{},"
                   "{},999)"))
        .texts({h.date, h.date, h.month})
        .literal(h.entryNumber)
        .text(line.account)
        .integer(line.secuencia)
        .amount(h.total)
        .text(line.side)
        .amount(line.amount)
        .texts({h.period, h.voucher.tc, h.voucher.sucursal, h.voucher.numero, h.voucher.letra, h.tipoReg,
                QStringLiteral("*KTZ*") + h.voucher.tc + QLatin1Char(' ') + origin, h.shift, origin, h.customerAccount,
                h.customerName})
        .amounts({h.total, line.book.nonTaxed, line.book.netTaxed, line.book.vat, line.book.rate})
        .texts({bookText(line.book.condition), bookText(line.book.type), h.customerTaxId});
}

QString customerDetailsInsert(const QString &account)
{
    return Statement(
               QStringLiteral("INSERT INTO MA_CUENTASADIC (CODIGO,CALLE,LOCALIDAD,CPOSTAL,PROVINCIA,TELEFONO,"
                              "NUMERO_DOCUMENTO,IVA,DOCUMENTO_TIPO,IDCOND_CPRA_VTA,OBSERVACIONES,PAIS,IDMOTIVOVTA,"
                              "CLASE) VALUES({},'','','','   1','','0','   3','   3','   1','','   1','   1',2)"))
        .text(account);
}

#include "sales/journalstatements.h"
#include "services/svcsession.h"
#include "services/svctools.h"

namespace {

// CABCONDIVA and LIVA_TIPO: the text "Null" (any case) is written as an empty text.
QString bookText(const QString &value)
{
    return sameText(value, QStringLiteral("Null")) ? QString() : value;
}

QString amount(Currency value)
{
    return SvcSession::NumberToSql(value);
}

// The voucher's own columns as the checks compare them.
QString voucherCondition(const VoucherIdentity &v)
{
    return QStringLiteral("TC='") + sqlText(v.tc) + QStringLiteral("' AND SUCURSAL='") + sqlText(v.sucursal)
        + QStringLiteral("' AND NUMERO='") + sqlText(v.numero) + QStringLiteral("' AND LETRA='") + sqlText(v.letra)
        + QLatin1Char('\'');
}

} // namespace

QString voucherCheckStatement(const JournalHeader &header)
{
    return QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE ") + voucherCondition(header.voucher)
        + QStringLiteral(" AND [NUMERO ASIENTO] = ") + header.entryNumber;
}

QString customerLineCheckStatement(const JournalHeader &header)
{
    return QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE CUENTA='") + sqlText(header.customerAccount)
        + QStringLiteral("' AND SECUENCIA =") + QStringLiteral("1") + QStringLiteral(" AND MES_OPERATIVO=")
        + header.month + QStringLiteral(" AND [NUMERO ASIENTO]='") + header.entryNumber
        + QStringLiteral("' AND PERIODO = ") + header.period + QStringLiteral(" AND TIPO_REG='")
        + sqlText(SvcTools::PadLeft(header.tipoReg, 4)) + QLatin1Char('\'')
        // Loads and invoices number their ids independently: the voucher tells them apart.
        + QStringLiteral(" AND CPTE_ORIGEN='") + sqlText(header.voucher.origin()) + QLatin1Char('\'');
}

QString journalLineStatement(const JournalHeader &h, const JournalLine &line)
{
    const QString origin = sqlText(h.voucher.origin());
    const QString tc = sqlText(h.voucher.tc);
    return QStringLiteral(
               "INSERT INTO MV_ASIENTOS (FECHA,FECHASUBDIARIO,MES_OPERATIVO,[NUMERO ASIENTO],CUENTA,SECUENCIA,"
               "CABIMPORTE,[DEBE-HABER],IMPORTE,PERIODO,TC,SUCURSAL,NUMERO,LETRA,TIPO_REG,DETALLE,MONEDA,COTIZACION,"
               "IDCAJAS,CPTE_ORIGEN, CABCUENTA,CABNOMBRE,LIVA_TOTAL,LIVA_IMPNETONGRAV,LIVA_IMPNETOGRAV,LIVA_IMPIVA,"
               "LIVA_ALICIVA,CABCONDIVA,LIVA_TIPO,CABCUIT,Transmision) ")
        + QStringLiteral(" VALUES('") + sqlText(h.date) + QStringLiteral("','") + sqlText(h.date)
        + QStringLiteral("','") + sqlText(h.month) + QStringLiteral("',") + h.entryNumber + QStringLiteral(",'")
        + sqlText(line.account) + QStringLiteral("',") + QString::number(line.secuencia) + QLatin1Char(',')
        + amount(h.total) + QStringLiteral(",'") + sqlText(line.side) + QStringLiteral("',") + amount(line.amount)
        + QStringLiteral(",'") + sqlText(h.period) + QStringLiteral("','") + tc + QStringLiteral("','")
        + sqlText(h.voucher.sucursal) + QStringLiteral("','") + sqlText(h.voucher.numero) + QStringLiteral("','")
        + sqlText(h.voucher.letra) + QStringLiteral("','") + sqlText(h.tipoReg) + QStringLiteral("','*KTZ*") + tc
        + QLatin1Char(' ') + origin + QStringLiteral("','   1',1,'") + sqlText(h.shift) + QStringLiteral("','")
        + origin + QStringLiteral("','") + sqlText(h.customerAccount) + QStringLiteral("','")
        + sqlText(h.customerName) + QStringLiteral("',") + amount(h.total) + QLatin1Char(',')
        + amount(line.book.nonTaxed) + QLatin1Char(',') + amount(line.book.netTaxed) + QLatin1Char(',')
        + amount(line.book.vat) + QLatin1Char(',') + amount(line.book.rate) + QStringLiteral(",'")
        + sqlText(bookText(line.book.condition)) + QStringLiteral("','") + sqlText(bookText(line.book.type))
        + QStringLiteral("','") + sqlText(h.customerTaxId) + QStringLiteral("',999)");
}

QString customerDetailsInsert(const QString &account)
{
    return QStringLiteral("INSERT INTO MA_CUENTASADIC (CODIGO,CALLE,LOCALIDAD,CPOSTAL,PROVINCIA,TELEFONO,"
                          "NUMERO_DOCUMENTO,IVA,DOCUMENTO_TIPO,IDCOND_CPRA_VTA,OBSERVACIONES,PAIS,IDMOTIVOVTA,CLASE) "
                          "VALUES('")
        + sqlText(account) + QStringLiteral("','','','','   1','','0','   3','   3','   1','','   1','   1',2)");
}

#pragma once
// Shared pieces of the sales tests: an Orva database configured for the
// sales step, KTZ rows written compactly, and the step run as the run
// driver runs it.

#include "sales/salestransfer.h"
#include "support/fixtures.h"

#include <QString>
#include <QStringList>

namespace salestest {

// Orva as a station has it before transferring sales: configuration, IVA
// accounts, the sales account and the gas article.
inline QString orvaBase()
{
    return QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES "
                          "('Digitos_Cuenta', '6', 'DATOS'), ('TITULOCLIENTES', '1120', 'DATOS'), "
                          "('KTZ_FECHADESDE', '2026-03-01', 'DATOS'), ('KTZ_CODIGOGNC', '1-1', 'DATOS'), "
                          "('KTZ_TC', 'FA', 'DATOS'), ('KTZ_TC2', 'FB', 'DATOS'), ('PERIODO', '2026', 'DATOS');\n"
                          "INSERT INTO TA_CUENTASIVA (DFI_IVARI, DFI_IVARNI, DFI_IVACF, DFI_IVARM) "
                          "VALUES ('2110101', '2110102', '2110103', '2110104');\n"
                          "INSERT INTO V_TA_INPUT_VENTAS (IdMotivoVTA, REPUESTOS) VALUES ('   1', '4110101');\n"
                          "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IDUNIDAD) "
                          "VALUES ('                      1-1', 'GNC - GAS NATURAL COMPRIMIDO', '  M3');\n");
}

// An Orva customer with its IVA condition.
inline QString customer(const QString &account, const QString &iva)
{
    return QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('%1', 'Cliente %1');\n"
                          "INSERT INTO MA_CUENTASADIC (CODIGO, IVA) VALUES ('%1', %2);\n")
        .arg(account, iva);
}

// A FAC_OUT row: "ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL,
// NETO_GRAV, IMP_NGRAV, FOUT_TOTIVA, FOUT_IVAPORC, CLI_COD, CLI_NAME,
// CLI_CUIT, FOUT_TURNO".
inline QString invoice(const QString &values)
{
    return QStringLiteral("INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, NETO_GRAV, "
                          "IMP_NGRAV, FOUT_TOTIVA, FOUT_IVAPORC, CLI_COD, CLI_NAME, CLI_CUIT, FOUT_TURNO) VALUES (")
        + values + QStringLiteral(");\n");
}

// A plain invoice of letter B for customer 12, 121 = 100 + 21.
inline QString simpleInvoice(qint64 id, const QString &date, int number, const QString &letter = QStringLiteral("B"))
{
    return invoice(QStringLiteral("%1, '%2', 5, %3, '%4', 121, 100, 0, 21, 21, 12, 'Cliente', '20-1-2', 'TARDE'")
                       .arg(id)
                       .arg(date)
                       .arg(number)
                       .arg(letter));
}

// A FACT_OUT row: "FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID,
// FCOUT_DESCR, FCOUT_CANT, FCOUT_PVENTA, FCOUT_IMP_NGRAV, FCOUT_IVA".
inline QString invoiceLine(const QString &values)
{
    return QStringLiteral("INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, "
                          "FCOUT_CANT, FCOUT_PVENTA, FCOUT_IMP_NGRAV, FCOUT_IVA) VALUES (")
        + values + QStringLiteral(");\n");
}

// A T_CARGAS row: "ID, F_COMP, T_TIPOCARGA, N_COMP, IMP_CARGA, VOL_CARGA,
// N_ITC, N_IVA, N_CLIENTE, HORA, N_PV".
inline QString load(const QString &values)
{
    return QStringLiteral("INSERT INTO T_CARGAS (ID, F_COMP, T_TIPOCARGA, N_COMP, IMP_CARGA, VOL_CARGA, N_ITC, N_IVA, "
                          "N_CLIENTE, HORA, N_PV) VALUES (")
        + values + QStringLiteral(");\n");
}

// A plain load of type 3: 10 = 0.5 non-taxed + 7.8512 net + 1.6488 IVA.
inline QString simpleLoad(qint64 id, const QString &date, int number, const QString &hour = QStringLiteral("10:00:00"))
{
    return load(
        QStringLiteral("%1, '%2', 3, %3, 10, 10, 0.05, 21, 1, '%2 %4', 689.9").arg(id).arg(date).arg(number).arg(hour));
}

// Runs the sales step under the run's handler, as the run driver does; false
// when the operator gave up (the open document was then rolled back).
inline bool runSales(RunFixture &f)
{
    SalesTransfer step;
    return runStepAsDriver(f, step, TransferKind::Ventas);
}

// One column of the journal lines of a voucher origin, in SECUENCIA order.
inline QStringList journalColumn(RunFixture &f, const QString &column, const QString &origin)
{
    QStringList values;
    for (const QVariantMap &row : f.orvaRows(QStringLiteral("SELECT %1 AS V FROM MV_ASIENTOS WHERE CPTE_ORIGEN = '%2' "
                                                            "ORDER BY SECUENCIA")
                                                 .arg(column, origin)))
        values << row.value(QStringLiteral("V")).toString();
    return values;
}

inline int count(RunFixture &f, const QString &sql)
{
    return f.orvaValue(sql).toInt();
}

} // namespace salestest

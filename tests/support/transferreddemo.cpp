#include "support/transferreddemo.h"
#include "support/programrun.h"

namespace {

bool ranClean(const QStringList &arguments, const QString &programFolder, QString *error)
{
    const ProgramResult r = runTraspasor(arguments, programFolder);
    if (r.exitCode != 0)
        *error = arguments.join(QLatin1Char(' ')) + QStringLiteral(": ") + r.err;
    return r.exitCode == 0;
}

} // namespace

bool makeTransferredDemo(const QString &folder, const QString &programFolder, QString *error)
{
    if (qEnvironmentVariable("TRASPASOR_TEST_BIN").isEmpty()) {
        *error = QStringLiteral("TRASPASOR_TEST_BIN is not set");
        return false;
    }
    return ranClean({QStringLiteral("--demo"), folder}, programFolder, error)
        && ranClean({QStringLiteral("@ParametroAdicional=DesdeTimer;@DbName=%1/orva.db;").arg(folder)}, programFolder,
                    error);
}

QString fourOrvaChangesSqlite()
{
    return QStringLiteral(
        // one journalised invoice removed
        "DELETE FROM MV_ASIENTOS WHERE TC = 'FA' AND SUCURSAL = '0005' AND NUMERO = '00001235' AND [NUMERO ASIENTO] = "
        "1002;\n"
        // a fuel load journalised twice
        "INSERT INTO MV_ASIENTOS SELECT * FROM MV_ASIENTOS WHERE SUCURSAL = '0003' AND NUMERO = '00080213' AND [NUMERO "
        "ASIENTO] = 1003;\n"
        // a delivery note's voucher with another total
        "UPDATE V_MV_CPTE SET IMPORTE = 13000 WHERE TC = 'RM' AND IDCOMPROBANTE = '000100000042R';\n"
        // an invoice of the second station that its KTZ does not have
        "CREATE TEMP TABLE extra AS SELECT * FROM MV_ASIENTOS WHERE SUCURSAL = '0007' AND NUMERO = '00000560';\n"
        "UPDATE extra SET NUMERO = '00000999', CPTE_ORIGEN = '000700000999A', [NUMERO ASIENTO] = 1999;\n"
        "INSERT INTO MV_ASIENTOS SELECT * FROM extra;\n");
}

QStringList fourChangedDocuments()
{
    return {QStringLiteral("0 2026-03-02 cargas FA 0003-00080213 B, asiento 1003: doubled"),
            QStringLiteral("0 2026-03-02 facturas FA 0005-00001235 B, asiento 1002: missing"),
            QStringLiteral("0 2026-03-03 remitos RM 0001-00000042 R: amount_differs"),
            QStringLiteral("1 2026-03-03 facturas FA 0007-00000999 A, asiento 1999: not_in_ktz")};
}

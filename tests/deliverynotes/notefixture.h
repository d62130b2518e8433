#pragma once
// KTZ and Orva rows for the delivery-note tests: a configured Orva with the
// "RM" book of point of sale 3, and KTZ notes and lines built from values.

#include <QString>

// Orva: customer prefix 1120 with 6 digits, first date 2026-03-01.
inline QString orvaConfig(const QString &extra = {})
{
    return QStringLiteral("INSERT INTO TA_CONFIGURACION (CLAVE, VALOR, Grupo) VALUES ('Digitos_Cuenta', '6', 'DATOS'), "
                          "('TITULOCLIENTES', '1120', 'DATOS'), ('KTZ_FECHADESDE', '2026-03-01', 'DATOS');\n")
        + extra;
}

// An "RM" number book for letter R (range 1..99999999).
inline QString rmBook(int talonario, int pointOfSale, int counter, const QString &system = QStringLiteral("VENTAS"))
{
    return QStringLiteral("INSERT INTO V_TA_CPTE (CODIGO, TALONARIO, SISTEMA, Letras, R_SUC_DEFAULT, R_ULTIMO_NRO, "
                          "R_NRO_DESDE, R_NRO_HASTA) VALUES ('  RM', %1, '%2', 'R', %3, %4, 1, 99999999);\n")
        .arg(talonario)
        .arg(system)
        .arg(pointOfSale)
        .arg(counter);
}

// The configuration and the "RM"/"VENTAS" book of point of sale 3 (counter 100).
inline QString orvaSetup(const QString &extra = {})
{
    return orvaConfig(rmBook(1, 3, 100)) + extra;
}

// A FAC_OUT row; customer condition and letter as SQL literals ("'EX'", "NULL").
inline QString noteRow(int id, const QString &date, int pointOfSale, int number, const QString &condition = "'RI'",
                       const QString &letter = "'R'")
{
    return QStringLiteral("INSERT INTO FAC_OUT (ID, FOUT_FECHA, FOUT_PVENTA, FOUT_NUM, FOUT_TIPO, TOTAL, NETO_GRAV, "
                          "IMP_NGRAV, FOUT_TOTIVA, CLI_COD, CLI_NAME, CLI_COND) VALUES (%1, '%2', %3, %4, %5, 373, "
                          "300, 10, 63, 27, 'Transportes D''Onofrio', %6);\n")
        .arg(id)
        .arg(date)
        .arg(pointOfSale)
        .arg(number)
        .arg(letter, condition);
}

// The articles the lines name: 10 without internal taxes, 11 with 10.
inline QString articles()
{
    return QStringLiteral("INSERT INTO PRODUCTO (PROD_ID, PROD_RUB, PROD_IMPINT) VALUES (10, 2, 0), (11, 2, 10);\n");
}

// Two lines of note id: 2 LT of article 10 at 121 with 21% IVA, and one unit
// of article 11 at 131 (10 of internal taxes).
inline QString twoLines(int id)
{
    return QStringLiteral("INSERT INTO FACT_OUT (FCOUT_ID, FCOUT_PROD_ID, FCOUT_RUB, FCOUT_UNID, FCOUT_DESCR, "
                          "FCOUT_CANT, FCOUT_PVENTA, FCOUT_NETO, FCOUT_IVA_PORC, FCOUT_TOTAL) VALUES "
                          "(%1, 10, 2, 'LT', 'ACEITE D''ORO', 2, 121, 200, 21, 242), "
                          "(%1, 11, 2, 'UN', 'FILTRO', 1, 131, 100, 21, 131);\n")
        .arg(id);
}

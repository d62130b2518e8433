#pragma once
// Number-book rows for the numbering tests: one letter's columns per row.

#include <QString>

// INSERT of a book of `table` (V_TA_CPTE or TA_Comprobantes) serving
// `letters`, with branch, counter and range for `letter`; `extra` adds
// ", column" / ", value" pairs.
inline QString bookRow(const QString &table, const QString &code, int talonario, const QString &system,
                       const QString &letters, const QString &letter, int branch, int counter, int from, int to,
                       const QString &extraColumns = {}, const QString &extraValues = {})
{
    return QStringLiteral("INSERT INTO %1 (CODIGO, TALONARIO, SISTEMA, Letras, %6_SUC_DEFAULT, %6_ULTIMO_NRO, "
                          "%6_NRO_DESDE, %6_NRO_HASTA%11) VALUES ('%2', %3, '%4', '%5', %7, %8, %9, %10%12);\n")
        .arg(table, code)
        .arg(talonario)
        .arg(system, letters, letter)
        .arg(branch)
        .arg(counter)
        .arg(from)
        .arg(to)
        .arg(extraColumns, extraValues);
}

inline QString book(const QString &code, int talonario, const QString &letters, const QString &letter, int branch,
                    int counter, int from, int to, const QString &extraColumns = {}, const QString &extraValues = {})
{
    return bookRow(QStringLiteral("V_TA_CPTE"), code, talonario, QStringLiteral("VENTAS"), letters, letter, branch,
                   counter, from, to, extraColumns, extraValues);
}

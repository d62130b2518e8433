// The counter update of a stored voucher: the book that holds the voucher's
// number moves its counter for the letter forward to the number given (the
// used number plus one), or hands back the UPDATE that would do it.
//
// A counter never moves backwards, and never on a book that does not hold
// the number: re-running the last transferred day must not make Orva hand
// out a voucher number again, and a number outside every book must not move
// the counter of a book chosen for some earlier voucher.

#include "numbering/bookfields.h"
#include "numbering/numbering.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"
#include "session/valuehelpers.h"

namespace {

// The two tables that hold number books, with the spacing each statement
// gives its TALONARIO condition.
struct BookTable
{
    QString name;
    QString talonarioCondition; // of the book query
    QString statementCondition; // of the statement handed back
};

const BookTable voucherBooks{QStringLiteral("V_TA_CPTE"), QStringLiteral(" AND TALONARIO ="),
                             QStringLiteral(" AND TALONARIO=")};
const BookTable generalBooks{QStringLiteral("TA_Comprobantes"), QStringLiteral(" AND TALONARIO = "),
                             QStringLiteral(" AND TALONARIO =")};

QString bookQuery(const BookTable &table, const QString &tc, const QString &system, qint16 talonario)
{
    return Statement(QStringLiteral("SELECT * FROM {} WHERE CODIGO = {} AND SISTEMA = {}{}{}"))
        .part(table.name)
        .text(bookType(tc))
        .text(system)
        .part(table.talonarioCondition)
        .integer(talonario);
}

// The statement the caller runs itself; it always names V_TA_CPTE.
QString counterStatement(const BookTable &table, const QString &tc, const QString &system, const QString &number,
                         const QString &letter, qint16 talonario)
{
    return Statement(QStringLiteral(" UPDATE V_TA_CPTE SET {}_ULTIMO_NRO = {} WHERE CODIGO = {} AND SISTEMA = {}{}{}"))
        .part(letter)
        .part(number)
        .code(tc, 4)
        .text(system)
        .part(table.statementCondition)
        .integer(talonario);
}

// The counter written into the book row itself, keyed by the row's own
// CODIGO, SISTEMA and TALONARIO.
QString counterUpdate(const BookTable &table, const Recordset &book, const QString &column, const QString &number)
{
    return Statement(
               QStringLiteral("UPDATE {} SET {} = {}, fechahora_modificacion = {} WHERE CODIGO = {} AND SISTEMA = {} "
                              "AND TALONARIO = {}"))
        .part(table.name)
        .part(column)
        .text(number)
        .text(FormatoFechaHora())
        .text(bookText(book, QStringLiteral("CODIGO")))
        .text(bookText(book, QStringLiteral("SISTEMA")))
        .number(bookNumber(book, QStringLiteral("TALONARIO")));
}

} // namespace

void Numbering::ConsultaComprobante(const QString &tc, const QString &system, const QString &branch,
                                    const QString &number, const QString &letter, bool statementOnly,
                                    QString &statement)
{
    ErrorHandling &errors = m_services.errors;
    Log &log = m_services.log;
    ErrorHandling::Scope scope(errors, QStringLiteral("ConsultaComprobante"));
    if (statementOnly)
        statement.clear();
    scope.run([&] {
        QString verdictMessage;
        bool bookFound = false;
        validate(tc, branch, number, letter, verdictMessage, QString(), bookFound);
        const QString sys = system.trimmed();
        const QString voucher = QStringLiteral("%1 sucursal %2 letra %3 (número siguiente %4)")
                                    .arg(tc.trimmed(), branch, letter, number.trimmed());
        const BookTable *table = &voucherBooks;
        Recordset book = m_services.session.OpenRecordset(bookQuery(*table, tc, sys, TalonarioActual));
        if (book.isEmpty()) {
            table = &generalBooks;
            book = m_services.session.OpenRecordset(bookQuery(*table, tc, sys, TalonarioActual));
        }
        if (book.isEmpty()) {
            m_services.message(
                QStringLiteral("Error en grabación del Comprobante, no se ha encontrado el comprobante configurado"),
                QStringLiteral("ATENCION"), MessageIcon::Critical);
            log.warning(QStringLiteral("Sin talonario de %1 en %2 para %3: no se mueve ningún contador.")
                            .arg(tc.trimmed(), sys, voucher));
            return;
        }
        if (!bookFound) {
            log.warning(QStringLiteral("Ningún talonario abarca %1: no se mueve ningún contador. %2")
                            .arg(voucher, verdictMessage.simplified()));
            return;
        }
        QString update, where;
        errors.attempt([&] {
            const QString l = letter.trimmed().isEmpty() ? QStringLiteral("X") : letter.trimmed();
            where = QStringLiteral("%1 talonario %2 (%3)").arg(table->name).arg(TalonarioActual).arg(sys);
            if (SvcTools::ToDouble(bookText(book, letterColumn(l, QStringLiteral("_SUC_DEFAULT"))))
                != SvcTools::ToDouble(branch)) {
                log.info(QStringLiteral("%1 es de otra sucursal que %2: no se mueve su contador.").arg(where, voucher));
                return;
            }
            const QString column = letterColumn(l, QStringLiteral("_ULTIMO_NRO"));
            const QString stored = bookText(book, column);
            if (!(numericValue(number) > numericValue(stored))) {
                log.info(QStringLiteral("%1: el contador %2 ya está en %3; no retrocede a %4.")
                             .arg(where, column, stored, number.trimmed()));
                return;
            }
            if (statementOnly)
                statement = counterStatement(*table, tc, sys, number, l, TalonarioActual);
            else
                update = counterUpdate(*table, book, column, number.trimmed());
        });
        book.close();
        if (!update.isEmpty() && m_services.session.connection().Execute(update))
            log.info(QStringLiteral("%1: contador movido a %2 para %3.").arg(where, number.trimmed(), voucher));
    });
}

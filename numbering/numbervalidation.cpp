// The range check of a voucher number against the book of its type, branch
// and letter. The last book of the branch whose range holds the number
// becomes TalonarioActual; the counter update relies on that choice.

#include "numbering/bookfields.h"
#include "numbering/numbering.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

const QString validLetters = QStringLiteral("A,B,C,E,R,X,M");
const QChar carriageReturn(13);

// A book the operator numbers freely: Modificanumeracion with no range.
bool freeNumbering(const Recordset &book, const QString &letter)
{
    return bookFlag(book, QStringLiteral("Modificanumeracion"))
        && bookNumber(book, letterColumn(letter, QStringLiteral("_NRO_HASTA"))) == 0
        && bookNumber(book, letterColumn(letter, QStringLiteral("_NRO_DESDE"))) == 0;
}

// A date text read as a date; a text that is no date is a type mismatch.
QDateTime dateOf(const QString &text)
{
    const QDateTime moment = parseDateTimeText(text);
    if (!moment.isValid())
        throw RunTimeError(RunError{ErrorNumber::TypeMismatch,
                                    QStringLiteral("No coinciden los tipos: '%1' no es una fecha").arg(text),
                                    {},
                                    {},
                                    {}});
    return moment;
}

// The bound of the book's range that number breaks, told to the operator.
QString rangeMessage(double number, const char *bound, const QString &limit, qint16 talonario)
{
    return QString(carriageReturn) + QStringLiteral("El Número de comprobante (") + plainNumber(number)
        + QStringLiteral(") no respeta el parametro ") + QLatin1String(bound) + QStringLiteral(" del comprobante (")
        + limit + QStringLiteral(") , Nro de Control: ") + QString::number(talonario);
}

} // namespace

bool Numbering::ValidaNumeracion(const QString &tc, const QString &branch, const QString &number, const QString &letter,
                                 QString &message, const QString &dateText)
{
    bool bookFound = false;
    return validate(tc, branch, number, letter, message, dateText, bookFound);
}

bool Numbering::validate(const QString &tc, const QString &branch, const QString &number, const QString &letter,
                         QString &message, const QString &dateText, bool &bookFound)
{
    ErrorHandling &errors = m_services.errors;
    bookFound = false;
    message.clear();
    const double n = numericValue(number);
    const QString l = letter.trimmed();
    if (!validLetters.contains(l, Qt::CaseInsensitive)) {
        message = QStringLiteral(" La letra Informada no es Valida, la misma debe ser ") + validLetters;
        return false;
    }
    const QString type = bookType(tc);
    bool external = false;
    {
        Recordset books = m_services.session.OpenRecordset(
            Statement(QStringLiteral("Select * from v_ta_cpte where codigo = {} and {} = {}"))
                .text(type)
                .part(letterColumn(l, QStringLiteral("_SUC_DEFAULT")))
                .amount(SvcTools::ToCurrency(branch)));
        for (bool stop = false; !stop && !books.eof(); books.moveNext()) {
            errors.attempt([&] {
                external = bookFlag(books, QStringLiteral("Externo"));
                if (external || freeNumbering(books, l)) {
                    stop = true;
                    return;
                }
                if (n >= bookNumber(books, letterColumn(l, QStringLiteral("_NRO_DESDE")))
                    && n <= bookNumber(books, letterColumn(l, QStringLiteral("_NRO_HASTA")))) {
                    TalonarioActual = bookTalonario(books);
                    bookFound = true;
                }
            });
        }
    }
    Recordset book = m_services.session.OpenRecordset(
        Statement(QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = {} and Talonario = {}"))
            .text(type)
            .integer(TalonarioActual));
    if (book.isEmpty()) {
        message = QStringLiteral("Debe configurar la numeracióN de Comprobantes");
        return false;
    }
    bool verdict = false;
    errors.attempt([&] {
        message.clear();
        if (external || freeNumbering(book, l)) {
            verdict = true;
            return;
        }
        verdict = n > 0;
        const QString expiry = bookText(book, QStringLiteral("Vence") + l);
        if (!dateText.isEmpty() && !expiry.isEmpty() && dateOf(expiry) < dateOf(dateText)) {
            message = QStringLiteral("El rango de numeracion del comprobante ") + tc + QStringLiteral(" Control nro: ")
                + QString::number(TalonarioActual)
                + QStringLiteral(" se encuenta vencida...! Debe dar de alta un nuevo talonario para el comprobante ")
                + tc;
            verdict = false;
        }
        const QString from = letterColumn(l, QStringLiteral("_NRO_DESDE"));
        const QString to = letterColumn(l, QStringLiteral("_NRO_HASTA"));
        if (verdict && n < bookNumber(book, from)) {
            message += rangeMessage(n, "NRO DESDE", bookText(book, from), TalonarioActual);
            verdict = false;
        }
        if (verdict && n > bookNumber(book, to)) {
            message += rangeMessage(n, "NRO HASTA", bookText(book, to), TalonarioActual);
            verdict = false;
        }
        message += QString(2, carriageReturn)
            + QStringLiteral("Verifique los datos desde la TABLA DE COMPROBANTES y vuelta a Intentarlo");
    });
    if (verdict)
        message.clear();
    return verdict;
}

// The next number of a voucher type: the first book with numbers left, and
// the journal check that moves a number already journalised past the
// highest journal number.

#include "numbering/bookfields.h"
#include "numbering/numbering.h"
#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

const QString noNumbersLeft = QStringLiteral("Todos los talonarios del comprobante %1 se encuentran utilizados, "
                                             "debe dar de alta un nuevo talonario para el comprobante %1");

// A book's expiry for the letter, when a date is given: the two are compared
// as texts, as the books store them.
bool expired(const Recordset &book, const QString &letter, const QString &dateText)
{
    if (dateText.isEmpty())
        return false;
    const QString expiry = bookText(book, QStringLiteral("Vence") + letter.trimmed()).trimmed();
    return !expiry.isEmpty() && QString::compare(dateText, expiry, Qt::CaseInsensitive) > 0;
}

} // namespace

void Numbering::Obtener_Nro_Comprobante_Contable(const QString &tc, QString &branch, QString &number, QString &letter,
                                                 bool &modifiable, const QString &dateText)
{
    ErrorHandling &errors = m_services.errors;
    ErrorHandling::Scope scope(errors, QStringLiteral("Obtener_Nro_Comprobante_Contable"));
    scope.run([&] {
        bool usedUp = false;
        if (letter.trimmed().isEmpty())
            letter = QStringLiteral("X");
        Recordset books = m_services.session.OpenRecordset(
            Statement(QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO = {} ORDER BY TALONARIO"))
                .text(bookType(tc)));
        if (books.isEmpty()) {
            branch = QStringLiteral("1");
            number = QStringLiteral("1");
            letter = QStringLiteral("X");
            return;
        }
        bool chosen = false;
        for (; !books.eof() && !chosen; books.moveNext()) {
            errors.attempt([&] {
                const QString letters = bookText(books, QStringLiteral("Letras"));
                if (!letters.contains(letter, Qt::CaseInsensitive))
                    letter = letters.left(1);
                const double last = bookNumber(books, letterColumn(letter, QStringLiteral("_ULTIMO_NRO")));
                if (!(last < bookNumber(books, letterColumn(letter, QStringLiteral("_NRO_HASTA"))))) {
                    usedUp = true;
                    return;
                }
                if (expired(books, letter, dateText))
                    return;
                const double suc = bookNumber(books, letterColumn(letter, QStringLiteral("_SUC_DEFAULT")));
                const qint16 talonario = bookTalonario(books);
                const bool mayChange = bookFlag(books, QStringLiteral("Modificanumeracion"));
                branch = formatDigits(plainNumber(suc), 4);
                number = last == 0 ? QStringLiteral("00000001") : formatDigits(plainNumber(last), 8);
                TalonarioActual = talonario;
                modifiable = mayChange;
                usedUp = false;
                chosen = true;
            });
        }
        letter = letter.trimmed();
        if (usedUp)
            m_services.message(noNumbersLeft.arg(tc), QString(), MessageIcon::None);
    });
}

void Numbering::Obtener_Nro_Comprobante(const QString &tc, QString &branch, QString &number, QString &letter,
                                        bool &modifiable, bool checkJournal, const QString &)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("Obtener_Nro_Comprobante"));
    scope.run([&] {
        // The equivalent type is looked up, but numbering goes on with tc itself.
        ObtieneEquivalenciaTC(tc);
        Obtener_Nro_Comprobante_Contable(tc, branch, number, letter, modifiable, QString());
        if (checkJournal && ExisteAsientoComprobante(tc, branch, number, letter))
            moveNumberPastJournal(tc, branch, letter, number);
    });
}

bool Numbering::ExisteAsientoComprobante(const QString &tc, const QString &branch, const QString &number,
                                         const QString &letter)
{
    Recordset entry = m_services.session.OpenRecordset(
        Statement(
            QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE TC = {} AND SUCURSAL = {} AND NUMERO = {} AND LETRA = {}"))
            .code(tc, 4)
            .text(branch)
            .text(number)
            .text(letter));
    return entry.hasRows();
}

void Numbering::moveNumberPastJournal(const QString &tc, const QString &branch, const QString &letter, QString &number)
{
    const RowRead highest = RowRead::of(
        m_services.session,
        Statement(QStringLiteral(
                      "SELECT MAX(NUMERO) AS ULTIMO From MV_ASIENTOS WHERE TC = {} AND SUCURSAL= {} AND LETRA = {}"))
            .text(tc)
            .text(branch)
            .text(letter));
    // A query the operator went past leaves the number as the book gave it.
    if (highest.failed())
        return;
    QString next = QStringLiteral("00000001");
    if (highest.found()) {
        m_services.errors.attempt([&] {
            const QVariant last = highest.row().value(QStringLiteral("Ultimo"));
            if (!last.isNull())
                next = formatDigits(plainNumber(numericValue(SvcTools::NumberText(last).mid(4, 8)) + 1), 8);
        });
    }
    number = next;
}

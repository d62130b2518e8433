#include "services/documenttransaction.h"
#include "services/connection.h"
#include "services/errorhandling.h"
#include "services/log.h"

namespace {

const QString beginText = QStringLiteral("BEGIN TRANSACTION");
const QString commitText = QStringLiteral("COMMIT TRANSACTION");
const QString rollbackText = QStringLiteral("ROLLBACK TRANSACTION");

} // namespace

DocumentTransaction::DocumentTransaction(Connection &orva, const QString &document) : m_orva(orva), m_document(document)
{
    if (m_orva.errors().attempt([&] { m_orva.executeOrThrow(beginText); }))
        m_state = State::Open;
    else
        m_orva.errors().log().error(
            QStringLiteral("No se pudo abrir la transacción de %1: no se escribe nada de él.").arg(m_document));
}

DocumentTransaction::~DocumentTransaction()
{
    if (m_state == State::Open)
        rollback();
}

bool DocumentTransaction::commit()
{
    if (m_state != State::Open)
        return false;
    ErrorHandling &errors = m_orva.errors();
    const bool done = errors.attempt([&] {
        // Some engines end the transaction when its commit fails: a second
        // COMMIT would then succeed on nothing, so it is refused instead.
        if (m_failedAtCommit && !m_orva.inTransaction())
            throw RunTimeError(RunError{ErrorNumber::SqlStatement,
                                        QStringLiteral("La base de datos deshizo la transacción al fallar su COMMIT; "
                                                       "el documento no está en Orva"),
                                        {},
                                        commitText,
                                        {}});
        m_failedAtCommit = true; // until the commit has taken
        m_orva.executeOrThrow(commitText);
        m_failedAtCommit = false;
    });
    if (done) {
        m_state = State::Committed;
        return true;
    }
    rollback();
    return false;
}

void DocumentTransaction::rollback()
{
    // Runs while unwinding too: it never asks the operator and never throws.
    m_state = State::RolledBack;
    Log &log = m_orva.errors().log();
    const QString why = m_failedAtCommit ? QStringLiteral(" (falló su COMMIT: no se cuenta como escrito)") : QString();
    // A rollback refused while the engine still holds the transaction is
    // tried once more: a transaction left open would swallow the next document.
    for (int attempt = 1;; ++attempt) {
        try {
            m_orva.executeOrThrow(rollbackText);
            log.warning(QStringLiteral("Se deshizo la transacción de %1%2.").arg(m_document, why));
            return;
        } catch (const RunTimeError &failure) {
            if (attempt < 2 && m_orva.inTransaction())
                continue;
            log.error(QStringLiteral("No se pudo deshacer la transacción de %1%2: %3; el servidor la descarta al "
                                     "cerrar la conexión.")
                          .arg(m_document, why, failure.error().text()));
        } catch (...) {
            log.error(QStringLiteral("No se pudo deshacer la transacción de %1%2.").arg(m_document, why));
        }
        return;
    }
}

#include "services/errorhandling.h"
#include "services/log.h"
#include "services/operator.h"

#include <iterator>

ErrorHandling::Scope::Scope(ErrorHandling &errors, const QString &procedure, Mode mode) : m_errors(errors)
{
    m_errors.m_scopes.push_back({this, procedure, mode});
}

ErrorHandling::Scope::~Scope()
{
    m_errors.m_scopes.pop_back();
}

QString ErrorHandling::currentProcedure() const
{
    return m_scopes.empty() ? QString() : m_scopes.back().procedure;
}

bool ErrorHandling::mayGoOnAfterFailure() const
{
    auto handler = m_scopes.rbegin();
    while (handler != m_scopes.rend() && handler->mode == Mode::NameOnly)
        ++handler;
    if (handler == m_scopes.rend() || handler->mode == Mode::IgnoreAll)
        return true; // the statement is skipped and the work goes on
    for (auto outer = std::next(handler); outer != m_scopes.rend(); ++outer) {
        if (outer->mode != Mode::NameOnly)
            return true; // a procedure's own handler: its caller goes on after it
    }
    return m_operator && m_operator->isInteractive();
}

void ErrorHandling::endedByGiveUp(const Scope &scope, const RunError &error)
{
    auto own = m_scopes.rbegin();
    while (own != m_scopes.rend() && own->scope != &scope)
        ++own;
    if (own == m_scopes.rend() || !onEndedEarly)
        return;
    for (auto outer = std::next(own); outer != m_scopes.rend(); ++outer) {
        if (outer->mode != Mode::NameOnly) {
            onEndedEarly(error);
            return;
        }
    }
}

ReportChoice ErrorHandling::ReportError(const RunError &error, const QString &procedureName)
{
    RunError named = error;
    named.procedure = procedureName;
    m_log.error(named.text());
    const ReportChoice choice = m_operator ? m_operator->chooseOnError(named) : ChoiceAbort;
    if (choice == ChoiceRetry)
        m_log.info(QStringLiteral("El operador reintenta la sentencia."));
    else if (choice == ChoiceIgnore)
        m_log.info(QStringLiteral("El operador continúa con la sentencia siguiente."));
    else
        m_log.info(QStringLiteral("El operador abandona %1.").arg(procedureName));
    return choice;
}

bool ErrorHandling::attempt(const std::function<void()> &body)
{
    for (;;) {
        try {
            body();
            return true;
        } catch (RunTimeError &failure) {
            RunError error = failure.error();
            if (error.record.isEmpty())
                error.record = m_record;
            // Steps without a handler of their own lend their name to the message.
            const QString named = currentProcedure();
            auto handler = m_scopes.rbegin();
            while (handler != m_scopes.rend() && handler->mode == Mode::NameOnly)
                ++handler;
            if (handler == m_scopes.rend() || handler->mode == Mode::IgnoreAll) {
                // Start-up and the ignored regions skip the failing statement.
                error.procedure = named;
                m_log.warning(QStringLiteral("Se omite: ") + error.text());
                return false;
            }
            const ReportChoice choice = ReportError(error, named.isEmpty() ? handler->procedure : named);
            if (choice == ChoiceRetry)
                continue;
            if (choice == ChoiceIgnore) {
                error.procedure = named.isEmpty() ? handler->procedure : named;
                if (onContinued)
                    onContinued(error);
                return false;
            }
            error.procedure = named;
            throw GiveUp{error, handler->scope};
        }
    }
}

#pragma once
// The one mechanism behind every procedure's error handler: a failing
// statement or conversion is reported to the operator, who chooses to run it
// again (4), to continue after it (5) or to give up (anything else). Giving up
// unwinds, as a GiveUp, to the procedure whose handler was asked.

#include "services/errors.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

class Log;
class Operator;

class ErrorHandling
{
public:
    enum class Mode {
        Handle,    // the procedure installs a handler: the operator decides
        NameOnly,  // names the procedure in messages; the enclosing handler decides
        IgnoreAll, // errors in this region are logged and the statement is skipped
    };

    // A procedure's handler, installed for the lifetime of the object.
    class Scope
    {
    public:
        Scope(ErrorHandling &errors, const QString &procedure, Mode mode = Mode::Handle);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

        // Whether a GiveUp was raised by this scope's handler.
        bool owns(const GiveUp &giveUp) const { return giveUp.scope == this; }

        // Runs the procedure's body under this handler and returns what it
        // returns. When the operator gives up at this handler, the procedure
        // ends as its contract says: with onGiveUp, a value or a function of
        // the GiveUp (nothing for a body that returns nothing). A give-up at
        // an outer handler propagates.
        template <typename Body> void run(Body &&body)
        {
            run(std::forward<Body>(body), [](const GiveUp &) {});
        }
        template <typename Body, typename OnGiveUp> auto run(Body &&body, OnGiveUp &&onGiveUp) -> decltype(body())
        {
            try {
                return body();
            } catch (const GiveUp &giveUp) {
                if (!owns(giveUp))
                    throw;
                m_errors.endedByGiveUp(*this, giveUp.error);
                if constexpr (std::is_invocable_v<OnGiveUp, const GiveUp &>)
                    return onGiveUp(giveUp);
                else
                    return onGiveUp;
            }
        }

    private:
        ErrorHandling &m_errors;
    };

    ErrorHandling(Log &log) : m_log(log) {}

    void setOperator(Operator *op) { m_operator = op; }
    Operator *operatorUi() const { return m_operator; }
    Log &log() { return m_log; }

    // SvcTools.ReportError: tells the operator about the error raised in
    // procedureName and returns the choice. Always logged.
    ReportChoice ReportError(const RunError &error, const QString &procedureName);

    // Runs body. A RunTimeError raised inside goes to the innermost handler:
    // retry runs body again, continue returns false, give up throws GiveUp.
    // Returns true when body ran to its end.
    bool attempt(const std::function<void()> &body);

    // Whether a failed statement could be followed by further statements of
    // the same transaction: false only when the handler that decides is the
    // outermost one (the run's) and the operator gives up on every error
    // (unattended), so that the run's clean-up rolls the transaction back.
    bool mayGoOnAfterFailure() const;

    // The source record being transferred; named in every error message.
    void setRecord(const QString &record) { m_record = record; }
    QString record() const { return m_record; }

    // The innermost named procedure ("" outside every scope).
    QString currentProcedure() const;

    // Told of every error the operator chose to continue past (the record
    // being transferred then misses what the statement would have written).
    std::function<void(const RunError &)> onContinued;
    // Told of every error the operator gave up on at the handler of a
    // procedure whose caller goes on after it (the procedure ended early, as
    // its contract says; the record being transferred misses the rest of it).
    std::function<void(const RunError &)> onEndedEarly;

    // A give-up owned by scope ended its procedure: told to onEndedEarly
    // when an outer handler exists (the caller goes on).
    void endedByGiveUp(const Scope &scope, const RunError &error);

private:
    struct Entry
    {
        const Scope *scope;
        QString procedure;
        Mode mode;
    };
    std::vector<Entry> m_scopes;
    Log &m_log;
    Operator *m_operator = nullptr;
    QString m_record;
};

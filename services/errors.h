#pragma once
// Run-time errors and the operator's choices: one error type for everything
// that the operator must decide on (retry / continue / give up).

#include <QString>
#include <exception>

// The operator's answers to a run-time error.
enum ReportChoice { ChoiceAbort = 3, ChoiceRetry = 4, ChoiceIgnore = 5 };

// Error numbers the run treats specially.
namespace ErrorNumber {
constexpr int ConnectionFailure = -2147467259; // the connection itself failed
constexpr int SqlStatement = -2147217900;      // a statement the database rejected
constexpr int InvalidUseOfNull = 94;           // a Null where a text or number is needed
constexpr int TypeMismatch = 13;               // a value that is no number or date
constexpr int FileAccess = 75;
} // namespace ErrorNumber

// What went wrong, where, and on which source record.
struct RunError
{
    int number = 0;
    QString description;
    QString procedure; // filled in by the error handling from the innermost scope
    QString statement; // the failing statement, when there is one
    QString record;    // the source record being transferred, when there is one

    // One line for logs and message boxes: never holds a password.
    QString text() const;
};

// Thrown where a statement or a conversion fails; caught by the error handling.
class RunTimeError : public std::exception
{
public:
    explicit RunTimeError(RunError error) : m_error(std::move(error)) {}
    const RunError &error() const { return m_error; }
    RunError &error() { return m_error; }
    const char *what() const noexcept override { return "run-time error"; }

private:
    RunError m_error;
};

// Thrown when the operator gives up: unwinds to the procedure whose handler
// was asked (identified by its scope), which then ends as its contract says.
struct GiveUp
{
    RunError error;
    const void *scope = nullptr;
};

// Raises the "invalid use of Null" error for a value that has no text form.
[[noreturn]] void throwNullError(const QString &what);

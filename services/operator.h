#pragma once
// The operator as the transfer logic sees it: questions and messages, never
// widgets. The desktop windows, the console of unattended runs and the tests'
// scripted operator each implement it.

#include "services/errors.h"

#include <QString>

enum class MessageIcon { None, Information, Question, Warning, Critical };

class Operator
{
public:
    virtual ~Operator() = default;

    // A run-time error: give up, retry or continue.
    virtual ReportChoice chooseOnError(const RunError &error) = 0;

    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const QString &text, const QString &title, MessageIcon icon, bool defaultYes) = 0;

    // A message with an OK button.
    virtual void showMessage(const QString &text, const QString &title, MessageIcon icon) = 0;

    // False for unattended runs: nobody is there to answer.
    virtual bool isInteractive() const = 0;
};

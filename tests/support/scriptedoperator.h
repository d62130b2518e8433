#pragma once
// The tests' operator: answers from a script, remembers what it was told.

#include "services/operator.h"

#include <QList>
#include <QStringList>
#include <functional>

class ScriptedOperator : public Operator
{
public:
    QList<int> errorChoices;    // taken in order (a ReportChoice's number); give up when empty
    QList<bool> yesNoAnswers;   // taken in order; the default answer when empty
    QList<RunError> errorsSeen; // every error reported
    QStringList messages;       // "title|text" of every message box and question
    // Runs at every error before the answer is taken (a test mends a fault here).
    std::function<void(const RunError &)> onError;

    ReportChoice chooseOnError(const RunError &error) override;
    bool askYesNo(const QString &text, const QString &title, MessageIcon icon, bool defaultYes) override;
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override;
    bool isInteractive() const override { return true; }
};

#pragma once
// The operator of unattended runs: nobody answers, so every question takes
// its default answer, every error gives up and every message goes to the log.

#include "services/operator.h"

class Log;

class ConsoleOperator : public Operator
{
public:
    explicit ConsoleOperator(Log &log) : m_log(log) {}
    ReportChoice chooseOnError(const RunError &error) override;
    bool askYesNo(const QString &text, const QString &title, MessageIcon icon, bool defaultYes) override;
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override;
    bool isInteractive() const override { return false; }

private:
    Log &m_log;
};

#pragma once
// The operator at the desktop: message boxes for errors (Abort / Retry /
// Ignore), Yes/No questions and plain messages.

#include "services/operator.h"

class DesktopOperator : public Operator
{
public:
    // A modal box with the error, the procedure, the source record and the
    // statement (passwords removed); returns 3 (Abort, also when the box is
    // closed), 4 (Retry) or 5 (Ignore).
    ReportChoice chooseOnError(const RunError &error) override;

    // A modal Yes/No box; true for Yes. Closing the box answers the default.
    bool askYesNo(const QString &text, const QString &title, MessageIcon icon, bool defaultYes) override;

    // A modal box with an OK button.
    void showMessage(const QString &text, const QString &title, MessageIcon icon) override;

    bool isInteractive() const override { return true; }
};

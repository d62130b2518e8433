#include "services/sharedservices.h"

void SharedServices::message(const QString &text, const QString &title, MessageIcon icon)
{
    log.warning(QStringLiteral("%1: %2").arg(title, text));
    if (Operator *op = operatorUi())
        op->showMessage(text, title, icon);
}

#include "services/redact.h"

#include <QRegularExpression>

QString redactPasswords(const QString &text)
{
    static const QRegularExpression entry(QStringLiteral("((?:pwd|password)\\s*=)[^;]*"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString result = text;
    result.replace(entry, QStringLiteral("\\1***"));
    return result;
}

#include "numbering/bookfields.h"
#include "services/svctools.h"
#include "session/valuehelpers.h"

QString bookType(const QString &tc)
{
    return SvcTools::PadLeft(tc.trimmed(), 4);
}

QString letterColumn(const QString &letter, const QString &suffix)
{
    return letter.trimmed() + suffix;
}

QString bookText(const Recordset &book, const QString &column)
{
    return SvcTools::FieldText(book.value(column));
}

double bookNumber(const Recordset &book, const QString &column)
{
    return numericValue(bookText(book, column));
}

bool bookFlag(const Recordset &book, const QString &column)
{
    const QVariant value = book.value(column);
    if (value.isNull())
        return false;
    return EsVerdadero(SvcTools::NumberText(value));
}

qint16 bookTalonario(const Recordset &book)
{
    return toInt16(bookNumber(book, QStringLiteral("Talonario")));
}

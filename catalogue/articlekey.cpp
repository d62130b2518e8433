#include "catalogue/articlekey.h"
#include "services/svctools.h"

QString articleKey(const QVariant &articleNumber, const QVariant &category)
{
    return SvcTools::PadLeft(SvcTools::FieldText(articleNumber) + QLatin1Char('-') + SvcTools::FieldText(category),
                             ArticleKeyWidth);
}

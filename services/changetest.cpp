#include "services/changetest.h"
#include "services/svctools.h"

bool textDiffers(const QVariant &stored, const QVariant &fresh)
{
    if (!stored.isValid() || stored.isNull() || !fresh.isValid() || fresh.isNull())
        return false;
    return !sameText(SvcTools::NumberText(stored), SvcTools::NumberText(fresh));
}

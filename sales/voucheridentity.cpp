#include "sales/voucheridentity.h"
#include "run/runcontext.h"
#include "services/svctools.h"

QString voucherType(RunContext &context)
{
    return voucherType(context.session, context.SourcePass);
}

QString voucherType(Session &session, int pass)
{
    return session.Cfg(pass == 0 ? QStringLiteral("KTZ_TC") : QStringLiteral("KTZ_TC2"));
}

VoucherIdentity voucherOf(const SalesDocument &doc, const QString &tc)
{
    return VoucherIdentity{tc, formatDigits(doc.branch, 4), formatDigits(doc.number, 8), doc.letter};
}

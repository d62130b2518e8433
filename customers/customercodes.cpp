#include "customers/customercodes.h"
#include "services/sharedservices.h"
#include "services/svctools.h"

namespace {

const QString defaultCode = QStringLiteral("   1");

// The text without its leading and trailing blanks.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

struct TaxConditionRow
{
    const char *condition;
    TaxConditionCodes codes;
};

} // namespace

TaxConditionCodes taxConditionCodes(const QString &condition)
{
    static const TaxConditionRow table[] = {
        {"CONSUMIDOR FINAL", {QStringLiteral("   3"), QStringLiteral("   3")}},
        {"OTROS", {QStringLiteral("   3"), QStringLiteral("   3")}},
        {"RESP. INSCRIP.", {QStringLiteral("   1"), QStringLiteral("   1")}},
        {"MONOTRIBUTO", {QStringLiteral("   5"), QStringLiteral("   1")}},
    };
    const QString key = trimBlanks(condition.toUpper());
    for (const TaxConditionRow &row : table) {
        if (sameText(key, QLatin1String(row.condition)))
            return row.codes;
    }
    return {QStringLiteral("   3"), QStringLiteral("   1")};
}

CustomerCodes ObtieneCodigosCliente(RunContext &context, const Recordset &customer)
{
    ErrorHandling &errors = context.svc.errors;
    ErrorHandling::Scope named(errors, QStringLiteral("ObtieneCodigosCliente"), ErrorHandling::Mode::NameOnly);
    CustomerCodes codes;
    errors.attempt([&] {
        const QString province =
            SvcTools::ValueText(customer.value(QStringLiteral("T_CLI_PRO")), QStringLiteral("T_CLI_PRO"));
        codes.province =
            context.svc.session.LookupValue(QStringLiteral("TA_ESTADOS"), trimBlanks(province.toUpper()),
                                            QStringLiteral("CODIGO"), QStringLiteral("DESCRIPCION"), 8, QString());
    });
    if (codes.province.isEmpty() || codes.province == QLatin1String("0"))
        codes.province = defaultCode;
    QString condition;
    errors.attempt([&] { condition = SvcTools::FieldText(customer.value(QStringLiteral("T_CLI_CONTRIB"))); });
    codes.tax = taxConditionCodes(condition);
    return codes;
}

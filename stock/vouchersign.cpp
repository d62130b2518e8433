// The stock sign of a voucher type, from its definition in V_TA_CPTE.

#include "services/sharedservices.h"
#include "services/svctools.h"
#include "stock/clscmncptes.h"
#include "stock/stockvalues.h"

namespace {

const QString SignTitle = QStringLiteral("Aviso al operador!!!");

} // namespace

qint16 ClsCmnCptes::ObtieneSignoComprobante(const QString &tc, bool LibroIVA)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("ObtieneSignoComprobante%"));
    qint16 sign = 0;
    try {
        Recordset type = m_services.session.OpenRecordset(QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO='")
                                                          + sqlText(voucherCode(tc)) + QLatin1Char('\''));
        if (!type.isOpen())
            return sign;
        if (type.isEmpty()) {
            m_services.message(QStringLiteral("El Tipo de Comprobante informado no existe en la tabla de comprobantes"),
                               SignTitle, MessageIcon::Critical);
            return sign;
        }
        if (LibroIVA) {
            m_services.errors.attempt([&] {
                const QVariant value = type.value(QStringLiteral("Signo"));
                sign = value.isNull() ? 1 : toInt16(doubleOf(value, QStringLiteral("Signo")));
            });
            return sign;
        }
        QString direction;
        m_services.errors.attempt([&] { direction = SvcTools::FieldText(type.value(QStringLiteral("ES"))); });
        if (sameText(direction, QStringLiteral("E")))
            sign = 1;
        else if (sameText(direction, QStringLiteral("S")))
            sign = -1;
        else
            m_services.message(
                QStringLiteral("El Tipo de Comprobante informado no Tiene informado el signo, o no afecta Stock"),
                SignTitle, MessageIcon::Critical);
    } catch (const GiveUp &giveUp) {
        if (!scope.owns(giveUp))
            throw;
    }
    return sign;
}

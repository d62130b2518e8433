// The stock sign of a voucher type, from its definition in V_TA_CPTE.

#include "services/keyedrow.h"
#include "services/sharedservices.h"
#include "services/statement.h"
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
    return scope.run(
        [&]() -> qint16 {
            const QString sql =
                Statement(QStringLiteral("SELECT * FROM V_TA_CPTE WHERE CODIGO={}")).text(voucherCode(tc));
            // A sign found is held for the run; a type without one is read (and
            // reported) again each time.
            RunCache &held = m_services.session.connection().runCache();
            const QString heldKey = sql + (LibroIVA ? QStringLiteral(" Signo") : QStringLiteral(" ES"));
            if (const QVariant *heldSign = held.find(VoucherDefinitions, heldKey))
                return qint16(heldSign->toInt());
            const RowRead type = RowRead::of(m_services.session, sql);
            if (type.failed())
                return sign;
            if (!type.found()) {
                m_services.message(
                    QStringLiteral("El Tipo de Comprobante informado no existe en la tabla de comprobantes"), SignTitle,
                    MessageIcon::Critical);
                return sign;
            }
            if (LibroIVA) {
                if (m_services.errors.attempt([&] {
                        const QVariant value = type.row().value(QStringLiteral("Signo"));
                        sign = value.isNull() ? 1 : toInt16(doubleOf(value, QStringLiteral("Signo")));
                    }))
                    held.store(VoucherDefinitions, heldKey, sign);
                return sign;
            }
            QString direction;
            const bool read = m_services.errors.attempt(
                [&] { direction = SvcTools::FieldText(type.row().value(QStringLiteral("ES"))); });
            if (sameText(direction, QStringLiteral("E")))
                sign = 1;
            else if (sameText(direction, QStringLiteral("S")))
                sign = -1;
            if (read && sign != 0)
                held.store(VoucherDefinitions, heldKey, sign);
            if (sign == 0)
                m_services.message(
                    QStringLiteral("El Tipo de Comprobante informado no Tiene informado el signo, o no afecta Stock"),
                    SignTitle, MessageIcon::Critical);
            return sign;
        },
        [&](const GiveUp &) { return sign; });
}

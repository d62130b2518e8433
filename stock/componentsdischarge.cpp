// The components discharge: an outgoing voucher also takes the components of
// its composed articles out of stock, under an internal "PE" voucher whose
// movements point back to the voucher that caused them.

#include "numbering/numbering.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"
#include "session/session.h"
#include "stock/clscmncptes.h"
#include "stock/stockcall.h"
#include "stock/stockmovements.h"
#include "stock/stockvalues.h"

namespace {

const QString InternalType = QStringLiteral("PE");

} // namespace

void ClsCmnCptes::DescargaInsumos(StockCall &call)
{
    // Components may leave stock at production time instead.
    if (isSi(m_session.Cfg(QStringLiteral("DescargaInsumosProduccion"))))
        return;
    QString branch = QStringLiteral("0001");
    QString letter = QStringLiteral("X");
    call.peNumber = m_stock.AsignarNumeroComprobante(InternalType, branch, letter);
    // Without a number the components cannot be told apart from another
    // voucher's: none are written.
    if (call.peNumber.trimmed().isEmpty()) {
        m_services.log.warning(QStringLiteral("Sin número de comprobante PE: no se descargan los insumos de %1 %2")
                                   .arg(call.request.tc.trimmed(), call.request.SucNroLetra));
        return;
    }
    call.peSecuencia = 0;
    const QList<StockLine> &lines = call.request.lines;
    for (int line = 0; line < lines.size(); ++line) {
        if (!lineQualifies(lines.at(line)))
            continue;
        const QString composed = lines.at(line).article.trimmed();
        QList<ArticuloCantidad> components;
        if (!m_stock.IdArticuloTieneInsumos(composed, components, false))
            continue;
        for (const ArticuloCantidad &component : std::as_const(components)) {
            if (!dischargeComponent(call, line, component, lines.at(line).quantity.toDouble()))
                return;
        }
    }
    if (call.peSecuencia > 0)
        movePeCounter(call);
}

bool ClsCmnCptes::dischargeComponent(StockCall &call, int line, const ArticuloCantidad &component, double lineQuantity)
{
    const QString code = LimpiaTexto(component.code);
    if (code.isEmpty())
        return true;
    const double need = lineQuantity * component.quantity;
    QList<ArticuloCantidad> lots;
    // Lots are drawn from the voucher's deposit, whatever deposit the line names.
    const bool hasLots = m_stock.ArticuloTieneLotes(code, call.result.IdDeposito, lots, need);
    // Without lots, the first entry holds the whole need.
    const QList<ArticuloCantidad> drawn = hasLots ? lots : lots.mid(0, 1);
    for (const ArticuloCantidad &lot : drawn) {
        ++call.peSecuencia;
        FieldList movement;
        const bool built = m_services.errors.attempt([&] {
            movement = componentMovement(call, call.request.lines.at(line), code, component.unit, lot, hasLots);
        });
        if (built && !writeMovement(call, movement, line)) {
            call.result.refusedComponent = code;
            return false;
        }
    }
    return true;
}

FieldList ClsCmnCptes::componentMovement(StockCall &call, const StockLine &line, const QString &component,
                                         const QString &unit, const ArticuloCantidad &lot, bool hasLots)
{
    FieldList fields;
    const auto add = [&](const char *field, const QString &value) {
        fields << qMakePair(QString::fromLatin1(field), value);
    };
    SvcSession &session = m_services.session;

    addVoucherFields(fields, call, InternalType, call.peNumber, call.peSecuencia);
    add("IdDeposito", depositField(call, line, false));
    add("IdArticulo", SqlLiteral::code(component, 25));
    add("Descripcion", textWithoutQuotes(articleColumn(session, component, QStringLiteral("DESCRIPCION"))));
    if (hasLots)
        add("NroLote", SqlLiteral::text(lot.code));
    add("IdUnidad", unitLiteral(LimpiaTexto(unit)));
    add("Cantidad", SqlLiteral::number(lot.quantity * call.sign));
    add("CuentaProveedor", accountLiteral(call, component));
    add("IdMotivoStock", call.result.IdMotivoStock);
    add("PrecioVenta", SqlLiteral::number(0));
    add("Costo", SqlLiteral::amount(SvcTools::ToCurrency(articleColumn(session, component, QStringLiteral("Costo")))));
    add("Tc_Origen", SqlLiteral::text(call.request.tc));
    add("IdComprobante_Origen", SqlLiteral::text(call.request.SucNroLetra));
    add("ControladoPor", SqlLiteral::text(line.article.trimmed()));
    return fields;
}

void ClsCmnCptes::movePeCounter(StockCall &call)
{
    // The next number is written with a sign position: 16 becomes " 16".
    const qint64 next = qint64(numericValue(call.peNumber.mid(4, 8))) + 1;
    QString statement;
    m_numbering.ConsultaComprobante(InternalType, QStringLiteral("STOCK"), call.peNumber.mid(0, 4),
                                    QLatin1Char(' ') + QString::number(next), call.peNumber.mid(12, 1), true,
                                    statement);
    // No statement: the book holding the number was not found, or its
    // counter is already past it (the numbering logs which).
    if (statement.isEmpty())
        return;
    Connection &orva = m_services.session.connection();
    runStatement(call, statement, -1, [&] { orva.executeOrThrow(statement); });
}

// The components discharge: an outgoing voucher also takes the components of
// its composed articles out of stock, under an internal "PE" voucher whose
// movements point back to the voucher that caused them.

#include "numbering/numbering.h"
#include "services/sharedservices.h"
#include "services/svctools.h"
#include "session/session.h"
#include "stock/clscmncptes.h"
#include "stock/stockcall.h"
#include "stock/stockvalues.h"

namespace {

const QString InternalType = QStringLiteral("PE");

bool rowQualifies(const VoucherGrid &grid, int row)
{
    return !SvcTools::ToCurrency(grid.TextMatrix(row, 5)).isZero() && !grid.TextMatrix(row, 0).trimmed().isEmpty();
}

} // namespace

void ClsCmnCptes::DescargaInsumos(StockCall &call, const VoucherGrid &grid)
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
                                   .arg(call.tc.trimmed(), call.SucNroLetra));
        return;
    }
    call.peSecuencia = 0;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (!rowQualifies(grid, row))
            continue;
        const QString composed = grid.TextMatrix(row, 0).trimmed();
        const double rowQuantity = SvcTools::ToCurrency(grid.TextMatrix(row, 5)).toDouble();
        QList<ArticuloCantidad> components;
        if (!m_stock.IdArticuloTieneInsumos(composed, components, false))
            continue;
        for (const ArticuloCantidad &component : std::as_const(components)) {
            if (!dischargeComponent(call, grid, row, component, rowQuantity))
                return;
        }
    }
    if (call.peSecuencia > 0)
        movePeCounter(call);
}

bool ClsCmnCptes::dischargeComponent(StockCall &call, const VoucherGrid &grid, int row,
                                     const ArticuloCantidad &component, double rowQuantity)
{
    const QString code = LimpiaTexto(component.code);
    if (code.isEmpty())
        return true;
    const double need = rowQuantity * component.quantity;
    QList<ArticuloCantidad> lots;
    // Lots are drawn from the voucher's deposit, whatever deposit the row names.
    const bool hasLots = m_stock.ArticuloTieneLotes(code, call.IdDeposito, lots, need);
    // Without lots, the first entry holds the whole need.
    const QList<ArticuloCantidad> drawn = hasLots ? lots : lots.mid(0, 1);
    for (const ArticuloCantidad &lot : drawn) {
        ++call.peSecuencia;
        QString statement;
        const bool built = m_services.errors.attempt([&] {
            fillComponentMovement(call, grid, row, code, component.unit, lot, hasLots);
            statement = SvcSession::BuildInsert(QStringLiteral("INSERT INTO V_MV_STOCK"), StockFieldList);
        });
        if (built && !writeStatement(call, statement))
            return false;
    }
    return true;
}

void ClsCmnCptes::fillComponentMovement(StockCall &call, const VoucherGrid &grid, int row, const QString &component,
                                        const QString &unit, const ArticuloCantidad &lot, bool hasLots)
{
    const auto add = [&](const char *field, const QString &value) {
        StockFieldList << qMakePair(QString::fromLatin1(field), value);
    };
    const QString text = QStringLiteral("'");
    SvcSession &session = m_services.session;

    StockFieldList.clear();
    addVoucherFields(call, InternalType, call.peNumber, call.peSecuencia);
    add("IdDeposito", depositField(call, grid, row, false));
    add("IdArticulo", SvcSession::NumberToSql(SvcTools::PadLeft(component, 25), text));
    add("Descripcion", textWithoutQuotes(articleColumn(session, component, QStringLiteral("DESCRIPCION"))));
    if (hasLots)
        add("NroLote", SvcSession::NumberToSql(SvcTools::NumberText(lot.code), text));
    add("IdUnidad", unitLiteral(LimpiaTexto(unit)));
    add("Cantidad", SvcSession::NumberToSql(lot.quantity * call.sign, QStringLiteral("@")));
    add("CuentaProveedor", accountLiteral(call, component));
    add("IdMotivoStock", call.IdMotivoStock);
    add("PrecioVenta", SvcSession::NumberToSql(QStringLiteral("0"), QStringLiteral("@")));
    add("Costo", amountLiteral(SvcTools::ToCurrency(articleColumn(session, component, QStringLiteral("Costo")))));
    add("Tc_Origen", SvcSession::NumberToSql(call.tc, text));
    add("IdComprobante_Origen", SvcSession::NumberToSql(call.SucNroLetra, text));
    add("ControladoPor", SvcSession::NumberToSql(grid.TextMatrix(row, 0).trimmed(), text));
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
    writeStatement(call, statement);
}

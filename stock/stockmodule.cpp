#include "stock/stockmodule.h"
#include "numbering/numbering.h"
#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"

namespace {

// The stock movements of a voucher type: those of this engine carry the type
// right-aligned to 4 characters, others may carry it as given; both count.
QString typeCondition(const QString &tc)
{
    const QString aligned = SvcTools::PadLeft(tc.trimmed(), 4);
    const QString condition = Statement(QStringLiteral("TC = {}")).text(tc);
    if (aligned == tc)
        return condition;
    return Statement(QStringLiteral("({} OR TC = {})")).part(condition).text(aligned);
}

} // namespace

Stock::Stock(SharedServices &services, Numbering &numbering) : m_services(services), m_numbering(numbering)
{}

QString Stock::AsignarNumeroComprobante(const QString &tc, QString &branch, QString &letter)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("AsignarNumeroComprobante"));
    return scope.run(
        [&]() -> QString {
            QString number;
            bool modifiable = false;
            m_numbering.Obtener_Nro_Comprobante(tc, branch, number, letter, modifiable, true, QString());
            Recordset used = m_services.session.OpenRecordset(
                Statement(QStringLiteral("SELECT TC,IDCOMPROBANTE From V_MV_STOCK WHERE {} AND IDCOMPROBANTE = {}"))
                    .part(typeCondition(tc))
                    .text(branch + number + letter));
            if (used.hasRows())
                number = nextUnusedNumber(tc, branch, letter);
            return branch + number + letter;
        },
        QString());
}

QString Stock::nextUnusedNumber(const QString &tc, const QString &branch, const QString &letter)
{
    Recordset highest = m_services.session.OpenRecordset(
        Statement(QStringLiteral("SELECT MAX(IDCOMPROBANTE) AS ULTIMO From V_MV_STOCK WHERE {} AND "
                                 "SUBSTRING(IDCOMPROBANTE, 1, 4)= {} AND SUBSTRING(IDCOMPROBANTE, 13, 1)= {}"))
            .part(typeCondition(tc))
            .text(branch)
            .text(letter));
    QString next = QStringLiteral("00000001");
    if (!highest.hasRows())
        return next;
    m_services.errors.attempt([&] {
        const QVariant last = highest.value(QStringLiteral("Ultimo"));
        if (last.isNull())
            return;
        const double value = numericValue(SvcTools::FieldText(last).mid(4, 8)) + 1;
        next = formatDigits(plainNumber(value), 8);
    });
    return next;
}

bool Stock::IdArticuloTieneInsumos(const QString &article, QList<ArticuloCantidad> &components, bool checkOnly)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("IdArticuloTieneInsumos"));
    bool found = false;
    return scope.run(
        [&]() -> bool {
            Recordset rows = m_services.session.OpenRecordset(
                Statement(QStringLiteral("SELECT * FROM V_MA_INSUMOS WHERE IDARTICULO = {}"))
                    .code(article.trimmed(), 25));
            components = {ArticuloCantidad()};
            found = rows.hasRows();
            if (!found || checkOnly)
                return found;
            for (; !rows.eof(); rows.moveNext()) {
                m_services.errors.attempt([&] {
                    ArticuloCantidad &entry = components.last();
                    entry.setCode(SvcTools::FieldText(rows.value(QStringLiteral("IdArticuloInsumo"))));
                    entry.setUnit(SvcTools::FieldText(rows.value(QStringLiteral("IdUnidadInsumo"))));
                    entry.quantity = SvcTools::ToDouble(SvcTools::FieldText(rows.value(QStringLiteral("Cantidad"))));
                });
                components.append(ArticuloCantidad());
            }
            return found;
        },
        [&](const GiveUp &) { return found; });
}

bool Stock::ArticuloTieneLotes(const QString &article, const QString &deposit, QList<ArticuloCantidad> &lots,
                               double needed)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("ArticuloTieneLotes"));
    bool found = false;
    scope.run([&] {
        // The deposit comes as an SQL literal ('   1') and is placed as such.
        Recordset rows = m_services.session.OpenRecordset(
            Statement(
                QStringLiteral(
                    "SELECT * FROM STK_SERIES_Y_LOTES WHERE IdArticulo = {} AND CANTIDAD > 0  AND IDDEPOSITO = {} "
                    "ORDER BY NROLOTE"))
                .code(article, 25)
                .literal(SvcTools::PadLeft(deposit.trimmed(), 4)));
        lots = {ArticuloCantidad()};
        double drawn = 0;
        found = rows.hasRows();
        for (; found && !rows.eof(); rows.moveNext()) {
            ArticuloCantidad &entry = lots.last();
            double available = 0;
            m_services.errors.attempt([&] {
                entry.setCode(SvcTools::FieldText(rows.value(QStringLiteral("NroLote"))));
                available = SvcTools::ToDouble(SvcTools::FieldText(rows.value(QStringLiteral("Cantidad"))));
            });
            if (drawn + available > needed) {
                entry.quantity = needed - drawn;
                drawn = needed;
                break;
            }
            entry.quantity = available;
            drawn += available;
            lots.append(ArticuloCantidad());
        }
        if (!found)
            lots.first().quantity = needed;
        if (needed > drawn) {
            ArticuloCantidad rest;
            rest.quantity = needed - drawn;
            lots.append(rest);
        }
    });
    return found;
}

QString LimpiaTexto(const QString &text)
{
    return SvcTools::RemoveText(text, QString(QChar(0)), QString(QChar(0xFF)), QStringLiteral("\n")).trimmed();
}

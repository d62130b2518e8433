// ActualizaStock: the lines of a voucher become signed stock movements
// (V_MV_STOCK), one per line or one per lot and serial of a line.

#include "services/sharedservices.h"
#include "services/statement.h"
#include "services/svctools.h"
#include "session/session.h"
#include "stock/clscmncptes.h"
#include "stock/stockcall.h"
#include "stock/stockmovements.h"
#include "stock/stockvalues.h"

namespace {

// An origin taken from each line instead.
const QString LineOrigin = QStringLiteral("ELDELGRID");
const QChar LotSerialSeparator(0xFF);

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// A deposit or stock reason in SQL form: the given code, else the configured
// default, quoted even when blank ('    ').
QString codeOrDefault(const QString &given, Session &session, const QString &defaultKey)
{
    if (!isBlank(given))
        return SqlLiteral::code(given.trimmed(), 4);
    return SqlLiteral::code(session.Cfg(defaultKey), 4);
}

// An origin parameter in SQL form; true when each line gives it instead.
bool normaliseOrigin(QString &origin)
{
    if (sameText(origin.trimmed(), LineOrigin))
        return true;
    origin = isBlank(origin) ? SqlLiteral::null() : SqlLiteral::text(origin);
    return false;
}

void normaliseParameters(StockCall &call, Session &session)
{
    const StockRequest &request = call.request;
    StockResult &result = call.result;
    result.TCOrigen = SvcTools::PadLeft(request.TCOrigen.trimmed(), 4);
    call.tcOriginPerLine = normaliseOrigin(result.TCOrigen);
    result.ComprobanteOrigen = request.ComprobanteOrigen;
    call.voucherOriginPerLine = normaliseOrigin(result.ComprobanteOrigen);
    result.IdDeposito = codeOrDefault(request.IdDeposito, session, QStringLiteral("DepositoDefault"));
    result.IdDepositoDestino = isBlank(request.IdDepositoDestino)
        ? SqlLiteral::null()
        : SqlLiteral::code(request.IdDepositoDestino.trimmed(), 4);
    result.IdMotivoStock = isBlank(request.IdMotivoStock)
        ? codeOrDefault(QString(), session, QStringLiteral("MotivoStockDefault"))
        : SqlLiteral::code(request.IdMotivoStock, 4);
}

// How one pass walks the lines.
struct Pass
{
    qint16 sign;
    enum Lines { All, FirstPassOnly, OthersOnly } lines;
    bool destination; // movements go to the destination deposit
};

bool lineInPass(const StockLine &line, const Pass &pass)
{
    if (pass.lines == Pass::All)
        return true;
    return pass.lines == Pass::FirstPassOnly ? line.firstPass : !line.firstPass;
}

QString cashRegisterLiteral(const QString &caja)
{
    bool number = false;
    caja.trimmed().toLongLong(&number);
    return number ? SvcTools::PadLeft(caja, 4) : SqlLiteral::text(caja);
}

} // namespace

bool lineQualifies(const StockLine &line)
{
    return !line.quantity.isZero() && !isBlank(line.article);
}

ClsCmnCptes::ClsCmnCptes(Session &session, Numbering &numbering)
    : m_session(session), m_services(session.services()), m_numbering(numbering), m_stock(m_services, numbering)
{}

StockResult ClsCmnCptes::ActualizaStock(const StockRequest &request)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("ActualizaStock"));
    StockResult result;
    StockCall call(request, result);
    scope.run([&] {
        normaliseParameters(call, m_session);
        const qint16 voucherSign = ObtieneSignoComprobante(request.tc, false);
        call.purchase = sameText(m_services.session.LookupHeldValue(VoucherDefinitions, QStringLiteral("V_TA_CPTE"),
                                                                    voucherCode(request.tc), QStringLiteral("SISTEMA"),
                                                                    QStringLiteral("Codigo")),
                                 QStringLiteral("COMPRAS"));
        call.opVoucher = sameText(request.tc, QStringLiteral("OP"));
        call.equivalentUnits = isSi(m_session.Cfg(QStringLiteral("ConfirmaUDEquiv")));

        QList<Pass> passes{{voucherSign, Pass::All, false}};
        if (request.EsTransferencia) {
            passes = {{-1, Pass::All, false}, {1, Pass::All, true}};
        } else if (call.opVoucher) {
            passes = {{1, Pass::FirstPassOnly, false}, {-1, Pass::OthersOnly, true}};
            result.IdDepositoDestino = result.IdDeposito;
            call.secuencia = lastSequence(call);
        }
        for (const Pass &pass : passes) {
            call.sign = pass.sign;
            for (int line = 0; line < request.lines.size(); ++line) {
                if (!lineQualifies(request.lines.at(line)) || !lineInPass(request.lines.at(line), pass))
                    continue;
                if (!writeLineMovements(call, line, pass.destination))
                    return;
            }
        }
        if (call.sign == -1)
            DescargaInsumos(call);
    });
    return result;
}

int ClsCmnCptes::lastSequence(StockCall &call)
{
    Recordset highest = m_services.session.OpenRecordset(
        Statement(QStringLiteral(
                      "SELECT MAX(SECUENCIA) AS MAX_SECUENCIA FROM V_MV_STOCK WHERE TC = {} AND IDCOMPROBANTE = {}"))
            .text(voucherCode(call.request.tc))
            .text(call.request.SucNroLetra));
    int last = 0;
    if (highest.hasRows())
        m_services.errors.attempt(
            [&] { last = int(numericValue(SvcTools::FieldText(highest.value(QStringLiteral("MAX_SECUENCIA"))))); });
    return last == 0 ? 0 : last + 1;
}

bool ClsCmnCptes::writeLineMovements(StockCall &call, int index, bool destination)
{
    const StockLine &line = call.request.lines.at(index);
    const double lineQuantity = line.quantity.toDouble();
    int n = 0;
    if (call.sign == 1)
        n = Cuenta_Series_Lotes(line.serials, line.lots);
    else if (call.sign == -1)
        n = Cuenta_Series_Lotes(line.lots, QString());
    for (int k = 1;; ++k) {
        ++call.secuencia;
        double lotQuantity = lineQuantity;
        QString lot, serial;
        bool write = true;
        if (call.sign == 1) {
            lot = SvcTools::PadLeft(ExtraeSerieLote(line.lots, qint16(k)).trimmed(), 25);
            serial = SvcTools::PadLeft(ExtraeSerieLote(line.serials, qint16(k)).trimmed(), 25);
            if (isBlank(lot) && !isBlank(call.request.LoteFijo))
                lot = SvcTools::PadLeft(call.request.LoteFijo.trimmed(), 25);
        } else if (call.sign == -1) {
            // An outgoing item holds lot, character 255 and serial; the
            // serials list holds the quantity taken from it.
            const QString item = ExtraeSerieLote(line.lots, qint16(k));
            if (!isBlank(item)) {
                const qsizetype split = item.indexOf(LotSerialSeparator);
                lot = SvcTools::PadLeft((split < 0 ? item : item.left(split)).trimmed(), 25);
                serial = SvcTools::PadLeft((split < 0 ? QString() : item.mid(split + 1)).trimmed(), 25);
                lotQuantity = SvcTools::ToDouble(ExtraeSerieLote(line.serials, qint16(k)));
                write = lotQuantity != 0;
            }
        }
        if (write) {
            const bool lotOrSerial = !isBlank(lot) || !isBlank(serial);
            double quantity = lineQuantity;
            if (call.sign == 1 && lotOrSerial && n > 1)
                quantity = 1;
            else if (call.sign == -1 && lotOrSerial)
                quantity = lotQuantity;
            quantity *= call.sign;
            FieldList movement;
            const bool built = m_services.errors.attempt(
                [&] { movement = articleMovement(call, line, destination, quantity, lot, serial); });
            if (built && !writeMovement(call, movement, index))
                return false;
        }
        const bool more = (call.sign == 1 && k < lineQuantity && n > 1) || (call.sign == -1 && k < n && n > 1);
        if (!more)
            return true;
    }
}

QString ClsCmnCptes::depositField(StockCall &call, const StockLine &line, bool destination) const
{
    if (destination)
        return call.result.IdDepositoDestino;
    const QString own = line.deposit.trimmed();
    // The voucher's deposit is already an SQL literal.
    if (own.isEmpty())
        return call.result.IdDeposito;
    return SqlLiteral::code(own, 4);
}

void ClsCmnCptes::addVoucherFields(FieldList &fields, StockCall &call, const QString &tc, const QString &number,
                                   int secuencia) const
{
    fields << qMakePair(QStringLiteral("TC"), SqlLiteral::code(tc, 4));
    fields << qMakePair(QStringLiteral("IdComprobante"), SqlLiteral::text(number));
    if (!call.purchase) // a number text, written as it stands
        fields << qMakePair(QStringLiteral("IdComplemento"), call.request.IdComplemento);
    fields << qMakePair(QStringLiteral("Secuencia"), QString::number(secuencia));
    fields << qMakePair(QStringLiteral("Fecha"), SqlLiteral::text(call.request.Fecha));
}

FieldList ClsCmnCptes::articleMovement(StockCall &call, const StockLine &line, bool destination, double quantity,
                                       const QString &lot, const QString &serial)
{
    FieldList fields;
    const auto add = [&](const char *field, const QString &value) {
        fields << qMakePair(QString::fromLatin1(field), value);
    };
    const StockRequest &request = call.request;
    const QString article = line.article.trimmed();

    addVoucherFields(fields, call, request.tc, request.SucNroLetra, call.secuencia);
    const QString caja = m_session.parameters.Caja;
    if (!isBlank(caja))
        add("IdCaja", cashRegisterLiteral(caja));
    add("IdDeposito", depositField(call, line, destination));
    add("IdArticulo", SqlLiteral::code(article, 25));
    add("Descripcion", textWithoutQuotes(line.description));
    add("NroLote", isBlank(lot) ? SqlLiteral::null() : SqlLiteral::text(lot));
    add("ControladoPor", textWithoutQuotes(isBlank(line.customsLot) ? request.Aduana : line.customsLot));
    const QString lotOrigin = isBlank(line.lotOrigin) ? request.LoteOrigen.trimmed() : line.lotOrigin.trimmed();
    if (!lotOrigin.isEmpty())
        add("IdOrigen", SqlLiteral::code(lotOrigin, 4));
    add("NroSerie", isBlank(serial) ? SqlLiteral::null() : SqlLiteral::text(serial));
    add("IdUnidad", unitLiteral(line.unit));
    add("Cantidad", SqlLiteral::number(quantity));
    if (call.equivalentUnits) {
        add("CantidadUD", SqlLiteral::amount(line.baseQuantity));
        add("IdUnidadBase", SqlLiteral::number(line.baseUnit));
    }
    add("CuentaProveedor", accountLiteral(call, article));
    add("IdMotivoStock", call.result.IdMotivoStock);
    add("PrecioVenta", SqlLiteral::amount(line.price));
    add("Costo",
        SqlLiteral::amount(SvcTools::ToCurrency(articleColumn(m_services.session, article, QStringLiteral("Costo")))));
    add("Impuestos", SqlLiteral::amount(line.taxes));
    add("DtoItem", SqlLiteral::amount(line.discount));
    add("Tc_Origen", call.tcOriginPerLine ? SqlLiteral::text(line.originType.trimmed()) : call.result.TCOrigen);
    add("IdComprobante_Origen",
        call.voucherOriginPerLine ? SqlLiteral::text(line.originVoucher.trimmed()) : call.result.ComprobanteOrigen);
    add("Id_Origen", SqlLiteral::amount(line.originId));
    add("IVARI", vatLiteral(call, line));
    if (!sameText(request.IdTecnico.trimmed(), QStringLiteral("NULL")))
        add("IdTecnico", SqlLiteral::code(request.IdTecnico, 4));
    return fields;
}

QString ClsCmnCptes::vatLiteral(StockCall &call, const StockLine &line)
{
    if (!line.vatRate.isZero() || line.exempt)
        return SqlLiteral::amount(line.vatRate);
    if (!call.vatRateRead) {
        call.vatRate = m_session.Cfg(QStringLiteral("PIVA"));
        call.vatRateRead = true;
    }
    return SqlLiteral::amount(SvcTools::ToCurrency(call.vatRate));
}

QString ClsCmnCptes::accountLiteral(StockCall &call, const QString &article)
{
    // The first movement's article gives the account of the whole call.
    if (sameText(call.account, QStringLiteral("PorDefault"))) {
        const QString account = articleColumn(m_services.session, article, QStringLiteral("CUENTAPROVEEDOR")).trimmed();
        call.account = account.isEmpty() ? SqlLiteral::null() : SqlLiteral::text(account);
    }
    return call.account;
}

bool ClsCmnCptes::writeMovement(StockCall &call, const FieldList &movement, int line)
{
    Connection &orva = m_services.session.connection();
    return runStatement(call, stockMovementStatement(movement), line, [&] { writeStockMovement(orva, movement); });
}

bool ClsCmnCptes::runStatement(StockCall &call, const QString &statement, int line, const std::function<void()> &run)
{
    if (call.request.GeneraSentenciaSQL) {
        call.result.SQLTemp += QLatin1Char('\r') + statement;
        return true;
    }
    try {
        run();
        return true;
    } catch (const RunTimeError &failure) {
        RunError error = failure.error();
        error.procedure = QStringLiteral("ActualizaStock");
        if (error.record.isEmpty())
            error.record = m_services.errors.record();
        m_services.log.error(QStringLiteral("Movimiento de stock del comprobante %1 %2 rechazado: %3")
                                 .arg(call.request.tc.trimmed(), call.request.SucNroLetra, error.text()));
        m_services.message(error.description, QStringLiteral("Aviso al operador"), MessageIcon::Critical);
        call.result.HayError = true;
        call.result.refusal = error.description;
        call.result.refusedLine = line;
        return false;
    }
}

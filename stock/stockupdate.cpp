// ActualizaStock: the article grid of a voucher becomes signed stock
// movements (V_MV_STOCK), one per row or one per lot and serial of a row.

#include "services/sharedservices.h"
#include "services/svctools.h"
#include "session/session.h"
#include "stock/clscmncptes.h"
#include "stock/stockcall.h"
#include "stock/stockvalues.h"

namespace {

const QString GridOrigin = QStringLiteral("ELDELGRID");
const QChar LotSerialSeparator(0xFF);

// Grid columns read by the engine.
enum Column {
    ColArticle = 0, ColDescription = 1, ColUnit = 3, ColDeposit = 4, ColQuantity = 5, ColBaseUnit = 6,
    ColBaseQuantity = 7, ColDiscount = 8, ColPrice = 9, ColExempt = 11, ColLots = 16, ColSerials = 17,
    ColFirstPassMark = 23, ColVatRate = 29, ColOriginVoucher = 30, ColOriginId = 31, ColLotOrigin = 32,
    ColCustomsLot = 33, ColTaxes = 36,
};

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// A deposit or stock reason in SQL form: the given code, else the configured
// default, quoted even when blank ('    ').
QString codeOrDefault(const QString &given, Session &session, const QString &defaultKey)
{
    if (!isBlank(given))
        return SvcSession::NumberToSql(SvcTools::PadLeft(given.trimmed(), 4), QStringLiteral("'"));
    return quoted(SvcTools::PadLeft(session.Cfg(defaultKey), 4));
}

// An origin parameter in SQL form; false when each row gives it instead.
bool normaliseOrigin(QString &origin)
{
    if (sameText(origin.trimmed(), GridOrigin))
        return true;
    origin = isBlank(origin) ? QStringLiteral("NULL") : quoted(origin);
    return false;
}

void normaliseParameters(StockCall &call, Session &session)
{
    call.TCOrigen = SvcTools::PadLeft(call.TCOrigen.trimmed(), 4);
    call.tcOriginFromGrid = normaliseOrigin(call.TCOrigen);
    call.voucherOriginFromGrid = normaliseOrigin(call.ComprobanteOrigen);
    call.IdDeposito = codeOrDefault(call.IdDeposito, session, QStringLiteral("DepositoDefault"));
    call.IdDepositoDestino = isBlank(call.IdDepositoDestino)
        ? QStringLiteral("NULL")
        : SvcSession::NumberToSql(SvcTools::PadLeft(call.IdDepositoDestino.trimmed(), 4), QStringLiteral("'"));
    call.IdMotivoStock = isBlank(call.IdMotivoStock)
        ? codeOrDefault(QString(), session, QStringLiteral("MotivoStockDefault"))
        : SvcSession::NumberToSql(SvcTools::PadLeft(call.IdMotivoStock, 4), QStringLiteral("'"));
}

// How one pass walks the grid.
struct Pass
{
    qint16 sign;
    enum Rows { All, FirstPassOnly, OthersOnly } rows;
    bool destination;  // movements go to the destination deposit
};

bool rowInPass(const VoucherGrid &grid, int row, const Pass &pass)
{
    if (pass.rows == Pass::All)
        return true;
    const bool firstPassRow = grid.TextMatrix(row, ColFirstPassMark).trimmed() == QLatin1String("-1");
    return pass.rows == Pass::FirstPassOnly ? firstPassRow : !firstPassRow;
}

// A row gives movements when it has an article and a quantity.
bool rowQualifies(const VoucherGrid &grid, int row)
{
    return !SvcTools::ToCurrency(grid.TextMatrix(row, ColQuantity)).isZero()
        && !isBlank(grid.TextMatrix(row, ColArticle));
}

QString cashRegisterLiteral(const QString &caja)
{
    bool number = false;
    caja.trimmed().toLongLong(&number);
    return number ? SvcTools::PadLeft(caja, 4) : quoted(caja);
}

} // namespace

ClsCmnCptes::ClsCmnCptes(Session &session, Numbering &numbering)
    : m_session(session), m_services(session.services()), m_numbering(numbering), m_stock(m_services, numbering)
{
}

void ClsCmnCptes::ActualizaStock(const VoucherGrid &MSFlexGrid2, const QString &tc, const QString &SucNroLetra,
                                 const QString &IdComplemento, const QString &Fecha, InOut<QString> IdDeposito,
                                 InOut<QString> IdDepositoDestino, InOut<QString> IdMotivoStock,
                                 InOut<QString> TCOrigen, InOut<QString> ComprobanteOrigen, bool EsTransferencia,
                                 const QString &Cuenta, bool GeneraSentenciaSQL, InOut<QString> SQLTemp,
                                 InOut<bool> HayError, const QString &IdTecnico, const QString &LoteFijo,
                                 const QString &Aduana, const QString &LoteOrigen)
{
    ErrorHandling::Scope scope(m_services.errors, QStringLiteral("ActualizaStock"));
    StockCall call(*IdDeposito, *IdDepositoDestino, *IdMotivoStock, *TCOrigen, *ComprobanteOrigen, *SQLTemp,
                   *HayError);
    call.tc = tc;
    call.SucNroLetra = SucNroLetra;
    call.IdComplemento = IdComplemento;
    call.Fecha = Fecha;
    call.account = Cuenta;
    call.GeneraSentenciaSQL = GeneraSentenciaSQL;
    call.IdTecnico = IdTecnico;
    call.LoteFijo = LoteFijo;
    call.Aduana = Aduana;
    call.LoteOrigen = LoteOrigen;
    try {
        normaliseParameters(call, m_session);
        const qint16 voucherSign = ObtieneSignoComprobante(tc, false);
        call.purchase = sameText(m_services.session.LookupValue(QStringLiteral("V_TA_CPTE"), voucherCode(tc),
                                                                QStringLiteral("SISTEMA"), QStringLiteral("Codigo")),
                                 QStringLiteral("COMPRAS"));
        call.opVoucher = sameText(tc, QStringLiteral("OP"));
        call.equivalentUnits = isSi(m_session.Cfg(QStringLiteral("ConfirmaUDEquiv")));

        QList<Pass> passes{{voucherSign, Pass::All, false}};
        if (EsTransferencia) {
            passes = {{-1, Pass::All, false}, {1, Pass::All, true}};
        } else if (call.opVoucher) {
            passes = {{1, Pass::FirstPassOnly, false}, {-1, Pass::OthersOnly, true}};
            call.IdDepositoDestino = call.IdDeposito;
            call.secuencia = lastSequence(call);
        }
        for (const Pass &pass : passes) {
            call.sign = pass.sign;
            for (int row = 1; row < MSFlexGrid2.Rows(); ++row) {
                if (!rowQualifies(MSFlexGrid2, row) || !rowInPass(MSFlexGrid2, row, pass))
                    continue;
                if (!writeRowMovements(call, MSFlexGrid2, row, pass.destination))
                    return;
            }
        }
        if (call.sign == -1)
            DescargaInsumos(call, MSFlexGrid2);
    } catch (const GiveUp &giveUp) {
        if (!scope.owns(giveUp))
            throw;
    }
}

int ClsCmnCptes::lastSequence(StockCall &call)
{
    Recordset highest = m_services.session.OpenRecordset(
        QStringLiteral("SELECT MAX(SECUENCIA) AS MAX_SECUENCIA FROM V_MV_STOCK WHERE TC = '")
        + sqlText(voucherCode(call.tc)) + QStringLiteral("' AND IDCOMPROBANTE = '") + sqlText(call.SucNroLetra)
        + QLatin1Char('\''));
    int last = 0;
    if (highest.hasRows())
        m_services.errors.attempt([&] {
            last = int(numericValue(SvcTools::FieldText(highest.value(QStringLiteral("MAX_SECUENCIA")))));
        });
    return last == 0 ? 0 : last + 1;
}

bool ClsCmnCptes::writeRowMovements(StockCall &call, const VoucherGrid &grid, int row, bool destination)
{
    const QString quantityCell = grid.TextMatrix(row, ColQuantity);
    const QString lots = grid.TextMatrix(row, ColLots);
    const QString serials = grid.TextMatrix(row, ColSerials);
    const double rowQuantity = SvcTools::ToDouble(quantityCell);
    int n = 0;
    if (call.sign == 1)
        n = Cuenta_Series_Lotes(serials, lots);
    else if (call.sign == -1)
        n = Cuenta_Series_Lotes(lots, QString());
    for (int k = 1;; ++k) {
        ++call.secuencia;
        double lotQuantity = rowQuantity;
        QString lot, serial;
        bool write = true;
        if (call.sign == 1) {
            lot = SvcTools::PadLeft(ExtraeSerieLote(lots, qint16(k)).trimmed(), 25);
            serial = SvcTools::PadLeft(ExtraeSerieLote(serials, qint16(k)).trimmed(), 25);
            if (isBlank(lot) && !isBlank(call.LoteFijo))
                lot = SvcTools::PadLeft(call.LoteFijo.trimmed(), 25);
        } else if (call.sign == -1) {
            // An outgoing item holds lot, character 255 and serial; column 17
            // holds the quantity taken from it.
            const QString item = ExtraeSerieLote(lots, qint16(k));
            if (!isBlank(item)) {
                const qsizetype split = item.indexOf(LotSerialSeparator);
                lot = SvcTools::PadLeft((split < 0 ? item : item.left(split)).trimmed(), 25);
                serial = SvcTools::PadLeft((split < 0 ? QString() : item.mid(split + 1)).trimmed(), 25);
                lotQuantity = SvcTools::ToDouble(ExtraeSerieLote(serials, qint16(k)));
                write = lotQuantity != 0;
            }
        }
        if (write) {
            const bool lotOrSerial = !isBlank(lot) || !isBlank(serial);
            double quantity = SvcTools::ToCurrency(quantityCell).toDouble();
            if (call.sign == 1 && lotOrSerial && n > 1)
                quantity = 1;
            else if (call.sign == -1 && lotOrSerial)
                quantity = lotQuantity;
            quantity *= call.sign;
            QString statement;
            const bool built = m_services.errors.attempt([&] {
                fillArticleMovement(call, grid, row, destination, quantity, lot, serial);
                statement = SvcSession::BuildInsert(QStringLiteral("INSERT INTO V_MV_STOCK"), StockFieldList);
            });
            if (built && !writeStatement(call, statement))
                return false;
        }
        const bool more = (call.sign == 1 && k < rowQuantity && n > 1) || (call.sign == -1 && k < n && n > 1);
        if (!more)
            return true;
    }
}

QString ClsCmnCptes::depositField(StockCall &call, const VoucherGrid &grid, int row, bool destination) const
{
    if (destination)
        return call.IdDepositoDestino;
    const QString own = grid.TextMatrix(row, ColDeposit).trimmed();
    // The voucher's deposit is already an SQL literal.
    if (own.isEmpty())
        return call.IdDeposito;
    return SvcSession::NumberToSql(SvcTools::PadLeft(own, 4), QStringLiteral("'"));
}

void ClsCmnCptes::addVoucherFields(StockCall &call, const QString &tc, const QString &number, int secuencia)
{
    const QString text = QStringLiteral("'");
    StockFieldList << qMakePair(QStringLiteral("TC"), SvcSession::NumberToSql(SvcTools::PadLeft(tc, 4), text));
    StockFieldList << qMakePair(QStringLiteral("IdComprobante"), SvcSession::NumberToSql(number, text));
    if (!call.purchase)
        StockFieldList << qMakePair(QStringLiteral("IdComplemento"), SvcSession::NumberToSql(call.IdComplemento, {}));
    StockFieldList << qMakePair(QStringLiteral("Secuencia"), SvcSession::NumberToSql(secuencia, {}));
    StockFieldList << qMakePair(QStringLiteral("Fecha"), SvcSession::NumberToSql(call.Fecha, text));
}

void ClsCmnCptes::fillArticleMovement(StockCall &call, const VoucherGrid &grid, int row, bool destination,
                                      double quantity, const QString &lot, const QString &serial)
{
    const auto cell = [&](int col) { return grid.TextMatrix(row, col); };
    const auto add = [&](const char *field, const QString &value) {
        StockFieldList << qMakePair(QString::fromLatin1(field), value);
    };
    const QString text = QStringLiteral("'");
    const QString article = cell(ColArticle).trimmed();

    StockFieldList.clear();
    addVoucherFields(call, call.tc, call.SucNroLetra, call.secuencia);
    const QString caja = m_session.parameters.Caja;
    if (!isBlank(caja))
        add("IdCaja", cashRegisterLiteral(caja));
    add("IdDeposito", depositField(call, grid, row, destination));
    add("IdArticulo", SvcSession::NumberToSql(SvcTools::PadLeft(article, 25), text));
    add("Descripcion", textWithoutQuotes(cell(ColDescription)));
    add("NroLote", isBlank(lot) ? QStringLiteral("NULL") : SvcSession::NumberToSql(lot, text));
    const QString customsLot = isBlank(cell(ColCustomsLot)) ? call.Aduana : cell(ColCustomsLot);
    add("ControladoPor", textWithoutQuotes(customsLot));
    const QString lotOrigin = isBlank(cell(ColLotOrigin)) ? call.LoteOrigen.trimmed() : cell(ColLotOrigin).trimmed();
    if (!lotOrigin.isEmpty())
        add("IdOrigen", SvcSession::NumberToSql(SvcTools::PadLeft(lotOrigin, 4), text));
    add("NroSerie", isBlank(serial) ? QStringLiteral("NULL") : SvcSession::NumberToSql(serial, text));
    add("IdUnidad", unitLiteral(cell(ColUnit)));
    add("Cantidad", SvcSession::NumberToSql(quantity, QStringLiteral("@")));
    if (call.equivalentUnits) {
        add("CantidadUD", SvcSession::NumberToSql(cell(ColBaseQuantity), QStringLiteral("@")));
        add("IdUnidadBase", SvcSession::NumberToSql(cell(ColBaseUnit), QStringLiteral("@")));
    }
    add("CuentaProveedor", accountLiteral(call, article));
    add("IdMotivoStock", call.IdMotivoStock);
    add("PrecioVenta", amountLiteral(SvcTools::ToCurrency(cell(ColPrice))));
    add("Costo", amountLiteral(SvcTools::ToCurrency(articleColumn(m_services.session, article, QStringLiteral("Costo")))));
    add("Impuestos", amountLiteral(SvcTools::ToCurrency(cell(ColTaxes))));
    add("DtoItem", amountLiteral(SvcTools::ToCurrency(cell(ColDiscount))));
    const QString origin = cell(ColOriginVoucher);
    add("Tc_Origen", call.tcOriginFromGrid ? SvcSession::NumberToSql(origin.mid(0, 4).trimmed(), text) : call.TCOrigen);
    add("IdComprobante_Origen", call.voucherOriginFromGrid
                                    ? SvcSession::NumberToSql(origin.mid(4, 13).trimmed(), text)
                                    : call.ComprobanteOrigen);
    add("Id_Origen", SvcTools::ToCurrency(cell(ColOriginId)).toText());
    add("IVARI", vatLiteral(call, cell(ColVatRate), cell(ColExempt)));
    if (!sameText(call.IdTecnico.trimmed(), QStringLiteral("NULL")))
        add("IdTecnico", SvcSession::NumberToSql(SvcTools::PadLeft(call.IdTecnico, 4), text));
}

QString ClsCmnCptes::vatLiteral(StockCall &call, const QString &rateCell, const QString &exemptCell)
{
    const Currency rate = SvcTools::ToCurrency(rateCell);
    if (!rate.isZero() || toInt16(SvcTools::ToCurrency(exemptCell).toDouble()) == -1)
        return amountLiteral(rate);
    if (!call.vatRateRead) {
        call.vatRate = m_session.Cfg(QStringLiteral("PIVA"));
        call.vatRateRead = true;
    }
    return amountLiteral(SvcTools::ToCurrency(call.vatRate));
}

QString ClsCmnCptes::accountLiteral(StockCall &call, const QString &article)
{
    // The first movement's article gives the account of the whole call.
    if (sameText(call.account, QStringLiteral("PorDefault"))) {
        const QString account =
            articleColumn(m_services.session, article, QStringLiteral("CUENTAPROVEEDOR")).trimmed();
        call.account = account.isEmpty() ? QStringLiteral("NULL") : quoted(account);
    }
    return SvcSession::NumberToSql(call.account, {});
}

bool ClsCmnCptes::writeStatement(StockCall &call, const QString &statement)
{
    if (call.GeneraSentenciaSQL) {
        call.SQLTemp += QLatin1Char('\r') + statement;
        return true;
    }
    try {
        m_services.session.connection().executeOrThrow(statement);
        return true;
    } catch (const RunTimeError &failure) {
        RunError error = failure.error();
        error.procedure = QStringLiteral("ActualizaStock");
        if (error.record.isEmpty())
            error.record = m_services.errors.record();
        m_services.log.error(QStringLiteral("Movimiento de stock del comprobante %1 %2 rechazado: %3")
                                 .arg(call.tc.trimmed(), call.SucNroLetra, error.text()));
        m_services.message(error.description, QStringLiteral("Aviso al operador"), MessageIcon::Critical);
        call.HayError = true;
        return false;
    }
}

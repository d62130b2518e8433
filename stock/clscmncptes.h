#pragma once
// ClsCmnCptes: the voucher engine the Orva voucher screens share, as far as
// this tool uses it: it lays out a voucher's article grid and turns the grid
// into stock movements (V_MV_STOCK), taking the components of composed
// articles out of stock under an internal "PE" voucher.

#include "services/svcsession.h"
#include "stock/inout.h"
#include "stock/stockmodule.h"
#include "stock/vouchergrid.h"

#include <QString>
#include <QStringList>

class Numbering;
class Session;
class SharedServices;
struct StockCall;

class ClsCmnCptes
{
public:
    ClsCmnCptes(Session &session, Numbering &numbering);

    // The field list of the movement being written (name, SQL literal).
    FieldList StockFieldList;

    // Lays out the grids of a voucher screen for voucher type tc: the article
    // grid MSFlexGrid2 gets two empty rows and 38 columns with the titles and
    // widths of the type and the configuration; Obj measures the widths; an
    // absent (null) grid or editor is skipped, and so are the other grids.
    // Errors go to the caller's error handling.
    void InicializaGrids(VoucherGrid *MSFlexGrid1, VoucherGrid *MSFlexGrid2, VoucherGrid *MSFlexGrid3,
                         CellEditor *TxtEdit, CellEditor *txtEdit2, CellEditor *txtEdit3, const TextMetrics *Obj,
                         const QString &tc, VoucherGrid *MSFlexGrid4);

    // Writes the stock movements of voucher tc SucNroLetra from the article
    // grid: one per row with an article and a quantity, or one per lot or
    // serial, signed by the voucher type (V_TA_CPTE.ES); an outgoing voucher
    // also discharges the components of its composed articles. IdDeposito,
    // IdDepositoDestino, IdMotivoStock, TCOrigen and ComprobanteOrigen come
    // back in their SQL form. With GeneraSentenciaSQL the statements are
    // appended to SQLTemp instead of run. A database message after a
    // statement is shown ("Aviso al operador"), sets HayError and ends the
    // call; what was written before stays. Other errors go to the operator
    // under "ActualizaStock"; giving up ends the call normally.
    void ActualizaStock(const VoucherGrid &MSFlexGrid2, const QString &tc, const QString &SucNroLetra,
                        const QString &IdComplemento, const QString &Fecha,
                        InOut<QString> IdDeposito = QString(), InOut<QString> IdDepositoDestino = QString(),
                        InOut<QString> IdMotivoStock = QString(), InOut<QString> TCOrigen = QString(),
                        InOut<QString> ComprobanteOrigen = QString(), bool EsTransferencia = false,
                        const QString &Cuenta = QStringLiteral("PorDefault"), bool GeneraSentenciaSQL = false,
                        InOut<QString> SQLTemp = QString(), InOut<bool> HayError = false,
                        const QString &IdTecnico = QStringLiteral("Null"), const QString &LoteFijo = QString(),
                        const QString &Aduana = QString(), const QString &LoteOrigen = QString());

    // The stock sign of voucher type tc: +1 for ES "E", -1 for "S"; with
    // LibroIVA the integer "Signo" (1 when Null). A type V_TA_CPTE does not
    // hold, or one without a direction, is told to the operator and gives 0.
    // Errors go to the operator under "ObtieneSignoComprobante%"; giving up
    // gives the sign found so far.
    qint16 ObtieneSignoComprobante(const QString &tc, bool LibroIVA);

    // Packed lists: items each followed by "|" ("L1|L2|"); a leading "|" and
    // blanks around the whole text do not count; text after the last "|" is
    // no item. These never fail.

    // The items, trimmed, followed by one empty element (an empty list gives
    // one empty element).
    static QStringList DescomponeSerieLote(const QString &Serie_Lote);
    // The item at QuePosicion (from 1), untrimmed; empty when there is none.
    static QString ExtraeSerieLote(const QString &Serie_Lote, qint16 QuePosicion);
    // The number of distinct serial/lot pairs (letter case ignored) of a row.
    static int Cuenta_Series_Lotes(const QString &PipeSeries, const QString &PipeLotes);

private:
    // The movements of one grid row; false when a database message ended the call.
    bool writeRowMovements(StockCall &call, const VoucherGrid &grid, int row, bool destination);
    void fillArticleMovement(StockCall &call, const VoucherGrid &grid, int row, bool destination, double quantity,
                             const QString &lot, const QString &serial);
    // TC, IdComprobante, [IdComplemento], Secuencia and Fecha of a movement.
    void addVoucherFields(StockCall &call, const QString &tc, const QString &number, int secuencia);
    // The row's own deposit, else the voucher's (the destination in the second pass of a transfer).
    QString depositField(StockCall &call, const VoucherGrid &grid, int row, bool destination) const;
    QString vatLiteral(StockCall &call, const QString &rateCell, const QString &exemptCell);
    QString accountLiteral(StockCall &call, const QString &article);
    // The counter an "OP" voucher's movements continue from.
    int lastSequence(StockCall &call);
    // Runs or collects one statement; false after a database message.
    bool writeStatement(StockCall &call, const QString &statement);

    // The components of the composed articles of an outgoing voucher leave
    // stock under an internal "PE" voucher.
    void DescargaInsumos(StockCall &call, const VoucherGrid &grid);
    bool dischargeComponent(StockCall &call, const VoucherGrid &grid, int row, const ArticuloCantidad &component,
                            double rowQuantity);
    void fillComponentMovement(StockCall &call, const VoucherGrid &grid, int row, const QString &component,
                               const QString &unit, const ArticuloCantidad &lot, bool hasLots);
    void movePeCounter(StockCall &call);

    Session &m_session;
    SharedServices &m_services;
    Numbering &m_numbering;
    Stock m_stock;
};

#pragma once
// ClsCmnCptes: the voucher engine the Orva voucher screens share, as far as
// this tool uses it: it lays out a voucher's article grid and turns a
// voucher's lines into stock movements (V_MV_STOCK), taking the components of
// composed articles out of stock under an internal "PE" voucher.

#include "services/svcsession.h"
#include "stock/stockmodule.h"
#include "stock/stockrequest.h"
#include "stock/vouchergrid.h"

#include <QString>
#include <QStringList>
#include <functional>

class Numbering;
class Session;
class SharedServices;
struct StockCall;

class ClsCmnCptes
{
public:
    ClsCmnCptes(Session &session, Numbering &numbering);

    // Lays out the article grid of a voucher screen for voucher type tc: two
    // empty rows and 38 columns with the titles and widths of the type and
    // the configuration; Obj measures the widths (a fixed measure when
    // absent); the cell editor, when given, is hidden. Errors go to the
    // caller's error handling.
    void InicializaGrids(VoucherGrid &MSFlexGrid2, const QString &tc, CellEditor *txtEdit2 = nullptr,
                         const TextMetrics *Obj = nullptr);

    // Writes the stock movements of the request's voucher: one per line with
    // an article and a quantity, or one per lot or serial, signed by the
    // voucher type (V_TA_CPTE.ES); an outgoing voucher also discharges the
    // components of its composed articles. With GeneraSentenciaSQL the
    // statements are collected instead of run. A database message after a
    // statement is shown ("Aviso al operador") and ends the call (HayError,
    // with the line and the message); what was written before stays. Other
    // errors go to the operator under "ActualizaStock"; giving up ends the
    // call normally.
    StockResult ActualizaStock(const StockRequest &request);

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
    // The movements of one line; false when a database message ended the call.
    bool writeLineMovements(StockCall &call, int line, bool destination);
    FieldList articleMovement(StockCall &call, const StockLine &line, bool destination, double quantity,
                              const QString &lot, const QString &serial);
    // TC, IdComprobante, [IdComplemento], Secuencia and Fecha of a movement.
    void addVoucherFields(FieldList &fields, StockCall &call, const QString &tc, const QString &number,
                          int secuencia) const;
    // The line's own deposit, else the voucher's (the destination in the second pass of a transfer).
    QString depositField(StockCall &call, const StockLine &line, bool destination) const;
    QString vatLiteral(StockCall &call, const StockLine &line);
    QString accountLiteral(StockCall &call, const QString &article);
    // The counter an "OP" voucher's movements continue from.
    int lastSequence(StockCall &call);
    // Writes (or collects) one movement of line; false after a database message.
    bool writeMovement(StockCall &call, const FieldList &movement, int line);
    // Collects statement, or runs it by run; a database message is shown,
    // ends the call and comes back in the result.
    bool runStatement(StockCall &call, const QString &statement, int line, const std::function<void()> &run);

    // The components of the composed articles of an outgoing voucher leave
    // stock under an internal "PE" voucher.
    void DescargaInsumos(StockCall &call);
    bool dischargeComponent(StockCall &call, int line, const ArticuloCantidad &component, double lineQuantity);
    FieldList componentMovement(StockCall &call, const StockLine &line, const QString &component, const QString &unit,
                                const ArticuloCantidad &lot, bool hasLots);
    void movePeCounter(StockCall &call);

    Session &m_session;
    SharedServices &m_services;
    Numbering &m_numbering;
    Stock m_stock;
};

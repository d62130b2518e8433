#pragma once
// What a caller hands the stock engine: one voucher with its lines
// (StockRequest), and what the engine hands back (StockResult).

#include "services/currency.h"

#include <QList>
#include <QString>

// One voucher line.
struct StockLine
{
    StockLine() = default;
    StockLine(const QString &article, const QString &description, const QString &unit, Currency quantity)
        : article(article), description(description), unit(unit), quantity(quantity)
    {}

    QString article;     // Orva article code; a line without one gives no movement
    QString description; // single quotes are removed when written
    QString unit;        // unit code; empty: no unit
    QString deposit;     // the line's own deposit; empty: the voucher's
    Currency quantity;   // a line with 0 gives no movement

    // Packed lists, every item followed by "|" ("L1|L2|"). They stay text
    // because the engine counts and picks their items by the packed text's
    // own rules (a leading "|" dropped, text after the last "|" no item, an
    // item picked untrimmed). An incoming line lists its lots and serials;
    // an outgoing line's lot item is lot, character 255 and serial, and the
    // matching item of serials is the quantity taken from it.
    QString lots;
    QString serials;

    // Equivalent units, written only when "ConfirmaUDEquiv" is on. The base
    // unit is written by the number rule as given, so a unit code that is no
    // number fails that movement.
    QString baseUnit;
    Currency baseQuantity;

    Currency discount;
    Currency price;
    Currency taxes;
    Currency vatRate; // 0: the configured "PIVA", unless the line is exempt
    bool exempt = false;

    // Of an "OP" voucher: the line comes in during the first pass.
    bool firstPass = false;

    // The line's origin voucher, used when the request's origin is "ELDELGRID".
    QString originType;
    QString originVoucher;
    Currency originId;
    QString lotOrigin;  // empty: the request's LoteOrigen
    QString customsLot; // empty: the request's Aduana
};

// One voucher whose lines become stock movements. The names follow the
// parameters of the voucher screens' engine; only the voucher, its number
// and date are required.
struct StockRequest
{
    QString tc;          // voucher type, e.g. "RM"
    QString SucNroLetra; // point of sale (4), number (8) and letter
    QString IdComplemento;
    QString Fecha;
    QString IdDeposito;        // empty: "DepositoDefault"
    QString IdDepositoDestino; // the second pass of a transfer
    QString IdMotivoStock;     // empty: "MotivoStockDefault"
    QString TCOrigen;          // "ELDELGRID": each line's own
    QString ComprobanteOrigen; // "ELDELGRID": each line's own
    bool EsTransferencia = false;
    QString Cuenta = QStringLiteral("PorDefault"); // "PorDefault": the first article's supplier
    bool GeneraSentenciaSQL = false;               // collect the statements instead of running them
    QString IdTecnico = QStringLiteral("Null");    // "Null": none
    QString LoteFijo;                              // the lot of incoming lines that name none
    QString Aduana;
    QString LoteOrigen;

    QList<StockLine> lines;
};

struct StockResult
{
    // The deposit, destination, stock reason and origins in the SQL form the
    // movements carry them ('   1', NULL ...).
    QString IdDeposito;
    QString IdDepositoDestino;
    QString IdMotivoStock;
    QString TCOrigen;
    QString ComprobanteOrigen;

    // With GeneraSentenciaSQL: the statements, each after a carriage return.
    QString SQLTemp;

    // A database message ended the call: the movements written before stay.
    bool HayError = false;
    // The database's message, and the line (from 0) whose movement it
    // refused; -1 when it refused the components' voucher book update.
    QString refusal;
    int refusedLine = -1;
    // The component whose movement was refused (empty for an article's own
    // movement or the book update).
    QString refusedComponent;
};

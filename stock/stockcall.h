#pragma once
// The state of one ActualizaStock call, shared by the article movements and
// the components discharge: the request, the result being built, the sign,
// the movement counters and the account copy.

#include "stock/stockrequest.h"

#include <QString>

struct StockCall
{
    StockCall(const StockRequest &r, StockResult &res) : request(r), result(res), account(r.Cuenta) {}

    const StockRequest &request;
    // The parameters in SQL form, the collected statements, the refusal.
    StockResult &result;
    bool tcOriginPerLine = false;      // "ELDELGRID": each line's origin type
    bool voucherOriginPerLine = false; // "ELDELGRID": each line's origin voucher

    QString account; // "PorDefault" until the first movement looks it up

    qint16 sign = 0;        // the sign of the pass being written
    bool purchase = false;  // the voucher belongs to the system COMPRAS
    bool opVoucher = false; // "OP": lines marked first pass come in first
    bool equivalentUnits = false;
    QString vatRate; // "PIVA", read at the first movement that needs it
    bool vatRateRead = false;
    int secuencia = 0; // article movements, over the whole call

    QString peNumber; // the components' internal voucher
    int peSecuencia = 0;
};

// A line gives movements when it has an article and a quantity.
bool lineQualifies(const StockLine &line);

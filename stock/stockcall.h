#pragma once
// The state of one ActualizaStock call, shared by the article movements and
// the components discharge: the voucher, its parameters in SQL form, the
// sign, the movement counters and the account copy.

#include <QString>

struct StockCall
{
    StockCall(QString &deposit, QString &destination, QString &reason, QString &tcOrigin, QString &voucherOrigin,
              QString &collected, bool &failed)
        : IdDeposito(deposit), IdDepositoDestino(destination), IdMotivoStock(reason), TCOrigen(tcOrigin),
          ComprobanteOrigen(voucherOrigin), SQLTemp(collected), HayError(failed)
    {
    }

    // The voucher, as passed.
    QString tc, SucNroLetra, IdComplemento, Fecha;

    // Parameters rewritten in place into their SQL form.
    QString &IdDeposito;
    QString &IdDepositoDestino;
    QString &IdMotivoStock;
    QString &TCOrigen;
    QString &ComprobanteOrigen;
    bool tcOriginFromGrid = false;
    bool voucherOriginFromGrid = false;

    QString account;  // "PorDefault" until the first movement looks it up
    bool GeneraSentenciaSQL = false;
    QString &SQLTemp;
    bool &HayError;
    QString IdTecnico, LoteFijo, Aduana, LoteOrigen;

    qint16 sign = 0;          // the sign of the pass being written
    bool purchase = false;    // the voucher belongs to the system COMPRAS
    bool opVoucher = false;   // "OP": rows of column 23 "-1" come in first
    bool equivalentUnits = false;
    QString vatRate;          // "PIVA", read at the first movement that needs it
    bool vatRateRead = false;
    int secuencia = 0;        // article movements, over the whole call

    QString peNumber;         // the components' internal voucher
    int peSecuencia = 0;
};

#pragma once
// The stock discharge of a new delivery note: its lines go through the stock
// engine inside the note's open transaction.

#include "deliverynotes/deliverynote.h"

#include <memory>

class Numbering;
class RunContext;

class StockDischarge
{
public:
    explicit StockDischarge(Numbering &numbering);
    ~StockDischarge();

    // Called for a new voucher with lines when "DescargaStockRemitos" is "SI";
    // lines is the note's open line query.
    void DescargaStockRemito(RunContext &context, Recordset &lines, const DeliveryNote &note);

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
    Numbering &m_numbering;
};

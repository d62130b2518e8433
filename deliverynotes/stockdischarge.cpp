#include "deliverynotes/stockdischarge.h"

// Placeholder until the stock engine lands: nothing is discharged.
struct StockDischarge::Engine
{
};

StockDischarge::StockDischarge(Numbering &numbering) : m_numbering(numbering) {}
StockDischarge::~StockDischarge() = default;

void StockDischarge::DescargaStockRemito(RunContext &, Recordset &, const DeliveryNote &) {}

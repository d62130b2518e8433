#pragma once
// The delivery-note step: KTZ delivery notes (FAC_OUT rows of letter R)
// become Orva "RM" vouchers with their lines, one transaction per note, and
// the "RM" number book of the note's point of sale moves past each note.

#include "deliverynotes/stockdischarge.h"
#include "numbering/numbering.h"
#include "run/runcontext.h"

// ActualizaRemitos: one pass over the notes dated on or after the last
// transferred date (or "KTZ_FECHADESDE" on the first run), in date order.
// Sets CantRM to the notes counted (only when there are some) and raises
// CantRMAct for every voucher written; a note Orva already has is not
// written again, but its counter is still considered and the date still
// advances. Each note is begun, written and committed on its own; after each
// commit LastDeliveryNoteDate holds the note's date. Failures go to the run's
// error handling with the note (and line) named; a GiveUp propagates, and
// RunCancelled when the operator asked to stop, with the note's transaction
// still open for the run's clean-up to roll back.
void ActualizaRemitos(RunContext &context, Numbering &numbering, StockDischarge &discharge);

// The filter of the notes to transfer in this pass (the text after the table name).
QString deliveryNoteFilter(RunContext &context);
// The same from startDate (any date text), with the first-run or later-run text.
QString deliveryNoteFilterFrom(const QString &startDate, bool firstRun);

// Moves the "RM" counter of the "VENTAS" books past the note. A
// SucNroLetra that is not 13 characters long cannot be split into point of
// sale, number and letter: no counter moves, and the log says why.
void moveNoteCounter(RunContext &context, Numbering &numbering, const QString &SucNroLetra);

class DeliveryNoteTransfer : public TransferStep
{
public:
    explicit DeliveryNoteTransfer(Session &session);
    void run(RunContext &context) override { ActualizaRemitos(context, m_numbering, m_stockDischarge); }

private:
    Numbering m_numbering;
    StockDischarge m_stockDischarge;
};

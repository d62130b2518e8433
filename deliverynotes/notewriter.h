#pragma once
// Writing one delivery note into Orva: its "RM" voucher row, its lines and,
// when configured, its stock discharge. Runs inside the note's transaction.

#include "deliverynotes/deliverynote.h"

#include <QVariant>

class RunContext;
class StockDischarge;

// GrabaRemito: writes the voucher of note, with its lines, unless Orva has a
// voucher "RM" with the same IDCOMPROBANTE (then nothing is written, and
// nothing either when that check itself failed and the operator went past
// it). noteRow is the note's FAC_OUT row (its "id" keys the lines). Raises
// CantRMAct for every voucher written. Failures go to the run's error
// handling; a GiveUp propagates.
void GrabaRemito(RunContext &context, const DeliveryNote &note, const Recordset &noteRow, StockDischarge &discharge);

// GrabaRenglonesRemito: writes a V_MV_CPTEINSUMOS row per KTZ line of the
// note noteId and, when "DescargaStockRemitos" is "SI" (any case) and the
// note has lines, discharges them through discharge. A line that cannot be
// read or written is named in the error (note and line); continuing skips
// only that line. Lines whose article is not in KTZ's PRODUCTO are not
// written; the log names each of them.
void GrabaRenglonesRemito(RunContext &context, const DeliveryNote &note, const QString &noteId,
                          StockDischarge &discharge);

// The insert statements of a voucher and of one of its lines.
QString voucherInsert(const DeliveryNote &note);
QString lineInsert(const DeliveryNote &note, const DeliveryNoteLine &line);

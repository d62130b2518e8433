#include "reconcile/ktzside.h"
#include "deliverynotes/deliverynote.h"
#include "deliverynotes/deliverynotetransfer.h"
#include "sales/fuelload.h"
#include "sales/salesselection.h"
#include "sales/voucheridentity.h"
#include "services/errors.h"
#include "services/recordset.h"
#include "services/statement.h"
#include "services/svctools.h"

#include <functional>

namespace {

QString isoDay(const QDate &day)
{
    return day.toString(Qt::ISODate);
}

// The end of a range as the filters add it: before the day after it, so a
// date stored with its time still counts.
QString beforeDayAfter(const QString &column, const DayRange &range)
{
    return Statement(QStringLiteral(" AND {} < {}")).part(column).text(isoDay(range.to.addDays(1)));
}

QString within(const QString &column, const DayRange &range)
{
    return Statement(QStringLiteral("{} >= {}{}"))
        .part(column)
        .text(isoDay(range.from))
        .part(beforeDayAfter(column, range));
}

// The day an unreadable row is reported on: the one its date text starts
// with, when that is a day of the range; otherwise the range's first day.
QDate reportDay(const Recordset &row, const QString &column, const DayRange &range)
{
    QDate day;
    try {
        day = QDate::fromString(SvcTools::FieldText(row.value(column)).trimmed().left(10), Qt::ISODate);
    } catch (const RunTimeError &) {}
    return range.contains(day) ? day : range.from;
}

// Why a row cannot be reconciled: a date that is no date, or a Null in one
// of the amounts its Orva document carries. Empty when it can be read.
QString unreadableReason(const Recordset &row, const QString &dateColumn, const QStringList &amountColumns)
{
    if (!documentDay(row.value(dateColumn)).isValid())
        return QStringLiteral("la fecha no es una fecha (%1 '%2')")
            .arg(dateColumn, SvcTools::FieldText(row.value(dateColumn)));
    for (const QString &column : amountColumns) {
        if (row.value(column).isNull())
            return QStringLiteral("importe nulo (%1)").arg(column);
    }
    return {};
}

// How one kind of sales document is read.
struct SalesKind
{
    ReconcileKind kind;
    std::function<SalesDocument(const Recordset &)> read;
    std::function<QString(const Recordset &)> record;
    QString dateColumn;
    QStringList amountColumns;
};

// The identity of a sales row whose amounts or date cannot be read; empty
// when even that cannot be read.
QString salesRowKey(const Recordset &row, const SalesKind &how, const QString &voucherType)
{
    try {
        SalesDocument doc;
        const bool invoice = how.kind == ReconcileKind::Facturas;
        doc.branch = columnText(row, invoice ? QStringLiteral("fout_pventa") : QStringLiteral("T_TIPOCARGA"));
        doc.number = columnText(row, invoice ? QStringLiteral("fout_num") : QStringLiteral("N_COMP"));
        doc.letter = invoice ? columnText(row, QStringLiteral("fout_tipo")) : QStringLiteral("B");
        doc.id = documentId(row.value(QStringLiteral("id")), QStringLiteral("id"));
        return salesDocumentKey(voucherOf(doc, voucherType), doc.entryNumber());
    } catch (const RunTimeError &) {
        return {};
    }
}

// A selected document the journal would not write a line of.
bool hasNoAmount(const SalesDocument &doc)
{
    const Currency zero;
    return doc.total <= zero && doc.netTaxed <= zero && doc.nonTaxed <= zero && doc.vat <= zero;
}

void readSalesRow(const Recordset &row, const SalesKind &how, StationSide &side)
{
    KtzKind &k = side.kinds[int(how.kind)];
    const QString reason = unreadableReason(row, how.dateColumn, how.amountColumns);
    SalesDocument doc;
    try {
        if (!reason.isEmpty())
            throw RunTimeError(RunError{ErrorNumber::TypeMismatch, reason, {}, {}, {}});
        doc = how.read(row);
    } catch (const RunTimeError &e) {
        k.unreadable << UnreadableRow{how.record(row), e.error().description, reportDay(row, how.dateColumn, k.range),
                                      salesRowKey(row, how, side.voucherType)};
        return;
    }
    const VoucherIdentity voucher = voucherOf(doc, side.voucherType);
    const QString name = salesDocumentName(voucher, doc.entryNumber());
    const QDate day = documentDay(doc.date);
    if (hasNoAmount(doc)) {
        side.notTransferable << NotTransferable{
            side.station, day, how.kind, name, QStringLiteral("no_amount"), QStringLiteral("sin importe que asentar")};
        return;
    }
    // The customer line carries the total; a total of 0 or less has none.
    const Currency total = doc.total > Currency() ? doc.total : Currency();
    k.documents << KtzDocument{salesDocumentKey(voucher, doc.entryNumber()), name, day, voucher.sucursal, total};
}

void readSales(Connection &ktz, StationSide &side, const SalesKind &how)
{
    const DayRange range = side.kinds[int(how.kind)].range;
    if (range.isEmpty())
        return;
    SalesSelection selection = salesSelectionFrom(isoDay(range.from), true);
    selection.invoiceFilter += beforeDayAfter(QStringLiteral("FOUT_FECHA"), range);
    selection.loadFilter += beforeDayAfter(QStringLiteral("F_COMP"), range);
    Recordset rows;
    rows.open(ktz, how.kind == ReconcileKind::Facturas ? selection.invoiceStatement() : selection.loadStatement());
    for (; !rows.eof(); rows.moveNext())
        readSalesRow(rows, how, side);
}

void readNotes(Connection &ktz, StationSide &side)
{
    KtzKind &k = side.kinds[int(ReconcileKind::Remitos)];
    if (k.range.isEmpty())
        return;
    Recordset rows;
    rows.open(ktz,
              Statement(QStringLiteral("SELECT * FROM FAC_OUT {}{} ORDER BY FOUT_FECHA ASC"))
                  .part(deliveryNoteFilterFrom(isoDay(k.range.from), true))
                  .part(beforeDayAfter(QStringLiteral("FOUT_FECHA"), k.range)));
    for (; !rows.eof(); rows.moveNext()) {
        const QString reason = unreadableReason(rows, QStringLiteral("FOUT_FECHA"), {QStringLiteral("Total")});
        try {
            if (!reason.isEmpty())
                throw RunTimeError(RunError{ErrorNumber::TypeMismatch, reason, {}, {}, {}});
            const QString id = noteVoucherId(rows);
            k.documents << KtzDocument{id.toUpper(), noteDocumentName(id),
                                       documentDay(rows.value(QStringLiteral("FOUT_FECHA"))), id.left(4),
                                       noteTotal(rows)};
        } catch (const RunTimeError &e) {
            QString key;
            try {
                key = noteVoucherId(rows).toUpper();
            } catch (const RunTimeError &) {}
            k.unreadable << UnreadableRow{noteRecord(rows), e.error().description,
                                          reportDay(rows, QStringLiteral("FOUT_FECHA"), k.range), key};
        }
    }
}

// FAC_OUT rows of the days that neither the sales nor the delivery-note
// selection takes: letters other than A, B and R, numbers not above 0.
void readLeftOutDocuments(Connection &ktz, StationSide &side)
{
    const DayRange sales = side.kinds[int(ReconcileKind::Facturas)].range;
    const DayRange notes = side.kinds[int(ReconcileKind::Remitos)].range;
    const DayRange days = sales.united(notes);
    if (days.isEmpty())
        return;
    Recordset rows;
    rows.open(ktz,
              Statement(QStringLiteral("SELECT * FROM FAC_OUT WHERE {} AND NOT (COALESCE(FOUT_TIPO, '') IN "
                                       "('A', 'B', 'R') AND COALESCE(FOUT_NUM, 0) > 0) ORDER BY FOUT_FECHA ASC"))
                  .part(within(QStringLiteral("FOUT_FECHA"), days)));
    for (; !rows.eof(); rows.moveNext()) {
        const QString letter = recordColumnText(rows, QStringLiteral("fout_tipo"));
        const bool note = letter == QLatin1String("R");
        const bool soldLetter = letter == QLatin1String("A") || letter == QLatin1String("B");
        const DayRange &range = note ? notes : sales;
        const QDate day = documentDay(rows.value(QStringLiteral("FOUT_FECHA")));
        if (!range.contains(day))
            continue;
        const bool byNumber = note || soldLetter;
        side.notTransferable << NotTransferable{
            side.station,
            day,
            note ? ReconcileKind::Remitos : ReconcileKind::Facturas,
            note ? noteRecord(rows) : invoiceRecord(rows),
            byNumber ? QStringLiteral("number") : QStringLiteral("letter"),
            byNumber ? QStringLiteral("número %1: sólo se transfieren números mayores que 0")
                           .arg(recordColumnText(rows, QStringLiteral("fout_num")))
                     : QStringLiteral("letra '%1': sólo se transfieren facturas A y B").arg(letter)};
    }
}

void readLeftOutLoads(Connection &ktz, StationSide &side)
{
    const DayRange range = side.kinds[int(ReconcileKind::Cargas)].range;
    if (range.isEmpty())
        return;
    Recordset rows;
    rows.open(ktz,
              Statement(QStringLiteral("SELECT * FROM T_CARGAS WHERE {} AND NOT (COALESCE(N_COMP, 0) > 0) "
                                       "ORDER BY F_COMP ASC"))
                  .part(within(QStringLiteral("F_COMP"), range)));
    for (; !rows.eof(); rows.moveNext()) {
        const QDate day = documentDay(rows.value(QStringLiteral("F_COMP")));
        if (!range.contains(day))
            continue;
        side.notTransferable << NotTransferable{side.station,
                                                day,
                                                ReconcileKind::Cargas,
                                                loadRecord(rows),
                                                QStringLiteral("number"),
                                                QStringLiteral("número %1: sólo se transfieren números mayores que 0")
                                                    .arg(recordColumnText(rows, QStringLiteral("N_COMP")))};
    }
}

} // namespace

QString salesDocumentName(const VoucherIdentity &v, const QString &entryNumber)
{
    return QStringLiteral("%1 %2-%3 %4, asiento %5").arg(v.tc.trimmed(), v.sucursal, v.numero, v.letra, entryNumber);
}

QString noteDocumentName(const QString &id)
{
    if (id.size() != 13)
        return QStringLiteral("RM ") + id;
    return QStringLiteral("RM %1-%2 %3").arg(id.left(4), id.mid(4, 8), id.mid(12));
}

QString salesDocumentKey(const VoucherIdentity &v, const QString &entryNumber)
{
    return QStringList{v.sucursal, v.numero, v.letra, entryNumber}.join(QLatin1Char('|')).toUpper();
}

QDate documentDay(const QVariant &value)
{
    const QDateTime dt = parseDateTimeText(dateText(SvcTools::FieldValue(value)));
    return dt.isValid() ? dt.date() : QDate();
}

void readKtzSide(Connection &ktz, StationSide &side)
{
    const QStringList invoiceAmounts{QStringLiteral("Total"), QStringLiteral("neto_grav"), QStringLiteral("imp_ngrav"),
                                     QStringLiteral("fout_totiva")};
    const QStringList loadAmounts{QStringLiteral("IMP_CARGA"), QStringLiteral("VOL_CARGA"), QStringLiteral("N_ITC"),
                                  QStringLiteral("N_IVA")};
    readSales(
        ktz, side,
        SalesKind{ReconcileKind::Facturas, LeeFactura, invoiceRecord, QStringLiteral("FOUT_FECHA"), invoiceAmounts});
    readSales(ktz, side, SalesKind{ReconcileKind::Cargas, LeeCarga, loadRecord, QStringLiteral("F_COMP"), loadAmounts});
    readNotes(ktz, side);
    readLeftOutDocuments(ktz, side);
    readLeftOutLoads(ktz, side);
}

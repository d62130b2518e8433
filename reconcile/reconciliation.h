#pragma once
// The reconciliation of what KTZ holds against what Orva got: the documents
// of each side, keyed by how Orva recognises them, matched per station, day
// and kind into verdicts. Pure data and the matching; reading either side is
// in ktzside.h and orvaside.h.

#include "services/currency.h"

#include <QDate>
#include <QList>
#include <QString>

enum class ReconcileKind { Facturas = 0, Cargas = 1, Remitos = 2 };
constexpr int ReconcileKindCount = 3;

enum class Problem { Missing, Doubled, AmountDiffers, NotInKtz, NotReadable };

// Day verdicts, in the order they are chosen when a day has several problems
// (an unreadable row makes the whole day not readable).
enum class Verdict { Reconciled, NotReadable, Missing, Doubled, AmountsDiffer, NotInKtz };

// A closed range of days; empty when either end is invalid or to < from.
struct DayRange
{
    QDate from, to;
    bool isEmpty() const { return !from.isValid() || !to.isValid() || to < from; }
    bool contains(const QDate &day) const { return !isEmpty() && day >= from && day <= to; }
    // The union of both, as one range from the earlier start to the later end.
    DayRange united(const DayRange &other) const;
};

// A KTZ document the transfer selects, named and keyed as Orva knows it.
struct KtzDocument
{
    QString key;  // the identity Orva recognises it by (upper case)
    QString name; // how the reconciliation names it ("FA 0005-00001234 A, asiento 1001")
    QDate day;
    QString branch; // Orva's point of sale of the voucher ("0005")
    Currency total; // what its Orva document must carry
};

// Documents of Orva with one identity.
struct OrvaDocument
{
    QString key;
    QString name;
    QDate day;
    QString branch;
    int count = 0;  // how many times Orva holds it
    Currency total; // over all of them
};

// A KTZ row the reconciliation could not read (a Null amount, a date that is no date).
struct UnreadableRow
{
    QString row; // the row as the transfer names it
    QString reason;
    QDate day;   // the day it is reported on
    QString key; // its identity in Orva, when that much could be read
};

// A KTZ row the transfer leaves out by rule.
struct NotTransferable
{
    int station = 0;
    QDate day;
    ReconcileKind kind = ReconcileKind::Facturas;
    QString document;
    QString rule;     // "letter", "number" or "no_amount"
    QString ruleText; // the rule in words
};

// One station's KTZ side, for one kind.
struct KtzKind
{
    DayRange range; // the days reconciled for this kind (empty: none)
    QList<KtzDocument> documents;
    QList<UnreadableRow> unreadable;
};

struct StationSide
{
    int station = 0;
    QString voucherType; // the journal's TC of the station's sales
    bool opened = false;
    QString error; // why the station could not be reconciled
    KtzKind kinds[ReconcileKindCount];
    QList<NotTransferable> notTransferable;
};

struct Finding
{
    QString document;
    Problem problem = Problem::Missing;
    Currency ktzTotal, orvaTotal;
    QString detail; // for an unreadable row: why
};

struct DayResult
{
    int station = 0;
    QDate day;
    ReconcileKind kind = ReconcileKind::Facturas;
    int ktzCount = 0, orvaCount = 0;
    Currency ktzTotal, orvaTotal;
    Verdict verdict = Verdict::Reconciled;
    QList<Finding> findings;
};

// An Orva pool: documents under one identity space (the journal of one
// voucher type, or the "RM" vouchers) shared by the stations that write there.
struct OrvaPool
{
    QList<int> stations; // indexes into the station list, in pass order
    QList<ReconcileKind> kinds;
    DayRange range; // the days read from Orva
    QList<OrvaDocument> documents;
    bool read = false;
    QString error;
};

// Matches every station's KTZ documents against the pools and returns one
// row per station, day and kind that has a document on either side, in
// station, day and kind order. A document Orva lacks is missing; one it
// holds more than once is doubled; one whose total differs is named with
// both totals; an Orva document of no station's KTZ side is given to the
// station and kind whose documents share its point of sale (the first
// station covering its day when none does) and is dropped when a station of
// the pool could not be read, since it may be that station's.
QList<DayResult> matchDocuments(const QList<StationSide> &stations, const QList<OrvaPool> &pools);

// The verdict of a day from its findings.
Verdict verdictOf(const QList<Finding> &findings);

// Names used in reports and the JSON document.
QString kindName(ReconcileKind kind);  // "facturas", "cargas", "remitos"
QString kindTitle(ReconcileKind kind); // "Facturas", "Cargas", "Remitos"
QString verdictName(Verdict verdict);  // "reconciled", "missing", ...
QString verdictTitle(Verdict verdict); // in words, for the table and the window
QString problemName(Problem problem);  // "missing", "doubled", ...
QString problemTitle(Problem problem);

#include "run/recordwalk.h"
#include "services/sharedservices.h"

void walkSourceRows(RunContext &context, TransferKind kind, const QString &status, const QString &sql, qint32 &counted,
                    const std::function<void(const Recordset &)> &perRow)
{
    ErrorHandling &errors = context.svc.errors;
    context.progress.begin(status);
    Recordset rows = context.source.OpenRecordset(sql);
    if (!rows.hasRows())
        return;
    qint32 n = 0;
    for (; !rows.eof(); rows.moveNext())
        ++n;
    context.progress.counted(n);
    counted = n;
    context.countedRecords(kind, n);
    errors.attempt([&] { rows.moveFirst(); });
    while (!rows.eof()) {
        context.yield();
        context.stopIfRequested();
        context.tally.begin(kind);
        perRow(rows);
        context.tally.end(errors.record());
        rows.moveNext();
        context.progress.tick();
    }
    errors.setRecord(QString());
}

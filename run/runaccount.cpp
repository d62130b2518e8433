#include "run/runaccount.h"
#include "run/exitcodes.h"
#include "run/runcontext.h"

QString statusName(RunStatus status)
{
    switch (status) {
    case RunStatus::Completed:
        return QStringLiteral("completed");
    case RunStatus::CompletedWithOmissions:
        return QStringLiteral("completed_with_omissions");
    case RunStatus::Cancelled:
        return QStringLiteral("cancelled");
    case RunStatus::Abandoned:
        return QStringLiteral("abandoned");
    case RunStatus::ConnectionLost:
        return QStringLiteral("connection_lost");
    case RunStatus::NotStarted:
        return QStringLiteral("not_started");
    }
    return QString();
}

QString statusText(RunStatus status)
{
    switch (status) {
    case RunStatus::Completed:
        return QStringLiteral("terminada");
    case RunStatus::CompletedWithOmissions:
        return QStringLiteral("terminada con registros omitidos");
    case RunStatus::Cancelled:
        return QStringLiteral("cancelada");
    case RunStatus::Abandoned:
        return QStringLiteral("abandonada tras un error");
    case RunStatus::ConnectionLost:
        return QStringLiteral("conexión perdida");
    case RunStatus::NotStarted:
        return QStringLiteral("no iniciada");
    }
    return QString();
}

bool statusFinished(RunStatus status)
{
    return status == RunStatus::Completed || status == RunStatus::CompletedWithOmissions;
}

KindAccount &PassAccount::kind(TransferKind k)
{
    return kinds[int(k)];
}

const KindAccount &PassAccount::kind(TransferKind k) const
{
    return kinds[int(k)];
}

bool PassAccount::hasProblems() const
{
    for (const KindAccount &k : kinds) {
        if (!k.records.isEmpty())
            return true;
    }
    return false;
}

void RunAccount::conclude()
{
    bool problems = false;
    for (const PassAccount &p : passes)
        problems = problems || p.hasProblems();
    const PassAccount *last = passes.isEmpty() ? nullptr : &passes.last();
    if (!last) {
        status = RunStatus::NotStarted;
    } else if (statusFinished(last->status)) {
        status = problems ? RunStatus::CompletedWithOmissions : RunStatus::Completed;
    } else {
        status = last->status;
        reason = last->reason;
        // The first pass's database could not be opened: nothing of the run
        // started. A later one: the run lost a database it needed.
        if (status == RunStatus::NotStarted && passes.size() > 1)
            status = RunStatus::ConnectionLost;
    }
    switch (status) {
    case RunStatus::Completed:
        exitCode = ExitCompleted;
        break;
    case RunStatus::CompletedWithOmissions:
        exitCode = ExitCompletedWithOmissions;
        break;
    default:
        exitCode = ExitNotFinished;
        break;
    }
}

QString RunAccount::summary() const
{
    static const char *const labels[AccountKindCount] = {"artículos", "clientes", "ventas", "remitos"};
    QStringList kinds;
    for (int k = 0; k < AccountKindCount; ++k) {
        KindAccount sum;
        qint64 read = 0, notReached = 0;
        for (const PassAccount &p : passes) {
            const KindAccount &a = p.kinds[k];
            sum.selected = sum.selected || a.selected;
            read += a.read();
            notReached += a.notReached();
            sum.written += a.written;
            sum.unchanged += a.unchanged;
            sum.leftOut += a.leftOut;
            sum.failed += a.failed;
        }
        if (!sum.selected)
            continue;
        kinds << QStringLiteral("%1 %2 leídos/%3 grabados/%4 sin cambios/%5 omitidos/%6 fallidos/%7 no alcanzados")
                     .arg(QString::fromUtf8(labels[k]))
                     .arg(read)
                     .arg(sum.written)
                     .arg(sum.unchanged)
                     .arg(sum.leftOut)
                     .arg(sum.failed)
                     .arg(notReached);
    }
    const double seconds = started.isValid() && ended.isValid() ? started.msecsTo(ended) / 1000.0 : 0.0;
    QString line = QStringLiteral("Fin de la ejecución %1: %2 (%3), código de salida %4, %5 s, %6 paso(s)")
                       .arg(runId, statusName(status), statusText(status))
                       .arg(exitCode)
                       .arg(seconds, 0, 'f', 1)
                       .arg(passes.size());
    if (!kinds.isEmpty())
        line += QStringLiteral("; ") + kinds.join(QStringLiteral("; "));
    return line;
}

QStringList passDateKeys(int pass)
{
    if (pass == 0)
        return {QStringLiteral("KTZ_ULTIMAFECHA"), QStringLiteral("KTZ_ULTIMAFECHAR")};
    return {QStringLiteral("KTZ_ULTIMAFECHA2"), QStringLiteral("KTZ_ULTIMAFECHA2R")};
}

void RecordTally::begin(TransferKind kind, const QString &record)
{
    m_active = true;
    m_kind = int(kind);
    m_record = record;
    m_written = m_unchanged = m_failed = false;
    m_failStep.clear();
    m_failReason.clear();
    m_parts.clear();
    m_continued.clear();
}

void RecordTally::leaveOut(const QString &record, const QString &step, const QString &reason)
{
    if (m_active)
        m_parts.append({record, step, ProblemKind::LeftOut, reason});
}

void RecordTally::continuedPast(const QString &record, const QString &step, const QString &reason)
{
    if (m_active)
        m_continued.append({record.isEmpty() ? m_record : record, step, ProblemKind::LeftOut, reason});
}

void RecordTally::fail(const QString &step, const QString &reason)
{
    if (!m_active)
        return;
    m_failed = true;
    m_failStep = step;
    m_failReason = reason;
}

void RecordTally::failAtCommit(const QString &step)
{
    const QString reason = QStringLiteral("no se confirmó la transacción del documento");
    fail(step, m_continued.isEmpty() ? reason : reason + QStringLiteral(": ") + m_continued.last().reason);
}

void RecordTally::end(const QString &fallbackRecord)
{
    if (!m_active)
        return;
    m_active = false;
    if (m_record.isEmpty())
        m_record = fallbackRecord;
    KindAccount &k = m_account->kinds[m_kind];
    if (m_failed) {
        // What was open of it is rolled back: only the failure is named.
        ++k.failed;
        k.records.append({m_record, m_failStep, ProblemKind::Failed, m_failReason});
        return;
    }
    const QList<RecordProblem> met = m_parts + m_continued;
    if (m_written) {
        ++k.written;
        k.records.append(met);
        return;
    }
    if (m_unchanged && met.isEmpty()) {
        ++k.unchanged;
        return;
    }
    ++k.leftOut;
    QStringList reasons;
    for (const RecordProblem &p : met)
        reasons << (p.record == m_record || p.record.isEmpty() ? p.reason : p.record + QStringLiteral(": ") + p.reason);
    k.records.append(
        {m_record, met.isEmpty() ? transferStepName(TransferKind(m_kind)) : met.first().step, ProblemKind::LeftOut,
         reasons.isEmpty() ? QStringLiteral("no se grabó nada del registro") : reasons.join(QStringLiteral("; "))});
}

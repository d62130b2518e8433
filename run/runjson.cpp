#include "run/runjson.h"
#include "run/jsonfile.h"
#include "services/log.h"

#include <QJsonArray>
#include <cstdio>

#ifndef TRASPASOR_VERSION
#define TRASPASOR_VERSION "0"
#endif

namespace {

QJsonValue dateValue(const QVariant &value)
{
    return value.isValid() ? QJsonValue(value.toString()) : QJsonValue(QJsonValue::Null);
}

QJsonObject datesJson(const QMap<QString, QVariant> &dates)
{
    QJsonObject o;
    for (auto it = dates.cbegin(); it != dates.cend(); ++it)
        o.insert(it.key(), dateValue(it.value()));
    return o;
}

QJsonObject kindJson(const KindAccount &k)
{
    QJsonArray records;
    for (const RecordProblem &p : k.records) {
        records.append(QJsonObject{
            {QStringLiteral("record"), p.record},
            {QStringLiteral("step"), p.step},
            {QStringLiteral("problem"),
             p.problem == ProblemKind::LeftOut ? QStringLiteral("left_out") : QStringLiteral("failed")},
            {QStringLiteral("reason"), p.reason},
        });
    }
    return QJsonObject{
        {QStringLiteral("selected"), k.selected},   {QStringLiteral("started"), k.started},
        {QStringLiteral("read"), k.read()},         {QStringLiteral("written"), k.written},
        {QStringLiteral("unchanged"), k.unchanged}, {QStringLiteral("left_out"), k.leftOut},
        {QStringLiteral("failed"), k.failed},       {QStringLiteral("not_reached"), k.notReached()},
        {QStringLiteral("records"), records},
    };
}

QJsonObject passJson(const PassAccount &p)
{
    QJsonObject kinds;
    for (int k = 0; k < AccountKindCount; ++k)
        kinds.insert(kindKey(k), kindJson(p.kinds[k]));
    QJsonObject o{
        {QStringLiteral("pass"), p.pass},
        {QStringLiteral("ktz"), p.ktz},
        {QStringLiteral("status"), statusName(p.status)},
        {QStringLiteral("dates_before"), datesJson(p.datesBefore)},
        {QStringLiteral("dates_after"), datesJson(p.datesAfter)},
        {QStringLiteral("kinds"), kinds},
    };
    if (!p.reason.isEmpty())
        o.insert(QStringLiteral("reason"), p.reason);
    return o;
}

} // namespace

QString kindKey(int kind)
{
    static const char *const keys[AccountKindCount] = {"articulos", "clientes", "ventas", "remitos"};
    return QString::fromLatin1(keys[kind]);
}

QJsonObject runAccountJson(const RunAccount &run)
{
    QJsonArray passes;
    for (const PassAccount &p : run.passes)
        passes.append(passJson(p));
    QJsonObject o{
        {QStringLiteral("version"), QStringLiteral(TRASPASOR_VERSION)},
        {QStringLiteral("run_id"), run.runId},
        {QStringLiteral("started"), isoTimestamp(run.started)},
        {QStringLiteral("ended"), isoTimestamp(run.ended)},
        {QStringLiteral("orva"), run.orva},
        {QStringLiteral("exit_code"), run.exitCode},
        {QStringLiteral("status"), statusName(run.status)},
        {QStringLiteral("passes"), passes},
    };
    if (!run.reason.isEmpty())
        o.insert(QStringLiteral("reason"), run.reason);
    return o;
}

bool writeRunReport(const QString &path, const RunAccount &run, Log &log)
{
    if (path.trimmed().isEmpty())
        return true;
    QString error;
    if (writeJsonFile(path, runAccountJson(run), &error)) {
        log.info(QStringLiteral("Informe escrito en %1.").arg(path));
        return true;
    }
    log.error(error);
    std::fputs((error + QLatin1Char('\n')).toUtf8().constData(), stderr);
    return false;
}

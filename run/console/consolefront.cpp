#include "run/console/consolefront.h"
#include "services/svctools.h"

#include <QStringList>
#include <cstdio>

namespace {

QString withoutAccents(const QString &text)
{
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    }
    return plain.toLower();
}

} // namespace

ConsoleFront::ConsoleFront() : m_out(stdout), m_err(stderr)
{}

bool ConsoleFront::tickFromList(const QString &list, QString *error)
{
    if (list.trimmed().isEmpty()) {
        for (bool &t : ticked)
            t = true;
        return true;
    }
    static const char *const words[TransferKindCount] = {"articulos", "clientes", "ventas", "remitos"};
    bool chosen[TransferKindCount] = {false, false, false, false};
    for (const QString &part : list.split(QLatin1Char(','))) {
        const QString word = withoutAccents(part.trimmed());
        if (word.isEmpty())
            continue;
        bool known = false;
        for (int k = 0; k < TransferKindCount; ++k) {
            if (word == QLatin1String(words[k])) {
                chosen[k] = true;
                known = true;
            }
        }
        if (!known) {
            if (error)
                *error = QStringLiteral("@Datos: \"%1\" no es un tipo de datos (Articulos, Clientes, Ventas, Remitos)")
                             .arg(part.trimmed());
            return false;
        }
    }
    for (int k = 0; k < TransferKindCount; ++k)
        ticked[k] = chosen[k];
    return true;
}

bool ConsoleFront::progressWanted(const QString &progresoEntry, bool stderrIsTerminal)
{
    if (sameText(progresoEntry.trimmed(), QStringLiteral("SI")))
        return true;
    if (sameText(progresoEntry.trimmed(), QStringLiteral("NO")))
        return false;
    return stderrIsTerminal;
}

void ConsoleFront::progressChanged(const ProgressState &state)
{
    if (state.status != m_status) {
        finishStatusLine();
        m_status = state.status;
        if (showProgress && m_status != QLatin1String("Status")) {
            m_err << m_status << "..." << Qt::endl;
        }
    }
    // The figure: records done of those counted (the window's line runs one
    // ahead). The next step resets the bar before it names itself: a reset
    // does not undo the figure of the step that ended.
    if (state.value > 0)
        m_lastLine = QStringLiteral("%1 de %2 registros").arg(plainNumber(state.value), plainNumber(state.maximum));
    else if (m_lastLine.isEmpty())
        m_lastLine = QStringLiteral("sin registros");
}

void ConsoleFront::finishStatusLine()
{
    if (showProgress && !m_status.isEmpty() && m_status != QLatin1String("Status"))
        m_err << "  " << m_status << ": " << m_lastLine << Qt::endl;
    m_lastLine.clear();
}

void ConsoleFront::unloadProgressWindow()
{
    finishStatusLine();
    m_status.clear();
}

void ConsoleFront::passEnded(const RunReport &report)
{
    m_out << "Paso " << report.pass << " - " << report.title << Qt::endl;
    for (const ReportLine &line : report.lines)
        m_out << line.text << Qt::endl;
    // Below the four lines: how the pass ended, what became of every record
    // read, and each record left out or failed.
    m_out << report.statusLine() << Qt::endl;
    for (const QString &line : report.accountLines())
        m_out << line << Qt::endl;
    for (const QString &line : report.recordLines())
        m_out << line << Qt::endl;
    m_out.flush();
}

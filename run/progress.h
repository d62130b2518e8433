#pragma once
// The progress protocol the steps drive: status text, bar (Min, Max, Value,
// single precision) and the counter line "Actualizando n de m registros",
// which runs one ahead of the bar. A window or the console shows it.

#include <QString>

struct ProgressState
{
    QString status = QStringLiteral("Status");                        // lblStatus
    QString line = QStringLiteral("Actualizando 1 de 100 registros"); // lblProgreso
    float minimum = 0;                                                // PB.Min
    float maximum = 100;                                              // PB.Max
    float value = 0;                                                  // PB.Value
};

class ProgressView
{
public:
    virtual ~ProgressView() = default;
    virtual void progressChanged(const ProgressState &state) = 0;
};

class Progress
{
public:
    void setView(ProgressView *view) { m_view = view; }

    // A new progress window: the design texts.
    void reset();

    // Start of a step: PB.Min = 0, PB.Value = 0, and the status text.
    void begin(const QString &status);
    // Start of a step that writes its status later: only the bar.
    void resetBar();
    void setStatus(const QString &status);

    // After counting n records; only when n > 0: PB.Max = n and the line
    // "Actualizando 0 de n registros".
    void counted(qint64 n);

    // After each record: PB.Value + 1, then the line with PB.Value + 1 of
    // PB.Max. A value past the maximum is accepted.
    void tick();

    const ProgressState &state() const { return m_state; }
    QString status() const { return m_state.status; }
    QString line() const { return m_state.line; }

private:
    void notify();
    ProgressState m_state;
    ProgressView *m_view = nullptr;
};

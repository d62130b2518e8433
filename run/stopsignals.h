#pragma once
// SIGTERM and SIGINT (a scheduler stopping the program, Ctrl-C) end a run like
// the operator's cancel: the handler only records the signal and wakes the
// event loop through a pipe; the run sees it at its next stop test, rolls the
// open document back and writes its report.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject
{
    Q_OBJECT

public:
    // The process's one instance (made on first use, after the application).
    static StopSignals &instance();

    // Installs the handlers; the notifier lives in the calling thread's loop.
    void install();

    // The signal received (SIGTERM, SIGINT), or 0. Safe to call from anywhere.
    static int received();
    // Its name for people and reports ("SIGTERM").
    static QString receivedName();
    // Forgets a received signal (tests).
    static void clear();

signals:
    // Emitted by the event loop after a signal arrived.
    void arrived(int signalNumber);

private:
    StopSignals() = default;
    void drain();
    QSocketNotifier *m_notifier = nullptr;
};

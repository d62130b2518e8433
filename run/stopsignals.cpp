#include "run/stopsignals.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal flag must be lock-free");
std::atomic<int> receivedSignal{0};
int wakePipe[2] = {-1, -1};

// Only async-signal-safe work: store the number, write one byte.
extern "C" void onStopSignal(int signalNumber)
{
    const int savedErrno = errno;
    receivedSignal.store(signalNumber);
    if (wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakePipe[1], &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

StopSignals &StopSignals::instance()
{
    static StopSignals stopSignals;
    return stopSignals;
}

void StopSignals::install()
{
    if (m_notifier)
        return;
    if (::pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) == 0) {
        m_notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &StopSignals::drain);
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

int StopSignals::received()
{
    return receivedSignal.load();
}

QString StopSignals::receivedName()
{
    switch (received()) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case 0:
        return QString();
    }
    return QStringLiteral("señal %1").arg(received());
}

void StopSignals::clear()
{
    receivedSignal.store(0);
}

void StopSignals::drain()
{
    char bytes[64];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {}
    if (const int signalNumber = received())
        emit arrived(signalNumber);
}

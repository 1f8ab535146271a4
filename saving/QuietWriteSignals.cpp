#include "QuietWriteSignals.h"

#ifdef Q_OS_UNIX
#include <pthread.h>

namespace {

constexpr int writeSignals[] = { SIGPIPE, SIGXFSZ };

} // namespace

// Both signals are raised for the thread that wrote, so blocking them here is enough.
QuietWriteSignals::QuietWriteSignals()
{
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : writeSignals)
        sigaddset(&blocked, signal);
    sigpending(&m_pendingBefore);
    pthread_sigmask(SIG_BLOCK, &blocked, &m_previousMask);
}

QuietWriteSignals::~QuietWriteSignals()
{
    sigset_t pending;
    sigpending(&pending);
    for (const int signal : writeSignals) {
        if (!sigismember(&pending, signal) || sigismember(&m_pendingBefore, signal))
            continue;
        sigset_t raised;
        sigemptyset(&raised);
        sigaddset(&raised, signal);
        const timespec now {};
        sigtimedwait(&raised, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
}

#else

QuietWriteSignals::QuietWriteSignals() = default;
QuietWriteSignals::~QuietWriteSignals() = default;

#endif

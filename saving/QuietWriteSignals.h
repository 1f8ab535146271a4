#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

// While it lives, a write past the file size limit or into a pipe that nobody reads any more fails
// with an error in this thread instead of ending the program by SIGXFSZ or SIGPIPE; the signals
// such a write raised are taken back when it goes. Other threads and the process's own handling of
// these signals are left as they are.
class QuietWriteSignals
{
public:
    QuietWriteSignals();
    ~QuietWriteSignals();
    QuietWriteSignals(const QuietWriteSignals &) = delete;
    QuietWriteSignals &operator=(const QuietWriteSignals &) = delete;

#ifdef Q_OS_UNIX
private:
    sigset_t m_previousMask;
    sigset_t m_pendingBefore;
#endif
};

#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <iterator>
#endif

// While it lives, a signal that asks the program to end (SIGINT, SIGTERM, SIGHUP) waits: it is
// noted, and raised again once this goes, with the handling the program had before. So a file is
// never left half-written, with new bytes before old ones, by a signal that came in between. A
// signal the program ignores stays ignored.
class HeldEndSignals
{
public:
    HeldEndSignals();
    ~HeldEndSignals();
    HeldEndSignals(const HeldEndSignals &) = delete;
    HeldEndSignals &operator=(const HeldEndSignals &) = delete;

#ifdef Q_OS_UNIX
private:
    struct sigaction m_previous[3];
#endif
};

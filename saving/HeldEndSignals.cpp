#include "HeldEndSignals.h"

#ifdef Q_OS_UNIX

namespace {

constexpr int endSignals[] = { SIGINT, SIGTERM, SIGHUP };

// One flag a signal, set by whichever thread the signal came to.
volatile std::sig_atomic_t noted[std::size(endSignals)];

void note(int signal)
{
    for (std::size_t i = 0; i < std::size(endSignals); ++i)
        if (endSignals[i] == signal)
            noted[i] = 1;
}

} // namespace

HeldEndSignals::HeldEndSignals()
{
    struct sigaction holding = {};
    holding.sa_handler = note;
    holding.sa_flags = SA_RESTART;
    sigfillset(&holding.sa_mask);
    for (std::size_t i = 0; i < std::size(endSignals); ++i) {
        noted[i] = 0;
        sigaction(endSignals[i], nullptr, &m_previous[i]);
        if (m_previous[i].sa_handler != SIG_IGN)
            sigaction(endSignals[i], &holding, nullptr);
    }
}

HeldEndSignals::~HeldEndSignals()
{
    for (std::size_t i = 0; i < std::size(endSignals); ++i) {
        sigaction(endSignals[i], &m_previous[i], nullptr);
        if (noted[i])
            std::raise(endSignals[i]);
    }
}

#else

HeldEndSignals::HeldEndSignals() = default;
HeldEndSignals::~HeldEndSignals() = default;

#endif

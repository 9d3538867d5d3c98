#include "platform/StopSignals.h"

namespace {
volatile std::sig_atomic_t received = 0;

void remember(int signal)
{
    received = signal;
}
} // namespace

StopSignals::StopSignals()
{
    received = 0;
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    // Restarted reads and writes: the flag is read at the next step.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &m_oldInt);
    sigaction(SIGTERM, &action, &m_oldTerm);
}

StopSignals::~StopSignals()
{
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
}

int StopSignals::Received()
{
    return received;
}

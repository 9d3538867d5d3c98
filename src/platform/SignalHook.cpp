#include "platform/SignalHook.h"
#include <QByteArray>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

void SignalHook::Reach(const char* step, int n)
{
    static const QByteArray wanted = qgetenv("CALVENOR_SIGNAL_AT");
    if (wanted.isEmpty())
        return;
    const QByteArray here = n > 0 ? QByteArray(step) + ':' + QByteArray::number(n) : QByteArray(step);
    if (wanted != here)
        return;
    const QByteArray number = qgetenv("CALVENOR_SIGNAL");
    std::raise(number.isEmpty() ? SIGTERM : number.toInt());
    // A stop is taken up on a thread of its own: let it land before going on.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

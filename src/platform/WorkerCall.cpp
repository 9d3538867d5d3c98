#include "platform/WorkerCall.h"
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

void WorkerCall::Run(const std::function<void()>& work, const std::function<void()>& tick, int tickMs)
{
    QEventLoop loop;
    QTimer ticker;
    if (tick) {
        QObject::connect(&ticker, &QTimer::timeout, &loop, tick);
        ticker.start(tickMs);
    }
    std::atomic<bool> done{false};
    std::exception_ptr error;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    // The loop can be left early by the application quitting: the work still
    // has to end before its data goes away.
    while (!done)
        loop.exec();
    worker.join();
    ticker.stop();
    if (tick)
        tick();
    if (error)
        std::rethrow_exception(error);
}

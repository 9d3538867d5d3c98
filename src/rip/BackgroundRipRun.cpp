#include "rip/BackgroundRipRun.h"
#include "platform/WorkerCall.h"
#include "rip/RipRun.h"
#include "rip/TCDRIP.h"
#include <utility>

BackgroundRipRun::BackgroundRipRun(RipRun& run, TCDRIP& ripper) : m_run(run), m_ripper(ripper) {}

void BackgroundRipRun::Execute(const std::function<void(const Progress&)>& show)
{
    struct HeldBack {
        TCDRIP& ripper;
        RipRun& run;
        TCDRIP::TProgressEvent progress = std::exchange(ripper.OnProgress, nullptr);
        std::function<void()> messages = std::exchange(ripper.ProcessMessages, nullptr);
        std::function<void(const QString&)> trackStart = run.OnTrackStart;
        ~HeldBack()
        {
            ripper.OnProgress = progress;
            ripper.ProcessMessages = messages;
            run.OnTrackStart = trackStart;
        }
    } held{m_ripper, m_run};
    m_run.OnTrackStart = [this](const QString& path) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_target = path;
    };

    WorkerCall::Run([this] { m_run.Execute(); },
                    [&] {
                        Progress p;
                        p.trackPercent = m_run.TrackPercent();
                        p.workDone = m_run.WorkDone();
                        {
                            std::lock_guard<std::mutex> lock(m_mutex);
                            p.target = m_target;
                        }
                        if (show)
                            show(p);
                    });
}

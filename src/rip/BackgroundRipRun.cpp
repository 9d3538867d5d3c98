#include "rip/BackgroundRipRun.h"
#include "platform/WorkerCall.h"
#include "rip/RipRun.h"

void BackgroundRipRun::Execute(const std::function<void(const Progress&)>& show)
{
    WorkerCall::Run([this] { m_run.Execute(this); },
                    [&] {
                        Progress p;
                        p.trackPercent = m_run.TrackPercent();
                        p.workDone = m_run.WorkDone();
                        {
                            std::lock_guard<std::mutex> lock(m_mutex);
                            p.track = m_track;
                            p.target = m_target;
                        }
                        if (show)
                            show(p);
                    });
}

void BackgroundRipRun::TrackBegins(int number, const QString& path)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_track = number;
    m_target = path;
}

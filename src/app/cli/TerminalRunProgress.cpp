#include "app/cli/TerminalRunProgress.h"
#include "platform/Console.h"
#include "platform/StopSignals.h"
#include "rip/RipReport.h"
#include "rip/RipRun.h"
#include "rip/TCDRIP.h"
#include <QLocale>
#include <QTextStream>
#include <numeric>

namespace {
constexpr double SectorsPerSecond = 75;
// Sooner, a speed would be the first chunk's, far from the run's.
constexpr int64_t SettledMs = 500;
// On a terminal, the speed and the time left are brought up to date this
// often even when the percentage stands still.
constexpr int64_t RefreshMs = 1000;
// Into a file or a pipe: a line at each tenth of the run.
constexpr int PlainStep = 10;
} // namespace

TerminalRunProgress::TerminalRunProgress(QTextStream& err, const QMap<int, int>& sectors, std::function<void()> stop)
    : m_err(err), m_sectors(sectors), m_stop(std::move(stop)), m_terminal(Console::IsTerminal(err))
{
    m_clock.start();
    m_elapsedMs = [this] { return m_clock.elapsed(); };
}

TerminalRunProgress::~TerminalRunProgress()
{
    endLine();
}

QMap<int, int> TerminalRunProgress::SectorsOf(const TCDRIP& ripper, const QList<int>& numbers)
{
    QMap<int, int> sectors;
    for (int n : numbers) {
        const TTrack* t = ripper.TrackOf(n);
        sectors.insert(n, t ? t->LastSector - t->FirstSector + 1 : 0);
    }
    return sectors;
}

QString TerminalRunProgress::Text(const Figures& figures)
{
    QString text = QStringLiteral("Piste %1/%2 – %3 %").arg(figures.track).arg(figures.tracks).arg(figures.percent);
    if (figures.speed > 0)
        text += QStringLiteral(" – %1×").arg(QLocale(QLocale::French).toString(figures.speed, 'f', 1));
    if (figures.secondsLeft >= 0)
        text += QStringLiteral(" – temps restant %1").arg(RipReport::Clock(figures.secondsLeft));
    return text;
}

void TerminalRunProgress::TrackBegins(int number, const QString&)
{
    // A test read before a copy read counts in the speed, not in the run's share.
    if (!m_begun.isEmpty())
        m_earlierReads += int64_t(m_sectors.value(m_begun.last())) * m_percent / 100;
    m_percent = 0;
    if (!m_begun.contains(number))
        m_begun << number;
    show(false);
}

void TerminalRunProgress::ReadProgress(int percent)
{
    m_percent = percent;
    show(false);
}

void TerminalRunProgress::Breathe()
{
    // Also catches a signal that came before the read began.
    if (m_stop && StopSignals::Received())
        m_stop();
}

void TerminalRunProgress::Finish()
{
    // A run that read nothing has nothing to tell.
    if (!m_begun.isEmpty())
        show(true);
    endLine();
}

int64_t TerminalRunProgress::sectorsDone() const
{
    if (m_begun.isEmpty())
        return 0;
    int64_t done = int64_t(m_sectors.value(m_begun.last())) * m_percent / 100;
    for (qsizetype k = 0; k + 1 < m_begun.size(); ++k)
        done += m_sectors.value(m_begun.at(k));
    return done;
}

double TerminalRunProgress::speed(int64_t elapsedMs) const
{
    if (elapsedMs < SettledMs || m_begun.isEmpty())
        return 0;
    const int64_t read = m_earlierReads + int64_t(m_sectors.value(m_begun.last())) * m_percent / 100;
    return read / SectorsPerSecond / (double(elapsedMs) / 1000);
}

TerminalRunProgress::Figures TerminalRunProgress::figures() const
{
    const int64_t elapsed = m_elapsedMs();
    Figures f;
    f.track = int(m_begun.size());
    f.tracks = int(m_sectors.size());
    f.speed = speed(elapsed);
    if (m_run) {
        const int total = m_run->WorkTotal();
        f.percent = total > 0 ? 100 * m_run->WorkDone() / total : 0;
        f.secondsLeft = elapsed >= SettledMs ? m_run->SecondsLeft(elapsed) : -1;
        return f;
    }
    const int64_t total = std::accumulate(m_sectors.cbegin(), m_sectors.cend(), int64_t(0));
    const int64_t done = sectorsDone();
    f.percent = total > 0 ? int(100 * done / total) : 0;
    if (f.speed > 0)
        f.secondsLeft = int((total - done) / SectorsPerSecond / f.speed);
    return f;
}

void TerminalRunProgress::show(bool force)
{
    const int64_t now = m_elapsedMs();
    const Figures f = figures();
    const QString text = Text(f);
    if (text == m_shownText)
        return;
    const int step = m_terminal ? 1 : PlainStep;
    const bool moved = m_shownText.isEmpty() || f.track != m_shown.track || f.percent / step != m_shown.percent / step;
    // A terminal's line brings the speed and time left up to date now and
    // then; a plain line tells the last percentage once.
    const bool due = m_terminal ? force || now - m_shownAt >= RefreshMs : force && f.percent != m_shown.percent;
    if (!moved && !due)
        return;
    m_shown = f;
    m_shownText = text;
    m_shownAt = now;
    write(text);
}

void TerminalRunProgress::write(const QString& text)
{
    if (!m_terminal) {
        m_err << text << '\n';
    } else {
        // Spaces wipe out the end of a longer line written before.
        m_err << '\r' << text << QString(std::max<qsizetype>(0, m_openLength - text.size()), ' ');
        m_openLength = text.size();
        m_lineOpen = true;
    }
    m_err.flush();
}

void TerminalRunProgress::endLine()
{
    if (!m_lineOpen)
        return;
    m_err << '\n';
    m_err.flush();
    m_lineOpen = false;
    m_openLength = 0;
}

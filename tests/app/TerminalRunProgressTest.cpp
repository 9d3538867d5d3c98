#include "app/cli/TerminalRunProgress.h"
#include <QString>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

namespace {
// A terminal of the test's own: what the program writes to its far end is
// read back, byte for byte, from its near end.
class PseudoTerminal {
public:
    PseudoTerminal()
    {
        m_near = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_near < 0 || grantpt(m_near) != 0 || unlockpt(m_near) != 0)
            return;
        const int far = open(ptsname(m_near), O_RDWR | O_NOCTTY);
        termios raw{};
        tcgetattr(far, &raw);
        cfmakeraw(&raw); // no "\r" added before each "\n"
        tcsetattr(far, TCSANOW, &raw);
        m_far = fdopen(far, "w");
    }
    ~PseudoTerminal()
    {
        if (m_far)
            fclose(m_far);
        if (m_near >= 0)
            close(m_near);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opened as standard error is: a stream over a C file.
    FILE* Far() const { return m_far; }
    QString Written() const
    {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t n; (n = read(m_near, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        return QString::fromUtf8(bytes);
    }

private:
    int m_near = -1;
    FILE* m_far = nullptr;
};

// A run of two tracks of 750 sectors (10 s each) told to the progress on a
// clock of the test's own: the first read at 20 times real time, the second
// at about 5.
class RunProgress : public ::testing::Test {
protected:
    void play(QTextStream& err, bool finished)
    {
        TerminalRunProgress progress(err, {{1, 750}, {2, 750}});
        progress.SetClock([this] { return now; });
        const std::pair<int64_t, std::function<void()>> steps[] = {
            {0, [&] { progress.TrackBegins(1, "un.wav"); }},
            {500, [&] { progress.ReadProgress(100); }},
            {2000, [&] { progress.TrackBegins(2, "deux.wav"); }},
            {2200, [&] { progress.ReadProgress(4); }},
            {4000, [&] { progress.ReadProgress(100); }},
        };
        for (const auto& [at, step] : steps) {
            if (!finished && at > 500)
                break;
            now = at;
            step();
        }
        if (finished)
            progress.Finish();
    }

    int64_t now = 0;
};

const QString L1 = QString::fromUtf8("Piste 1/2 – 0 %");
const QString L2 = QString::fromUtf8("Piste 1/2 – 50 % – 20,0× – temps restant 00:00");
const QString L3 = QString::fromUtf8("Piste 2/2 – 50 % – 5,0× – temps restant 00:02");
const QString L4 = QString::fromUtf8("Piste 2/2 – 52 % – 4,7× – temps restant 00:02");
const QString L5 = QString::fromUtf8("Piste 2/2 – 100 % – 5,0× – temps restant 00:00");
} // namespace

TEST(RunProgressText, TellsWhatIsKnown)
{
    const struct {
        TerminalRunProgress::Figures figures;
        const char* text;
    } cases[] = {
        {{1, 3, 0, 0, -1}, "Piste 1/3 – 0 %"},
        {{2, 3, 45, 3.24, 12}, "Piste 2/3 – 45 % – 3,2× – temps restant 00:12"},
        {{12, 12, 99, 24.06, 130}, "Piste 12/12 – 99 % – 24,1× – temps restant 02:10"},
        {{1, 1, 5, 0, 4000}, "Piste 1/1 – 5 % – temps restant 66:40"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalRunProgress::Text(c.figures), QString::fromUtf8(c.text));
}

// On a terminal, one line rewritten in place (spaces wipe out the end of a
// longer one) and ended, even when the run is cut short; into a file, a
// line at each track and each tenth of the run.
TEST_F(RunProgress, OneLineRewrittenOnATerminalAndPlainLinesElsewhere)
{
    const struct {
        bool terminal;
        bool finished;
        QString written;
    } cases[] = {
        {true, true, '\r' + L1 + '\r' + L2 + '\r' + L3 + ' ' + '\r' + L4 + '\r' + L5 + '\n'},
        {true, false, '\r' + L1 + '\r' + L2 + '\n'},
        {false, true, L1 + '\n' + L2 + '\n' + L3 + '\n' + L5 + '\n'},
        {false, false, L1 + '\n' + L2 + '\n'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.terminal ? "terminal" : "file") + (c.finished ? ", finished" : ", cut short"));
        if (c.terminal) {
            const PseudoTerminal terminal;
            ASSERT_NE(terminal.Far(), nullptr) << "no pseudo-terminal here";
            {
                QTextStream err(terminal.Far());
                play(err, c.finished);
            }
            EXPECT_EQ(terminal.Written().toStdString(), c.written.toStdString());
        } else {
            QString written;
            {
                QTextStream err(&written);
                play(err, c.finished);
            }
            EXPECT_EQ(written.toStdString(), c.written.toStdString());
        }
    }
}

#include "platform/CalvenorError.h"
#include "platform/FileRewrite.h"
#include "platform/FlacTag.h"
#include "platform/WholeFile.h"
#include "support/DiscImage.h"
#include "support/FlacTool.h"
#include "support/TestFiles.h"
#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
// Writers under a cap on the size of any file, as a full disk would stop
// them: the failure must be raised, never reported as success, and the
// earlier file must stay as it was.
class CheckedWrites : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FlacTool::Encode(DiscImage::NoisePcm(40, 3), 2, 44100, 16, flac));
        flacBytes = TestFiles::ReadAll(flac);
        cover.frontCover = QByteArray(200 * 1024, 'c'); // far past any padding
        cover.frontCoverMime = QStringLiteral("image/jpeg");
    }

    // The error text raised by write with files capped at limit bytes; empty when none.
    static QString capped(qint64 limit, const std::function<void()>& write)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        try {
            write();
        } catch (const CalvenorError& e) {
            error = e.message();
        }
        setrlimit(RLIMIT_FSIZE, &old);
        return error;
    }

    QTemporaryDir dir;
    QString flac = dir.filePath("piste.flac");
    QByteArray flacBytes;
    TagFields cover;
};
} // namespace

TEST_F(CheckedWrites, AFailedWriteIsRaisedAndLeavesTheEarlierFile)
{
    const QString log = dir.filePath("Rapport.log");
    ASSERT_TRUE(TestFiles::Write(log, "ancien"));
    const struct {
        const char* name;
        QString path;
        QByteArray earlier;
        std::function<void()> write;
    } cases[] = {
        {"whole file", log, "ancien", [&] { WholeFile::Write(log, QByteArray(1024 * 1024, 'x')); }},
        {"rewrite", flac, flacBytes,
         [&] { FileRewrite::Apply(flac, [&](const QString& copy) { FlacTag::Write(copy, cover); }); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString error = capped(flacBytes.size() + 4096, c.write);
        EXPECT_FALSE(error.isEmpty()) << "a failed write reported as success";
        EXPECT_TRUE(error.contains(QFileInfo(c.path).absoluteFilePath())) << error.toStdString();
        EXPECT_EQ(TestFiles::ReadAll(c.path), c.earlier);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no copy left behind";
}

// A tag that outgrows the room in a FLAC file moves its audio: every write of that move counts.
TEST_F(CheckedWrites, ATagThatCannotGrowIsAnError)
{
    const QString error = capped(flacBytes.size() + 4096, [&] { FlacTag::Write(flac, cover); });
    EXPECT_TRUE(error.startsWith("Impossible d'écrire")) << error.toStdString();
    EXPECT_TRUE(capped(flacBytes.size() + 400 * 1024, [&] { FlacTag::Write(flac, cover); }).isEmpty());
    EXPECT_TRUE(FlacTool::Decode(flac).has_value()) << "whole once there is room";
}

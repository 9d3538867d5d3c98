#include "rip/RepairedTrackWriter.h"
#include "encode/RipOutput.h"
#include "platform/FileError.h"
#include "platform/FileRewrite.h"
#include "platform/FlacEncoder.h"
#include "platform/FlacTag.h"
#include "platform/HttpCancelled.h"
#include "platform/PosixFd.h"
#include "rip/TrackAudioFile.h"
#include "rip/TrackSums.h"
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int CdChannels = 2;
constexpr int CdRate = 44100;
constexpr int64_t SampleBytes = 4;

// Whether a correction falls in the disc's bytes from..from + bytes.
bool touches(const std::vector<CtdbRepair::Correction>& corrections, int64_t from, int64_t bytes)
{
    const auto first = std::lower_bound(corrections.begin(), corrections.end(), from / 2,
                                        [](const CtdbRepair::Correction& c, int64_t word) { return c.Word < word; });
    return first != corrections.end() && 2 * first->Word < from + bytes;
}

// Each piece of the track's audio mended, with its byte in the track and
// whether a correction fell in it.
void readMended(const QString& path, int64_t start, const std::vector<CtdbRepair::Correction>& corrections,
                TrackSums& sums, const std::atomic<bool>* cancel,
                const std::function<void(int64_t at, const std::vector<uint8_t>& pcm, bool changed)>& piece)
{
    TrackAudioFile file(path);
    std::vector<uint8_t> pcm;
    for (int64_t at = 0; file.Read(pcm); at += static_cast<int64_t>(pcm.size())) {
        if (cancel && *cancel)
            throw HttpCancelled();
        const auto bytes = static_cast<int64_t>(pcm.size());
        const bool changed = touches(corrections, start + at, bytes);
        if (changed)
            CtdbRepair::Apply(corrections, pcm.data(), start + at, bytes);
        sums.Add(pcm.data(), bytes);
        piece(at, pcm, changed);
    }
}

int openCopy(const QString& copy, int flags)
{
    const int fd = ::open(QFile::encodeName(copy).constData(), flags | O_CLOEXEC);
    if (fd < 0)
        throw FileError::CannotOpen(copy, FileError::Reason(errno));
    return fd;
}
} // namespace

void RepairedTrackWriter::Write(const QString& path, int64_t start,
                                const std::vector<CtdbRepair::Correction>& corrections, TrackSums& sums,
                                const std::atomic<bool>* cancel)
{
    FileRewrite::Apply(path, [&](const QString& copy) {
        if (TrackAudioFile::IsWav(path))
            patchWav(path, copy, start, corrections, sums, cancel);
        else
            encodeFlac(path, copy, start, corrections, sums, cancel);
    });
}

void RepairedTrackWriter::patchWav(const QString& path, const QString& copy, int64_t start,
                                   const std::vector<CtdbRepair::Correction>& corrections, TrackSums& sums,
                                   const std::atomic<bool>* cancel)
{
    const int64_t dataOffset = TrackAudioFile(path).WavDataOffset();
    const PosixFd fd(openCopy(copy, O_WRONLY));
    readMended(path, start, corrections, sums, cancel, [&](int64_t at, const std::vector<uint8_t>& pcm, bool changed) {
        if (changed && ::pwrite(fd.Get(), pcm.data(), pcm.size(), dataOffset + at) != static_cast<ssize_t>(pcm.size()))
            throw FileError::CannotWrite(path, errno);
    });
}

void RepairedTrackWriter::encodeFlac(const QString& path, const QString& copy, int64_t start,
                                     const std::vector<CtdbRepair::Correction>& corrections, TrackSums& sums,
                                     const std::atomic<bool>* cancel)
{
    TagFields tags;
    const bool tagged = FlacTag::Read(path, tags);
    const int64_t frames = TrackAudioFile(path).Bytes() / SampleBytes;
    {
        const PosixFd fd(openCopy(copy, O_WRONLY | O_TRUNC));
        RipOutput output(fd.Get(), path);
        FlacEncoder encoder(output, CdChannels, CdRate, FlacEncoder::DefaultLevel, static_cast<uint64_t>(frames));
        readMended(path, start, corrections, sums, cancel, [&](int64_t, const std::vector<uint8_t>& pcm, bool) {
            encoder.Encode(pcm.data(), static_cast<int64_t>(pcm.size()) / SampleBytes);
        });
        encoder.Finish();
    }
    if (tagged)
        FlacTag::Write(copy, tags);
}

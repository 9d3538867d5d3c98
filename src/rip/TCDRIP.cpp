#include "rip/TCDRIP.h"
#include "rip/HiddenAudio.h"
#include "encode/TLameCoder.h"
#include "platform/FlacEncoder.h"
#include "platform/ICdRipLibrary.h"
#include "platform/OpusEncoder.h"
#include "platform/PathText.h"
#include "platform/PcmFormatConverter.h"
#include "platform/TargetNameRule.h"
#include "platform/VorbisEncoder.h"
#include <QFileInfo>
#include "encode/ECDRIPError.h"
#include "encode/LibraryTrackEncoder.h"
#include "encode/Mp3TrackEncoder.h"
#include "encode/ParallelTrackEncoder.h"
#include "encode/RipOutput.h"
#include "encode/TrackPcmStream.h"
#include "encode/WavHeader.h"
#include "rip/IRipProgress.h"
#include "rip/JitterLog.h"
#include "rip/ReadOffsetLibrary.h"
#include "rip/TrackSums.h"
#include <exception>
#include <memory>

namespace {
const QString InitializationFailure = QStringLiteral("Initialization failure");

// Runs one step of the end of a rip; keeps the first error and goes on.
template <typename Step>
void runKeepingFirstError(std::exception_ptr& firstError, Step step)
{
    try {
        step();
    } catch (...) {
        if (!firstError)
            firstError = std::current_exception();
    }
}
} // namespace

TCDRIP::TCDRIP(ICdRipLibrary& library) : m_library(library)
{
    m_jitterCorrect = false;
    try {
        initialize();
    } catch (...) {
        throw ECDRIPError(InitializationFailure);
    }
    JitterErrors = 0;
}

TCDRIP::TCDRIP(ICdRipLibrary& library, EmptyTag) : m_library(library)
{
    m_jitterCorrect = false;
}

TCDRIP* TCDRIP::CreateEmpty(ICdRipLibrary& library)
{
    return new TCDRIP(library, EmptyTag{});
}

TCDRIP::~TCDRIP() = default;

void TCDRIP::initialize()
{
    Version = QString::number(m_library.CR_GetCDRipVersion());
    if (m_library.CR_Init() == CR_FAILURE)
        return;
    if (m_library.CR_GetCDROMParameters(&Params) != CR_FAILURE) {
        m_cdRomNum = m_library.CR_GetActiveCDROM();
        copyDriveParameters();
        m_jitterCorrect = true;
        Params.set32(TCDRomParams::JitterCorrectionOffset, -1);
    }
    readToc();
}

void TCDRIP::copyDriveParameters()
{
    m_driveTable.CopyFrom(Params);
    m_outputFormat = static_cast<TOutputFormat>(Params.bytes[TCDRomParams::OutputFormatOffset]);
    Speed = Params.get32(TCDRomParams::SpeedOffset);
}

void TCDRIP::SetCDRomNum(int32_t index)
{
    if (index == m_cdRomNum)
        return;
    try {
        selectDrive(index);
    } catch (...) {
        throw ECDRIPError(InitializationFailure);
    }
}

void TCDRIP::selectDrive(int32_t index)
{
    if (m_library.CR_SetActiveCDROM(index) != CR_FAILURE
        && m_library.CR_GetCDROMParameters(&Params) != CR_FAILURE) {
        copyDriveParameters();
        m_cdRomNum = index;
    }
    Tracks.clear();
    readToc();
}

void TCDRIP::readToc()
{
    if (m_library.CR_ReadToc() == CR_FAILURE)
        return;
    const int32_t count = m_library.CR_GetNumTocEntries();
    for (int32_t i = 0; i < count; ++i) {
        const TTocEntry e = m_library.CR_GetTocEntry(i);
        const TTocEntry next = m_library.CR_GetTocEntry(i + 1);
        TTrack t;
        t.TrackNum = e.btTrackNumber;
        t.FirstSector = static_cast<int32_t>(e.dwStartSector);
        t.LastSector = static_cast<int32_t>(next.dwStartSector) - 1;
        t.Kind = e.btFlag == TOC_FLAG_AUDIO ? QStringLiteral("Audio") : QStringLiteral("Data");
        Tracks.append({EntryName(t.TrackNum), t});
    }
    if (!Tracks.isEmpty() && Tracks.first().Track.FirstSector > 0 && ApplyParameters())
        if (const std::optional<TTrack> hidden = HiddenAudio::Before(m_library, Tracks.first().Track))
            Tracks.prepend({EntryName(HiddenTrackNumber), *hidden});
}

const TTrack* TCDRIP::TrackOf(int number) const
{
    for (const TrackEntry& entry : Tracks)
        if (entry.Track.TrackNum == number)
            return &entry.Track;
    return nullptr;
}

QList<AlbumTrack> TCDRIP::AlbumTracks() const
{
    QList<AlbumTrack> tracks;
    for (const TrackEntry& entry : Tracks)
        if (entry.Track.Kind == QLatin1String("Audio")) {
            AlbumTrack track;
            track.number = entry.Track.TrackNum;
            if (track.number == HiddenTrackNumber)
                track.setValue(AlbumTrack::Title, QStringLiteral("Piste cachée"));
            tracks.append(track);
        }
    return tracks;
}

QString TCDRIP::EntryName(int trackNumber)
{
    return QStringLiteral("Track") + QStringLiteral("%1").arg(trackNumber, 2, 10, QLatin1Char('0'));
}

void TCDRIP::SetCoder(TLameCoder* coder)
{
    m_coder = coder;
    ApplyOutputFormat();
}

void TCDRIP::SetOutputFormat(TOutputFormat format)
{
    m_outputFormat = format;
    Params.set32(TCDRomParams::OutputFormatOffset, static_cast<int32_t>(format));
    ApplyOutputFormat();
}

void TCDRIP::SetJitterCorrect(bool v)
{
    if (v == m_jitterCorrect)
        return;
    m_jitterCorrect = v;
    Params.set32(TCDRomParams::JitterCorrectionOffset, v ? -1 : 0);
}

void TCDRIP::ApplyOutputFormat()
{
    if (!m_coder)
        return;
    const OutputLayout layout = layoutOf(m_outputFormat);
    m_coder->SetMode(layout.channels == 1 ? MONO : STEREO);
    m_coder->SetSampleRate(static_cast<uint32_t>(layout.sampleRate));
}

bool TCDRIP::ApplyParameters()
{
    try {
        return m_library.CR_SetCDROMParameters(&Params) != CR_FAILURE;
    } catch (...) {
        throw ECDRIPError(QStringLiteral("Error setting parameters"));
    }
}

QString TCDRIP::OutputPath(const QString& path) const
{
    return EncodesFile() ? PathText::WithExtension(path, Extension()) : path;
}

namespace {
// A track's encoder of one of the platform's libraries, with its settings.
template <class Encoder, class... Settings>
TrackEncoderFactory libraryEncoder(OutputLayout layout, Settings... settings)
{
    return [=](RipOutput& output) {
        return std::make_unique<LibraryTrackEncoder<Encoder>>(output, layout.channels, layout.sampleRate, settings...);
    };
}
} // namespace

TrackEncoderFactory TCDRIP::encoderFactory(int32_t first, int32_t last) const
{
    const OutputLayout layout = layoutOf(m_outputFormat);
    if (m_fileFormat == FileFormat::Flac) {
        const uint64_t frames = uint64_t(last - first + 1) * PcmFormatConverter::BytesPerSector(m_outputFormat)
            / uint64_t(2 * layout.channels);
        return libraryEncoder<FlacEncoder>(layout, m_flacLevel, frames);
    }
    if (m_fileFormat == FileFormat::Opus)
        return libraryEncoder<OpusEncoder>(layout, m_opusKbps);
    if (m_fileFormat == FileFormat::Vorbis)
        return libraryEncoder<VorbisEncoder>(layout, m_vorbisQuality);
    if (m_fileFormat != FileFormat::Mp3 || !m_coder)
        return nullptr;
    // The settings as they are when the track begins, for whichever thread encodes it.
    auto settings = std::make_shared<TLameCoder>(m_coder->Library());
    settings->Assign(*m_coder);
    return [settings](RipOutput& output) { return std::make_unique<Mp3TrackEncoder>(*settings, output); };
}

TrackRipResult TCDRIP::RipTrack(int32_t trackNum, const QString& path, IRipProgress* progress)
{
    return ripTrack(trackNum, path, true, progress);
}

TrackRipResult TCDRIP::TestTrack(int32_t trackNum, const QString& path, IRipProgress* progress)
{
    return ripTrack(trackNum, path, false, progress);
}

TrackRipResult TCDRIP::ripTrack(int32_t trackNum, const QString& path, bool write, IRipProgress* progress)
{
    if (progress)
        progress->TrackBegins(trackNum, path);
    const TTrack* t = TrackOf(trackNum);
    if (!t)
        throw ECDRIPError(QStringLiteral("Invalid track number"));
    TrackRipResult result = ripSectors(t->FirstSector, t->LastSector, path, write, progress);
    result.TrackNum = trackNum;
    // Neither AccurateRip nor the CUETools database knows a hidden track.
    result.HasChecksums = result.HasChecksums && trackNum != HiddenTrackNumber;
    return result;
}

TrackRipResult TCDRIP::RipSectors(int32_t first, int32_t last, const QString& requestedPath, IRipProgress* progress)
{
    return ripSectors(first, last, requestedPath, true, progress);
}

TrackRipResult TCDRIP::ripSectors(int32_t first, int32_t last, const QString& requestedPath, bool write,
                                  IRipProgress* progress)
{
    TrackRipResult result;
    result.FirstSector = first;
    result.LastSector = last;
    if (!ApplyParameters())
        throw ECDRIPError(QStringLiteral("Invalid CD-ROM parameters"));
    Aborted = false;
    std::pair<int32_t, int32_t> disc = audioBounds();
    disc.first = qMin(disc.first, first); // a hidden track lies before the disc's first track
    if (ReadOffset == 0 || m_outputFormat != STEREO44100) {
        ripRange(m_library, disc, requestedPath, write, progress, result);
        return result;
    }
    ReadOffsetLibrary shifted(m_library, ReadOffset, disc.first, disc.second);
    ripRange(shifted, disc, requestedPath, write, progress, result);
    return result;
}

std::pair<int32_t, int32_t> TCDRIP::audioBounds() const
{
    int32_t first = INT32_MAX, last = -1;
    for (const TrackEntry& e : Tracks)
        if (e.Track.Kind == QLatin1String("Audio") && e.Track.TrackNum != HiddenTrackNumber) {
            first = qMin(first, e.Track.FirstSector);
            last = qMax(last, e.Track.LastSector);
        }
    // Without a table of contents, the disc's ends are unknown.
    if (first > last)
        return {0, INT32_MAX};
    return {first, last};
}

void TCDRIP::ripRange(ICdRipLibrary& library, std::pair<int32_t, int32_t> disc, const QString& requestedPath,
                      bool write, IRipProgress* progress, TrackRipResult& result)
{
    const int32_t first = result.FirstSector;
    const int32_t last = result.LastSector;
    int32_t bufferSize = 0;
    if (library.CR_OpenRipper(&bufferSize, first, last) == CR_FAILURE)
        return;

    const TrackEncoderFactory makeEncoder = write ? encoderFactory(first, last) : nullptr;
    const QString path = OutputPath(requestedPath);
    std::unique_ptr<RipOutput> output;
    std::unique_ptr<ITrackEncoder> encoder;
    TrackSums sums;
    TrackPcmStream* stream = nullptr;
    std::vector<uint8_t> buffer;
    std::exception_ptr firstError;

    runKeepingFirstError(firstError, [&] {
        if (write) {
            output = std::make_unique<RipOutput>(path);
            result.Path = path;
            result.FileWritten = true;
        }
        const OutputLayout layout = layoutOf(m_outputFormat);
        if (output && m_fileFormat == FileFormat::Wav)
            output->WriteWavHeader(layout.channels, layout.sampleRate,
                                   WavHeader::AnnouncedDataSize(layout.channels, layout.sampleRate, first, last));
        if (makeEncoder && m_pool)
            stream = &m_pool->BeginTrack(std::move(output), makeEncoder);
        else if (makeEncoder)
            encoder = makeEncoder(*output);
        if (m_outputFormat == STEREO44100) {
            const int64_t trackBytes = int64_t{last - first + 1} * PcmFormatConverter::BytesPerSector(m_outputFormat);
            sums = TrackSums(trackBytes, first == disc.first, last == disc.second, m_measureLoudness);
        }
        buffer.resize(static_cast<size_t>(qMax(bufferSize, 0)));
        const int64_t kept =
            ripLoop(library, output.get(), encoder.get(), stream, sums, buffer, progress, result);
        result.KeptSectors = static_cast<int32_t>(kept / PcmFormatConverter::BytesPerSector(m_outputFormat));
    });

    // The end of the rip runs on every way out of the loop; the pool's
    // encoder finishes the file.
    if (stream)
        stream->Close();
    if (encoder) {
        const bool failed = firstError != nullptr;
        runKeepingFirstError(firstError, [&] {
            if (failed)
                encoder.reset(); // closes the stream without writing more
            else
                encoder->Finish();
        });
    }
    runKeepingFirstError(firstError, [&] { JitterErrors = library.CR_GetNumberOfJitterErrors(); });
    runKeepingFirstError(firstError, [&] { library.CR_CloseRipper(); });
    runKeepingFirstError(firstError, [&] { result.Read = library.CR_GetReadReport(); });
    runKeepingFirstError(firstError, [&] {
        if (!result.Interrupted)
            sums.Into(result);
    });
    // A stopped track is kept as far as it was read, under a name of its
    // own; a failed one is not kept.
    runKeepingFirstError(firstError, [&] {
        if (!output)
            return;
        output->FixWavSizes();
        if (firstError)
            output->Close();
        else
            commitOrDrop(std::move(output), result);
    });
    encoder.reset();
    output.reset();
    if (firstError)
        std::rethrow_exception(firstError);
    if (write && !JitterPositions.isEmpty())
        JitterLog::Save(path, JitterPositions);
}

void TCDRIP::commitOrDrop(std::unique_ptr<RipOutput> output, TrackRipResult& result) const
{
    output->Close();
    if (m_commitCheck && !m_commitCheck(result))
        return;
    if (m_leavesUnnamed) {
        result.File = std::move(output);
        return;
    }
    if (result.Interrupted)
        result.Path = IncompletePath(result.Path);
    output->CommitAs(result.Path);
}

QString TCDRIP::IncompletePath(const QString& path)
{
    const QFileInfo info(path);
    const QString end = QStringLiteral(" (incomplet)") + (info.suffix().isEmpty() ? QString() : '.' + info.suffix());
    return TargetNameRule::WithSeparator(info.path())
        + TargetNameRule::SafeComponent(PathText::WithExtension(info.fileName(), QString()), end);
}

void TCDRIP::AbortRip()
{
    Aborted = true;
    m_library.CR_StopReading();
}

int64_t TCDRIP::ripLoop(ICdRipLibrary& library, RipOutput* output, ITrackEncoder* encoder, TrackPcmStream* stream,
                        TrackSums& sums, std::vector<uint8_t>& buffer, IRipProgress* progress,
                        TrackRipResult& result)
{
    int32_t status = 0;
    int64_t delivered = 0;
    do {
        if (Aborted) {
            result.Interrupted = true;
            break;
        }
        int32_t bytesRead = 0;
        status = library.CR_RipChunk(buffer.data(), &bytesRead);
        // The library must never deliver more than it announced.
        bytesRead = qBound(0, bytesRead, static_cast<int32_t>(buffer.size()));
        if (status != CR_FAILURE) {
            delivered += bytesRead;
            sums.Add(buffer.data(), bytesRead);
            if (encoder)
                encoder->Consume(buffer.data(), bytesRead);
            else if (stream && !stream->Push(buffer.data(), bytesRead))
                Aborted = true; // the pool gave up after a failure
            else if (output && !EncodesFile())
                output->Write(buffer.data(), bytesRead);
        }
        if (status == CR_JITTER_ERROR) {
            uint32_t a = 0, b = 0;
            library.CR_GetLastJitterErrorPosition(&a, &b);
            JitterPositions << QString::number(a) + ' ' + QString::number(b);
        }
        const int32_t percent = library.CR_GetPercentCompleted();
        if (progress) {
            progress->ReadProgress(percent);
            progress->Breathe();
        }
    } while (status != CR_RANGE_DONE);
    return delivered;
}

QString TCDRIP::JitterLogPath(const QString& path)
{
    return JitterLog::PathBeside(path);
}

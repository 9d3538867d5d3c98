#pragma once
#include "disc/AlbumTrack.h"
#include "encode/FileFormat.h"
#include "encode/ITrackEncoder.h"
#include "platform/CdRipTypes.h"
#include "rip/TDriveTableClass.h"
#include "rip/TTrack.h"
#include "rip/TrackRipResult.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class ICdRipLibrary;
class IRipProgress;
class ITrackEncoder;
class ParallelTrackEncoder;
class RipOutput;
class TLameCoder;
class TrackPcmStream;
class TrackSums;

// The road to the disc: drive selection, table of contents and the rip of a
// sector range into a WAV, PCM, MP3 or FLAC file.
class TCDRIP {
public:
    // Reads the drive parameters and the table of contents of the library's
    // active drive; raises ECDRIPError "Initialization failure".
    explicit TCDRIP(ICdRipLibrary& library);
    // A ripper with no tracks that never touches the library's drives.
    static TCDRIP* CreateEmpty(ICdRipLibrary& library);
    ~TCDRIP();
    TCDRIP(const TCDRIP&) = delete;
    TCDRIP& operator=(const TCDRIP&) = delete;

    TLameCoder* Coder() const { return m_coder; }
    void SetCoder(TLameCoder* coder);
    int32_t CDRomNum() const { return m_cdRomNum; }
    void SetCDRomNum(int32_t index);
    TDriveTableClass& DriveTable() { return m_driveTable; }
    TOutputFormat OutputFormat() const { return m_outputFormat; }
    void SetOutputFormat(TOutputFormat format);
    // A compressed file: the audio goes through an encoder.
    bool EncodesFile() const { return IsEncoded(m_fileFormat); }
    // Raw PCM until told otherwise.
    FileFormat Format() const { return m_fileFormat; }
    void SetFileFormat(FileFormat format) { m_fileFormat = format; }
    int FlacLevel() const { return m_flacLevel; }
    void SetFlacLevel(int level) { m_flacLevel = level; }
    int OpusKbps() const { return m_opusKbps; }
    void SetOpusKbps(int kbps) { m_opusKbps = kbps; }
    int VorbisQuality() const { return m_vorbisQuality; }
    void SetVorbisQuality(int quality) { m_vorbisQuality = quality; }
    bool JitterCorrect() const { return m_jitterCorrect; }
    void SetJitterCorrect(bool v);
    // Whether the loudness of CD audio is measured as it is read (TrackRipResult::Loudness); off by default.
    bool MeasureLoudness() const { return m_measureLoudness; }
    void SetMeasureLoudness(bool v) { m_measureLoudness = v; }

    QString Version;
    int32_t Speed = 0;
    QList<TrackEntry> Tracks;
    QStringList JitterPositions;
    int32_t JitterErrors = 0;
    // Set from any thread by AbortRip.
    std::atomic<bool> Aborted{false};
    TCDRomParams Params;
    // The drive's read offset in samples of CD audio; applied to CD audio
    // (STEREO44100) only.
    int32_t ReadOffset = 0;

    // Rips a track of the list (numbered from 1) or a range of sectors into
    // path; progress, when given, hears of it after each chunk. Returns the
    // file, the sectors that could not be read and the checksums; a stopped
    // rip returns what it kept. Raises ECDRIPError and file errors.
    TrackRipResult RipTrack(int32_t trackNum, const QString& path, IRipProgress* progress = nullptr);
    TrackRipResult RipSectors(int32_t first, int32_t last, const QString& path, IRipProgress* progress = nullptr);
    // The file a rip into path writes: an MP3 or FLAC rip gives it the .mp3
    // or .flac extension.
    QString OutputPath(const QString& path) const;
    // The extension of the files a rip writes: ".flac", ".mp3" or ".wav".
    QString Extension() const { return ExtensionOf(m_fileFormat); }
    // Reads a track as RipTrack does, for the file at path (told to
    // progress), but writes nothing: the read report and the checksums only.
    TrackRipResult TestTrack(int32_t trackNum, const QString& path, IRipProgress* progress = nullptr);
    // Asked at the end of each read that writes a file, with what the read
    // made of the track: false leaves the file of that name as it was and
    // throws the read's audio away. None: every file is kept.
    using CommitCheck = std::function<bool(const TrackRipResult&)>;
    void SetCommitCheck(CommitCheck check) { m_commitCheck = std::move(check); }
    // Whether a rip leaves its file unnamed in TrackRipResult::File, for the
    // caller to tag before naming it; off by default: the ripper names each
    // file itself, a stopped track under IncompletePath.
    void SetLeavesFilesUnnamed(bool v) { m_leavesUnnamed = v; }
    bool LeavesFilesUnnamed() const { return m_leavesUnnamed; }
    // Where the part read of a track stopped short is kept: "02 - Titre
    // (incomplet).flac" beside path, so that it never replaces a whole file.
    static QString IncompletePath(const QString& path);
    // Safe from any thread: the rip ends after the sector being read.
    void AbortRip();
    // With a pool set, an MP3 or FLAC rip only reads: it hands the file and the PCM
    // to the pool, which encodes while the next track is read. None: the
    // rip encodes as it reads.
    void SetEncoderPool(ParallelTrackEncoder* pool) { m_pool = pool; }
    bool ApplyParameters();
    void ApplyOutputFormat();

    // The jitter log beside a ripped file: the path without its extension (dot
    // included) followed by "jitt".
    static QString JitterLogPath(const QString& path);
    // The album's tracks as the disc gives them: one per audio entry of the
    // track list, in order, numbered, without values and unticked; the
    // hidden track is titled "Piste cachée".
    // The entry of the track with this number on the disc (a disc may start
    // at 2); null when the disc has none.
    const TTrack* TrackOf(int number) const;
    QList<AlbumTrack> AlbumTracks() const;

    // Audio before track 1 that is not silence: first in the track list,
    // ripped as any track but left out of the disc's AccurateRip bounds.
    static constexpr int HiddenTrackNumber = 0;

    // The name of the track list entry of a track number: Track01, Track10, Track100.
    static QString EntryName(int trackNumber);

private:
    struct EmptyTag {};
    TCDRIP(ICdRipLibrary& library, EmptyTag);
    void initialize();
    void selectDrive(int32_t index);
    void copyDriveParameters();
    void readToc();
    TrackRipResult ripTrack(int32_t trackNum, const QString& path, bool write, IRipProgress* progress);
    TrackRipResult ripSectors(int32_t first, int32_t last, const QString& path, bool write, IRipProgress* progress);
    // Returns the bytes of audio delivered; sets result.Interrupted when stopped before the end.
    // The encoder of an MP3 or FLAC file of the sectors; none for a WAV or PCM file.
    TrackEncoderFactory encoderFactory(int32_t first, int32_t last) const;
    int64_t ripLoop(ICdRipLibrary& library, RipOutput* output, ITrackEncoder* encoder,
                    TrackPcmStream* stream, TrackSums& sums, std::vector<uint8_t>& buffer, IRipProgress* progress,
                    TrackRipResult& result);
    // Rips result's sectors to path, or only reads them without write;
    // disc: the first and the last sector of the disc's audio.
    void ripRange(ICdRipLibrary& library, std::pair<int32_t, int32_t> disc, const QString& path, bool write,
                  IRipProgress* progress, TrackRipResult& result);
    // Puts the file under its name, hands it over unnamed, or drops it when
    // the commit check refuses it.
    void commitOrDrop(std::unique_ptr<RipOutput> output, TrackRipResult& result) const;
    // The first and the last sector of the disc's audio.
    std::pair<int32_t, int32_t> audioBounds() const;

    ICdRipLibrary& m_library;
    TLameCoder* m_coder = nullptr;
    ParallelTrackEncoder* m_pool = nullptr;
    CommitCheck m_commitCheck;
    int32_t m_cdRomNum = 0;
    TDriveTableClass m_driveTable;
    TOutputFormat m_outputFormat = STEREO44100;
    FileFormat m_fileFormat = FileFormat::Pcm;
    int m_flacLevel = 5;
    int m_opusKbps = 160;
    int m_vorbisQuality = 6;
    bool m_jitterCorrect = true;
    bool m_measureLoudness = false;
    bool m_leavesUnnamed = false;
};

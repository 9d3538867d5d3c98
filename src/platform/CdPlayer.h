#pragma once
#include <QString>
#include <functional>
#include <memory>

class DiscAudioStream;
class IAudioOutput;
class IDiscAudioSource;

// Plays the audio of a disc (CD device or disc image) through a sound output.
// Positions are seconds from the start of track 1's area; playing runs on
// without blocking until the audio tracks end or Stop.
class CdPlayer {
public:
    using SourceOpener = std::function<std::unique_ptr<IDiscAudioSource>(const QString&)>;
    static constexpr int SampleRate = 44100;

    // Without an output (null) every Open fails. The default opener reads
    // through libcdio.
    explicit CdPlayer(IAudioOutput* output, SourceOpener openSource = {});
    ~CdPlayer();
    CdPlayer(const CdPlayer&) = delete;
    CdPlayer& operator=(const CdPlayer&) = delete;

    // The device or image that Open opens.
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    // True when the disc at source can be read and its track 1 is audio.
    bool HoldsAudioDisc(const QString& source) const;

    // Closes first; raises CalvenorError when there is no sound output or the
    // disc cannot be read.
    void Open();
    void Close();
    bool IsOpen() const { return m_disc != nullptr; }
    bool IsPlaying() const { return m_stream != nullptr; }

    // The following do nothing while closed.
    // Plays from the current position and returns at once.
    void Play();
    // Halts playing; the position stays where it got to.
    void Stop();
    // Moves the position; playing halts until the next Play.
    void Seek(double seconds);
    double Position() const;
    // The start of track n; raises CalvenorError for a track the disc lacks.
    double TrackPosition(int n) const;

private:
    void requireOpen() const;
    qint64 currentFrame() const;
    qint64 playEndFrom(qint64 frame) const;
    int trackAt(qint64 frame) const;

    IAudioOutput* m_output;
    SourceOpener m_openSource;
    QString m_fileName;
    std::unique_ptr<IDiscAudioSource> m_disc;
    // Declared after the disc: the stream reads from it and must go first.
    std::unique_ptr<DiscAudioStream> m_stream;
    qint64 m_frame = 0;
    qint64 m_streamStart = 0;
    qint64 m_streamEnd = 0;
};

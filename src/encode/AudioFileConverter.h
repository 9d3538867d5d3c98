#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class ConversionTarget;
class ITagStore;
class TLameCoder;
class RipOutput;
class WavReader;

// Converts one file between 16-bit PCM WAV, MP3 and FLAC: to MP3 through the
// encoder component, from MP3 through the MP3 decoder, from and to FLAC
// through libFLAC. The source's tags go with the audio, as the target's
// kinds of tag. The source is checked
// before anything is written; a source that cannot be converted raises
// ConvertError (French text) and leaves no output, and an existing target is
// replaced only when the conversion succeeds, tags included.
class AudioFileConverter {
public:
    // Raised when StopRequested answers true between two pieces.
    struct Stopped {};

    AudioFileConverter(TLameCoder& coder, ITagStore& tags);

    // Asked once the source is known to be convertible: may the target be
    // written? False skips the file.
    std::function<bool(const QString& target)> MayWrite;
    // Fraction (0..1) of the current file done, after every piece.
    std::function<void(double fraction)> OnProgress;
    std::function<bool()> StopRequested;
    // A file converted with a reservation the user must hear of (French text).
    std::function<void(const QString& text)> OnWarning;

    // Each returns false when MayWrite refused the target.
    bool WavToMp3(const QString& source, const QString& target);
    bool Mp3ToWav(const QString& source, const QString& target);
    bool WavToFlac(const QString& source, const QString& target);
    bool FlacToWav(const QString& source, const QString& target);
    bool Mp3ToFlac(const QString& source, const QString& target);
    bool FlacToMp3(const QString& source, const QString& target);

private:
    // Each takes a source of 16-bit PCM: Channels, SampleRate, Read(samples), Fraction
    // (and Frames, the length it announces, for FLAC).
    template <class Source>
    void toMp3(Source& pcm, const QString& source, const QString& target);
    template <class Source>
    void toWav(Source& pcm, const QString& source, const QString& target);
    template <class Source>
    void toFlac(Source& pcm, const QString& source, const QString& target);
    // Gives the finished data the target's name, with the source's tags.
    void commit(ConversionTarget& out, const QString& source, const QString& target);
    void warn(const QString& text) const;
    void warnIfTruncated(const WavReader& wav, const QString& source) const;
    // A WAV source read, checked and encoded by encode; false when the target may not be written.
    bool fromWav(const QString& source, const QString& target, const std::function<void(WavReader&)>& encode);
    void progress(double fraction);
    bool mayWrite(const QString& target) const { return !MayWrite || MayWrite(target); }

    TLameCoder& m_coder;
    ITagStore& m_tags;
};

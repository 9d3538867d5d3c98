#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class ConversionTarget;
class IPcmSource;
class ITagStore;
class TLameCoder;
class RipOutput;
class WavReader;

// Converts one file between PCM WAV, MP3 and FLAC: to MP3 through the
// encoder component (resampled to a rate it takes and reduced to 16 bits
// with dither where the source needs it), from MP3 through the MP3 decoder,
// from and to FLAC through libFLAC. WAV and FLAC are written at the
// source's own depth and rate. The source's tags go with the audio, as the target's
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
    void toMp3(IPcmSource& pcm, const QString& source, const QString& target);
    void toWav(IPcmSource& pcm, const QString& source, const QString& target);
    void toFlac(IPcmSource& pcm, const QString& source, const QString& target);
    // Reads every piece of pcm into encode; a source that gives no sample is refused.
    void pump(IPcmSource& pcm, const QString& source, const std::function<void(const std::vector<int32_t>&)>& encode);
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

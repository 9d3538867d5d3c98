#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TLameCoder;
class RipOutput;

// Converts one file between 16-bit PCM WAV and MP3: WAV to MP3 through the
// encoder component, MP3 to WAV through the MP3 decoder. The source is checked
// before anything is written; a source that cannot be converted raises
// ConvertError (French text) and leaves no output, and an existing target is
// replaced only when the conversion succeeds.
class AudioFileConverter {
public:
    // Raised when StopRequested answers true between two pieces.
    struct Stopped {};

    explicit AudioFileConverter(TLameCoder& coder);

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

private:
    void warn(const QString& text) const;
    void progress(double fraction);
    bool mayWrite(const QString& target) const { return !MayWrite || MayWrite(target); }

    TLameCoder& m_coder;
};

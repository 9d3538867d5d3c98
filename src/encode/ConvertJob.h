#pragma once
#include "encode/AudioFileConverter.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class IDialogService;
class ITagStore;
class TLameCoder;

enum class ConvertDirection { WavToMp3, Mp3ToWav, WavToFlac, FlacToWav, Mp3ToFlac, FlacToMp3 };

// One press of the converter's " Convertir": converts a file, or every file of
// a folder with the source extension, writing beside each source a file with
// the other extension. Every problem is told to the user in French; an
// existing output is replaced only after a Yes.
class ConvertJob {
public:
    ConvertJob(TLameCoder& coder, IDialogService& dialogs, ITagStore& tags);

    // Overall progress, 0..100.
    std::function<void(int percent)> OnProgress;
    // Lets the window breathe between pieces of a file.
    std::function<void()> ProcessMessages;

    // Returns the number of files converted. Each output goes beside its
    // source, or into `destination`: a folder, or in file mode the output
    // file itself.
    int Run(const QString& path, bool folder, ConvertDirection direction, const QString& destination = QString());
    // Ends a running Run after the current piece; its output is not kept.
    void Stop() { m_stop = true; }
    bool Running() const { return m_running; }

    static QString SourceExtension(ConvertDirection direction);
    static QString TargetExtension(ConvertDirection direction);
    // The conversion from a file with sourceExtension to one with
    // targetExtension (".wav", ".mp3", ".flac", any case); without a known
    // target, the one each source kind had first: WAV to MP3, MP3 and FLAC
    // to WAV. None when the source is of none of these kinds.
    static std::optional<ConvertDirection> ByExtensions(const QString& sourceExtension,
                                                        const QString& targetExtension = QString());

private:
    QStringList sources(const QString& path, bool folder, ConvertDirection direction) const;
    bool convert(const QString& source, ConvertDirection direction);
    QString targetFor(const QString& source, ConvertDirection direction) const;
    bool mayReplace(const QString& target) const;
    void report(int index, int count, double fraction);
    void error(const QString& text) const;

    IDialogService& m_dialogs;
    AudioFileConverter m_converter;
    QString m_destination;
    bool m_stop = false;
    bool m_running = false;
};

#pragma once
#include "platform/IDialogService.h"
#include <QString>
#include <QTextStream>
#include <functional>
#include <optional>

enum class ConvertDirection;

// calvenor-rip --convert SOURCE [--out TARGET]: the converter window's work,
// for batch use. A file converts by its extension and the target's (.wav to
// MP3 or FLAC, .mp3 to WAV or FLAC, .flac to WAV or MP3; without a target,
// .wav to MP3 and the others to WAV); a folder converts the kind of file it
// holds (a folder holding several kinds needs the output named: --mp3 or
// --wav). The output goes beside the
// source, or to TARGET (a file, or a folder). The window's messages go to the
// terminal; an existing output is never replaced.
class ConvertCommand : private IDialogService {
public:
    ConvertCommand(QTextStream& out, QTextStream& err);
    // Overall progress, 0..100.
    std::function<void(int percent)> OnProgress;
    // Returns the exit code: 0 when every source was converted.
    int Run(const QString& source, const QString& target, std::optional<ConvertDirection> folderDirection);

private:
    MsgAnswer message(MsgKind kind, const QString& text, MsgButtons buttons) override;
    static ConvertDirection folderDirection(const QString& folder, std::optional<ConvertDirection> chosen);

    QTextStream& m_out;
    QTextStream& m_err;
    bool m_refused = false;
    bool m_progressShown = false;
};

#include "app/cli/ConvertCommand.h"
#include "encode/ConvertJob.h"
#include "encode/TLameCoder.h"
#include "platform/CalvenorError.h"
#include "platform/LameEncoderLibrary.h"
#include "tags/FileTagStore.h"
#include <QDir>
#include <QFileInfo>

namespace {
QString dotted(const QString& suffix)
{
    return QLatin1Char('.') + suffix;
}

// The extension of a target file; none for a folder or no target.
QString targetExtension(const QString& target)
{
    const QFileInfo info(target);
    return target.isEmpty() || info.isDir() ? QString() : dotted(info.suffix());
}
} // namespace

ConvertCommand::ConvertCommand(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

int ConvertCommand::Run(const QString& source, const QString& target,
                        std::optional<ConvertDirection> folderChoice)
{
    const QFileInfo info(source);
    const bool folder = info.isDir();
    ConvertDirection direction = ConvertDirection::WavToMp3;
    if (folder) {
        direction = folderDirection(source, folderChoice);
        if (!target.isEmpty() && !QDir().mkpath(target))
            throw CalvenorError(QStringLiteral("Impossible de créer le dossier \"%1\".").arg(target));
    } else if (const auto chosen = ConvertJob::ByExtensions(dotted(info.suffix()), targetExtension(target))) {
        direction = *chosen;
    } else if (info.exists()) {
        throw CalvenorError(QStringLiteral("Le fichier \"%1\" n'est ni un .wav, ni un .mp3, ni un .flac : le sens "
                                           "de la conversion est inconnu.")
                                .arg(source));
    }
    LameEncoderLibrary library;
    TLameCoder coder(library);
    FileTagStore tags;
    ConvertJob job(coder, *this, tags);
    // The line starts once a file is under way: a source refused at once
    // gets its error alone.
    job.OnProgress = [this](int percent) {
        if (percent == 0 && !m_progressShown)
            return;
        m_progressShown = true;
        if (OnProgress)
            OnProgress(percent);
    };
    const int converted = job.Run(source, folder, direction, target);
    if (m_progressShown)
        m_err << '\n';
    return converted > 0 && !m_refused ? 0 : 1;
}

ConvertDirection ConvertCommand::folderDirection(const QString& folder, std::optional<ConvertDirection> chosen)
{
    const QDir dir(folder);
    QStringList kinds;
    for (const QString& kind : {QStringLiteral("WAV"), QStringLiteral("MP3"), QStringLiteral("FLAC")})
        if (!dir.entryList({QStringLiteral("*.") + kind.toLower()}, QDir::Files).isEmpty())
            kinds << kind;
    if (chosen) {
        // --mp3 or --wav names the output: the source is the one other kind the folder holds.
        const QString target = ConvertJob::TargetExtension(*chosen);
        kinds.removeAll(target.mid(1).toUpper());
        return kinds.size() == 1 ? *ConvertJob::ByExtensions(dotted(kinds.first().toLower()), target) : *chosen;
    }
    if (kinds.size() > 1)
        throw CalvenorError(
            QStringLiteral("Le dossier \"%1\" contient des fichiers %2 et %3 : précisez --mp3 ou --wav.")
                .arg(folder, kinds.mid(0, kinds.size() - 1).join(QStringLiteral(", ")), kinds.last()));
    return kinds.isEmpty() ? ConvertDirection::WavToMp3 : *ConvertJob::ByExtensions(dotted(kinds.first().toLower()));
}

MsgAnswer ConvertCommand::message(MsgKind kind, const QString& text, MsgButtons buttons)
{
    if (m_progressShown) {
        m_err << '\n';
        m_progressShown = false;
    }
    if (kind == MsgKind::Information) {
        m_out << text << '\n';
        m_out.flush();
    } else {
        m_refused = m_refused || kind != MsgKind::Warning;
        m_err << text << (buttons == MsgButtons::YesNo ? QStringLiteral(" Non.") : QString()) << '\n';
        m_err.flush();
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
}

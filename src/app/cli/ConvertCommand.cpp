#include "app/cli/ConvertCommand.h"
#include "encode/ConvertJob.h"
#include "encode/TLameCoder.h"
#include "platform/CalvenorError.h"
#include "platform/LameEncoderLibrary.h"
#include <QDir>
#include <QFileInfo>

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
    } else if (info.suffix().compare(QStringLiteral("mp3"), Qt::CaseInsensitive) == 0) {
        direction = ConvertDirection::Mp3ToWav;
    } else if (info.exists() && info.suffix().compare(QStringLiteral("wav"), Qt::CaseInsensitive) != 0) {
        throw CalvenorError(
            QStringLiteral("Le fichier \"%1\" n'est ni un .wav ni un .mp3 : le sens de la conversion est inconnu.")
                .arg(source));
    }
    LameEncoderLibrary library;
    TLameCoder coder(library);
    ConvertJob job(coder, *this);
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
    if (chosen)
        return *chosen;
    const QDir dir(folder);
    const bool wav = !dir.entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty();
    const bool mp3 = !dir.entryList({QStringLiteral("*.mp3")}, QDir::Files).isEmpty();
    if (wav && mp3)
        throw CalvenorError(QStringLiteral("Le dossier \"%1\" contient des fichiers WAV et MP3 : précisez --mp3 "
                                           "ou --wav.")
                                .arg(folder));
    return mp3 ? ConvertDirection::Mp3ToWav : ConvertDirection::WavToMp3;
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

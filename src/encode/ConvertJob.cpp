#include "encode/ConvertJob.h"
#include "encode/ConvertError.h"
#include "platform/PathText.h"
#include "platform/CalvenorError.h"
#include "platform/IDialogService.h"
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <iterator>

ConvertJob::ConvertJob(TLameCoder& coder, IDialogService& dialogs, ITagStore& tags)
    : m_dialogs(dialogs), m_converter(coder, tags)
{
    m_converter.MayWrite = [this](const QString& target) { return mayReplace(target); };
    m_converter.StopRequested = [this] { return m_stop; };
    m_converter.OnWarning = [this](const QString& text) {
        m_dialogs.message(MsgKind::Warning, text, MsgButtons::Ok);
    };
}

namespace {
struct Way {
    ConvertDirection direction;
    const char* source; // the source kind, as the user reads it
    const char* target;
    bool (AudioFileConverter::*convert)(const QString& source, const QString& target);
};

// A source kind's first row is its conversion when the target is not named.
constexpr Way Ways[] = {
    {ConvertDirection::WavToMp3, "WAV", "MP3", &AudioFileConverter::WavToMp3},
    {ConvertDirection::WavToFlac, "WAV", "FLAC", &AudioFileConverter::WavToFlac},
    {ConvertDirection::Mp3ToWav, "MP3", "WAV", &AudioFileConverter::Mp3ToWav},
    {ConvertDirection::Mp3ToFlac, "MP3", "FLAC", &AudioFileConverter::Mp3ToFlac},
    {ConvertDirection::FlacToWav, "FLAC", "WAV", &AudioFileConverter::FlacToWav},
    {ConvertDirection::FlacToMp3, "FLAC", "MP3", &AudioFileConverter::FlacToMp3},
};

const Way& way(ConvertDirection direction)
{
    return *std::find_if(std::begin(Ways), std::end(Ways),
                         [direction](const Way& w) { return w.direction == direction; });
}

QString extensionOf(const char* kind)
{
    return QLatin1Char('.') + QString::fromLatin1(kind).toLower();
}
} // namespace

QString ConvertJob::SourceExtension(ConvertDirection direction)
{
    return extensionOf(way(direction).source);
}

QString ConvertJob::TargetExtension(ConvertDirection direction)
{
    return extensionOf(way(direction).target);
}

std::optional<ConvertDirection> ConvertJob::ByExtensions(const QString& sourceExtension,
                                                         const QString& targetExtension)
{
    std::optional<ConvertDirection> first;
    for (const Way& w : Ways) {
        if (sourceExtension.compare(extensionOf(w.source), Qt::CaseInsensitive) != 0)
            continue;
        if (targetExtension.compare(extensionOf(w.target), Qt::CaseInsensitive) == 0)
            return w.direction;
        if (!first)
            first = w.direction;
    }
    return first;
}

int ConvertJob::Run(const QString& path, bool folder, ConvertDirection direction, const QString& destination)
{
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(m_running);
    m_stop = false;
    m_destination = destination;
    const QStringList files = sources(path, folder, direction);
    int converted = 0;
    report(0, 1, 0);
    // The bar counts converted files only: a refused one never fills it.
    for (int i = 0; i < files.size() && !m_stop; ++i) {
        m_converter.OnProgress = [this, &converted, &files](double fraction) {
            report(converted, int(files.size()), fraction);
        };
        if (convert(files[i], direction))
            ++converted;
        report(converted, int(files.size()), 0);
    }
    if (converted > 0 && !m_stop)
        m_dialogs.message(MsgKind::Information,
                          QStringLiteral("Conversion terminée : %1 fichier(s) converti(s).").arg(converted),
                          MsgButtons::Ok);
    return converted;
}

QStringList ConvertJob::sources(const QString& path, bool folder, ConvertDirection direction) const
{
    const QString kind = QString::fromLatin1(way(direction).source);
    if (path.trimmed().isEmpty()) {
        error(folder ? QStringLiteral("Choisissez d'abord le dossier à convertir.")
                     : QStringLiteral("Choisissez d'abord le fichier à convertir."));
        return {};
    }
    const QFileInfo info(path);
    if (!folder) {
        if (!info.isFile()) {
            error(QStringLiteral("Le fichier \"%1\" n'existe pas.").arg(path));
            return {};
        }
        return {info.absoluteFilePath()};
    }
    if (!info.isDir()) {
        error(QStringLiteral("Le dossier \"%1\" n'existe pas.").arg(path));
        return {};
    }
    QStringList files;
    const auto entries = QDir(path).entryInfoList({QLatin1Char('*') + SourceExtension(direction)},
                                                  QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& f : entries)
        files << f.absoluteFilePath();
    if (files.isEmpty())
        error(QStringLiteral("Le dossier \"%1\" ne contient aucun fichier %2.").arg(path, kind));
    return files;
}

bool ConvertJob::convert(const QString& source, ConvertDirection direction)
{
    try {
        const QString target = targetFor(source, direction);
        if (target == source)
            throw ConvertError(QStringLiteral("Le fichier \"%1\" porte déjà l'extension %2 : il ne peut pas être "
                                              "converti à sa propre place.")
                                   .arg(source, TargetExtension(direction)));
        return (m_converter.*way(direction).convert)(source, target);
    } catch (const AudioFileConverter::Stopped&) {
        return false;
    } catch (const CalvenorError& e) {
        error(e.message());
        return false;
    }
}

QString ConvertJob::targetFor(const QString& source, ConvertDirection direction) const
{
    const QString extension = TargetExtension(direction);
    if (m_destination.isEmpty())
        return PathText::WithExtension(source, extension);
    const QFileInfo destination(m_destination);
    if (destination.isDir())
        return QDir(m_destination).filePath(PathText::WithExtension(QFileInfo(source).fileName(), extension));
    if (!m_destination.endsWith(extension, Qt::CaseInsensitive))
        throw ConvertError(QStringLiteral("Le fichier de sortie \"%1\" doit porter l'extension %2.")
                               .arg(m_destination, extension));
    if (!destination.absoluteDir().exists())
        throw ConvertError(QStringLiteral("Le dossier \"%1\" n'existe pas.").arg(destination.absolutePath()));
    return destination.absoluteFilePath();
}

bool ConvertJob::mayReplace(const QString& target) const
{
    if (!QFileInfo::exists(target))
        return true;
    return m_dialogs.message(MsgKind::Confirmation,
                             QStringLiteral("Le fichier \"%1\" existe déjà. Voulez-vous le remplacer ?").arg(target),
                             MsgButtons::YesNo)
        == MsgAnswer::Yes;
}

void ConvertJob::report(int index, int count, double fraction)
{
    if (OnProgress)
        OnProgress(int((index + fraction) * 100.0 / count));
    if (ProcessMessages)
        ProcessMessages();
}

void ConvertJob::error(const QString& text) const
{
    m_dialogs.message(MsgKind::Error, text, MsgButtons::Ok);
}

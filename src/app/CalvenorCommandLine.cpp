#include "app/CalvenorCommandLine.h"
#include <QTextStream>
#include <cstdio>

CalvenorCommandLine::CalvenorCommandLine() : m_help(m_parser, QStringLiteral("calvenor"))
{
    m_help.setDescription(QStringLiteral(
        "Extracteur de CD audio : liste les pistes d'un disque ou d'une image de disque, cherche leurs titres\n"
        "et leur pochette sur un serveur CDDB ou sur MusicBrainz, les enregistre en FLAC, en MP3 ou en WAV\n"
        "avec leurs étiquettes (ID3v2, ID3v1, commentaires Vorbis) et leur ReplayGain, les vérifie auprès des\n"
        "bases AccurateRip et CTDB, et écrit une liste de lecture M3U, une feuille CUE et un rapport."));
    m_help.addStandardOptions();
    m_help.addDriveOption();
    m_help.addPositionalArgument(QStringLiteral("lecteur"), QStringLiteral("Le lecteur choisi au démarrage, par exemple e:"),
                                 QStringLiteral("[lecteur]"));
}

std::optional<int> CalvenorCommandLine::Answer(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Anything the parser refuses is left to the program, which reports it in a window.
    if (!m_parser.parse(arguments))
        return std::nullopt;
    const std::optional<QString> text = m_help.RequestedText();
    if (!text)
        return std::nullopt;
    QTextStream(stdout) << *text;
    return 0;
}

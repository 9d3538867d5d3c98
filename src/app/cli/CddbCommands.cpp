#include "app/cli/CddbCommands.h"
#include "cddb/TCDDBConnect.h"
#include "cddb/TCDInfo.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CurlHttpClient.h"

namespace {
constexpr int ExactMatch = 200;
constexpr int ExactMatches = 210;
constexpr int InexactMatches = 211;
constexpr int RecordFollows = 210;

// The match lines of a list answer: without its header and closing ".".
QStringList matchLines(const QString& answer)
{
    QStringList lines = TCDDBConnect::SplitLines(answer).mid(1);
    if (!lines.isEmpty() && lines.last() == QLatin1String("."))
        lines.removeLast();
    return lines;
}
} // namespace

CddbCommands::CddbCommands(IDrives& drives, QTextStream& out, QTextStream& err)
    : m_drives(drives), m_out(out), m_err(err)
{
}

void CddbCommands::PrintDiscId(QChar letter)
{
    CdioAudioDevice device;
    TCDInfo disc(m_drives, device);
    disc.OpenDrive(letter);
    m_out << disc.DiscIdString() << '\n' << TCDDBConnect::QueryCommand(disc) << '\n';
}

void CddbCommands::Lookup(QChar letter, const QString& server)
{
    CdioAudioDevice device;
    CurlHttpClient http;
    PlatformServices services;
    services.drives = &m_drives;
    services.cdAudio = &device;
    services.http = &http;
    TCDDBConnect cddb(services);
    if (!server.isEmpty())
        cddb.SetServer(server);

    int code = 0;
    QString answer;
    cddb.QueryDisc(letter, code, answer);
    if (code == ExactMatches || code == InexactMatches) {
        const QStringList matches = matchLines(answer);
        for (const QString& match : matches)
            m_err << match << '\n';
        if (matches.isEmpty())
            throw CalvenorError(QStringLiteral("Réponse du serveur : ") + answer);
        cddb.ReadEntry(matches.first());
    } else if (code != ExactMatch) {
        throw CalvenorError(QStringLiteral("Réponse du serveur : ") + answer);
    }
    if (cddb.LastCode() != RecordFollows)
        throw CalvenorError(QStringLiteral("Réponse du serveur : ") + TCDDBConnect::TrimBlanks(cddb.EntryText()));
    printRecord(cddb);
}

void CddbCommands::printRecord(const TCDDBConnect& cddb)
{
    m_out << "artist=" << cddb.GetArtist() << '\n'
          << "album=" << cddb.GetAlbum() << '\n'
          << "category=" << cddb.GetCategory() << '\n';
    QStringList titles;
    cddb.GetTitles(titles);
    for (const QString& title : titles)
        m_out << "title=" << title << '\n';
}

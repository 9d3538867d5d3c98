#include "app/cli/CddbCommands.h"
#include "app/cli/TerminalText.h"
#include "cddb/EmailAddress.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/TCDDBConnect.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CurlHttpClient.h"
#include "platform/Settings.h"

namespace {
constexpr int ExactMatch = 200;
constexpr int ExactMatches = 210;
constexpr int InexactMatches = 211;
constexpr int RecordFollows = 210;

// The real services a lookup goes through, for the life of one command.
struct LookupServices {
    explicit LookupServices(IDrives& drives)
    {
        services.drives = &drives;
        services.cdAudio = &device;
        services.http = &http;
    }
    CdioAudioDevice device;
    CurlHttpClient http;
    PlatformServices services;
};

// The match lines of a list answer: without its header and closing ".".
QStringList matchLines(const QString& answer)
{
    QStringList lines = TCDDBConnect::SplitLines(answer).mid(1);
    if (!lines.isEmpty() && lines.last() == QLatin1String("."))
        lines.removeLast();
    return lines;
}
} // namespace

CddbCommands::CddbCommands(IDrives& drives, const Settings& settings, QTextStream& out, QTextStream& err)
    : m_drives(drives), m_settings(settings), m_out(out), m_err(err)
{
}

QString CddbCommands::contact(const QString& email) const
{
    const QString address = email.isEmpty() ? m_settings.Email() : email.trimmed();
    if (address.isEmpty())
        throw CalvenorError(QStringLiteral("Le serveur demande une adresse électronique : donnez-la avec --email "
                                           "ADRESSE, ou dans les préférences de Calvenor."));
    if (!EmailAddress::IsValid(address))
        throw CalvenorError(EmailAddress::InvalidText(address));
    return address;
}

void CddbCommands::Lookup(QChar letter, const QString& server, const QString& email)
{
    const QString address = contact(email);
    LookupServices real(m_drives);
    TCDDBConnect cddb(real.services);
    cddb.SetEmail(address);
    const QString chosenServer = server.isEmpty() ? m_settings.CddbServer() : server;
    if (!chosenServer.isEmpty())
        cddb.SetServer(chosenServer);

    int code = 0;
    QString answer;
    cddb.QueryDisc(letter, code, answer);
    if (code == ExactMatches || code == InexactMatches) {
        const QStringList matches = matchLines(answer);
        for (const QString& match : matches)
            m_err << TerminalText::Escaped(match) << '\n';
        if (matches.isEmpty())
            throw CalvenorError(QStringLiteral("Réponse du serveur : ") + TerminalText::Escaped(answer));
        cddb.ReadEntry(matches.first());
    } else if (code != ExactMatch) {
        throw CalvenorError(QStringLiteral("Réponse du serveur : ")
                            + TerminalText::Escaped(TCDDBConnect::ExplainAnswer(code, answer)));
    }
    if (cddb.LastCode() != RecordFollows)
        throw CalvenorError(QStringLiteral("Réponse du serveur : ")
                            + TerminalText::Escaped(TCDDBConnect::TrimBlanks(cddb.EntryText())));
    printRecord(cddb);
}

void CddbCommands::printRecord(const TCDDBConnect& cddb)
{
    printField("artist", cddb.GetArtist());
    printField("album", cddb.GetAlbum());
    printField("category", cddb.GetCategory());
    QStringList titles;
    cddb.GetTitles(titles);
    for (const QString& title : titles)
        printField("title", title);
}

void CddbCommands::printField(const char* name, const QString& value)
{
    m_out << name << '=' << TerminalText::Escaped(value) << '\n';
}

void CddbCommands::LookupMusicBrainz(QChar letter, const QString& server, const QString& email)
{
    const QString address = contact(email);
    LookupServices real(m_drives);
    MusicBrainzClient client(real.services);
    client.SetContact(address);
    client.SetServer(server.isEmpty() ? m_settings.MusicBrainzServer() : server);

    const QList<AlbumRelease> releases = client.LookupDisc(letter);
    if (releases.isEmpty())
        throw CalvenorError(QStringLiteral("MusicBrainz ne connaît pas ce disque."));
    for (const AlbumRelease& release : releases)
        m_err << TerminalText::Escaped(release.ChoiceLine()) << '\n';
    const AlbumRelease& first = releases.first();
    printField("artist", first.artist);
    printField("album", first.album);
    for (const QString& title : first.titles)
        printField("title", title);
}

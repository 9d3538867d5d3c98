#include "app/cli/CddbCommands.h"
#include "app/cli/TerminalText.h"
#include "cddb/DiscLookup.h"
#include "cddb/EmailAddress.h"
#include "cddb/IReleaseChooser.h"
#include "cddb/TCDDBConnect.h"
#include "platform/CalvenorError.h"
#include "disc/DiscToc.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CurlHttpClient.h"
#include "platform/IDrives.h"
#include "platform/Settings.h"
#include <algorithm>

namespace {
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

// The album --release names, as the command line has no one to ask; none
// (a cancel) when the list is shorter.
class NumberedChoice : public IReleaseChooser {
public:
    explicit NumberedChoice(int number) : m_number(number) {}
    int Choose(const QList<AlbumRelease>& candidates, bool) override
    {
        return m_number <= candidates.size() ? m_number - 1 : -1;
    }

private:
    int m_number;
};
} // namespace

CddbCommands::CddbCommands(IDrives& drives, const Settings& settings, QTextStream& err)
    : m_drives(drives), m_settings(settings), m_err(err)
{
}

QString CddbCommands::contact(const QString& email, DiscLookup::Source source) const
{
    const QString address = email.isEmpty() ? m_settings.Email() : email.trimmed();
    // MusicBrainz names the program's own contact when the user gives none.
    if (address.isEmpty() && source == DiscLookup::Source::MusicBrainz)
        return address;
    if (address.isEmpty())
        throw CalvenorError(QStringLiteral("Le serveur demande une adresse électronique : donnez-la avec --email "
                                           "ADRESSE, ou dans les préférences de Calvenor."));
    if (!EmailAddress::IsValid(address))
        throw CalvenorError(EmailAddress::InvalidText(address));
    return address;
}

DiscLookup::Options CddbCommands::options(const Query& query) const
{
    DiscLookup::Options options;
    options.email = contact(query.email, query.source);
    options.order = {query.source};
    if (query.source == DiscLookup::Source::Cddb)
        options.cddbServer = query.server.isEmpty() ? m_settings.CddbServer() : query.server;
    else
        options.musicBrainzServer = query.server.isEmpty() ? m_settings.MusicBrainzServer() : query.server;
    return options;
}

// A failure is raised with the server's answer, or as the error it was.
AlbumRelease CddbCommands::Find(QChar letter, const Query& query)
{
    const DiscLookup::Options asked = options(query);
    LookupServices real(m_drives);
    DiscLookup lookup(real.services);
    NumberedChoice choice(query.release);
    const DiscLookup::Outcome outcome =
        lookup.Find(DiscToc::ReadDrive(m_drives, real.device, letter, DiscToc::Subchannel::Later), asked, choice);
    // Numbered as --release counts them.
    for (qsizetype k = 0; k < lookup.Candidates().size(); ++k)
        m_err << QStringLiteral("--release %1 : ").arg(k + 1)
              << TerminalText::Escaped(lookup.Candidates().at(k).ChoiceLine()) << '\n';
    const qsizetype offered = std::max<qsizetype>(1, lookup.Candidates().size());
    if (outcome != DiscLookup::Outcome::NotFound && query.release > offered)
        throw CalvenorError(QStringLiteral("--release %1 : la recherche n'a trouvé que %2 album(s).")
                                .arg(query.release)
                                .arg(offered));
    if (outcome == DiscLookup::Outcome::Found)
        return lookup.Release();
    if (lookup.Failures().isEmpty())
        throw CalvenorError(QStringLiteral("MusicBrainz ne connaît pas ce disque."));
    const DiscLookup::Failure& failure = lookup.Failures().first();
    if (failure.error)
        std::rethrow_exception(failure.error);
    throw CalvenorError(QStringLiteral("Réponse du serveur : ") + TerminalText::Escaped(failure.text));
}

AlbumRelease CddbCommands::CdText(QChar letter) const
{
    CdioAudioDevice device;
    const DiscToc toc = DiscToc::ReadDrive(m_drives, device, letter, DiscToc::Subchannel::Later);
    if (!toc.HasCdText())
        throw CalvenorError(QStringLiteral("Ce disque ne porte pas de CD-Text : ni le titre de l'album ni ceux "
                                           "des pistes n'y sont inscrits."));
    return AlbumRelease::FromCdText(toc);
}

void CddbCommands::Print(const AlbumRelease& album, QTextStream& out)
{
    printField(out, "artist", album.artist);
    printField(out, "album", album.album);
    if (album.ids.contains(AlbumRelease::CddbCategoryId))
        printField(out, "category", album.ids.value(AlbumRelease::CddbCategoryId));
    for (const QString& title : album.titles)
        printField(out, "title", title);
}

void CddbCommands::printField(QTextStream& out, const char* name, const QString& value)
{
    out << name << '=' << TerminalText::Escaped(value) << '\n';
}

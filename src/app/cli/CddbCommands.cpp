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

// The first album of a list, as the command line has no one to ask.
class FirstChoice : public IReleaseChooser {
public:
    int Choose(const QList<AlbumRelease>&, bool) override { return 0; }
};

// The disc's table of contents, read once for the whole lookup.
DiscToc readToc(LookupServices& real, QChar letter)
{
    return DiscToc::ReadDrive(*real.services.drives, real.device, letter);
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
    DiscLookup::Options options;
    options.email = contact(email);
    options.cddbServer = server.isEmpty() ? m_settings.CddbServer() : server;
    options.order = {DiscLookup::Source::Cddb};
    LookupServices real(m_drives);
    DiscLookup lookup(real.services);
    printAlbum(find(lookup, readToc(real, letter), options, QString()));
}

// The choices go to the error stream; a failure is raised with the
// server's answer, or as the error it was.
const AlbumRelease& CddbCommands::find(DiscLookup& lookup, const DiscToc& toc, const DiscLookup::Options& options,
                                       const QString& unknown)
{
    FirstChoice first;
    const DiscLookup::Outcome outcome = lookup.Find(toc, options, first);
    for (const AlbumRelease& candidate : lookup.Candidates())
        m_err << TerminalText::Escaped(candidate.ChoiceLine()) << '\n';
    if (outcome == DiscLookup::Outcome::Found)
        return lookup.Release();
    if (lookup.Failures().isEmpty())
        throw CalvenorError(unknown);
    const DiscLookup::Failure& failure = lookup.Failures().first();
    if (failure.error)
        std::rethrow_exception(failure.error);
    throw CalvenorError(QStringLiteral("Réponse du serveur : ") + TerminalText::Escaped(failure.text));
}

void CddbCommands::printAlbum(const AlbumRelease& release)
{
    printField("artist", release.artist);
    printField("album", release.album);
    if (release.ids.contains(AlbumRelease::CddbCategoryId))
        printField("category", release.ids.value(AlbumRelease::CddbCategoryId));
    for (const QString& title : release.titles)
        printField("title", title);
}

void CddbCommands::printField(const char* name, const QString& value)
{
    m_out << name << '=' << TerminalText::Escaped(value) << '\n';
}

void CddbCommands::LookupMusicBrainz(QChar letter, const QString& server, const QString& email)
{
    DiscLookup::Options options;
    options.email = contact(email);
    options.musicBrainzServer = server.isEmpty() ? m_settings.MusicBrainzServer() : server;
    options.order = {DiscLookup::Source::MusicBrainz};
    LookupServices real(m_drives);
    DiscLookup lookup(real.services);
    printAlbum(
        find(lookup, readToc(real, letter), options, QStringLiteral("MusicBrainz ne connaît pas ce disque.")));
}

void CddbCommands::PrintCdText(QChar letter)
{
    CdioAudioDevice device;
    const DiscToc toc = DiscToc::ReadDrive(m_drives, device, letter);
    if (!toc.HasCdText())
        throw CalvenorError(QStringLiteral("Ce disque ne porte pas de CD-Text : ni le titre de l'album ni ceux "
                                           "des pistes n'y sont inscrits."));
    printAlbum(AlbumRelease::FromCdText(toc));
}

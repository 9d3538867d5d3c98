#include "cddb/DiscLookup.h"
#include "cddb/IReleaseChooser.h"
#include "cddb/MusicBrainzClient.h"
#include "cddb/TCDDBConnect.h"
#include "disc/AlbumSheet.h"
#include "platform/HttpCancelled.h"
#include "platform/Settings.h"
#include "platform/TargetNameRule.h"

namespace {
constexpr int ExactMatch = 200;
constexpr int ExactMatches = 210;
constexpr int InexactMatches = 211;
constexpr int RecordFollows = 210;
const QString CddbName = QStringLiteral("CDDB");

// The matches of a list answer, without its header and closing ".": each
// line is "category discid artist / album".
QList<AlbumRelease> cddbMatches(const QString& answer)
{
    QStringList lines = TCDDBConnect::SplitLines(answer).mid(1);
    if (!lines.isEmpty() && lines.last() == QLatin1String("."))
        lines.removeLast();
    QList<AlbumRelease> matches;
    for (const QString& line : lines) {
        AlbumRelease match;
        match.source = CddbName;
        match.match = line;
        match.ids.insert(AlbumRelease::CddbCategoryId, line.section(' ', 0, 0));
        match.ids.insert(AlbumRelease::CddbDiscId, line.section(' ', 1, 1));
        matches << match;
    }
    return matches;
}

void applyToTrack(const AlbumRelease& release, const QStringList& fileTitles, AlbumSheet& sheet, int k,
                  const QString& folder, const QString& extension)
{
    const int index = sheet.Track(k).number - 1;
    const QString trackArtist = release.artists.value(index);
    sheet.SetValue(k, AlbumTrack::Artist, trackArtist.isEmpty() ? release.artist : trackArtist);
    sheet.SetValue(k, AlbumTrack::Album, release.album);
    if (!release.genre.isEmpty())
        sheet.SetValue(k, AlbumTrack::Genre, release.genre);
    if (!release.year.isEmpty())
        sheet.SetValue(k, AlbumTrack::Year, release.year);
    // No source names the hidden track (number 0): it keeps its own title.
    if (index >= 0) {
        sheet.SetValue(k, AlbumTrack::Title, release.titles.value(index));
        sheet.SetFileTitle(k, fileTitles.value(index));
        sheet.SetMusicBrainzIds(k, release.trackIds.value(index));
    }
    sheet.Retarget(k, folder, extension);
}
} // namespace

DiscLookup::Options DiscLookup::Options::FromSettings(const Settings& settings)
{
    Options options;
    options.email = settings.Email();
    options.cddbServer = settings.CddbServer();
    options.musicBrainzServer = settings.MusicBrainzServer();
    if (settings.MusicBrainzFirst())
        options.order = {Source::MusicBrainz, Source::Cddb};
    return options;
}

DiscLookup::DiscLookup(const PlatformServices& services)
    : m_cddb(std::make_unique<TCDDBConnect>(services)), m_musicBrainz(std::make_unique<MusicBrainzClient>(services))
{
}

DiscLookup::~DiscLookup() = default;

void DiscLookup::SetCancelFlag(const std::atomic<bool>* flag)
{
    m_cancel = flag;
    m_cddb->SetCancelFlag(flag);
    m_musicBrainz->SetCancelFlag(flag);
}

// Today's CDDB greeting: the user's address, then the program and its version.
void DiscLookup::configure(const Options& options)
{
    m_cddb->SetEmail(options.email);
    if (!options.cddbServer.isEmpty())
        m_cddb->SetServer(options.cddbServer);
    m_musicBrainz->SetContact(options.email);
    m_musicBrainz->SetServer(options.musicBrainzServer);
}

DiscLookup::Outcome DiscLookup::Find(const DiscToc& toc, const Options& options, IReleaseChooser& chooser)
{
    m_toc = toc;
    m_release = AlbumRelease();
    m_failures.clear();
    configure(options);
    for (const Source source : options.order) {
        const Outcome outcome = ask(source, chooser);
        if (outcome != Outcome::NotFound)
            return outcome;
    }
    m_candidates.clear();
    if (!m_toc.HasCdText())
        return Outcome::NotFound;
    m_release = AlbumRelease::FromCdText(m_toc);
    return Outcome::Found;
}

DiscLookup::Outcome DiscLookup::ask(Source source, IReleaseChooser& chooser)
{
    m_candidates.clear();
    try {
        return source == Source::Cddb ? askCddb(chooser) : askMusicBrainz(chooser);
    } catch (const CalvenorError& e) {
        const QString prefix = source == Source::Cddb ? QString() : QStringLiteral("MusicBrainz : ");
        return fail(source, prefix + e.message(), std::current_exception());
    }
}

DiscLookup::Outcome DiscLookup::askCddb(IReleaseChooser& chooser)
{
    int code = 0;
    QString answer;
    if (!request([&] { m_cddb->QueryDisc(m_toc, code, answer); }))
        return Outcome::Cancelled;
    switch (code) {
    case ExactMatch:
        return offerCdTextBeside(readRecord(answer), chooser);
    case ExactMatches:
    case InexactMatches:
        return chooseAndRead(code, answer, chooser);
    default:
        return fail(Source::Cddb, TCDDBConnect::ExplainAnswer(code, answer));
    }
}

DiscLookup::Outcome DiscLookup::chooseAndRead(int code, const QString& answer, IReleaseChooser& chooser)
{
    const QList<AlbumRelease> matches = cddbMatches(answer);
    if (matches.isEmpty())
        return fail(Source::Cddb, answer);
    m_candidates = withCdText(matches);
    const int chosen = chooser.Choose(m_candidates, code == InexactMatches);
    if (chosen < 0 || chosen >= matches.size())
        return take(chosen);
    QString record;
    if (!request([&] { record = m_cddb->ReadEntry(m_candidates.at(chosen).match); }))
        return Outcome::Cancelled;
    return readRecord(record);
}

// A read that gave no record (an error status) counts as the server's
// answer, never as an empty record.
DiscLookup::Outcome DiscLookup::readRecord(const QString& record)
{
    if (m_cddb->LastCode() != RecordFollows)
        return fail(Source::Cddb, TCDDBConnect::TrimBlanks(record));
    AlbumRelease release;
    release.source = CddbName;
    release.artist = m_cddb->GetArtist();
    release.album = m_cddb->GetAlbum();
    release.year = m_cddb->GetYear();
    release.genre = m_cddb->GetGenre();
    release.ids.insert(AlbumRelease::CddbCategoryId, m_cddb->GetCategory());
    release.ids.insert(AlbumRelease::CddbDiscId, m_cddb->GetDiscId());
    m_cddb->GetTitles(release.titles);
    m_release = release.WithTrackArtistsSplit();
    return Outcome::Found;
}

DiscLookup::Outcome DiscLookup::askMusicBrainz(IReleaseChooser& chooser)
{
    QList<AlbumRelease> releases;
    if (!request([&] { releases = m_musicBrainz->LookupDisc(m_toc); }))
        return Outcome::Cancelled;
    if (releases.isEmpty())
        return Outcome::NotFound;
    m_candidates = withCdText(releases);
    return take(m_candidates.size() == 1 ? 0 : chooser.Choose(m_candidates, false));
}

QList<AlbumRelease> DiscLookup::withCdText(const QList<AlbumRelease>& found) const
{
    QList<AlbumRelease> candidates = found;
    if (m_toc.HasCdText())
        candidates << AlbumRelease::FromCdText(m_toc);
    return candidates;
}

// CDDB's one exact match is taken without asking, unless the disc names
// itself in CD-Text: then the user chooses between the two.
DiscLookup::Outcome DiscLookup::offerCdTextBeside(Outcome outcome, IReleaseChooser& chooser)
{
    if (outcome != Outcome::Found || !m_toc.HasCdText())
        return outcome;
    m_candidates = withCdText({m_release});
    return take(chooser.Choose(m_candidates, false));
}

DiscLookup::Outcome DiscLookup::take(int chosen)
{
    if (chosen < 0 || chosen >= m_candidates.size())
        return Outcome::Cancelled;
    m_release = m_candidates.at(chosen);
    return Outcome::Found;
}

bool DiscLookup::request(const std::function<void()>& call)
{
    if (m_cancel && *m_cancel)
        return false;
    try {
        if (RunRequest)
            RunRequest(call);
        else
            call();
    } catch (const HttpCancelled&) {
        return false;
    }
    return true;
}

DiscLookup::Outcome DiscLookup::fail(Source source, const QString& text, std::exception_ptr error)
{
    m_failures << Failure{source, text, error};
    return Outcome::NotFound;
}

QString DiscLookup::FailureReport() const
{
    if (m_failures.size() == 1 && m_failures.first().source == Source::Cddb && m_failures.first().error)
        std::rethrow_exception(m_failures.first().error);
    QStringList texts;
    for (const Failure& failure : m_failures)
        texts << failure.text;
    return TCDDBConnect::ForBox(texts.join(QStringLiteral("\n\n")));
}

QString DiscLookup::AlbumFolder(const QString& musicFolder, const AlbumRelease& release)
{
    return TargetNameRule::SubFolder(TargetNameRule::SubFolder(musicFolder, release.artist), release.album);
}

void DiscLookup::Apply(const AlbumRelease& release, AlbumSheet& sheet, const QString& folder, const QString& extension,
                       const QStringList& fileTitles)
{
    AlbumSheet::Album album = sheet.AlbumValues();
    album.artist = release.artist;
    album.title = release.album;
    if (!release.genre.isEmpty())
        album.genre = release.genre;
    if (!release.year.isEmpty())
        album.year = release.year;
    album.discNumber = release.discNumber;
    album.discCount = release.discCount;
    album.date = release.date;
    album.label = release.label;
    album.catalogNumber = release.catalogNumber;
    album.source = release.source;
    album.ids = release.ids;
    // The tracks first: views of the album see the tracks it goes with.
    for (int k = 1; k <= sheet.TrackCount(); ++k)
        applyToTrack(release, fileTitles, sheet, k, folder, extension);
    sheet.SetAlbum(album);
}

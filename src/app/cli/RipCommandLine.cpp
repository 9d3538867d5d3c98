#include "app/cli/RipCommandLine.h"
#include "app/cli/RipRefusals.h"
#include "app/cli/CddbCommands.h"
#include "disc/AlbumSheet.h"
#include "app/cli/DiscCommands.h"
#include "app/cli/OffsetCommand.h"
#include "app/cli/ProofReport.h"
#include "app/cli/ReadTagCommand.h"
#include "app/cli/RepairCommand.h"
#include "app/cli/SignalStop.h"
#include "app/cli/UsageError.h"
#include "app/cli/VerificationOptions.h"
#include "disc/DiscToc.h"
#include "app/cli/ConvertCommand.h"
#include "app/cli/RunFileList.h"
#include "app/cli/TerminalProgress.h"
#include "app/cli/TerminalRun.h"
#include "app/cli/TerminalText.h"
#include "encode/ConvertJob.h"
#include "platform/CalvenorError.h"
#include "platform/CdioAudioDevice.h"
#include "platform/CdioRipLibrary.h"
#include "platform/IHttpClient.h"
#include "app/cli/CoverOptions.h"
#include "rip/RipVerification.h"
#include "platform/DriveIdentity.h"
#include "platform/DriveMap.h"
#include "encode/TLameCoder.h"
#include "platform/LameEncoderLibrary.h"
#include "platform/StopSignals.h"
#include "rip/RipRun.h"
#include "rip/TrackFileNamer.h"
#include "rip/TrackTagging.h"
#include "rip/TCDRIP.h"
#include "rip/TrackRowList.h"
#include <QDir>
#include <QFileInfo>
#include "tags/TMP3Info.h"
#include "tags/TrackTags.h"
#include "platform/Settings.h"
#include "rip/KnownDiscCheck.h"
#include "rip/TrackReads.h"
#include <algorithm>
#include <atomic>
#include <iterator>
#include <utility>

namespace {
// The tag options and the track value each one fills.
const std::pair<const char*, AlbumTrack::Value> TagOptions[] = {
    {"title", AlbumTrack::Title}, {"artist", AlbumTrack::Artist}, {"album", AlbumTrack::Album},
    {"year", AlbumTrack::Year},   {"genre", AlbumTrack::Genre},   {"comment", AlbumTrack::Comment},
};
} // namespace

RipCommandLine::RipCommandLine(QTextStream& out, QTextStream& err, LibraryMaker makeLibrary)
    : m_out(out), m_err(err), m_help(m_parser, QStringLiteral("calvenor-rip")), m_options(m_parser),
      m_makeLibrary(std::move(makeLibrary))
{
    if (!m_makeLibrary)
        m_makeLibrary = [](const QStringList& sources) { return std::make_unique<CdioRipLibrary>(sources); };
    RipOptions::Define(m_help);
}

RipCommandLine::~RipCommandLine() = default;

int RipCommandLine::Run(const QStringList& arguments)
{
    try {
        if (!Parse(arguments)) {
            m_out << *m_help.RequestedText();
            return 0;
        }
        return dispatch();
    } catch (const UsageError& e) {
        // One line, so that the mistake stays in sight.
        m_err << TerminalText::EscapedMessage(e.message()) << "\nVoir calvenor-rip --help.\n";
        return 2;
    } catch (const CalvenorError& e) {
        // Messages may quote a server.
        m_err << TerminalText::EscapedMessage(e.message()) << '\n';
        return 1;
    } catch (const std::exception& e) {
        m_err << TerminalText::EscapedMessage(QString::fromLocal8Bit(e.what())) << '\n';
        return 1;
    }
}

bool RipCommandLine::Parse(const QStringList& arguments, bool withDevices)
{
    QStringList rest;
    m_drives = std::make_unique<DriveMap>(DriveMap::FromArguments(arguments, &rest, withDevices));
    if (!m_parser.parse(QStringList{QStringLiteral("calvenor-rip")} + rest))
        throw UsageError(m_help.RefusalText(rest));
    if (m_help.RequestedText())
        return false;
    if (m_parser.isSet(QStringLiteral("track")))
        m_options.Int(QStringLiteral("track"));
    if (m_parser.isSet(QStringLiteral("bitrate")))
        m_options.Bitrate();
    if (m_parser.isSet(QStringLiteral("tracks")))
        m_wantedTracks = m_options.TrackList();
    m_options.Lookup();
    return true;
}

int RipCommandLine::dispatch()
{
    if (m_parser.isSet(QStringLiteral("list"))) {
        listDrives();
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("toc"))) {
        DiscCommands(toc(), m_out).PrintToc();
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("track")))
        return ripOneTrack();
    if (m_parser.isSet(QStringLiteral("tracks")))
        return ripSeveralTracks();
    if (m_parser.isSet(QStringLiteral("accuraterip-id"))) {
        DiscCommands(toc(), m_out).PrintAccurateRipPath();
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("discid"))) {
        DiscCommands(toc(), m_out).PrintIds();
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("find-offset"))) {
        ripper(); // selects the drive
        Settings settings;
        return OffsetCommand(*m_library, drive(), verification(), settings, m_out).Run();
    }
    if (m_parser.isSet(QStringLiteral("convert")))
        return convertFiles();
    if (m_parser.isSet(QStringLiteral("repair")))
        return RepairCommand(m_parser, m_http, m_out, m_err).Run();
    if (m_parser.isSet(QStringLiteral("read-tag"))) {
        ReadTagCommand::Run(m_parser.value(QStringLiteral("read-tag")), m_out);
        return 0;
    }
    if (m_parser.isSet(QStringLiteral("cd-text"))) {
        const Settings settings;
        CddbCommands::Print(CddbCommands(*m_drives, settings, m_err).CdText(driveLetter()), m_out);
        return 0;
    }
    if (const std::optional<AlbumRelease> album = lookedUpAlbum()) {
        CddbCommands::Print(*album, m_out);
        return 0;
    }
    throw UsageError(RipOptions::NoCommandText());
}

void RipCommandLine::listDrives()
{
    if (m_drives->Letters().isEmpty())
        throw CalvenorError(QStringLiteral("Aucun lecteur de CD n'a été trouvé ; une image de disque se donne avec "
                                           "--drive X=CHEMIN."));
    for (QChar letter : m_drives->Letters())
        m_out << letter << ":\\ " << m_drives->source(letter) << '\n';
}

DriveIdentity RipCommandLine::drive() const
{
    return DriveIdentity::Of(*m_drives, driveLetter());
}

QChar RipCommandLine::driveLetter() const
{
    const QStringList positional = m_parser.positionalArguments();
    if (positional.isEmpty() || positional.first().isEmpty())
        throw UsageError(QStringLiteral("Indiquez le lecteur, par exemple d:"));
    return positional.first().at(0).toLower();
}

QString RipCommandLine::discSource() const
{
    const QChar letter = driveLetter();
    if (!m_drives->Letters().contains(letter))
        throw CalvenorError(QStringLiteral("Le lecteur %1: n'existe pas.").arg(letter));
    if (!m_drives->isDiscPresent(letter)) {
        const QString reason = m_drives->unreadableReason(letter);
        throw CalvenorError(reason.isEmpty() ? QStringLiteral("Il n'y a pas de CD dans le lecteur %1: (%2).")
                                                   .arg(letter)
                                                   .arg(m_drives->source(letter))
                                             : reason);
    }
    return m_drives->source(letter);
}

const DiscToc& RipCommandLine::toc()
{
    if (!m_toc) {
        CdioAudioDevice device;
        m_toc = std::make_unique<DiscToc>(DiscToc::Read(device, discSource()));
    }
    return *m_toc;
}

TCDRIP& RipCommandLine::ripper()
{
    if (m_ripper)
        return *m_ripper;
    discSource();
    const QChar letter = driveLetter();
    const int index = m_drives->Letters().indexOf(letter);
    m_library = m_makeLibrary(m_drives->CdSources());
    m_ripper = std::make_unique<TCDRIP>(*m_library);
    m_ripper->SetCDRomNum(index);
    m_ripper->ReadOffset = m_parser.isSet(QStringLiteral("offset")) ? m_options.Int(QStringLiteral("offset"))
                                                                    : drive().ReadOffset(Settings());
    if (m_ripper->Tracks.isEmpty())
        throw CalvenorError(QStringLiteral("Impossible de lire la table des matières du disque %1. %2")
                                .arg(m_drives->source(letter), m_library->LastError()));
    return *m_ripper;
}

void RipCommandLine::configureOutput(TCDRIP& r, bool headerlessAllowed, const QString& impliedFormat)
{
    // Without a format option, the file's extension names it.
    const bool chosen = m_options.FormatChosen();
    const bool mp3 = m_parser.isSet(QStringLiteral("mp3")) || (!chosen && impliedFormat == QLatin1String("mp3"));
    if (m_parser.isSet(QStringLiteral("pcm")) && !headerlessAllowed)
        throw UsageError(QStringLiteral("--pcm ne s'emploie qu'avec --track."));
    if (mp3 && (m_parser.isSet(QStringLiteral("wav")) || m_parser.isSet(QStringLiteral("pcm"))))
        throw UsageError(QStringLiteral("Choisissez un seul format : --mp3, --wav ou --pcm."));
    const bool flac = m_options.Flac() || (!chosen && impliedFormat == QLatin1String("flac"));
    const bool opus = m_options.Opus() || (!chosen && impliedFormat == QLatin1String("opus"));
    const bool vorbis = m_options.Vorbis() || (!chosen && impliedFormat == QLatin1String("ogg"));
    r.SetFlacLevel(m_options.FlacLevel());
    r.SetOpusKbps(m_options.OpusKbps());
    r.SetVorbisQuality(m_options.VorbisQuality());
    r.SetFileFormat(flac     ? FileFormat::Flac
                    : opus   ? FileFormat::Opus
                    : vorbis ? FileFormat::Vorbis
                    : mp3    ? FileFormat::Mp3
                    : m_parser.isSet(QStringLiteral("pcm")) ? FileFormat::Pcm
                                                            : FileFormat::Wav);
    if (!mp3)
        return;
    m_encoderLibrary = std::make_unique<LameEncoderLibrary>();
    m_coder = std::make_unique<TLameCoder>(*m_encoderLibrary);
    if (m_parser.isSet(QStringLiteral("bitrate")))
        m_coder->SetBitrate(m_options.Bitrate());
    r.SetCoder(m_coder.get());
}

AlbumTrack RipCommandLine::trackFromOptions(int number, const QString& target) const
{
    AlbumTrack track;
    track.number = number;
    track.ticked = true;
    track.setValue(AlbumTrack::Target, target);
    for (const auto& [option, value] : TagOptions)
        track.setValue(value, m_parser.value(QString::fromLatin1(option)));
    return track;
}

int RipCommandLine::ripOneTrack()
{
    const int track = m_options.Int(QStringLiteral("track"));
    const QString out = m_parser.value(QStringLiteral("out"));
    if (out.isEmpty())
        throw UsageError(QStringLiteral("Indiquez le fichier de sortie avec --out."));
    TCDRIP& r = ripper();
    const TTrack* onDisc = r.TrackOf(track);
    if (!onDisc)
        throw CalvenorError(QStringLiteral("Le disque n'a pas de piste %1.").arg(track));
    if (onDisc->Kind != QLatin1String("Audio"))
        throw CalvenorError(QStringLiteral("La piste %1 n'est pas une piste audio.").arg(track));
    configureOutput(r, true, QFileInfo(out).suffix().toLower());
    if (r.Format() != FileFormat::Pcm)
        RipRefusals::ExtensionOfFormat(out, r.Extension());
    // A plan of one row: the file gets the tags, the loudness and the cover
    // the whole disc's run gives that track.
    m_wantedTracks = {track};
    const QString file = QFileInfo(out).absoluteFilePath();
    AlbumSheet sheet;
    fillSheet(sheet, r, QFileInfo(file).path());
    QList<AlbumTrack> rows;
    for (AlbumTrack row : sheet.Tracks())
        if (row.number == track) {
            row.setValue(AlbumTrack::Target, file);
            rows << row;
        }
    TrackRowList list(rows, QFileInfo(file).path());
    TMP3Info tags;
    RipRun run(list, r, tags);
    configureRun(run, sheet);
    run.SetSingleFile(RipLog::FileBeside(r.OutputPath(file)));
    return terminalRun(run, false);
}

int RipCommandLine::ripSeveralTracks()
{
    const QString folder = m_options.Folder();
    if (m_parser.isSet(QStringLiteral("title")))
        throw UsageError(QStringLiteral("--title ne s'emploie qu'avec --track : chaque piste a son titre."));
    const int encoders = m_options.Encoders();
    TCDRIP& r = ripper();
    RipRefusals::TracksNotOnDisc(r, m_wantedTracks);
    configureOutput(r, false);
    AlbumSheet sheet;
    fillSheet(sheet, r, folder);
    if (!QDir().mkpath(folder))
        throw CalvenorError(QStringLiteral("Impossible de créer le répertoire %1").arg(folder));
    TrackRowList list(sheet.Tracks(), folder);
    TMP3Info tags;
    RipRun run(list, r, tags);
    configureRun(run, sheet);
    run.SetEncoders(encoders);
    return terminalRun(run, true);
}

void RipCommandLine::configureRun(RipRun& run, const AlbumSheet& sheet)
{
    run.SetPasses(m_options.Passes());
    run.SetReplayGain(!m_parser.isSet(QStringLiteral("no-replaygain")));
    run.SetKeepsIncomplete(!m_parser.isSet(QStringLiteral("drop-incomplete")));
    run.SetVerification(verification());
    run.SetLogHeader(logHeader());
    run.SetToc(toc());
    run.SetCover(CoverOptions(m_parser, m_err).Make(sheet.AlbumValues(), m_http));
    run.SetAlbum(AlbumIdentityTags(sheet, toc()));
}

int RipCommandLine::terminalRun(RipRun& run, bool listFiles)
{
    TerminalRun::Choices choices;
    choices.wanted = m_wantedTracks;
    choices.overwrite = m_parser.isSet(QStringLiteral("overwrite"));
    choices.listFiles = listFiles;
    return TerminalRun(m_out, m_err, [this](const RipReport& report) { return reportResult(report); })
        .Execute(run, *m_ripper, choices);
}

std::optional<AlbumRelease> RipCommandLine::lookedUpAlbum()
{
    const std::optional<CddbCommands::Query> query = m_options.Lookup();
    const bool cdText = m_parser.isSet(QStringLiteral("cd-text"));
    if (query && cdText)
        throw UsageError(QStringLiteral("Choisissez une seule source des noms : --cddb, --musicbrainz ou --cd-text."));
    if (!query && !cdText)
        return std::nullopt;
    const Settings settings;
    CddbCommands commands(*m_drives, settings, m_err);
    return cdText ? commands.CdText(driveLetter()) : commands.Find(driveLetter(), *query);
}

// The album found fills the tags and names the files as the lookup window
// does; a tag option given beside it wins.
void RipCommandLine::fillSheet(AlbumSheet& sheet, const TCDRIP& r, const QString& folder)
{
    QList<AlbumTrack> tracks;
    for (const AlbumTrack& disc : r.AlbumTracks()) {
        AlbumTrack track = trackFromOptions(disc.number, QString());
        // The hidden track's own title stands unless an option gives one.
        if (track.value(AlbumTrack::Title).isEmpty())
            track.setValue(AlbumTrack::Title, disc.value(AlbumTrack::Title));
        track.ticked = m_wantedTracks.contains(disc.number);
        tracks << track;
    }
    sheet.Reset(tracks);
    sheet.SetNames(m_options.Names());
    std::optional<AlbumRelease> album = lookedUpAlbum();
    // Without a lookup, the disc's own CD-Text names it.
    if (!album && toc().HasCdText())
        album = AlbumRelease::FromCdText(toc());
    if (album)
        DiscLookup::Apply(album->WithoutControlChars(), sheet, folder, r.Extension());
    for (const auto& [option, value] : TagOptions)
        if (m_parser.isSet(QString::fromLatin1(option)))
            for (int k = 1; k <= sheet.TrackCount(); ++k)
                sheet.SetValue(k, value, m_parser.value(QString::fromLatin1(option)));
    sheet.RetargetAll(folder, r.Extension());
}

RipVerification RipCommandLine::verification()
{
    return VerificationOptions(m_parser).Make(m_http, [this]() -> const DiscToc& { return toc(); });
}

RipLog::Header RipCommandLine::logHeader() const
{
    RipLog::Header header;
    header.Date = QDateTime::currentDateTime();
    header.Source = m_drives->source(driveLetter());
    header.Drive = drive().LogText();
    header.ReadOffset = m_ripper->ReadOffset;
    header.ParanoiaMode = CdioRipLibrary::ModeText(m_ripper->JitterCorrect());
    header.Passes = m_options.Passes();
    return header;
}

int RipCommandLine::reportResult(const RipReport& report)
{
    return ProofReport::Print(report, m_out, m_err);
}

int RipCommandLine::convertFiles()
{
    ConvertCommand convert(m_out, m_err);
    TerminalProgress progress(m_err);
    convert.OnProgress = [&progress](int percent) { progress.ReadProgress(percent); };
    std::optional<ConvertDirection> direction;
    if (m_parser.isSet(QStringLiteral("mp3")))
        direction = ConvertDirection::WavToMp3;
    else if (m_parser.isSet(QStringLiteral("wav")))
        direction = ConvertDirection::Mp3ToWav;
    return convert.Run(m_parser.value(QStringLiteral("convert")), m_parser.value(QStringLiteral("out")), direction);
}

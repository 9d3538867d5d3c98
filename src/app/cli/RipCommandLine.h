#pragma once
#include "app/CommandHelp.h"
#include "app/cli/RipOptions.h"
#include "cddb/AlbumRelease.h"
#include "rip/RipLog.h"
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

class AlbumSheet;
class DiscToc;
class DriveIdentity;
class DriveMap;
class IEncoderLibrary;
class TLameCoder;
struct AlbumTrack;
class CdioRipLibrary;
class IHttpClient;
class RipReport;
class RipRun;
class TCDRIP;
struct RipVerification;

// calvenor-rip: the ripper's components driven from the command line, for
// scripts and benchmarks. Results go to standard output, progress and
// errors to standard error. A rip exits as ProofReport says.
class RipCommandLine {
public:
    // Makes the CD ripping library over the drives' sources.
    using LibraryMaker = std::function<std::unique_ptr<CdioRipLibrary>(const QStringList& sources)>;

    RipCommandLine(QTextStream& out, QTextStream& err, LibraryMaker makeLibrary = nullptr);
    ~RipCommandLine();
    // Arguments without the program name; returns the exit code.
    int Run(const QStringList& arguments);
    // Reads the arguments and checks the option values, touching no drive
    // and no file; false when help is asked for. Raises CalvenorError.
    bool Parse(const QStringList& arguments, bool withDevices = true);

private:
    int dispatch();
    void listDrives();
    int ripOneTrack();
    int ripSeveralTracks();
    // --cddb or --musicbrainz: the album the options choose; none without them.
    std::optional<AlbumRelease> lookedUpAlbum();
    // The tracks of --tracks with their tags and file names in folder.
    void fillSheet(AlbumSheet& sheet, const TCDRIP& ripper, const QString& folder);
    // The database lookups the options ask for, or why there are none.
    RipVerification verification();
    RipLog::Header logHeader() const;
    // Prints the damage and verdict lines; returns the exit code they make.
    int reportResult(const RipReport& report);
    // WAV, PCM or MP3 through the encoder, as the options say.
    // The format the options ask for; impliedFormat ("flac", "mp3"...) when they name none.
    void configureOutput(TCDRIP& ripper, bool headerlessAllowed, const QString& impliedFormat = {});
    // The tag values of the options, in a ticked track of the given number and target.
    AlbumTrack trackFromOptions(int number, const QString& target) const;
    // Writes the ID3v1 tag given by the tag options, as the rip window does.
    // What every run of the tool takes from the options: passes, loudness,
    // verification, log header, table of contents, cover and album identity.
    void configureRun(RipRun& run, const AlbumSheet& sheet);
    int terminalRun(RipRun& run, bool listFiles);
    // --convert: the converter's work on a file or a folder; returns the exit code.
    int convertFiles();
    // Opens the ripper on the drive named by the first positional argument.
    TCDRIP& ripper();
    // The source of that drive, which must hold a disc.
    QString discSource() const;
    // Its table of contents, read once.
    const DiscToc& toc();
    QChar driveLetter() const;
    // What that drive is: its model, or the image's file.
    DriveIdentity drive() const;

    QTextStream& m_out;
    QTextStream& m_err;
    QCommandLineParser m_parser;
    CommandHelp m_help;
    RipOptions m_options;
    std::unique_ptr<DriveMap> m_drives;
    LibraryMaker m_makeLibrary;
    std::unique_ptr<CdioRipLibrary> m_library;
    std::unique_ptr<IHttpClient> m_http;
    std::unique_ptr<TCDRIP> m_ripper;
    std::unique_ptr<DiscToc> m_toc;
    std::unique_ptr<IEncoderLibrary> m_encoderLibrary;
    std::unique_ptr<TLameCoder> m_coder;
    QList<int> m_wantedTracks;
};

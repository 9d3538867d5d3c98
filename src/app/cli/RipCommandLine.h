#pragma once
#include "app/CommandHelp.h"
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <memory>

class DriveMap;
class IEncoderLibrary;
class TLameCoder;
struct TrackRow;
class ICdRipLibrary;
class TCDRIP;

// calvenor-rip: the ripper's components driven from the command line, for
// scripts and benchmarks. Results go to standard output, progress and
// errors to standard error.
class RipCommandLine {
public:
    RipCommandLine(QTextStream& out, QTextStream& err);
    ~RipCommandLine();
    // Arguments without the program name; returns the exit code.
    int Run(const QStringList& arguments);

private:
    void defineOptions();
    int dispatch();
    void listDrives();
    void printToc();
    void ripOneTrack();
    void ripSeveralTracks();
    // WAV, PCM or MP3 through the encoder, as the options say.
    void configureOutput(TCDRIP& ripper, bool headerlessAllowed);
    // The tag values of the options, in a row of the given label and target.
    TrackRow rowFromOptions(const QString& label, const QString& target) const;
    QList<int> trackList(const TCDRIP& ripper) const;
    // Writes the ID3v1 tag given by the tag options, as the rip window does.
    void tagRippedFile(const QString& path, int track);
    void readTag();
    // --convert: the converter's work on a file or a folder; returns the exit code.
    int convertFiles();
    // Opens the ripper on the drive named by the first positional argument.
    TCDRIP& ripper();
    QChar driveLetter() const;
    int intOption(const QString& name) const;
    void showProgress(int percent);

    QTextStream& m_out;
    QTextStream& m_err;
    QCommandLineParser m_parser;
    CommandHelp m_help;
    std::unique_ptr<DriveMap> m_drives;
    std::unique_ptr<ICdRipLibrary> m_library;
    std::unique_ptr<TCDRIP> m_ripper;
    std::unique_ptr<IEncoderLibrary> m_encoderLibrary;
    std::unique_ptr<TLameCoder> m_coder;
    int m_lastPercent = -1;
};

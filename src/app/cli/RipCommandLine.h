#pragma once
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <memory>

class DriveMap;
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
    // Writes the ID3v1 tag given by the tag options, as the rip window does.
    void tagRippedFile(const QString& path);
    void readTag();
    // Opens the ripper on the drive named by the first positional argument.
    TCDRIP& ripper();
    QChar driveLetter() const;
    int intOption(const QString& name) const;
    void showProgress(int percent);

    QTextStream& m_out;
    QTextStream& m_err;
    QCommandLineParser m_parser;
    std::unique_ptr<DriveMap> m_drives;
    std::unique_ptr<ICdRipLibrary> m_library;
    std::unique_ptr<TCDRIP> m_ripper;
    int m_lastPercent = -1;
};

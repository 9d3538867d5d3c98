#pragma once
#include <QCommandLineParser>
#include <QTextStream>
#include <memory>

class IHttpClient;

// calvenor-rip --repair DIR: a whole disc ripped earlier into WAV or FLAC
// files, read back from its cue sheet and files (EarlierRip), proven again
// against AccurateRip and the CUETools database, other pressings included,
// and mended from the database's parity (DiscProof); what it found goes to
// the end of the rip's log.
class RepairCommand {
public:
    RepairCommand(const QCommandLineParser& parser, std::unique_ptr<IHttpClient>& http, QTextStream& out,
                  QTextStream& err);

    // The exit code, as a rip's (ProofReport). Raises CalvenorError when the
    // rip cannot be read or a signal stopped the work.
    int Run();

private:
    const QCommandLineParser& m_parser;
    std::unique_ptr<IHttpClient>& m_http;
    QTextStream& m_out;
    QTextStream& m_err;
};

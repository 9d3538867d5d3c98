#pragma once
#include <QChar>
#include <QString>
#include <QTextStream>

class IDrives;
class TCDDBConnect;

// The CDDB commands of calvenor-rip: the disc identifier of a drive, and a
// lookup that prints what the server knows of the disc.
class CddbCommands {
public:
    CddbCommands(IDrives& drives, QTextStream& out, QTextStream& err);

    // The identifier on one line, the query command on the next.
    void PrintDiscId(QChar letter);
    // artist=, album=, category= and one title= line per title. When several
    // discs match, the match lines go to the error stream and the first is
    // read. `server` empty: the client's own default.
    void Lookup(QChar letter, const QString& server);

private:
    void printRecord(const TCDDBConnect& cddb);

    IDrives& m_drives;
    QTextStream& m_out;
    QTextStream& m_err;
};

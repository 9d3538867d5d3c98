#pragma once
#include <QTextStream>

class DiscToc;

// The disc commands of calvenor-rip: what the table of contents says and
// the identifiers made of it. Tracks go by their numbers on the disc.
class DiscCommands {
public:
    DiscCommands(const DiscToc& toc, QTextStream& out);

    // One line a track, "Track02 Audio 0 299 00:00.00 00:04.00": its first
    // and last sectors, then its start and length as mm:ss.ff (75 frames a
    // second); followed by what the disc tells besides: index00=, index02=..., flags=PRE,DCP, isrc=; then the
    // disc's mcn= line when it has one.
    void PrintToc();
    // cddb=, musicbrainz=, accuraterip= and ctdb=, one line each.
    void PrintIds();
    // The disc's path in the AccurateRip database.
    void PrintAccurateRipPath();

private:
    const DiscToc& m_toc;
    QTextStream& m_out;
};

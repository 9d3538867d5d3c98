#pragma once
#include "disc/AlbumSheet.h"
#include "rip/RipCover.h"
#include <QCommandLineParser>
#include <QTextStream>
#include <memory>

class IHttpClient;

// --cover and --cover-server: the front cover a --tracks rip embeds and
// saves, as the preferences say.
class CoverOptions {
public:
    CoverOptions(const QCommandLineParser& parser, QTextStream& err) : m_parser(parser), m_err(err) {}

    // --cover's image; else, for an album --musicbrainz chose, the Cover Art
    // Archive's, if it has one: one it could not fetch is told on err as the
    // log tells it. Else none. A --cover file that is no image raises
    // CalvenorError with a French text.
    RipCover Make(const AlbumSheet::Album& album, std::unique_ptr<IHttpClient>& http) const;

private:
    const QCommandLineParser& m_parser;
    QTextStream& m_err;
};

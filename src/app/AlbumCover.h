#pragma once
#include "platform/CoverImage.h"
#include <QObject>
#include <QString>
#include <memory>

class AlbumSheet;
class CoverFetch;
class IHttpClient;

// Keeps the album sheet's front cover: the Cover Art Archive's as soon as the
// album becomes a MusicBrainz release, fetched on a thread of its own so that
// the window goes on, or an image file the user gives, which no fetched
// cover replaces. Another album takes a fetched cover away.
class AlbumCover : public QObject {
    Q_OBJECT
public:
    // Without an HTTP client, nothing is fetched.
    AlbumCover(AlbumSheet& sheet, IHttpClient* http, QObject* parent = nullptr);
    // Gives up a fetch under way.
    ~AlbumCover() override;

    // Empty: the Cover Art Archive's own server.
    void SetServer(const QString& url);
    // Raises CalvenorError with a French text when the file is no JPEG or
    // PNG image that can be read.
    void TakeFile(const QString& path);
    // Whether a fetch is under way.
    bool Fetching() const;

private:
    void albumChanged();
    void fetched(const CoverImage& cover);

    AlbumSheet& m_sheet;
    std::unique_ptr<CoverFetch> m_fetch;
    // The release the cover was last asked for.
    QString m_release;
};

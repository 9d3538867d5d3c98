#pragma once
#include <QString>
#include <QStringList>

// An M3U playlist of file names relative to its folder: one line per file,
// CR LF line ends, no header. Lines are unique, letter case ignored.
class Playlist {
public:
    static const QString Ending; // "PlayList.M3u"

    // folder + "artist - album - PlayList.M3u" when both are given, else folder + "PlayList.M3u";
    // files of the run named alike end otherwise.
    static QString FileName(const QString& folder, const QString& artist, const QString& album,
                            const QString& ending = Ending);

    // Reads an existing playlist; a missing file gives an empty list.
    void Load(const QString& path);
    // Appends a line unless the list holds it already.
    void Add(const QString& line);
    void Save(const QString& path) const;
    const QStringList& Lines() const { return m_lines; }

private:
    QStringList m_lines;
};

#pragma once
#include <QString>
#include <QStringList>

// An M3U playlist of file names relative to its folder: one line per file,
// CR LF line ends, no header. Lines are unique, letter case ignored.
// A new playlist is UTF-8; one found in another encoding (not valid UTF-8:
// read as Windows-1252) keeps it.
class Playlist {
public:
    static const QString Ending; // "PlayList.M3u"

    // folder + "artist - album - PlayList.M3u" when both are given, else folder + "PlayList.M3u";
    // files of the run named alike end otherwise. A disc id, when given,
    // goes before the ending: "artist - album - 1A2B3C4D - PlayList.M3u".
    // Artist and album are made safe as track names are (SafeComponent),
    // and cut first when the name is too long.
    static QString FileName(const QString& folder, const QString& artist, const QString& album,
                            const QString& ending = Ending, const QString& discId = QString());

    // Reads an existing playlist; a missing file gives an empty list.
    void Load(const QString& path);
    // Appends a line unless the list holds it already.
    void Add(const QString& line);
    // Takes a line out, here and from the file at the next Save: its file is
    // no longer what the line promised.
    void Drop(const QString& line);
    // Under a lock on the folder: reads the file again, adds this list's
    // lines to what it holds by now (another run may have written it since
    // Load), takes out the dropped ones and writes the result in the file's
    // encoding.
    void Save(const QString& path);
    const QStringList& Lines() const { return m_lines; }

private:
    void read(const QString& path);
    void write(const QString& path) const;

    QStringList m_lines;
    QStringList m_dropped;
    bool m_windows1252 = false;
};

#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// What a cue sheet says of its disc's layout, checked before libcdio reads
// it: libcdio takes tracks out of order, index points backwards and writes
// outside its table when the first track is not 01. It is given a copy
// numbered from 01 instead, with its codes in their one form.
class CueSheetLayout {
public:
    // A sheet that cannot be read has no fault here: libcdio then says so.
    explicit CueSheetLayout(const QString& path);

    // The French text that refuses the sheet, naming its line; empty when
    // the layout is possible.
    const QString& Fault() const { return m_fault; }
    // What was left out of the copy (an ISRC or a catalogue number that is
    // none), in French.
    const QStringList& Warnings() const { return m_warnings; }
    // The disc's number of its first track; 1 when the sheet has none.
    int FirstTrack() const { return m_firstTrack; }
    // The copy libcdio reads: tracks numbered from 01, codes normalised,
    // the CD-Text file's path made absolute.
    const QByteArray& LibcdioText() const { return m_copy; }

private:
    struct Point {
        int track = 0;
        int index = -1;
        int sector = -1;
    };

    void readLine(int number, const QByteArray& line);
    void readTrack(const QStringList& words);
    void readIndex(const QStringList& words);
    void readCode(const QStringList& words, const QString& line);
    void endTrack();
    void fail(const QString& why);
    void keep(const QByteArray& line);

    QString m_path;
    QString m_fault;
    QStringList m_warnings;
    QByteArray m_copy;
    int m_line = 0;
    int m_firstTrack = 1;
    int m_track = 0;
    bool m_hasIndex01 = true;
    // The last index point of the current file.
    Point m_last;
};

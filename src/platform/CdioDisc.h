#pragma once
#include "platform/CdRipTypes.h"
#include "platform/CdTocRecord.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

typedef struct _CdIo CdIo_t;
class CueSheetCopy;

// A CD source opened with libcdio: a device or a disc image. Closed when the
// object goes.
class CdioDisc {
public:
    // Raises CalvenorError with a French text when the source can't be opened.
    explicit CdioDisc(const QString& source);
    ~CdioDisc();

    // Entries 0..N-1 for the tracks and N for the lead-out, start sectors
    // counted as paranoia counts them. Raises CalvenorError when the disc has
    // no readable table of contents.
    std::vector<TTocEntry> Toc() const;
    // The same table with what libcdio knows besides: the disc's own track
    // numbers, sessions, pregaps, flags, ISRCs and catalogue number (the last
    // two as codes says).
    CdTocRecord Record(DiscCodes codes = DiscCodes::Read) const;
    CdIo_t* Handle() const { return m_cdio.get(); }
    const QString& Source() const { return m_source; }

private:
    uint32_t startSector(uint8_t track) const;
    CdTrackRecord trackRecord(uint8_t track, int32_t lastSessionStart, DiscCodes codes) const;
    static QString openFailure(const QString& source);
    QString sheetCopy();
    int discNumber(int libcdioNumber) const;

    QString m_source;
    // Outlives the handle, which reads through it.
    std::unique_ptr<CueSheetCopy> m_sheetCopy;
    int m_firstTrack = 1;
    QStringList m_warnings;
    std::unique_ptr<CdIo_t, void (*)(CdIo_t*)> m_cdio;
};

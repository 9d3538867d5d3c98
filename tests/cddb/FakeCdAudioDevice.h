#pragma once
#include "platform/CalvenorError.h"
#include "platform/ICdAudioDevice.h"
#include <QList>
#include <QMap>
#include <QStringList>

// Tables of contents by source path, as a drive reports them: starts in
// frames from the start of the disc, and the lead-out; the disc may start at
// another track than 1 and carry ISRCs and a catalogue number. Counts the
// discs opened and closed. A drive's Q sub-channel may be given by source.
class FakeCdAudioDevice : public ICdAudioDevice {
public:
    struct Toc {
        QList<int> starts;
        int leadOut = 0;
        int firstTrack = 1;
        QStringList isrcs = {}; // by track, from the first
        QString mcn = {};
        QList<int> pregaps = {}; // by track, in frames; none or -1 when the drive gives none
    };

    std::unique_ptr<Disc> Open(const QString& source) override
    {
        if (!tocs.contains(source))
            throw CalvenorError(QStringLiteral("Le lecteur ne contient pas de disque : ") + source);
        ++opened;
        return std::make_unique<FakeDisc>(tocs.value(source), dataTracks.value(source), subchannels.value(source),
                                          closed);
    }

    QMap<QString, Toc> tocs;
    QMap<QString, QList<int>> dataTracks; // by source: the disc's numbers of its data tracks
    QMap<QString, IQSubchannel*> subchannels;
    int opened = 0;
    int closed = 0;

private:
    class FakeDisc : public Disc {
    public:
        FakeDisc(const FakeCdAudioDevice::Toc& toc, const QList<int>& dataTracks, IQSubchannel* q, int& closed)
            : m_toc(toc), m_dataTracks(dataTracks), m_q(q), m_closed(closed)
        {
        }
        ~FakeDisc() override { ++m_closed; }
        CdTocRecord Toc(DiscCodes codes) override
        {
            CdTocRecord record;
            for (int k = 0; k < m_toc.starts.size(); ++k) {
                CdTrackRecord track;
                track.number = m_toc.firstTrack + k;
                track.start = m_toc.starts.at(k) - LeadInFrames;
                track.audio = !m_dataTracks.contains(track.number);
                track.isrc = codes == DiscCodes::Read ? m_toc.isrcs.value(k) : QString();
                track.pregap = m_toc.pregaps.value(k, -1) < 0 ? -1 : m_toc.pregaps.at(k) - LeadInFrames;
                record.tracks << track;
            }
            record.leadOut = m_toc.leadOut - LeadInFrames;
            record.mcn = codes == DiscCodes::Read ? m_toc.mcn : QString();
            return record;
        }
        IQSubchannel* QSubchannel() override { return m_q; }

    private:
        static constexpr int LeadInFrames = 150;
        FakeCdAudioDevice::Toc m_toc;
        QList<int> m_dataTracks;
        IQSubchannel* m_q;
        int& m_closed;
    };
};

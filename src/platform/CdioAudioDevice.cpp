#include "platform/CdioAudioDevice.h"
#include "platform/CalvenorError.h"
#include "platform/CdioDisc.h"
#include <vector>

namespace {
// Sector 0 lies two seconds into the disc, after the lead-in.
constexpr int LeadInFrames = 150;
} // namespace

// The table of contents is read once at opening: libcdio holds it for the
// life of the handle anyway, and a disc that has none fails here, first.
class CdioAudioDevice::OpenDisc : public ICdAudioDevice::Disc {
public:
    explicit OpenDisc(const QString& source) : m_disc(source), m_toc(m_disc.Toc()) {}

    int TrackCount() override { return static_cast<int>(m_toc.size()) - 1; }

    int TrackPosition(int track) override { return startFrame(checked(track)); }

    int TrackLength(int track) override
    {
        const int length = startFrame(checked(track) + 1) - startFrame(track);
        return track == TrackCount() ? length - 1 : length;
    }

    bool IsAudioTrack(int track) override { return m_toc.at(checked(track) - 1).btFlag == TOC_FLAG_AUDIO; }

    CdTocRecord Toc() override { return m_disc.Record(); }

private:
    int checked(int track) const
    {
        const int count = static_cast<int>(m_toc.size()) - 1;
        if (track < 1 || track > count)
            throw CalvenorError(QStringLiteral("Le disque de « %1 » n'a pas de piste %2 (il en a %3).")
                                    .arg(m_disc.Source())
                                    .arg(track)
                                    .arg(count));
        return track;
    }
    // Entry k - 1 of the table starts track k; the entry after the last track is the lead-out.
    int startFrame(int track) const { return static_cast<int>(m_toc.at(track - 1).dwStartSector) + LeadInFrames; }

    CdioDisc m_disc;
    std::vector<TTocEntry> m_toc;
};

std::unique_ptr<ICdAudioDevice::Disc> CdioAudioDevice::Open(const QString& source)
{
    return std::make_unique<OpenDisc>(source);
}

#include "rip/AccurateRipResponse.h"
#include "platform/CalvenorError.h"
#include "disc/AccurateRipDiscId.h"
#include <QtEndian>

namespace {
constexpr int HeaderBytes = 1 + 3 * 4;
constexpr int TrackBytes = 1 + 2 * 4;

CalvenorError truncated()
{
    return CalvenorError(QStringLiteral("La réponse de la base AccurateRip est tronquée."));
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool AtEnd() const { return m_at >= m_bytes.size(); }
    bool Has(qsizetype n) const { return m_bytes.size() - m_at >= n; }
    uint8_t Byte() { return static_cast<uint8_t>(m_bytes.at(m_at++)); }
    uint32_t Word()
    {
        const uint32_t v = qFromLittleEndian<uint32_t>(m_bytes.constData() + m_at);
        m_at += 4;
        return v;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
};
} // namespace

bool AccurateRipResponse::IsFor(const AccurateRipDiscId& disc) const
{
    return TrackCount == disc.AudioTrackCount() && OffsetsAdded == disc.OffsetsAdded()
        && OffsetsMultiplied == disc.OffsetsMultiplied() && CddbId == disc.CddbId();
}

QList<AccurateRipResponse> AccurateRipResponse::Parse(const QByteArray& file)
{
    QList<AccurateRipResponse> responses;
    Reader in(file);
    while (!in.AtEnd()) {
        if (!in.Has(HeaderBytes))
            throw truncated();
        AccurateRipResponse r;
        r.TrackCount = in.Byte();
        r.OffsetsAdded = in.Word();
        r.OffsetsMultiplied = in.Word();
        r.CddbId = in.Word();
        if (!in.Has(static_cast<qsizetype>(r.TrackCount) * TrackBytes))
            throw truncated();
        for (int i = 0; i < r.TrackCount; ++i) {
            Track t;
            t.Confidence = in.Byte();
            t.Crc = in.Word();
            t.FrameCrc = in.Word();
            r.Tracks << t;
        }
        responses << r;
    }
    return responses;
}

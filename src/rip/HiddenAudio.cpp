#include "rip/HiddenAudio.h"
#include "platform/CdRipTypes.h"
#include "platform/ICdRipLibrary.h"
#include <algorithm>
#include <vector>

namespace {
// Closes the range on every way out of the read.
class OpenRange {
public:
    explicit OpenRange(ICdRipLibrary& library) : m_library(library) {}
    ~OpenRange()
    {
        if (m_open)
            m_library.CR_CloseRipper();
    }
    OpenRange(const OpenRange&) = delete;
    OpenRange& operator=(const OpenRange&) = delete;
    bool Open(int32_t& bufferSize, int32_t first, int32_t last)
    {
        m_open = m_library.CR_OpenRipper(&bufferSize, first, last) != CR_FAILURE;
        return m_open;
    }

private:
    ICdRipLibrary& m_library;
    bool m_open = false;
};
} // namespace

bool HiddenAudio::Holds(ICdRipLibrary& library, int32_t first, int32_t last)
{
    if (last < first)
        return false;
    OpenRange range(library);
    int32_t bufferSize = 0;
    if (!range.Open(bufferSize, first, last) || bufferSize <= 0)
        return false;
    std::vector<uint8_t> buffer(static_cast<size_t>(bufferSize));
    int32_t status = CR_OK;
    do {
        int32_t bytesRead = 0;
        status = library.CR_RipChunk(buffer.data(), &bytesRead);
        if (status == CR_FAILURE)
            return false;
        const auto end = buffer.begin() + std::clamp(bytesRead, 0, bufferSize);
        if (std::any_of(buffer.begin(), end, [](uint8_t b) { return b != 0; }))
            return true;
    } while (status != CR_RANGE_DONE);
    return false;
}

std::optional<TTrack> HiddenAudio::Before(ICdRipLibrary& library, const TTrack& firstTrack)
{
    if (firstTrack.Kind != QLatin1String("Audio") || firstTrack.FirstSector <= 0)
        return std::nullopt;
    TTrack hidden;
    hidden.TrackNum = 0;
    hidden.FirstSector = 0;
    hidden.LastSector = firstTrack.FirstSector - 1;
    hidden.Kind = firstTrack.Kind;
    if (!Holds(library, hidden.FirstSector, hidden.LastSector))
        return std::nullopt;
    return hidden;
}

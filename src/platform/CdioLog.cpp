#include "platform/CdioLog.h"
#include <cdio/logging.h>
#include <mutex>

namespace {
void dropMessage(cdio_log_level_t, const char[]) {}
} // namespace

void CdioLog::Silence()
{
    static std::once_flag installed;
    std::call_once(installed, [] { cdio_log_set_handler(dropMessage); });
}

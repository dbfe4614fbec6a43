#include "loaded.h"

namespace irfiles {

std::string tooLargeMessage()
{
    return "larger than " + std::to_string(irlimits::kMaxFileMegabytes) + " MB, not an IR file";
}

std::string tooManyFramesMessage()
{
    return "more than " + std::to_string(irlimits::kMaxFileFrames) + " frames";
}

std::string tooManyDurationsText(size_t count)
{
    return "a frame of " + std::to_string(count) + " durations, more than the "
        + std::to_string(irlimits::kMaxFileFrameDurations) + " a frame may have";
}

std::string durationText(int64_t us)
{
    if (us < irlimits::kMinDurationUs)
        return "a duration of " + std::to_string(us) + " us (every mark and space lasts at least "
            + std::to_string(irlimits::kMinDurationUs) + " us)";
    return "a duration of " + std::to_string(us) + " us, longer than the "
        + std::to_string(irlimits::kMaxDurationUs) + " us a mark or space may last";
}

std::string carrierText(int64_t hz)
{
    return "a carrier of " + std::to_string(hz) + " Hz (from 0, unknown, to "
        + std::to_string(irlimits::kMaxCarrierHz) + " Hz)";
}

std::string Error::text() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
}

std::string skippedSummary(const std::string &file, size_t count)
{
    return file + ": " + std::to_string(count) + (count == 1 ? " record" : " records")
        + " left out";
}

} // namespace irfiles

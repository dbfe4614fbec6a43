#include "loaded.h"

namespace irfiles {

std::string tooLargeMessage()
{
    return "larger than " + std::to_string(kMaxFileMegabytes) + " MB, not an IR file";
}

std::string tooManyFramesMessage()
{
    return "more than " + std::to_string(kMaxFileFrames) + " frames";
}

std::string tooManyDurationsText()
{
    return "more than " + std::to_string(irlimits::kMaxFileFrameDurations) + " durations";
}

std::string tooLongDurationText()
{
    return "more than " + std::to_string(kMaxDurationUs) + " us";
}

std::string Error::text() const
{
    if (line > 0)
        return file + ":" + std::to_string(line) + ": " + message;
    return file + ": " + message;
}

} // namespace irfiles

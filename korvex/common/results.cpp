#include "results.h"

namespace korvex {

IRResults Received::results()
{
    IRResults out{};
    out.decode_type = report.decodeType;
    out.address = report.address;
    out.value = report.value;
    out.bits = report.bits;
    out.raw_data = raw.data();
    out.raw_count = static_cast<int32_t>(raw.size());
    out.extra = 0;
    return out;
}

std::optional<Received> Reporter::take(const ircodec::Capture &capture, bool broken)
{
    const auto frame
        = broken || capture.overflow ? std::nullopt : ircodec::decode(capture.durations);
    const bool echo = frame && ircodec::isEchoOf(previous_, *frame, capture.silenceBefore);
    previous_ = echo ? std::nullopt : frame;
    if (echo)
        return std::nullopt;
    Received received;
    received.report = ircodec::report(frame);
    const std::vector<int32_t> ticks = ircodec::toTicks(capture.silenceBefore, capture.durations);
    received.raw.assign(ticks.begin(), ticks.end());
    return received;
}

} // namespace korvex

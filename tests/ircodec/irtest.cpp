#include "irtest.h"

#include <cmath>

namespace irtest {

ircodec::Durations jitter(
    const ircodec::Durations &durations, double fraction, std::mt19937 &random)
{
    std::uniform_real_distribution<double> factor(1.0 - fraction, 1.0 + fraction);
    ircodec::Durations out;
    out.reserve(durations.size());
    for (int32_t d : durations)
        out.push_back(std::max<int32_t>(1, static_cast<int32_t>(std::lround(d * factor(random)))));
    return out;
}

int64_t total(const ircodec::Durations &durations)
{
    int64_t sum = 0;
    for (int32_t d : durations)
        sum += d;
    return sum;
}

QString describe(const ircodec::Frame &frame)
{
    return QString("%1 value=0x%2 address=0x%3 bits=%4%5")
        .arg(ircodec::name(frame.protocol))
        .arg(frame.value, 8, 16, QChar('0'))
        .arg(frame.address, 4, 16, QChar('0'))
        .arg(frame.bits)
        .arg(frame.repeat ? " repeat" : "");
}

QString describe(const ircodec::Durations &durations)
{
    QStringList parts;
    for (size_t i = 0; i < durations.size(); ++i)
        parts << QString("%1%2").arg(i % 2 == 0 ? '+' : '-').arg(durations[i]);
    return parts.join(' ');
}

} // namespace irtest

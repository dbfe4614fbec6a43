#include "samples.h"

#include <cstdlib>

namespace samples {

namespace {

using ircodec::Frame;
using ircodec::makeFrame;
using ircodec::Protocol;

} // namespace

std::vector<irfiles::Signal> everyProtocol()
{
    using P = Protocol;
    const std::vector<Frame> frames = {
        ircodec::necFrame(0x04, 0x08, true),
        ircodec::necFrame(0x12, 0x34, false),
        ircodec::necRepeatFrame(),
        makeFrame(P::Rc5, 0x175, 12),
        makeFrame(P::Rc5, 0x975, 12), // toggle set
        makeFrame(P::Rc6, 0x0040C, 20),
        makeFrame(P::Rc6, 0x1AA55, 20), // toggle set
        makeFrame(P::Sony, 0xA90, 12),
        makeFrame(P::Sony, 0x2A5A, 15),
        makeFrame(P::Sony, 0x5A5A5, 20),
        makeFrame(P::Panasonic, 0x0100BCBD, 48, 0x4004),
        ircodec::jvcFrame(0x59, 0x35, true),
        makeFrame(P::Samsung, 0xE0E040BF, 32),
        makeFrame(P::Whynter, 0x87654321, 32),
        makeFrame(P::AiwaRcT501, 0x15, 42),
        makeFrame(P::Lg, 0xF17776B, 28),
        makeFrame(P::Sanyo, 0xABC, 12),
        makeFrame(P::Mitsubishi, 0x2345, 16),
        makeFrame(P::Dish, 0x1A2B, 16),
        makeFrame(P::Sharp, 0x11, 15, 3),
        makeFrame(P::Denon, 0x0444, 14),
        makeFrame(P::LegoPf, 0x011F, 16),
        *ircodec::ittFrame(5, 0x2A),
        *ircodec::nrc17Frame(0x5C, 6, 1),
        *ircodec::rcaFrame(0xA, 0x68),
    };
    std::vector<irfiles::Signal> list;
    for (const Frame &f : frames) {
        const auto bursts = ircodec::encode(f);
        if (!bursts)
            continue; // the comparison of protocols covered shows it
        irfiles::Signal s;
        s.name = std::string(ircodec::name(f.protocol)) + "_" + std::to_string(list.size());
        s.carrierHz = ircodec::nominalCarrierHz(f.protocol);
        s.durations = bursts->front().durations;
        s.decoded = irfiles::decodeDurations(s.durations);
        list.push_back(s);
    }
    return list;
}

irfiles::Signal longFrame(const std::string &name, int bits, int32_t carrierHz)
{
    irfiles::Signal s;
    s.name = name;
    s.carrierHz = carrierHz;
    s.durations = {8983, 4500};
    for (int i = 0; i < bits; ++i) {
        s.durations.push_back(560);
        s.durations.push_back((i * 7) % 3 == 0 ? 1690 : 560);
    }
    s.durations.push_back(560);
    s.decoded = irfiles::decodeDurations(s.durations);
    return s;
}

QString durationsDiffer(const ircodec::Durations &a, const ircodec::Durations &b, int32_t tolerance)
{
    if (a.size() != b.size())
        return QString("%1 durations instead of %2").arg(b.size()).arg(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        if (std::abs(a[i] - b[i]) > tolerance)
            return QString("duration %1 is %2 instead of %3").arg(i).arg(b[i]).arg(a[i]);
    return QString();
}

QString inDir(const QTemporaryDir &dir, const QString &name)
{
    return dir.path() + QLatin1Char('/') + name;
}

QString preview(const std::string &data)
{
    constexpr int kPreviewChars = 600;
    return QString::fromStdString(data).left(kPreviewChars);
}

} // namespace samples

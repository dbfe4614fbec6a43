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

namespace {

const std::string kHeader = "Filetype: IR signals file\nVersion: 1\n";

// A parsed record.
std::string parsed(const char *name, const char *protocol, const char *address, const char *command)
{
    return std::string("#\nname: ") + name + "\ntype: parsed\nprotocol: " + protocol
        + "\naddress: " + address + "\ncommand: " + command + "\n";
}

// The good records around each odd one: lines 3 to 8 and the last six.
const std::string kBefore = parsed("Power", "NEC", "04 00 00 00", "08 00 00 00");
const std::string kAfter = parsed("Mute", "Samsung32", "07 00 00 00", "0F 00 00 00");

} // namespace

std::vector<IrSample> irDatabaseSamples()
{
    // The odd record's "name:" line is line 10.
    const auto around
        = [](const std::string &record) { return kHeader + kBefore + record + kAfter; };
    return {
        {"RC5X command above 63", around(parsed("Menu", "RC5X", "00 00 00 00", "45 00 00 00")), 3,
            {}},
        {"RC5 command above 63", around(parsed("Menu", "RC5", "00 00 00 00", "45 00 00 00")), 3,
            {}},
        {"RC5 command wider than 7 bits",
            around(parsed("Menu", "RC5", "00 00 00 00", "85 00 00 00")), 2,
            {{10, "record \"Menu\": RC5 command 85 00 00 00 is wider than RC5's 7 bits"}}},
        {"RC6 address wider than 8 bits",
            around(parsed("Vol+", "RC6", "00 01 00 00", "10 00 00 00")), 2,
            {{10, "record \"Vol+\": RC6 address 00 01 00 00 is wider than RC6's 8 bits"}}},
        {"NECext command wider than 16 bits",
            around(parsed("Input", "NECext", "86 FF 00 00", "2A D5 01 00")), 2,
            {{10, "NECext command 2A D5 01 00 is wider than NECext's 16 bits"}}},
        {"SIRC15 address wider than 8 bits",
            around(parsed("Eject", "SIRC15", "1A 01 00 00", "16 00 00 00")), 2,
            {{10, "SIRC15 address 1A 01 00 00 is wider than SIRC15's 8 bits"}}},
        {"NEC42 address other than Aiwa's",
            around(parsed("Play", "NEC42", "12 00 00 00", "15 00 00 00")), 3, {}},
        {"NEC42 address wider than 13 bits",
            around(parsed("Play", "NEC42", "12 20 00 00", "15 00 00 00")), 2,
            {{10, "record \"Play\": NEC42 address 12 20 00 00 is wider than NEC42's 13 bits"}}},
        {"comment inside a record",
            around("#\nname: Mode\ntype: raw\n# learned twice\nfrequency: 38000\n"
                   "duty_cycle: 0.330000\n# \ndata: 9024 4512 564 564 564\n"),
            3, {}},
        {"zero-length durations",
            around("#\nname: Blank\ntype: raw\nfrequency: 38000\nduty_cycle: 0.330000\n"
                   "data: 0 0 0\n"),
            2, {{10, "record \"Blank\": a duration of 0 us"}}},
        {"carrier out of range",
            around("#\nname: Fast\ntype: raw\nfrequency: 4145146\nduty_cycle: 0.330000\n"
                   "data: 100 100 100\n"),
            2, {{10, "record \"Fast\": frequency: a carrier of 4145146 Hz"}}},
    };
}

std::vector<IrBadSample> irMalformedSamples()
{
    return {
        {"truncated record", kHeader + kBefore + "#\nname: Cut\ntype: raw\nfrequency: 38000\n", 10,
            "record \"Cut\" has no \"data:\" line"},
        {"cut in the middle of a line",
            kHeader + kBefore + "#\nname: Cut\ntype: parsed\nprotocol: NEC\naddress: 04 00\ncomm",
            14, "expected \"key: value\""},
        {"not a number",
            kHeader + kBefore
                + "#\nname: Odd\ntype: raw\nfrequency: 38000\n"
                  "data: 100 1O0 100\n",
            13, "\"1O0\" is not a duration in us"},
        {"no header", kBefore + kAfter, 2, "not an .ir signal file"},
        {"binary", kHeader + std::string("name: \x00\x01", 8), 3, "binary data"},
    };
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

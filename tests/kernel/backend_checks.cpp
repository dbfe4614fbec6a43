// The Korvex operations on rc-loopback's LIRC device.
#include "checks.h"
#include "collector.h"
#include "harness.h"
#include "lircfd.h"
#include "sendreceive.h"

#include "ircodec.h"
#include "korvex.h"
#include "operations.h"

#include <functional>
#include <thread>

namespace checks {

const char *const kDevicePath = "/dev/lirc0";

namespace {

using namespace std::chrono_literals;
using harness::expect;

constexpr int kOutput = 1;          // emitter 0
constexpr int kUnheardOutput = 2;   // emitter 1, which rc-loopback's receiver does not hear
constexpr unsigned char kInput = 1; // the one receiver
constexpr int kEmitters = 2;        // rc-loopback's two "emitters"
// rc-loopback queues a whole write for the kernel's decoders in a queue of
// 512 events, the last its own end-of-frame silence: a longer write loses
// its end ("IR event FIFO is full").
constexpr int kLoopbackMaxValues = 511;

int virtualIndex = -1;

std::string str(long long value)
{
    return std::to_string(value);
}

// Catalogue frames through IR_SendProtocol: protocol, value, address,
// bits, repeat, carrier.
struct CatalogueCase
{
    ircodec::Protocol protocol;
    uint32_t value;
    uint16_t address;
    int bits;
    bool repeat;
};

const CatalogueCase kCatalogue[] = {
    {ircodec::Protocol::Rc5, 0x175, 0, 12, false},
    {ircodec::Protocol::Rc5, 0x000, 0, 12, false},
    {ircodec::Protocol::Rc5, 0xFFF, 0, 12, false},
    {ircodec::Protocol::Rc6, 0x0040C, 0, 20, false},
    {ircodec::Protocol::Rc6, 0x1FFFF, 0, 20, false},
    {ircodec::Protocol::Rc6, 0xC12345, 0, 24, false},
    {ircodec::Protocol::Rc6, 0xC123456, 0, 28, false},
    {ircodec::Protocol::Nec, 0x20DF10EF, 0, 32, false},
    {ircodec::Protocol::Nec, 0, 0, 0, true},
    {ircodec::Protocol::Sony, 0xA90, 0, 12, false},
    {ircodec::Protocol::Sony, 0x5555, 0, 15, false},
    {ircodec::Protocol::Sony, 0xFFFFF, 0, 20, false},
    {ircodec::Protocol::Panasonic, 0x0100BCBD, 0x4004, 48, false},
    {ircodec::Protocol::Jvc, 0x9AAC, 0, 16, false},
    {ircodec::Protocol::Jvc, 0x9AAC, 0, 16, true},
    {ircodec::Protocol::Samsung, 0xE0E040BF, 0, 32, false},
    {ircodec::Protocol::Samsung, 0, 0, 0, true},
    {ircodec::Protocol::Whynter, 0x87654321, 0, 32, false},
    {ircodec::Protocol::AiwaRcT501, 0x11, 0, 42, false},
    {ircodec::Protocol::AiwaRcT501, 0xFF, 0, 42, false},
    {ircodec::Protocol::Lg, 0xF17776B, 0, 28, false},
    {ircodec::Protocol::Sanyo, 0x123, 0, 12, false},
    {ircodec::Protocol::Sanyo, 0xFFFFFFFF, 0, 32, false},
    {ircodec::Protocol::Mitsubishi, 0x2345, 0, 16, false},
    {ircodec::Protocol::Mitsubishi, 0xAAAAAAAA, 0, 32, false},
    {ircodec::Protocol::Dish, 0x1234, 0, 16, false},
    {ircodec::Protocol::Dish, 0xFFFF, 0, 16, false},
    {ircodec::Protocol::Sharp, 0x11, 3, 15, false},
    {ircodec::Protocol::Sharp, 0xFF, 31, 15, false},
    {ircodec::Protocol::Sharp, 0x00, 0, 15, false},
    {ircodec::Protocol::Denon, 0x1230, 0, 14, false},
    {ircodec::Protocol::Denon, 0x3FFF, 0, 14, false},
    {ircodec::Protocol::LegoPf, 0x011F, 0, 16, false},
    {ircodec::Protocol::LegoPf, 0x123F, 0, 16, false},
};

std::vector<sendreceive::Case> quickSendCases()
{
    using ircodec::Frame;
    std::vector<sendreceive::Case> cases;
    auto add = [&](const char *row, std::optional<Frame> frame, std::function<int()> send) {
        cases.push_back({row, frame, std::move(send), std::nullopt});
    };
    const uint8_t necFields[][2] = {{0x00, 0x00}, {0x01, 0xFE}, {0x55, 0xAA}, {0xFF, 0xFF}};
    for (const auto &f : necFields)
        for (const uint8_t inverted : {1, 0})
            add("NEC quick", ircodec::necFrame(f[0], f[1], inverted != 0),
                [=] { return IR_NEC_Send(kDevice, kOutput, f[0], f[1], inverted); });
    add("NEC quick", ircodec::necRepeatFrame(), [] { return IR_NEC_SendRepeat(kDevice, kOutput); });
    const int ittFields[][2] = {{0, 0}, {15, 63}, {5, 42}, {10, 21}};
    for (const auto &f : ittFields)
        add("ITT", ircodec::ittFrame(f[0], f[1]),
            [=] { return IR_ITT_Send(kDevice, kOutput, uint8_t(f[0]), uint8_t(f[1])); });
    const uint8_t jvcFields[][2] = {{0x59, 0x35}, {0x00, 0x00}, {0xFF, 0xFF}};
    for (const auto &f : jvcFields)
        for (const int first : {1, 0})
            add("JVC quick", ircodec::jvcFrame(f[0], f[1], first != 0),
                [=] { return IR_JVC_Send(kDevice, kOutput, first, f[0], f[1]); });
    const int nrcFields[][3] = {{0x5C, 6, 1}, {254, 255, 255}, {0, 0, 0}, {0xFF, 15, 15}};
    for (const auto &f : nrcFields)
        add("NRC17", ircodec::nrc17Frame(f[0], f[1], f[2]), [=] {
            return IR_NRC17_Send(kDevice, kOutput, uint8_t(f[0]), uint8_t(f[1]), uint8_t(f[2]));
        });
    const int rcaFields[][2] = {{0xA, 0x68}, {0, 0}, {15, 255}};
    for (const auto &f : rcaFields)
        add("RCA", ircodec::rcaFrame(f[0], f[1]),
            [=] { return IR_RCA_Send(kDevice, kOutput, uint8_t(f[0]), uint8_t(f[1])); });
    return cases;
}

std::vector<sendreceive::Case> catalogueCases()
{
    std::vector<sendreceive::Case> cases;
    for (const CatalogueCase &c : kCatalogue) {
        const int32_t id = ircodec::catalogueId(c.protocol);
        const auto frame = ircodec::fromSendRecord(id, c.value, c.address, c.bits, c.repeat);
        const int kHz = sendreceive::carrierKHz(c.protocol);
        auto send = [=] {
            IRSendData data{};
            data.protocol = id;
            data.repeat = c.repeat ? 1 : 0;
            data.address = c.address;
            data.value = c.value;
            data.bits = c.bits;
            return IR_SendProtocol(kDevice, kOutput, kHz, data);
        };
        cases.push_back({ircodec::name(c.protocol), frame, send, std::nullopt});
    }
    return cases;
}

// Raw frames: an NEC frame's timings, the longest frame rc-loopback carries
// (longer than the 256 raw values a received frame was once cut at), and an
// even count whose last value is the silence after the frame.
std::vector<sendreceive::Case> rawCases()
{
    std::vector<sendreceive::Case> cases;
    auto raw = [&](std::vector<int> timings) {
        ircodec::Bursts bursts(1);
        const size_t marks = timings.size() % 2 == 1 ? timings.size() : timings.size() - 1;
        bursts[0].durations.assign(timings.begin(), timings.begin() + marks);
        cases.push_back({"raw", std::nullopt,
            [timings]() mutable {
                return IR_SendRaw(
                    kDevice, kOutput, 38, timings.data(), static_cast<int>(timings.size()));
            },
            bursts});
    };
    const auto nec = (*ircodec::encode(ircodec::necFrame(0x04, 0x08, true)))[0].durations;
    raw(std::vector<int>(nec.begin(), nec.end()));
    std::vector<int> longest(kLoopbackMaxValues);
    for (size_t i = 0; i < longest.size(); ++i)
        longest[i] = i % 2 == 0 ? 400 : 700;
    raw(longest);
    raw({3000, 1500, 600, 1200, 600, 30000});
    return cases;
}

} // namespace

void scanAndOpen()
{
    const int count = Device_Scan(0);
    expect(
        count == 2, "Device_Scan lists rc-loopback and the virtual adapter", "count " + str(count));
    virtualIndex = count - 1;
    expect(Device_Open(kDevice) == 1, "Device_Open(0): rc-loopback's /dev/lirc0");
    expect(Device_Open(virtualIndex) == 1, "Device_Open(last): the virtual adapter");
    expect(Device_Open(count) == 0, "Device_Open past the last fails");
    // The virtual adapter is the last: a frame sent there comes back there.
    collector::clear();
    expect(IR_ReceiveStart(virtualIndex, kInput, collector::callback) == 0,
        "virtual adapter receives");
    IR_NEC_Send(virtualIndex, kOutput, 0x12, 0x34, 1);
    const auto got = collector::waitFor(1, 2000ms);
    IR_ReceiveStop(virtualIndex);
    expect(got.size() == 1 && got[0].device == virtualIndex
            && got[0].value == ircodec::necFrame(0x12, 0x34, true).value,
        "the last index is the virtual adapter");
    collector::clear();
}

void firstFrameSilence()
{
    // Nothing was received since rc-loopback was loaded: the kernel sends no
    // space before the first pulse.
    constexpr auto kQuiet = 200ms;
    const auto start = std::chrono::steady_clock::now();
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "IR_ReceiveStart(0)");
    std::this_thread::sleep_for(kQuiet);
    IR_NEC_SendRepeat(kDevice, kOutput);
    const auto got = collector::waitFor(1, 2000ms);
    IR_ReceiveStop(kDevice);
    const auto ticks = [](auto d) {
        return std::chrono::duration_cast<std::chrono::microseconds>(d).count() / ircodec::kTickUs;
    };
    const bool ok = got.size() == 1 && got[0].raw.size() > 1;
    expect(ok, "first frame after loading received");
    if (ok)
        expect(got[0].raw[0] >= ticks(kQuiet) && got[0].raw[0] <= ticks(got[0].at - start),
            "first frame's silence is the time since the start",
            "raw[0] " + str(got[0].raw[0]) + " ticks, start to frame "
                + str(ticks(got[0].at - start)));
    collector::clear();
}

void roundTrips()
{
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "reception for round trips");
    for (auto cases : {quickSendCases(), catalogueCases(), rawCases()})
        for (const sendreceive::Case &c : cases)
            harness::roundTrip(c.row, sendreceive::run(c));
    IR_ReceiveStop(kDevice);
    collector::clear();
}

void necHold()
{
    // A held NEC key: the frame, then a ditto every 108 ms.
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "reception for NEC hold");
    collector::clear();
    bool sent = IR_NEC_Send(kDevice, kOutput, 0x04, 0x08, 1) == 0;
    for (int i = 0; i < 2; ++i) {
        std::this_thread::sleep_for(108ms);
        sent = IR_NEC_SendRepeat(kDevice, kOutput) == 0 && sent;
    }
    const auto got = collector::waitFor(3, 2000ms);
    IR_ReceiveStop(kDevice);
    const uint32_t necId = ircodec::catalogueId(ircodec::Protocol::Nec);
    bool ok = sent && got.size() == 3 && got[0].value == ircodec::necFrame(4, 8, true).value;
    for (size_t i = 1; ok && i < got.size(); ++i)
        ok = uint32_t(got[i].type) == necId && got[i].value == ircodec::kRepeatValue
            && got[i].bits == 0;
    expect(ok, "NEC hold: frame, REPEAT, REPEAT", "frames " + str(got.size()));
    collector::clear();
}

void driverAnswers()
{
    LircFd fd(kDevicePath);
    expect(fd.isOpen(), "a second reader of /dev/lirc0");
    uint32_t features = 0;
    fd.get(LIRC_GET_FEATURES, features);
    expect((features
               & (LIRC_CAN_REC_MODE2 | LIRC_CAN_SEND_PULSE | LIRC_CAN_SET_SEND_CARRIER
                   | LIRC_CAN_SET_TRANSMITTER_MASK | LIRC_CAN_SET_REC_TIMEOUT))
            != 0,
        "rc-loopback's features");

    // Carrier: rc-loopback reports the carrier it was given when asked to.
    fd.set(LIRC_SET_MEASURE_CARRIER_MODE, 1);
    struct CarrierCase
    {
        const char *name;
        std::function<int()> send;
        uint32_t hz;
    };
    const CarrierCase carriers[] = {
        {"NEC quick-send", [] { return IR_NEC_Send(kDevice, kOutput, 1, 2, 1); }, 38000},
        {"RCA quick-send", [] { return IR_RCA_Send(kDevice, kOutput, 1, 2); }, 56000},
        {"ITT keeps the last carrier", [] { return IR_ITT_Send(kDevice, kOutput, 1, 2); }, 56000},
        {"IR_SendProtocol 40 kHz",
            [] {
                IRSendData d{};
                d.protocol = ircodec::catalogueId(ircodec::Protocol::Sony);
                d.value = 0xA90;
                d.bits = 12;
                return IR_SendProtocol(kDevice, kOutput, 40, d);
            },
            40000},
        {"IR_SendRaw 33 kHz",
            [] {
                int t[] = {1000, 500, 1000};
                return IR_SendRaw(kDevice, kOutput, 33, t, 3);
            },
            33000},
    };
    for (const CarrierCase &c : carriers) {
        fd.drain();
        const bool sent = c.send() == 0;
        uint32_t reported = 0;
        for (uint32_t sample : fd.readSamples(300))
            if (LIRC_MODE2(sample) == LIRC_MODE2_FREQUENCY && reported == 0)
                reported = LIRC_VALUE(sample);
        expect(sent && reported == c.hz, std::string("carrier: ") + c.name,
            "reported " + str(reported));
    }
    fd.set(LIRC_SET_MEASURE_CARRIER_MODE, 0);

    // ITT's 10 us flashes: rc-loopback carries them to the microsecond.
    fd.drain();
    IR_ITT_Send(kDevice, kOutput, 5, 0x2A);
    ircodec::Durations itt;
    for (uint32_t sample : fd.readSamples(300))
        if (LIRC_MODE2(sample) == LIRC_MODE2_PULSE || LIRC_MODE2(sample) == LIRC_MODE2_SPACE)
            if (!itt.empty() || LIRC_MODE2(sample) == LIRC_MODE2_PULSE)
                itt.push_back(static_cast<int32_t>(LIRC_VALUE(sample)));
    const auto sentItt = (*ircodec::encode(*ircodec::ittFrame(5, 0x2A)))[0].durations;
    expect(itt == sentItt, "ITT's 10 us flashes come back exactly");
    const auto decodedItt = ircodec::decode(itt);
    expect(decodedItt && *decodedItt == *ircodec::ittFrame(5, 0x2A), "ITT decodes from them");

    // Emitters: the driver refuses a mask beyond its two with their count.
    expect(fd.set(LIRC_SET_TRANSMITTER_MASK, 1u << kEmitters) == kEmitters,
        "rc-loopback answers a mask beyond its emitters with their count");
    expect(fd.set(LIRC_SET_TRANSMITTER_MASK, 0) == 0, "rc-loopback accepts mask 0");
    fd.set(LIRC_SET_TRANSMITTER_MASK, 1);
    struct MaskCase
    {
        int mask;
        bool accepted;
        bool loopedBack; // rc-loopback's receiver hears emitter 0 only
    };
    const MaskCase masks[] = {{1, true, true}, {2, true, false}, {3, true, true},
        {1 << kEmitters, false, false}, {0x8000, false, false}};
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "reception for masks");
    for (const MaskCase &m : masks) {
        collector::clear();
        const bool accepted = IR_NEC_Send(kDevice, m.mask, 0x10, 0x20, 1) == 0;
        const auto got = collector::waitFor(1, m.loopedBack ? 2000ms : 400ms);
        expect(accepted == m.accepted && got.size() == (m.loopedBack ? 1u : 0u),
            "emitter mask " + str(m.mask),
            std::string(accepted ? "accepted" : "refused") + ", frames " + str(got.size()));
    }
    IR_ReceiveStop(kDevice);
    collector::clear();

    // The kernel's limits on one write.
    struct WriteCase
    {
        const char *name;
        std::vector<uint32_t> values;
        size_t bytes; // 0: all values
        bool accepted;
    };
    const WriteCase writes[] = {
        {"odd count", {500, 500, 500}, 0, true},
        {"even count", {500, 500}, 0, false},
        {"a zero", {500, 0, 500}, 0, false},
        {"500 ms in all", {1000, 498000, 1000}, 0, true},
        {"over 500 ms", {1000, 498001, 1000}, 0, false},
        {"part of a value", {500, 500, 500}, 10, false},
        {"1023 values", std::vector<uint32_t>(1023, 100), 0, true},
        {"1025 values", std::vector<uint32_t>(1025, 100), 0, false},
    };
    // On emitter 1, unheard: the writes that pass are not played back.
    fd.set(LIRC_SET_SEND_MODE, LIRC_MODE_PULSE);
    fd.set(LIRC_SET_TRANSMITTER_MASK, kUnheardOutput);
    for (const WriteCase &w : writes) {
        const size_t bytes = w.bytes ? w.bytes : w.values.size() * sizeof(uint32_t);
        const long answer = fd.write(w.values.data(), bytes);
        expect((answer == long(bytes)) == w.accepted && (w.accepted || answer == -EINVAL),
            std::string("kernel write limit: ") + w.name, "answer " + str(answer));
    }
    fd.set(LIRC_SET_TRANSMITTER_MASK, kOutput);
    fd.drain();
    // The same limits through IR_SendRaw (the longest list is 1024 values,
    // the last the silence after the frame), on the unheard emitter too.
    struct RawCase
    {
        const char *name;
        std::vector<int> timings;
        bool accepted;
    };
    const RawCase raws[] = {
        {"500 ms in all", {1000, 498000, 1000}, true},
        {"over 500 ms", {1000, 498001, 1000}, false},
        {"a zero", {500, 0, 500}, false},
        {"the longest list", std::vector<int>(irlimits::kMaxSendValues, 300), true},
        {"one value more", std::vector<int>(irlimits::kMaxSendValues + 1, 300), false},
    };
    for (RawCase r : raws)
        expect(
            (IR_SendRaw(kDevice, kUnheardOutput, 38, r.timings.data(), int(r.timings.size())) == 0)
                == r.accepted,
            std::string("IR_SendRaw: ") + r.name);
    // The accepted frames (500 ms, then 307 ms) leave the transmitter.
    std::this_thread::sleep_for(1000ms);
    fd.drain();
}

void receptionControl()
{
    const auto necValue = ircodec::necFrame(0x21, 0x43, true).value;
    auto send = [&](int count) {
        for (int i = 0; i < count; ++i)
            IR_NEC_Send(kDevice, kOutput, 0x21, 0x43, 1);
    };
    // Start and stop: nothing after the stop, although frames still come.
    collector::clear();
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "start");
    send(1);
    expect(collector::waitFor(1, 2000ms).size() == 1, "a frame after the start");
    expect(IR_ReceiveStop(kDevice) == 0, "stop");
    collector::clear();
    send(2);
    std::this_thread::sleep_for(400ms);
    expect(collector::waitFor(1, 0ms).empty(), "no frame after the stop");
    // Restart: only the frames sent after it, not those the device kept.
    expect(IR_ReceiveStart(kDevice, 1 << 3, collector::callback) == 0, "restart");
    send(1);
    auto got = collector::waitFor(2, 1500ms);
    expect(got.size() == 1 && got[0].value == necValue && got[0].channel == 3,
        "after the restart: the new frame alone, on the new channel", "frames " + str(got.size()));
    IR_ReceiveStop(kDevice);

    // Stop from inside the callback: that frame is the last.
    collector::clear();
    expect(IR_ReceiveStart(kDevice, kInput, collector::stopInside) == 0, "start, stop inside");
    send(3);
    std::this_thread::sleep_for(600ms);
    expect(collector::waitFor(2, 0ms).size() == 1, "stop inside the callback: one frame");
    collector::clear();
    expect(IR_ReceiveStart(kDevice, kInput, collector::callback) == 0, "start after it");
    send(1);
    expect(collector::waitFor(1, 2000ms).size() == 1, "frames again after it");
    IR_ReceiveStop(kDevice);

    // Stop while frames arrive: it returns, and no callback runs after it.
    collector::clear();
    IR_ReceiveStart(kDevice, kInput, collector::callback);
    send(6);
    collector::waitFor(2, 2000ms);
    IR_ReceiveStop(kDevice);
    const size_t atStop = collector::waitFor(100, 0ms).size();
    std::this_thread::sleep_for(500ms);
    expect(collector::waitFor(100, 0ms).size() == atStop, "stop while frames arrive",
        "frames at the stop " + str(atStop));
    std::this_thread::sleep_for(500ms);
    collector::clear();
}

} // namespace checks

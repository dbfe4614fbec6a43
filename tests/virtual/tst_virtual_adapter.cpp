// The virtual adapter end to end through the twelve operations of korvex.h:
// frames sent on an output come back through the loopback air, decoded, on
// the adapter's own thread; every failure status; reception's start and
// stop, including from inside the callback.
#include "check.h"
#include "ircodec.h"
#include "korvex.h"

#include <algorithm>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct Received
{
    int device = -1;
    int channel = -1;
    int32_t type = 0;
    uint32_t address = 0;
    uint32_t value = 0;
    int32_t bits = 0;
    std::vector<int> raw;
    std::thread::id thread;
};

// Frames the callbacks record, with a way to wait for them.
class Inbox
{
public:
    void add(Received r)
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            frames_.push_back(std::move(r));
        }
        cv_.notify_all();
    }
    // Waits until `count` frames are in, or the timeout; returns them all.
    std::vector<Received> waitFor(size_t count, std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, timeout, [&] { return frames_.size() >= count; });
        return frames_;
    }
    std::vector<Received> take()
    {
        std::lock_guard<std::mutex> lock(m_);
        std::vector<Received> out;
        out.swap(frames_);
        return out;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<Received> frames_;
};

Inbox inbox;
Inbox otherInbox;

Received record(int device, int channel, const IRResults *r)
{
    Received out;
    out.device = device;
    out.channel = channel;
    out.type = r->decode_type;
    out.address = r->address;
    out.value = r->value;
    out.bits = r->bits;
    if (r->raw_count > 0)
        out.raw.assign(r->raw_data, r->raw_data + r->raw_count);
    out.thread = std::this_thread::get_id();
    return out;
}

int KORVEX_CALL collect(int device, int channel, IRResults *results)
{
    inbox.add(record(device, channel, results));
    return 0;
}

int KORVEX_CALL collectOther(int device, int channel, IRResults *results)
{
    otherInbox.add(record(device, channel, results));
    return 0;
}

int KORVEX_CALL collectAndStop(int device, int channel, IRResults *results)
{
    inbox.add(record(device, channel, results));
    IR_ReceiveStop(device);
    return 0;
}

int KORVEX_CALL collectAndRestart(int device, int channel, IRResults *results)
{
    inbox.add(record(device, channel, results));
    IR_ReceiveStart(device, 1 << 2, collectOther);
    return 0;
}

constexpr int kDevice = 0;
constexpr int kCh3 = 1 << 3;
constexpr unsigned char kD5 = 1 << 5;
constexpr int kChannel5 = 5;
constexpr int kCarrier = 38;
// Plenty for a frame of any protocol to cross the air and be reported.
constexpr auto kFrameWait = 2000ms;
// Long enough for a frame that should not come to have come.
constexpr auto kQuietWait = 300ms;

IRSendData sendData(
    int32_t protocol, uint32_t value, int bits, uint16_t address = 0, bool repeat = false)
{
    IRSendData d{};
    d.protocol = protocol;
    d.value = value;
    d.bits = bits;
    d.address = address;
    d.repeat = repeat ? 1 : 0;
    return d;
}

// The raw ticks expected for a frame's first burst, without the silence.
std::vector<int> ticksOf(const ircodec::Frame &frame, size_t burst = 0)
{
    const auto bursts = ircodec::encode(frame);
    const auto ticks = ircodec::toTicks(0, (*bursts)[burst].durations);
    return std::vector<int>(ticks.begin() + 1, ticks.end());
}

std::vector<int> withoutSilence(const std::vector<int> &raw)
{
    return raw.empty() ? raw : std::vector<int>(raw.begin() + 1, raw.end());
}

} // namespace

void cleanup()
{
    IR_ReceiveStop(kDevice);
    inbox.take();
    otherInbox.take();
}

void unopenedAdapterRefusesEverything()
{
    // Runs first: the adapter has not been opened yet.
    int raw[] = {500, 500, 500};
    CHECK(IR_NEC_Send(kDevice, kCh3, 1, 2, 1) != 0);
    CHECK(IR_NEC_SendRepeat(kDevice, kCh3) != 0);
    CHECK(IR_ITT_Send(kDevice, kCh3, 1, 2) != 0);
    CHECK(IR_JVC_Send(kDevice, kCh3, 1, 1, 2) != 0);
    CHECK(IR_NRC17_Send(kDevice, kCh3, 1, 2, 3) != 0);
    CHECK(IR_RCA_Send(kDevice, kCh3, 1, 2) != 0);
    CHECK(IR_SendProtocol(kDevice, kCh3, kCarrier, sendData(3, 0, 32)) != 0);
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 3) != 0);
    CHECK(IR_ReceiveStart(kDevice, kD5, collect) != 0);
}

void enumeration()
{
    CHECK_EQ(Device_Scan(0), 1);
    CHECK(Device_Open(0) != 0);
    CHECK(Device_Open(0) != 0); // opening an open adapter succeeds again
    CHECK_EQ(Device_Open(1), static_cast<unsigned char>(0));
    CHECK_EQ(Device_Open(9), static_cast<unsigned char>(0));
    CHECK_EQ(Device_Open(-1), static_cast<unsigned char>(0));
}

void badArgumentsFail()
{
    CHECK(Device_Open(0) != 0);
    int raw[300];
    std::fill(std::begin(raw), std::end(raw), 500);
    // Channel masks: none, above 15, negative; an adapter that is not there.
    for (int mask : {0, 1 << 16, -1, int(0x80000000u)}) {
        CHECK(IR_NEC_Send(kDevice, mask, 1, 2, 1) != 0);
        CHECK(IR_NEC_SendRepeat(kDevice, mask) != 0);
        CHECK(IR_ITT_Send(kDevice, mask, 1, 2) != 0);
        CHECK(IR_JVC_Send(kDevice, mask, 1, 1, 2) != 0);
        CHECK(IR_NRC17_Send(kDevice, mask, 1, 2, 3) != 0);
        CHECK(IR_RCA_Send(kDevice, mask, 1, 2) != 0);
        CHECK(IR_SendProtocol(kDevice, mask, kCarrier, sendData(3, 0, 32)) != 0);
        CHECK(IR_SendRaw(kDevice, mask, kCarrier, raw, 3) != 0);
    }
    CHECK(IR_NEC_Send(1, kCh3, 1, 2, 1) != 0);
    CHECK(IR_ReceiveStart(1, kD5, collect) != 0);
    CHECK(IR_ReceiveStop(1) != 0);
    // Carrier outside 10..100 kHz.
    for (int kHz : {9, 101, 0, -38}) {
        CHECK(IR_SendProtocol(kDevice, kCh3, kHz, sendData(3, 0, 32)) != 0);
        CHECK(IR_SendRaw(kDevice, kCh3, kHz, raw, 3) != 0);
    }
    // Fields the quick-send protocols cannot carry.
    CHECK(IR_ITT_Send(kDevice, kCh3, 16, 0) != 0);
    CHECK(IR_ITT_Send(kDevice, kCh3, 0, 64) != 0);
    CHECK(IR_NRC17_Send(kDevice, kCh3, 0, 16, 0) != 0);
    CHECK(IR_NRC17_Send(kDevice, kCh3, 0, 0, 254) != 0);
    CHECK(IR_RCA_Send(kDevice, kCh3, 16, 0) != 0);
    // UNUSED, PRONTO, outside the catalogue, bit counts that do not fit.
    for (const IRSendData &d :
        {sendData(0, 0, 32), sendData(16, 0, 32), sendData(18, 0, 32), sendData(-1, 0, 32),
            sendData(3, 0, 16), sendData(4, 0, 32), sendData(1, 0, 32), sendData(17, 0x011F, 32)})
        CHECK2(IR_SendProtocol(kDevice, kCh3, kCarrier, d) != 0, std::to_string(d.protocol));
    // Raw: count outside 1..256, a value of 0 or less, no array.
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 0) != 0);
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 257) != 0);
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, raw, -1) != 0);
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, nullptr, 3) != 0);
    int zero[] = {500, 0, 500};
    int negative[] = {500, -500, 500};
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, zero, 3) != 0);
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, negative, 3) != 0);
    // Reception: exactly one channel bit, and a callback.
    CHECK(IR_ReceiveStart(kDevice, 0, collect) != 0);
    CHECK(IR_ReceiveStart(kDevice, 0x03, collect) != 0);
    CHECK(IR_ReceiveStart(kDevice, 0xFF, collect) != 0);
    CHECK(IR_ReceiveStart(kDevice, kD5, nullptr) != 0);
    // Nothing of the above reached the air.
    CHECK(IR_ReceiveStart(kDevice, kD5, collect) == 0);
    CHECK(inbox.waitFor(1, kQuietWait).empty());
}

void sendOnCh3ReceiveOnD5()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    const auto before = std::chrono::steady_clock::now();
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 0x04, 0x08, 1), 0);
    const auto got = inbox.waitFor(1, kFrameWait);
    CHECK_EQ(got.size(), size_t(1));
    const Received &r = got[0];
    CHECK(r.thread != std::this_thread::get_id());
    CHECK_EQ(r.device, 0);
    CHECK_EQ(r.channel, kChannel5);
    CHECK_EQ(r.type, 3);
    CHECK_EQ(r.value, 0x20DF10EFu);
    CHECK_EQ(r.bits, 32);
    CHECK_EQ(withoutSilence(r.raw), ticksOf(ircodec::necFrame(4, 8, true)));
    // The frame plays in real time: 68 ms on the air.
    CHECK(std::chrono::steady_clock::now() - before >= 68ms);
    // The silence before it: from the start of reception, in 50 us ticks.
    CHECK(r.raw[0] >= 0 && r.raw[0] < 20000);
    // The plain-bytes flag: address and command where the complements were.
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 0xAA, 0x55, 0), 0);
    const auto plain = inbox.waitFor(2, kFrameWait);
    CHECK_EQ(plain.size(), size_t(2));
    CHECK_EQ(plain[1].value, ircodec::necFrame(0xAA, 0x55, false).value);
    CHECK(plain[1].raw[0] >= 39937 / ircodec::kTickUs);
}

void necHoldToRepeat()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 0x12, 0x34, 1), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, 1 << 15), 0);
    const auto got = inbox.waitFor(3, kFrameWait);
    CHECK_EQ(got.size(), size_t(3));
    CHECK_EQ(got[0].type, 3);
    CHECK_EQ(got[0].value, ircodec::necFrame(0x12, 0x34, true).value);
    for (int i : {1, 2}) {
        CHECK_EQ(got[i].type, 3);
        CHECK_EQ(got[i].value, 0xFFFFFFFFu);
        CHECK_EQ(got[i].bits, 0);
        CHECK_EQ(withoutSilence(got[i].raw), (std::vector<int>{180, 45, 11}));
    }
}

void quickSendFrames()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    CHECK_EQ(IR_ITT_Send(kDevice, kCh3, 5, 0x2A), 0);
    CHECK_EQ(IR_JVC_Send(kDevice, kCh3, 1, 0x59, 0x35), 0);
    CHECK_EQ(IR_JVC_Send(kDevice, kCh3, 0, 0x59, 0x35), 0);
    CHECK_EQ(IR_NRC17_Send(kDevice, kCh3, 254, 255, 255), 0);
    CHECK_EQ(IR_NRC17_Send(kDevice, kCh3, 0x5C, 6, 1), 0);
    CHECK_EQ(IR_RCA_Send(kDevice, kCh3, 0xA, 0x68), 0);
    const auto got = inbox.waitFor(6, kFrameWait);
    CHECK_EQ(got.size(), size_t(6));
    // ITT, NRC17 and RCA have no catalogue identifier: UNKNOWN, with the
    // frame's timings.
    const std::vector<std::pair<size_t, ircodec::Frame>> unknown
        = {{0, *ircodec::ittFrame(5, 0x2A)}, {3, *ircodec::nrc17Frame(254, 15, 15)},
            {4, *ircodec::nrc17Frame(0x5C, 6, 1)}, {5, *ircodec::rcaFrame(0xA, 0x68)}};
    for (const auto &[index, frame] : unknown) {
        CHECK_EQ(got[index].type, -1);
        CHECK_EQ(got[index].value, 0u);
        CHECK_EQ(got[index].bits, 0);
        CHECK_EQ(withoutSilence(got[index].raw), ticksOf(frame));
    }
    CHECK_EQ(got[1].type, 6);
    CHECK_EQ(got[1].value, 0x9AACu);
    CHECK_EQ(got[1].bits, 16);
    CHECK_EQ(got[2].type, 6);
    CHECK_EQ(got[2].value, 0xFFFFFFFFu);
    CHECK_EQ(withoutSilence(got[2].raw), ticksOf(ircodec::jvcFrame(0x59, 0x35, false)));
}

void catalogueFrames()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    struct Case
    {
        IRSendData sent;
        uint32_t value;
        uint32_t address;
        int bits;
    };
    const Case cases[] = {
        {sendData(1, 0x175, 12), 0x175, 0, 12},
        {sendData(2, 0x0040C, 20), 0x0040C, 0, 20},
        {sendData(3, 0x11223344, 32), 0x11223344, 0, 32},
        {sendData(3, 0x11223344, 32, 0, true), 0xFFFFFFFF, 0, 0},
        {sendData(4, 0xA90, 12), 0xA90, 0, 12},
        {sendData(5, 0x0100BCBD, 32, 0x4004), 0x0100BCBD, 0x4004, 48},
        {sendData(6, 0x9AAC, 16), 0x9AAC, 0, 16},
        {sendData(7, 0xE0E040BF, 32), 0xE0E040BF, 0, 32},
        {sendData(8, 0x87654321, 32), 0x87654321, 0, 32},
        {sendData(9, 0x21, 8), 0x21, 0, 42},
        {sendData(10, 0xF17776B, 28), 0xF17776B, 0, 28},
        {sendData(11, 0xABCDE, 20), 0xABCDE, 0, 20},
        {sendData(12, 0x1234, 16), 0x1234, 0, 16},
        {sendData(13, 0x4321, 16), 0x4321, 0, 16},
        {sendData(14, 0x11, 15, 3), 0x11, 3, 15},
        {sendData(15, 0x1233, 14), 0x1233, 0, 14},
        {sendData(17, 0x011F, 16), 0x011F, 0, 16},
    };
    // In two halves, to stay within the adapter's one second of queue.
    constexpr size_t count = sizeof(cases) / sizeof(cases[0]);
    for (size_t i = 0; i < count; ++i) {
        if (i == count / 2)
            CHECK_EQ(inbox.waitFor(i, kFrameWait).size(), i);
        CHECK2(IR_SendProtocol(kDevice, kCh3, kCarrier, cases[i].sent) == 0,
            std::to_string(cases[i].sent.protocol));
    }
    const auto got = inbox.waitFor(count, kFrameWait);
    // One callback per frame: SHARP's echo half is not reported again.
    CHECK_EQ(got.size(), count);
    CHECK(inbox.waitFor(count + 1, kQuietWait).size() == count);
    for (size_t i = 0; i < count; ++i) {
        const std::string which = std::to_string(cases[i].sent.protocol);
        CHECK2(got[i].type == cases[i].sent.protocol, which);
        CHECK2(got[i].value == cases[i].value, which);
        CHECK2(got[i].bits == cases[i].bits, which);
        if (cases[i].sent.protocol == 5 || cases[i].sent.protocol == 14)
            CHECK2(got[i].address == cases[i].address, which);
        CHECK2(got[i].raw.size() >= 4 && got[i].raw.size() <= 256, which);
    }
}

void rawTimings()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    // An NEC frame typed as raw microseconds decodes as NEC; a trailing
    // space is allowed.
    const auto bursts = ircodec::encode(ircodec::necFrame(0x10, 0x20, true));
    std::vector<int> timings((*bursts)[0].durations.begin(), (*bursts)[0].durations.end());
    timings.push_back(30000);
    CHECK_EQ(IR_SendRaw(kDevice, kCh3, kCarrier, timings.data(), int(timings.size())), 0);
    // Three values that no protocol knows, and the largest raw frame.
    int three[] = {900, 450, 560};
    CHECK_EQ(IR_SendRaw(kDevice, kCh3, kCarrier, three, 3), 0);
    std::vector<int> longest(256, 300);
    CHECK_EQ(IR_SendRaw(kDevice, kCh3, kCarrier, longest.data(), 256), 0);
    const auto got = inbox.waitFor(3, kFrameWait);
    CHECK_EQ(got.size(), size_t(3));
    CHECK_EQ(got[0].type, 3);
    CHECK_EQ(got[0].value, ircodec::necFrame(0x10, 0x20, true).value);
    CHECK_EQ(got[1].type, -1);
    CHECK_EQ(withoutSilence(got[1].raw), (std::vector<int>{18, 9, 11}));
    CHECK_EQ(got[2].type, -1);
    CHECK_EQ(got[2].raw.size(), size_t(256));
    CHECK_EQ(got[2].raw[255], 6);
}

void stopMeansNoFurtherCallback()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 1, 1, 1), 0);
    CHECK_EQ(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    // A frame under way when reception stops is never reported.
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 2, 2, 1), 0);
    CHECK_EQ(IR_NEC_Send(kDevice, kCh3, 3, 3, 1), 0);
    std::this_thread::sleep_for(50ms);
    CHECK_EQ(IR_ReceiveStop(kDevice), 0);
    const size_t atStop = inbox.take().size();
    CHECK(atStop <= 1);
    CHECK(inbox.waitFor(1, kQuietWait + 200ms).empty());
}

void stopFromInsideCallback()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collectAndStop), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    CHECK_EQ(inbox.waitFor(2, kQuietWait).size(), size_t(1));
    // Reception starts again afterwards.
    inbox.take();
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(inbox.waitFor(1, kFrameWait).size(), size_t(1));
}

void restartFromInsideCallback()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collectAndRestart), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    CHECK_EQ(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    const auto other = otherInbox.waitFor(1, kFrameWait);
    CHECK_EQ(other.size(), size_t(1));
    CHECK_EQ(other[0].channel, 2);
    CHECK_EQ(inbox.waitFor(2, kQuietWait).size(), size_t(1));
}

void startTwiceAndStopWhenStopped()
{
    CHECK(Device_Open(0) != 0);
    CHECK_EQ(IR_ReceiveStop(kDevice), 0);
    CHECK_EQ(IR_ReceiveStop(kDevice), 0);
    CHECK_EQ(IR_ReceiveStart(kDevice, kD5, collect), 0);
    // A second start replaces the first: new channel, new callback.
    CHECK_EQ(IR_ReceiveStart(kDevice, 1 << 7, collectOther), 0);
    CHECK_EQ(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    const auto other = otherInbox.waitFor(1, kFrameWait);
    CHECK_EQ(other.size(), size_t(1));
    CHECK_EQ(other[0].channel, 7);
    CHECK(inbox.waitFor(1, kQuietWait).empty());
    CHECK_EQ(IR_ReceiveStop(kDevice), 0);
    CHECK_EQ(IR_ReceiveStop(kDevice), 0);
}

void queueLongerThanASecondFails()
{
    CHECK(Device_Open(0) != 0);
    // Each NEC frame takes 108 ms of air: about ten fit in a second.
    int accepted = 0;
    while (accepted < 30 && IR_NEC_Send(kDevice, kCh3, 1, 2, 1) == 0)
        ++accepted;
    CHECK2(accepted >= 9 && accepted <= 12, std::to_string(accepted));
    CHECK(IR_NEC_SendRepeat(kDevice, kCh3) != 0);
    int raw[] = {500};
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 1) != 0);
    // A single message longer than the whole queue may be is refused too.
    std::this_thread::sleep_for(1300ms);
    int longRaw[] = {500, 1200000, 500};
    CHECK(IR_SendRaw(kDevice, kCh3, kCarrier, longRaw, 3) != 0);
    CHECK_EQ(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 1), 0);
}

int main()
{
    const check::Test tests[] = {
        {"unopenedAdapterRefusesEverything", unopenedAdapterRefusesEverything},
        {"enumeration", enumeration},
        {"badArgumentsFail", badArgumentsFail},
        {"sendOnCh3ReceiveOnD5", sendOnCh3ReceiveOnD5},
        {"necHoldToRepeat", necHoldToRepeat},
        {"quickSendFrames", quickSendFrames},
        {"catalogueFrames", catalogueFrames},
        {"rawTimings", rawTimings},
        {"stopMeansNoFurtherCallback", stopMeansNoFurtherCallback},
        {"stopFromInsideCallback", stopFromInsideCallback},
        {"restartFromInsideCallback", restartFromInsideCallback},
        {"startTwiceAndStopWhenStopped", startTwiceAndStopWhenStopped},
        {"queueLongerThanASecondFails", queueLongerThanASecondFails},
    };
    return check::runAll(tests, sizeof(tests) / sizeof(tests[0]), cleanup);
}

// Receiving on a LIRC device: mode2 samples into frames, and the reader
// thread over a socketpair that plays the kernel; end to end through the
// operations of korvex.h, an NEC frame to the callback.
#include "check.h"
#include "enumerate.h"
#include "fakekernel.h"
#include "lirc_device.h"
#include "mode2.h"
#include "registry.h"
#include "tempdir.h"

#include <linux/lirc.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using korvex_lirc::Mode2Splitter;

constexpr auto kWait = 5000ms;
constexpr uint32_t kReceiver = LIRC_CAN_REC_MODE2 | LIRC_CAN_SET_REC_TIMEOUT;
constexpr uint32_t kTransceiver = kReceiver | LIRC_CAN_SEND_PULSE | LIRC_CAN_SET_SEND_CARRIER;
constexpr uint32_t kLeadingGapUs = 40000;
constexpr uint32_t kTimeoutUs = 12000;
const std::string kPath = "/dev/lirc0";

const ircodec::Frame kNec = ircodec::necFrame(0x2A, 0xC5, true);

ircodec::Durations durationsOf(const ircodec::Frame &frame)
{
    return (*ircodec::encode(frame))[0].durations;
}

// A frame as mode2 samples: the kernel's leading space, pulses and spaces,
// then the timeout report.
std::vector<uint32_t> samplesOf(const ircodec::Durations &durations, uint32_t leadingGap)
{
    std::vector<uint32_t> samples{LIRC_SPACE(leadingGap)};
    for (size_t i = 0; i < durations.size(); ++i)
        samples.push_back(i % 2 == 0 ? LIRC_PULSE(durations[i]) : LIRC_SPACE(durations[i]));
    samples.push_back(LIRC_TIMEOUT(kTimeoutUs));
    return samples;
}

std::vector<korvex_lirc::Cut> split(const std::vector<uint32_t> &samples)
{
    Mode2Splitter splitter;
    std::vector<korvex_lirc::Cut> cuts;
    for (uint32_t sample : samples)
        if (auto cut = splitter.sample(sample))
            cuts.push_back(std::move(*cut));
    return cuts;
}

void wholeFrameWithItsLeadingGap()
{
    const auto cuts = split(samplesOf(durationsOf(kNec), kLeadingGapUs));
    CHECK_EQ(cuts.size(), 1u);
    CHECK_EQ(cuts[0].capture.silenceBefore, kLeadingGapUs);
    CHECK(cuts[0].capture.durations == durationsOf(kNec));
    CHECK(!cuts[0].broken);
}

void frequencyReportsIgnored()
{
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 5, LIRC_FREQUENCY(38000));
    const auto cuts = split(samples);
    CHECK_EQ(cuts.size(), 1u);
    CHECK(cuts[0].capture.durations == durationsOf(kNec));
}

void overflowBreaksTheFrameUnderWay()
{
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 9, LIRC_OVERFLOW(0));
    const auto next = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.end(), next.begin(), next.end());
    const auto cuts = split(samples);
    CHECK_EQ(cuts.size(), 2u);
    CHECK(cuts[0].broken);
    CHECK(!cuts[1].broken);
}

void shortTimeoutWaitsForTheGap()
{
    // A device whose timeout is shorter than the frame gap: its report does
    // not end the frame; the kernel's space before the next pulse does, and
    // the next frame's silence is that whole space.
    std::vector<uint32_t> samples{LIRC_PULSE(500), LIRC_SPACE(500), LIRC_PULSE(500),
        LIRC_TIMEOUT(2000), LIRC_SPACE(30000), LIRC_PULSE(700), LIRC_TIMEOUT(kTimeoutUs)};
    const auto cuts = split(samples);
    CHECK_EQ(cuts.size(), 2u);
    CHECK(cuts[0].capture.durations == (ircodec::Durations{500, 500, 500}));
    CHECK_EQ(cuts[1].capture.silenceBefore, 30000);
    CHECK(cuts[1].capture.durations == ircodec::Durations{700});
}

// ---------------------------------------------------------------------------
// The reader thread.

struct Got
{
    int device = -1;
    int channel = -1;
    int32_t type = 0;
    uint32_t address = 0;
    uint32_t value = 0;
    int32_t bits = 0;
    std::vector<int> raw;
};

std::mutex gotLock;
std::condition_variable gotWake;
std::vector<Got> got;

int KORVEX_CALL collect(int device, int channel, IRResults *r)
{
    std::lock_guard<std::mutex> lock(gotLock);
    got.push_back({device, channel, r->decode_type, r->address, r->value, r->bits,
        std::vector<int>(r->raw_data, r->raw_data + r->raw_count)});
    gotWake.notify_all();
    return 0;
}

std::vector<Got> waitGot(size_t count, std::chrono::milliseconds timeout = kWait)
{
    std::unique_lock<std::mutex> lock(gotLock);
    gotWake.wait_for(lock, timeout, [&] { return got.size() >= count; });
    return got;
}

void clearGot()
{
    std::lock_guard<std::mutex> lock(gotLock);
    got.clear();
}

std::vector<int> ticksOf(int64_t silence, const ircodec::Durations &durations)
{
    const auto ticks = ircodec::toTicks(silence, durations);
    return std::vector<int>(ticks.begin(), ticks.end());
}

struct Receiving
{
    explicit Receiving(fake::Settings settings, int index = 0, int channel = 2)
        : fake(fake::makeDevice(std::move(settings))),
          record(fake.record),
          device(kPath, fake::openerFor(kPath, fake.kernel, ENOENT))
    {
        started = device.open() && device.startReceiving(index, channel, collect);
    }
    ~Receiving()
    {
        device.stopReceiving();
        if (fake.peer >= 0)
            ::close(fake.peer);
        clearGot();
    }
    fake::Device fake;
    std::shared_ptr<fake::Record> record;
    korvex_lirc::LircDevice device;
    bool started = false;
};

void framesSplitAcrossReads()
{
    // Three bytes per read: every sample arrives in two pieces.
    Receiving r({kReceiver, nullptr, 3}, 4, 6);
    CHECK(r.started);
    CHECK(r.record->setsOf(LIRC_SET_REC_MODE) == std::vector<uint32_t>{LIRC_MODE_MODE2});
    CHECK(r.record->setsOf(LIRC_SET_REC_TIMEOUT)
        == std::vector<uint32_t>{uint32_t(ircodec::kFrameSilenceUs)});
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    const auto frames = waitGot(1);
    CHECK_EQ(frames.size(), 1u);
    CHECK_EQ(frames[0].device, 4);
    CHECK_EQ(frames[0].channel, 6);
    CHECK_EQ(frames[0].type, ircodec::catalogueId(ircodec::Protocol::Nec));
    CHECK(frames[0].raw == ticksOf(kLeadingGapUs, durationsOf(kNec)));
}

void overflowReportedUndecoded()
{
    Receiving r({kReceiver, nullptr, 0});
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 9, LIRC_OVERFLOW(0));
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(1);
    CHECK_EQ(frames.size(), 1u);
    CHECK_EQ(frames[0].type, -1);
    CHECK(frames[0].raw == ticksOf(kLeadingGapUs, durationsOf(kNec)));
}

void frameEndsWithoutTimeoutReports()
{
    // A device that sends no timeout report: the silence after the last
    // pulse ends the frame.
    Receiving r({kReceiver, nullptr, 0});
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.pop_back();
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(1);
    CHECK_EQ(frames.size(), 1u);
    CHECK_EQ(frames[0].type, ircodec::catalogueId(ircodec::Protocol::Nec));
}

void endOfFileAndNoDeviceEndReception()
{
    const korvex_ops::Transmission repeat{1, 38000, *ircodec::encode(ircodec::necRepeatFrame())};
    for (const bool unplugged : {false, true}) {
        Receiving r({kTransceiver, nullptr, 0});
        CHECK(r.started);
        if (unplugged) {
            r.record->failReads(ENODEV);
            fake::feed(r.fake.peer, {LIRC_SPACE(1000)});
        } else {
            ::close(r.fake.peer);
            r.fake.peer = -1;
        }
        // The reader ends and the device is gone: sends fail, and so does a
        // new reception; opening again looks for the device afresh.
        bool gone = false;
        for (int i = 0; i < 500 && !gone; ++i) {
            gone = !r.device.transmit(repeat);
            if (!gone)
                std::this_thread::sleep_for(10ms);
        }
        CHECK2(gone, unplugged ? "ENODEV" : "end of file");
        CHECK(!r.device.startReceiving(0, 0, collect));
        CHECK(!r.device.open());
    }
}

void stopMeansNoFurtherCallback()
{
    Receiving r({kReceiver, nullptr, 0});
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    CHECK_EQ(waitGot(1).size(), 1u);
    r.device.stopReceiving();
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    CHECK_EQ(waitGot(2, 300ms).size(), 1u);
}

// ---------------------------------------------------------------------------
// End to end through korvex.h: a LIRC device at index 0, the virtual
// adapter at index 1.

void necThroughTheOperations()
{
    TempDir dir;
    dir.folder("sys/rc0/lirc0");
    fake::Device fake = fake::makeDevice({kTransceiver, nullptr, 0});
    const std::string path = dir.path("dev") + "/lirc0";
    korvex_lirc::useRegistry(std::make_unique<korvex_lirc::Registry>(
        dir.path("sys"), dir.path("dev"), fake::openerFor(path, fake.kernel, EACCES)));
    CHECK_EQ(Device_Scan(0), 2);
    CHECK(Device_Open(0) != 0);
    CHECK(Device_Open(1) != 0);
    CHECK_EQ(Device_Open(2), 0);

    CHECK_EQ(IR_ReceiveStart(0, 1 << 5, collect), 0);
    const auto durations = durationsOf(kNec);
    fake::feed(fake.peer, samplesOf(durations, kLeadingGapUs));
    const auto frames = waitGot(1);
    IR_ReceiveStop(0);
    const auto expected = ircodec::report(kNec);
    CHECK_EQ(frames.size(), 1u);
    CHECK_EQ(frames[0].device, 0);
    CHECK_EQ(frames[0].channel, 5);
    CHECK_EQ(frames[0].type, expected.decodeType);
    CHECK_EQ(frames[0].address, expected.address);
    CHECK_EQ(frames[0].value, expected.value);
    CHECK_EQ(frames[0].bits, 32);
    CHECK(frames[0].raw == ticksOf(kLeadingGapUs, durations));

    // Sending: the carrier of IR_SendProtocol in Hz, the quick-send's 38 kHz.
    IRSendData data{};
    data.protocol = ircodec::catalogueId(ircodec::Protocol::Nec);
    data.value = expected.value;
    data.bits = 32;
    CHECK_EQ(IR_SendProtocol(0, 1, 36, data), 0);
    CHECK_EQ(IR_NEC_Send(0, 1, 0x2A, 0xC5, 1), 0);
    const auto writes = fake.record->waitWrites(2, kWait);
    CHECK_EQ(writes.size(), 2u);
    CHECK(writes[1] == std::vector<uint32_t>(durations.begin(), durations.end()));
    CHECK(fake.record->setsOf(LIRC_SET_SEND_CARRIER) == (std::vector<uint32_t>{36000, 38000}));
    // The virtual adapter answers at index 1.
    CHECK_EQ(IR_NEC_SendRepeat(1, 1), 0);
    korvex_lirc::useRegistry(std::make_unique<korvex_lirc::Registry>(
        dir.path("none"), dir.path("none"), fake::openerFor("", fake.kernel, ENOENT)));
    ::close(fake.peer);
    clearGot();
}

} // namespace

int main()
{
    const check::Test tests[] = {
        {"wholeFrameWithItsLeadingGap", wholeFrameWithItsLeadingGap},
        {"frequencyReportsIgnored", frequencyReportsIgnored},
        {"overflowBreaksTheFrameUnderWay", overflowBreaksTheFrameUnderWay},
        {"shortTimeoutWaitsForTheGap", shortTimeoutWaitsForTheGap},
        {"framesSplitAcrossReads", framesSplitAcrossReads},
        {"overflowReportedUndecoded", overflowReportedUndecoded},
        {"frameEndsWithoutTimeoutReports", frameEndsWithoutTimeoutReports},
        {"endOfFileAndNoDeviceEndReception", endOfFileAndNoDeviceEndReception},
        {"stopMeansNoFurtherCallback", stopMeansNoFurtherCallback},
        {"necThroughTheOperations", necThroughTheOperations},
    };
    return check::runAll(tests, sizeof tests / sizeof tests[0], nullptr);
}

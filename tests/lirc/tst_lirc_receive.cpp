// Receiving on a LIRC device: mode2 samples into frames, and the reader
// thread over a socketpair that plays the kernel; end to end through the
// operations of korvex.h, an NEC frame to the callback.
#include "callbackinbox.h"
#include "enumerate.h"
#include "fakekernel.h"
#include "lirc_device.h"
#include "mode2.h"
#include "registry.h"
#include "results.h"
#include "tempdir.h"
#include "virtual_adapter.h"

#include <QtTest>

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

std::vector<int> ticksOf(int64_t silence, const ircodec::Durations &durations)
{
    const auto ticks = ircodec::toTicks(silence, durations);
    return std::vector<int>(ticks.begin(), ticks.end());
}

// The frames `splitter` cuts out of `samples`.
std::vector<korvex_lirc::Cut> split(Mode2Splitter &splitter, const std::vector<uint32_t> &samples)
{
    std::vector<korvex_lirc::Cut> cuts;
    for (uint32_t sample : samples)
        if (auto cut = splitter.sample(sample))
            cuts.push_back(std::move(*cut));
    return cuts;
}

std::vector<korvex_lirc::Cut> split(const std::vector<uint32_t> &samples)
{
    Mode2Splitter splitter;
    return split(splitter, samples);
}

class LircReceive : public QObject
{
    Q_OBJECT

private slots:
    void wholeFrameWithItsLeadingGap();
    void frequencyReportsIgnored();
    void overflowBreaksTheFrameUnderWay();
    void timeoutAndGapMakeOneSilence();
    void firstPulseFollowsTheTimeSinceStart();
    void staleSamplesGiveNoFrame();
    void framesAsTheKernelReportsThem();
    void framesSplitAcrossReads();
    void overflowReportedUndecoded();
    void longFramesComeWhole();
    void frameEndsWithoutTimeoutReports();
    void endOfFileAndNoDeviceEndReception();
    void stopMeansNoFurtherCallback();
    void onlyFramesAfterTheStart();
    void firstFrameAfterTheStartFollowsItsTime();
    void necThroughTheOperations();
    void aRescanLeavesReceptionOnItsDevice();
};

void LircReceive::wholeFrameWithItsLeadingGap()
{
    const auto cuts = split(samplesOf(durationsOf(kNec), kLeadingGapUs));
    QCOMPARE(cuts.size(), size_t(1));
    QCOMPARE(cuts[0].capture.silenceBefore, int64_t(kLeadingGapUs));
    QVERIFY(cuts[0].capture.durations == durationsOf(kNec));
    QVERIFY(!cuts[0].broken);
}

void LircReceive::frequencyReportsIgnored()
{
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 5, LIRC_FREQUENCY(38000));
    const auto cuts = split(samples);
    QCOMPARE(cuts.size(), size_t(1));
    QVERIFY(cuts[0].capture.durations == durationsOf(kNec));
}

void LircReceive::overflowBreaksTheFrameUnderWay()
{
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 9, LIRC_OVERFLOW(LIRC_VALUE_MASK));
    const auto next = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.end(), next.begin(), next.end());
    const auto cuts = split(samples);
    QCOMPARE(cuts.size(), size_t(2));
    QVERIFY(cuts[0].broken);
    QVERIFY(!cuts[1].broken);
}

void LircReceive::timeoutAndGapMakeOneSilence()
{
    // The kernel reports a silence as a timeout report, once the device has
    // been idle for its timeout, and a space of the time since that report
    // before the next pulse. A device timeout shorter than the frame gap
    // splits spaces inside a frame too; rc-loopback reports a long space of
    // its frame whole in the timeout report.
    std::vector<uint32_t> samples{LIRC_PULSE(500), LIRC_TIMEOUT(2000), LIRC_SPACE(2500),
        LIRC_PULSE(500), LIRC_TIMEOUT(2000), LIRC_SPACE(30000), LIRC_PULSE(700),
        LIRC_TIMEOUT(45000), LIRC_SPACE(1), LIRC_PULSE(600), LIRC_TIMEOUT(kTimeoutUs)};
    const auto cuts = split(samples);
    QCOMPARE(cuts.size(), size_t(3));
    QVERIFY(cuts[0].capture.durations == (ircodec::Durations{500, 4500, 500}));
    QCOMPARE(cuts[1].capture.silenceBefore, int64_t(32000));
    QVERIFY(cuts[1].capture.durations == ircodec::Durations{700});
    QCOMPARE(cuts[2].capture.silenceBefore, int64_t(45001));
}

void LircReceive::firstPulseFollowsTheTimeSinceStart()
{
    // After the module is loaded the kernel sends no space before the first
    // pulse: the silence is the time since reception started.
    constexpr int64_t kSinceStartUs = 123456;
    Mode2Splitter splitter;
    QVERIFY(!splitter.sample(LIRC_PULSE(9000), kSinceStartUs));
    QVERIFY(!splitter.sample(LIRC_SPACE(2250), kSinceStartUs));
    QVERIFY(!splitter.sample(LIRC_PULSE(563), kSinceStartUs));
    const auto cut = splitter.sample(LIRC_TIMEOUT(kTimeoutUs), kSinceStartUs);
    QVERIFY(cut.has_value());
    QCOMPARE(cut->capture.silenceBefore, kSinceStartUs);
    // Later pulses follow the kernel's own silence, whatever the time.
    QVERIFY(!splitter.sample(LIRC_SPACE(5000), 2 * kSinceStartUs));
    QVERIFY(!splitter.sample(LIRC_PULSE(563), 2 * kSinceStartUs));
    const auto next = splitter.sample(LIRC_TIMEOUT(kTimeoutUs), 2 * kSinceStartUs);
    QVERIFY(next.has_value());
    QCOMPARE(next->capture.silenceBefore, int64_t(kTimeoutUs + 5000));
}

void LircReceive::staleSamplesGiveNoFrame()
{
    // Samples that waited in the device before reception started: a whole
    // frame, then the start of another. Neither is reported; the silence
    // after the whole one counts.
    const auto frame = samplesOf(durationsOf(kNec), kLeadingGapUs);
    Mode2Splitter whole;
    for (uint32_t sample : frame)
        whole.stale(sample);
    std::vector<uint32_t> next(frame.begin() + 1, frame.end());
    next.insert(next.begin(), LIRC_SPACE(5000));
    auto cuts = split(whole, next);
    QCOMPARE(cuts.size(), size_t(1));
    QCOMPARE(cuts[0].capture.silenceBefore, int64_t(kTimeoutUs + 5000));
    QVERIFY(cuts[0].capture.durations == durationsOf(kNec));

    Mode2Splitter underWay;
    for (size_t i = 0; i < 9; ++i)
        underWay.stale(frame[i]);
    const std::vector<uint32_t> rest(frame.begin() + 9, frame.end());
    QCOMPARE(split(underWay, rest).size(), size_t(0));
    cuts = split(underWay, frame);
    QCOMPARE(cuts.size(), size_t(1));
    QVERIFY(cuts[0].capture.durations == durationsOf(kNec));
}

void LircReceive::framesAsTheKernelReportsThem()
{
    // A SHARP message (two halves 40 ms apart) and an NEC frame, with a
    // device timeout shorter than either silence, as a receiver reports them
    // and as rc-loopback does: the same frames and silences either way.
    const auto sharp = *ircodec::encode(ircodec::Frame{ircodec::Protocol::Sharp, 0x11, 3, 15});
    const auto nec = *ircodec::encode(kNec);
    const std::vector<std::pair<std::vector<int32_t>, int32_t>> frames
        = {{sharp[0].durations, sharp[0].gap}, {sharp[1].durations, sharp[1].gap},
            {nec[0].durations, nec[0].gap}};
    for (const bool whole : {false, true}) {
        Mode2Splitter splitter;
        korvex::Reporter reporter;
        std::vector<korvex::Received> received;
        for (uint32_t sample : fake::kernelSamples(frames, kTimeoutUs, whole))
            if (auto cut = splitter.sample(sample, kLeadingGapUs))
                if (auto r = reporter.take(cut->capture, cut->broken))
                    received.push_back(std::move(*r));
        if (auto cut = splitter.idle(ircodec::kFrameSilenceUs))
            if (auto r = reporter.take(cut->capture, cut->broken))
                received.push_back(std::move(*r));
        QCOMPARE(received.size(), size_t(2));
        QCOMPARE(received[0].report.decodeType, ircodec::catalogueId(ircodec::Protocol::Sharp));
        QCOMPARE(received[0].report.address, 3u);
        QCOMPARE(received[0].raw, ticksOf(kLeadingGapUs, sharp[0].durations));
        QCOMPARE(received[1].report.value, kNec.value);
        QCOMPARE(received[1].raw, ticksOf(sharp[1].gap, nec[0].durations));
    }
}

// ---------------------------------------------------------------------------
// The reader thread.

using Got = GotFrame;
Inbox gotFrames;

int KORVEX_CALL collect(int device, int channel, IRResults *r)
{
    gotFrames.add(gotFrame(device, channel, r));
    return 0;
}

std::vector<Got> waitGot(size_t count, std::chrono::milliseconds timeout = kWait)
{
    return gotFrames.waitFor(count, timeout);
}

void clearGot()
{
    gotFrames.take();
}

struct Receiving : fake::Opened
{
    explicit Receiving(fake::Settings settings, int index = 0, int channel = 2)
        : Opened(std::move(settings))
    {
        started = opened && device.startReceiving(index, channel, collect);
    }
    ~Receiving()
    {
        device.stopReceiving();
        clearGot();
    }
    bool started = false;
};

void LircReceive::framesSplitAcrossReads()
{
    // Three bytes per read: every sample arrives in two pieces.
    Receiving r({kReceiver, nullptr, 3}, 4, 6);
    QVERIFY(r.started);
    QVERIFY(r.record->setsOf(LIRC_SET_REC_MODE) == std::vector<uint32_t>{LIRC_MODE_MODE2});
    QVERIFY(r.record->setsOf(LIRC_SET_REC_TIMEOUT)
        == std::vector<uint32_t>{uint32_t(ircodec::kFrameSilenceUs)});
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    const auto frames = waitGot(1);
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].device, 4);
    QCOMPARE(frames[0].channel, 6);
    QCOMPARE(frames[0].type, ircodec::catalogueId(ircodec::Protocol::Nec));
    QVERIFY(frames[0].raw == ticksOf(kLeadingGapUs, durationsOf(kNec)));
}

void LircReceive::overflowReportedUndecoded()
{
    Receiving r({kReceiver, nullptr, 0});
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.insert(samples.begin() + 9, LIRC_OVERFLOW(LIRC_VALUE_MASK));
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(1);
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].type, -1);
    QVERIFY(frames[0].raw == ticksOf(kLeadingGapUs, durationsOf(kNec)));
}

void LircReceive::longFramesComeWhole()
{
    // An air conditioner's 599 durations come whole; a frame beyond the
    // segmenter's limit comes cut there, undecoded. The second frame's
    // silence is the first one's timeout report and the space after it.
    Receiving r({kReceiver, nullptr, 0});
    const ircodec::Durations airConditioner(599, 400);
    const ircodec::Durations overlong(irlimits::kMaxReceivedDurations + 100, 400);
    auto samples = samplesOf(airConditioner, kLeadingGapUs);
    const auto more = samplesOf(overlong, kLeadingGapUs);
    samples.insert(samples.end(), more.begin(), more.end());
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(2);
    QCOMPARE(frames.size(), size_t(2));
    QCOMPARE(frames[0].raw, ticksOf(kLeadingGapUs, airConditioner));
    QCOMPARE(frames[1].type, -1);
    QCOMPARE(frames[1].raw,
        ticksOf(kTimeoutUs + kLeadingGapUs,
            ircodec::Durations(
                overlong.begin(), overlong.begin() + irlimits::kMaxReceivedDurations)));
}

void LircReceive::frameEndsWithoutTimeoutReports()
{
    // A device that sends no timeout report: the silence after the last
    // pulse ends the frame.
    Receiving r({kReceiver, nullptr, 0});
    auto samples = samplesOf(durationsOf(kNec), kLeadingGapUs);
    samples.pop_back();
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(1);
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].type, ircodec::catalogueId(ircodec::Protocol::Nec));
}

void LircReceive::endOfFileAndNoDeviceEndReception()
{
    const korvex::Transmission repeat{1, 38000, *ircodec::encode(ircodec::necRepeatFrame())};
    for (const bool unplugged : {false, true}) {
        Receiving r({kTransceiver, nullptr, 0});
        QVERIFY(r.started);
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
        QVERIFY2(gone, unplugged ? "ENODEV" : "end of file");
        QVERIFY(!r.device.startReceiving(0, 0, collect));
        QVERIFY(!r.device.open());
    }
}

void LircReceive::stopMeansNoFurtherCallback()
{
    Receiving r({kReceiver, nullptr, 0});
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    QCOMPARE(waitGot(1).size(), size_t(1));
    r.device.stopReceiving();
    fake::feed(r.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    QCOMPARE(waitGot(2, 300ms).size(), size_t(1));
}

void LircReceive::onlyFramesAfterTheStart()
{
    // The kernel keeps what an open device receives while nobody reads it:
    // a frame from before the start is not reported.
    fake::Opened d({kReceiver, nullptr, 0});
    QVERIFY(d.opened);
    fake::feed(d.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    QVERIFY(d.device.startReceiving(0, 0, collect));
    fake::feed(d.fake.peer, samplesOf(durationsOf(ircodec::necRepeatFrame()), kLeadingGapUs));
    const auto frames = waitGot(2, 300ms);
    d.device.stopReceiving();
    clearGot();
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].value, ircodec::kRepeatValue);
    QCOMPARE(frames[0].raw[0], int((kTimeoutUs + kLeadingGapUs) / ircodec::kTickUs));
}

void LircReceive::firstFrameAfterTheStartFollowsItsTime()
{
    // The kernel sends no space before the first pulse after it was loaded:
    // that frame's silence is the time since the start.
    constexpr auto kQuiet = 30ms;
    const auto start = std::chrono::steady_clock::now();
    Receiving r({kReceiver, nullptr, 0});
    QVERIFY(r.started);
    std::this_thread::sleep_for(kQuiet);
    auto samples = samplesOf(durationsOf(kNec), 0);
    samples.erase(samples.begin());
    fake::feed(r.fake.peer, samples);
    const auto frames = waitGot(1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const auto ticks = [](auto duration) {
        return std::chrono::duration_cast<std::chrono::microseconds>(duration).count()
            / ircodec::kTickUs;
    };
    QCOMPARE(frames.size(), size_t(1));
    QVERIFY(frames[0].raw[0] >= ticks(kQuiet));
    QVERIFY(frames[0].raw[0] <= ticks(elapsed));
}

// ---------------------------------------------------------------------------
// End to end through korvex.h.

// The process's operations over a fake sysfs tree, made of `folders`, whose
// LIRC device dev/lirc0 is a fake transceiver. Afterwards: no LIRC device
// again, and the virtual adapter not receiving.
struct Operations
{
    explicit Operations(std::initializer_list<const char *> folders)
    {
        dir.folder("sys");
        for (const char *folder : folders)
            dir.folder(folder);
        korvex_lirc::useRegistry(std::make_unique<korvex_lirc::Registry>(dir.path("sys"),
            dir.path("dev"), fake::openerFor(dir.path("dev") + "/lirc0", fake.kernel, EACCES)));
    }
    ~Operations()
    {
        korvex_virtual::device()->stopReceiving();
        korvex_lirc::useRegistry(std::make_unique<korvex_lirc::Registry>(
            dir.path("none"), dir.path("none"), fake::openerFor("", fake.kernel, ENOENT)));
        ::close(fake.peer);
        clearGot();
    }
    TempDir dir;
    fake::Device fake = fake::makeDevice({kTransceiver, nullptr, 0});
};

} // namespace

void LircReceive::necThroughTheOperations()
{
    // A LIRC device at index 0, the virtual adapter at index 1.
    Operations operations({"sys/rc0/lirc0"});
    const auto &record = operations.fake.record;
    QCOMPARE(Device_Scan(0), 2);
    QVERIFY(Device_Open(0) != 0);
    QVERIFY(Device_Open(1) != 0);
    QCOMPARE(Device_Open(2), static_cast<unsigned char>(0));

    QCOMPARE(IR_ReceiveStart(0, 1 << 5, collect), 0);
    const auto durations = durationsOf(kNec);
    fake::feed(operations.fake.peer, samplesOf(durations, kLeadingGapUs));
    const auto frames = waitGot(1);
    IR_ReceiveStop(0);
    const auto expected = ircodec::report(kNec);
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].device, 0);
    QCOMPARE(frames[0].channel, 5);
    QCOMPARE(frames[0].type, expected.decodeType);
    QCOMPARE(frames[0].address, expected.address);
    QCOMPARE(frames[0].value, expected.value);
    QCOMPARE(frames[0].bits, 32);
    QVERIFY(frames[0].raw == ticksOf(kLeadingGapUs, durations));

    // Sending: the carrier of IR_SendProtocol in Hz, the quick-send's 38 kHz.
    IRSendData data{};
    data.protocol = ircodec::catalogueId(ircodec::Protocol::Nec);
    data.value = expected.value;
    data.bits = 32;
    QCOMPARE(IR_SendProtocol(0, 1, 36, data), 0);
    QCOMPARE(IR_NEC_Send(0, 1, 0x2A, 0xC5, 1), 0);
    const auto writes = record->waitWrites(2, kWait);
    QCOMPARE(writes.size(), size_t(2));
    QVERIFY(writes[1] == std::vector<uint32_t>(durations.begin(), durations.end()));
    QVERIFY(record->setsOf(LIRC_SET_SEND_CARRIER) == (std::vector<uint32_t>{36000, 38000}));
    // Raw: as long as one write may be (1024 values, the last the silence
    // after the frame), and no longer.
    std::vector<int> longest(irlimits::kMaxSendValues, 300);
    QCOMPARE(IR_SendRaw(0, 1, 38, longest.data(), int(longest.size())), 0);
    const auto rawWrites = record->waitWrites(3, kWait);
    QCOMPARE(rawWrites.size(), size_t(3));
    QCOMPARE(rawWrites[2], std::vector<uint32_t>(longest.size() - 1, 300));
    longest.push_back(300);
    QVERIFY(IR_SendRaw(0, 1, 38, longest.data(), int(longest.size())) != 0);
    // The virtual adapter answers at index 1.
    QCOMPARE(IR_NEC_SendRepeat(1, 1), 0);
}

void LircReceive::aRescanLeavesReceptionOnItsDevice()
{
    // The virtual adapter receives at index 0; then a receiver is plugged in.
    Operations operations({});
    QCOMPARE(Device_Scan(0), 1);
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(0, 1 << 5, collect), 0);
    operations.dir.folder("sys/rc0/lirc0");
    QCOMPARE(Device_Scan(0), 2);
    // Stopping index 0 stops the virtual adapter's reception: nothing it
    // sends afterwards is reported.
    QCOMPARE(IR_ReceiveStop(0), 0);
    const korvex::Transmission repeat{1, 38000, *ircodec::encode(ircodec::necRepeatFrame())};
    QVERIFY(korvex_virtual::device()->transmit(repeat));
    QCOMPARE(waitGot(1, 300ms).size(), size_t(0));
    QVERIFY(korvex_lirc::registry().at(0) == korvex_virtual::device());
    // The new receiver is index 1.
    QVERIFY(Device_Open(1) != 0);
    QCOMPARE(IR_ReceiveStart(1, 1 << 5, collect), 0);
    fake::feed(operations.fake.peer, samplesOf(durationsOf(kNec), kLeadingGapUs));
    const auto frames = waitGot(1);
    QCOMPARE(IR_ReceiveStop(1), 0);
    QCOMPARE(frames.size(), size_t(1));
    QCOMPARE(frames[0].device, 1);
    QCOMPARE(frames[0].type, ircodec::catalogueId(ircodec::Protocol::Nec));
}

QTEST_APPLESS_MAIN(LircReceive)
#include "tst_lirc_receive.moc"

// The virtual adapter end to end through the twelve operations of korvex.h:
// frames sent on an output come back through the loopback air, decoded, on
// the adapter's own thread; every failure status; reception's start and
// stop, including from inside the callback.
#include "callbackinbox.h"
#include "ircodec.h"
#include "irlimits.h"
#include "korvex.h"

#include <QtTest>

#include <algorithm>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

using Received = GotFrame;

Inbox inbox;
Inbox otherInbox;

int KORVEX_CALL collect(int device, int channel, IRResults *results)
{
    inbox.add(gotFrame(device, channel, results));
    return 0;
}

int KORVEX_CALL collectOther(int device, int channel, IRResults *results)
{
    otherInbox.add(gotFrame(device, channel, results));
    return 0;
}

int KORVEX_CALL collectAndStop(int device, int channel, IRResults *results)
{
    inbox.add(gotFrame(device, channel, results));
    IR_ReceiveStop(device);
    return 0;
}

int KORVEX_CALL collectAndRestart(int device, int channel, IRResults *results)
{
    inbox.add(gotFrame(device, channel, results));
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

// Every send operation, with valid fields and three of `raw`'s values, fails
// on `mask`.
void everySendFails(int mask, int *raw)
{
    QVERIFY(IR_NEC_Send(kDevice, mask, 1, 2, 1) != 0);
    QVERIFY(IR_NEC_SendRepeat(kDevice, mask) != 0);
    QVERIFY(IR_ITT_Send(kDevice, mask, 1, 2) != 0);
    QVERIFY(IR_JVC_Send(kDevice, mask, 1, 1, 2) != 0);
    QVERIFY(IR_NRC17_Send(kDevice, mask, 1, 2, 3) != 0);
    QVERIFY(IR_RCA_Send(kDevice, mask, 1, 2) != 0);
    QVERIFY(IR_SendProtocol(kDevice, mask, kCarrier, sendData(3, 0, 32)) != 0);
    QVERIFY(IR_SendRaw(kDevice, mask, kCarrier, raw, 3) != 0);
}

} // namespace

class VirtualAdapter : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void unopenedAdapterRefusesEverything();
    void enumeration();
    void badArgumentsFail();
    void sendOnCh3ReceiveOnD5();
    void necHoldToRepeat();
    void quickSendFrames();
    void catalogueFrames();
    void rawTimings();
    void stopMeansNoFurtherCallback();
    void stopFromInsideCallback();
    void restartFromInsideCallback();
    void startTwiceAndStopWhenStopped();
    void queueLongerThanASecondFails();
};

void VirtualAdapter::cleanup()
{
    IR_ReceiveStop(kDevice);
    inbox.take();
    otherInbox.take();
}

void VirtualAdapter::unopenedAdapterRefusesEverything()
{
    // Runs first: the adapter has not been opened yet.
    int raw[] = {500, 500, 500};
    everySendFails(kCh3, raw);
    QVERIFY(IR_ReceiveStart(kDevice, kD5, collect) != 0);
}

void VirtualAdapter::enumeration()
{
    QCOMPARE(Device_Scan(0), 1);
    QVERIFY(Device_Open(0) != 0);
    QVERIFY(Device_Open(0) != 0); // opening an open adapter succeeds again
    QCOMPARE(Device_Open(1), static_cast<unsigned char>(0));
    QCOMPARE(Device_Open(9), static_cast<unsigned char>(0));
    QCOMPARE(Device_Open(-1), static_cast<unsigned char>(0));
}

void VirtualAdapter::badArgumentsFail()
{
    QVERIFY(Device_Open(0) != 0);
    // One more value than a LIRC write takes.
    int raw[irlimits::kMaxSendValues + 1];
    std::fill(std::begin(raw), std::end(raw), 100);
    // Channel masks: none, above 15, negative; an adapter that is not there.
    for (int mask : {0, 1 << 16, -1, int(0x80000000u)})
        everySendFails(mask, raw);
    QVERIFY(IR_NEC_Send(1, kCh3, 1, 2, 1) != 0);
    QVERIFY(IR_ReceiveStart(1, kD5, collect) != 0);
    QVERIFY(IR_ReceiveStop(1) != 0);
    // Carrier outside 10..100 kHz.
    for (int kHz : {9, 101, 0, -38}) {
        QVERIFY(IR_SendProtocol(kDevice, kCh3, kHz, sendData(3, 0, 32)) != 0);
        QVERIFY(IR_SendRaw(kDevice, kCh3, kHz, raw, 3) != 0);
    }
    // Fields the quick-send protocols cannot carry.
    QVERIFY(IR_ITT_Send(kDevice, kCh3, 16, 0) != 0);
    QVERIFY(IR_ITT_Send(kDevice, kCh3, 0, 64) != 0);
    QVERIFY(IR_NRC17_Send(kDevice, kCh3, 0, 16, 0) != 0);
    QVERIFY(IR_NRC17_Send(kDevice, kCh3, 0, 0, 254) != 0);
    QVERIFY(IR_RCA_Send(kDevice, kCh3, 16, 0) != 0);
    // UNUSED, PRONTO, outside the catalogue, bit counts that do not fit.
    for (const IRSendData &d :
        {sendData(0, 0, 32), sendData(16, 0, 32), sendData(18, 0, 32), sendData(-1, 0, 32),
            sendData(3, 0, 16), sendData(4, 0, 32), sendData(1, 0, 32), sendData(17, 0x011F, 32)})
        QVERIFY2(IR_SendProtocol(kDevice, kCh3, kCarrier, d) != 0,
            qPrintable(QString::number(d.protocol)));
    // Raw: count outside 1..1024, a value of 0 or less, no array, marks and
    // spaces of more than 500 ms (the limits of a LIRC write).
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 0) != 0);
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, raw, irlimits::kMaxSendValues + 1) != 0);
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, raw, -1) != 0);
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, nullptr, 3) != 0);
    int zero[] = {500, 0, 500};
    int negative[] = {500, -500, 500};
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, zero, 3) != 0);
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, negative, 3) != 0);
    int overLong[] = {250000, 1, 250000, 1000};
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, overLong, 3) != 0);
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, overLong, 4) != 0);
    // Reception: exactly one channel bit, and a callback.
    QVERIFY(IR_ReceiveStart(kDevice, 0, collect) != 0);
    QVERIFY(IR_ReceiveStart(kDevice, 0x03, collect) != 0);
    QVERIFY(IR_ReceiveStart(kDevice, 0xFF, collect) != 0);
    QVERIFY(IR_ReceiveStart(kDevice, kD5, nullptr) != 0);
    // Nothing of the above reached the air.
    QVERIFY(IR_ReceiveStart(kDevice, kD5, collect) == 0);
    QVERIFY(inbox.waitFor(1, kQuietWait).empty());
}

void VirtualAdapter::sendOnCh3ReceiveOnD5()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    const auto before = std::chrono::steady_clock::now();
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 0x04, 0x08, 1), 0);
    const auto got = inbox.waitFor(1, kFrameWait);
    QCOMPARE(got.size(), size_t(1));
    const Received &r = got[0];
    QVERIFY(r.thread != std::this_thread::get_id());
    QCOMPARE(r.device, 0);
    QCOMPARE(r.channel, kChannel5);
    QCOMPARE(r.type, 3);
    QCOMPARE(r.value, 0x20DF10EFu);
    QCOMPARE(r.bits, 32);
    QCOMPARE(withoutSilence(r.raw), ticksOf(ircodec::necFrame(4, 8, true)));
    // The frame plays in real time: 68 ms on the air.
    QVERIFY(std::chrono::steady_clock::now() - before >= 68ms);
    // The silence before it: from the start of reception, in 50 us ticks.
    QVERIFY(r.raw[0] >= 0 && r.raw[0] < 20000);
    // The plain-bytes flag: address and command where the complements were.
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 0xAA, 0x55, 0), 0);
    const auto plain = inbox.waitFor(2, kFrameWait);
    QCOMPARE(plain.size(), size_t(2));
    QCOMPARE(plain[1].value, ircodec::necFrame(0xAA, 0x55, false).value);
    QVERIFY(plain[1].raw[0] >= 39937 / ircodec::kTickUs);
}

void VirtualAdapter::necHoldToRepeat()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 0x12, 0x34, 1), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, 1 << 15), 0);
    const auto got = inbox.waitFor(3, kFrameWait);
    QCOMPARE(got.size(), size_t(3));
    QCOMPARE(got[0].type, 3);
    QCOMPARE(got[0].value, ircodec::necFrame(0x12, 0x34, true).value);
    for (int i : {1, 2}) {
        QCOMPARE(got[i].type, 3);
        QCOMPARE(got[i].value, 0xFFFFFFFFu);
        QCOMPARE(got[i].bits, 0);
        QCOMPARE(withoutSilence(got[i].raw), (std::vector<int>{180, 45, 11}));
    }
}

void VirtualAdapter::quickSendFrames()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    QCOMPARE(IR_ITT_Send(kDevice, kCh3, 5, 0x2A), 0);
    QCOMPARE(IR_JVC_Send(kDevice, kCh3, 1, 0x59, 0x35), 0);
    QCOMPARE(IR_JVC_Send(kDevice, kCh3, 0, 0x59, 0x35), 0);
    QCOMPARE(IR_NRC17_Send(kDevice, kCh3, 254, 255, 255), 0);
    QCOMPARE(IR_NRC17_Send(kDevice, kCh3, 0x5C, 6, 1), 0);
    QCOMPARE(IR_RCA_Send(kDevice, kCh3, 0xA, 0x68), 0);
    const auto got = inbox.waitFor(6, kFrameWait);
    QCOMPARE(got.size(), size_t(6));
    // ITT, NRC17 and RCA have no catalogue identifier: UNKNOWN, with the
    // frame's timings.
    const std::vector<std::pair<size_t, ircodec::Frame>> unknown
        = {{0, *ircodec::ittFrame(5, 0x2A)}, {3, *ircodec::nrc17Frame(254, 15, 15)},
            {4, *ircodec::nrc17Frame(0x5C, 6, 1)}, {5, *ircodec::rcaFrame(0xA, 0x68)}};
    for (const auto &[index, frame] : unknown) {
        QCOMPARE(got[index].type, -1);
        QCOMPARE(got[index].value, 0u);
        QCOMPARE(got[index].bits, 0);
        QCOMPARE(withoutSilence(got[index].raw), ticksOf(frame));
    }
    QCOMPARE(got[1].type, 6);
    QCOMPARE(got[1].value, 0x9AACu);
    QCOMPARE(got[1].bits, 16);
    QCOMPARE(got[2].type, 6);
    QCOMPARE(got[2].value, 0xFFFFFFFFu);
    QCOMPARE(withoutSilence(got[2].raw), ticksOf(ircodec::jvcFrame(0x59, 0x35, false)));
}

void VirtualAdapter::catalogueFrames()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
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
            QCOMPARE(inbox.waitFor(i, kFrameWait).size(), i);
        QVERIFY2(IR_SendProtocol(kDevice, kCh3, kCarrier, cases[i].sent) == 0,
            qPrintable(QString::number(cases[i].sent.protocol)));
    }
    const auto got = inbox.waitFor(count, kFrameWait);
    // One callback per frame: SHARP's echo half is not reported again.
    QCOMPARE(got.size(), count);
    QVERIFY(inbox.waitFor(count + 1, kQuietWait).size() == count);
    for (size_t i = 0; i < count; ++i) {
        const QByteArray which = QByteArray::number(cases[i].sent.protocol);
        QVERIFY2(got[i].type == cases[i].sent.protocol, which.constData());
        QVERIFY2(got[i].value == cases[i].value, which.constData());
        QVERIFY2(got[i].bits == cases[i].bits, which.constData());
        if (cases[i].sent.protocol == 5 || cases[i].sent.protocol == 14)
            QVERIFY2(got[i].address == cases[i].address, which.constData());
        QVERIFY2(got[i].raw.size() >= 4, which.constData());
    }
}

void VirtualAdapter::rawTimings()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    // An NEC frame typed as raw microseconds decodes as NEC; a trailing
    // space is allowed.
    const auto bursts = ircodec::encode(ircodec::necFrame(0x10, 0x20, true));
    std::vector<int> timings((*bursts)[0].durations.begin(), (*bursts)[0].durations.end());
    timings.push_back(30000);
    QCOMPARE(IR_SendRaw(kDevice, kCh3, kCarrier, timings.data(), int(timings.size())), 0);
    // Three values that no protocol knows, and the largest raw frame, which
    // comes back whole: the silence before it and its 1023 durations.
    int three[] = {900, 450, 560};
    QCOMPARE(IR_SendRaw(kDevice, kCh3, kCarrier, three, 3), 0);
    std::vector<int> longest(irlimits::kMaxSendValues, 300);
    QCOMPARE(IR_SendRaw(kDevice, kCh3, kCarrier, longest.data(), irlimits::kMaxSendValues), 0);
    const auto got = inbox.waitFor(3, kFrameWait);
    QCOMPARE(got.size(), size_t(3));
    QCOMPARE(got[0].type, 3);
    QCOMPARE(got[0].value, ircodec::necFrame(0x10, 0x20, true).value);
    QCOMPARE(got[1].type, -1);
    QCOMPARE(withoutSilence(got[1].raw), (std::vector<int>{18, 9, 11}));
    QCOMPARE(got[2].type, -1);
    QCOMPARE(withoutSilence(got[2].raw),
        std::vector<int>(irlimits::kMaxSendValues - 1, 300 / ircodec::kTickUs));
}

void VirtualAdapter::stopMeansNoFurtherCallback()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 1, 1, 1), 0);
    QCOMPARE(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    // A frame under way when reception stops is never reported.
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 2, 2, 1), 0);
    QCOMPARE(IR_NEC_Send(kDevice, kCh3, 3, 3, 1), 0);
    std::this_thread::sleep_for(50ms);
    QCOMPARE(IR_ReceiveStop(kDevice), 0);
    const size_t atStop = inbox.take().size();
    QVERIFY(atStop <= 1);
    QVERIFY(inbox.waitFor(1, kQuietWait + 200ms).empty());
}

void VirtualAdapter::stopFromInsideCallback()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collectAndStop), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    QCOMPARE(inbox.waitFor(2, kQuietWait).size(), size_t(1));
    // Reception starts again afterwards.
    inbox.take();
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(inbox.waitFor(1, kFrameWait).size(), size_t(1));
}

void VirtualAdapter::restartFromInsideCallback()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collectAndRestart), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    QCOMPARE(inbox.waitFor(1, kFrameWait).size(), size_t(1));
    const auto other = otherInbox.waitFor(1, kFrameWait);
    QCOMPARE(other.size(), size_t(1));
    QCOMPARE(other[0].channel, 2);
    QCOMPARE(inbox.waitFor(2, kQuietWait).size(), size_t(1));
}

void VirtualAdapter::startTwiceAndStopWhenStopped()
{
    QVERIFY(Device_Open(0) != 0);
    QCOMPARE(IR_ReceiveStop(kDevice), 0);
    QCOMPARE(IR_ReceiveStop(kDevice), 0);
    QCOMPARE(IR_ReceiveStart(kDevice, kD5, collect), 0);
    // A second start replaces the first: new channel, new callback.
    QCOMPARE(IR_ReceiveStart(kDevice, 1 << 7, collectOther), 0);
    QCOMPARE(IR_NEC_SendRepeat(kDevice, kCh3), 0);
    const auto other = otherInbox.waitFor(1, kFrameWait);
    QCOMPARE(other.size(), size_t(1));
    QCOMPARE(other[0].channel, 7);
    QVERIFY(inbox.waitFor(1, kQuietWait).empty());
    QCOMPARE(IR_ReceiveStop(kDevice), 0);
    QCOMPARE(IR_ReceiveStop(kDevice), 0);
}

void VirtualAdapter::queueLongerThanASecondFails()
{
    QVERIFY(Device_Open(0) != 0);
    // Each NEC frame takes 108 ms of air: about ten fit in a second.
    int accepted = 0;
    while (accepted < 30 && IR_NEC_Send(kDevice, kCh3, 1, 2, 1) == 0)
        ++accepted;
    QVERIFY2(accepted >= 9 && accepted <= 12, qPrintable(QString::number(accepted)));
    QVERIFY(IR_NEC_SendRepeat(kDevice, kCh3) != 0);
    int raw[] = {500};
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 1) != 0);
    // A single message longer than the whole queue may be is refused too:
    // here through the silence after it.
    std::this_thread::sleep_for(1300ms);
    int longSilence[] = {500, 1200000};
    QVERIFY(IR_SendRaw(kDevice, kCh3, kCarrier, longSilence, 2) != 0);
    QCOMPARE(IR_SendRaw(kDevice, kCh3, kCarrier, raw, 1), 0);
}

QTEST_APPLESS_MAIN(VirtualAdapter)
#include "tst_virtual_adapter.moc"

// Sending on a LIRC device: the kernel's limits on one write, carrier and
// transmitter mask ioctls, receive-only devices and the back-pressure rule.
#include "fakekernel.h"
#include "lirc_device.h"

#include <QtTest>

#include <linux/lirc.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using korvex_lirc::LircDevice;
using korvex_lirc::toPulseFrame;

constexpr auto kWait = 5000ms;
constexpr uint32_t kSender
    = LIRC_CAN_SEND_PULSE | LIRC_CAN_SET_SEND_CARRIER | LIRC_CAN_SET_TRANSMITTER_MASK;
constexpr int kEmitters = 4;
const std::string kPath = "/dev/lirc0";

ircodec::Bursts burstOf(std::vector<int32_t> durations, int32_t gap = 20000)
{
    return {{std::move(durations), gap}};
}

class LircSend : public QObject
{
    Q_OBJECT

private slots:
    void pulseFrameLimits();
    void burstsJoinWithTheirGaps();
    void carrierInHzAndMaskBeforeTheWrite();
    void maskNamingAMissingEmitterFails();
    void refusedMaskAtSendTimeSendsNothing();
    void devicesThatCannotChoose();
    void receiveOnlyAndUnopenedDevicesFail();
    void backPressure();
};

void LircSend::pulseFrameLimits()
{
    // The kernel's limits on one write, which the fake kernel models too: an
    // odd count of at most 1024 values, none 0, at most 500 ms in all.
    struct Case
    {
        const char *name;
        std::vector<int32_t> values;
        bool accepted;
    };
    const Case cases[] = {
        {"1023 values", std::vector<int32_t>(1023, 100), true},
        {"1025 values", std::vector<int32_t>(1025, 100), false},
        {"an even count", {100, 100}, false},
        {"500 ms in all", {250000, 1, 249999}, true},
        {"over 500 ms", {250000, 2, 249999}, false},
        {"a zero", {100, 0, 100}, false},
    };
    for (const Case &c : cases) {
        const std::vector<uint32_t> written(c.values.begin(), c.values.end());
        QVERIFY2(toPulseFrame(burstOf(c.values)).has_value() == c.accepted, c.name);
        QVERIFY2(
            fake::writeAccepted(written.data(), written.size() * sizeof(uint32_t)) == c.accepted,
            c.name);
    }
    // Nothing to send, and negative values.
    QVERIFY(!toPulseFrame({}));
    QVERIFY(!toPulseFrame(burstOf({100, -5, 100})));
}

void LircSend::burstsJoinWithTheirGaps()
{
    const auto frame = toPulseFrame({{{100, 200, 300}, 5000}, {{400}, 7000}});
    QVERIFY(frame);
    QVERIFY(frame->values == (std::vector<uint32_t>{100, 200, 300, 5000, 400}));
    QCOMPARE(frame->durationUs, int64_t(6000));
    QCOMPARE(frame->gapAfterUs, int64_t(7000));
}

korvex::Transmission transmission(const ircodec::Frame &frame, unsigned mask, int hz)
{
    korvex::Transmission t;
    t.channelMask = mask;
    t.carrierHz = hz;
    t.bursts = *ircodec::encode(frame);
    return t;
}

std::vector<uint32_t> valuesOf(const korvex::Transmission &t)
{
    return toPulseFrame(t.bursts)->values;
}

using fake::Opened;

void LircSend::carrierInHzAndMaskBeforeTheWrite()
{
    Opened d({kSender, fake::emitters(kEmitters), 0});
    QVERIFY(d.opened);
    const auto nec = transmission(ircodec::necFrame(0x12, 0x34, true), 0x5, 38000);
    QVERIFY(d.device.transmit(nec));
    const auto writes = d.record->waitWrites(1, kWait);
    QCOMPARE(writes.size(), size_t(1));
    QVERIFY(writes[0] == valuesOf(nec));
    QVERIFY(d.record->setsOf(LIRC_SET_SEND_MODE) == std::vector<uint32_t>{LIRC_MODE_PULSE});
    QVERIFY(d.record->setsOf(LIRC_SET_SEND_CARRIER) == std::vector<uint32_t>{38000});
    // The probe for the emitter count, then the frame's mask.
    QVERIFY(
        d.record->setsOf(LIRC_SET_TRANSMITTER_MASK) == (std::vector<uint32_t>{0xFFFFFFFFu, 0x5}));
}

void LircSend::maskNamingAMissingEmitterFails()
{
    Opened d({kSender, fake::emitters(kEmitters), 0});
    QVERIFY(!d.device.transmit(transmission(ircodec::necRepeatFrame(), 1u << kEmitters, 38000)));
    QVERIFY(
        d.device.transmit(transmission(ircodec::necRepeatFrame(), 1u << (kEmitters - 1), 38000)));
    QCOMPARE(d.record->waitWrites(1, kWait).size(), size_t(1));
}

void LircSend::refusedMaskAtSendTimeSendsNothing()
{
    // The count is unknown (the probe fails); mask 2 is then refused with a
    // positive answer or with -1, mask 1 accepted: only mask 1's frame goes.
    for (int refusal : {3, -1}) {
        auto answer = [refusal](uint32_t mask) { return mask == 1 ? 0 : mask == 2 ? refusal : -1; };
        Opened d({kSender, answer, 0});
        const auto first = transmission(ircodec::necFrame(1, 1, true), 2, 38000);
        const auto second = transmission(ircodec::necFrame(2, 2, true), 1, 38000);
        QVERIFY(d.device.transmit(first));
        QVERIFY(d.device.transmit(second));
        // In order: once the second frame is written, the first is done with.
        const auto writes = d.record->waitWrites(1, kWait);
        QVERIFY2(writes.size() == 1, qPrintable(QString("refusal %1").arg(refusal)));
        QVERIFY(writes[0] == valuesOf(second));
    }
}

void LircSend::devicesThatCannotChoose()
{
    // No mask or carrier control: the frame goes out without those ioctls;
    // no carrier (ITT) leaves the device's carrier alone.
    Opened plain({LIRC_CAN_SEND_PULSE, nullptr, 0});
    QVERIFY(plain.device.transmit(transmission(ircodec::necRepeatFrame(), 0x8000, 38000)));
    QCOMPARE(plain.record->waitWrites(1, kWait).size(), size_t(1));
    QVERIFY(plain.record->setsOf(LIRC_SET_TRANSMITTER_MASK).empty());
    QVERIFY(plain.record->setsOf(LIRC_SET_SEND_CARRIER).empty());

    Opened itt({kSender, fake::emitters(kEmitters), 0});
    QVERIFY(itt.device.transmit(transmission(*ircodec::ittFrame(1, 2), 1, 0)));
    QCOMPARE(itt.record->waitWrites(1, kWait).size(), size_t(1));
    QVERIFY(itt.record->setsOf(LIRC_SET_SEND_CARRIER).empty());
}

void LircSend::receiveOnlyAndUnopenedDevicesFail()
{
    Opened receiver({LIRC_CAN_REC_MODE2, nullptr, 0});
    QVERIFY(receiver.opened);
    QVERIFY(!receiver.device.transmit(transmission(ircodec::necRepeatFrame(), 1, 38000)));

    fake::Device fake = fake::makeDevice({kSender, nullptr, 0});
    LircDevice unopened(kPath, fake::openerFor(kPath, fake.kernel, ENOENT));
    QVERIFY(!unopened.isOpen());
    QVERIFY(!unopened.transmit(transmission(ircodec::necRepeatFrame(), 1, 38000)));
    // A frame beyond the kernel's limits fails before anything is queued.
    Opened sender({kSender, fake::emitters(kEmitters), 0});
    korvex::Transmission tooLong;
    tooLong.channelMask = 1;
    tooLong.bursts = burstOf({300000, 100, 300000});
    QVERIFY(!sender.device.transmit(tooLong));
}

void LircSend::backPressure()
{
    Opened d({kSender, fake::emitters(kEmitters), 0});
    d.record->closeGate();
    const auto nec = transmission(ircodec::necFrame(7, 9, true), 1, 38000);
    QVERIFY(d.device.transmit(nec));
    QVERIFY(d.record->waitWriteEntered(kWait));
    // The first frame is on the air (its write blocks); the rest wait. Sends
    // succeed until more than a second of frames waits.
    const auto frame = toPulseFrame(nec.bursts);
    const int64_t length = frame->durationUs + frame->gapAfterUs;
    const int64_t expected = korvex::kMaxBacklogUs / length + 1;
    int64_t accepted = 0;
    while (accepted <= expected && d.device.transmit(nec))
        ++accepted;
    d.record->openGate();
    QCOMPARE(accepted, expected);
    const auto writes = d.record->waitWrites(static_cast<size_t>(accepted + 1), 10000ms);
    QCOMPARE(static_cast<int64_t>(writes.size()), accepted + 1);
}

} // namespace

QTEST_APPLESS_MAIN(LircSend)
#include "tst_lirc_send.moc"

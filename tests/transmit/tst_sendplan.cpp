// Which operation each recorded frame takes when it is sent again, at which
// carrier, and how long after the frame before it.
#include "ircodec.h"
#include "sendplan.h"

#include <QTest>

namespace {

irfiles::Signal frame(int32_t type, uint32_t value, int bits, std::vector<int32_t> durations,
    int32_t carrierHz = 0, int64_t silenceUs = 0)
{
    irfiles::Signal s;
    s.decoded.decodeType = type;
    s.decoded.value = value;
    s.decoded.bits = bits;
    s.durations = std::move(durations);
    s.carrierHz = carrierHz;
    s.silenceBeforeUs = silenceUs;
    return s;
}

} // namespace

class TestSendPlan : public QObject
{
    Q_OBJECT

private slots:
    void operations()
    {
        using Op = sendplan::Operation;
        const std::vector<irfiles::Signal> frames{
            frame(3, 0x20DF10EF, 32, {9000}, 38000), // NEC: by protocol
            frame(3, 0xFFFFFFFF, 0, {9000}, 38000),  // NEC repeat code
            frame(6, 0xFFFFFFFF, 0, {527}, 38000),   // JVC repeat: raw
            frame(1, 0x175, 12, {889}, 36000),       // RC5: by protocol
            frame(1, 0x175, 13, {889}, 36000),       // RC5 with 13 bits: not one
            frame(16, 0x1, 32, {100}, 40000),        // PRONTO has no frame
            frame(-1, 0, 0, {100, 200, 300}, 0),     // unknown, no carrier
            frame(-1, 0, 0, {100}, 455000),          // beyond an adapter's carriers
        };
        const auto steps = sendplan::plan(frames, 40);
        QCOMPARE(steps.size(), frames.size());
        const std::vector<Op> ops{
            Op::Protocol, Op::NecRepeat, Op::Raw, Op::Protocol, Op::Raw, Op::Raw, Op::Raw, Op::Raw};
        const std::vector<int> carriers{38, 38, 38, 36, 36, 40, 40, 40};
        for (size_t i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].operation, ops[i]);
            QCOMPARE(steps[i].carrierKHz, carriers[i]);
        }
        QCOMPARE(steps[0].data.protocol, 3);
        QCOMPARE(steps[0].data.value, 0x20DF10EFu);
        QCOMPARE(steps[0].data.bits, 32);
        QCOMPARE(steps[3].data.value, 0x175u);
        QCOMPARE(steps[6].durations, (std::vector<int>{100, 200, 300}));
    }

    void spacing()
    {
        // Each frame starts after the one before has gone out and its own
        // recorded silence has passed; a silence not recorded is the usual
        // lead-out, a long one is cut to a second.
        const std::vector<irfiles::Signal> frames{
            frame(-1, 0, 0, {1000, 500, 1000}, 38000, 5000000),
            frame(-1, 0, 0, {2000}, 38000, 30000),
            frame(-1, 0, 0, {3000}, 38000, 0),
            frame(-1, 0, 0, {100}, 38000, 7000000),
        };
        const auto steps = sendplan::plan(frames, 38);
        QCOMPARE(steps[0].delayMs, 0);
        QCOMPARE(steps[1].delayMs, 3 + 30);
        QCOMPARE(steps[2].delayMs, 2 + int(irfiles::kLeadOutUs / 1000));
        QCOMPARE(steps[3].delayMs, 3 + int(sendplan::kMaxGapUs / 1000));
        QVERIFY(sendplan::plan({}, 38).empty());
    }
};

QTEST_MAIN(TestSendPlan)
#include "tst_sendplan.moc"

// Which operation each recorded frame takes when it is sent again, at which
// carrier, how long after the frame before it, and which frames no adapter
// call can carry, with the reason the user is given.
#include "ircodec.h"
#include "irlimits.h"
#include "sendplan.h"

#include <QTest>

#include <numeric>

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

ircodec::Durations encoded(const ircodec::Frame &f)
{
    return ircodec::encode(f)->front().durations;
}

int64_t lengthUs(const ircodec::Durations &d)
{
    return std::accumulate(d.begin(), d.end(), int64_t{0});
}

int ceilMs(int64_t us)
{
    return static_cast<int>((us + 999) / 1000);
}

// Frames one after another in one recording, each after its silence.
ircodec::Durations recording(
    const std::vector<ircodec::Durations> &frames, const std::vector<int32_t> &silences)
{
    ircodec::Durations all = frames.front();
    for (size_t i = 1; i < frames.size(); ++i) {
        all.push_back(silences[i - 1]);
        all.insert(all.end(), frames[i].begin(), frames[i].end());
    }
    return all;
}

} // namespace

class TestSendPlan : public QObject
{
    Q_OBJECT

private slots:
    void operations()
    {
        using Op = sendplan::Operation;
        const ircodec::Durations ditto = encoded(ircodec::necRepeatFrame());
        const std::vector<irfiles::Signal> frames{
            frame(3, 0x20DF10EF, 32, {9000}, 38000), // NEC: by protocol
            frame(3, 0xFFFFFFFF, 0, {9000}, 38000),  // NEC repeat code
            frame(3, 0xFFFFFFFF, 32, ditto, 38000),  // shown as REPEAT, whatever its bits
            frame(3, 0xFFFFFFFF, 16, ditto, 38000),  // likewise
            frame(7, 0xFFFFFFFF, 32, {4500}, 38000), // SAMSUNG ditto: as recorded
            frame(6, 0xFFFFFFFF, 0, {527}, 38000),   // JVC repeat: raw
            frame(1, 0x175, 12, {889}, 36000),       // RC5: by protocol
            frame(1, 0x175, 13, {889}, 36000),       // RC5 with 13 bits: not one
            frame(16, 0x1, 32, {100}, 40000),        // PRONTO has no frame
            frame(-1, 0, 0, {100, 200, 300}, 0),     // unknown, no carrier
            frame(-1, 0, 0, {100}, 455000),          // beyond an adapter's carriers
            frame(4, 0xFFFFFFFF, 32, {2400}, 40000), // SONY has no repeat code: its value
        };
        const auto steps = sendplan::plan(frames, 40);
        QCOMPARE(steps.size(), frames.size());
        const std::vector<Op> ops{Op::Protocol, Op::NecRepeat, Op::NecRepeat, Op::NecRepeat,
            Op::Raw, Op::Raw, Op::Protocol, Op::Raw, Op::Raw, Op::Raw, Op::Raw, Op::Raw};
        const std::vector<int> carriers{38, 38, 38, 38, 38, 38, 36, 36, 40, 40, 40, 40};
        for (size_t i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].operation, ops[i]);
            QCOMPARE(steps[i].carrierKHz, carriers[i]);
            QCOMPARE(steps[i].recording, i);
            QCOMPARE(steps[i].frames, 1);
            QVERIFY(steps[i].refusal.empty());
        }
        QCOMPARE(steps[0].data.protocol, 3);
        QCOMPARE(steps[0].data.value, 0x20DF10EFu);
        QCOMPARE(steps[0].data.bits, 32);
        QCOMPARE(steps[6].data.value, 0x175u);
        QCOMPARE(steps[4].durations, (std::vector<int>{4500}));
        QCOMPARE(steps[9].durations, (std::vector<int>{100, 200, 300}));
    }

    void spacing()
    {
        // Each frame starts after the one before has gone out and its own
        // recorded silence has passed; a silence not recorded is the usual
        // lead-out, a long one is cut to a second. A frame sent by protocol
        // is on the air as long as the protocol makes it.
        const std::vector<irfiles::Signal> frames{
            frame(-1, 0, 0, {1000, 500, 1000}, 38000, 5000000),
            frame(-1, 0, 0, {2000}, 38000, 30000),
            frame(-1, 0, 0, {3000}, 38000, 0),
            frame(3, 0x20DF10EF, 32, {9000}, 38000, 7000000),
            frame(3, 0xFFFFFFFF, 0, {9000}, 38000, 40000),
            frame(-1, 0, 0, {100}, 38000, 50000),
        };
        const auto steps = sendplan::plan(frames, 38);
        QCOMPARE(steps[0].delayMs, 0);
        QCOMPARE(steps[1].delayMs, 3 + 30);
        QCOMPARE(steps[2].delayMs, 2 + int(irfiles::kLeadOutUs / 1000));
        QCOMPARE(steps[3].delayMs, 3 + int(sendplan::kMaxGapUs / 1000));
        // NEC: 9 + 4.5 ms, 32 bits of 1.125 ms plus 1.125 ms for each of
        // the 16 ones, the 563 us stop mark.
        const int64_t necUs = 13500 + 32 * 1125 + 16 * 1125 + 563;
        QCOMPARE(steps[3].onAirUs, necUs);
        QCOMPARE(steps[4].delayMs, ceilMs(necUs + 40000));
        // The repeat code: 9 ms, 2.25 ms, the stop mark.
        QCOMPARE(steps[5].delayMs, ceilMs(9000 + 2250 + 563 + 50000));
        int64_t total = 100 / 1000 + 1;
        for (const sendplan::Step &step : steps)
            total += step.delayMs;
        QCOMPARE(sendplan::sequenceMs(steps), total);
        QVERIFY(sendplan::plan({}, 38).empty());
        QCOMPARE(sendplan::sequenceMs({}), int64_t{0});
    }

    void recordingsOfSeveralFrames()
    {
        // An NEC frame and two repeat codes, recorded as one: each frame is a
        // step of its own, raw as recorded, after its recorded silence, even
        // where the recording as a whole decoded as its first frame.
        const ircodec::Durations nec = encoded(ircodec::necFrame(0x04, 0x08, true));
        const ircodec::Durations ditto = encoded(ircodec::necRepeatFrame());
        const int32_t firstGap = 40000, secondGap = 96000;
        irfiles::Signal pressed = frame(3, 0x20DF10EF, 32,
            recording({nec, ditto, ditto}, {firstGap, secondGap}), 38000, 250000);
        // Then a single frame, and a second recording of two unknown blocks.
        const irfiles::Signal single = frame(-1, 0, 0, {500, 600, 700}, 36000, 70000);
        const irfiles::Signal blocks
            = frame(-1, 0, 0, {3000, 1000, 500, 20000, 3000, 1000, 500}, 0, 0);
        const auto steps = sendplan::plan({pressed, single, blocks}, 40);
        QCOMPARE(steps.size(), size_t(6));

        const std::vector<size_t> recordings{0, 0, 0, 1, 2, 2};
        const std::vector<int> frameIndex{0, 1, 2, 0, 0, 1};
        const std::vector<int> frameCount{3, 3, 3, 1, 2, 2};
        const std::vector<ircodec::Durations> sent{
            nec, ditto, ditto, {500, 600, 700}, {3000, 1000, 500}, {3000, 1000, 500}};
        for (size_t i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].operation, sendplan::Operation::Raw);
            QCOMPARE(steps[i].recording, recordings[i]);
            QCOMPARE(steps[i].frame, frameIndex[i]);
            QCOMPARE(steps[i].frames, frameCount[i]);
            QCOMPARE(steps[i].durations, std::vector<int>(sent[i].begin(), sent[i].end()));
            QCOMPARE(steps[i].onAirUs, lengthUs(sent[i]));
            QVERIFY(steps[i].refusal.empty());
        }
        const std::vector<int> carriers{38, 38, 38, 36, 40, 40};
        const std::vector<int> delays{0, ceilMs(lengthUs(nec) + firstGap),
            ceilMs(lengthUs(ditto) + secondGap), ceilMs(lengthUs(ditto) + 70000),
            ceilMs(1800 + irfiles::kLeadOutUs), ceilMs(4500 + 20000)};
        for (size_t i = 0; i < steps.size(); ++i) {
            QCOMPARE(steps[i].carrierKHz, carriers[i]);
            QCOMPARE(steps[i].delayMs, delays[i]);
        }

        // Fifty repeat codes after the frame: 5.5 s, ten times what one call
        // carries, and every frame of it goes.
        pressed.durations = nec;
        for (int i = 0; i < 50; ++i)
            pressed.durations = recording({pressed.durations, ditto}, {96000});
        const auto held = sendplan::plan({pressed}, 38);
        QCOMPARE(held.size(), size_t(51));
        QVERIFY(sendplan::refused(held).empty());
        QVERIFY(lengthUs(pressed.durations) > 10 * irlimits::kMaxSendDurationUs);
        // The whole recording, each of the 51 frames' time rounded up to the
        // millisecond.
        const int64_t heldMs = sendplan::sequenceMs(held);
        QVERIFY(heldMs >= ceilMs(lengthUs(pressed.durations)));
        QVERIFY(heldMs <= ceilMs(lengthUs(pressed.durations)) + 51);
    }

    void refusals_data()
    {
        QTest::addColumn<std::vector<int32_t>>("durations");
        QTest::addColumn<QString>("refusal");
        // A frame of 5.6 s without a silence to cut it at.
        std::vector<int32_t> held;
        for (int i = 0; i < 349; ++i)
            held.insert(held.end(), {8000, 8000});
        held.push_back(16000);
        QTest::newRow("5.6 s") << held << "frame 5.6 s long; the adapter takes at most 0.5 s";
        QTest::newRow("just over the length") << std::vector<int32_t>{
            250000, 1, 250000} << "frame 0.501 s long; the adapter takes at most 0.5 s";
        QTest::newRow("the whole length") << std::vector<int32_t>{250000, 1, 249999} << "";
        QTest::newRow("a value too many") << std::vector<int32_t>(1025, 100)
                                          << "frame of 1025 values; the adapter takes at most 1024";
        QTest::newRow("every value") << std::vector<int32_t>(1023, 100) << "";
        // Longer than the splitter keeps of a frame.
        QTest::newRow("cut") << std::vector<int32_t>(9001, 50)
                             << "frame of more than 4095 values; the adapter takes at most 1024";
        QTest::newRow("a zero") << std::vector<int32_t>{
            560, 0, 560} << "a duration of 0 us; the adapter takes durations of at least 1 us";
        QTest::newRow("nothing") << std::vector<int32_t>{} << "no durations recorded to send";
    }

    void refusals()
    {
        // Raw frames beyond what one IR_SendRaw call carries are refused,
        // each with its reason; a frame sent by protocol or as a repeat code
        // needs no durations.
        QFETCH(std::vector<int32_t>, durations);
        QFETCH(QString, refusal);
        const ircodec::Durations ok{9000, 4500, 560};
        const auto steps
            = sendplan::plan({frame(-1, 0, 0, ok), frame(-1, 0, 0, durations),
                                 frame(3, 0x20DF10EF, 32, {}), frame(3, 0xFFFFFFFF, 32, {})},
                38);
        QCOMPARE(steps.size(), size_t(4));
        QCOMPARE(QString::fromStdString(steps[1].refusal), refusal);
        const auto refused = sendplan::refused(steps);
        QCOMPARE(refused.size(), size_t(refusal.isEmpty() ? 0 : 1));
        if (!refused.empty())
            QCOMPARE(refused.front(), &steps[1]);
        QCOMPARE(steps[2].operation, sendplan::Operation::Protocol);
        QCOMPARE(steps[3].operation, sendplan::Operation::NecRepeat);
    }

    void where()
    {
        sendplan::Step step;
        QCOMPARE(sendplan::where(step, 5), std::string("row 5"));
        step.frame = 2;
        step.frames = 4;
        QCOMPARE(sendplan::where(step, 17271), std::string("row 17271, frame 3 of 4"));
    }
};

QTEST_MAIN(TestSendPlan)
#include "tst_sendplan.moc"

// Inputs the fuzzers found faults with, as plain tests of the codec.
#include "ircodec.h"

#include <QtTest>

#include <climits>

namespace {

// The durations of a frame's first burst as encode() sends them; empty when
// it cannot be sent.
ircodec::Durations firstBurst(const ircodec::Frame &frame)
{
    const auto bursts = ircodec::encode(frame);
    return bursts && !bursts->empty() ? bursts->front().durations : ircodec::Durations{};
}

// The durations from index `from` on 15 % shorter, as a fast remote sends them.
ircodec::Durations fifteenPercentFast(ircodec::Durations durations, size_t from = 0)
{
    for (size_t i = from; i < durations.size(); ++i)
        durations[i] = durations[i] * 85 / 100;
    return durations;
}

} // namespace

class TestCodecFindings : public QObject
{
    Q_OBJECT

private slots:
    void ticksOfTheLongestDurations();
    void ambiguousBiphaseStreamEnds();
    void biphaseDurationNearerRunFirst();
    void fastFrameIsNotAnotherProtocolsExcess();
};

// The segmenter clamps a stuck mark to INT32_MAX microseconds; rounding it
// to ticks must not overflow.
void TestCodecFindings::ticksOfTheLongestDurations()
{
    const ircodec::Durations durations = {INT32_MAX, 1, INT32_MAX - ircodec::kTickUs / 2};
    const std::vector<int32_t> ticks = ircodec::toTicks(0, durations);
    QCOMPARE(ticks.size(), durations.size() + 1);
    for (size_t i = 0; i < durations.size(); ++i) {
        const int64_t rounded = (int64_t{durations[i]} + ircodec::kTickUs / 2) / ircodec::kTickUs;
        QCOMPARE(int64_t{ticks[i + 1]}, std::max<int64_t>(rounded, 1));
    }
}

// A leader followed by many durations that each fit two bi-phase run
// lengths: trying every expansion would take exponential time. The decoders
// give up instead, and still decode real frames.
void TestCodecFindings::ambiguousBiphaseStreamEnds()
{
    const ircodec::Frame frame = ircodec::makeFrame(ircodec::Protocol::Rc6, 0x0040C, 20);
    const ircodec::Durations real = firstBurst(frame);
    QVERIFY(!real.empty());
    QCOMPARE(ircodec::decode(real), std::optional<ircodec::Frame>(frame));

    // Between two RC6 units (889 us) and three (1333 us), within 25 % of both.
    constexpr int32_t twoOrThree = 1050;
    constexpr int ambiguousCount = 120;
    ircodec::Durations stream(real.begin(), real.begin() + 2); // the leader
    stream.insert(stream.end(), ambiguousCount, twoOrThree);
    stream.push_back(real.back());
    QVERIFY(!ircodec::decodeAs(ircodec::Protocol::Rc6, stream));
    QVERIFY(!ircodec::decode(stream));
}

// An RC6 frame (mode 0, toggle 0, data 1111) 15 % fast: the 3-unit mark
// after the toggle bit comes out at 1133 us, which fits 2 units as well once
// marks may run long, and read as 2 units it makes a shorter frame that is
// valid too. A duration that fits two run lengths is read as the nearer one
// first.
void TestCodecFindings::biphaseDurationNearerRunFirst()
{
    const ircodec::Frame frame = ircodec::makeFrame(ircodec::Protocol::Rc6, 0xF, 8);
    const ircodec::Durations fast = fifteenPercentFast(firstBurst(frame));
    QVERIFY(!fast.empty());
    QCOMPARE(ircodec::decode(fast), std::optional<ircodec::Frame>(frame));
}

// A SANYO frame whose bits came out 15 % fast: its 850 us marks shrink to
// SAMSUNG's marks as a receiver lengthens them, but its spaces stay longer
// than SAMSUNG's instead of shorter. Not a SAMSUNG frame.
void TestCodecFindings::fastFrameIsNotAnotherProtocolsExcess()
{
    const ircodec::Frame frame = ircodec::makeFrame(ircodec::Protocol::Sanyo, 0x42A24031, 32);
    const ircodec::Durations fast = fifteenPercentFast(firstBurst(frame), 2); // the header as sent
    QVERIFY(!fast.empty());
    QVERIFY(!ircodec::decodeAs(ircodec::Protocol::Samsung, fast));
    QCOMPARE(ircodec::decode(fast), std::optional<ircodec::Frame>(frame));
}

QTEST_APPLESS_MAIN(TestCodecFindings)
#include "tst_codecfindings.moc"

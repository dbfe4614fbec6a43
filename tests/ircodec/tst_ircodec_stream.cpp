// Splitting a stream of marks and spaces into frames, raw ticks as the
// adapter reports them, what a frame is reported as, and SHARP echo pairing.
#include "irtest.h"

#include <QtTest>

using ircodec::Capture;
using ircodec::Durations;
using ircodec::Frame;
using ircodec::Protocol;

namespace {

// The bursts of frames as one stream: each burst followed by its gap.
Durations stream(const std::vector<Frame> &frames, int64_t leading)
{
    Durations out;
    if (leading > 0) {
        // A stream starts with a mark; the leading silence is a zero mark.
        out.push_back(0);
        out.push_back(static_cast<int32_t>(leading));
    }
    for (const Frame &f : frames) {
        const auto bursts = ircodec::encode(f);
        for (const ircodec::Burst &b : *bursts) {
            out.insert(out.end(), b.durations.begin(), b.durations.end());
            out.push_back(b.gap);
        }
    }
    return out;
}

} // namespace

class Stream : public QObject
{
    Q_OBJECT

private slots:
    void splitsAtLongSilences();
    void keepsLongestInFrameSpaces();
    void idleEndsFrameInRealTime();
    void overlongFrameIsCut();
    void trailingShortSpaceIsNotPartOfFrame();
    void ticks();
    void reports();
    void sharpEchoReportedOnce();
};

void Stream::splitsAtLongSilences()
{
    const std::vector<Frame> frames = {ircodec::necFrame(1, 2, true), ircodec::necRepeatFrame(),
        Frame{Protocol::Sony, 0xA90, 0, 12, false}, *ircodec::ittFrame(5, 0x2A)};
    Durations s = stream(frames, 0);
    const auto captures = ircodec::segment(s);
    QCOMPARE(captures.size(), frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        QCOMPARE(captures[i].durations, (*ircodec::encode(frames[i]))[0].durations);
        QVERIFY(!captures[i].overflow);
        QCOMPARE(*ircodec::decode(captures[i].durations), frames[i]);
    }
    // The silence before each frame is the previous frame's gap.
    QCOMPARE(captures[0].silenceBefore, int64_t(0));
    QCOMPARE(captures[1].silenceBefore, int64_t((*ircodec::encode(frames[0]))[0].gap));
}

void Stream::keepsLongestInFrameSpaces()
{
    // DISH's 6.1 ms lead-in space, 25 % long, stays inside its frame.
    Durations dish = (*ircodec::encode(Frame{Protocol::Dish, 0x1234, 0, 16, false}))[0].durations;
    dish[1] = dish[1] * 5 / 4;
    dish.push_back(30000);
    const auto captures = ircodec::segment(dish);
    QCOMPARE(captures.size(), size_t(1));
    QCOMPARE(captures[0].durations.size(), size_t(35));
    // A space just below the frame silence joins; one at it splits.
    QCOMPARE(ircodec::segment({500, ircodec::kFrameSilenceUs - 1, 500}).size(), size_t(1));
    QCOMPARE(ircodec::segment({500, ircodec::kFrameSilenceUs, 500}).size(), size_t(2));
}

void Stream::idleEndsFrameInRealTime()
{
    ircodec::Segmenter seg;
    QVERIFY(!seg.space(123456));
    QVERIFY(!seg.mark(9000));
    QVERIFY(!seg.space(2250));
    QVERIFY(!seg.mark(563));
    QVERIFY(seg.inFrame());
    QVERIFY(!seg.idle(ircodec::kFrameSilenceUs - 1));
    const auto done = seg.idle(ircodec::kFrameSilenceUs);
    QVERIFY(done);
    QCOMPARE(done->silenceBefore, int64_t(123456));
    QCOMPARE(done->durations, (Durations{9000, 2250, 563}));
    QVERIFY(!seg.inFrame());
    // The whole silence arrives later; it is the next frame's silence.
    QVERIFY(!seg.space(96000));
    QVERIFY(!seg.mark(500));
    const auto next = seg.idle(ircodec::kFrameSilenceUs);
    QVERIFY(next);
    QCOMPARE(next->silenceBefore, int64_t(96000));
    QCOMPARE(next->durations, Durations{500});
}

void Stream::overlongFrameIsCut()
{
    // An air conditioner's 600 durations come whole; a frame beyond the
    // limit is cut there and marked, and the next frame is whole again.
    for (const int pairs : {300, irlimits::kMaxReceivedDurations / 2 + 100}) {
        Durations s;
        for (int i = 0; i < pairs; ++i) {
            s.push_back(300);
            s.push_back(300);
        }
        s.back() = 50000;
        s.push_back(500);
        const auto captures = ircodec::segment(s);
        const bool cut = 2 * pairs - 1 > irlimits::kMaxReceivedDurations;
        QCOMPARE(captures.size(), size_t(2));
        QCOMPARE(int(captures[0].durations.size()),
            cut ? irlimits::kMaxReceivedDurations : 2 * pairs - 1);
        QCOMPARE(captures[0].overflow, cut);
        QCOMPARE(captures[1].durations, Durations{500});
        QVERIFY(!captures[1].overflow);
    }
}

void Stream::trailingShortSpaceIsNotPartOfFrame()
{
    const auto captures = ircodec::segment({500, 600, 700, 800});
    QCOMPARE(captures.size(), size_t(1));
    QCOMPARE(captures[0].durations, (Durations{500, 600, 700}));
}

void Stream::ticks()
{
    const auto t = ircodec::toTicks(100000, {9000, 4500, 563, 562, 1687, 10, 24});
    QCOMPARE(t, (std::vector<int32_t>{2000, 180, 90, 11, 11, 34, 1, 1}));
    // Long silences saturate; negative ones count as none.
    QCOMPARE(ircodec::toTicks(int64_t(1) << 40, {})[0], ircodec::kMaxSilenceTicks);
    QCOMPARE(ircodec::toTicks(-5, {})[0], 0);
    // Never more than the limit.
    const Durations many(irlimits::kMaxReceivedDurations + 100, 500);
    const auto capped = ircodec::toTicks(0, many);
    QCOMPARE(int(capped.size()), irlimits::kMaxReceivedRawValues);
}

void Stream::reports()
{
    const auto nec = ircodec::report(ircodec::necFrame(4, 8, true));
    QCOMPARE(nec.decodeType, 3);
    QCOMPARE(nec.value, 0x20DF10EFu);
    QCOMPARE(nec.bits, 32);
    const auto repeat = ircodec::report(ircodec::decode({9000, 2250, 563}));
    QCOMPARE(repeat.decodeType, 3);
    QCOMPARE(repeat.value, 0xFFFFFFFFu);
    QCOMPARE(repeat.bits, 0);
    const auto sharp = ircodec::report(Frame{Protocol::Sharp, 0x11, 3, 15, false});
    QCOMPARE(sharp.decodeType, 14);
    QCOMPARE(sharp.address, 3u);
    // No catalogue identifier, or nothing decoded: UNKNOWN and no data.
    for (const std::optional<Frame> &f : {std::optional<Frame>(*ircodec::ittFrame(5, 5)),
             std::optional<Frame>(*ircodec::nrc17Frame(1, 2, 3)),
             std::optional<Frame>(*ircodec::rcaFrame(1, 2)), std::optional<Frame>()}) {
        const auto r = ircodec::report(f);
        QCOMPARE(r.decodeType, -1);
        QCOMPARE(r.value, 0u);
        QCOMPARE(r.address, 0u);
        QCOMPARE(r.bits, 0);
    }
}

void Stream::sharpEchoReportedOnce()
{
    const Frame sharp{Protocol::Sharp, 0x11, 3, 15, false};
    const auto bursts = *ircodec::encode(sharp);
    const auto firstHalf = ircodec::decode(bursts[0].durations);
    const auto echo = ircodec::decode(bursts[1].durations);
    QVERIFY(firstHalf && echo);
    QVERIFY(ircodec::isEchoOf(firstHalf, *echo, bursts[0].gap));
    // Too late, another command, or nothing before: reported on its own.
    QVERIFY(!ircodec::isEchoOf(firstHalf, *echo, 200000));
    Frame other = *echo;
    other.value = 0x12;
    QVERIFY(!ircodec::isEchoOf(firstHalf, other, bursts[0].gap));
    QVERIFY(!ircodec::isEchoOf(std::nullopt, *echo, bursts[0].gap));
    QVERIFY(!ircodec::isEchoOf(echo, *echo, bursts[0].gap));
    QVERIFY(!ircodec::isEchoOf(firstHalf, *firstHalf, bursts[0].gap));
}

QTEST_APPLESS_MAIN(Stream)
#include "tst_ircodec_stream.moc"

// The encoders' timings against the published numbers: headers, bit
// lengths, repeat forms and the worked examples of each protocol.
#include "codecs.h"
#include "irtest.h"

#include <QtTest>

using ircodec::Durations;
using ircodec::Frame;
using ircodec::makeFrame;
using ircodec::Protocol;

namespace {

ircodec::Bursts encoded(const Frame &f)
{
    const auto bursts = ircodec::encode(f);
    return bursts ? *bursts : ircodec::Bursts{};
}

Durations first(const Frame &f)
{
    const auto bursts = encoded(f);
    return bursts.empty() ? Durations{} : bursts[0].durations;
}

// The leading durations of `d` equal `prefix`, each within `rounding` us
// (for units that are not whole microseconds).
bool startsWith(const Durations &d, const Durations &prefix, int rounding = 0)
{
    return d.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), d.begin(),
            [&](int32_t a, int32_t b) { return std::abs(a - b) <= rounding; });
}

} // namespace

class Timings : public QObject
{
    Q_OBJECT

private slots:
    void workedExamples_data();
    void workedExamples();
    void exactFrames_data();
    void exactFrames();
    void necRepeatPeriod();
    void jvcRepeatLeavesOutHeader();
    void sharpEchoFollows40ms();
    void legoCopySpacing();
    void rc6DoubleWidthToggle();
    void rc6Mode6With32DataBits();
};

void Timings::workedExamples_data()
{
    QTest::addColumn<Frame>("frame");
    QTest::addColumn<Durations>("prefix");
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("length"); // microseconds from first mark to last mark's end
    QTest::addColumn<int>("slack");  // rounding of fractional units

    using P = Protocol;
    QTest::newRow("NEC 4/8") << ircodec::necFrame(4, 8, true)
                             << Durations{9000, 4500, 563, 562, 563, 562, 563, 1687, 563, 562} << 67
                             << 68063 << 1;
    QTest::newRow("JVC 0x59/0x35")
        << ircodec::jvcFrame(0x59, 0x35, true)
        << Durations{8432, 4216, 527, 1581, 527, 527, 527, 527, 527, 1581, 527, 1581} << 35 << 38471
        << 0;
    QTest::newRow("RCA 0xA/0x68") << *ircodec::rcaFrame(0xA, 0x68)
                                  << Durations{4000, 4000, 500, 2000, 500, 1000, 500, 2000, 500,
                                         1000, 500, 1000, 500, 2000, 500, 2000}
                                  << 51 << 56500 << 0;
    QTest::newRow("RC5 5/0x35") << makeFrame(P::Rc5, 0x175, 12)
                                << Durations{889, 889, 1778, 889, 889, 889, 889, 1778, 1778, 1778,
                                       889, 889, 889, 889, 1778, 1778, 1778, 1778, 889}
                                << 19 << 24003 << 0;
    QTest::newRow("RC6 4/0x0C") << makeFrame(P::Rc6, 0x0040C,
        20) << Durations{2667, 889, 444, 889, 444, 444, 444, 444, 444, 889, 889, 444, 444, 444}
                                << 39 << 23111 << 1;
    QTest::newRow("SONY 12 0x15/1") << makeFrame(P::Sony, 0xA90, 12)
                                    << Durations{2400, 600, 1200, 600, 600, 600, 1200, 600, 600,
                                           600, 1200, 600, 600, 600, 600, 600, 1200, 600, 600}
                                    << 25 << 19200 << 0;
    QTest::newRow("PANASONIC TV power")
        << makeFrame(P::Panasonic, 0x0100BCBD, 48, 0x4004)
        << Durations{3456, 1728, 432, 432, 432, 1296, 432, 432, 432, 432, 432, 432} << 99 << 0
        << -1;
    QTest::newRow("SAMSUNG 7/2") << makeFrame(P::Samsung, 0xE0E040BF,
        32) << Durations{4500, 4500, 560, 1690, 560, 1690, 560, 1690, 560, 560, 560, 560}
                                 << 67 << 61220 << 0;
    QTest::newRow("WHYNTER 0x87654321")
        << makeFrame(P::Whynter, 0x87654321, 32)
        << Durations{750, 750, 3000, 3000, 750, 2250, 750, 750, 750, 750, 750, 750} << 69 << 0
        << -1;
    QTest::newRow("LG 0xF17776B") << makeFrame(P::Lg, 0xF17776B,
        28) << Durations{8000, 4000, 600, 1600, 600, 1600, 600, 1600, 600, 1600, 600, 550}
                                  << 59 << 0 << -1;
    QTest::newRow("MITSUBISHI 0x23/0x45") << makeFrame(P::Mitsubishi,
        ircodec::reverseBits(0x23, 8) << 8 | ircodec::reverseBits(0x45, 8),
        16) << Durations{300, 2100, 300, 2100, 300, 900, 300, 900, 300, 900, 300, 2100}
                                          << 33 << 0 << -1;
    // DISH F = 0x1A, S = 0, D = 1; the value's bits are the complement of
    // the published bit names, a 1 being the shorter space.
    const uint32_t dishNames
        = 0x1Au << 10 | ircodec::reverseBits(0, 5) << 5 | ircodec::reverseBits(1, 5);
    QTest::newRow("DISH 0x1A/0/1")
        << makeFrame(P::Dish, ~dishNames & 0xFFFF, 16)
        << Durations{406, 6090, 406, 1624, 406, 2842, 406, 2842, 406, 1624, 406, 2842} << 35 << 0
        << -1;
    QTest::newRow("SHARP 3/0x11") << makeFrame(P::Sharp, 0x11, 15,
        3) << Durations{320, 1680, 320, 1680, 320, 680, 320, 680, 320, 680, 320, 1680}
                                  << 31 << 20320 << 0;
    // DENON address 2, command 0x11: the leading 0 bit, then the value.
    QTest::newRow("DENON 2/0x11") << makeFrame(P::Denon, 0b1000'10001000'00,
        14) << Durations{264, 792, 264, 1848, 264, 792, 264, 792, 264, 792, 264, 1848}
                                  << 31 << 0 << -1;
    QTest::newRow("LEGO_PF 0x011F")
        << makeFrame(P::LegoPf, 0x011F, 16)
        << Durations{158, 1026, 158, 263, 158, 263, 158, 263, 158, 263, 158, 263, 158, 263, 158,
               263, 158, 553, 158, 263, 158, 263, 158, 263, 158, 553, 158, 553, 158, 553, 158, 553,
               158, 553, 158}
        << 35 << 9818 << 0;
    QTest::newRow("ITT 5/0x2A") << *ircodec::ittFrame(5, 0x2A)
                                << Durations{10, 290, 10, 90, 10, 190, 10, 90, 10, 190, 10, 90, 10,
                                       90, 10, 190, 10, 90, 10, 190, 10, 90, 10, 190, 10, 290, 10}
                                << 27 << 2210 << 0;
    QTest::newRow("NRC17 0x5C/6/1")
        << *ircodec::nrc17Frame(0x5C, 6, 1)
        << Durations{500, 2500, 500, 1000, 500, 500, 1000, 500, 500, 500, 500, 1000, 1000, 1000,
               500, 500, 1000, 500, 500, 1000, 1000, 1000, 500, 500, 500, 500, 500}
        << 27 << 20000 << 0;
    QTest::newRow("NRC17 start/stop")
        << *ircodec::nrc17Frame(254, 255, 255)
        << Durations{500, 2500, 500, 1000, 1000, 500, 500, 500} << 33 << 19500 << 0;
    QTest::newRow("AIWA command 0x21")
        << makeFrame(P::AiwaRcT501, 0x21, 42) << Durations{8800, 4400, 550, 550, 550, 1650} << 87
        << 0 << -1;
}

void Timings::workedExamples()
{
    QFETCH(Frame, frame);
    QFETCH(Durations, prefix);
    QFETCH(int, entries);
    QFETCH(int, length);
    QFETCH(int, slack);
    const Durations d = first(frame);
    QVERIFY2(startsWith(d, prefix, slack > 0 ? 1 : 0), qPrintable(irtest::describe(d)));
    QCOMPARE(int(d.size()), entries);
    if (slack >= 0)
        QVERIFY2(std::abs(irtest::total(d) - length) <= slack,
            qPrintable(QString::number(irtest::total(d))));
}

void Timings::exactFrames_data()
{
    QTest::addColumn<Frame>("frame");
    QTest::addColumn<Durations>("durations");
    QTest::newRow("NEC ditto") << ircodec::necRepeatFrame() << Durations{9000, 2250, 563};
    QTest::newRow("SAMSUNG ditto")
        << makeFrame(Protocol::Samsung, 0, 32, 0, true) << Durations{4500, 2250, 560};
    // RC5 and NRC17 worked examples in full.
    QTest::newRow("RC5 0x175") << makeFrame(Protocol::Rc5, 0x175, 12)
                               << Durations{889, 889, 1778, 889, 889, 889, 889, 1778, 1778, 1778,
                                      889, 889, 889, 889, 1778, 1778, 1778, 1778, 889};
}

void Timings::exactFrames()
{
    QFETCH(Frame, frame);
    QFETCH(Durations, durations);
    QCOMPARE(first(frame), durations);
}

void Timings::necRepeatPeriod()
{
    // Frame plus lead-out fits the 108 ms repeat period, for data and ditto.
    const auto data = encoded(ircodec::necFrame(0, 0, true));
    const auto ditto = encoded(ircodec::necRepeatFrame());
    QCOMPARE(data.size(), size_t(1));
    QCOMPARE(ditto.size(), size_t(1));
    QVERIFY(irtest::total(data[0].durations) + data[0].gap <= 108000);
    QVERIFY(irtest::total(ditto[0].durations) + ditto[0].gap <= 108000);
    QVERIFY(data[0].gap > ircodec::kFrameSilenceUs);
}

void Timings::jvcRepeatLeavesOutHeader()
{
    const Durations withHeader = first(ircodec::jvcFrame(0x59, 0x35, true));
    const Durations repeat = first(ircodec::jvcFrame(0x59, 0x35, false));
    QCOMPARE(int(repeat.size()), 33);
    QCOMPARE(Durations(withHeader.begin() + 2, withHeader.end()), repeat);
    QCOMPARE(irtest::total(repeat), int64_t(25823));
    // The first frame plus its lead-out leaves room in a 55 ms repeat
    // period once the shorter headerless frames follow.
    const auto bursts = encoded(ircodec::jvcFrame(0xFF, 0xFF, false));
    QVERIFY(irtest::total(bursts[0].durations) + bursts[0].gap < 55000);
}

void Timings::sharpEchoFollows40ms()
{
    const auto bursts = encoded(makeFrame(Protocol::Sharp, 0x11, 15, 3));
    QCOMPARE(bursts.size(), size_t(2));
    QCOMPARE(bursts[0].gap, 40000);
    QCOMPARE(irtest::total(bursts[1].durations), int64_t(24320));
    QVERIFY(startsWith(
        bursts[1].durations, {320, 1680, 320, 1680, 320, 680, 320, 680, 320, 680, 320, 680}));
}

void Timings::legoCopySpacing()
{
    // Channel 1 (coded 0) and channel 4 (coded 3): copies 2 and 3 start 5
    // message lengths (16 ms) after the previous one, copies 4 and 5 after
    // 6 + 2 x channel lengths.
    struct
    {
        uint32_t message;
        int channel;
    } const examples[] = {{0x011F, 1}, {0x3FFC, 4}};
    for (const auto &example : examples) {
        const auto bursts = encoded(makeFrame(Protocol::LegoPf, example.message, 16, 0, true));
        QCOMPARE(bursts.size(), size_t(5));
        const int64_t length = irtest::total(bursts[0].durations);
        for (int copy = 0; copy < 4; ++copy) {
            const int64_t spacing = length + bursts[copy].gap;
            const int64_t expected = copy < 2 ? 5 * 16000 : (6 + 2 * example.channel) * 16000;
            QCOMPARE(spacing, expected);
        }
        QVERIFY(bursts[4].gap > ircodec::kFrameSilenceUs);
    }
}

void Timings::rc6DoubleWidthToggle()
{
    // Toggle set, data 0: after the start bit and mode 000, the toggle's
    // double-width mark and space merge with their neighbours into 3 units.
    const Durations d = first(makeFrame(Protocol::Rc6, 0x10000, 20));
    QVERIFY2(startsWith(d, {2667, 889, 444, 889, 444, 444, 444, 444, 1333, 1333, 444}, 1),
        qPrintable(irtest::describe(d)));
}

void Timings::rc6Mode6With32DataBits()
{
    // Mode 6, toggle 0, data 0x800F040C: after the start bit, mode 110 ends
    // in a space that merges with the toggle's double-width space, and the
    // toggle's mark with the first data bit's (1). 8 units of leader, 2 of
    // start bit, 6 of mode, 4 of toggle, 64 of data: 84 units.
    const uint64_t onAir = uint64_t{6} << 33 | 0x800F040Cu;
    const Durations d = ircodec::rc6Durations(onAir, 36);
    QVERIFY2(startsWith(d, {2667, 889, 444, 444, 444, 444, 444, 889, 444, 889, 1333, 889}, 1),
        qPrintable(irtest::describe(d)));
    QVERIFY2(
        std::abs(irtest::total(d) - 37333) <= 1, qPrintable(QString::number(irtest::total(d))));
    // The same layout as the sent frames: a 32-bit frame is the 36-bit one
    // without its last four data bits.
    const Durations shorter
        = first(makeFrame(Protocol::Rc6, static_cast<uint32_t>(onAir >> 4), 32));
    QCOMPARE(
        Durations(d.begin(), d.begin() + 20), Durations(shorter.begin(), shorter.begin() + 20));
}

QTEST_APPLESS_MAIN(Timings)
#include "tst_ircodec_timings.moc"

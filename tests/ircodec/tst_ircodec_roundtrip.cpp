// Every protocol: encode, disturb every duration by up to 20 %, or as a
// receiver module does (marks longer, spaces shorter), decode, and get the
// frame back; the tolerance's margins; field boundaries; frames that no
// protocol may carry; no protocol's frame accepted by another protocol's
// decoder, exact or as received.
#include "codecs.h"
#include "irreceiver.h"
#include "irtest.h"
#include "timing.h"

#include <QtTest>

using ircodec::Frame;
using ircodec::makeFrame;
using ircodec::Protocol;

Q_DECLARE_METATYPE(ircodec::Level)

namespace {

constexpr double kJitter = 0.20;
constexpr int kJitterRounds = 40;

// On top of a receiver's excess, every duration wanders by up to 5 %.
constexpr double kExcessJitter = 0.05;

// A frame as receivers deliver it: with their excess, exactly and wandering.
std::vector<ircodec::Durations> received(const ircodec::Durations &exact, std::mt19937 &random)
{
    const ircodec::Durations skewed = irreceiver::received(exact);
    std::vector<ircodec::Durations> forms = {skewed};
    for (int round = 0; round < kJitterRounds; ++round)
        forms.push_back(irtest::jitter(skewed, kExcessJitter, random));
    return forms;
}

// Every form a frame is decoded from: exact, each duration off by up to 20 %
// either way, and as receivers deliver it.
std::vector<ircodec::Durations> forms(const ircodec::Durations &exact, std::mt19937 &random)
{
    std::vector<ircodec::Durations> all = {exact};
    for (int round = 0; round < kJitterRounds; ++round)
        all.push_back(irtest::jitter(exact, kJitter, random));
    for (auto &form : received(exact, random))
        all.push_back(std::move(form));
    return all;
}

// Look-alikes once a receiver has distorted a frame. SANYO, which has no
// check and takes 12 to 32 bits, accepts an RCA frame whose marks came out
// 150 us long: header and spaces are within its margins either way. decode()
// must try the sender's protocol, which has a check, first.
struct Overlap
{
    Protocol sent;
    Protocol alsoTakenBy;
};
constexpr Overlap kDistortedOverlaps[] = {{Protocol::Rca, Protocol::Sanyo}};

bool knownOverlap(Protocol sent, Protocol other)
{
    for (const Overlap &o : kDistortedOverlaps)
        if (o.sent == sent && o.alsoTakenBy == other)
            return true;
    return false;
}

// Where decode() tries a protocol.
ptrdiff_t decodeRank(Protocol protocol)
{
    return &ircodec::codecFor(protocol) - ircodec::codecsBegin();
}

Frame repeatOf(Protocol protocol)
{
    return makeFrame(protocol, ircodec::kRepeatValue, 0, 0, true);
}

// An RC6 frame: 3 mode bits, toggle, then `dataBits` of data.
Frame rc6(uint32_t mode, uint32_t toggle, uint32_t data, int dataBits)
{
    return makeFrame(
        Protocol::Rc6, (mode << (dataBits + 1)) | (toggle << dataBits) | data, 4 + dataBits);
}

// Mode 6 with 32 data bits: 36 bits on the air, more than a value holds.
constexpr uint64_t kMode6 = 6;
constexpr int kLongRc6Bits = 36;
constexpr int kLongRc6DataBits = 32;

uint64_t longRc6(uint64_t toggle, uint32_t data)
{
    return kMode6 << (kLongRc6DataBits + 1) | toggle << kLongRc6DataBits | data;
}

Frame echoOf(Frame f)
{
    f.repeat = true;
    return f;
}

Frame withRepeat(Frame f, bool repeat)
{
    f.repeat = repeat;
    return f;
}

struct Case
{
    const char *name;
    Frame sent;
    std::vector<Frame> expected; // one decoded frame per burst
};

std::vector<Case> cases()
{
    using P = Protocol;
    const Frame sharpLow = makeFrame(P::Sharp, 0, 15, 0);
    const Frame sharpHigh = makeFrame(P::Sharp, 0xFF, 15, 0x1F);
    const Frame sharpExample = makeFrame(P::Sharp, 0x11, 15, 3);
    const Frame lego = makeFrame(P::LegoPf, 0x011F, 16);
    const Frame legoRepeated = withRepeat(makeFrame(P::LegoPf, 0x3FFC, 16), true);
    std::vector<Case> list = {
        {"NEC standard 0/0", ircodec::necFrame(0, 0, true), {}},
        {"NEC standard 255/255", ircodec::necFrame(255, 255, true), {}},
        {"NEC standard 4/8", ircodec::necFrame(0x04, 0x08, true), {}},
        {"NEC plain bytes 0xAA/0x55", ircodec::necFrame(0xAA, 0x55, false), {}},
        {"NEC plain bytes 255/255", ircodec::necFrame(255, 255, false), {}},
        {"NEC value 0", makeFrame(P::Nec, 0, 32), {}},
        {"NEC value all ones", makeFrame(P::Nec, 0xFFFFFFFF, 32), {}},
        {"NEC repeat", ircodec::necRepeatFrame(), {repeatOf(P::Nec)}},
        {"SAMSUNG 0xE0E040BF", makeFrame(P::Samsung, 0xE0E040BF, 32), {}},
        {"SAMSUNG 0", makeFrame(P::Samsung, 0, 32), {}},
        {"SAMSUNG all ones", makeFrame(P::Samsung, 0xFFFFFFFF, 32), {}},
        {"SAMSUNG repeat", repeatOf(P::Samsung), {repeatOf(P::Samsung)}},
        {"JVC 0/0", ircodec::jvcFrame(0, 0, true), {}},
        {"JVC 255/255", ircodec::jvcFrame(255, 255, true), {}},
        {"JVC 0x59/0x35", ircodec::jvcFrame(0x59, 0x35, true), {}},
        {"JVC headerless", ircodec::jvcFrame(0x59, 0x35, false), {repeatOf(P::Jvc)}},
        {"JVC headerless all ones", ircodec::jvcFrame(255, 255, false), {repeatOf(P::Jvc)}},
        {"ITT 0/0", *ircodec::ittFrame(0, 0), {}},
        {"ITT 15/63", *ircodec::ittFrame(15, 63), {}},
        {"ITT 5/0x2A", *ircodec::ittFrame(5, 0x2A), {}},
        {"NRC17 0/0/0", *ircodec::nrc17Frame(0, 0, 0), {}},
        {"NRC17 255/15/15", *ircodec::nrc17Frame(255, 15, 15), {}},
        {"NRC17 start/stop", *ircodec::nrc17Frame(254, 255, 255), {}},
        {"NRC17 0x5C/6/1", *ircodec::nrc17Frame(0x5C, 6, 1), {}},
        {"RCA 0/0", *ircodec::rcaFrame(0, 0), {}},
        {"RCA 15/255", *ircodec::rcaFrame(15, 255), {}},
        {"RCA 0xA/0x68", *ircodec::rcaFrame(0xA, 0x68), {}},
        {"RC5 0", makeFrame(P::Rc5, 0, 12), {}},
        {"RC5 all ones", makeFrame(P::Rc5, 0xFFF, 12), {}},
        {"RC5 0x175", makeFrame(P::Rc5, 0x175, 12), {}},
        {"RC6 mode 0 zero", makeFrame(P::Rc6, 0, 20), {}},
        {"RC6 mode 0 all ones", makeFrame(P::Rc6, 0xFFFFF, 20), {}},
        {"RC6 0x0040C", makeFrame(P::Rc6, 0x0040C, 20), {}},
        {"RC6 4 bits", makeFrame(P::Rc6, 0xF, 4), {}},
        {"RC6 32 bits", makeFrame(P::Rc6, 0x80000001, 32), {}},
        {"RC6 32 bits all ones", makeFrame(P::Rc6, 0xFFFFFFFF, 32), {}},
        {"RC6 24 bits", makeFrame(P::Rc6, 0x6A5A5A, 24), {}},
        {"RC6 mode 6, 16 data bits", rc6(6, 1, 0x1234, 16), {}},
        {"RC6 mode 6, 20 data bits", rc6(6, 0, 0xC0034, 20), {}},
        {"RC6 mode 6, 24 data bits", rc6(6, 1, 0xABCDEF, 24), {}},
        {"SONY 12 zero", makeFrame(P::Sony, 0, 12), {}},
        {"SONY 12 0xA90", makeFrame(P::Sony, 0xA90, 12), {}},
        {"SONY 15 all ones", makeFrame(P::Sony, 0x7FFF, 15), {}},
        {"SONY 20 all ones", makeFrame(P::Sony, 0xFFFFF, 20), {}},
        {"SONY 20 zero", makeFrame(P::Sony, 0, 20), {}},
        {"PANASONIC TV power", makeFrame(P::Panasonic, 0x0100BCBD, 48, 0x4004), {}},
        {"PANASONIC all ones", makeFrame(P::Panasonic, 0xFFFFFFFF, 48, 0xFFFF), {}},
        {"PANASONIC zero", makeFrame(P::Panasonic, 0, 48, 0), {}},
        {"PANASONIC 32 given", makeFrame(P::Panasonic, 0x12345678, 32, 0x4004),
            {makeFrame(P::Panasonic, 0x12345678, 48, 0x4004)}},
        {"WHYNTER 0x87654321", makeFrame(P::Whynter, 0x87654321, 32), {}},
        {"WHYNTER zero", makeFrame(P::Whynter, 0, 32), {}},
        {"WHYNTER all ones", makeFrame(P::Whynter, 0xFFFFFFFF, 32), {}},
        {"AIWA 0", makeFrame(P::AiwaRcT501, 0, 42), {}},
        {"AIWA 0xFF", makeFrame(P::AiwaRcT501, 0xFF, 42), {}},
        {"AIWA 8 given", makeFrame(P::AiwaRcT501, 0x21, 8), {makeFrame(P::AiwaRcT501, 0x21, 42)}},
        {"LG 0xF17776B", makeFrame(P::Lg, 0xF17776B, 28), {}},
        {"LG zero", makeFrame(P::Lg, 0, 28), {}},
        {"LG all ones", makeFrame(P::Lg, 0xFFFFFFF, 28), {}},
        {"SANYO 12 zero", makeFrame(P::Sanyo, 0, 12), {}},
        {"SANYO 12 all ones", makeFrame(P::Sanyo, 0xFFF, 12), {}},
        {"SANYO 20", makeFrame(P::Sanyo, 0x12345, 20), {}},
        {"SANYO 32 all ones", makeFrame(P::Sanyo, 0xFFFFFFFF, 32), {}},
        {"MITSUBISHI 16 zero", makeFrame(P::Mitsubishi, 0, 16), {}},
        {"MITSUBISHI 16 all ones", makeFrame(P::Mitsubishi, 0xFFFF, 16), {}},
        {"MITSUBISHI 24", makeFrame(P::Mitsubishi, 0xABCDEF, 24), {}},
        {"MITSUBISHI 32 all ones", makeFrame(P::Mitsubishi, 0xFFFFFFFF, 32), {}},
        {"DISH zero", makeFrame(P::Dish, 0, 16), {}},
        {"DISH all ones", makeFrame(P::Dish, 0xFFFF, 16), {}},
        {"DISH 0x1234", makeFrame(P::Dish, 0x1234, 16), {}},
        {"SHARP 0/0", sharpLow, {sharpLow, echoOf(sharpLow)}},
        {"SHARP 31/255", sharpHigh, {sharpHigh, echoOf(sharpHigh)}},
        {"SHARP 3/0x11", sharpExample, {sharpExample, echoOf(sharpExample)}},
        {"DENON zero", makeFrame(P::Denon, 0, 14), {}},
        {"DENON all ones", makeFrame(P::Denon, 0x3FFF, 14), {}},
        {"DENON control 11", makeFrame(P::Denon, 0x1233, 14), {}},
        {"DENON control 00", makeFrame(P::Denon, 0x2AA8, 14), {}},
        {"LEGO_PF 0x011F", lego, {}},
        {"LEGO_PF zero data", makeFrame(P::LegoPf, 0x000F, 16), {}},
        {"LEGO_PF all ones data", makeFrame(P::LegoPf, 0xFFF0, 16), {}},
        {"LEGO_PF five copies", legoRepeated,
            std::vector<Frame>(5, withRepeat(legoRepeated, false))},
    };
    for (Case &c : list)
        if (c.expected.empty())
            c.expected.push_back(c.sent);
    return list;
}

} // namespace

class RoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void toleranceMargins_data();
    void toleranceMargins();
    void stopMarkStretches();
    void edgesAgree_data();
    void edgesAgree();
    void everyProtocolCovered();
    void noProtocolTakenForAnother_data();
    void noProtocolTakenForAnother();
    void rc6With32DataBits_data();
    void rc6With32DataBits();
    void unsendableFramesRefused_data();
    void unsendableFramesRefused();
    void quickSendFieldRanges();
    void sendRecordMapping();
    void garbageDecodesToNothing();
};

void RoundTrip::roundTrip_data()
{
    QTest::addColumn<Frame>("sent");
    QTest::addColumn<std::vector<Frame>>("expected");
    for (const Case &c : cases())
        QTest::newRow(c.name) << c.sent << c.expected;
}

void RoundTrip::roundTrip()
{
    QFETCH(Frame, sent);
    QFETCH(std::vector<Frame>, expected);
    const auto bursts = ircodec::encode(sent);
    QVERIFY2(bursts, qPrintable(irtest::describe(sent)));
    QCOMPARE(bursts->size(), expected.size());
    std::mt19937 random(static_cast<unsigned>(qHash(QString(QTest::currentDataTag()))));
    for (size_t b = 0; b < bursts->size(); ++b) {
        const ircodec::Burst &burst = (*bursts)[b];
        QVERIFY(burst.durations.size() % 2 == 1); // starts and ends with a mark
        QVERIFY(burst.gap >= 2 * ircodec::kFrameSilenceUs);
        for (const ircodec::Durations &form : forms(burst.durations, random)) {
            const auto got = ircodec::decode(form);
            QVERIFY2(got, qPrintable("no decode: " + irtest::describe(form)));
            QVERIFY2(*got == expected[b],
                qPrintable(irtest::describe(*got) + " from " + irtest::describe(form)));
        }
    }
}

void RoundTrip::toleranceMargins_data()
{
    using L = ircodec::Level;
    QTest::addColumn<int>("nominal");
    QTest::addColumn<ircodec::Level>("level");
    QTest::addColumn<int>("lowest");  // the shortest duration that matches
    QTest::addColumn<int>("highest"); // the longest
    // 25 % either way, 250 us more on the excess's side.
    QTest::newRow("NEC bit mark") << 560 << L::Mark << 420 << 810;
    QTest::newRow("NEC bit space") << 560 << L::Space << 310 << 700;
    // At most half the nominal more: 300 us marks never reach JVC's 527.
    QTest::newRow("RC6 half-bit mark") << 444 << L::Mark << 333 << 666;
    QTest::newRow("RC6 half-bit space") << 444 << L::Space << 222 << 555;
    QTest::newRow("MITSUBISHI mark") << 300 << L::Mark << 200 << 450;
    // At least 100 us either way.
    QTest::newRow("LEGO_PF mark") << 158 << L::Mark << 58 << 258;
    // Long durations: 25 % is more than the excess.
    QTest::newRow("NEC header mark") << 9000 << L::Mark << 6750 << 11250;
    QTest::newRow("NEC header space") << 4500 << L::Space << 3375 << 5625;
    QTest::newRow("RC6 leader space") << 889 << L::Space << 639 << 1111;
}

void RoundTrip::toleranceMargins()
{
    QFETCH(int, nominal);
    QFETCH(ircodec::Level, level);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QVERIFY(ircodec::matches(lowest, nominal, level));
    QVERIFY(ircodec::matches(highest, nominal, level));
    QVERIFY(!ircodec::matches(lowest - 1, nominal, level));
    QVERIFY(!ircodec::matches(highest + 1, nominal, level));
}

// A frame's last mark may stretch to twice its nominal length (NEC-timed
// remotes end with 850 us marks), never shrink past a mark's margin.
void RoundTrip::stopMarkStretches()
{
    const auto nec = ircodec::encode(ircodec::necFrame(0xD2, 0x02, true));
    ircodec::Durations d = (*nec)[0].durations;
    const int32_t nominal = d.back();
    for (int32_t stop : {850, 2 * nominal, 423}) {
        d.back() = stop;
        QVERIFY2(ircodec::decodeAs(Protocol::Nec, d), qPrintable(QString::number(stop)));
    }
    for (int32_t stop : {2 * nominal + 1, 422}) {
        d.back() = stop;
        QVERIFY2(!ircodec::decodeAs(Protocol::Nec, d), qPrintable(QString::number(stop)));
    }
}

void RoundTrip::edgesAgree_data()
{
    using D = ircodec::Durations;
    QTest::addColumn<D>("measured");
    QTest::addColumn<D>("nominal");
    QTest::addColumn<bool>("agree");
    const D bit = {563, 562};
    QTest::newRow("within the usual margins") << D{700, 430} << bit << true;
    QTest::newRow("receiver excess") << D{735, 393} << bit << true;
    QTest::newRow("long mark, nominal space") << D{735, 562} << bit << false;
    QTest::newRow("long mark, long space") << D{735, 600} << bit << false;
    QTest::newRow("short space after a long mark") << D{700, 320} << bit << true;
    const D bits = {563, 562, 563};
    QTest::newRow("an early edge") << D{563, 320, 780} << bits << true;
    QTest::newRow("short space alone") << D{563, 320, 563} << bits << false;
}

void RoundTrip::edgesAgree()
{
    QFETCH(ircodec::Durations, measured);
    QFETCH(ircodec::Durations, nominal);
    QFETCH(bool, agree);
    QCOMPARE(ircodec::matchesAll(measured.data(), measured.size(), nominal.data()), agree);
}

void RoundTrip::everyProtocolCovered()
{
    std::vector<bool> seen(ircodec::kProtocolCount, false);
    for (const Case &c : cases())
        seen[static_cast<int>(c.sent.protocol)] = true;
    for (int p = 0; p < ircodec::kProtocolCount; ++p)
        QVERIFY2(seen[p], ircodec::name(static_cast<Protocol>(p)));
}

void RoundTrip::noProtocolTakenForAnother_data()
{
    roundTrip_data();
}

void RoundTrip::noProtocolTakenForAnother()
{
    QFETCH(Frame, sent);
    const auto bursts = ircodec::encode(sent);
    QVERIFY(bursts);
    std::mt19937 random(static_cast<unsigned>(qHash(QString(QTest::currentDataTag()))));
    for (const ircodec::Burst &burst : *bursts) {
        const auto distorted = received(burst.durations, random);
        for (int p = 0; p < ircodec::kProtocolCount; ++p) {
            const auto other = static_cast<Protocol>(p);
            if (other == sent.protocol)
                continue;
            QVERIFY2(!ircodec::decodeAs(other, burst.durations),
                qPrintable(QString("taken for ") + ircodec::name(other)));
            for (const ircodec::Durations &form : distorted) {
                if (!ircodec::decodeAs(other, form))
                    continue;
                QVERIFY2(knownOverlap(sent.protocol, other),
                    qPrintable(QString("distorted, taken for ") + ircodec::name(other) + ": "
                        + irtest::describe(form)));
                QVERIFY(decodeRank(sent.protocol) < decodeRank(other));
            }
        }
    }
}

void RoundTrip::rc6With32DataBits_data()
{
    QTest::addColumn<quint64>("onAir");
    QTest::addColumn<uint32_t>("data");
    // Media-centre bodies: 0x800F04xx, their own toggle in bit 15.
    QTest::newRow("media centre key") << quint64(longRc6(0, 0x800F040C)) << 0x800F040Cu;
    QTest::newRow("media centre toggled") << quint64(longRc6(0, 0x800F840C)) << 0x800F840Cu;
    QTest::newRow("trailer bit set") << quint64(longRc6(1, 0x800F0422)) << 0x800F0422u;
    QTest::newRow("data 0") << quint64(longRc6(0, 0)) << 0u;
    QTest::newRow("data all ones") << quint64(longRc6(1, 0xFFFFFFFF)) << 0xFFFFFFFFu;
}

void RoundTrip::rc6With32DataBits()
{
    QFETCH(quint64, onAir);
    QFETCH(uint32_t, data);
    const ircodec::Durations exact = ircodec::rc6Durations(onAir, kLongRc6Bits);
    QVERIFY(!exact.empty());
    const Frame want = makeFrame(Protocol::Rc6, data, kLongRc6Bits);
    std::mt19937 random(static_cast<unsigned>(qHash(QString(QTest::currentDataTag()))));
    for (const ircodec::Durations &form : forms(exact, random)) {
        const auto got = ircodec::decode(form);
        QVERIFY2(got && *got == want, qPrintable(irtest::describe(form)));
        for (int p = 0; p < ircodec::kProtocolCount; ++p)
            if (static_cast<Protocol>(p) != Protocol::Rc6)
                QVERIFY(!ircodec::decodeAs(static_cast<Protocol>(p), form));
    }
    const ircodec::Report report = ircodec::report(ircodec::decode(exact));
    QCOMPARE(report.decodeType, ircodec::catalogueId(Protocol::Rc6));
    QCOMPARE(report.value, data);
    QCOMPARE(report.bits, kLongRc6Bits);
    // Sent again, the frame is mode 6 with the toggle bit 0, the only 36-bit
    // frames in use; the data comes through whatever the toggle was.
    const auto sent = ircodec::encode(want);
    QVERIFY(sent);
    QCOMPARE(sent->front().durations, ircodec::rc6Durations(longRc6(0, data), kLongRc6Bits));
    QCOMPARE(*ircodec::decode(sent->front().durations), want);
    // Between 32 and 36 bits there is no layout.
    for (int bits = 33; bits < kLongRc6Bits; ++bits)
        QVERIFY(ircodec::rc6Durations(0, bits).empty());
}

void RoundTrip::unsendableFramesRefused_data()
{
    using P = Protocol;
    QTest::addColumn<Frame>("frame");
    QTest::newRow("NEC 31 bits") << makeFrame(P::Nec, 0, 31);
    QTest::newRow("NEC 0 bits") << makeFrame(P::Nec, 0, 0);
    QTest::newRow("NEC repeat 16 bits") << makeFrame(P::Nec, 0, 16, 0, true);
    QTest::newRow("SAMSUNG 33 bits") << makeFrame(P::Samsung, 0, 33);
    QTest::newRow("JVC 17 bits") << makeFrame(P::Jvc, 0, 17);
    QTest::newRow("JVC value too wide") << makeFrame(P::Jvc, 0x10000, 16);
    QTest::newRow("ITT 9 bits") << makeFrame(P::Itt, 0, 9);
    QTest::newRow("ITT value too wide") << makeFrame(P::Itt, 0x400, 10);
    QTest::newRow("NRC17 15 bits") << makeFrame(P::Nrc17, 0, 15);
    QTest::newRow("RCA without complement") << makeFrame(P::Rca, 0x000000, 24);
    QTest::newRow("RC5 11 bits") << makeFrame(P::Rc5, 0, 11);
    QTest::newRow("RC5 13 bits") << makeFrame(P::Rc5, 0, 13);
    QTest::newRow("RC5 value too wide") << makeFrame(P::Rc5, 0x1000, 12);
    QTest::newRow("RC6 3 bits") << makeFrame(P::Rc6, 0, 3);
    QTest::newRow("RC6 33 bits") << makeFrame(P::Rc6, 0, 33);
    QTest::newRow("RC6 value too wide") << makeFrame(P::Rc6, 0x100000, 20);
    QTest::newRow("SONY 13 bits") << makeFrame(P::Sony, 0, 13);
    QTest::newRow("SONY value too wide") << makeFrame(P::Sony, 0x1000, 12);
    QTest::newRow("PANASONIC 47 bits") << makeFrame(P::Panasonic, 0, 47);
    QTest::newRow("PANASONIC address too wide") << makeFrame(P::Panasonic, 0, 48, 0x10000);
    QTest::newRow("WHYNTER 31 bits") << makeFrame(P::Whynter, 0, 31);
    QTest::newRow("AIWA 32 bits") << makeFrame(P::AiwaRcT501, 0, 32);
    QTest::newRow("AIWA command too wide") << makeFrame(P::AiwaRcT501, 0x100, 42);
    QTest::newRow("LG 32 bits") << makeFrame(P::Lg, 0, 32);
    QTest::newRow("LG value too wide") << makeFrame(P::Lg, 0x10000000, 28);
    QTest::newRow("SANYO 11 bits") << makeFrame(P::Sanyo, 0, 11);
    QTest::newRow("SANYO 33 bits") << makeFrame(P::Sanyo, 0, 33);
    QTest::newRow("MITSUBISHI 15 bits") << makeFrame(P::Mitsubishi, 0, 15);
    QTest::newRow("MITSUBISHI value too wide") << makeFrame(P::Mitsubishi, 0x10000, 16);
    QTest::newRow("DISH value too wide") << makeFrame(P::Dish, 0x10000, 16);
    QTest::newRow("SHARP 13 bits") << makeFrame(P::Sharp, 0, 13);
    QTest::newRow("SHARP address too wide") << makeFrame(P::Sharp, 0, 15, 32);
    QTest::newRow("SHARP command too wide") << makeFrame(P::Sharp, 256, 15);
    QTest::newRow("DENON 15 bits") << makeFrame(P::Denon, 0, 15);
    QTest::newRow("DENON value too wide") << makeFrame(P::Denon, 0x4000, 14);
    QTest::newRow("DENON control 01") << makeFrame(P::Denon, 0x0001, 14);
    QTest::newRow("DENON control 10") << makeFrame(P::Denon, 0x0002, 14);
    QTest::newRow("LEGO_PF wrong check nibble") << makeFrame(P::LegoPf, 0x0110, 16);
    QTest::newRow("LEGO_PF 15 bits") << makeFrame(P::LegoPf, 0x011F, 15);
}

void RoundTrip::unsendableFramesRefused()
{
    QFETCH(Frame, frame);
    QVERIFY(!ircodec::encode(frame));
}

void RoundTrip::quickSendFieldRanges()
{
    QVERIFY(!ircodec::ittFrame(16, 0));
    QVERIFY(!ircodec::ittFrame(0, 64));
    QVERIFY(!ircodec::ittFrame(-1, 0));
    QVERIFY(!ircodec::nrc17Frame(256, 0, 0));
    QVERIFY(!ircodec::nrc17Frame(0, 16, 0));
    QVERIFY(!ircodec::nrc17Frame(0, 0, 254));
    QVERIFY(!ircodec::rcaFrame(16, 0));
    QVERIFY(!ircodec::rcaFrame(0, 256));
    // 255 in a 4-bit NRC17 field is the start/stop frame's all-ones field.
    QCOMPARE(ircodec::nrc17Frame(254, 255, 255)->value, ircodec::nrc17Frame(254, 15, 15)->value);
    // The NEC flag: plain bytes stand where the complements would be.
    const uint32_t standard = ircodec::necFrame(0x04, 0x08, true).value;
    const uint32_t plain = ircodec::necFrame(0x04, 0x08, false).value;
    QCOMPARE(standard, 0x20DF10EFu);
    QCOMPARE(plain, 0x20201010u);
    QCOMPARE(ircodec::jvcFrame(0x59, 0x35, true).value, 0x9AACu);
}

void RoundTrip::sendRecordMapping()
{
    for (int32_t id : {-2, -1, 0, 16, 18, 1000})
        QVERIFY2(!ircodec::fromSendRecord(id, 0, 0, 32, false), qPrintable(QString::number(id)));
    int sendable = 0;
    for (int32_t id = 1; id <= 17; ++id) {
        const auto f = ircodec::fromSendRecord(id, 0x11223344, 0xFFFF, 32, true);
        if (id == 16) {
            QVERIFY(!f);
            continue;
        }
        QVERIFY(f);
        ++sendable;
        QCOMPARE(ircodec::catalogueId(f->protocol), id);
        QCOMPARE(f->value, 0x11223344u);
        QCOMPARE(f->address, 0xFFFFu);
        QCOMPARE(f->bits, 32);
        QVERIFY(f->repeat);
    }
    QCOMPARE(sendable, 16);
    for (Protocol p : {Protocol::Itt, Protocol::Nrc17, Protocol::Rca})
        QCOMPARE(ircodec::catalogueId(p), -1);
}

void RoundTrip::garbageDecodesToNothing()
{
    QVERIFY(!ircodec::decode({}));
    QVERIFY(!ircodec::decode({500}));
    QVERIFY(!ircodec::decode({9000, 4500, 560}));
    // A standard NEC frame missing its last bit.
    auto bursts = ircodec::encode(ircodec::necFrame(1, 2, true));
    ircodec::Durations cut = (*bursts)[0].durations;
    cut.resize(cut.size() - 2);
    QVERIFY(!ircodec::decode(cut));
    // Every duration 40 % too long is beyond the tolerance.
    ircodec::Durations stretched;
    for (int32_t d : (*bursts)[0].durations)
        stretched.push_back(d * 14 / 10);
    QVERIFY(!ircodec::decode(stretched));
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> any(1, 20000);
    int decoded = 0;
    for (int i = 0; i < 2000; ++i) {
        ircodec::Durations noise(1 + 2 * (i % 60));
        for (int32_t &d : noise)
            d = any(random);
        decoded += ircodec::decode(noise) ? 1 : 0;
    }
    QCOMPARE(decoded, 0);
}

QTEST_APPLESS_MAIN(RoundTrip)
#include "tst_ircodec_roundtrip.moc"

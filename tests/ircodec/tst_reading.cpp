// Every reader of the reading table: its own frames read back, exact, off
// by a few percent and as receivers deliver them; where another protocol's
// reader also takes them, the rule picks the sender's, and the pair is a
// known one; noise and fragments stay unread; generic readings account for
// every duration; the texts; sequences of frames.
#include "irreceiver.h"
#include "irtest.h"
#include "pulse.h"
#include "reader.h"

#include <QtTest>

#include <set>

using ircodec::Durations;
using ircodec::Reader;
using ircodec::Reading;

Q_DECLARE_METATYPE(const ircodec::Reader *)
Q_DECLARE_METATYPE(std::vector<uint8_t>)

namespace {

constexpr int kExamples = 24;
constexpr int kJitterRounds = 8;
constexpr double kJitter = 0.08;

// Pairs of named readers that both take frames of the first: the rule
// (stronger evidence, then timing fit) must pick the first every time.
struct Overlap
{
    const char *sent;
    const char *alsoTakenBy;
};
const Overlap kKnownOverlaps[] = {
    {"RCA", "SANYO"}, // SANYO has no check and takes 12 to 32 bits
    // An RC5X frame of alternating bits, received: one mark and one space
    // length after a long first mark, as a SONY frame of 1 bits.
    {"RC5X", "SONY"},
    // AIWA_RC_T501 is SANYO_LC7461 with a fixed custom code: the same
    // evidence and nominal timing, and AIWA_RC_T501's row comes first.
    {"AIWA_RC_T501", "SANYO_LC7461"},
    // SANYO takes any count of 3.5 ms-header bits: PANASONIC_OLD's 22, whose
    // complements it does not check.
    {"PANASONIC_OLD", "SANYO"},
    // ORTEKMCE's 480 us half bits fit EPSON's 577 us unit: a frame of 29
    // durations of one and two units after a four-unit mark is both.
    {"ORTEKMCE", "EPSON"},
    // Midea's frames are six bytes on Coolix's timing; their checksum
    // tells them from COOLIX48's unchecked bytes.
    {"MIDEA", "COOLIX48"},
    // One fourteen-byte frame, three remotes' timings: the closer fit.
    {"TCL112AC", "MITSUBISHI112"},
    {"MITSUBISHI112", "TCL112AC"},
    // Eight bytes on similar timings whose checks (a byte sum, a nibble
    // sum) can both hold by chance: the closer fit.
    {"DELONGHI_AC", "CARRIER_AC64"},
    {"CARRIER_AC64", "DELONGHI_AC"},
};

// Protocols whose symbols are closer together than the usual jitter moves
// them, read with a finer one: XMP's sixteen spaces are 136 us apart, 5 %
// of its longest; PixMob's runs of 1 to 4 chips are told from other codes
// by a mark and its space together within a quarter chip.
struct FineTiming
{
    const char *name;
    double jitter;
};
const FineTiming kFineTimings[] = {{"XMP", 0.02}, {"PIXMOB", 0.02}};
// A generic reading of a code that sends a number in each space tells
// space lengths a few percent apart.
constexpr double kMultiLevelJitter = 0.02;

bool knownOverlap(const Reader *sent, const Reader *other)
{
    Reading a, b;
    a.reader = sent;
    b.reader = other;
    for (const Overlap &o : kKnownOverlaps)
        if (ircodec::protocolName(a) == std::string(o.sent)
            && ircodec::protocolName(b) == std::string(o.alsoTakenBy))
            return true;
    return false;
}

QString nameOf(const Reader *reader)
{
    Reading r;
    r.reader = reader;
    return QString::fromLatin1(ircodec::protocolName(r));
}

// A reader's example frames: its reading and its nominal durations.
struct Example
{
    Reading reading;
    Durations durations;
};

std::vector<Example> examples(const Reader *reader)
{
    std::vector<Example> out;
    for (uint64_t seed = 1; seed <= kExamples; ++seed) {
        Reading r;
        r.reader = reader;
        if (!reader->example || !reader->example(seed, r))
            continue;
        Durations d = reader->write(r);
        if (!d.empty())
            out.push_back({std::move(r), std::move(d)});
    }
    return out;
}

double jitterFor(const Reader *reader, const Reading &example)
{
    if (example.timing.levelCount > 2)
        return kMultiLevelJitter;
    for (const FineTiming &fine : kFineTimings)
        if (nameOf(reader) == fine.name)
            return fine.jitter;
    return kJitter;
}

// Every form a frame is read from: exact, as receivers deliver it, and
// each duration off by a few percent either way.
std::vector<Durations> forms(const Durations &exact, double jitter, std::mt19937 &random)
{
    std::vector<Durations> all = {exact, irreceiver::received(exact)};
    for (int round = 0; round < kJitterRounds; ++round) {
        all.push_back(irtest::jitter(exact, jitter, random));
        all.push_back(irtest::jitter(irreceiver::received(exact), jitter / 2, random));
    }
    return all;
}

bool sameReading(const Reading &a, const Reading &b)
{
    return a.reader == b.reader && a.bits == b.bits && a.repeat == b.repeat && a.frame == b.frame;
}

bool isGeneric(const Reader *reader)
{
    return reader->family == ircodec::Family::Generic;
}

// The nominal durations of the named protocol's reading of these bits.
Durations written(const char *name, const ircodec::BitString &bits, int32_t headerMark = 0)
{
    Reading r;
    r.reader = ircodec::readerNamed(name);
    r.bits = bits;
    r.timing.headerMark = headerMark;
    return r.reader ? r.reader->write(r) : Durations();
}

QString nameRead(const Durations &d)
{
    return QString::fromLatin1(ircodec::protocolName(ircodec::read(d)));
}

QString summaryOf(const Durations &d)
{
    return QString::fromStdString(ircodec::summary(ircodec::read(d)));
}

// A pulse frame from its protocol's timing and bits written as '0' and '1'
// in on-air order: the header (none when its mark is 0), a mark and a space
// per bit, the stop mark, and after it the trailer's space and mark when
// given.
struct PulseTiming
{
    ircodec::MarkSpace header;
    ircodec::MarkSpace zero;
    ircodec::MarkSpace one;
    int32_t stop;
    int32_t trailerSpace = 0;
};

Durations pulses(const PulseTiming &t, const char *bits)
{
    Durations out;
    if (t.header.mark > 0)
        out = {t.header.mark, t.header.space};
    for (const char *b = bits; *b; ++b) {
        const ircodec::MarkSpace &bit = *b == '1' ? t.one : t.zero;
        out.push_back(bit.mark);
        out.push_back(bit.space);
    }
    out.push_back(t.stop);
    if (t.trailerSpace > 0) {
        out.push_back(t.trailerSpace);
        out.push_back(t.stop);
    }
    return out;
}

// A bi-phase frame: `lead` half bits ('1' a mark, '0' a space), then each
// bit as two halves, a 1 being a mark then a space when `oneMarkFirst`;
// runs merged, the silence at either end dropped. `stretch` lengthens the
// first duration by as many half bits (a leader longer than one).
Durations biphase(
    int32_t halfUs, const char *lead, const char *bits, bool oneMarkFirst, int stretch = 0)
{
    std::string halves = lead;
    for (const char *b = bits; *b; ++b) {
        const bool markFirst = (*b == '1') == oneMarkFirst;
        halves += markFirst ? "10" : "01";
    }
    const size_t begin = halves.find('1');
    const size_t end = halves.rfind('1') + 1;
    Durations out;
    for (size_t i = begin; i < end;) {
        size_t run = 1;
        while (i + run < end && halves[i + run] == halves[i])
            ++run;
        out.push_back(static_cast<int32_t>(run) * halfUs);
        i += run;
    }
    out[0] += stretch * halfUs;
    return out;
}

// An air conditioner's state bytes as its reader's reading: each byte in
// the order the protocol sends it.
Reading stateReading(const char *name, const std::vector<uint8_t> &bytes)
{
    Reading r;
    r.reader = ircodec::readerNamed(name);
    const auto order = r.reader && r.reader->presentation == ircodec::Presentation::BytesMsbFirst
        ? ircodec::Order::MsbFirst
        : ircodec::Order::LsbFirst;
    for (uint8_t b : bytes)
        r.bits.append(b, 8, order);
    return r;
}

Durations stateFrame(const char *name, const std::vector<uint8_t> &bytes)
{
    const Reading r = stateReading(name, bytes);
    return r.reader ? r.reader->write(r) : Durations();
}

// A frame, then the same after `silence` microseconds.
std::vector<ircodec::Capture> captures(const std::vector<Durations> &frames, int64_t silence)
{
    std::vector<ircodec::Capture> out;
    for (const Durations &d : frames)
        out.push_back({out.empty() ? 0 : silence, d, false});
    return out;
}

} // namespace

class ReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void table();
    void ownFrames_data();
    void ownFrames();
    void checksHold();
    void noiseAndFragmentsStayUnread();
    void genericReadings();
    void protocolFields_data();
    void protocolFields();
    void stretchedStopMarks();
    void blockSequences();
    void texts();
    void sequences();
    void airConditionerStates_data();
    void airConditionerStates();
    void airConditionerCopies();
    void airConditionerBlocks();
};

void ReadingTest::table()
{
    std::set<QString> names;
    bool genericSeen = false;
    for (const Reader *reader : ircodec::readers()) {
        const QString name = nameOf(reader);
        QVERIFY2(names.insert(name).second, qPrintable("two readers named " + name));
        QVERIFY2(reader->read && reader->write, qPrintable(name));
        // Generic readers are tried last: read() stops at them once a
        // protocol has taken the frame.
        QVERIFY2(!genericSeen || isGeneric(reader), qPrintable(name + " after a generic reader"));
        genericSeen = genericSeen || isGeneric(reader);
        QCOMPARE(ircodec::readerNamed(name.toStdString()), reader);
    }
    for (int p = 0; p < ircodec::kProtocolCount; ++p)
        QVERIFY(ircodec::readerFor(static_cast<ircodec::Protocol>(p)).codec
            == static_cast<ircodec::Protocol>(p));
}

void ReadingTest::ownFrames_data()
{
    QTest::addColumn<const Reader *>("reader");
    for (const Reader *reader : ircodec::readers())
        QTest::newRow(qPrintable(nameOf(reader))) << reader;
}

void ReadingTest::ownFrames()
{
    QFETCH(const Reader *, reader);
    std::mt19937 random(7);
    const auto list = examples(reader);
    QVERIFY2(list.size() >= kExamples / 2, "too few examples");
    for (const Example &e : list) {
        for (const Durations &d : forms(e.durations, jitterFor(reader, e.reading), random)) {
            const auto all = ircodec::readAll(d);
            const auto own = std::find_if(
                all.begin(), all.end(), [&](const Reading &r) { return r.reader == reader; });
            // The messages are written only for a failure: this loop runs
            // tens of thousands of times.
            if (own == all.end())
                QFAIL(
                    qPrintable(nameOf(reader) + " does not read its frame " + irtest::describe(d)));
            if (!sameReading(*own, e.reading))
                QFAIL(qPrintable(nameOf(reader) + " reads another frame from " + irtest::describe(d)
                    + ": " + QString::fromStdString(ircodec::summary(*own)) + " for "
                    + QString::fromStdString(ircodec::summary(e.reading))));
            if (isGeneric(reader))
                continue;
            // Every other named reader that takes the frame is a known
            // overlap, and the rule picks the sender's reader.
            for (const Reading &other : all) {
                if (other.reader == reader || isGeneric(other.reader))
                    continue;
                if (!knownOverlap(reader, other.reader))
                    QFAIL(qPrintable(nameOf(other.reader) + " also reads a " + nameOf(reader)
                        + " frame: " + irtest::describe(d)));
            }
            QCOMPARE(ircodec::read(d).reader, reader);
        }
    }
}

// A protocol's check covers its frame's first bit or its last (a sum or
// complements cover the data; constant fields open or close the frame):
// with one of the two flipped, its reader takes no frame.
void ReadingTest::checksHold()
{
    int checkedReaders = 0;
    for (const Reader *reader : ircodec::readers()) {
        // The codec's readers write their frame, not their bits.
        if (reader->codec)
            continue;
        bool checked = false;
        for (const Example &e : examples(reader)) {
            if (e.reading.evidence != ircodec::Evidence::Checked)
                continue;
            checked = true;
            const auto readsFlipped = [&](int flipped) {
                Reading broken = e.reading;
                broken.bits = ircodec::BitString();
                for (int i = 0; i < e.reading.bits.size(); ++i)
                    broken.bits.push(e.reading.bits.at(i) != (i == flipped));
                // A writer may refuse bits whose check fails: nothing to read.
                for (const Reading &r : ircodec::readAll(reader->write(broken)))
                    if (r.reader == reader)
                        return true;
                return false;
            };
            QVERIFY2(!readsFlipped(0) || !readsFlipped(e.reading.bits.size() - 1),
                qPrintable(nameOf(reader) + " reads frames whose check fails, from "
                    + QString::fromStdString(ircodec::summary(e.reading))));
        }
        checkedReaders += checked ? 1 : 0;
    }
    QVERIFY(checkedReaders > 0);
}

void ReadingTest::noiseAndFragmentsStayUnread()
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> duration(60, 6000);
    std::uniform_int_distribution<int> length(1, 201);
    for (int round = 0; round < 4000; ++round) {
        Durations d(static_cast<size_t>(length(random) | 1));
        for (int32_t &v : d)
            v = duration(random);
        const Reading r = ircodec::read(d);
        if (r)
            QFAIL(qPrintable("noise read as " + QString::fromStdString(ircodec::summary(r)) + ": "
                + irtest::describe(d)));
    }
    // Every reader, called on noise of any length without its admission.
    for (const Reader *reader : ircodec::readers()) {
        for (size_t size = 0; size < 48; ++size) {
            Durations d(size);
            for (int32_t &v : d)
                v = duration(random);
            Reading r;
            r.reader = reader;
            reader->read(d, r);
        }
    }
    // Fewer than 8 bits of a regular frame: a fragment.
    const Durations fragment = {560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560, 1690, 560};
    QVERIFY(!ircodec::read(fragment));
    // One duration that fits no length of an otherwise regular frame.
    Durations odd = {560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560,
        1690, 560, 560, 560, 1690, 560};
    QVERIFY(ircodec::read(odd));
    odd[7] = 1100;
    QVERIFY(!ircodec::read(odd));

    // A Bang & Olufsen frame reads whole. Its 15.6 ms and 12.5 ms spaces
    // split it on reception into the opening marks, the bits and the last
    // mark: none of them is that protocol's, the opening and the last mark
    // (the captures' fragments) nobody's.
    const Durations beo = written("BANG_OLUFSEN", ircodec::BitString(0x2A5C, 16));
    QCOMPARE(summaryOf(beo), QString("BANG_OLUFSEN 2A5C (address 0x2A, command 0x5C)"));
    const auto pieces = ircodec::segment(beo);
    QCOMPARE(pieces.size(), size_t{3});
    QVERIFY(!ircodec::read(pieces.front().durations));
    QVERIFY(!ircodec::read(pieces.back().durations));
    QVERIFY(nameRead(pieces[1].durations) != "BANG_OLUFSEN");
}

void ReadingTest::genericReadings()
{
    // Pulse distance with a header unlike any named protocol's: every
    // duration is accounted for and the timing summarised.
    const Durations d = {3000, 1500, 400, 400, 400, 1200, 400, 400, 400, 1200, 400, 1200, 400, 400,
        400, 400, 400, 1200, 400, 1200, 400};
    const Reading r = ircodec::read(d);
    QCOMPARE(QString(ircodec::protocolName(r)), QString("PULSE_DISTANCE"));
    QCOMPARE(r.bits.size(), 9);
    QCOMPARE(QString::fromStdString(ircodec::dataHex(r)), QString("0B3"));
    QCOMPARE(r.timing.headerMark, 3000);
    QCOMPARE(r.timing.zeroSpace, 400);
    QCOMPARE(r.timing.oneSpace, 1200);
    QVERIFY(QString::fromStdString(ircodec::detailText(r)).contains("header 3000/1500 us"));
}

void ReadingTest::protocolFields_data()
{
    // Frames written from each protocol's published timing and field
    // layout, with their fields worked out by hand; `broken` is the same
    // frame with its check (complements, check bits) failing, which the
    // protocol must not take; empty where the protocol has no check.
    QTest::addColumn<Durations>("frame");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<Durations>("broken");

    // Device 3 and function 0x36, each least significant bit first, then
    // both inverted.
    const PulseTiming panasonicOld = {{3332, 3332}, {833, 833}, {833, 2499}, 833};
    QTest::newRow("PANASONIC_OLD")
        << pulses(panasonicOld, "1100001101100111100100") << "PANASONIC_OLD"
        << "PANASONIC_OLD 30D9E4 (device 0x03, function 0x36, check ok)"
        << pulses(panasonicOld, "1100001101100111100101");
    // Function 6, device 1; the check bits 1011 tell the device's third
    // bit (0).
    const PulseTiming gi4dtv = {{4960, 1984}, {992, 992}, {992, 2976}, 992};
    QTest::newRow("GI4DTV") << pulses(gi4dtv, "011000101011") << "GI4DTV"
                            << "GI4DTV 62B (device 0x1, function 0x06, check ok)"
                            << pulses(gi4dtv, "011000101010");
    // Device 236 (SIM2's own), function 0x41.
    const PulseTiming sim2 = {{2400, 2800}, {1200, 1200}, {1200, 2800}, 1200};
    QTest::newRow("SIM2") << pulses(sim2, "0011011110000010") << "SIM2"
                          << "SIM2 3782 (device 0xEC, function 0x41)" << Durations();
    // Device 12, toggle 0, function 28.
    const PulseTiming thomson = {{0, 0}, {500, 2000}, {500, 4500}, 500};
    QTest::newRow("THOMSON") << pulses(thomson, "001100011100") << "THOMSON"
                             << "THOMSON 31C (device 0xC, toggle 0x0, function 0x1C)"
                             << Durations();
    // Device 0x02, function 0x0B, and the trailer.
    const PulseTiming konka = {{3000, 3000}, {500, 1500}, {500, 2500}, 500, 4000};
    QTest::newRow("KONKA") << pulses(konka, "0000001000001011") << "KONKA"
                           << "KONKA 020B (device 0x02, function 0x0B)" << Durations();
    // 0, device 5, function 0x21, between 15 us flashes.
    const PulseTiming revox = {{15, 435}, {15, 135}, {15, 285}, 15, 435};
    QTest::newRow("REVOX") << pulses(revox, "01010100001") << "REVOX"
                           << "REVOX 2A1 (device 0x5, function 0x21)" << Durations();
    // Device 0x62 (Epson's), mark 1, function 0x2A, mark 2, subdevice
    // 0xAA: two-bit symbols 2 0 2 1, 1, 2 2 2, 2, 2 2 2 2.
    const Durations epson = {2308, 577, 577, 577, 1154, 577, 577, 577, 577, 1154, 577, 1154, 577,
        577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577, 577};
    QTest::newRow("EPSON") << epson << "EPSON"
                           << "EPSON 225AAAA (device 0x62, mark 0x1, function 0x2A, second mark "
                              "0x2, subdevice 0xAA)"
                           << Durations();
    // Start bit, device 0x15, subdevice 0x03, toggle 0, 0, function 0x2A
    // and its last bit inverted.
    QTest::newRow("CANALSATLD") << biphase(320, "", "10010101000011001010101", true) << "CANALSATLD"
                                << "CANALSATLD 0A8655 (device 0x15, subdevice 0x03, toggle 0x0, "
                                   "function 0x2A, check ok)"
                                << biphase(320, "", "10010101000011001010100", true);
    // Start bit, device 0x0B, subdevice 0x1C, function 0x25.
    QTest::newRow("TDC") << biphase(315, "", "101011111000100101", true) << "TDC"
                         << "TDC 0BE25 (device 0x0B, subdevice 0x1C, function 0x25)" << Durations();
    // Lead, device 1, position 0, function 2; the check is 3 more than
    // the two 1 bits.
    QTest::newRow("ORTEKMCE") << biphase(480, "10", "10000000100001010", false, 3) << "ORTEKMCE"
                              << "ORTEKMCE 1010A (device 0x01, position 0x0, function 0x02, "
                                 "check ok)"
                              << biphase(480, "10", "10000000100000110", false, 3);
}

void ReadingTest::protocolFields()
{
    QFETCH(Durations, frame);
    QFETCH(QString, name);
    QFETCH(QString, summary);
    QFETCH(Durations, broken);
    std::mt19937 random(13);
    for (const Durations &d : forms(frame, kJitter, random)) {
        const Reading r = ircodec::read(d);
        QVERIFY2(QString(ircodec::protocolName(r)) == name,
            qPrintable(QString::fromStdString(ircodec::summary(r)) + ": " + irtest::describe(d)));
        QCOMPARE(QString::fromStdString(ircodec::summary(r)), summary);
    }
    if (broken.empty())
        return;
    for (const Reading &r : ircodec::readAll(broken))
        QVERIFY2(QString(ircodec::protocolName(r)) != name,
            qPrintable(name + " takes a frame whose check fails"));
}

void ReadingTest::stretchedStopMarks()
{
    // NEC-timed remotes that end their frames with an 850 us mark: the
    // frame decodes and reads as NEC, with the value of the nominal one.
    const auto nec = ircodec::encode(ircodec::necFrame(0xD2, 0x04, false));
    Durations stretched = (*nec)[0].durations;
    const Reading nominal = ircodec::read(stretched);
    stretched.back() = 850;
    QVERIFY(ircodec::decode(stretched));
    const Reading r = ircodec::read(stretched);
    QCOMPARE(QString(ircodec::protocolName(r)), QString("NEC"));
    QCOMPARE(QString::fromStdString(ircodec::dataHex(r)),
        QString::fromStdString(ircodec::dataHex(nominal)));
    // Past twice the nominal length it is no stop mark; a ditto (three
    // durations) is not taken stretched, too little to tell from noise.
    stretched.back() = 1300;
    QVERIFY(QString(ircodec::protocolName(ircodec::read(stretched))) != "NEC");
    QVERIFY(!ircodec::read({9000, 2250, 850}));
}

void ReadingTest::blockSequences()
{
    // A BLAUPUNKT message: its opening frame of ten 1s, the data frame (a
    // 1, function 5 and device 2, least significant bit first), a repeat
    // of it and the closing frame, 22.5 ms and 121 ms apart.
    const auto frame = [](const char *bits) {
        Durations d = {512, 2560};
        const Durations body = biphase(512, "", bits, true);
        d.insert(d.end(), body.begin(), body.end());
        return d;
    };
    const Durations mark = frame("1111111111");
    const Durations data = frame("1101000010");
    const ircodec::Sequence s = ircodec::readSequence(
        {{0, mark, false}, {22500, data, false}, {121000, data, false}, {22500, mark, false}});
    QCOMPARE(s.items.size(), size_t{1});
    QCOMPARE(QString::fromStdString(ircodec::summary(s)),
        QString("BLAUPUNKT 342 (function 0x05, device 0x2), in 4 blocks"));
    // A data frame long after the opening frame belongs to another press.
    const ircodec::Sequence apart
        = ircodec::readSequence({{0, mark, false}, {500000, data, false}});
    QCOMPARE(apart.items.size(), size_t{2});
}

void ReadingTest::texts()
{
    const auto nec = ircodec::encode(ircodec::necFrame(0x04, 0x08, true));
    const Reading r = ircodec::read((*nec)[0].durations);
    QCOMPARE(QString(ircodec::protocolName(r)), QString("NEC"));
    QCOMPARE(QString::fromStdString(ircodec::dataHex(r)), QString("20DF10EF"));
    QCOMPARE(QString::fromStdString(ircodec::summary(r)),
        QString("NEC 20DF10EF (address 0x04, command 0x08, check ok)"));
    QCOMPARE(QString(ircodec::protocolName(Reading())), QString("UNKNOWN"));
    QCOMPARE(QString::fromStdString(ircodec::summary(Reading())), QString("UNKNOWN"));
}

void ReadingTest::sequences()
{
    const auto first = ircodec::encode(ircodec::necFrame(0x04, 0x3B, true));
    const auto ditto = ircodec::encode(ircodec::necRepeatFrame());
    std::vector<ircodec::Capture> frames;
    frames.push_back({0, (*first)[0].durations, false});
    for (int i = 0; i < 3; ++i)
        frames.push_back({40000, (*ditto)[0].durations, false});
    const auto sony = ircodec::encode(ircodec::makeFrame(ircodec::Protocol::Sony, 0x90, 12));
    frames.push_back({200000, (*sony)[0].durations, false});
    frames.push_back({25000, (*sony)[0].durations, false});
    const ircodec::Sequence s = ircodec::readSequence(frames);
    QCOMPARE(s.items.size(), size_t{2});
    QCOMPARE(s.items[0].repeats, 3);
    QCOMPARE(s.items[1].repeats, 1);
    QCOMPARE(s.frames[2].role, ircodec::Role::Repeat);
    QCOMPARE(s.frames[2].first, 0);
    QCOMPARE(s.frames[4].role, ircodec::Role::First);
    QVERIFY(QString::fromStdString(ircodec::summary(s))
                .startsWith("NEC 20DFDC23 (address 0x04, command 0x3B, check ok), then 3 repeats; "
                            "SONY 00000090"));
    QVERIFY(QString::fromStdString(ircodec::summary(s)).endsWith(", then 1 repeat"));

    // SHARP's echo half is a block of the message, not a repeat.
    const auto sharp = ircodec::encode(ircodec::makeFrame(ircodec::Protocol::Sharp, 0x11, 15, 3));
    const ircodec::Sequence echo = ircodec::readSequence(
        {{0, (*sharp)[0].durations, false}, {40000, (*sharp)[1].durations, false}});
    QCOMPARE(echo.items.size(), size_t{1});
    QCOMPARE(echo.items[0].blocks, 2);
    QCOMPARE(echo.frames[1].role, ircodec::Role::Block);

    // So is DENON15's second half, the same address with the command
    // inverted; it checks the first.
    const auto denon = ircodec::readSequence(
        {{0, written("DENON15", ircodec::BitString(0b10001'01011010'00, 15)), false},
            {45000, written("DENON15", ircodec::BitString(0b10001'10100101'11, 15)), false}});
    QCOMPARE(denon.items.size(), size_t{1});
    QCOMPARE(denon.frames[1].role, ircodec::Role::Block);
    QCOMPARE(QString::fromStdString(ircodec::summary(denon)),
        QString("DENON15 4568 (address 0x11, command 0x5A, check ok), in 2 blocks"));

    // XMP's two halves are one message: DecodeIR's example 0E0F441A
    // 09800F00. A second half alone is no XMP frame.
    const Durations xmpFirst = written("XMP", ircodec::BitString(0x0E0F441A, 32));
    const Durations xmpSecond = written("XMP", ircodec::BitString(0x09800F00, 32));
    const auto xmp = ircodec::readSequence({{0, xmpFirst, false}, {13800, xmpSecond, false}});
    QCOMPARE(xmp.items.size(), size_t{1});
    QCOMPARE(QString::fromStdString(ircodec::summary(xmp)),
        QString("XMP 0E0F441A09800F00 (subdevice 0x00, OEM 0x44, device 0x1A, toggle 0x8, "
                "command 0x0F00, check ok), in 2 blocks"));
    QVERIFY(nameRead(xmpSecond) != "XMP");

    // DirecTV repeats a held key's frame with a 3 ms lead mark.
    const ircodec::BitString directv(0xC105, 16);
    const auto held = ircodec::readSequence(
        {{0, written("DIRECTV", directv), false}, {50000, written("DIRECTV", directv, 3000), false},
            {50000, written("DIRECTV", directv, 3000), false}});
    QCOMPARE(held.items.size(), size_t{1});
    QCOMPARE(QString::fromStdString(ircodec::summary(held)),
        QString("DIRECTV C105 (device 0xC, command 0x10, check ok), then 2 repeats"));

    // A GI cable box's held key sends NEC's dittos: repeats of its frame.
    const Durations gi = written("GICABLE", ircodec::BitString(0x5A08, 16));
    QCOMPARE(nameRead(gi), QString("GICABLE"));
    const auto giHeld = ircodec::readSequence({{0, gi, false},
        {60000, (*ditto)[0].durations, false}, {90000, (*ditto)[0].durations, false}});
    QCOMPARE(giHeld.items.size(), size_t{1});
    QCOMPARE(giHeld.items[0].repeats, 2);
    QCOMPARE(giHeld.frames[2].role, ircodec::Role::Repeat);

    // Reception cuts a Bang & Olufsen frame in three at its long spaces:
    // the sequence reads the pieces as the one frame, and a lone piece
    // stays unread.
    const Durations beo = written("BANG_OLUFSEN", ircodec::BitString(0x2A5C, 16));
    const auto pieces = ircodec::segment(beo);
    QCOMPARE(pieces.size(), size_t{3});
    const auto whole = ircodec::readSequence(pieces);
    QCOMPARE(whole.items.size(), size_t{1});
    QCOMPARE(whole.items[0].blocks, 3);
    QCOMPARE(QString::fromStdString(ircodec::summary(whole)),
        QString("BANG_OLUFSEN 2A5C (address 0x2A, command 0x5C), in 3 blocks"));
    QCOMPARE(whole.frames[2].role, ircodec::Role::Block);
    QVERIFY(!ircodec::readSequence({pieces[0]}).items[0].reading);

    // Unread frames one after another are said once.
    const Durations noise = {300, 5000, 2000};
    QCOMPARE(QString::fromStdString(ircodec::summary(ircodec::readSequence({{0, noise, false},
                 {20000, noise, false}, {20000, noise, false}, {0, gi, false}}))),
        QString("UNKNOWN (3 frames); GICABLE 5A08 (device 0x0, command 0x5A, check ok)"));
}

void ReadingTest::airConditionerStates_data()
{
    // States the protocols' public descriptions give as known good ones,
    // checksums included: each reads back with its check, and with any
    // one bit of the bytes its check covers changed it is no longer that
    // protocol's.
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::vector<uint8_t>>("bytes");
    QTest::addColumn<int>("checkedFrom");
    QTest::newRow("DAIKIN64") << QString(
        "DAIKIN64") << std::vector<uint8_t>{0x16, 0x42, 0x20, 0x07, 0x16, 0x16, 0x16, 0x7C}
                              << 0;
    QTest::newRow("DELONGHI_AC") << QString("DELONGHI_AC")
                                 << std::vector<uint8_t>{0x53, 0x01, 0, 0, 0, 0, 0, 0x54} << 0;
    QTest::newRow("SANYO_AC") << QString("SANYO_AC")
                              << std::vector<uint8_t>{0x6A, 0x6D, 0x51, 0, 0x10, 0x45, 0, 0, 0x33}
                              << 0;
    QTest::newRow("VESTEL_AC") << QString("VESTEL_AC")
                               << std::vector<uint8_t>{0x01, 0xF2, 0xFE, 0x01, 0x90, 0x0D, 0xF0}
                               << 0;
    QTest::newRow("HITACHI_AC1") << QString("HITACHI_AC1")
                                 << std::vector<uint8_t>{0xB2, 0xAE, 0x4D, 0x91, 0xF0, 0xE1, 0xA4,
                                        0, 0, 0, 0, 0x61, 0x24}
                                 << 5;
    QTest::newRow("CARRIER_AC64") << QString("CARRIER_AC64")
                                  << std::vector<uint8_t>{0x84, 0x55, 0x2A, 0x2C, 0, 0, 0x90, 0x10}
                                  << 3;
    QTest::newRow("MIDEA") << QString("MIDEA")
                           << std::vector<uint8_t>{0xA1, 0x82, 0x6E, 0xFF, 0xFF, 0x63} << 0;
}

void ReadingTest::airConditionerStates()
{
    QFETCH(QString, name);
    QFETCH(std::vector<uint8_t>, bytes);
    QFETCH(int, checkedFrom);
    const std::string protocol = name.toStdString();
    const Durations d = stateFrame(protocol.c_str(), bytes);
    QVERIFY(!d.empty());
    for (const Durations &form : {d, irreceiver::received(d)}) {
        const Reading r = ircodec::read(form);
        QCOMPARE(QString(ircodec::protocolName(r)), name);
        QVERIFY(r.checked);
        QCOMPARE(r.bits, stateReading(protocol.c_str(), bytes).bits);
    }
    for (size_t byte = static_cast<size_t>(checkedFrom); byte < bytes.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<uint8_t> changed = bytes;
            changed[byte] ^= static_cast<uint8_t>(1u << bit);
            const Reading r = ircodec::read(stateFrame(protocol.c_str(), changed));
            QVERIFY2(QString(ircodec::protocolName(r)) != name || !r.checked,
                qPrintable(QString("bit %1 of byte %2").arg(bit).arg(byte)));
        }
    }
}

void ReadingTest::airConditionerCopies()
{
    // Remotes that send their message twice in one frame: a copy that
    // agrees is a check of its own; one that does not is no such frame.
    const std::vector<uint8_t> coolixState = {0xB2, 0x4D, 0x9F, 0x60, 0x00, 0xFF};
    const Durations coolix = stateFrame("COOLIX", coolixState);
    constexpr int32_t kCoolixGap = 5040;
    Durations twice = coolix;
    twice.push_back(kCoolixGap);
    twice.insert(twice.end(), coolix.begin(), coolix.end());
    const Reading both = ircodec::read(irreceiver::received(twice));
    QCOMPARE(QString(ircodec::protocolName(both)), QString("COOLIX"));
    QCOMPARE(both.bits, ircodec::read(coolix).bits);
    QCOMPARE(QString::fromStdString(ircodec::dataHex(both)), QString("B24D9F6000FF"));
    QCOMPARE(QString::fromStdString(ircodec::detailText(both)),
        QString("mode cool, temperature 17 C, check ok"));
    const Reading off = ircodec::read(stateFrame("COOLIX", {0xB2, 0x4D, 0x7B, 0x84, 0xE0, 0x1F}));
    QCOMPARE(QString::fromStdString(ircodec::detailText(off)), QString("power off, check ok"));

    Durations otherCopy = coolix;
    otherCopy.push_back(kCoolixGap);
    const Durations other = stateFrame("COOLIX", {0xB2, 0x4D, 0x7B, 0x84, 0xE0, 0x1F});
    otherCopy.insert(otherCopy.end(), other.begin(), other.end());
    QVERIFY(QString(ircodec::protocolName(ircodec::read(otherCopy))) != "COOLIX");

    // Midea's second copy is the first inverted.
    const std::vector<uint8_t> midea = {0xA1, 0x82, 0x6E, 0xFF, 0xFF, 0x63};
    std::vector<uint8_t> inverted;
    for (uint8_t b : midea)
        inverted.push_back(static_cast<uint8_t>(~b));
    constexpr int32_t kMideaGap = 5600;
    Durations mideaTwice = stateFrame("MIDEA", midea);
    mideaTwice.push_back(kMideaGap);
    const Durations second = stateFrame("COOLIX48", inverted);
    mideaTwice.insert(mideaTwice.end(), second.begin(), second.end());
    const Reading r = ircodec::read(mideaTwice);
    QCOMPARE(QString(ircodec::protocolName(r)), QString("MIDEA"));
    QCOMPARE(QString::fromStdString(ircodec::dataHex(r)), QString("A1826EFFFF63"));
}

void ReadingTest::airConditionerBlocks()
{
    // Gree: the first block reads on its own; the second, 20 ms later, is
    // read into it when the state's checksum holds.
    const Reader *gree = ircodec::readerNamed("GREE");
    QVERIFY(gree);
    std::vector<uint8_t> state = {0x09, 0x07, 0x20, 0x50, 0x00, 0x20, 0x00, 0x00};
    unsigned sum = 10;
    for (int i = 0; i < 4; ++i)
        sum += state[static_cast<size_t>(i)] & 0xFu;
    for (int i = 4; i < 7; ++i)
        sum += state[static_cast<size_t>(i)] >> 4;
    state[7] = static_cast<uint8_t>((sum & 0xFu) << 4);
    const Reading whole = stateReading("GREE", state);
    Reading firstBlock = whole;
    firstBlock.bits = ircodec::BitString();
    for (int i = 0; i < 32; ++i)
        firstBlock.bits.push(whole.bits.at(i));
    const Durations block1 = gree->write(firstBlock);
    QCOMPARE(QString(ircodec::protocolName(ircodec::read(block1))), QString("GREE"));
    // The second block: four bytes and a stop mark, no header.
    Durations block2;
    for (int i = 32; i < 64; ++i) {
        block2.push_back(620);
        block2.push_back(whole.bits.at(i) ? 1600 : 540);
    }
    block2.push_back(620);
    constexpr int64_t kGreeGap = 19980;
    const ircodec::Sequence s = ircodec::readSequence(captures({block1, block2}, kGreeGap));
    QCOMPARE(s.items.size(), size_t{1});
    QCOMPARE(s.items[0].blocks, 2);
    QCOMPARE(s.items[0].reading.bits, whole.bits);
    QVERIFY(s.items[0].reading.checked);
    QCOMPARE(QString::fromStdString(ircodec::dataHex(s.items[0].reading)),
        QString("0907205000200000").replace(14, 1, QString::number(sum & 0xF, 16).toUpper()));
    QVERIFY(QString::fromStdString(ircodec::summary(s.items[0]))
                .contains("mode cool, power on, temperature 23 C"));
    // A wrong checksum keeps the blocks apart.
    constexpr size_t kChecksumBitSpace = 2 * (60 - 32) + 1;
    block2[kChecksumBitSpace] = block2[kChecksumBitSpace] == 540 ? 1600 : 540;
    QCOMPARE(ircodec::readSequence(captures({block1, block2}, kGreeGap)).items.size(), size_t{2});

    // Daikin: a leader of five 0 bits, then sections read into it.
    const Durations leader = {428, 428, 428, 428, 428, 428, 428, 428, 428, 428, 428};
    const Reading leaderReading = ircodec::read(irreceiver::received(leader));
    QCOMPARE(QString(ircodec::protocolName(leaderReading)), QString("DAIKIN"));
    QVERIFY(leaderReading.bits.empty());
    QVERIFY(!ircodec::read(Durations(leader.begin(), leader.end() - 2)));
    const std::vector<uint8_t> section1 = {0x11, 0xDA, 0x27, 0x00, 0xC5, 0x00, 0x00, 0xD7};
    const Durations daikin1 = stateFrame("DAIKIN", section1);
    QVERIFY(ircodec::read(daikin1).checked);
    constexpr int64_t kDaikinGap = 29000;
    const ircodec::Sequence d
        = ircodec::readSequence(captures({leader, daikin1, daikin1}, kDaikinGap));
    QCOMPARE(d.items.size(), size_t{1});
    QCOMPARE(d.items[0].blocks, 3);
    QCOMPARE(d.items[0].reading.bits.size(), 2 * 64);

    // Panasonic: the constant first section, then the state 10 ms later.
    const std::vector<uint8_t> first = {0x02, 0x20, 0xE0, 0x04, 0x00, 0x00, 0x00, 0x06};
    std::vector<uint8_t> stateBytes(19, 0);
    stateBytes[0] = 0x02;
    stateBytes[5] = 0x39;
    stateBytes[6] = 0x32;
    unsigned stateSum = 0;
    for (size_t i = 0; i + 1 < stateBytes.size(); ++i)
        stateSum += stateBytes[i];
    stateBytes[18] = static_cast<uint8_t>(stateSum);
    const Durations panasonicFirst = stateFrame("PANASONIC_AC", first);
    std::vector<uint8_t> both = first;
    both.insert(both.end(), stateBytes.begin(), stateBytes.end());
    const Durations whole27 = stateFrame("PANASONIC_AC", both);
    QCOMPARE(QString(ircodec::protocolName(ircodec::read(whole27))), QString("PANASONIC_AC"));
    // Cut where the 10 ms section gap is: two frames, one reading.
    const size_t cut = panasonicFirst.size();
    const Durations secondSection(whole27.begin() + static_cast<long>(cut) + 1, whole27.end());
    const ircodec::Sequence p
        = ircodec::readSequence(captures({panasonicFirst, secondSection}, 10000));
    QCOMPARE(p.items.size(), size_t{1});
    QCOMPARE(p.items[0].reading.bits, stateReading("PANASONIC_AC", both).bits);

    // Daikin128: its first eight bytes are a DAIKIN64 frame; the other
    // eight follow 20 ms later, ended by a long mark.
    const std::vector<uint8_t> first64 = {0x16, 0x42, 0x20, 0x07, 0x16, 0x16, 0x16, 0x7C};
    const std::vector<uint8_t> rest = {0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x11};
    Durations restFrame;
    for (uint8_t b : rest)
        for (int i = 0; i < 8; ++i) {
            restFrame.push_back(350);
            restFrame.push_back((b >> i) & 1u ? 954 : 382);
        }
    restFrame.push_back(4600);
    constexpr int64_t kDaikin128Gap = 20300;
    const ircodec::Sequence d128 = ircodec::readSequence(
        captures({stateFrame("DAIKIN64", first64), restFrame}, kDaikin128Gap));
    QCOMPARE(d128.items.size(), size_t{1});
    QCOMPARE(QString::fromStdString(ircodec::dataHex(d128.items[0].reading)),
        QString("164220071616167C0000001100000011"));
    restFrame[restFrame.size() - 2] = 954; // the sum's last bit
    QCOMPARE(
        ircodec::readSequence(captures({stateFrame("DAIKIN64", first64), restFrame}, kDaikin128Gap))
            .items.size(),
        size_t{2});
}

QTEST_APPLESS_MAIN(ReadingTest)
#include "tst_reading.moc"

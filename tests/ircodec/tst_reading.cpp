// Every reader of the reading table: its own frames read back, exact, off
// by a few percent and as receivers deliver them; where another protocol's
// reader also takes them, the rule picks the sender's, and the pair is a
// known one; noise and fragments stay unread; generic readings account for
// every duration; the texts; sequences of frames.
#include "irtest.h"
#include "pulse.h"
#include "reader.h"
#include "receiver.h"

#include <QtTest>

#include <set>

using ircodec::Durations;
using ircodec::Reader;
using ircodec::Reading;

Q_DECLARE_METATYPE(const ircodec::Reader *)

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
};

// Protocols whose symbols are closer together than the usual jitter moves
// them, read with a finer one: XMP's sixteen spaces are 136 us apart, 5 %
// of its longest.
struct FineTiming
{
    const char *name;
    double jitter;
};
const FineTiming kFineTimings[] = {{"XMP", 0.02}};

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

double jitterFor(const Reader *reader)
{
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
        for (const Durations &d : forms(e.durations, jitterFor(reader), random)) {
            const auto all = ircodec::readAll(d);
            const auto own = std::find_if(
                all.begin(), all.end(), [&](const Reading &r) { return r.reader == reader; });
            QVERIFY2(own != all.end(),
                qPrintable(nameOf(reader) + " does not read its frame " + irtest::describe(d)));
            QVERIFY2(sameReading(*own, e.reading),
                qPrintable(nameOf(reader) + " reads another frame from " + irtest::describe(d)
                    + ": " + QString::fromStdString(ircodec::summary(*own)) + " for "
                    + QString::fromStdString(ircodec::summary(e.reading))));
            if (isGeneric(reader))
                continue;
            // Every other named reader that takes the frame is a known
            // overlap, and the rule picks the sender's reader.
            for (const Reading &other : all) {
                if (other.reader == reader || isGeneric(other.reader))
                    continue;
                QVERIFY2(knownOverlap(reader, other.reader),
                    qPrintable(nameOf(other.reader) + " also reads a " + nameOf(reader)
                        + " frame: " + irtest::describe(d)));
            }
            QCOMPARE(ircodec::read(d).reader, reader);
        }
    }
}

// A protocol's check covers its frame's last bit: with that bit flipped,
// no frame its reader takes.
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
            Reading broken = e.reading;
            broken.bits = ircodec::BitString();
            for (int i = 0; i < e.reading.bits.size(); ++i)
                broken.bits.push(e.reading.bits.at(i) != (i == e.reading.bits.size() - 1));
            // A writer may refuse bits whose check fails: nothing to read.
            const Durations d = reader->write(broken);
            for (const Reading &r : ircodec::readAll(d))
                QVERIFY2(r.reader != reader,
                    qPrintable(nameOf(reader) + " reads a frame whose check fails: "
                        + QString::fromStdString(ircodec::summary(r))));
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
        QVERIFY2(!r,
            qPrintable("noise read as " + QString::fromStdString(ircodec::summary(r)) + ": "
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
}

QTEST_APPLESS_MAIN(ReadingTest)
#include "tst_reading.moc"

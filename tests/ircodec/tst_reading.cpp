// Every reader of the reading table: its own frames read back, exact, off
// by a few percent and as receivers deliver them; where another protocol's
// reader also takes them, the rule picks the sender's, and the pair is a
// known one; noise and fragments stay unread; generic readings account for
// every duration; the texts; sequences of frames.
#include "irtest.h"
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

// Every form a frame is read from: exact, as receivers deliver it, and
// each duration off by a few percent either way.
std::vector<Durations> forms(const Durations &exact, std::mt19937 &random)
{
    std::vector<Durations> all = {exact, irreceiver::received(exact)};
    for (int round = 0; round < kJitterRounds; ++round) {
        all.push_back(irtest::jitter(exact, kJitter, random));
        all.push_back(irtest::jitter(irreceiver::received(exact), kJitter / 2, random));
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

} // namespace

class ReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void table();
    void ownFrames_data();
    void ownFrames();
    void noiseAndFragmentsStayUnread();
    void genericReadings();
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
        for (const Durations &d : forms(e.durations, random)) {
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
    // Fewer than 8 bits of a regular frame: a fragment.
    const Durations fragment = {560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560, 1690, 560};
    QVERIFY(!ircodec::read(fragment));
    // One duration that fits no length of an otherwise regular frame.
    Durations odd = {560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560, 1690, 560, 560, 560,
        1690, 560, 560, 560, 1690, 560};
    QVERIFY(ircodec::read(odd));
    odd[7] = 1100;
    QVERIFY(!ircodec::read(odd));
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
}

QTEST_APPLESS_MAIN(ReadingTest)
#include "tst_reading.moc"

// Frames recorded from real remote controls by real receivers: the decodes
// agree with an independent decoder's (sigrok's) for at least 99 % of the
// NEC, RC5 and RC6 frames each; no frame is reported as a protocol that the
// independent decoder, or the frame's timing, says is another; and every
// decoder gets through every recording, in bounded time. The recordings are
// not part of the source tree; without them the test is skipped.
#include "captures.h"
#include "judge.h"

#include <QtTest>

#include <chrono>
#include <set>

Q_DECLARE_METATYPE(ircodec::Protocol)

namespace {

const std::string kDir = TAVREL_CAPTURES_DIR;
const std::string kRecordings = kDir + "/real-captures.tsv";
const std::string kReference = kDir + "/real-captures-sigrok.tsv";
const std::string kJudge = kDir + "/real-captures-judge.tsv";

// What the readings reach on these recordings (reading_claims prints the
// figures): the floors that any change must keep.
constexpr double kMinNamedPercent = 90.5;
constexpr double kMinReadPercent = 96.0;
constexpr double kMinAirConditionersNamedPercent = 85.0;
constexpr double kMinJudgedNamedPercent = 99.0;
constexpr double kMinJudgeAgreementPercent = 99.9;
// Where a reading names another protocol than the codec's decode, the
// reading explains the frame better; every such pair is listed here.
// PANASONIC_OLD frames hold 11 complement bits that the catalogue's bare
// SANYO decoder does not check.
const std::set<std::string> kKnownChanges = {"SANYO -> PANASONIC_OLD"};

constexpr double kMinAgreementPercent = 99.0;

// A frame's time is the least of a few runs, so that the scheduler does not
// count; the bound is far above any real decode (microseconds) and still
// catches a search that runs away.
constexpr int kTimingRuns = 2;
constexpr double kMaxSecondsPerFrame = 0.5;

using Clock = std::chrono::steady_clock;

} // namespace

class Captures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreesWithReference_data();
    void agreesWithReference();
    void noFalseDecodes();
    void everyDecoderOnEveryRecording();
    void readings();

private:
    ircaptures::Loaded<ircaptures::Recorded> recorded_;
    ircaptures::Loaded<ircaptures::Referenced> referenced_;
};

void Captures::initTestCase()
{
    recorded_ = ircaptures::loadRecorded(kRecordings);
    referenced_ = ircaptures::loadReferenced(kReference);
    if (!recorded_.opened || !referenced_.opened)
        QSKIP(qPrintable(QString("recorded captures not found in %1 (the shared captures folder "
                                 "beside the source tree): nothing to check")
                             .arg(QString::fromStdString(kDir))));
    QCOMPARE(recorded_.badLines, 0);
    QCOMPARE(referenced_.badLines, 0);
    QVERIFY(!recorded_.lines.empty());
    QVERIFY(!referenced_.lines.empty());
}

void Captures::agreesWithReference_data()
{
    QTest::addColumn<ircodec::Protocol>("protocol");
    for (ircodec::Protocol p :
        {ircodec::Protocol::Nec, ircodec::Protocol::Rc5, ircodec::Protocol::Rc6})
        QTest::newRow(ircodec::name(p)) << p;
}

void Captures::agreesWithReference()
{
    QFETCH(ircodec::Protocol, protocol);
    const auto all = ircaptures::agreement(referenced_.lines);
    const auto found = all.find(ircodec::catalogueId(protocol));
    QVERIFY2(found != all.end(), "the reference holds no frame of this protocol");
    const ircaptures::Agreement &a = found->second;
    const double agreed = ircaptures::percent(a.agreed, a.frames);
    qInfo("%s: %d of %d frames agree (%.1f %%); %d other protocol, %d other fields, %d unknown",
        ircodec::name(protocol), a.agreed, a.frames, agreed, a.otherProtocol, a.otherFields,
        a.unknown);
    QVERIFY2(agreed >= kMinAgreementPercent, qPrintable(QString::number(agreed)));
}

void Captures::noFalseDecodes()
{
    // Every protocol of the reference, not only the three above.
    for (const auto &[type, a] : ircaptures::agreement(referenced_.lines))
        QVERIFY2(a.otherProtocol == 0,
            qPrintable(QString("decode_type %1: %2 frames reported as another protocol")
                           .arg(type)
                           .arg(a.otherProtocol)));
    // Over all recordings: a frame that two decoders accept must go to the
    // one whose timing fits it best.
    int alsoAccepted = 0;
    for (const ircaptures::LookAlike &pair : ircaptures::lookAlikes(recorded_.lines)) {
        alsoAccepted += pair.frames;
        qInfo("%s frames also accepted by %s: %d, fitting it better: %d",
            ircodec::name(pair.decoded), ircodec::name(pair.alsoAcceptedBy), pair.frames,
            pair.betterFit);
        QCOMPARE(pair.betterFit, 0);
    }
    qInfo("%d of %zu recorded frames accepted by more than one decoder", alsoAccepted,
        recorded_.lines.size());
}

void Captures::everyDecoderOnEveryRecording()
{
    double worst = 0;
    size_t worstIndex = 0;
    for (size_t i = 0; i < recorded_.lines.size(); ++i) {
        const ircodec::Durations &d = recorded_.lines[i].durations;
        double least = 0;
        for (int run = 0; run < kTimingRuns; ++run) {
            const auto start = Clock::now();
            for (int p = 0; p < ircodec::kProtocolCount; ++p) {
                const auto protocol = static_cast<ircodec::Protocol>(p);
                const auto frame = ircodec::decodeAs(protocol, d);
                if (frame && frame->protocol != protocol)
                    QFAIL(qPrintable(QString("%1 decoder reported %2")
                                         .arg(ircodec::name(protocol))
                                         .arg(ircodec::name(frame->protocol))));
            }
            const auto any = ircodec::decode(d);
            if (any && ircodec::decodeAs(any->protocol, d) != any)
                QFAIL("decode() and its protocol's decoder differ");
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            least = run == 0 ? seconds : std::min(least, seconds);
        }
        if (least > worst) {
            worst = least;
            worstIndex = i;
        }
    }
    const ircaptures::Recorded &slowest = recorded_.lines[worstIndex];
    qInfo("slowest frame for all decoders: %.1f us (%s, record %d, %zu durations)", 1e6 * worst,
        slowest.file.c_str(), slowest.record, slowest.durations.size());
    QVERIFY2(worst < kMaxSecondsPerFrame, qPrintable(QString::number(worst)));
}

// The program's own readings: the share of frames named and read, of the
// air conditioners' named, of the judge's frames named and agreed on, and
// no reading that differs from the codec's decode but the known pairs.
void Captures::readings()
{
    const ircaptures::JudgeFile judge = ircaptures::loadJudge(kJudge);
    if (!judge.opened)
        QSKIP("the judge's verdicts are not beside the recordings");
    QCOMPARE(judge.badLines, 0);
    const ircaptures::ReadingFigures f = ircaptures::readingFigures(recorded_.lines, judge);
    const double named = ircaptures::percent(f.named, f.frames);
    const double read = ircaptures::percent(f.named + f.generic, f.frames);
    const double airConditioners = ircaptures::percent(f.airConditionersNamed, f.airConditioners);
    const double judged = ircaptures::percent(f.judgedNamed, f.judged);
    const double agreed = ircaptures::percent(f.agreed, f.compared);
    qInfo("named %.2f %%, read %.2f %%, air conditioners named %.2f %%, judge's frames named "
          "%.2f %%, agreed %.3f %%",
        named, read, airConditioners, judged, agreed);
    QVERIFY(named >= kMinNamedPercent);
    QVERIFY(read >= kMinReadPercent);
    QVERIFY(airConditioners >= kMinAirConditionersNamedPercent);
    QVERIFY(judged >= kMinJudgedNamedPercent);
    QVERIFY(agreed >= kMinJudgeAgreementPercent);
    for (const auto &change : f.changed)
        QVERIFY2(kKnownChanges.count(change.first), change.first.c_str());
}

QTEST_APPLESS_MAIN(Captures)
#include "tst_ircodec_captures.moc"

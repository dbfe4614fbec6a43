// Every pair of formats: frames of every protocol our codec encodes, and
// frames longer than a receive record holds, written in one format, read,
// written in the other, read again; what both formats keep must survive.
#include "formats.h"
#include "irparsed.h"
#include "samples.h"

#include <QtTest>

using irfiles::Format;
using irfiles::Signal;

Q_DECLARE_METATYPE(irfiles::Format)

namespace {

// What a format keeps of a signal (see formats.h).
struct Keeps
{
    Format format;
    bool name;
    bool carrier;          // each frame's own carrier
    int32_t durationSlack; // largest rounding of one duration, in us
};

// Pronto rounds to whole carrier periods: under 30 us for the carriers here.
constexpr int32_t kProntoSlackUs = 30;

constexpr Keeps kKeeps[] = {
    {Format::Ir, true, true, 0},
    {Format::Lirc, true, true, 0},
    {Format::Pronto, true, true, kProntoSlackUs},
    {Format::PulseSpace, true, false, 0},
    {Format::Csv, false, false, 0},
};

const Keeps &keeps(Format format)
{
    for (const Keeps &k : kKeeps)
        if (k.format == format)
            return k;
    return kKeeps[0];
}

std::vector<Signal> allSignals()
{
    std::vector<Signal> list = samples::everyProtocol();
    list.push_back(samples::longFrame("AC_300", 300, 38000));
    list.push_back(samples::longFrame("AC_498", 498, 38000));
    // RC5's extended form, which our codec does not decode.
    irfiles::ParsedProblem problem;
    Signal extended;
    extended.name = "RC5X_extended";
    const auto parsed = irfiles::fromParsed({"RC5X", 0x0A, 0x6D}, problem);
    extended.carrierHz = parsed->carrierHz;
    extended.durations = parsed->durations;
    extended.decoded = irfiles::decodeDurations(extended.durations);
    list.push_back(extended);
    return list;
}

std::vector<Signal> through(Format format, const std::vector<Signal> &list, QString &problem)
{
    const irfiles::Written written = irfiles::write(format, list);
    if (!written.ok()) {
        problem = QString::fromStdString(written.error);
        return {};
    }
    const irfiles::Loaded loaded = irfiles::read(format, written.data, "roundtrip");
    if (!loaded.ok()) {
        problem
            = QString::fromStdString(loaded.error->text()) + "\n" + samples::preview(written.data);
        return {};
    }
    return loaded.list;
}

} // namespace

class RoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void samplesCoverEveryProtocol();
    void everyPair_data();
    void everyPair();
};

void RoundTrip::samplesCoverEveryProtocol()
{
    // Every protocol that encodes is among the samples, and each sample
    // decodes to its own protocol, so the pairs below carry real frames.
    std::vector<bool> seen(ircodec::kProtocolCount, false);
    for (const Signal &s : samples::everyProtocol()) {
        const auto frame = ircodec::decode(s.durations);
        QVERIFY2(frame, s.name.c_str());
        QVERIFY2(s.name.rfind(ircodec::name(frame->protocol), 0) == 0, s.name.c_str());
        seen[static_cast<size_t>(frame->protocol)] = true;
    }
    for (int p = 0; p < ircodec::kProtocolCount; ++p)
        QVERIFY2(seen[static_cast<size_t>(p)], ircodec::name(static_cast<ircodec::Protocol>(p)));
}

void RoundTrip::everyPair_data()
{
    QTest::addColumn<Format>("first");
    QTest::addColumn<Format>("second");
    for (const auto &a : irfiles::formats())
        for (const auto &b : irfiles::formats())
            QTest::newRow(qPrintable(QString("%1 -> %2").arg(a.name, b.name)))
                << a.format << b.format;
}

void RoundTrip::everyPair()
{
    QFETCH(Format, first);
    QFETCH(Format, second);
    const std::vector<Signal> original = allSignals();
    QString problem;
    const std::vector<Signal> once = through(first, original, problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const std::vector<Signal> twice = through(second, once, problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(twice.size(), original.size());

    const Keeps &a = keeps(first), &b = keeps(second);
    const int32_t slack = a.durationSlack + b.durationSlack;
    for (size_t i = 0; i < original.size(); ++i) {
        const Signal &in = original[i], &out = twice[i];
        const QString where = QString::fromStdString(in.name) + ": ";
        const QString differ = samples::durationsDiffer(in.durations, out.durations, slack);
        QVERIFY2(differ.isEmpty(), qPrintable(where + differ));
        // The decoded result is the same frame however it was carried.
        QCOMPARE(out.decoded.decodeType, in.decoded.decodeType);
        QCOMPARE(out.decoded.value, in.decoded.value);
        QCOMPARE(out.decoded.address, in.decoded.address);
        QCOMPARE(out.decoded.bits, in.decoded.bits);
        if (a.name && b.name)
            QCOMPARE(out.name, in.name);
        if (a.carrier && b.carrier) {
            // Pronto's frequency word rounds the carrier by under 1 %.
            const int32_t carrierSlack = in.carrierHz / 100;
            QVERIFY2(std::abs(out.carrierHz - in.carrierHz) <= carrierSlack,
                qPrintable(where
                    + QString("carrier %1 instead of %2").arg(out.carrierHz).arg(in.carrierHz)));
        }
    }
}

QTEST_APPLESS_MAIN(RoundTrip)
#include "tst_irfiles_roundtrip.moc"

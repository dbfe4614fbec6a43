// Received frames into callback records: every duration of a long frame is
// kept, and a frame the receiver lost samples of or cut at the segmenter's
// limit is reported undecoded.
#include "results.h"

#include <QtTest>

namespace {

const ircodec::Frame kNec = ircodec::necFrame(0x2A, 0xC5, true);
constexpr int64_t kSilenceUs = 40000;

ircodec::Capture captureOf(ircodec::Durations durations, bool cut = false)
{
    return ircodec::Capture{kSilenceUs, std::move(durations), cut};
}

} // namespace

class Reports : public QObject
{
    Q_OBJECT

private slots:
    void everyDurationKept();
    void brokenOrCutFramesUndecoded();
};

void Reports::everyDurationKept()
{
    const ircodec::Durations durations(599, 400);
    korvex::Reporter reporter;
    auto received = reporter.take(captureOf(durations));
    QVERIFY(received);
    const IRResults results = received->results();
    QCOMPARE(results.raw_count, int32_t(durations.size() + 1));
    QCOMPARE(results.raw_data[0], int(kSilenceUs / ircodec::kTickUs));
    for (int i = 1; i < results.raw_count; ++i)
        QCOMPARE(results.raw_data[i], 400 / ircodec::kTickUs);
}

void Reports::brokenOrCutFramesUndecoded()
{
    const ircodec::Durations nec = (*ircodec::encode(kNec))[0].durations;
    const int32_t necId = ircodec::catalogueId(ircodec::Protocol::Nec);
    struct Case
    {
        bool broken;
        bool cut;
        int32_t type;
    };
    for (const Case &c :
        {Case{false, false, necId}, Case{true, false, -1}, Case{false, true, -1}}) {
        korvex::Reporter reporter;
        auto received = reporter.take(captureOf(nec, c.cut), c.broken);
        QVERIFY(received);
        QCOMPARE(received->results().decode_type, c.type);
        QCOMPARE(received->results().raw_count, int32_t(nec.size() + 1));
    }
}

QTEST_APPLESS_MAIN(Reports)
#include "tst_reporter.moc"

// The pure receive logic: copying records into entries, the row and details
// texts, the waveform levels and the line the plot draws through them.
#include "frameformat.h"
#include "receivequeue.h"
#include "wavecurve.h"
#include "waveform.h"
#include "waveseries.h"

#include <QTest>

#include <qwt_point_mapper.h>
#include <qwt_scale_map.h>

#include <numeric>

Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<double>)

namespace {
IRResults record(
    int32_t type, uint32_t value, uint32_t address, int32_t bits, int *raw, int32_t count)
{
    IRResults r{};
    r.decode_type = type;
    r.value = value;
    r.address = address;
    r.bits = bits;
    r.raw_data = raw;
    r.raw_count = count;
    r.extra = 77;
    return r;
}

IRResultsEntry entryOf(
    int32_t type, uint32_t value, uint32_t address, int32_t bits, std::vector<int> raw)
{
    const IRResults r
        = record(type, value, address, bits, raw.data(), static_cast<int32_t>(raw.size()));
    return makeEntry(r);
}

// Runs of (level, length) in a sample buffer.
std::vector<std::pair<double, int>> runs(const waveform::Waveform &wave)
{
    std::vector<std::pair<double, int>> out;
    for (const waveform::Run &run : wave.runs)
        out.emplace_back(run.level, run.length);
    return out;
}

std::vector<std::pair<double, int>> runs(const std::vector<double> &samples)
{
    std::vector<std::pair<double, int>> out;
    for (double s : samples) {
        if (out.empty() || out.back().first != s)
            out.emplace_back(s, 0);
        ++out.back().second;
    }
    return out;
}
} // namespace

class TestReceiveFormat : public QObject
{
    Q_OBJECT

private slots:
    void entryKeepsRawValues_data();
    void entryKeepsRawValues();

    void rowTexts_data();
    void rowTexts();
    void rawTimingList_data();
    void rawTimingList();

    void detailsMarkLongAndCutFrames_data();
    void detailsMarkLongAndCutFrames();

    void levels_data();
    void levels();
    void levelsStopAtTheLimit();
    void seriesGivesEverySample();
    void polylineIsQwtsOwn_data();
    void polylineIsQwtsOwn();
};

void TestReceiveFormat::entryKeepsRawValues_data()
{
    // The record's count and whether it has an array; how many values the
    // entry shows (the first ones, in order), how many the queue keeps whole,
    // and how many the adapter reported.
    QTest::addColumn<int>("available");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("hasArray");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("reported");
    QTest::newRow("none") << 0 << 0 << false << 0 << 0 << 0;
    QTest::newRow("one") << 1 << 1 << true << 1 << 1 << 1;
    QTest::newRow("four") << 4 << 4 << true << 4 << 4 << 4;
    QTest::newRow("exactly 256") << 256 << 256 << true << 256 << 256 << 256;
    QTest::newRow("257 shows 256, keeps all") << 257 << 257 << true << 256 << 257 << 257;
    QTest::newRow("air conditioner, 600") << 600 << 600 << true << 256 << 600 << 600;
    QTest::newRow("at the limit") << irlimits::kMaxKeptRawValues << irlimits::kMaxKeptRawValues
                                  << true << 256 << irlimits::kMaxKeptRawValues
                                  << irlimits::kMaxKeptRawValues;
    QTest::newRow("100000 is cut")
        << 100000 << 100000 << true << 256 << irlimits::kMaxKeptRawValues << 100000;
    QTest::newRow("negative count") << 4 << -3 << true << 0 << 0 << 0;
    QTest::newRow("count without array") << 0 << 5 << false << 0 << 0 << 0;
}

void TestReceiveFormat::entryKeepsRawValues()
{
    QFETCH(int, available);
    QFETCH(int, count);
    QFETCH(bool, hasArray);
    QFETCH(int, shown);
    QFETCH(int, kept);
    QFETCH(int, reported);
    std::vector<int> raw(static_cast<size_t>(available));
    std::iota(raw.begin(), raw.end(), 1);
    const IRResults r = record(3, 0, 0, 32, hasArray ? raw.data() : nullptr, count);
    QCOMPARE(keptRawCount(r), kept);

    // makeEntry and the queue give the same entry; the queue also hands out
    // every value it kept.
    ReceiveQueue queue;
    queue.append(r);
    IRResultsEntry queued;
    QVERIFY(queue.entryAt(0, queued));
    std::vector<int32_t> whole;
    QVERIFY(queue.rawValues(0, whole));
    QCOMPARE(int(whole.size()), kept);
    QVERIFY(std::equal(whole.begin(), whole.end(), raw.begin()));
    for (const IRResultsEntry &e : {makeEntry(r), queued}) {
        QCOMPARE(e.raw_count, shown);
        QCOMPARE(int(e.raw_values.size()), shown);
        QVERIFY(std::equal(e.raw_values.begin(), e.raw_values.end(), raw.begin()));
        QCOMPARE(e.keptCount, kept);
        QCOMPARE(e.reportedCount, reported);
        QCOMPARE(e.truncated(), kept < reported);
        QCOMPARE(e.extra, 77);
    }
    QVERIFY(!queue.entryAt(1, queued));
    QVERIFY(!queue.rawValues(-1, whole));
}

void TestReceiveFormat::rowTexts_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("value");
    QTest::addColumn<uint>("address");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QStringList>("cells"); // columns 0 to 4; "-" for no item
    QTest::newRow("first row, NEC")
        << 0 << 3 << 0x00FF00FFu << 0x1234u << 32 << QStringList{"1", "NEC", "00FF00FF", "-", "32"};
    QTest::newRow("tenth row") << 9 << 1 << 0x5u << 0u << 13
                               << QStringList{"10", "RC5", "00000005", "-", "13"};
    QTest::newRow("NEC repeat") << 0 << 3 << 0xFFFFFFFFu << 0u << 0
                                << QStringList{"1", "NEC", "REPEAT", "-", "0"};
    QTest::newRow("SONY all ones is data")
        << 0 << 4 << 0xFFFFFFFFu << 0u << 12 << QStringList{"1", "SONY", "FFFFFFFF", "-", "12"};
    QTest::newRow("SHARP address")
        << 0 << 14 << 0xABu << 0x1Fu << 15 << QStringList{"1", "SHARP", "000000AB", "001F", "15"};
    QTest::newRow("PANASONIC wide address")
        << 0 << 5 << 0u << 0x12345u << 48
        << QStringList{"1", "PANASONIC", "00000000", "12345", "48"};
    QTest::newRow("SHARP address 1234")
        << 0 << 14 << 0u << 0x1234u << 15 << QStringList{"1", "SHARP", "00000000", "1234", "15"};
    QTest::newRow("UNKNOWN") << 0 << -1 << 0u << 0u << 0
                             << QStringList{"1", "UNKNOWN", "00000000", "-", "0"};
    QTest::newRow("UNUSED") << 0 << 0 << 0u << 0u << 0
                            << QStringList{"1", "UNUSED", "00000000", "-", "0"};
    QTest::newRow("LEGO_PF") << 0 << 17 << 0u << 0u << 16
                             << QStringList{"1", "LEGO_PF", "00000000", "-", "16"};
    QTest::newRow("type out of range")
        << 0 << 99 << 0u << 7u << 0 << QStringList{"1", "UNKNOWN", "00000000", "-", "0"};
    QTest::newRow("negative bits")
        << 0 << 2 << 0u << 0u << -4 << QStringList{"1", "RC6", "00000000", "-", "-4"};
}

void TestReceiveFormat::rowTexts()
{
    QFETCH(int, row);
    QFETCH(int, type);
    QFETCH(uint, value);
    QFETCH(uint, address);
    QFETCH(int, bits);
    QFETCH(QStringList, cells);
    const IRResultsEntry e = entryOf(type, value, address, bits, {2000, 180, 90, 11});
    const auto texts = frameformat::rowTexts(row, e);
    for (int column = 0; column < frameformat::RawData; ++column) {
        const QString &text = texts[static_cast<size_t>(column)];
        if (cells[column] == QLatin1String("-"))
            QVERIFY2(text.isNull(), qPrintable(text));
        else
            QCOMPARE(text, cells[column]);
    }
    QCOMPARE(texts[frameformat::RawData], QStringLiteral("180,90,11"));
}

void TestReceiveFormat::rawTimingList_data()
{
    QTest::addColumn<std::vector<int>>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << std::vector<int>{} << QString();
    QTest::newRow("one value is never listed") << std::vector<int>{2000} << QString();
    QTest::newRow("two") << std::vector<int>{2000, 180} << QStringLiteral("180");
    QTest::newRow("four") << std::vector<int>{2000, 180, 90, 11} << QStringLiteral("180,90,11");
    QTest::newRow("negative and zero")
        << std::vector<int>{1, -5, 0, 2147483647} << QStringLiteral("-5,0,2147483647");
}

void TestReceiveFormat::rawTimingList()
{
    QFETCH(std::vector<int>, raw);
    QFETCH(QString, text);
    const IRResultsEntry e = entryOf(3, 0, 0, 32, raw);
    QCOMPARE(frameformat::rawTimingList(e), text);
}

void TestReceiveFormat::detailsMarkLongAndCutFrames_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("lines"); // the raw data line, after bits, left out
    QTest::newRow("NEC, 4 values") << 3 << 4 << QStringList{"type:NEC", "bits:32"};
    QTest::newRow("NEC, 256 values") << 3 << 256 << QStringList{"type:NEC", "bits:32"};
    QTest::newRow("NEC, 257 values")
        << 3 << 257
        << QStringList{"type:NEC", "bits:32",
               "values:257 (the first 256 shown; copy, save and send again use all 257)"};
    QTest::newRow("SHARP, 600 values")
        << 14 << 600
        << QStringList{"type:SHARP", "address:0x001F", "bits:32",
               "values:600 (the first 256 shown; copy, save and send again use all 600)"};
    QTest::newRow("cut frame") << 3 << irlimits::kMaxKeptRawValues + 5
                               << QStringList{"type:NEC", "bits:32",
                                      "values:16384 (the first 256 shown; copy, save and send "
                                      "again use all 16384)",
                                      QStringLiteral("truncated:%1 of %2")
                                          .arg(irlimits::kMaxKeptRawValues)
                                          .arg(irlimits::kMaxKeptRawValues + 5)};
}

void TestReceiveFormat::detailsMarkLongAndCutFrames()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(QStringList, lines);
    std::vector<int> raw(static_cast<size_t>(count), 7);
    const IRResultsEntry e = entryOf(type, 0, 0x1F, 32, raw);
    const QString rawList = frameformat::rawTimingList(e);
    QCOMPARE(
        rawList.count(QLatin1Char(',')) + 1, std::min(count, irlimits::kMaxRecordRawValues) - 1);
    lines.insert(
        lines.indexOf(QStringLiteral("bits:32")) + 1, QStringLiteral("raw data:") + rawList);
    QCOMPARE(frameformat::detailsLines(e, rawList), lines);
}

void TestReceiveFormat::levels_data()
{
    // Expected waveform as runs of (level, samples).
    using Runs = std::vector<std::pair<double, int>>;
    QTest::addColumn<QString>("rawList");
    QTest::addColumn<int>("count");
    QTest::addColumn<std::vector<double>>("runLevels");
    QTest::addColumn<std::vector<int>>("runLengths");
    auto row = [](const char *name, const char *list, int count, Runs expected) {
        std::vector<double> lv;
        std::vector<int> len;
        for (const auto &r : expected) {
            lv.push_back(r.first);
            len.push_back(r.second);
        }
        QTest::newRow(name) << QString::fromLatin1(list) << count << lv << len;
    };
    row("odd number of parts", "180,90,11", 2281,
        {{1, 1000}, {0, 180}, {1, 90}, {0, 11}, {1, 1000}});
    row("even number of parts", "180,90", 2270, {{1, 1000}, {0, 180}, {1, 90}, {0, 1000}});
    row("zero keeps its position", "180,0,11", 2191, {{1, 1000}, {0, 191}, {1, 1000}});
    row("not a number", "abc", 2000, {{1, 2000}});
    row("not a number among numbers", "180,abc,11", 2191, {{1, 1000}, {0, 191}, {1, 1000}});
    row("empty list", "", 2000, {{1, 2000}});
    row("negative counts as 0", "180,-90,11", 2191, {{1, 1000}, {0, 191}, {1, 1000}});
    row("too large for int counts as 0", "99999999999", 2000, {{1, 2000}});
}

void TestReceiveFormat::levels()
{
    QFETCH(QString, rawList);
    QFETCH(int, count);
    QFETCH(std::vector<double>, runLevels);
    QFETCH(std::vector<int>, runLengths);
    const waveform::Waveform wave = waveform::build(rawList);
    QCOMPARE(wave.samples, count);
    QCOMPARE(wave.length, (long long)count);
    const auto got = runs(waveform::samples(wave));
    QCOMPARE(runs(wave), got);
    QCOMPARE(got.size(), runLevels.size());
    for (size_t i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].first, runLevels[i]);
        QCOMPARE(got[i].second, runLengths[i]);
    }
    // A level buffer gives the same waveform back.
    const std::vector<double> buffer = waveform::samples(wave);
    QCOMPARE(runs(waveform::fromSamples(buffer.data(), int(buffer.size()))), got);
}

void TestReceiveFormat::levelsStopAtTheLimit()
{
    // Two timings of INT_MAX: the sum overflows an int, and the frame is far
    // longer than the limit; it is drawn up to the limit, and its length is
    // the whole frame's.
    const waveform::Waveform cut = waveform::build(QStringLiteral("2147483647,2147483647"));
    QCOMPARE(cut.samples, waveform::kMaxSamples);
    QCOMPARE(cut.length, 2 * 2147483647LL + 2 * waveform::kIdleRunSamples);
    const auto got = runs(cut);
    QCOMPARE(int(got.size()), 2);
    QCOMPARE(got[0], std::make_pair(1.0, waveform::kIdleRunSamples));
    QCOMPARE(got[1], std::make_pair(0.0, waveform::kMaxSamples - waveform::kIdleRunSamples));

    // The longest frame our adapters report (255 timings of 0xFFFF) is drawn
    // whole; just below the limit the whole frame fits, and one more sample
    // is cut.
    QStringList longest;
    for (int i = 0; i < 255; ++i)
        longest << QStringLiteral("65535");
    const waveform::Waveform whole = waveform::build(longest.join(QLatin1Char(',')));
    QCOMPARE((long long)whole.samples, whole.length);
    QCOMPARE(whole.length, 255 * 65535LL + 2 * waveform::kIdleRunSamples);
    const int fits = waveform::kMaxSamples - 2 * waveform::kIdleRunSamples;
    const waveform::Waveform full = waveform::build(QString::number(fits));
    QCOMPARE(full.samples, waveform::kMaxSamples);
    QCOMPARE(full.runs.back().level, 1.0);
    QCOMPARE(full.runs.back().length, waveform::kIdleRunSamples);
    const waveform::Waveform over = waveform::build(QString::number(fits + 1));
    QCOMPARE(over.samples, waveform::kMaxSamples);
    QCOMPARE(over.length, (long long)waveform::kMaxSamples + 1);
    QCOMPARE(over.runs.back().length, waveform::kIdleRunSamples - 1);
}

void TestReceiveFormat::seriesGivesEverySample()
{
    // Every sample of the curve's data, read forwards, backwards and at
    // random, is the plain one; the bounding rectangle is Qwt's.
    const waveform::Waveform wave = waveform::build(QStringLiteral("180,0,11,5,abc,1,2,3"));
    const std::vector<double> expected = waveform::samples(wave);
    const WaveSeries series(wave);
    QCOMPARE(series.size(), expected.size());
    std::vector<size_t> order(expected.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::vector<size_t> backwards(order.rbegin(), order.rend());
    std::vector<size_t> scattered;
    for (size_t i = 0; i < order.size(); ++i)
        scattered.push_back(i * 7919 % order.size());
    for (const auto &indices : {order, backwards, scattered}) {
        for (size_t i : indices) {
            const QPointF p = series.sample(i);
            QCOMPARE(p.x(), double(i));
            QCOMPARE(p.y(), expected[i]);
        }
    }
    QCOMPARE(series.boundingRect(), QRectF(0, 0, double(expected.size() - 1), 1));
    QVERIFY(!WaveSeries(waveform::Waveform()).boundingRect().isValid());
    QCOMPARE(WaveSeries(waveform::Waveform()).size(), size_t(0));
}

void TestReceiveFormat::polylineIsQwtsOwn_data()
{
    // Waveforms, and the pixels of the canvas they are drawn on: squeezed
    // (many samples per pixel) and stretched (many pixels per sample).
    QTest::addColumn<QString>("rawList");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to"); // -1: the last sample
    QTest::newRow("NEC on 800 px") << "180,90,11,11,11,34,11,11,11,34" << 0.0 << 800.0 << 0 << -1;
    QTest::newRow("long frame on 500 px")
        << "180000,90,300000,1,1,1,70000" << 0.0 << 500.0 << 0 << -1;
    QTest::newRow("short frame on 2000 px") << "3,1,2" << 0.0 << 2000.0 << 0 << -1;
    QTest::newRow("part of a frame") << "180,90,11,34,11" << 0.0 << 700.0 << 1100 << 1250;
    QTest::newRow("empty list") << "" << 0.0 << 640.0 << 0 << -1;
    QTest::newRow("half pixels") << "" << 0.0 << 1000.0 << 0 << -1;
    QTest::newRow("canvas off the origin") << "5000,17,300,1,90000" << 3.3 << 808.4 << 0 << -1;
    QTest::newRow("5,000,000 samples") << "4998000" << 0.0 << 777.0 << 0 << -1;
}

void TestReceiveFormat::polylineIsQwtsOwn()
{
    QFETCH(QString, rawList);
    QFETCH(double, left);
    QFETCH(double, width);
    QFETCH(int, from);
    QFETCH(int, to);
    const waveform::Waveform wave = waveform::build(rawList);
    const WaveSeries series(wave);
    if (to < 0)
        to = int(series.size()) - 1;
    QwtScaleMap xMap;
    xMap.setScaleInterval(0, double(wave.length));
    xMap.setPaintInterval(left, left + width);
    QwtScaleMap yMap;
    yMap.setScaleInterval(-0.5, 1.5);
    yMap.setPaintInterval(300, 0);

    // With rounding, as on the screen: exactly the line Qwt maps.
    QwtPointMapper mapper;
    mapper.setFlag(QwtPointMapper::RoundPoints, true);
    mapper.setFlag(QwtPointMapper::WeedOutPoints, true);
    const QPolygonF qwt = mapper.toPolygonF(xMap, yMap, &series, from, to);
    QCOMPARE(wavePolyline(series, xMap, yMap, size_t(from), size_t(to), true), qwt);

    // Without, the corners of that line: every sample lies on the straight
    // stretch between two neighbouring points.
    const QPolygonF corners = wavePolyline(series, xMap, yMap, size_t(from), size_t(to), false);
    QVERIFY(corners.size() <= 2 * int(wave.runs.size()));
    int segment = 0;
    for (int i = from; i <= to; ++i) {
        const QPointF p(xMap.transform(i), yMap.transform(series.sample(size_t(i)).y()));
        while (segment + 1 < corners.size() && corners[segment + 1].x() < p.x())
            ++segment;
        const QPointF a = corners[segment];
        const QPointF b = segment + 1 < corners.size() ? corners[segment + 1] : a;
        const bool onA = qFuzzyCompare(p.x(), a.x()) && qFuzzyCompare(p.y(), a.y());
        const bool onB = qFuzzyCompare(p.x(), b.x()) && qFuzzyCompare(p.y(), b.y());
        const bool between = a.y() == b.y() && p.y() == a.y() && p.x() >= a.x() && p.x() <= b.x();
        if (!onA && !onB && !between)
            QFAIL(qPrintable(QStringLiteral("sample %1 is off the line").arg(i)));
    }
}

QTEST_APPLESS_MAIN(TestReceiveFormat)
#include "tst_receiveformat.moc"

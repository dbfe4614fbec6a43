// The pure receive logic: copying records into entries, the row texts and
// the waveform levels.
#include "frameformat.h"
#include "levels.h"
#include "receivequeue.h"

#include <QTest>

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

    void levels_data();
    void levels();
    void levelsStopAtTheLimit();
};

void TestReceiveFormat::entryKeepsRawValues_data()
{
    // The record's count and whether it has an array, and how many values the
    // entry must keep (the first ones, in order).
    QTest::addColumn<int>("available");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("hasArray");
    QTest::addColumn<int>("kept");
    QTest::newRow("none") << 0 << 0 << false << 0;
    QTest::newRow("one") << 1 << 1 << true << 1;
    QTest::newRow("four") << 4 << 4 << true << 4;
    QTest::newRow("exactly 256") << 256 << 256 << true << 256;
    QTest::newRow("257 keeps 256") << 257 << 257 << true << 256;
    QTest::newRow("100000 keeps 256") << 100000 << 100000 << true << 256;
    QTest::newRow("negative count") << 4 << -3 << true << 0;
    QTest::newRow("count without array") << 0 << 5 << false << 0;
}

void TestReceiveFormat::entryKeepsRawValues()
{
    QFETCH(int, available);
    QFETCH(int, count);
    QFETCH(bool, hasArray);
    QFETCH(int, kept);
    std::vector<int> raw(static_cast<size_t>(available));
    std::iota(raw.begin(), raw.end(), 1);
    const IRResults r = record(3, 0, 0, 32, hasArray ? raw.data() : nullptr, count);
    const IRResultsEntry e = makeEntry(r);
    QCOMPARE(e.raw_count, kept);
    for (int i = 0; i < kept; ++i)
        QCOMPARE(e.raw_values[i], i + 1);
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
    const std::vector<double> samples = levels::build(rawList);
    QCOMPARE(int(samples.size()), count);
    const auto got = runs(samples);
    QCOMPARE(got.size(), runLevels.size());
    for (size_t i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].first, runLevels[i]);
        QCOMPARE(got[i].second, runLengths[i]);
    }
}

void TestReceiveFormat::levelsStopAtTheLimit()
{
    // Two timings of INT_MAX: the sum overflows an int, and the frame is far
    // longer than the limit; it is drawn up to the limit.
    const std::vector<double> samples = levels::build(QStringLiteral("2147483647,2147483647"));
    QCOMPARE(int(samples.size()), levels::MaxSamples);
    const auto got = runs(samples);
    QCOMPARE(int(got.size()), 2);
    QCOMPARE(got[0].first, 1.0);
    QCOMPARE(got[0].second, levels::IdleRunSamples);
    QCOMPARE(got[1].first, 0.0);

    // Just below the limit the whole frame, trailing idle run included, fits.
    const int fits = levels::MaxSamples - 2 * levels::IdleRunSamples;
    QCOMPARE(int(levels::build(QString::number(fits)).size()), levels::MaxSamples);
    QCOMPARE(levels::build(QString::number(fits)).back(), 1.0);
}

QTEST_APPLESS_MAIN(TestReceiveFormat)
#include "tst_receiveformat.moc"

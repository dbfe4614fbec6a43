// The general sender's text parsing, record filling, and the channel masks
// that every sender and reception use.
#include "channels.h"
#include "sendtext.h"

#include <QTest>

#include <cstring>

Q_DECLARE_METATYPE(QVector<int>)

class TestSendText : public QObject
{
    Q_OBJECT

private slots:
    void rawTimings_data();
    void rawTimings();
    void rawTimingsStopAt256_data();
    void rawTimingsStopAt256();
    void value_data();
    void value();
    void record_data();
    void record();
    void recordBytes();
    void channelMask_data();
    void channelMask();
};

void TestSendText::rawTimings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<int>>("expected");
    QTest::newRow("three numbers") << "900,450,560" << QVector<int>{900, 450, 560};
    QTest::newRow("empty text") << "" << QVector<int>{0};
    QTest::newRow("trailing comma") << "900,450," << QVector<int>{900, 450, 0};
    QTest::newRow("blank after comma") << "100, 200" << QVector<int>{100, 200};
    QTest::newRow("blanks around") << " 7 ,\t8" << QVector<int>{7, 8};
    QTest::newRow("semicolons") << "100;200;300" << QVector<int>{0};
    QTest::newRow("line breaks") << "100\n200" << QVector<int>{0};
    QTest::newRow("hex prefix") << "0x10" << QVector<int>{0};
    QTest::newRow("leading zero is decimal") << "010" << QVector<int>{10};
    QTest::newRow("letters") << "abc,12" << QVector<int>{0, 12};
    QTest::newRow("only commas") << ",," << QVector<int>{0, 0, 0};
    QTest::newRow("negative") << "-5,5" << QVector<int>{-5, 5};
    QTest::newRow("beyond int") << "2147483648,2147483647" << QVector<int>{0, 2147483647};
}

void TestSendText::rawTimings()
{
    QFETCH(QString, text);
    QFETCH(QVector<int>, expected);
    QCOMPARE(sendtext::parseRawTimings(text), expected);
}

void TestSendText::rawTimingsStopAt256_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("sent");
    QTest::newRow("255") << 255 << 255;
    QTest::newRow("256") << 256 << 256;
    QTest::newRow("257") << 257 << 256;
    QTest::newRow("300") << 300 << 256;
}

void TestSendText::rawTimingsStopAt256()
{
    QFETCH(int, typed);
    QFETCH(int, sent);
    QStringList numbers;
    for (int i = 0; i < typed; ++i)
        numbers << QString::number(1000 + i);
    const QVector<int> timings = sendtext::parseRawTimings(numbers.join(QLatin1Char(',')));
    QCOMPARE(timings.size(), sent);
    for (int i = 0; i < sent; ++i)
        QCOMPARE(timings.at(i), 1000 + i);
}

void TestSendText::value_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("expected");
    QTest::newRow("start text") << "0x11223344" << 0x11223344u;
    QTest::newRow("decimal form") << "287454020" << 0x11223344u;
    QTest::newRow("upper-case prefix") << "0X1f" << 0x1Fu;
    QTest::newRow("octal") << "010" << 8u;
    QTest::newRow("letters") << "abc" << 0u;
    QTest::newRow("empty") << "" << 0u;
    QTest::newRow("largest int") << "0x7FFFFFFF" << 0x7FFFFFFFu;
    // The whole unsigned range, in every base: half of all 32-bit codes lie
    // above the largest int.
    QTest::newRow("above int, hex") << "0xE0E040BF" << 0xE0E040BFu;
    QTest::newRow("all ones, hex") << "0xFFFFFFFF" << 0xFFFFFFFFu;
    QTest::newRow("above int, octal") << "037777777777" << 0xFFFFFFFFu;
    QTest::newRow("above int, decimal") << "4294967295" << 0xFFFFFFFFu;
    QTest::newRow("lowest above int") << "2147483648" << 0x80000000u;
    QTest::newRow("beyond 32 bits, hex") << "0x100000000" << 0u;
    QTest::newRow("beyond 32 bits, decimal") << "4294967296" << 0u;
    QTest::newRow("minus one") << "-1" << 0xFFFFFFFFu;
    QTest::newRow("smallest int") << "-2147483648" << 0x80000000u;
    QTest::newRow("below int") << "-2147483649" << 0u;
    QTest::newRow("negative hex") << "-0x10" << 0xFFFFFFF0u;
    QTest::newRow("blanks around") << " 12 " << 12u;
}

void TestSendText::value()
{
    QFETCH(QString, text);
    QFETCH(uint, expected);
    QCOMPARE(sendtext::parseValue(text), expected);
}

void TestSendText::record_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("address");
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("bits");
    QTest::newRow("UNUSED") << 0 << false << 0 << 0u << 0;
    QTest::newRow("NEC repeat") << 3 << true << 0xFFFF << 0x11223344u << 32;
    QTest::newRow("LEGO_PF") << 17 << false << 0x1234 << 0xFFFFFFFFu << 16;
}

void TestSendText::record()
{
    QFETCH(int, protocol);
    QFETCH(bool, repeat);
    QFETCH(int, address);
    QFETCH(uint, value);
    QFETCH(int, bits);
    const IRSendData data
        = sendtext::makeSendData(protocol, repeat, static_cast<uint16_t>(address), value, bits);
    QCOMPARE(data.protocol, protocol);
    QCOMPARE(int(data.repeat), repeat ? 1 : 0);
    QCOMPARE(int(data.address), address);
    QCOMPARE(data.value, value);
    QCOMPARE(data.bits, bits);
}

void TestSendText::recordBytes()
{
    const IRSendData data = sendtext::makeSendData(3, true, 0xFFFF, 0x11223344u, 32);
    unsigned char bytes[sizeof data];
    std::memcpy(bytes, &data, sizeof data);
    const unsigned char expected[16] = {0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x44, 0x33,
        0x22, 0x11, 0x20, 0x00, 0x00, 0x00};
    QCOMPARE(int(sizeof data), 16);
    for (int i = 0; i < 16; ++i) {
        const int paddingOffset = 5; // its value is not part of the layout
        if (i == paddingOffset)
            continue;
        QVERIFY2(bytes[i] == expected[i], qPrintable(QStringLiteral("byte %1").arg(i)));
    }
}

void TestSendText::channelMask_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("input");
    QTest::newRow("CH0, D0") << 0 << 0x0001 << 0x01;
    QTest::newRow("CH5, D5") << 5 << 0x0020 << 0x20;
    QTest::newRow("CH7, D7") << 7 << 0x0080 << 0x80;
    QTest::newRow("CH8, past D7") << 8 << 0x0100 << 0;
    QTest::newRow("CH15, past D7") << 15 << 0x8000 << 0;
    QTest::newRow("no selection") << -1 << 0 << 0;
    QTest::newRow("past CH15") << 16 << 0 << 0;
}

void TestSendText::channelMask()
{
    QFETCH(int, channel);
    QFETCH(int, output);
    QFETCH(int, input);
    QCOMPARE(channels::outputMask(channel), output);
    QCOMPARE(int(channels::inputMask(channel)), input);
}

QTEST_MAIN(TestSendText)
#include "tst_sendtext.moc"

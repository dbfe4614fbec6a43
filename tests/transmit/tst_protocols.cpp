// The protocol catalogue: names, the NEC repeat marker and the address rule.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "protocols.h"
#include "testsupport.h"

#include <QComboBox>
#include <QTest>

#include <climits>

class TestProtocols : public QObject
{
    Q_OBJECT

private slots:
    void name_data();
    void name();
    void repeatMarker_data();
    void repeatMarker();
    void addressShown_data();
    void addressShown();
    void sendComboOffersTheSendableNames();
};

void TestProtocols::name_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    const char *const names[] = {"UNKNOWN", "UNUSED", "RC5", "RC6", "NEC", "SONY", "PANASONIC",
        "JVC", "SAMSUNG", "WHYNTER", "AIWA_RC_T501", "LG", "SANYO", "MITSUBISHI", "DISH", "SHARP",
        "DENON", "PRONTO", "LEGO_PF"};
    int id = -1;
    for (const char *n : names) {
        QTest::addRow("%d", id) << id << QString::fromLatin1(n);
        ++id;
    }
    // Outside the catalogue: a safe name, never a read beyond the table.
    QTest::newRow("-2") << -2 << "UNKNOWN";
    QTest::newRow("18") << 18 << "UNKNOWN";
    QTest::newRow("min") << INT_MIN << "UNKNOWN";
    QTest::newRow("max") << INT_MAX << "UNKNOWN";
}

void TestProtocols::name()
{
    QFETCH(int, id);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromLatin1(protocols::name(id)), expected);
}

void TestProtocols::repeatMarker_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("NEC all ones") << 3 << 0xFFFFFFFFu << true;
    QTest::newRow("NEC data") << 3 << 0x00FF00FFu << false;
    QTest::newRow("NEC one below") << 3 << 0xFFFFFFFEu << false;
    QTest::newRow("SONY all ones") << 4 << 0xFFFFFFFFu << false;
    QTest::newRow("UNKNOWN all ones") << -1 << 0xFFFFFFFFu << false;
    QTest::newRow("out of range all ones") << 35 << 0xFFFFFFFFu << false;
}

void TestProtocols::repeatMarker()
{
    QFETCH(int, id);
    QFETCH(uint, value);
    QFETCH(bool, expected);
    QCOMPARE(protocols::isRepeat(id, value), expected);
}

void TestProtocols::addressShown_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("expected");
    for (int id = -2; id <= 18; ++id)
        QTest::addRow("%d", id) << id << (id == 5 || id == 14);
}

void TestProtocols::addressShown()
{
    QFETCH(int, id);
    QFETCH(bool, expected);
    QCOMPARE(protocols::showsAddress(id), expected);
}

void TestProtocols::sendComboOffersTheSendableNames()
{
    // The combo's index is the identifier sent, so item i must be named i.
    MainWindow window;
    auto *combo = child<QComboBox>(&window, "comboBoxSendProtocol");
    QVERIFY(combo);
    QCOMPARE(combo->count(), 18);
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemText(i), QString::fromLatin1(protocols::name(i)));
    QCOMPARE(combo->currentText(), QStringLiteral("NEC"));
}

QTEST_MAIN(TestProtocols)
#include "tst_protocols.moc"

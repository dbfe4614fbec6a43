// The protocol catalogue: its names, and the send combo that indexes it.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "protocols.h"
#include "windowharness.h"

#include <QComboBox>
#include <QTest>

#include <climits>

class TestProtocols : public QObject
{
    Q_OBJECT

private slots:
    void name_data();
    void name();
    void sendComboOffersTheSendableNames();
};

void TestProtocols::name_data()
{
    // The ends of the table, and identifiers outside it: a safe name, never a
    // read beyond the table. The rules of the receive display are checked
    // through the row texts that use them.
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("expected");
    QTest::newRow("-1") << -1 << "UNKNOWN";
    QTest::newRow("17") << 17 << "LEGO_PF";
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

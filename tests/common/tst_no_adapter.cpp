// The library of a program without adapters: the operations over an empty
// device list find none and fail every call, however sound its arguments.
#include "korvex.h"

#include <QtTest>

namespace {

int KORVEX_CALL ignore(int, int, IRResults *)
{
    return 0;
}

} // namespace

class NoAdapter : public QObject
{
    Q_OBJECT

private slots:
    void findsNoneAndFailsEverything();
};

void NoAdapter::findsNoneAndFailsEverything()
{
    QCOMPARE(Device_Scan(0), 0);
    IRSendData nec{};
    nec.protocol = 3;
    nec.bits = 32;
    int raw[] = {9000, 4500, 560};
    for (int index : {0, 1, -1}) {
        QCOMPARE(Device_Open(index), static_cast<unsigned char>(0));
        QVERIFY(IR_NEC_Send(index, 1, 1, 2, 1) != 0);
        QVERIFY(IR_NEC_SendRepeat(index, 1) != 0);
        QVERIFY(IR_ITT_Send(index, 1, 1, 2) != 0);
        QVERIFY(IR_JVC_Send(index, 1, 1, 1, 2) != 0);
        QVERIFY(IR_NRC17_Send(index, 1, 1, 2, 3) != 0);
        QVERIFY(IR_RCA_Send(index, 1, 1, 2) != 0);
        QVERIFY(IR_SendProtocol(index, 1, 38, nec) != 0);
        QVERIFY(IR_SendRaw(index, 1, 38, raw, 3) != 0);
        QVERIFY(IR_ReceiveStart(index, 1, ignore) != 0);
        QVERIFY(IR_ReceiveStop(index) != 0);
    }
}

QTEST_APPLESS_MAIN(NoAdapter)
#include "tst_no_adapter.moc"

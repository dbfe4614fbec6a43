// Device opening: scan, trace, open, and the two warnings.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "windowharness.h"

#include <QTest>

class TestOpenDevice : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fake::Adapter::instance().reset();
    }

    void noAdapter_data();
    void noAdapter();
    void adapterOpens();
    void adapterRefusesToOpen();
    void everyCallScansAndOpensAgain();
    void warningBoxIsAModalOkOnlyBoxOfTheWindow();
};

void TestOpenDevice::noAdapter_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("negative") << -1;
}

void TestOpenDevice::noAdapter()
{
    QFETCH(int, count);
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(count);
    MainWindow window;
    DialogCatcher dialogs;
    TraceCatcher trace;
    QVERIFY(!window.openDevice(0));
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("无设备连接！")});
    QCOMPARE(adapter.count("Device_Scan"), 1);
    QCOMPARE(adapter.calls("Device_Scan")[0].args, std::vector<long long>{0});
    QCOMPARE(adapter.count("Device_Open"), 0);
    QVERIFY(trace.lines().isEmpty());
}

void TestOpenDevice::adapterOpens()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(2);
    MainWindow window;
    DialogCatcher dialogs;
    TraceCatcher trace;
    QVERIFY(window.openDevice(1));
    QVERIFY(dialogs.dialogs.isEmpty());
    QCOMPARE(trace.lines(), QStringList{QStringLiteral("dev num =  2")});
    const auto calls = adapter.calls();
    QCOMPARE(int(calls.size()), 2);
    QCOMPARE(calls[0].op, std::string("Device_Scan"));
    QCOMPARE(calls[1].op, std::string("Device_Open"));
    QCOMPARE(calls[1].args, std::vector<long long>{1});
}

void TestOpenDevice::adapterRefusesToOpen()
{
    // The count is not compared with the index: index 5 with one adapter
    // still reaches Device_Open, whose refusal the user is told of.
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(1);
    MainWindow window;
    DialogCatcher dialogs;
    TraceCatcher trace;
    QVERIFY(!window.openDevice(5));
    QCOMPARE(trace.lines(), QStringList{QStringLiteral("dev num =  1")});
    QCOMPARE(adapter.calls("Device_Open").at(0).args, std::vector<long long>{5});
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("打开设备失败！")});
}

void TestOpenDevice::everyCallScansAndOpensAgain()
{
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    DialogCatcher dialogs;
    QVERIFY(window.openDevice(0));
    QVERIFY(window.openDevice(0));
    QCOMPARE(adapter.count("Device_Scan"), 2);
    QCOMPARE(adapter.count("Device_Open"), 2);
    QVERIFY(dialogs.dialogs.isEmpty());
}

void TestOpenDevice::warningBoxIsAModalOkOnlyBoxOfTheWindow()
{
    fake::Adapter::instance().setScanCount(0);
    MainWindow window;
    DialogCatcher dialogs;
    window.openDevice(0);
    QCOMPARE(dialogs.dialogs.size(), 1);
    const CapturedDialog &d = dialogs.dialogs.first();
    QCOMPARE(d.title, QStringLiteral("警告"));
    QCOMPARE(d.icon, QMessageBox::Warning);
    QCOMPARE(d.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Asked with no default button, Qt makes the single Ok the default.
    QCOMPARE(d.defaultButton, QMessageBox::Ok);
    QCOMPARE(d.parent, static_cast<QWidget *>(&window));
}

QTEST_MAIN(TestOpenDevice)
#include "tst_opendevice.moc"

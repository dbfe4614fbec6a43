// The general sender through the window: raw and protocol sends, carrier,
// failure texts and the mode switch.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "windowharness.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>

Q_DECLARE_METATYPE(std::vector<int>)

class TestGeneralSend : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fake::Adapter::instance().reset();
    }

    void rawSend_data();
    void rawSend();
    void protocolSend_data();
    void protocolSend();
    void carrierReachesBothOperations_data();
    void carrierReachesBothOperations();
    void failureWarnings_data();
    void failureWarnings();
    void closedAdapterSendsNothing_data();
    void closedAdapterSendsNothing();
    void modeSwitchTogglesTheProtocolControls();
    void onlyTheCheckBoxChoosesTheMode();
    void longPasteKeepsEveryCharacterAndSends256();
};

namespace {

void setRawMode(MainWindow &window, bool raw)
{
    auto *box = child<QCheckBox>(&window, "checkBoxRawData");
    if (box->isChecked() != raw)
        box->click();
}

} // namespace

void TestGeneralSend::rawSend_data()
{
    // The window's side of raw sending; the text's every case is the
    // parser's (tst_sendtext).
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::vector<int>>("expected");
    QTest::newRow("three numbers") << "900,450,560" << std::vector<int>{900, 450, 560};
    QTest::newRow("empty text") << "" << std::vector<int>{0};
    QStringList many;
    std::vector<int> first256;
    for (int i = 0; i < 300; ++i) {
        many << QString::number(i + 1);
        if (i < 256)
            first256.push_back(i + 1);
    }
    QTest::newRow("300 numbers") << many.join(QLatin1Char(',')) << first256;
}

void TestGeneralSend::rawSend()
{
    QFETCH(QString, text);
    QFETCH(std::vector<int>, expected);
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(3);
    MainWindow window;
    DialogCatcher dialogs;
    child<QComboBox>(&window, "comboBoxSendDeviceIndex")->setCurrentIndex(2);
    child<QComboBox>(&window, "comboBoxSendChannel")->setCurrentIndex(5);
    child<QTextEdit>(&window, "textEditIRRawData")->setPlainText(text);
    setRawMode(window, true);
    click(&window, "pushButtonSendIR");

    QCOMPARE(adapter.count("IR_SendProtocol"), 0);
    const auto calls = adapter.calls("IR_SendRaw");
    QCOMPARE(int(calls.size()), 1);
    const long long count = static_cast<long long>(expected.size());
    QCOMPARE(calls[0].args, (std::vector<long long>{2, 0x20, 38, count}));
    QCOMPARE(calls[0].timings, expected);
    QVERIFY(dialogs.dialogs.isEmpty());
}

void TestGeneralSend::protocolSend_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<uint>("value");
    QTest::newRow("start values") << 3 << 0 << "0x11223344" << 32 << false << 0x11223344u;
    QTest::newRow("UNUSED") << 0 << 1 << "287454020" << 0 << false << 0x11223344u;
    QTest::newRow("LEGO_PF, repeat") << 17 << 0xFFFF << "010" << 16 << true << 8u;
    QTest::newRow("above int") << 7 << 0x1F << "0xE0E040BF" << 32 << true << 0xE0E040BFu;
}

void TestGeneralSend::protocolSend()
{
    QFETCH(int, protocol);
    QFETCH(int, address);
    QFETCH(QString, valueText);
    QFETCH(int, bits);
    QFETCH(bool, repeat);
    QFETCH(uint, value);
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    DialogCatcher dialogs;
    // The start-values row leaves every control as the window built it.
    if (QByteArray(QTest::currentDataTag()) != "start values") {
        child<QComboBox>(&window, "comboBoxSendProtocol")->setCurrentIndex(protocol);
        child<QSpinBox>(&window, "spinBoxAddress")->setValue(address);
        child<QSpinBox>(&window, "spinBoxBits")->setValue(bits);
        child<QCheckBox>(&window, "checkBoxRepeat")->setChecked(repeat);
        child<QLineEdit>(&window, "lineEditValue")->setText(valueText);
    }
    click(&window, "pushButtonSendIR");

    QCOMPARE(adapter.count("IR_SendRaw"), 0);
    const auto calls = adapter.calls("IR_SendProtocol");
    QCOMPARE(int(calls.size()), 1);
    QCOMPARE(calls[0].args, (std::vector<long long>{0, 1, 38}));
    const IRSendData &data = calls[0].sendData;
    QCOMPARE(data.protocol, protocol);
    QCOMPARE(int(data.address), address);
    QCOMPARE(data.value, value);
    // The spin box stops at 32 bits.
    QCOMPARE(data.bits, std::min(bits, 32));
    QCOMPARE(int(data.repeat), repeat ? 1 : 0);
    QVERIFY(dialogs.dialogs.isEmpty());
}

void TestGeneralSend::carrierReachesBothOperations_data()
{
    QTest::addColumn<bool>("raw");
    QTest::addColumn<int>("freqKHz");
    QTest::addColumn<QString>("op");
    for (int freq : {10, 38, 56, 100}) {
        QTest::newRow(("raw " + QByteArray::number(freq)).constData())
            << true << freq << "IR_SendRaw";
        QTest::newRow(("protocol " + QByteArray::number(freq)).constData())
            << false << freq << "IR_SendProtocol";
    }
}

void TestGeneralSend::carrierReachesBothOperations()
{
    QFETCH(bool, raw);
    QFETCH(int, freqKHz);
    QFETCH(QString, op);
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    child<QSpinBox>(&window, "spinBoxMODFreqKHz")->setValue(freqKHz);
    setRawMode(window, raw);
    click(&window, "pushButtonSendIR");
    const auto calls = adapter.calls(op.toStdString());
    QCOMPARE(int(calls.size()), 1);
    QCOMPARE(calls[0].args.at(2), static_cast<long long>(freqKHz));
}

void TestGeneralSend::failureWarnings_data()
{
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("raw fails") << true << "IR_SendRaw" << 1 << QStringList{"红外发送失败！"};
    QTest::newRow("raw fails negative")
        << true << "IR_SendRaw" << -7 << QStringList{"红外发送失败！"};
    QTest::newRow("protocol fails") << false << "IR_SendProtocol" << 2
                                    << QStringList{"红外发送失败！可能是适配器不支持该协议！"};
    QTest::newRow("raw succeeds") << true << "IR_SendRaw" << 0 << QStringList{};
    QTest::newRow("protocol succeeds") << false << "IR_SendProtocol" << 0 << QStringList{};
}

void TestGeneralSend::failureWarnings()
{
    QFETCH(bool, raw);
    QFETCH(QString, op);
    QFETCH(int, status);
    QFETCH(QStringList, texts);
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setResult(op.toStdString(), status);
    MainWindow window;
    DialogCatcher dialogs;
    setRawMode(window, raw);
    click(&window, "pushButtonSendIR");
    QCOMPARE(adapter.count(op.toStdString()), 1);
    QCOMPARE(dialogs.texts(), texts);
    for (const CapturedDialog &d : dialogs.dialogs) {
        QCOMPARE(d.title, QStringLiteral("警告"));
        QCOMPARE(d.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(d.parent, static_cast<QWidget *>(&window));
    }
}

void TestGeneralSend::closedAdapterSendsNothing_data()
{
    QTest::addColumn<bool>("raw");
    QTest::addColumn<bool>("attached");
    QTest::addColumn<QString>("text");
    QTest::newRow("raw, none attached") << true << false << "无设备连接！";
    QTest::newRow("raw, refused") << true << true << "打开设备失败！";
    QTest::newRow("protocol, none attached") << false << false << "无设备连接！";
    QTest::newRow("protocol, refused") << false << true << "打开设备失败！";
}

void TestGeneralSend::closedAdapterSendsNothing()
{
    QFETCH(bool, raw);
    QFETCH(bool, attached);
    QFETCH(QString, text);
    fake::Adapter &adapter = fake::Adapter::instance();
    adapter.setScanCount(attached ? 1 : 0);
    adapter.setOpenResult(false);
    MainWindow window;
    DialogCatcher dialogs;
    setRawMode(window, raw);
    click(&window, "pushButtonSendIR");
    QCOMPARE(adapter.count("IR_SendRaw"), 0);
    QCOMPARE(adapter.count("IR_SendProtocol"), 0);
    QCOMPARE(dialogs.texts(), QStringList{text});
}

void TestGeneralSend::modeSwitchTogglesTheProtocolControls()
{
    MainWindow window;
    const char *const controls[] = {
        "comboBoxSendProtocol", "spinBoxAddress", "lineEditValue", "spinBoxBits", "checkBoxRepeat"};
    auto *rawText = child<QWidget>(&window, "textEditIRRawData");
    for (bool raw : {true, false, true, false}) {
        click(&window, "checkBoxRawData");
        for (const char *name : controls)
            QVERIFY2(child<QWidget>(&window, name)->isEnabled() == !raw, name);
        QVERIFY(rawText->isEnabled());
    }
}

void TestGeneralSend::onlyTheCheckBoxChoosesTheMode()
{
    // Checked without its clicked() signal: the controls stay enabled, yet
    // the send is raw.
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    child<QCheckBox>(&window, "checkBoxRawData")->setChecked(true);
    QVERIFY(child<QWidget>(&window, "comboBoxSendProtocol")->isEnabled());
    click(&window, "pushButtonSendIR");
    QCOMPARE(adapter.count("IR_SendRaw"), 1);
    QCOMPARE(adapter.count("IR_SendProtocol"), 0);
}

void TestGeneralSend::longPasteKeepsEveryCharacterAndSends256()
{
    // A long paste of timings without spaces: the box wraps it anywhere (a
    // word-boundary search would lay it out in quadratic time) at a width
    // that does not change when the text outgrows the box, keeps all of it,
    // and the first 256 values go out.
    constexpr int kBytes = 200 * 1000;
    QString text;
    std::vector<int> first;
    for (int i = 0; text.size() < kBytes; ++i) {
        const int value = 500 + i % 4000;
        if (first.size() < 256)
            first.push_back(value);
        text += QString::number(value) + QLatin1Char(',');
    }
    fake::Adapter &adapter = fake::Adapter::instance();
    MainWindow window;
    setRawMode(window, true);
    auto *box = child<QTextEdit>(&window, "textEditIRRawData");
    QCOMPARE(box->wordWrapMode(), QTextOption::WrapAnywhere);
    QCOMPARE(box->lineWrapMode(), QTextEdit::WidgetWidth);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QApplication::clipboard()->setText(text);
    box->paste();
    QCOMPARE(box->toPlainText(), text);
    click(&window, "pushButtonSendIR");
    const auto sends = adapter.calls("IR_SendRaw");
    QCOMPARE(int(sends.size()), 1);
    QCOMPARE(sends[0].args.back(), 256LL);
    QCOMPARE(sends[0].timings, first);
}

QTEST_MAIN(TestGeneralSend)
#include "tst_generalsend.moc"

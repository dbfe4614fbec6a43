// The form: every control of the window with its class, caption, range,
// items and layout limits, as built before any slot runs.
#include "irlimits.h"
#include "mainwindow.h"
#include "windowharness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <qwt_plot.h>

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window = new MainWindow;
    }
    void cleanup()
    {
        delete window;
    }

    void objectsHaveTheirClasses_data();
    void objectsHaveTheirClasses();
    void layoutsAndSpacers();
    void spinBoxes_data();
    void spinBoxes();
    void spinBoxesRefuseValuesAboveTheMaximum();
    void comboBoxes_data();
    void comboBoxes();
    void captions_data();
    void captions();
    void groupBoxLimits();
    void tableAndPlot();
    void textWidgetsAndChecks();
    void windowFrame();
    void resizingKeepsLimits();

private:
    MainWindow *window = nullptr;
};

void TestForm::objectsHaveTheirClasses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const QList<QPair<const char *, const char *>> objects = {
        {"centralWidget", "QWidget"},
        {"tabWidget", "QTabWidget"},
        {"tab", "QWidget"},
        {"tab_2", "QWidget"},
        {"comboBoxSendDeviceIndex", "QComboBox"},
        {"comboBoxSendChannel", "QComboBox"},
        {"spinBoxMODFreqKHz", "QSpinBox"},
        {"groupBox", "QGroupBox"},
        {"groupBox_2", "QGroupBox"},
        {"groupBox_3", "QGroupBox"},
        {"groupBox_4", "QGroupBox"},
        {"groupBox_5", "QGroupBox"},
        {"groupBox_6", "QGroupBox"},
        {"groupBox_7", "QGroupBox"},
        {"groupBox_8", "QGroupBox"},
        {"groupBox_9", "QGroupBox"},
        {"spinBoxNECAddress", "QSpinBox"},
        {"spinBoxNECCommand", "QSpinBox"},
        {"checkBoxNECHaveNot", "QCheckBox"},
        {"pushButtonNECSend", "QPushButton"},
        {"spinBoxITTAddress", "QSpinBox"},
        {"spinBoxITTCommand", "QSpinBox"},
        {"pushButtonITTSend", "QPushButton"},
        {"spinBoxJVCAddress", "QSpinBox"},
        {"spinBoxJVCCommand", "QSpinBox"},
        {"pushButtonJVCSend", "QPushButton"},
        {"spinBoxNRC17Address", "QSpinBox"},
        {"spinBoxNRC17Command", "QSpinBox"},
        {"spinBoxNRC17SubCode", "QSpinBox"},
        {"pushButtonNRC17Send", "QPushButton"},
        {"spinBoxRCAAddress", "QSpinBox"},
        {"spinBoxRCACommand", "QSpinBox"},
        {"pushButtonRCASend", "QPushButton"},
        {"textEditIRRawData", "QTextEdit"},
        {"comboBoxSendProtocol", "QComboBox"},
        {"spinBoxAddress", "QSpinBox"},
        {"lineEditValue", "QLineEdit"},
        {"spinBoxBits", "QSpinBox"},
        {"checkBoxRepeat", "QCheckBox"},
        {"checkBoxRawData", "QCheckBox"},
        {"pushButtonSendIR", "QPushButton"},
        {"comboBoxReceiveDeviceIndex", "QComboBox"},
        {"comboBoxReceiveChannel", "QComboBox"},
        {"pushButtonClearData", "QPushButton"},
        {"pushButtonStartReceive", "QPushButton"},
        {"plainTextEdit", "QPlainTextEdit"},
        {"tableViewIRData", "QTableView"},
        {"qwtPlot", "QwtPlot"},
        {"menuBar", "QMenuBar"},
        {"statusBar", "QStatusBar"},
    };
    for (const auto &o : objects)
        QTest::newRow(o.first) << QString::fromLatin1(o.first) << QString::fromLatin1(o.second);
    for (int i = 1; i <= 21; ++i) {
        if (i == 1)
            QTest::newRow("label") << "label"
                                   << "QLabel";
        else
            QTest::newRow(qPrintable(QStringLiteral("label_%1").arg(i)))
                << QStringLiteral("label_%1").arg(i) << "QLabel";
    }
}

void TestForm::objectsHaveTheirClasses()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QObject *object = window->findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
}

void TestForm::layoutsAndSpacers()
{
    // 119 form objects: 50 widgets above plus 21 labels, 40 layouts and 8 spacers.
    const QStringList grids = {"gridLayout", "gridLayout_2", "gridLayout_3", "gridLayout_4",
        "gridLayout_5", "gridLayout_6", "gridLayout_7", "gridLayout_8", "gridLayout_9",
        "gridLayout_10", "gridLayout_11", "gridLayout_12"};
    for (const QString &name : grids) {
        auto *grid = window->findChild<QGridLayout *>(name);
        QVERIFY2(grid, qPrintable(name));
        QCOMPARE(grid->spacing(), 6);
        QCOMPARE(grid->contentsMargins(), QMargins(11, 11, 11, 11));
    }
    QStringList boxes = {"verticalLayout", "verticalLayout_2", "verticalLayout_3"};
    boxes << "horizontalLayout";
    for (int i = 2; i <= 25; ++i)
        boxes << QStringLiteral("horizontalLayout_%1").arg(i);
    for (const QString &name : boxes) {
        auto *box = window->findChild<QBoxLayout *>(name);
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->spacing(), 6);
    }
    QCOMPARE(grids.size() + boxes.size(), 40);

    int horizontal = 0, vertical = 0;
    for (const QString &name : grids + boxes) {
        QLayout *layout = window->findChild<QLayout *>(name);
        for (int i = 0; i < layout->count(); ++i) {
            QSpacerItem *spacer = layout->itemAt(i)->spacerItem();
            if (!spacer)
                continue;
            const QSizePolicy policy = spacer->sizePolicy();
            if (policy.horizontalPolicy() == QSizePolicy::Expanding) {
                ++horizontal;
                QCOMPARE(spacer->sizeHint(), QSize(40, 20));
                QCOMPARE(policy.verticalPolicy(), QSizePolicy::Minimum);
            } else {
                ++vertical;
                QCOMPARE(spacer->sizeHint(), QSize(20, 40));
                QCOMPARE(policy.verticalPolicy(), QSizePolicy::Expanding);
            }
        }
    }
    QCOMPARE(horizontal, 3);
    QCOMPARE(vertical, 5);

    // The NEC panel leaves row 3 empty: its spacer is row 4 and its button row 5.
    auto *nec = window->findChild<QGridLayout *>("gridLayout");
    QCOMPARE(nec->rowCount(), 6);
    QVERIFY(!nec->itemAtPosition(3, 0));
    QCOMPARE(nec->itemAtPosition(5, 0)->widget(), child<QWidget>(window, "pushButtonNECSend"));
}

void TestForm::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("base");
    // The carriers every adapter operation and the send-again plan take.
    QTest::newRow("freq") << "spinBoxMODFreqKHz" << irlimits::kMinCarrierKHz
                          << irlimits::kMaxCarrierKHz << 38 << 10;
    QTest::newRow("nec address") << "spinBoxNECAddress" << 0 << 255 << 0 << 16;
    QTest::newRow("nec command") << "spinBoxNECCommand" << 0 << 255 << 0 << 16;
    QTest::newRow("itt address") << "spinBoxITTAddress" << 0 << 15 << 0 << 16;
    QTest::newRow("itt command") << "spinBoxITTCommand" << 0 << 63 << 0 << 16;
    QTest::newRow("jvc address") << "spinBoxJVCAddress" << 0 << 255 << 0 << 16;
    QTest::newRow("jvc command") << "spinBoxJVCCommand" << 0 << 63 << 0 << 16;
    QTest::newRow("nrc17 address") << "spinBoxNRC17Address" << 0 << 255 << 0 << 16;
    QTest::newRow("nrc17 command") << "spinBoxNRC17Command" << 0 << 15 << 0 << 16;
    QTest::newRow("nrc17 subcode") << "spinBoxNRC17SubCode" << 0 << 15 << 0 << 16;
    QTest::newRow("rca address") << "spinBoxRCAAddress" << 0 << 15 << 0 << 16;
    QTest::newRow("rca command") << "spinBoxRCACommand" << 0 << 255 << 0 << 16;
    QTest::newRow("address") << "spinBoxAddress" << 0 << 65535 << 0 << 16;
    QTest::newRow("bits") << "spinBoxBits" << 0 << 32 << 32 << 10;
}

void TestForm::spinBoxes()
{
    QFETCH(QString, name);
    auto *spin = window->findChild<QSpinBox *>(name);
    QVERIFY(spin);
    QTEST(spin->minimum(), "minimum");
    QTEST(spin->maximum(), "maximum");
    QTEST(spin->value(), "value");
    QTEST(spin->displayIntegerBase(), "base");
    QVERIFY(spin->prefix().isEmpty());
    QVERIFY(spin->suffix().isEmpty());
}

void TestForm::spinBoxesRefuseValuesAboveTheMaximum()
{
    auto *jvc = child<QSpinBox>(window, "spinBoxJVCCommand");
    jvc->setValue(0x40);
    QCOMPARE(jvc->value(), 63);
    QCOMPARE(jvc->text(), QStringLiteral("3f"));
    auto *address = child<QSpinBox>(window, "spinBoxAddress");
    address->setValue(0x10000);
    QCOMPARE(address->text(), QStringLiteral("ffff"));
    auto *freq = child<QSpinBox>(window, "spinBoxMODFreqKHz");
    freq->setValue(5);
    QCOMPARE(freq->value(), 10);
    freq->setValue(101);
    QCOMPARE(freq->value(), 100);
}

void TestForm::comboBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("current");
    QStringList devices, channels, inputs;
    for (int i = 0; i < 10; ++i)
        devices << QString::number(i);
    for (int i = 0; i < 16; ++i)
        channels << QStringLiteral("CH%1").arg(i);
    for (int i = 0; i < 8; ++i)
        inputs << QStringLiteral("D%1").arg(i);
    const QStringList protocols = {"UNUSED", "RC5", "RC6", "NEC", "SONY", "PANASONIC", "JVC",
        "SAMSUNG", "WHYNTER", "AIWA_RC_T501", "LG", "SANYO", "MITSUBISHI", "DISH", "SHARP", "DENON",
        "PRONTO", "LEGO_PF"};
    QTest::newRow("send device") << "comboBoxSendDeviceIndex" << devices << 0;
    QTest::newRow("send channel") << "comboBoxSendChannel" << channels << 0;
    QTest::newRow("protocol") << "comboBoxSendProtocol" << protocols << 3;
    QTest::newRow("receive device") << "comboBoxReceiveDeviceIndex" << devices << 0;
    QTest::newRow("receive channel") << "comboBoxReceiveChannel" << inputs << 0;
}

void TestForm::comboBoxes()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    auto *combo = window->findChild<QComboBox *>(name);
    QVERIFY(combo);
    QVERIFY(!combo->isEditable());
    QStringList actual;
    for (int i = 0; i < combo->count(); ++i)
        actual << combo->itemText(i);
    QCOMPARE(actual, items);
    QTEST(combo->currentIndex(), "current");
}

void TestForm::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const QList<QPair<const char *, const char *>> captions = {
        {"label", "设备索引："},
        {"label_2", "发送通道："},
        {"label_20", "调制频率："},
        {"label_21", "KHz"},
        {"label_6", "地址："},
        {"label_7", "命令："},
        {"label_8", "地址："},
        {"label_9", "命令："},
        {"label_10", "地址："},
        {"label_11", "命令："},
        {"label_12", "地址："},
        {"label_13", "命令："},
        {"label_14", "子码："},
        {"label_15", "地址："},
        {"label_16", "命令："},
        {"label_4", "发送协议："},
        {"label_3", "地址："},
        {"label_5", "数据："},
        {"label_17", "位数："},
        {"label_18", "设备索引："},
        {"label_19", "发送通道："},
        {"pushButtonNECSend", "发送"},
        {"checkBoxNECHaveNot", "发送反码"},
        {"pushButtonITTSend", "发送"},
        {"pushButtonJVCSend", "发送"},
        {"pushButtonNRC17Send", "发送"},
        {"pushButtonRCASend", "发送"},
        {"checkBoxRepeat", "重复"},
        {"checkBoxRawData", "原始数据"},
        {"pushButtonSendIR", "发送"},
        {"pushButtonClearData", "清除数据"},
        {"pushButtonStartReceive", "开始接收"},
        {"groupBox", "NEC"},
        {"groupBox_2", "ITT"},
        {"groupBox_3", "JVC"},
        {"groupBox_4", "NRC17"},
        {"groupBox_5", "RCA"},
        {"groupBox_6", "常规发送"},
        {"groupBox_7", "波形"},
        {"groupBox_8", "数据"},
        {"groupBox_9", "数据详情"},
    };
    for (const auto &c : captions)
        QTest::newRow(c.first) << QString::fromLatin1(c.first) << QString::fromUtf8(c.second);
}

void TestForm::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QObject *object = window->findChild<QObject *>(name);
    QVERIFY(object);
    if (auto *label = qobject_cast<QLabel *>(object))
        QCOMPARE(label->text(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(object))
        QCOMPARE(button->text(), caption);
    else if (auto *group = qobject_cast<QGroupBox *>(object))
        QCOMPARE(group->title(), caption);
    else
        QFAIL("object has no caption");
}

void TestForm::groupBoxLimits()
{
    struct Expected
    {
        const char *name;
        QSizePolicy::Policy horizontal;
        QSizePolicy::Policy vertical;
    };
    const Expected groups[] = {
        {"groupBox_9", QSizePolicy::Preferred, QSizePolicy::Expanding},
        {"groupBox_8", QSizePolicy::Expanding, QSizePolicy::Expanding},
        {"groupBox_7", QSizePolicy::Preferred, QSizePolicy::Fixed},
    };
    for (const Expected &e : groups) {
        auto *group = child<QGroupBox>(window, e.name);
        QCOMPARE(group->sizePolicy().horizontalPolicy(), e.horizontal);
        QCOMPARE(group->sizePolicy().verticalPolicy(), e.vertical);
        QCOMPARE(group->sizePolicy().horizontalStretch(), 0);
        QCOMPARE(group->sizePolicy().verticalStretch(), 0);
    }
    auto *data = child<QGroupBox>(window, "groupBox_8");
    QCOMPARE(data->minimumSize(), QSize(0, 0));
    QCOMPARE(data->maximumSize(), QSize(360, 16777215));
}

void TestForm::tableAndPlot()
{
    auto *table = child<QTableView>(window, "tableViewIRData");
    QCOMPARE(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(table->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(table->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(table->maximumSize(), QSize(16777215, 16777215));

    auto *plot = child<QwtPlot>(window, "qwtPlot");
    QCOMPARE(plot->minimumSize(), QSize(0, 80));
    QCOMPARE(plot->maximumSize(), QSize(16777215, 80));
    QCOMPARE(plot->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(plot->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
}

void TestForm::textWidgetsAndChecks()
{
    QVERIFY(child<QTextEdit>(window, "textEditIRRawData")->toPlainText().isEmpty());
    QVERIFY(!child<QTextEdit>(window, "textEditIRRawData")->isReadOnly());
    auto *value = child<QLineEdit>(window, "lineEditValue");
    QCOMPARE(value->text(), QStringLiteral("0x11223344"));
    QVERIFY(!value->validator());
    QVERIFY(value->inputMask().isEmpty());
    auto *details = child<QPlainTextEdit>(window, "plainTextEdit");
    QVERIFY(details->isReadOnly());
    QVERIFY(details->toPlainText().isEmpty());
    for (const char *name : {"checkBoxNECHaveNot", "checkBoxRepeat", "checkBoxRawData"}) {
        auto *check = child<QCheckBox>(window, name);
        QVERIFY(!check->isChecked());
        QVERIFY(!check->isTristate());
    }
    for (QWidget *w : window->findChildren<QWidget *>())
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
}

void TestForm::windowFrame()
{
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->size(), QSize(808, 535));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavrel"));
    QCOMPARE(window->minimumSize(), QSize(0, 0));
    auto *tabs = child<QTabWidget>(window, "tabWidget");
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("红外发送"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("红外接收"));
    QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("centralWidget"));
    QCOMPARE(window->menuBar()->objectName(), QStringLiteral("menuBar"));
    QCOMPARE(window->menuBar()->geometry(), QRect(0, 0, 808, 23));
    QVERIFY(window->menuBar()->actions().isEmpty());
    QCOMPARE(window->statusBar()->objectName(), QStringLiteral("statusBar"));
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
}

void TestForm::resizingKeepsLimits()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    child<QTabWidget>(window, "tabWidget")->setCurrentIndex(1);
    window->resize(1400, 900);
    QTest::qWait(20);
    QCOMPARE(child<QwtPlot>(window, "qwtPlot")->height(), 80);
    auto *data = child<QGroupBox>(window, "groupBox_8");
    auto *details = child<QGroupBox>(window, "groupBox_9");
    QCOMPARE(data->width(), 360);
    QVERIFY(details->width() > data->width());
}

QTEST_MAIN(TestForm)
#include "tst_form.moc"

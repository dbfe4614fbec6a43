// The window class: its meta-object, the slot table connected by name, and
// the quiet start-up.
#include "fakeadapter.h"
#include "mainwindow.h"
#include "windowharness.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMetaMethod>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimerEvent>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fake::Adapter::instance().reset();
    }

    void metaObject();
    void slotTable();
    void everySlotIsConnectedByName();
    void startUpIsQuiet();
    void unknownTimerIdChangesNothing();
};

void TestMainWindow::metaObject()
{
    MainWindow window;
    const QMetaObject *meta = window.metaObject();
    QCOMPARE(QString::fromLatin1(meta->className()), QStringLiteral("MainWindow"));
    QCOMPARE(meta->superClass(), &QMainWindow::staticMetaObject);
    QCOMPARE(window.qt_metacast("MainWindow"), static_cast<void *>(&window));
    QCOMPARE(window.qt_metacast("QMainWindow"),
        static_cast<void *>(static_cast<QMainWindow *>(&window)));
    QVERIFY(!window.qt_metacast("NoSuchClass"));
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
    QCOMPARE(meta->enumeratorCount(), meta->enumeratorOffset());
    QCOMPARE(meta->classInfoCount(), meta->classInfoOffset());
}

namespace {
const char *const slotSignatures[] = {
    "on_pushButtonNECSend_pressed()",
    "on_pushButtonNECSend_released()",
    "on_pushButtonITTSend_pressed()",
    "on_pushButtonJVCSend_pressed()",
    "on_pushButtonJVCSend_released()",
    "on_pushButtonNRC17Send_pressed()",
    "on_pushButtonNRC17Send_released()",
    "on_pushButtonRCASend_pressed()",
    "on_pushButtonStartReceive_clicked()",
    "on_tableViewIRData_clicked(QModelIndex)",
    "on_checkBoxRawData_clicked(bool)",
    "on_pushButtonSendIR_clicked()",
    "on_pushButtonClearData_clicked()",
};
} // namespace

void TestMainWindow::slotTable()
{
    const QMetaObject &meta = MainWindow::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 13);
    for (int i = 0; i < 13; ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + i);
        QCOMPARE(method.methodSignature(), QByteArray(slotSignatures[i]));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Private);
        QCOMPARE(method.returnType(), int(QMetaType::Void));
    }
}

void TestMainWindow::everySlotIsConnectedByName()
{
    // Disconnecting answers true only for a connection that exists, so each
    // slot is checked against exactly the signal its name spells.
    MainWindow window;
    const struct
    {
        const char *child;
        const char *signal;
        int slot;
    } connections[] = {
        {"pushButtonNECSend", "pressed()", 0},
        {"pushButtonNECSend", "released()", 1},
        {"pushButtonITTSend", "pressed()", 2},
        {"pushButtonJVCSend", "pressed()", 3},
        {"pushButtonJVCSend", "released()", 4},
        {"pushButtonNRC17Send", "pressed()", 5},
        {"pushButtonNRC17Send", "released()", 6},
        {"pushButtonRCASend", "pressed()", 7},
        {"pushButtonStartReceive", "clicked()", 8},
        {"tableViewIRData", "clicked(QModelIndex)", 9},
        {"checkBoxRawData", "clicked(bool)", 10},
        {"pushButtonSendIR", "clicked()", 11},
        {"pushButtonClearData", "clicked()", 12},
    };
    const QMetaObject &meta = MainWindow::staticMetaObject;
    for (const auto &c : connections) {
        QObject *sender = window.findChild<QObject *>(QString::fromLatin1(c.child));
        QVERIFY(sender);
        const int signalIndex
            = sender->metaObject()->indexOfSignal(QMetaObject::normalizedSignature(c.signal));
        QVERIFY2(signalIndex >= 0, c.signal);
        const QMetaMethod signal = sender->metaObject()->method(signalIndex);
        const QMetaMethod slot = meta.method(meta.methodOffset() + c.slot);
        QVERIFY2(QObject::disconnect(sender, signal, &window, slot), slotSignatures[c.slot]);
        // Connected once only.
        QVERIFY(!QObject::disconnect(sender, signal, &window, slot));
    }
}

void TestMainWindow::startUpIsQuiet()
{
    DialogCatcher dialogs;
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    QVERIFY(fake::Adapter::instance().calls().empty());
    QVERIFY(dialogs.dialogs.isEmpty());
    QVERIFY(runningTimers(&window).isEmpty());
}

void TestMainWindow::unknownTimerIdChangesNothing()
{
    DialogCatcher dialogs;
    MainWindow window;
    // No timer of the window runs yet, so no id may match, not even 0 which
    // Qt never hands out.
    for (int id : {0, 1, 7, 4242}) {
        QTimerEvent event(id);
        QCoreApplication::sendEvent(&window, &event);
    }
    QTest::qWait(20);
    QVERIFY(fake::Adapter::instance().calls().empty());
    QVERIFY(dialogs.dialogs.isEmpty());
    QVERIFY(runningTimers(&window).isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

#include "quicksend.h"
#include "channels.h"
#include "korvex.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QThread>

using namespace quicksend;

namespace {

QString sendFailedText()
{
    return QStringLiteral("发送数据失败！");
}

QString keyFrameFailedText()
{
    return QStringLiteral("读取数据失败！");
}

// Every panel field fits in one byte (ranges 0..255 at most).
unsigned char byteOf(const QSpinBox *spinBox)
{
    return static_cast<unsigned char>(spinBox->value());
}

int sendNrc17Marker(int device, int mask)
{
    return IR_NRC17_Send(
        device, mask, kNrc17MarkerAddress, kNrc17MarkerCommand, kNrc17MarkerSubCode);
}

} // namespace

bool MainWindow::openSendTarget()
{
    const int index = ui->comboBoxSendDeviceIndex->currentIndex();
    if (!openDevice(index))
        return false;
    deviceIndex = index;
    channelMask = channels::outputMask(ui->comboBoxSendChannel->currentIndex());
    return true;
}

void MainWindow::startRepeat(int &timerId, int intervalMs)
{
    // A second press while the panel still repeats (a key press during a
    // mouse hold) replaces the running timer instead of orphaning it.
    stopTimer(timerId);
    timerId = startTimer(intervalMs, Qt::PreciseTimer);
}

void MainWindow::failTick(int &timerId, const QString &text)
{
    // Killed first, so the timer cannot tick again inside the modal box.
    stopTimer(timerId);
    warn(text);
}

void MainWindow::on_pushButtonNECSend_pressed()
{
    if (!openSendTarget())
        return;
    const unsigned char inverted = ui->checkBoxNECHaveNot->isChecked() ? 1 : 0;
    const int status = IR_NEC_Send(deviceIndex, channelMask, byteOf(ui->spinBoxNECAddress),
        byteOf(ui->spinBoxNECCommand), inverted);
    qDebug() << "IR_NEC_Send";
    if (status != 0) {
        warn(sendFailedText());
        return;
    }
    startRepeat(necTimerId, kNecRepeatMs);
}

void MainWindow::on_pushButtonNECSend_released()
{
    stopTimer(necTimerId);
}

void MainWindow::necTick()
{
    // Qt emits no released() when a keyboard-held button loses focus; a
    // button that is no longer down ends the repeat as its release would.
    if (!ui->pushButtonNECSend->isDown()) {
        stopTimer(necTimerId);
        return;
    }
    const int status = IR_NEC_SendRepeat(deviceIndex, channelMask);
    qDebug() << "IR_NEC_SendRepeat";
    if (status != 0)
        failTick(necTimerId, sendFailedText());
}

void MainWindow::on_pushButtonITTSend_pressed()
{
    if (!openSendTarget())
        return;
    if (IR_ITT_Send(
            deviceIndex, channelMask, byteOf(ui->spinBoxITTAddress), byteOf(ui->spinBoxITTCommand))
        != 0)
        warn(sendFailedText());
}

void MainWindow::on_pushButtonJVCSend_pressed()
{
    if (!openSendTarget())
        return;
    if (IR_JVC_Send(deviceIndex, channelMask, kJvcFirstFrame, byteOf(ui->spinBoxJVCAddress),
            byteOf(ui->spinBoxJVCCommand))
        != 0) {
        warn(sendFailedText());
        return;
    }
    startRepeat(jvcTimerId, kJvcRepeatMs);
}

void MainWindow::on_pushButtonJVCSend_released()
{
    stopTimer(jvcTimerId);
}

void MainWindow::jvcTick()
{
    if (!ui->pushButtonJVCSend->isDown()) {
        stopTimer(jvcTimerId);
        return;
    }
    // The repeats follow the spin boxes as they are now.
    if (IR_JVC_Send(deviceIndex, channelMask, kJvcRepeatFrame, byteOf(ui->spinBoxJVCAddress),
            byteOf(ui->spinBoxJVCCommand))
        != 0)
        failTick(jvcTimerId, sendFailedText());
}

void MainWindow::on_pushButtonNRC17Send_pressed()
{
    if (!openSendTarget())
        return;
    const unsigned char address = byteOf(ui->spinBoxNRC17Address);
    const unsigned char command = byteOf(ui->spinBoxNRC17Command);
    const unsigned char subCode = byteOf(ui->spinBoxNRC17SubCode);
    if (sendNrc17Marker(deviceIndex, channelMask) != 0) {
        warn(sendFailedText());
        return;
    }
    // The key frame follows the start frame after a fixed gap; the GUI
    // thread waits for it.
    QThread::msleep(kNrc17KeyDelayMs);
    if (IR_NRC17_Send(deviceIndex, channelMask, address, command, subCode) != 0) {
        warn(sendFailedText());
        return;
    }
    nrc17Released = false;
    startRepeat(nrc17TimerId, kNrc17RepeatMs);
}

void MainWindow::on_pushButtonNRC17Send_released()
{
    // The stop frame goes out on the next tick.
    nrc17Released = true;
}

void MainWindow::nrc17Tick()
{
    const unsigned char address = byteOf(ui->spinBoxNRC17Address);
    const unsigned char command = byteOf(ui->spinBoxNRC17Command);
    const unsigned char subCode = byteOf(ui->spinBoxNRC17SubCode);
    // A hold that ended without released() ends with the stop frame too.
    if (!ui->pushButtonNRC17Send->isDown())
        nrc17Released = true;
    if (nrc17Released) {
        const int status = sendNrc17Marker(deviceIndex, channelMask);
        stopTimer(nrc17TimerId);
        if (status != 0)
            warn(sendFailedText());
        return;
    }
    if (IR_NRC17_Send(deviceIndex, channelMask, address, command, subCode) != 0)
        failTick(nrc17TimerId, keyFrameFailedText());
}

void MainWindow::endNrc17Hold()
{
    if (nrc17TimerId == 0)
        return;
    stopTimer(nrc17TimerId);
    // Nobody is left to tell of a failure.
    sendNrc17Marker(deviceIndex, channelMask);
}

void MainWindow::on_pushButtonRCASend_pressed()
{
    if (!openSendTarget())
        return;
    if (IR_RCA_Send(
            deviceIndex, channelMask, byteOf(ui->spinBoxRCAAddress), byteOf(ui->spinBoxRCACommand))
        != 0)
        warn(sendFailedText());
}

// Sending recorded frames again through the adapter chosen on the send tab:
// the first frame at once, the others as a timer brings their turn, so the
// window stays usable between them.
#include "channels.h"
#include "mainwindow.h"
#include "sendplan.h"
#include "ui_mainwindow.h"

#include <QTimer>

namespace {

int sendStep(int device, int mask, const sendplan::Step &step)
{
    switch (step.operation) {
    case sendplan::Operation::Protocol:
        return IR_SendProtocol(device, mask, step.carrierKHz, step.data);
    case sendplan::Operation::NecRepeat:
        return IR_NEC_SendRepeat(device, mask);
    case sendplan::Operation::Raw:
        break;
    }
    std::vector<int> durations = step.durations;
    return IR_SendRaw(
        device, mask, step.carrierKHz, durations.data(), static_cast<int>(durations.size()));
}

} // namespace

void MainWindow::sendFramesAgain()
{
    const std::vector<int> rows = actionRows();
    if (rows.empty())
        return;
    // A new request replaces a sequence still going out.
    sendAgain.steps.clear();
    const int index = ui->comboBoxSendDeviceIndex->currentIndex();
    if (!openDevice(index))
        return;
    sendAgain.device = index;
    sendAgain.mask = channels::outputMask(ui->comboBoxSendChannel->currentIndex());
    sendAgain.steps = sendplan::plan(actionFrames(rows), ui->spinBoxMODFreqKHz->value());
    sendAgain.next = 0;
    sendNextFrameAgain();
}

void MainWindow::sendNextFrameAgain()
{
    if (sendAgain.next >= sendAgain.steps.size()) {
        sendAgain.steps.clear();
        return;
    }
    const sendplan::Step &step = sendAgain.steps[sendAgain.next++];
    if (sendStep(sendAgain.device, sendAgain.mask, step) != 0) {
        sendAgain.steps.clear();
        warn(QStringLiteral("红外发送失败！"));
        return;
    }
    if (sendAgain.next < sendAgain.steps.size()) {
        if (!sendAgain.timer) {
            sendAgain.timer = new QTimer(this);
            sendAgain.timer->setSingleShot(true);
            sendAgain.timer->setTimerType(Qt::PreciseTimer);
            connect(sendAgain.timer, &QTimer::timeout, this, &MainWindow::sendNextFrameAgain);
        }
        sendAgain.timer->start(sendAgain.steps[sendAgain.next].delayMs);
    }
}

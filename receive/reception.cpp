#include "channels.h"
#include "frametablemodel.h"
#include "korvex.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "ui_mainwindow.h"

namespace {
// Display timer interval: new frames reach the table within this time.
constexpr int kDisplayIntervalMs = 100;

QString startCaption()
{
    return QCoreApplication::translate("MainWindow", "开始接收");
}

QString stopCaption()
{
    return QCoreApplication::translate("MainWindow", "停止接收");
}
} // namespace

void MainWindow::on_pushButtonStartReceive_clicked()
{
    // The caption holds the reception state.
    if (ui->pushButtonStartReceive->text() == stopCaption()) {
        stopReception();
        return;
    }
    if (!openDevice(ui->comboBoxReceiveDeviceIndex->currentIndex()))
        return;
    const int channel = ui->comboBoxReceiveChannel->currentIndex();
    const int device = ui->comboBoxReceiveDeviceIndex->currentIndex();
    const unsigned char mask = channels::inputMask(channel);
    if (IR_ReceiveStart(device, mask, receiveCallback) != 0) {
        warn(QStringLiteral("启动红外接收失败！"));
        return;
    }
    receiveDeviceIndex = device;
    ui->pushButtonStartReceive->setText(stopCaption());
    receiveTimerId = startTimer(kDisplayIntervalMs);
}

void MainWindow::stopReception()
{
    // Stops the adapter reception was started on, whatever is selected now.
    if (receiveDeviceIndex < 0)
        return;
    IR_ReceiveStop(receiveDeviceIndex);
    receiveDeviceIndex = -1;
    ui->pushButtonStartReceive->setText(startCaption());
    stopTimer(receiveTimerId);
}

void MainWindow::receiveTick()
{
    // Every entry that arrived since the last tick becomes a row, in order.
    irDataModel->appendNewRows();
}

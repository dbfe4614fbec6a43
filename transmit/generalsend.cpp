#include "korvex.h"
#include "mainwindow.h"
#include "quicksend.h"
#include "sendtext.h"
#include "ui_mainwindow.h"

void MainWindow::on_checkBoxRawData_clicked(bool checked)
{
    // Raw mode takes its numbers from the text box alone, which stays usable
    // in both modes.
    QWidget *const protocolControls[] = {ui->comboBoxSendProtocol, ui->spinBoxAddress,
        ui->lineEditValue, ui->spinBoxBits, ui->checkBoxRepeat};
    for (QWidget *control : protocolControls)
        control->setEnabled(!checked);
}

void MainWindow::on_pushButtonSendIR_clicked()
{
    const int device = ui->comboBoxSendDeviceIndex->currentIndex();
    if (!openDevice(device))
        return;
    const int freqKHz = ui->spinBoxMODFreqKHz->value();
    const int mask = quicksend::channelMask(ui->comboBoxSendChannel->currentIndex());

    if (ui->checkBoxRawData->isChecked()) {
        QVector<int> timings = sendtext::parseRawTimings(ui->textEditIRRawData->toPlainText());
        if (IR_SendRaw(device, mask, freqKHz, timings.data(), timings.size()) != 0)
            warn(QStringLiteral("红外发送失败！"));
        return;
    }

    const IRSendData data = sendtext::makeSendData(ui->comboBoxSendProtocol->currentIndex(),
        ui->checkBoxRepeat->isChecked(), static_cast<uint16_t>(ui->spinBoxAddress->value()),
        sendtext::parseValue(ui->lineEditValue->text()), ui->spinBoxBits->value());
    if (IR_SendProtocol(device, mask, freqKHz, data) != 0)
        warn(QStringLiteral("红外发送失败！可能是适配器不支持该协议！"));
}

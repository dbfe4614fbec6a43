#include "channels.h"
#include "korvex.h"
#include "mainwindow.h"
#include "sendtext.h"
#include "ui_mainwindow.h"

void MainWindow::setupRawTimingBox()
{
    // Raw timings are typed without spaces ("9000,4500,560"), which leaves
    // no word boundary to wrap at; wrapping at word boundaries would then
    // search the whole paragraph again for every line, and a long paste
    // would freeze the window for minutes. Such text wraps anywhere anyway,
    // so wrapping anywhere looks the same and lays out in linear time.
    ui->textEditIRRawData->setWordWrapMode(QTextOption::WrapAnywhere);
    // A scroll bar that appears once the text outgrows the box narrows it,
    // and the whole text is laid out a second time; kept shown, it never
    // changes the width.
    ui->textEditIRRawData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

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
    const int mask = channels::outputMask(ui->comboBoxSendChannel->currentIndex());

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

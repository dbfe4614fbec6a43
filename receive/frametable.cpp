#include "frameformat.h"
#include "levels.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "ui_mainwindow.h"

#include <QHeaderView>
#include <QModelIndex>
#include <QStandardItemModel>

namespace {
constexpr int RowHeight = 20;
} // namespace

void MainWindow::setupFrameTable()
{
    const QStringList headers = frameformat::headers();
    irDataModel = new QStandardItemModel;
    irDataModel->setColumnCount(headers.size());
    irDataModel->setHorizontalHeaderLabels(headers);
    irDataModel->setRowCount(0);

    QTableView *view = ui->tableViewIRData;
    view->setModel(irDataModel);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The style's minimum follows the font and may exceed 20 px; lowered so
    // that the rows really are 20 px high.
    view->verticalHeader()->setMinimumSectionSize(RowHeight);
    view->verticalHeader()->setDefaultSectionSize(RowHeight);
    for (int column = 0; column < frameformat::ColumnCount; ++column)
        view->setColumnWidth(column, frameformat::columnWidths[column]);
    view->hideColumn(frameformat::RawData);
}

void MainWindow::appendFrameRows(int first, int count)
{
    const std::vector<IRResultsEntry> entries = receiveQueue().entries(first, count);
    if (entries.empty())
        return;
    // The rows are inserted in one go and filled while the model's signals are
    // held back, then announced by a single dataChanged: one item per cell as
    // before, without a view update per cell.
    const int added = static_cast<int>(entries.size());
    irDataModel->insertRows(first, added);
    {
        const QSignalBlocker blocker(irDataModel);
        for (int i = 0; i < added; ++i) {
            const auto texts = frameformat::rowTexts(first + i, entries[static_cast<size_t>(i)]);
            for (int column = 0; column < frameformat::ColumnCount; ++column) {
                if (!texts[static_cast<size_t>(column)].isNull())
                    irDataModel->setItem(
                        first + i, column, new QStandardItem(texts[static_cast<size_t>(column)]));
            }
        }
    }
    emit irDataModel->dataChanged(irDataModel->index(first, 0),
        irDataModel->index(first + added - 1, frameformat::ColumnCount - 1));
}

void MainWindow::on_tableViewIRData_clicked(const QModelIndex &index)
{
    IRResultsEntry entry;
    if (!index.isValid() || !receiveQueue().entryAt(index.row(), entry))
        return;
    const QString rawList = irDataModel->index(index.row(), frameformat::RawData).data().toString();
    ui->plainTextEdit->clear();
    for (const QString &line : frameformat::detailsLines(entry, rawList))
        ui->plainTextEdit->appendPlainText(line);
    const std::vector<double> samples = levels::build(rawList);
    showWaveform(samples.data(), static_cast<int>(samples.size()));
}

void MainWindow::on_pushButtonClearData_clicked()
{
    receiveQueue().clear();
    irDataModel->setRowCount(0);
    ui->plainTextEdit->clear();
}

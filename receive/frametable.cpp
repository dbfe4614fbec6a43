#include "frametable.h"

#include "frameformat.h"
#include "frametablemodel.h"
#include "mainwindow.h"
#include "receivequeue.h"
#include "ui_mainwindow.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QModelIndex>

#include <algorithm>

namespace {
constexpr int kRowHeight = 20;
} // namespace

void MainWindow::setupFrameTable()
{
    irDataModel = new FrameTableModel(receiveQueue());

    QTableView *view = ui->tableViewIRData;
    view->setModel(irDataModel);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The style's minimum follows the font and may exceed 20 px; lowered so
    // that the rows really are 20 px high.
    view->verticalHeader()->setMinimumSectionSize(kRowHeight);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
    for (int column = 0; column < frameformat::ColumnCount; ++column)
        view->setColumnWidth(column, frameformat::columnWidths[column]);
    view->hideColumn(frameformat::RawData);
}

void MainWindow::on_tableViewIRData_clicked(const QModelIndex &index)
{
    if (index.isValid())
        showFrameDetails(index.row());
}

void MainWindow::on_pushButtonClearData_clicked()
{
    receiveQueue().clear();
    openedFrames.clear();
    irDataModel->clear();
    ui->plainTextEdit->clear();
}

namespace frametable {

std::vector<int> actionRows(const QItemSelectionModel *selection, int rowCount)
{
    std::vector<int> rows;
    if (selection) {
        for (const QModelIndex &index : selection->selectedRows())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    if (rows.empty()) {
        rows.resize(static_cast<size_t>(std::max(rowCount, 0)));
        for (int row = 0; row < rowCount; ++row)
            rows[static_cast<size_t>(row)] = row;
    }
    return rows;
}

} // namespace frametable

#include "frametablemodel.h"

#include "frameformat.h"
#include "receivequeue.h"

FrameTableModel::FrameTableModel(const ReceiveQueue &queue, QObject *parent)
    : QAbstractTableModel(parent), queue(queue), headers(frameformat::headers())
{
}

int FrameTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows;
}

int FrameTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : frameformat::ColumnCount;
}

QVariant FrameTableModel::data(const QModelIndex &index, int role) const
{
    // A cell's text is its display and its edit text, as for a standard item.
    if (!index.isValid() || index.row() >= rows
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    IRResultsEntry entry;
    if (!queue.entryAt(index.row(), entry))
        return QVariant();
    const QString text = frameformat::cellText(index.row(), entry, index.column());
    return text.isNull() ? QVariant() : QVariant(text);
}

QVariant FrameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < headers.size()
        && (role == Qt::DisplayRole || role == Qt::EditRole))
        return headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void FrameTableModel::appendNewRows()
{
    const int count = queue.size() - rows;
    if (count <= 0)
        return;
    beginInsertRows(QModelIndex(), rows, rows + count - 1);
    rows += count;
    endInsertRows();
}

void FrameTableModel::clear()
{
    if (rows == 0)
        return;
    beginRemoveRows(QModelIndex(), 0, rows - 1);
    rows = 0;
    endRemoveRows();
}

#ifndef FRAMETABLEMODEL_H
#define FRAMETABLEMODEL_H

#include <QAbstractTableModel>
#include <QStringList>

class ReceiveQueue;

// The frame table's model: row r shows entry r of the receive queue, with
// the cell texts of frameformat, built from the entry when the view asks for
// them. It keeps no copy of the frames, so that appending rows and removing
// them all take the same short time however many frames arrived. Rows are
// only appended (appendNewRows) or all removed together (clear). A cell without
// a text (the address of most protocols) has no data, as an empty cell of a
// QStandardItemModel.
class FrameTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FrameTableModel(const ReceiveQueue &queue, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows every queue entry that has no row yet as a row at the end.
    void appendNewRows();
    // Removes every row; the columns stay.
    void clear();

private:
    const ReceiveQueue &queue;
    const QStringList headers;
    int rows = 0;
};

#endif // FRAMETABLEMODEL_H

// The frame table's rows as its actions take them. MainWindow's table
// members (set-up, clicks, clearing) are in frametable.cpp too.
#ifndef FRAMETABLE_H
#define FRAMETABLE_H

#include <vector>

class QItemSelectionModel;

namespace frametable {

// The rows an action acts on: the selected rows in table order, or every
// row when none is selected.
std::vector<int> actionRows(const QItemSelectionModel *selection, int rowCount);

} // namespace frametable

#endif // FRAMETABLE_H

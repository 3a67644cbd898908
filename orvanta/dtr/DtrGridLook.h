#pragma once

#include <QStringList>

class QTableView;

namespace orv {

// The look of the time-record grids: read-only, whole rows selected, white,
// gradient bold centred titles, Tahoma 8 point, rows 17 pixels high.
void styleDtrGrid(QTableView& grid, bool titles = true);

// Hides the named columns of a grid's current model and sets the widths of
// the others (name -> width, in the order given); called after each refresh,
// since a refresh may bring a new set of columns.
void layoutDtrColumns(QTableView& grid, const QStringList& hidden, const QList<QPair<QString, int>>& widths);

} // namespace orv

#pragma once

#include <vector>

class QTableView;

namespace orv {

// What column fitting needs to know about a grid.
struct GridMetrics {
    int gridWidth = 0;
    int scrollBarWidth = 0;
    bool columnLines = false;  // the grid draws lines between columns
    bool rowIndicator = false; // the grid shows a row indicator column
    enum class Border { None, Single3D, SingleFlat } border = Border::None;
};

// New widths that fit the columns to the grid's width: every column grows or
// shrinks by the same amount (shrinking rounds up). Unchanged when empty.
std::vector<int> fitColumnWidths(const std::vector<int>& widths, const GridMetrics& metrics);

// Fits a table view's visible columns to its width.
void AdjustColumnWidths(QTableView& grid);

} // namespace orv

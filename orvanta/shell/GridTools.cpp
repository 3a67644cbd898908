#include "GridTools.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>

namespace orv {

std::vector<int> fitColumnWidths(const std::vector<int>& widths, const GridMetrics& m) {
    const int n = static_cast<int>(widths.size());
    if (n == 0)
        return widths;
    int total = 0;
    for (const int w : widths)
        total += w;
    if (m.columnLines)
        total += n;
    int available = m.gridWidth - m.scrollBarWidth;
    if (m.rowIndicator) {
        available -= 11;
        if (m.columnLines)
            available -= 1;
    }
    if (m.border == GridMetrics::Border::Single3D)
        available -= 4;
    else if (m.border == GridMetrics::Border::SingleFlat)
        available -= 2;

    std::vector<int> out = widths;
    if (total < available) {
        const int grow = (available - total) / n;
        for (int& w : out)
            w += grow;
    } else if (total > available) {
        const int excess = total - available;
        const int shrink = excess / n + (excess % n != 0 ? 1 : 0);
        for (int& w : out)
            w -= shrink;
    }
    return out;
}

void AdjustColumnWidths(QTableView& grid) {
    QHeaderView* header = grid.horizontalHeader();
    std::vector<int> columns;
    std::vector<int> widths;
    for (int c = 0; c < header->count(); ++c)
        if (!grid.isColumnHidden(c)) {
            columns.push_back(c);
            widths.push_back(grid.columnWidth(c));
        }
    GridMetrics m;
    m.gridWidth = grid.width();
    m.scrollBarWidth = grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m.columnLines = grid.showGrid();
    m.rowIndicator = grid.verticalHeader()->isVisible();
    if (grid.frameShape() != QFrame::NoFrame)
        m.border = grid.frameShadow() == QFrame::Plain ? GridMetrics::Border::SingleFlat
                                                       : GridMetrics::Border::Single3D;
    const std::vector<int> fitted = fitColumnWidths(widths, m);
    for (size_t i = 0; i < columns.size(); ++i)
        grid.setColumnWidth(columns[i], fitted[i]);
}

} // namespace orv

#include "DtrGridLook.h"

#include "data/QueryModel.h"

#include <QHeaderView>
#include <QTableView>

namespace orv {

void styleDtrGrid(QTableView& grid, bool titles) {
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setAlternatingRowColors(false);
    grid.verticalHeader()->setVisible(false);
    grid.verticalHeader()->setMinimumSectionSize(17);
    grid.verticalHeader()->setDefaultSectionSize(17);
    grid.horizontalHeader()->setVisible(titles);
    grid.horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid.horizontalHeader()->setHighlightSections(false);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    grid.setFont(font);
    grid.setStyleSheet(QStringLiteral(
        "QTableView { background: white; color: black; }"
        "QHeaderView::section { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgb(250,248,239), "
        "stop:1 rgb(248,243,225)); color: black; font-weight: bold; border: 1px solid rgb(220,215,200); "
        "padding: 1px; }"));
}

void layoutDtrColumns(QTableView& grid, const QStringList& hidden, const QList<QPair<QString, int>>& widths) {
    const auto* model = qobject_cast<const QueryModel*>(grid.model());
    if (!model)
        return;
    const QueryResult& r = model->result();
    for (int c = 0; c < r.columnCount(); ++c) {
        const QString name = r.columnName(c);
        grid.setColumnHidden(c, hidden.contains(name, Qt::CaseInsensitive));
        for (const auto& [column, width] : widths)
            if (column.compare(name, Qt::CaseInsensitive) == 0)
                grid.setColumnWidth(c, width);
    }
}

} // namespace orv

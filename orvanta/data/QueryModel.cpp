#include "QueryModel.h"

namespace orv {

QueryModel::QueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void QueryModel::setResult(QueryResult result) {
    beginResetModel();
    m_result = std::move(result);
    endResetModel();
}

void QueryModel::setCaption(const QString& column, const QString& caption) {
    m_captions.insert(column.toLower(), caption);
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void QueryModel::setStyler(Styler styler) {
    m_styler = std::move(styler);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString QueryModel::text(int row, const QString& column) const {
    const int c = m_result.columnIndex(column);
    if (row < 0 || row >= m_result.rowCount() || c < 0)
        return {};
    return m_result.text(row, c);
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_result.rowCount();
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_result.columnCount();
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_result.rowCount() || index.column() >= m_result.columnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_result.text(index.row(), index.column());
    if (m_styler)
        return m_styler(m_result, index.row(), role);
    return {};
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= m_result.columnCount())
        return {};
    const QString name = m_result.columnName(section);
    return m_captions.value(name.toLower(), name);
}

} // namespace orv

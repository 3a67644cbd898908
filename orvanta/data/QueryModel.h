#pragma once

#include "QueryResult.h"

#include <QAbstractTableModel>
#include <QHash>

#include <functional>

namespace orv {

// Shows a query's rows in a grid: every column as its text (long text
// included), NULL as empty. Captions can replace column names in the header;
// a styler can colour rows (for instance locked days).
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Styler = std::function<QVariant(const QueryResult&, int row, int role)>;

    explicit QueryModel(QObject* parent = nullptr);

    void setResult(QueryResult result);
    const QueryResult& result() const { return m_result; }
    void setCaption(const QString& column, const QString& caption);
    void setStyler(Styler styler);

    // The column's text in the given row; empty when the row or column is absent.
    QString text(int row, const QString& column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QueryResult m_result;
    QHash<QString, QString> m_captions;
    Styler m_styler;
};

} // namespace orv

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <pqxx/result>

namespace orv {

// The rows a statement returned. It holds its own copy of the data and can be
// read on any thread after the connection has moved on. Columns are found by
// name (without letter case, as the forms read them); a name the statement
// did not return is an error that names it.
class QueryResult {
public:
    QueryResult() = default;
    explicit QueryResult(pqxx::result result);

    int rowCount() const { return static_cast<int>(m_result.size()); }
    int columnCount() const { return static_cast<int>(m_result.columns()); }
    bool empty() const { return m_result.empty(); }
    QString columnName(int column) const;
    QStringList columnNames() const;
    // -1 when absent.
    int columnIndex(const QString& name) const;
    qint64 affectedRows() const { return static_cast<qint64>(m_result.affected_rows()); }

    bool isNull(int row, int column) const;
    bool isNull(int row, const QString& column) const { return isNull(row, requireColumn(column)); }
    // NULL reads as empty text and as 0.
    QString text(int row, int column) const;
    QString text(int row, const QString& column) const { return text(row, requireColumn(column)); }
    int toInt(int row, const QString& column) const;
    qint64 toLongLong(int row, const QString& column) const;
    double toDouble(int row, const QString& column) const;
    // A bytea column's bytes.
    QByteArray bytes(int row, const QString& column) const;
    // Typed by the column's type: numbers as numbers, everything else as text;
    // NULL as an invalid QVariant.
    QVariant value(int row, int column) const;

    int requireColumn(const QString& name) const;

private:
    pqxx::result m_result;
};

} // namespace orv

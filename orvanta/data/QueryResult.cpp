#include "QueryResult.h"

#include <pqxx/binarystring>

#include <stdexcept>

namespace orv {

namespace {
// Type oids of the server's built-in types that read as numbers.
constexpr pqxx::oid Int8 = 20, Int2 = 21, Int4 = 23, Float4 = 700, Float8 = 701, Numeric = 1700;

qint64 parseWhole(const QString& text, const QString& column) {
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (ok)
        return v;
    const double d = text.toDouble(&ok);
    if (ok)
        return static_cast<qint64>(d);
    throw std::runtime_error("The value \"" + text.toStdString() + "\" of " + column.toStdString() +
                             " is not a number.");
}
} // namespace

QueryResult::QueryResult(pqxx::result result) : m_result(std::move(result)) {}

QString QueryResult::columnName(int column) const {
    return QString::fromUtf8(m_result.column_name(static_cast<pqxx::row::size_type>(column)));
}

QStringList QueryResult::columnNames() const {
    QStringList names;
    for (int i = 0; i < columnCount(); ++i)
        names << columnName(i);
    return names;
}

int QueryResult::columnIndex(const QString& name) const {
    for (int i = 0; i < columnCount(); ++i)
        if (columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int QueryResult::requireColumn(const QString& name) const {
    const int index = columnIndex(name);
    if (index < 0)
        throw std::out_of_range("The result has no column \"" + name.toStdString() + "\".");
    return index;
}

bool QueryResult::isNull(int row, int column) const {
    return m_result[static_cast<pqxx::result::size_type>(row)][static_cast<pqxx::row::size_type>(column)]
        .is_null();
}

QString QueryResult::text(int row, int column) const {
    const auto field =
        m_result[static_cast<pqxx::result::size_type>(row)][static_cast<pqxx::row::size_type>(column)];
    if (field.is_null())
        return {};
    return QString::fromUtf8(field.c_str(), static_cast<qsizetype>(field.size()));
}

int QueryResult::toInt(int row, const QString& column) const {
    return static_cast<int>(toLongLong(row, column));
}

qint64 QueryResult::toLongLong(int row, const QString& column) const {
    return parseWhole(text(row, column).trimmed(), column);
}

double QueryResult::toDouble(int row, const QString& column) const {
    const QString t = text(row, column).trimmed();
    if (t.isEmpty())
        return 0.0;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok)
        throw std::runtime_error("The value \"" + t.toStdString() + "\" of " + column.toStdString() +
                                 " is not a number.");
    return d;
}

QByteArray QueryResult::bytes(int row, const QString& column) const {
    const auto field = m_result[static_cast<pqxx::result::size_type>(row)]
                               [static_cast<pqxx::row::size_type>(requireColumn(column))];
    if (field.is_null())
        return {};
    const pqxx::binarystring data(field);
    return QByteArray(data.get(), static_cast<qsizetype>(data.size()));
}

QVariant QueryResult::value(int row, int column) const {
    if (isNull(row, column))
        return {};
    const QString t = text(row, column);
    switch (m_result.column_type(static_cast<pqxx::row::size_type>(column))) {
    case Int2:
    case Int4:
    case Int8:
        return t.toLongLong();
    case Float4:
    case Float8:
    case Numeric:
        return t.toDouble();
    default:
        return t;
    }
}

} // namespace orv

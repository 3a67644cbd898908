#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <optional>
#include <string>
#include <vector>

namespace orv {

// Values bound to a statement, never spliced into its text. A statement names
// its parameters either as :name (the named queries and most statements) or
// as $1, $2, ... (positional, bound in order with add()).
class SqlParams {
public:
    SqlParams() = default;

    SqlParams& bind(const QString& name, const QVariant& value);
    SqlParams& add(const QVariant& value);
    SqlParams& addNull() { return add(QVariant()); }

    bool empty() const { return m_named.empty() && m_positional.empty(); }
    std::optional<QVariant> named(const QString& name) const;

    // The statement in $n form and its values as text (nullopt = NULL).
    struct Prepared {
        std::string sql;
        std::vector<std::optional<std::string>> values;
    };
    // Throws std::invalid_argument when a positional statement gets named
    // values or the other way round.
    Prepared prepare(const QString& sql) const;

    // How a value travels: dates as yyyy-MM-dd, date-times as
    // yyyy-MM-dd hh:mm:ss, byte arrays as bytea escape text.
    static std::optional<std::string> toText(const QVariant& value);

private:
    std::vector<std::pair<QString, QVariant>> m_named;
    std::vector<QVariant> m_positional;
};

// The :names of a statement, in order of first appearance (outside string
// literals, quoted identifiers and :: casts).
std::vector<QString> parameterNames(const QString& sql);

} // namespace orv

#include "SqlParams.h"

#include <stdexcept>

namespace orv {

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Walks the statement and calls onName(name, begin, end) for each :name.
template <class OnName> void scanParameters(const QString& sql, OnName&& onName) {
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"') { // literal or quoted identifier; doubled quotes stay inside
            ++i;
            while (i < n) {
                if (sql.at(i) == c) {
                    if (i + 1 < n && sql.at(i + 1) == c) {
                        i += 2;
                        continue;
                    }
                    break;
                }
                ++i;
            }
            ++i;
            continue;
        }
        if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') { // line comment
            while (i < n && sql.at(i) != u'\n')
                ++i;
            continue;
        }
        if (c == u':') {
            if (i + 1 < n && sql.at(i + 1) == u':') { // cast
                i += 2;
                continue;
            }
            if (i + 1 < n && isNameStart(sql.at(i + 1))) {
                qsizetype e = i + 1;
                while (e < n && isNamePart(sql.at(e)))
                    ++e;
                onName(sql.mid(i + 1, e - i - 1), i, e);
                i = e;
                continue;
            }
        }
        ++i;
    }
}

} // namespace

SqlParams& SqlParams::bind(const QString& name, const QVariant& value) {
    for (auto& [n, v] : m_named)
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            v = value;
            return *this;
        }
    m_named.emplace_back(name, value);
    return *this;
}

SqlParams& SqlParams::add(const QVariant& value) {
    m_positional.push_back(value);
    return *this;
}

std::optional<QVariant> SqlParams::named(const QString& name) const {
    for (const auto& [n, v] : m_named)
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return v;
    return std::nullopt;
}

std::optional<std::string> SqlParams::toText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
    case QMetaType::Bool:
        return value.toBool() ? "true" : "false";
    case QMetaType::QByteArray: {
        // bytea hex form
        return "\\x" + value.toByteArray().toHex().toStdString();
    }
    default:
        return value.toString().toStdString();
    }
}

SqlParams::Prepared SqlParams::prepare(const QString& sql) const {
    Prepared out;
    if (!m_positional.empty()) {
        if (!m_named.empty())
            throw std::invalid_argument("A statement takes either named or positional values, not both.");
        out.sql = sql.toStdString();
        for (const QVariant& v : m_positional)
            out.values.push_back(toText(v));
        return out;
    }
    std::vector<QString> order;
    QString text;
    qsizetype copied = 0;
    scanParameters(sql, [&](const QString& name, qsizetype begin, qsizetype end) {
        size_t index = 0;
        while (index < order.size() && order[index].compare(name, Qt::CaseInsensitive) != 0)
            ++index;
        if (index == order.size())
            order.push_back(name);
        text += sql.mid(copied, begin - copied) + QLatin1Char('$') + QString::number(index + 1);
        copied = end;
    });
    text += sql.mid(copied);
    out.sql = text.toStdString();
    for (const QString& name : order) {
        const auto value = named(name);
        out.values.push_back(value ? toText(*value) : std::nullopt); // unset parameters are NULL
    }
    return out;
}

std::vector<QString> parameterNames(const QString& sql) {
    std::vector<QString> names;
    scanParameters(sql, [&](const QString& name, qsizetype, qsizetype) {
        for (const QString& n : names)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return;
        names.push_back(name);
    });
    return names;
}

} // namespace orv

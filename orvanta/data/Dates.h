#pragma once

#include <QDate>
#include <QString>

namespace orv {

// The program-wide short date format: every date shown to a user and every
// date converted to or from text for the user is month/day/year.
inline const QString ShortDateFormat = QStringLiteral("MM/dd/yyyy");

inline QString toShortDate(const QDate& date) {
    return date.toString(ShortDateFormat);
}
inline QDate fromShortDate(const QString& text) {
    return QDate::fromString(text.trimmed(), ShortDateFormat);
}

// The form the database is given and gives back: yyyy-MM-dd.
inline QString toSqlDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace orv

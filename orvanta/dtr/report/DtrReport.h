#pragma once

#include "DtrPeriod.h"

#include <QString>

#include <vector>

namespace orv {

// One printed row of the day table: the day number ("1." .. "31.") and the
// four columns. A day outside the printed period, or without a DTR row, is
// entirely empty.
struct DtrReportRow {
    QString days;
    QString as1; // morning arrival, or the day's text when it has no time at all
    QString as2;
    QString as3;
    QString as4;
};

// What one Form 48 page prints (both copies print the same).
struct DtrReport {
    QString employeeId;
    QString fullName;
    DtrPeriod period;
    QString periodText;
    QString regularDays; // empty when the period has no DTR rows
    QString verifierName;
    QString verifierPosition;
    QString verifierDesignation;
    std::vector<DtrReportRow> rows; // one per calendar day of the month
    bool generated = false;         // at least one DTR row in the printed period
};

// The name as printed: first name, the middle initial with a full stop, the
// last name and the suffix, each separated by one space; blank parts are left
// out (a middle name stored as an empty text prints no initial).
QString dtrFullName(const QString& first, const QString& middle, const QString& last, const QString& suffix);

} // namespace orv

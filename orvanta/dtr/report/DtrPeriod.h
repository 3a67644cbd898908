#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace orv {

// Which part of a month a DTR prints: the positions of the mode list.
enum class DtrReportMode { Monthly = 0, FirstQuincena = 1, SecondQuincena = 2 };

// The month of a DTR and the days printed on it.
struct DtrPeriod {
    QDate monthFirst; // day 1 of the month
    QDate monthLast;  // last day of the month
    QDate first;      // first day printed
    QDate last;       // last day printed

    // "March 01 - 15, 2024": the month name unpadded, the first day with two
    // digits, the last day without leading zero.
    QString text() const;
    // "March 2024"
    QString monthText() const;
    int daysInMonth() const { return monthFirst.daysInMonth(); }

    // The period of mode for the month that contains month.
    static DtrPeriod of(const QDate& month, DtrReportMode mode);
};

// "Monthly", "First Quincena", "Second Quincena", in list order.
QStringList dtrReportModeNames();
// A mode from its list position; nullopt when out of range.
std::optional<DtrReportMode> dtrReportModeAt(int index);
// A mode from a command-line word: monthly, first, second (or the list names),
// without letter case; nullopt when unknown.
std::optional<DtrReportMode> parseDtrReportMode(const QString& word);

// A month written yyyy-mm (or yyyy-mm-dd, whose day is ignored): its first
// day, or an invalid date.
QDate parseReportMonth(const QString& text);

} // namespace orv

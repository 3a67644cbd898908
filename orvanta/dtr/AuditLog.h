#pragma once

#include "DtrMonth.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace orv {

class DataCon;
class Transaction;

// The trail of manual changes to time records and the holiday calendar. Each
// entry is written inside the transaction of the change it describes, so the
// change and its entry are stored together or not at all.
class AuditLog {
public:
    // What was changed; the texts stored in `action`.
    static const QString Absent;
    static const QString Off;
    static const QString AddTardy;
    static const QString Relabel;
    static const QString Verifier;
    static const QString HolidayAdded;
    static const QString HolidayDeleted;

    struct Entry {
        QDateTime changedAt;
        QString userid;     // end_userid, empty before a login
        QString username;   // the account's login name, when known
        QString employeeid; // empty for holiday entries
        QDate day;          // invalid for verifier entries
        QString action;
        QString oldValue;
        QString newValue;
    };

    // Writes one entry. userid is end_userid as text; empty stores NULL.
    static void record(Transaction& t, const QString& userid, const QVariant& employeeid, const QDate& day,
                       const QString& action, const QString& oldValue, const QString& newValue);

    // The entries that touch an employee's month: changes to the employee's
    // days of the month, verifier changes made during the month, and holiday
    // changes for days of the month; oldest first.
    static std::vector<Entry> forEmployeeMonth(DataCon& db, int employeeid, const DtrMonth& month);
};

} // namespace orv

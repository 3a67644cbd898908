#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace orv {

class DataCon;

// The marks a clerk toggles on a day.
enum class DayMark { Absent, Off };

// The person who verifies an employee's time record, printed on it.
struct DtrVerifier {
    QString fullname;
    QString position;
    QString designation;
    bool operator==(const DtrVerifier&) const = default;
};

// The review of a generated month: the corrections a clerk makes to it. Each
// change is one transaction together with its audit entry. After a change
// that returns true the month must be generated again, which shows it.
// A locked day (posted to payroll) is never changed.
class DtrReview {
public:
    // userid: end_userid of the logged-in user (empty before a login), for the audit trail.
    DtrReview(DataCon& db, QString userid) : m_db(db), m_userid(std::move(userid)) {}

    // The years that have punches, ascending ("2023", "2024").
    QStringList yearsWithPunches();

    // Absent and Off: a day can be marked only while it has no time at all
    // and shows either nothing or the mark's own text ("Absent", "--:--");
    // pressing again removes the mark. Returns false when the day does not
    // qualify (or has no row, or is locked): then nothing was written.
    bool toggleMark(DayMark mark, int employeeid, const QDate& day);
    static QString markText(DayMark mark);

    // Sets the minutes added by hand to a day (replacing, not adding to, an
    // earlier value). False for a missing or locked day.
    bool setAddTardy(int employeeid, const QDate& day, int minutes);

    // Re-labels a punch as "check-in" or "check-out" and clears the day's four
    // times, so the next generation fills them from all the day's punches.
    // False for a locked day or a punch that no longer exists.
    bool relabelPunch(int employeeid, const QDate& day, qint64 attReadId, const QString& checkMode);

    DtrVerifier verifier(int employeeid);
    // Throws UserError when the employee is not in the personnel register.
    void saveVerifier(int employeeid, const DtrVerifier& verifier);

private:
    DataCon& m_db;
    QString m_userid;
};

} // namespace orv

#pragma once

#include "DtrMonth.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class DataCon;

// Someone whose month can be generated: the payroll employee id that keys the
// time record and the bio ID whose punches fill it.
struct DtrEmployee {
    int employeeid = 0;
    int bioid = 0;
    QString name; // "lname, fname", for progress lines
};

struct DtrBatchResult {
    int employees = 0; // employee months generated
    qint64 days = 0;   // day rows written
    QStringList notes; // who was left out or needed care, and why
};

// Turns punches into the daily time record of a month.
//
// For every day of the month the employee's row is created or refreshed: the
// four times by mode (check-in before 11:00 = AM-IN, check-out before 13:00 =
// AM-OUT, check-in before 16:00 = PM-IN, check-out before 19:00 = PM-OUT; the
// latest punch of a mode wins; a day without a punch of a mode keeps the time
// stored before), the minutes late or under (hours and minutes only, negatives
// as 0, summed over the day, plus the minutes added by hand), the holiday mark,
// and the text shown instead of times: "Absent" over "--:--" over the holiday
// text over the weekend name. A holiday on a weekend shows the weekday name.
// `works` is set when a row is created and left alone afterwards; absences,
// days off, added minutes and locks are read, never written.
//
// A month is one statement in one transaction, for one employee or many.
class DtrGenerator {
public:
    using Progress = std::function<void(int done, int total)>;

    explicit DtrGenerator(DataCon& db) : m_db(db) {}

    // One employee's month; returns the number of day rows written.
    qint64 generateMonth(int employeeid, int bioid, const DtrMonth& month);
    qint64 generateMonth(const DtrEmployee& employee, const DtrMonth& month) {
        return generateMonth(employee.employeeid, employee.bioid, month);
    }

    // Everyone with punches in the month, optionally only the people of one
    // office (matched by name or short name, letter case ignored). Throws
    // UserError for an office that does not exist.
    std::vector<DtrEmployee> employeesWithPunches(const DtrMonth& month,
                                                  const std::optional<QString>& office = std::nullopt,
                                                  QStringList* notes = nullptr);
    // The bio IDs an employee id has in the personnel register. Throws
    // UserError when it has none.
    std::vector<DtrEmployee> employeeProfiles(int employeeid);

    // Generates the month of every listed employee, several employees per
    // statement and transaction. An employee listed under two bio IDs is
    // generated once per bio ID, in order. progress runs on the calling thread.
    DtrBatchResult generateMany(const std::vector<DtrEmployee>& employees, const DtrMonth& month,
                                const Progress& progress = {});

    // How many employees share one statement in generateMany.
    static constexpr int BatchSize = 50;

private:
    qint64 generateChunk(const std::vector<DtrEmployee>& chunk, const DtrMonth& month);

    DataCon& m_db;
};

} // namespace orv

#pragma once

#include "DtrReport.h"

#include "data/QueryResult.h"

#include <QHash>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class DataCon;
class Form48Document;

// The Form 48 pages of many employees for one period: those of one office, or
// of every office, in name order. Everything is read with a few statements
// for the whole batch; each page is put together only when it is printed.
class DtrBatch {
public:
    struct Employee {
        QString employeeId;
        QString fullName;
        QString sortName; // "Last, First M." for lists
        QString regularDays;
        QString verifierName, verifierPosition, verifierDesignation;
    };

    // office: an office's name or short name (letter case ignored); nullopt
    // for every office. Throws UserError for an unknown office or when no
    // employee of the selection has a DTR in the period.
    DtrBatch(DataCon& db, const QDate& month, DtrReportMode mode, const std::optional<QString>& office);

    // The name of the office of an employee; throws UserError when the
    // employee is unknown or belongs to no office.
    static QString officeOf(DataCon& db, const QString& employeeId);

    const DtrPeriod& period() const { return m_period; }
    // The office's name as stored, or empty for every office.
    const QString& officeName() const { return m_officeName; }
    // Employees with a DTR in the period, one page each, in name order.
    const std::vector<Employee>& employees() const { return m_employees; }
    // Employees of the selection without any DTR row in the period: no page.
    const std::vector<Employee>& notGenerated() const { return m_notGenerated; }
    int pageCount() const { return static_cast<int>(m_employees.size()); }

    DtrReport page(int index) const;

    // Paints every page in order; progress(done, total) is called after each
    // page and may return false to stop. Returns the pages painted.
    int print(Form48Document& document, const std::function<bool(int, int)>& progress = {}) const;

private:
    DtrPeriod m_period;
    QString m_officeName;
    std::vector<Employee> m_employees;
    std::vector<Employee> m_notGenerated;
    QueryResult m_rows;                           // data_dtr rows of the period, by employee and date
    QHash<QString, std::pair<int, int>> m_ranges; // employee -> [first, end) in m_rows
};

} // namespace orv

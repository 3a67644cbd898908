#pragma once

#include "DtrReport.h"

namespace orv {

class DataCon;
class QueryResult;

// Fills one employee's Form 48 from what the generation stored in data_dtr:
// the rows through the data module's DTR_QueryReports, the regular days of
// the period, the printed name and the verifier.
class DtrReportLoader {
public:
    // Throws UserError when employeeId is not a number or no employee has it.
    // A month never generated gives empty rows and an empty regular-days count.
    static DtrReport load(DataCon& db, const QString& employeeId, const QDate& month, DtrReportMode mode);

    // The rows of a DTR_QueryReports result: one per calendar day of the month.
    static std::vector<DtrReportRow> rowsFrom(const QueryResult& result);
};

} // namespace orv

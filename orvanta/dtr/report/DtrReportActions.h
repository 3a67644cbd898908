#pragma once

#include <QString>

class QWidget;

namespace orv {

class DataCon;

// What the DTR frame has picked when a report is asked for.
struct DtrReportRequest {
    QString employeeId; // empids
    QString month;      // dates: the month's first day, yyyy-mm-dd
    int modeIndex = 0;  // the mode list's position: Monthly, First / Second Quincena
};

// The report actions of the DTR frame. Both disable button while they work
// and enable it again however they end (an error included); without a picked
// employee or month they say so and do nothing.
class DtrReportActions {
public:
    static const QString NoEmployeeText; // "Please select an employee first."

    // DTR Preview: reads the employee's report in the background, then shows
    // the preview window, from which the user prints or exports a PDF.
    static void preview(QWidget* frame, DataCon& db, QWidget* button, const DtrReportRequest& request);

    // Print all: the DTRs of every employee of the picked employee's office
    // with a DTR in the period, one page each in name order, to the printer
    // chosen in the print dialog, with a progress bar that can cancel.
    static void printAll(QWidget* frame, DataCon& db, QWidget* button, const DtrReportRequest& request);
};

} // namespace orv

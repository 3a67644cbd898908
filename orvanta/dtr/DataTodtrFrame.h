#pragma once

#include "DtrMonth.h"
#include "DtrReview.h"

#include "shell/CustomInfoFrame.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class QToolButton;

namespace orv {

class Tcheckinout_forms;

// "Data to DTR": pick a year, a month and an employee, generate the month and
// review it day by day: the punches of a day, re-labelling a punch, the Absent
// and Off marks, minutes added by hand, and the verifier printed on the record.
// A generation runs in the background; one asked for while one runs (a second
// click, an adjustment) runs once right after it.
class TDataTodtr_Frames : public TCustomInfoFrame {
    Q_OBJECT
public:
    TDataTodtr_Frames(FrameContext& context, QWidget* parent);
    ~TDataTodtr_Frames() override;

    void AfterCreation() override;

    // The picked month and employee (empty until picked).
    const QString& years() const { return m_years; }      // "2024"
    const QString& months() const { return m_months; }    // "03"
    const QString& dates() const { return m_dates; }      // "2024-03-01"
    const QString& last_day() const { return m_lastDay; } // "2024-03-31"
    const QString& empids() const { return m_empids; }
    const QString& bioids() const { return m_bioids; }
    DtrMonth month() const { return m_month; }
    bool employeePicked() const { return !m_empids.isEmpty(); }
    // The printed period: 0 "Monthly", 1 "First Quincena", 2 "Second Quincena".
    int modeIndex() const;
    bool generating() const { return m_generating; }
    // The day grid's current day; invalid when none is selected.
    QDate currentDay() const;

    QComboBox* sComboBox2 = nullptr;      // year
    QComboBox* sComboBox1 = nullptr;      // month
    QLineEdit* sEdit1 = nullptr;          // employee search
    QTableView* sDBGrid1 = nullptr;       // search result
    QPushButton* sButton1 = nullptr;      // "Generate"
    QComboBox* sComboBox4 = nullptr;      // "Mode :"
    QToolButton* sSpeedButton2 = nullptr; // "DTR Preview"
    QLabel* sLabel1 = nullptr;            // picked employee's name
    QTableView* sDBGrid2 = nullptr;       // day list
    QWidget* sPanel1 = nullptr;           // separator
    QLineEdit* sEdit8 = nullptr;          // verifier: full name
    QLineEdit* sEdit9 = nullptr;          // verifier: position
    QLineEdit* sEdit10 = nullptr;         // verifier: designation
    QToolButton* sSpeedButton3 = nullptr; // save the verifier
    QTableView* sDBGrid3 = nullptr;       // punches of the day
    QPushButton* sButton2 = nullptr;      // "Absent"
    QPushButton* sButton4 = nullptr;      // "Off"
    QLineEdit* sEdit2 = nullptr;          // minutes to add
    QPushButton* sButton3 = nullptr;      // "save"
    QGroupBox* sGroupBox1 = nullptr;      // "JO PAYROLL"
    Tcheckinout_forms* checkinout_forms = nullptr;

public Q_SLOTS:
    void sComboBox2Click();
    void sComboBox1Click();
    void sEdit1Search();
    void sDBGrid1DblClick(const QModelIndex& index);
    void sDBGrid2CellClick(const QModelIndex& index);
    void sDBGrid3CellClick(const QModelIndex& index);
    void sButton1Click();
    void sButton2Click();
    void sButton4Click();
    void sButton3Click();
    void sSpeedButton3Click();
    void sSpeedButton2Click();

Q_SIGNALS:
    // An employee was picked (the month is set).
    void employeeChanged();
    // A generation ended and the day list shows its result (also after a failure).
    void generationFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void startGeneration();
    void refreshDays();
    void refreshPunches(const QString& day);
    void clearEmployee();
    void toggleMark(DayMark mark, QPushButton* button);
    void setTardyInput(bool enabled);
    int currentDayRow() const;
    bool requireEmployee();
    QString dayText(int row, const char* column) const;

    DtrReview review() const;

    QWidget* m_content = nullptr;
    DtrMonth m_month;
    QString m_years, m_months, m_dates, m_lastDay, m_empids, m_bioids;
    bool m_generating = false;
    bool m_rerun = false;
};

} // namespace orv

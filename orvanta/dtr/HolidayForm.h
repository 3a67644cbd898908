#pragma once

#include "shell/FrameContext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace orv {

// "Holidays": enter a holiday (regular, special or a custom description) for
// a date, list the holidays of a month of the current year, delete one.
class THoliday_forms : public QDialog {
    Q_OBJECT
public:
    explicit THoliday_forms(FrameContext& context, QWidget* parent = nullptr);

    QGroupBox* sGroupBox1 = nullptr;
    QLineEdit* sDateEdit1 = nullptr;      // MM/dd/yyyy
    QCheckBox* sCheckBox1 = nullptr;      // "Regular Holiday"
    QCheckBox* sCheckBox2 = nullptr;      // "Custom"
    QLineEdit* sEdit1 = nullptr;          // the description to save
    QPushButton* sButton1 = nullptr;      // "Save"
    QComboBox* sComboBox1 = nullptr;      // month to list
    QToolButton* sSpeedButton1 = nullptr; // delete
    QTableView* sDBGrid1 = nullptr;

    // First day of the listed month, yyyy-MM-dd; empty until a month is chosen.
    const QString& dates() const { return m_dates; }

public Q_SLOTS:
    void FormActivate();
    void sComboBox1Change();
    void sCheckBox1Click();
    void sCheckBox2Click();
    void sButton1Click();
    void sSpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshList();
    void pickDate();

    FrameContext& m_context;
    QString m_dates;
};

} // namespace orv

#include "DtrTestData.h"

#include "IniFile.h"
#include "data/Session.h"
#include "dtr/CheckinoutForm.h"
#include "dtr/DataTodtrFrame.h"
#include "dtr/HolidayForm.h"
#include "fixtures/ScriptedDialogs.h"
#include "fixtures/TestDatabase.h"
#include "shell/MainForm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace orv;
using namespace orv::test;

namespace {

class DtrFrameTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        m_ini = std::make_unique<IniFile>(m_dir.filePath("System_Control.ini"));
        m_session.userid = "3";
        m_context = std::make_unique<FrameContext>(FrameContext{db(), m_session, *m_ini});
        database().exec("INSERT INTO end_user (end_userid, usernames) VALUES (3, 'clerk')");
        addPerson(db(), 1001, "1", "Santos", "Juan", "Reyes");
        addPerson(db(), 1002, "2", "Sanchez", "Ana", {}, "Jr.");
        addPerson(db(), 1003, "3", "Garcia", "Pedro");
        addPerson(db(), 1004, "4", "Lopez", "Sandra");
        addPerson(db(), 1005, "5", "Sanders", "Mia"); // punches only in April
        for (int bio : {1, 2, 3, 4})
            addPunch(db(), bio, "2024-03-04 08:10:00", "check-in");
        addPunch(db(), 1, "2024-03-05 08:00:00", "check-in");
        addPunch(db(), 1, "2024-03-05 11:50:00", "check-in"); // should have been a check-out
        addPunch(db(), 5, "2024-04-02 08:00:00", "check-in");
        addPunch(db(), 1, "2023-06-01 08:00:00", "check-in");
    }
    void TearDown() override {
        m_frame.reset();
        DatabaseTest::TearDown();
    }

    TDataTodtr_Frames& openFrame() {
        m_frame = std::make_unique<TDataTodtr_Frames>(*m_context, nullptr);
        m_frame->resize(980, 700);
        m_frame->show();
        m_frame->AfterCreation();
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_frame->sComboBox2->count() > 0; }, 10000));
        return *m_frame;
    }
    static void pick(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        box->setCurrentIndex(i);
        Q_EMIT box->activated(i);
    }
    // Year, month, search "san", pick the row of lname.
    void pickEmployee(TDataTodtr_Frames& f, const QString& lname) {
        pick(f.sComboBox2, "2024");
        pick(f.sComboBox1, "March");
        f.sEdit1->clear();
        QTest::keyClicks(f.sEdit1, "san");
        QTest::keyClick(f.sEdit1, Qt::Key_Return);
        ASSERT_TRUE(f.sDBGrid1->isVisible());
        const QueryModel& found = db().Searchdtrname.model();
        for (int row = 0; row < found.rowCount(); ++row)
            if (found.text(row, "lname") == lname) {
                const QModelIndex cell = found.index(row, found.result().columnIndex("lname"));
                f.sDBGrid1->setCurrentIndex(cell);
                Q_EMIT f.sDBGrid1->doubleClicked(cell); // what a double click on the row sends
                return;
            }
        FAIL() << "no search row for " << lname.toStdString();
    }
    void generate(TDataTodtr_Frames& f) {
        QSignalSpy done(&f, &TDataTodtr_Frames::generationFinished);
        f.sButton1->click();
        ASSERT_TRUE(done.wait(10000));
    }
    // Clicks the day grid's row of a day ("2024-03-06").
    void clickDay(TDataTodtr_Frames& f, const QString& day) {
        const QueryModel& days = db().DTR_Details.model();
        for (int row = 0; row < days.rowCount(); ++row)
            if (days.text(row, "dates") == day) {
                const QModelIndex cell = days.index(row, 0);
                f.sDBGrid2->scrollTo(cell);
                QTest::mouseClick(f.sDBGrid2->viewport(), Qt::LeftButton, {},
                                  f.sDBGrid2->visualRect(cell).center());
                ASSERT_EQ(f.currentDay().toString("yyyy-MM-dd"), day);
                return;
            }
        FAIL() << "no day row " << day.toStdString();
    }
    QString shown(const QString& day, const char* column) {
        const QueryModel& days = db().DTR_Details.model();
        for (int row = 0; row < days.rowCount(); ++row)
            if (days.text(row, "dates") == day)
                return days.text(row, column);
        return "<no row>";
    }
    // Waits for a generation started by an adjustment.
    void waitIdle(TDataTodtr_Frames& f) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.generating(); }, 10000));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<IniFile> m_ini;
    Session m_session;
    std::unique_ptr<FrameContext> m_context;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TDataTodtr_Frames> m_frame;
};

TEST_F(DtrFrameTest, PickYearMonthSearchPickGenerateShowsTheMonth) {
    TDataTodtr_Frames& f = openFrame();
    EXPECT_EQ(f.sComboBox2->count(), 2); // 2023, 2024
    EXPECT_FALSE(f.sButton1->isEnabled());
    EXPECT_EQ(f.sDBGrid2->model()->rowCount(), 0);
    EXPECT_EQ(f.sSpeedButton2->text(), "DTR Preview");
    EXPECT_EQ(f.sComboBox4->currentText(), "Monthly");

    pick(f.sComboBox2, "2024");
    EXPECT_EQ(f.sComboBox1->count(), 12);
    pick(f.sComboBox1, "March");
    EXPECT_EQ(f.dates(), "2024-03-01");
    EXPECT_EQ(f.last_day(), "2024-03-31");
    EXPECT_EQ(f.months(), "03");
    QTest::keyClicks(f.sEdit1, "san");
    QTest::keyClick(f.sEdit1, Qt::Key_Return);
    EXPECT_TRUE(f.sDBGrid1->isVisible());
    QStringList names;
    for (int row = 0; row < db().Searchdtrname.model().rowCount(); ++row)
        names << db().Searchdtrname.model().text(row, "lname");
    names.sort();
    EXPECT_EQ(names, (QStringList{"Lopez", "Sanchez", "Santos"})); // not Garcia, not April's Sanders

    pickEmployee(f, "Santos");
    EXPECT_FALSE(f.sDBGrid1->isVisible());
    EXPECT_TRUE(f.sEdit1->text().isEmpty());
    EXPECT_EQ(f.sLabel1->text(), "Santos, Juan R. ");
    EXPECT_EQ(f.empids(), "1001");
    EXPECT_EQ(f.bioids(), "1");
    EXPECT_TRUE(f.sButton1->isEnabled());

    generate(f);
    EXPECT_EQ(f.sDBGrid2->model()->rowCount(), 31);
    EXPECT_EQ(shown("2024-03-04", "AM-IN"), "08:10:00 AM");
    EXPECT_EQ(shown("2024-03-04", "TARDY"), "10");
    EXPECT_EQ(shown("2024-03-02", "WEEKEND"), "Saturday");
    EXPECT_EQ(shown("2024-03-05", "PM-IN"), "11:50:00 AM");
    EXPECT_TRUE(f.sButton1->isEnabled());
    EXPECT_TRUE(f.sDBGrid2->isEnabled());
    EXPECT_TRUE(f.sDBGrid2->isColumnHidden(db().DTR_Details.model().result().columnIndex("dates")));

    // Another month: the employee must be picked again.
    pick(f.sComboBox1, "April");
    EXPECT_EQ(f.sLabel1->text(), "___");
    EXPECT_FALSE(f.sButton1->isEnabled());
    EXPECT_EQ(f.sDBGrid2->model()->rowCount(), 0);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(DtrFrameTest, AdjustmentsBeforeAnEmployeeIsPickedSaySo) {
    TDataTodtr_Frames& f = openFrame();
    // Before a year: the month list is empty and a search does nothing.
    QTest::keyClicks(f.sEdit1, "san");
    QTest::keyClick(f.sEdit1, Qt::Key_Return);
    EXPECT_FALSE(f.sDBGrid1->isVisible());
    f.sButton2->click();
    f.sButton4->click();
    f.sSpeedButton3->click();
    f.sEdit2->setEnabled(true);
    f.sButton3->setEnabled(true);
    f.sEdit2->setText("5");
    f.sButton3->click();
    EXPECT_EQ(m_dialogs.texts(), QStringList(4, "Please select an employee first."));
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::Information);
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM data_dtr").toInt(0, "n"), 0);
}

TEST_F(DtrFrameTest, AbsentOffAndAddedMinutesRegenerateTheMonth) {
    TDataTodtr_Frames& f = openFrame();
    pickEmployee(f, "Santos");
    generate(f);

    clickDay(f, "2024-03-06");          // a plain Wednesday
    EXPECT_TRUE(f.sEdit2->isEnabled()); // no times at all
    f.sButton2->click();
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-06", "WEEKEND"), "Absent");
    EXPECT_TRUE(f.sButton2->isEnabled());
    f.sButton4->click(); // a day showing "Absent" cannot be made a day off
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-06", "WEEKEND"), "Absent");
    f.sButton2->click();
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-06", "WEEKEND"), "");

    clickDay(f, "2024-03-02"); // Saturday: no minutes, no marks
    EXPECT_FALSE(f.sEdit2->isEnabled());
    f.sButton2->click();
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-02", "WEEKEND"), "Saturday");

    clickDay(f, "2024-03-04"); // only a morning arrival: minutes can be added
    EXPECT_TRUE(f.sEdit2->isEnabled());
    EXPECT_TRUE(f.sButton3->isEnabled());
    EXPECT_EQ(db().detailed_dtr.model().rowCount(), 1);
    QTest::keyClicks(f.sEdit2, "a-1.5x");
    EXPECT_EQ(f.sEdit2->text(), "15");
    f.sButton3->click();
    EXPECT_FALSE(f.sEdit2->isEnabled());
    EXPECT_TRUE(f.sEdit2->text().isEmpty());
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-04", "TARDY"), "25");
    f.sButton2->click(); // a day with a time cannot be marked absent
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-04", "WEEKEND"), "");

    // A posted day: no punches, no minutes, no marks.
    database().exec("UPDATE data_dtr SET att_lock = 1 WHERE att_dates = '2024-03-07'");
    generate(f);
    clickDay(f, "2024-03-07");
    EXPECT_EQ(db().detailed_dtr.model().rowCount(), 0);
    EXPECT_FALSE(f.sEdit2->isEnabled());
    f.sButton4->click();
    waitIdle(f);
    EXPECT_EQ(shown("2024-03-07", "WEEKEND"), "");
    EXPECT_EQ(f.sDBGrid2->model()->data(f.sDBGrid2->model()->index(6, 0), Qt::BackgroundRole).value<QColor>(),
              QColor(200, 200, 200));

    const QueryResult trail =
        db().query("SELECT action, old_value, new_value, end_userid FROM audit_log ORDER BY "
                   "audit_logid");
    ASSERT_EQ(trail.rowCount(), 3);
    EXPECT_EQ(trail.text(0, "action"), "absent");
    EXPECT_EQ(trail.text(2, "action"), "add tardy");
    EXPECT_EQ(trail.text(2, "new_value"), "15");
    EXPECT_EQ(trail.text(2, "end_userid"), "3");
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(DtrFrameTest, ARequestWhileAGenerationRunsRunsOnceAfterIt) {
    TDataTodtr_Frames& f = openFrame();
    pickEmployee(f, "Santos");
    QSignalSpy done(&f, &TDataTodtr_Frames::generationFinished);
    db().resetRoundTrips();
    f.sButton1Click();
    EXPECT_TRUE(f.generating());
    EXPECT_FALSE(f.sButton1->isEnabled());
    EXPECT_FALSE(f.sDBGrid2->isEnabled());
    f.sButton1Click(); // while it runs: queued
    f.sButton1Click(); // still only one re-run
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(done.count(), 1);
    EXPECT_EQ(db().roundTrips(), 3 + 3 + 1); // two generations, then one refresh of the day list
    EXPECT_FALSE(f.generating());
    EXPECT_TRUE(f.sButton1->isEnabled());
    QTest::qWait(100);
    EXPECT_EQ(done.count(), 1);
}

TEST_F(DtrFrameTest, RelabellingAPunchRefillsTheDay) {
    TDataTodtr_Frames& f = openFrame();
    pickEmployee(f, "Santos");
    generate(f);
    clickDay(f, "2024-03-05");
    const QueryModel& punches = db().detailed_dtr.model();
    ASSERT_EQ(punches.rowCount(), 2);
    const QModelIndex second = punches.index(1, punches.result().columnIndex("checks"));
    QTest::mouseClick(f.sDBGrid3->viewport(), Qt::LeftButton, {}, f.sDBGrid3->visualRect(second).center());
    Tcheckinout_forms* popup = f.checkinout_forms;
    ASSERT_TRUE(popup->isVisible());
    EXPECT_FALSE(popup->sSpeedButton1->isEnabled()); // it is a check-in already
    EXPECT_TRUE(popup->sSpeedButton2->isEnabled());
    EXPECT_EQ(popup->dates, "2024-03-05");
    QSignalSpy done(&f, &TDataTodtr_Frames::generationFinished);
    popup->sSpeedButton2->click();
    EXPECT_FALSE(popup->isVisible());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(shown("2024-03-05", "AM-IN"), "08:00:00 AM");
    EXPECT_EQ(shown("2024-03-05", "AM-OUT"), "11:50:00 AM");
    EXPECT_EQ(shown("2024-03-05", "PM-IN"), "");
    EXPECT_EQ(db().query("SELECT action FROM audit_log").text(0, "action"), "punch re-label");
}

TEST_F(DtrFrameTest, VerifierIsShownAndSaved) {
    TDataTodtr_Frames& f = openFrame();
    database().exec("UPDATE bioemp_profile SET hfullname = 'ROBERTO M. VILLANUEVA' WHERE employeeid = 1001");
    pickEmployee(f, "Santos");
    EXPECT_EQ(f.sEdit8->text(), "ROBERTO M. VILLANUEVA");
    f.sEdit9->setText("Municipal Mayor");
    f.sSpeedButton3->click();
    EXPECT_TRUE(f.sSpeedButton3->isEnabled());
    EXPECT_EQ(db().query("SELECT hposition FROM bioemp_profile WHERE employeeid = 1001").text(0, "hposition"),
              "Municipal Mayor");
}

TEST_F(DtrFrameTest, MainWindowOpensTheFrameAndTheHolidays) {
    TMainForm window(*m_context);
    window.revealRibbon();
    window.sSpeedButton6->click();
    EXPECT_NE(qobject_cast<TDataTodtr_Frames*>(window.currentFrame()), nullptr);
    QTest::qWait(200); // the year list arrives in the background
    window.sSpeedButton8->click();
    EXPECT_EQ(m_dialogs.modalsShown(), QStringList{"orv::THoliday_forms"});
}

} // namespace

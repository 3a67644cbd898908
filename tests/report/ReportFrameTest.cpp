// "DTR Preview" and "Print all" on the DTR frame, after a real generation.
#include "PdfText.h"
#include "ReportFixture.h"

#include "IniFile.h"
#include "data/Background.h"
#include "data/Session.h"
#include "dtr/DataTodtrFrame.h"
#include "dtr/report/DtrPreviewDialog.h"
#include "fixtures/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace orv;
using namespace orv::test;

namespace {

class ReportFrameTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        setUnhandledErrorHandler([this](const QString& m) { m_errors << m; });
        m_ini = std::make_unique<IniFile>(path("System_Control.ini"));
        m_session.userid = "3";
        m_context = std::make_unique<FrameContext>(FrameContext{db(), m_session, *m_ini});
        addEmployee(1001, "Juan", "Reyes", "Santos");
        addEmployee(1009, "Jose", QString(), "Ramos");
        addEmployee(1018, "Nestor", "Manalo", "Cruz", QString(), 2);
        // Punches of March 2024, as the download stores them.
        database().exec("INSERT INTO attendance_read (bioid, att_date, check_mode, verify_mode) VALUES "
                        "(1, '2024-03-04 08:05:00', 'check-in', 'finger'), "
                        "(1, '2024-03-04 12:02:00', 'check-out', 'finger'), "
                        "(1, '2024-03-04 13:30:00', 'check-in', 'finger'), "
                        "(1, '2024-03-04 17:10:00', 'check-out', 'finger'), "
                        "(9, '2024-03-04 07:58:00', 'check-in', 'finger'), "
                        "(18, '2024-03-04 07:50:00', 'check-in', 'face')");
    }
    void TearDown() override {
        m_frame.reset();
        setUnhandledErrorHandler({});
        ReportTest::TearDown();
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
    // Picks March 2024 and the employee found by name, then generates the month.
    void pickAndGenerate(TDataTodtr_Frames& f, const QString& search, const QString& lname) {
        pick(f.sComboBox2, "2024");
        pick(f.sComboBox1, "March");
        f.sEdit1->setText(search);
        Q_EMIT f.sEdit1->returnPressed();
        const QueryModel& found = db().Searchdtrname.model();
        for (int row = 0; row < found.rowCount(); ++row) {
            if (found.text(row, "lname") == lname) {
                const QModelIndex cell = found.index(row, found.result().columnIndex("lname"));
                Q_EMIT f.sDBGrid1->doubleClicked(cell);
                QSignalSpy done(&f, &TDataTodtr_Frames::generationFinished);
                f.sButton1->click();
                ASSERT_TRUE(done.wait(10000));
                return;
            }
        }
        FAIL() << "no search row for " << lname.toStdString();
    }
    static std::function<int(QDialog&)> printTo(const QString& file) {
        return [file](QDialog& d) {
            auto* dialog = qobject_cast<QPrintDialog*>(&d);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->printer()->setOutputFileName(file);
            return int(QDialog::Accepted);
        };
    }

    std::unique_ptr<IniFile> m_ini;
    Session m_session;
    std::unique_ptr<FrameContext> m_context;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TDataTodtr_Frames> m_frame;
    QStringList m_errors;
};

TEST_F(ReportFrameTest, PreviewBeforeAnEmployeeIsPickedSaysSo) {
    TDataTodtr_Frames& f = openFrame();
    f.sSpeedButton2->click();
    pick(f.sComboBox2, "2024");
    pick(f.sComboBox1, "March");
    f.sSpeedButton2->findChild<QMenu*>()->findChild<QAction*>("printAllAction")->trigger();
    EXPECT_EQ(m_dialogs.texts(),
              QStringList({"Please select an employee first.", "Please select an employee first."}));
    EXPECT_TRUE(m_dialogs.modalsShown().isEmpty());
    EXPECT_TRUE(f.sSpeedButton2->isEnabled());
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(ReportFrameTest, PreviewShowsTheGeneratedMonthOnTheForm) {
    TDataTodtr_Frames& f = openFrame();
    pickAndGenerate(f, "san", "Santos");
    pick(f.sComboBox4, "First Quincena");
    const QString exported = path("santos.pdf");
    m_dialogs.nextFile(exported);
    bool shown = false;
    m_dialogs.onNextModal([&](QDialog& d) {
        auto* preview = qobject_cast<DtrPreviewDialog*>(&d);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return int(QDialog::Rejected);
        shown = true;
        EXPECT_EQ(preview->windowTitle(), "DTR Preview - Juan R. Santos, March 01 - 15, 2024");
        EXPECT_EQ(preview->previewWidget()->pageCount(), 1);
        preview->findChild<QAction*>("exportAction")->trigger();
        return int(QDialog::Rejected);
    });
    f.sSpeedButton2->click();
    EXPECT_FALSE(f.sSpeedButton2->isEnabled()); // while the report is read
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }, 20000));
    EXPECT_TRUE(f.sSpeedButton2->isEnabled());
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();

    const QStringList lines = pdfLines(exported, 1, leftCopy());
    const QString day4 = lines.filter(QRegularExpression("^4\\.")).join(' ');
    EXPECT_TRUE(day4.contains(QRegularExpression("8:05 am\\s+12:02 pm\\s+1:30 pm\\s+5:10 pm")))
        << day4.toStdString();
    EXPECT_TRUE(lines.filter(QRegularExpression("^2\\.")).join(' ').contains("Saturday"));
    EXPECT_EQ(lines.filter(QRegularExpression("^\\d{1,2}\\.")).size(), 15);
    EXPECT_TRUE(lines.filter("Regular days").join(' ').endsWith("11")); // March 1-15, 2024: 11 weekdays
}

TEST_F(ReportFrameTest, PrintAllPrintsTheOfficeOfThePickedEmployee) {
    TDataTodtr_Frames& f = openFrame();
    pickAndGenerate(f, "ram", "Ramos");
    pickAndGenerate(f, "san", "Santos");
    pickAndGenerate(f, "cru", "Cruz"); // another office
    pickAndGenerate(f, "ram", "Ramos");
    const QString printed = path("office.pdf");
    m_dialogs.onNextModal(printTo(printed));
    f.sSpeedButton2->findChild<QMenu*>()->findChild<QAction*>("printAllAction")->trigger();
    EXPECT_FALSE(f.sSpeedButton2->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_dialogs.shown().empty(); }, 20000));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    EXPECT_EQ(m_dialogs.texts(),
              QStringList({"2 DTR pages of Municipal Mayor's Office (March 01 - 31, 2024) were printed."}));
    EXPECT_TRUE(f.sSpeedButton2->isEnabled());
    EXPECT_EQ(pdfPageCount(printed), 2);
    EXPECT_TRUE(pdfText(printed, 1).contains("Jose Ramos"));
    EXPECT_TRUE(pdfText(printed, 2).contains("Juan R. Santos"));
}

} // namespace

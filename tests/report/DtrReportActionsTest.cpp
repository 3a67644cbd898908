// DTR Preview and Print all, as the DTR frame uses them (offscreen, with
// scripted dialogs).
#include "PdfText.h"
#include "ReportFixture.h"

#include "data/Background.h"
#include "dtr/report/DtrPreviewDialog.h"
#include "dtr/report/DtrReportActions.h"
#include "fixtures/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

class DtrReportActionsTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        setUnhandledErrorHandler([this](const QString& m) { m_errors << m; });
        m_button = new QPushButton("DTR Preview", &m_frame);
        addEmployee(1001, "Juan", "Reyes", "Santos");
        addEmployee(1009, "Jose", QString(), "Ramos");
        addEmployee(1006, "Rosa", "Cruz", "Bautista"); // not generated
        addEmployee(1018, "Nestor", "Manalo", "Cruz", QString(), 2);
        for (int id : {1001, 1009, 1018})
            generateMonth(id, QDate(2024, 4, 1));
    }
    void TearDown() override {
        setUnhandledErrorHandler({});
        ReportTest::TearDown();
    }
    // Lets the background work and its completion run.
    bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 30000); }

    // A print dialog that the user confirms with output to file.
    static std::function<int(QDialog&)> printTo(const QString& file) {
        return [file](QDialog& d) {
            auto* dialog = qobject_cast<QPrintDialog*>(&d);
            EXPECT_NE(dialog, nullptr);
            if (!dialog)
                return int(QDialog::Rejected);
            dialog->printer()->setOutputFileName(file);
            return int(QDialog::Accepted);
        };
    }

    ScriptedDialogs m_dialogs;
    QWidget m_frame;
    QPushButton* m_button = nullptr;
    QStringList m_errors;
};

TEST_F(DtrReportActionsTest, WithoutAPickedEmployeeOrMonthItSaysSo) {
    for (const DtrReportRequest& r :
         {DtrReportRequest{"", "2024-04-01", 0}, DtrReportRequest{"1001", "", 0}}) {
        m_dialogs.clear();
        DtrReportActions::preview(&m_frame, db(), m_button, r);
        DtrReportActions::printAll(&m_frame, db(), m_button, r);
        EXPECT_EQ(m_dialogs.texts(),
                  QStringList({"Please select an employee first.", "Please select an employee first."}));
        EXPECT_EQ(m_dialogs.shown().front().icon, MsgIcon::Information);
        EXPECT_TRUE(m_dialogs.modalsShown().isEmpty());
        EXPECT_TRUE(m_button->isEnabled());
    }
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(DtrReportActionsTest, AFailureShowsTheErrorAndEnablesTheButtonAgain) {
    DtrReportActions::preview(&m_frame, db(), m_button, {"4242", "2024-04-01", 0});
    EXPECT_FALSE(m_button->isEnabled()); // disabled while it works
    ASSERT_TRUE(waitFor([&] { return !m_errors.isEmpty(); }));
    EXPECT_EQ(m_errors, QStringList({"No employee has the id 4242."}));
    EXPECT_TRUE(m_button->isEnabled());
    EXPECT_TRUE(m_dialogs.modalsShown().isEmpty());

    m_errors.clear();
    DtrReportActions::printAll(&m_frame, db(), m_button, {"1006", "2024-05-01", 0});
    ASSERT_TRUE(waitFor([&] { return !m_errors.isEmpty(); }));
    EXPECT_EQ(m_errors,
              QStringList({"No employee of Municipal Mayor's Office has a DTR for May 01 - 31, 2024. "
                           "Generate the month first."}));
    EXPECT_TRUE(m_button->isEnabled());
}

TEST_F(DtrReportActionsTest, PreviewShowsTheMonthAndPrintsOrExportsIt) {
    const QString exported = path("exported.pdf"), printed = path("printed.pdf");
    bool previewed = false;
    m_dialogs.nextFile(path("exported")); // the suffix is added
    m_dialogs.onNextModal([&](QDialog& d) {
        auto* preview = qobject_cast<DtrPreviewDialog*>(&d);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return int(QDialog::Rejected);
        previewed = true;
        EXPECT_EQ(preview->windowTitle(), "DTR Preview - Juan R. Santos, April 01 - 15, 2024");
        EXPECT_EQ(preview->previewWidget()->pageCount(), 1);
        EXPECT_EQ(preview->suggestedFileName(), "DTR Juan R. Santos - April 2024.pdf");
        preview->findChild<QAction*>("exportAction")->trigger();
        m_dialogs.onNextModal(printTo(printed));
        preview->findChild<QAction*>("printAction")->trigger();
        return int(QDialog::Rejected);
    });
    DtrReportActions::preview(&m_frame, db(), m_button, {"1001", "2024-04-01", 1});
    EXPECT_FALSE(m_button->isEnabled());
    ASSERT_TRUE(waitFor([&] { return previewed; }));
    EXPECT_TRUE(m_button->isEnabled());
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    EXPECT_EQ(m_dialogs.modalsShown(), QStringList({"orv::DtrPreviewDialog", "QPrintDialog"}));
    EXPECT_EQ(m_dialogs.texts(), QStringList({"The DTR was saved to " + exported + "."}));

    for (const QString& pdf : {exported, printed}) {
        SCOPED_TRACE(pdf.toStdString());
        ASSERT_TRUE(QFile::exists(pdf));
        EXPECT_EQ(pdfPageCount(pdf), 1);
        const QSizeF size = pdfPageSize(pdf);
        EXPECT_NEAR(size.width(), 612, 0.5); // Letter, also where the printer would default to A4
        EXPECT_NEAR(size.height(), 792, 0.5);
        const QString text = pdfText(pdf);
        EXPECT_TRUE(text.contains("April 01 - 15, 2024"));
        EXPECT_EQ(text.count("Juan R. Santos"), 4);
    }
}

TEST_F(DtrReportActionsTest, PrintAllPrintsTheOfficeOfThePickedEmployee) {
    const QString printed = path("office.pdf");
    m_dialogs.onNextModal(printTo(printed));
    DtrReportActions::printAll(&m_frame, db(), m_button, {"1009", "2024-04-01", 0});
    EXPECT_FALSE(m_button->isEnabled());
    ASSERT_TRUE(waitFor([&] { return !m_dialogs.shown().empty(); }));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    EXPECT_EQ(m_dialogs.texts(),
              QStringList({"2 DTR pages of Municipal Mayor's Office (April 01 - 30, 2024) were printed.\n\n"
                           "No DTR has been generated for April 01 - 30, 2024, so there is no page for: "
                           "Bautista, Rosa C."}));
    EXPECT_TRUE(m_button->isEnabled());
    EXPECT_EQ(pdfPageCount(printed), 2);
    EXPECT_TRUE(pdfText(printed, 1).contains("Jose Ramos"));
    EXPECT_TRUE(pdfText(printed, 2).contains("Juan R. Santos"));
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_frame.findChild<QProgressDialog*>("printAllProgress"), nullptr);
}

TEST_F(DtrReportActionsTest, PrintAllStopsWhenThePrintDialogIsCancelled) {
    m_dialogs.onNextModal([](QDialog&) { return int(QDialog::Rejected); });
    DtrReportActions::printAll(&m_frame, db(), m_button, {"1009", "2024-04-01", 0});
    ASSERT_TRUE(waitFor([&] { return !m_dialogs.modalsShown().isEmpty(); }));
    ASSERT_TRUE(waitFor([&] { return m_button->isEnabled(); }));
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_TRUE(m_errors.isEmpty());
}

} // namespace

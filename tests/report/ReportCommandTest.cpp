// orvanta-cli report, as an administrator runs it.
#include "PdfText.h"
#include "ReportFixture.h"

#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

using namespace orv;
using namespace orv::test;

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

class ReportCommand : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        m_settings = writeSettingsFile(path(""), database().settings());
        addEmployee(1001, "Juan", "Reyes", "Santos");
        addEmployee(1009, "Jose", QString(), "Ramos");
        addEmployee(1006, "Rosa", "Cruz", "Bautista");
        generateMonth(1001, QDate(2024, 3, 1));
        generateMonth(1009, QDate(2024, 3, 1));
    }
    CliRun cli(QStringList args) {
        args.prepend(m_settings);
        args.prepend("--settings");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM"); // the command needs no display of its own
        p.setProcessEnvironment(env);
        p.start(binDir() + "/orvanta-cli", args);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QString m_settings;
};

TEST_F(ReportCommand, OneEmployeeOneMonth) {
    const QString pdf = path("santos.pdf");
    const CliRun r =
        cli({"report", "--employee", "1001", "--month", "2024-03", "--mode", "first", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Wrote the DTR of Juan R. Santos (March 01 - 15, 2024) to " + pdf + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(pdfText(pdf).contains("March 01 - 15, 2024"));
}

TEST_F(ReportCommand, AnOfficeOrAllOfficesOnePagePerEmployee) {
    const QString pdf = path("office.pdf");
    const CliRun r =
        cli({"report", "--month", "2024-03", "--office", "Municipal Mayor's Office", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Wrote 2 pages (Municipal Mayor's Office, March 01 - 31, 2024) to " + pdf + "\n");
    EXPECT_TRUE(r.err.contains("No DTR for March 01 - 31, 2024, no page: Bautista, Rosa C. (employee 1006)"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Printing 2 pages for March 01 - 31, 2024\n  1/2\n  2/2\n"))
        << r.err.toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(pdfText(pdf, 1).contains("Jose Ramos"));
    EXPECT_TRUE(pdfText(pdf, 2).contains("Juan R. Santos"));

    addEmployee(1018, "Nestor", "Manalo", "Cruz", QString(), 2);
    generateMonth(1018, QDate(2024, 3, 1));
    const CliRun all = cli({"report", "--month", "2024-03", "--all", "--pdf", pdf});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 3);
    EXPECT_TRUE(pdfText(pdf, 1).contains("Nestor M. Cruz"));
}

TEST_F(ReportCommand, BadRequestsSayWhatIsWrongAndWriteNothing) {
    const QString pdf = path("never.pdf");
    struct Case {
        QStringList args;
        QString error;
    };
    const Case cases[] = {
        {{"--month", "2024-03", "--pdf", pdf}, "Give one of --employee ID, --office NAME or --all."},
        {{"--employee", "1001", "--all", "--month", "2024-03", "--pdf", pdf},
         "Give one of --employee ID, --office NAME or --all."},
        {{"--employee", "1001", "--pdf", pdf}, "--month is required."},
        {{"--employee", "1001", "--month", "2024-13", "--pdf", pdf},
         "--month must be a month written yyyy-mm (for example 2024-03), not \"2024-13\"."},
        {{"--employee", "1001", "--month", "2024-03", "--mode", "weekly", "--pdf", pdf},
         "--mode must be monthly, first or second, not \"weekly\"."},
        {{"--employee", "1001", "--month", "2024-03"}, "--pdf is required."},
        {{"--employee", "77", "--month", "2024-03", "--pdf", pdf}, "No employee has the id 77."},
        {{"--office", "Nowhere", "--month", "2024-03", "--pdf", pdf}, "No office is named \"Nowhere\"."},
        {{"--all", "--month", "2023-01", "--pdf", pdf}, "No employee has a DTR for January 01 - 31, 2023."},
        {{"--employee", "1001", "--month", "2024-03", "--pdf", path("no/such/folder/x.pdf")},
         "Cannot write "},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(QStringList{"report"} + c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("orvanta-cli report: " + c.error)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ReportCommand, AMonthNeverGeneratedIsPrintedEmptyWithANote) {
    const QString pdf = path("bautista.pdf");
    const CliRun r = cli({"report", "--employee", "1006", "--month", "2024-03", "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "Note: the DTR of Rosa C. Bautista for March 01 - 31, 2024 has not been generated; its "
                     "rows are empty.\n");
    EXPECT_EQ(pdfPageCount(pdf), 1);
}

} // namespace

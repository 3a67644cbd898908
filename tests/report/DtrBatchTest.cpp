// Batch printing: one page per employee of an office (or of all offices), in
// name order, read with a few statements for the whole batch.
#include "PdfText.h"
#include "ReportFixture.h"

#include "data/Errors.h"
#include "dtr/report/DtrBatch.h"
#include "dtr/report/DtrReportLoader.h"
#include "dtr/report/Form48PdfFile.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

const QDate March(2024, 3, 1);

class DtrBatchTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        addEmployee(1001, "Juan", "Reyes", "Santos");
        addEmployee(1009, "Jose", QString(), "Ramos");
        addEmployee(1015, "Victor", QString(), "Aguilar", "Sr.");
        addEmployee(1006, "Rosa", "Cruz", "Bautista"); // office 1, month not generated
        addEmployee(1018, "Nestor", "Manalo", "Cruz", QString(), 2);
        for (int id : {1001, 1009, 1015, 1018})
            generateMonth(id, March);
        setDay(1009, QDate(2024, 3, 4), "att_time1 = '2024-03-04 08:05', display_dtr = ''");
        setDay(
            1015, QDate(2024, 3, 5),
            "att_time1 = NULL, att_time2 = NULL, att_time3 = NULL, att_time4 = NULL, display_dtr = 'Absent', "
            "absents = 1");
    }
    static std::string errorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const UserError& e) {
            return e.what();
        }
        return "no error";
    }
};

QStringList idsOf(const std::vector<DtrBatch::Employee>& list) {
    QStringList ids;
    for (const auto& e : list)
        ids << e.employeeId;
    return ids;
}

TEST_F(DtrBatchTest, OfficePagesInNameOrderAndTheUngeneratedNamed) {
    const DtrBatch batch(db(), March, DtrReportMode::Monthly, QString("mmo"));
    EXPECT_EQ(batch.officeName(), "Municipal Mayor's Office");
    EXPECT_EQ(idsOf(batch.employees()), QStringList({"1015", "1009", "1001"})); // Aguilar, Ramos, Santos
    ASSERT_EQ(batch.notGenerated().size(), 1u);
    EXPECT_EQ(batch.notGenerated().front().sortName, "Bautista, Rosa C.");

    const QString file = path("office.pdf");
    Form48PdfFile pdf(file);
    std::vector<std::pair<int, int>> progress;
    EXPECT_EQ(batch.print(pdf.document(),
                          [&](int done, int total) {
                              progress.emplace_back(done, total);
                              return true;
                          }),
              3);
    pdf.commit();
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(pdfPageCount(file), 3);
    const QStringList names = {"Victor Aguilar Sr.", "Jose Ramos", "Juan R. Santos"};
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(pdfLines(file, page, leftCopy()).filter(names.at(page - 1)).size(), 2) << page;
}

TEST_F(DtrBatchTest, EveryPageIsTheEmployeesOwnReport) {
    const DtrBatch batch(db(), March, DtrReportMode::FirstQuincena, std::nullopt);
    EXPECT_EQ(idsOf(batch.employees()), QStringList({"1015", "1018", "1009", "1001"}));
    for (int i = 0; i < batch.pageCount(); ++i) {
        const DtrReport page = batch.page(i);
        const DtrReport single =
            DtrReportLoader::load(db(), page.employeeId, March, DtrReportMode::FirstQuincena);
        SCOPED_TRACE(page.employeeId.toStdString());
        EXPECT_EQ(page.fullName, single.fullName);
        EXPECT_EQ(page.periodText, single.periodText);
        EXPECT_EQ(page.regularDays, single.regularDays);
        EXPECT_EQ(page.verifierName, single.verifierName);
        EXPECT_EQ(page.verifierPosition, single.verifierPosition);
        EXPECT_EQ(page.verifierDesignation, single.verifierDesignation);
        ASSERT_EQ(page.rows.size(), single.rows.size());
        for (size_t d = 0; d < page.rows.size(); ++d) {
            const auto &a = page.rows[d], &b = single.rows[d];
            EXPECT_TRUE(a.days == b.days && a.as1 == b.as1 && a.as2 == b.as2 && a.as3 == b.as3 &&
                        a.as4 == b.as4)
                << "day " << d + 1 << ": " << a.as1.toStdString() << " / " << b.as1.toStdString();
        }
    }
}

TEST_F(DtrBatchTest, AFewStatementsWhateverTheNumberOfEmployees) {
    for (int id = 3000; id < 3040; ++id) {
        addEmployee(id, "Emp", QString(), QStringLiteral("Person%1").arg(id));
        generateMonth(id, March);
    }
    db().resetRoundTrips();
    const DtrBatch batch(db(), March, DtrReportMode::Monthly, QString("Municipal Mayor's Office"));
    EXPECT_EQ(batch.pageCount(), 43);
    EXPECT_LE(db().roundTrips(), 3);
}

TEST_F(DtrBatchTest, UnknownOfficeOrNothingGeneratedIsAClearError) {
    EXPECT_EQ(
        errorOf([&] { DtrBatch(db(), March, DtrReportMode::Monthly, QString("Planning")); }),
        "No office is named \"Planning\". The offices are: Municipal Mayor's Office, Municipal Treasurer's "
        "Office.");
    EXPECT_EQ(
        errorOf([&] { DtrBatch(db(), QDate(2024, 4, 1), DtrReportMode::Monthly, QString("MTO")); }),
        "No employee of Municipal Treasurer's Office has a DTR for April 01 - 30, 2024. Generate the month "
        "first.");
}

} // namespace

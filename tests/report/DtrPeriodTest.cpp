#include "dtr/report/DtrPeriod.h"
#include "dtr/report/DtrReport.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(DtrPeriod, ModesPrintTheirDaysWithThePeriodText) {
    struct Case {
        QDate month;
        DtrReportMode mode;
        QDate first, last;
        QString text;
    };
    const Case cases[] = {
        {QDate(2024, 3, 1), DtrReportMode::Monthly, QDate(2024, 3, 1), QDate(2024, 3, 31),
         "March 01 - 31, 2024"},
        {QDate(2024, 3, 1), DtrReportMode::FirstQuincena, QDate(2024, 3, 1), QDate(2024, 3, 15),
         "March 01 - 15, 2024"},
        {QDate(2024, 3, 20), DtrReportMode::SecondQuincena, QDate(2024, 3, 16), QDate(2024, 3, 31),
         "March 16 - 31, 2024"},
        {QDate(2024, 2, 1), DtrReportMode::SecondQuincena, QDate(2024, 2, 16), QDate(2024, 2, 29),
         "February 16 - 29, 2024"},
        {QDate(2023, 2, 1), DtrReportMode::Monthly, QDate(2023, 2, 1), QDate(2023, 2, 28),
         "February 01 - 28, 2023"},
        {QDate(2024, 9, 1), DtrReportMode::Monthly, QDate(2024, 9, 1), QDate(2024, 9, 30),
         "September 01 - 30, 2024"},
    };
    for (const Case& c : cases) {
        const DtrPeriod p = DtrPeriod::of(c.month, c.mode);
        EXPECT_EQ(p.first, c.first) << c.text.toStdString();
        EXPECT_EQ(p.last, c.last) << c.text.toStdString();
        EXPECT_EQ(p.text(), c.text);
        EXPECT_EQ(p.monthFirst.day(), 1);
        EXPECT_EQ(p.monthLast, QDate(c.month.year(), c.month.month(), c.month.daysInMonth()));
    }
}

TEST(DtrPeriod, CommandLineWordsForModesAndMonths) {
    EXPECT_EQ(parseDtrReportMode("monthly"), DtrReportMode::Monthly);
    EXPECT_EQ(parseDtrReportMode("First"), DtrReportMode::FirstQuincena);
    EXPECT_EQ(parseDtrReportMode("second quincena"), DtrReportMode::SecondQuincena);
    EXPECT_FALSE(parseDtrReportMode("third"));
    EXPECT_EQ(dtrReportModeNames(), QStringList({"Monthly", "First Quincena", "Second Quincena"}));
    EXPECT_EQ(dtrReportModeAt(1), DtrReportMode::FirstQuincena);
    EXPECT_FALSE(dtrReportModeAt(-1));

    EXPECT_EQ(parseReportMonth("2024-03"), QDate(2024, 3, 1));
    EXPECT_EQ(parseReportMonth(" 2024-3 "), QDate(2024, 3, 1));
    EXPECT_EQ(parseReportMonth("2024-03-17"), QDate(2024, 3, 1));
    for (const char* bad : {"2024-13", "2024", "03/2024", "", "2024-00"})
        EXPECT_FALSE(parseReportMonth(bad).isValid()) << bad;
}

TEST(DtrFullName, BlankPartsAreLeftOut) {
    EXPECT_EQ(dtrFullName("Juan", "Reyes", "Santos", QString()), "Juan R. Santos");
    EXPECT_EQ(dtrFullName("Jose", QString(), "Ramos", QString()), "Jose Ramos");
    EXPECT_EQ(dtrFullName("Fe", "  ", "Domingo", ""), "Fe Domingo");
    EXPECT_EQ(dtrFullName(" Pedro ", QString(), "Garcia", "Jr."), "Pedro Garcia Jr.");
    EXPECT_EQ(dtrFullName("Eduardo", "pascual", "Navarro", "III"), "Eduardo p. Navarro III");
}

} // namespace

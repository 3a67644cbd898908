#include "DtrTestData.h"

#include "data/Errors.h"
#include "dtr/DtrGenerator.h"
#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

const DtrMonth March2024(QDate(2024, 3, 1)); // Friday the 1st; 31 days

class DtrGeneratorTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        addPerson(db(), 1001, "7", "Santos", "Juan");
    }
    void punch(const QString& stamp, const QString& mode) { addPunch(db(), 7, stamp, mode); }
    // A row that exists before the generation, with hand-set flags and times.
    void existing(const QString& day, const QString& columns, const QString& values) {
        database().exec(
            QStringLiteral("INSERT INTO data_dtr (employeeid, bioid, att_dates, works, %1) VALUES (1001, "
                           "7, '%2', 1, %3)")
                .arg(columns, day, values));
    }
    qint64 generate() { return DtrGenerator(db()).generateMonth(1001, 7, March2024); }
};

TEST_F(DtrGeneratorTest, FirstGenerationCreatesOneRowPerDayWithWeekends) {
    EXPECT_EQ(generate(), 31);
    const auto rows = dayRows(db(), 1001);
    ASSERT_EQ(rows.size(), 31u);
    for (const DayRow& r : rows) {
        const int dow = QDate::fromString(r.day, "yyyy-MM-dd").dayOfWeek();
        EXPECT_EQ(r.works, dow >= 6 ? 0 : 1) << r.day.toStdString();
        EXPECT_EQ(r.display, dow == 6 ? "Saturday" : dow == 7 ? "Sunday" : "") << r.day.toStdString();
        EXPECT_EQ(r.bioid, 7);
        EXPECT_EQ(r.tardy, 0);
    }
    // A 29-day February and a 30-day April as well.
    EXPECT_EQ(DtrGenerator(db()).generateMonth(1001, 7, DtrMonth(QDate(2024, 2, 1))), 29);
    EXPECT_EQ(DtrGenerator(db()).generateMonth(1001, 7, DtrMonth(QDate(2023, 4, 17))), 30);
}

TEST_F(DtrGeneratorTest, PunchesBecomeTimesAndMinutesByTheRules) {
    struct Case {
        QString day;
        std::vector<std::pair<QString, QString>> punches; // time, mode
        QString t1, t2, t3, t4;
        int tardy;
        const char* why;
    };
    const std::vector<Case> cases = {
        {"2024-03-04",
         {{"08:10:00", "check-in"}, {"08:20:00", "check-in"}},
         "08:20:00",
         "-",
         "-",
         "-",
         30,
         "the last check-in is kept; both count"},
        {"2024-03-05", {{"08:00:59", "check-in"}}, "08:00:59", "-", "-", "-", 0, "seconds are dropped"},
        {"2024-03-06", {{"08:01:00", "check-in"}}, "08:01:00", "-", "-", "-", 1, "one minute late"},
        {"2024-03-07", {{"10:59:59", "check-in"}}, "10:59:59", "-", "-", "-", 179, "last AM-IN second"},
        {"2024-03-08", {{"11:00:00", "check-in"}}, "-", "-", "11:00:00", "-", 0, "11:00 is PM-IN"},
        {"2024-03-11", {{"11:45:00", "check-out"}}, "-", "11:45:00", "-", "-", 15, "left 15 minutes early"},
        {"2024-03-12", {{"12:30:00", "check-out"}}, "-", "12:30:00", "-", "-", 0, "after noon"},
        {"2024-03-13", {{"13:00:00", "check-out"}}, "-", "-", "-", "13:00:00", 240, "13:00 is PM-OUT"},
        {"2024-03-14", {{"18:30:00", "check-out"}}, "-", "-", "-", "18:30:00", 0, "late check-out"},
        {"2024-03-15",
         {{"16:00:00", "check-in"},
          {"19:00:00", "check-out"},
          {"09:00:00", "break-out"},
          {"07:00:00", "overtime-in"}},
         "-",
         "-",
         "-",
         "-",
         0,
         "past the limits or other modes"},
        {"2024-03-18", {{"08:05:00", "CHECK-IN"}}, "08:05:00", "-", "-", "-", 5, "mode in capitals"},
        {"2024-03-19",
         {{"07:55:00", "Check-In"},
          {"12:00:00", "check-out"},
          {"12:55:00", "check-in"},
          {"17:00:00", "Check-out"}},
         "07:55:00",
         "12:00:00",
         "12:55:00",
         "17:00:00",
         0,
         "a full day on time"},
        {"2024-03-20",
         {{"13:30:59", "check-in"}, {"16:50:00", "check-out"}},
         "-",
         "-",
         "13:30:59",
         "16:50:00",
         40,
         "afternoon late in and early out"},
    };
    for (const Case& c : cases)
        for (const auto& [time, mode] : c.punches)
            punch(c.day + " " + time, mode);
    punch("2024-03-31 23:59:59", "check-in");             // a Sunday night punch: no mode
    punch("2024-04-01 08:30:00", "check-in");             // next month: not this month's business
    addPunch(db(), 8, "2024-03-04 07:00:00", "check-in"); // someone else's

    generate();
    for (const Case& c : cases) {
        const DayRow r = dayRow(db(), 1001, c.day);
        EXPECT_EQ(QStringList({r.time1, r.time2, r.time3, r.time4}), QStringList({c.t1, c.t2, c.t3, c.t4}))
            << c.day.toStdString() << ": " << c.why;
        EXPECT_EQ(r.tardy, c.tardy) << c.day.toStdString() << ": " << c.why;
    }
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-31").time1, "-");
    EXPECT_EQ(dayRows(db(), 1001).size(), 31u);
}

TEST_F(DtrGeneratorTest, MarksAndHolidaysDecideTheShownText) {
    addHoliday(db(), "2024-03-21", "Regular Holiday"); // Thursday
    addHoliday(db(), "2024-03-24", "Special Holiday"); // Sunday
    addHoliday(db(), "2024-03-29", "absent");          // owned by the mark: cleared
    existing("2024-03-22", "absents, att_off", "1, 1");
    existing("2024-03-25", "att_off", "1");
    existing("2024-03-21", "absents", "1"); // absent on a holiday
    existing("2024-03-26", "add_tardy, display_dtr", "15, 'Absent'");
    existing("2024-03-27", "add_tardy, att_time1, att_time4, tardy",
             "7, '2024-03-27 08:03:00', '2024-03-27 17:00:00', 99");
    database().exec(
        "INSERT INTO data_dtr (employeeid, bioid, att_dates, works, display_dtr) VALUES (1001, 7, "
        "'2024-03-28', 0, '--:--')"); // works stays as stored
    punch("2024-03-26 08:10:00", "check-in");

    generate();
    const auto row = [&](const char* day) { return dayRow(db(), 1001, day); };
    EXPECT_EQ(row("2024-03-22").display, "Absent");
    EXPECT_EQ(row("2024-03-25").display, "--:--");
    EXPECT_EQ(row("2024-03-21").display, "Absent");
    EXPECT_EQ(row("2024-03-21").holidays, 1);
    EXPECT_EQ(row("2024-03-24").display, "Sunday");
    EXPECT_EQ(row("2024-03-24").holidays, 1);
    EXPECT_EQ(row("2024-03-29").display, "");
    EXPECT_EQ(row("2024-03-29").holidays, 1);
    EXPECT_EQ(row("2024-03-26").display, "");
    EXPECT_EQ(row("2024-03-26").tardy, 25); // 10 computed + 15 added
    const DayRow kept = row("2024-03-27");
    EXPECT_EQ(kept.time1, "08:03:00"); // no punches: stored times stay
    EXPECT_EQ(kept.time4, "17:00:00");
    EXPECT_EQ(kept.tardy, 7); // only the added minutes
    EXPECT_EQ(row("2024-03-28").works, 0);
    EXPECT_EQ(row("2024-03-28").display, "");
    EXPECT_EQ(row("2024-03-20").holidays, 0);
}

TEST_F(DtrGeneratorTest, RemovedHolidayIsClearedAndASecondRunChangesNothing) {
    addHoliday(db(), "2024-03-28", "Town Fiesta");
    punch("2024-03-04 08:10:00", "check-in");
    generate();
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-28").display, "Town Fiesta");
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-28").holidays, 1);
    const QStringList once = wholeTable(db());
    generate();
    EXPECT_EQ(wholeTable(db()), once);

    db().execute("DELETE FROM holidays");
    generate();
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-28").display, "");
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-28").holidays, 0);
}

TEST_F(DtrGeneratorTest, LockedDaysAreRecomputedButKeepTheirFlags) {
    existing("2024-03-04", "att_lock, absents", "1, 1");
    punch("2024-03-05 08:15:00", "check-in");
    database().exec("INSERT INTO data_dtr (employeeid, bioid, att_dates, works, att_lock) VALUES (1001, 7, "
                    "'2024-03-05', 1, 1)");
    generate();
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-04").display, "Absent");
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-04").lock, 1);
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-05").tardy, 15);
}

TEST_F(DtrGeneratorTest, OneEmployeeMonthIsOneStatementInOneTransaction) {
    for (int d = 1; d <= 31; ++d)
        punch(QStringLiteral("2024-03-%1 08:0%2:00").arg(d, 2, 10, QLatin1Char('0')).arg(d % 10), "check-in");
    db().resetRoundTrips();
    generate();
    EXPECT_EQ(db().roundTrips(), 3); // begin, the statement, commit
    db().resetRoundTrips();
    generate();
    EXPECT_EQ(db().roundTrips(), 3);
}

TEST_F(DtrGeneratorTest, AFailedMonthLeavesNothingBehind) {
    existing("2024-03-05", "add_tardy", "2147483600");
    punch("2024-03-05 10:00:00", "check-in"); // 120 minutes + the added ones overflow the column
    punch("2024-03-04 08:30:00", "check-in");
    const QStringList before = wholeTable(db());
    EXPECT_ANY_THROW(generate());
    EXPECT_EQ(wholeTable(db()), before);
}

class DtrBatchTest : public DatabaseTest {};

TEST_F(DtrBatchTest, AnOfficeOrEveryoneWithPunchesInOneRun) {
    database().exec(
        "INSERT INTO offices (officeid, off_name, off_short) VALUES (1, 'Mayor''s Office', 'MMO'), "
        "(2, 'Treasury', 'MTO')");
    addPerson(db(), 1001, "1", "Santos", "Juan", {}, {}, 1);
    addPerson(db(), 1002, "2", "Reyes", "Ana", {}, {}, 1);
    addPerson(db(), 1003, "3", "Cruz", "Nestor", {}, {}, 2);
    addPerson(db(), 1004, "4", "Lim", "Jo", {}, {}, 2);       // no punches in March
    addPerson(db(), 0, "5", "Unlinked", "Pat", {}, {}, 2);    // no employee id
    addPerson(db(), 1003, "33", "Cruz", "Nestor", {}, {}, 2); // re-enrolled under a second bio ID
    for (int bio : {1, 2, 3, 5, 33})
        addPunch(db(), bio, QStringLiteral("2024-03-04 08:%1:00").arg(bio, 2, 10, QLatin1Char('0')),
                 "check-in");
    addPunch(db(), 33, "2024-03-05 13:10:00", "check-in");
    addPunch(db(), 4, "2024-04-01 08:00:00", "check-in");

    DtrGenerator generator(db());
    EXPECT_THROW(generator.employeesWithPunches(March2024, QString("Nowhere")), UserError);
    const auto mayor = generator.employeesWithPunches(March2024, QString("mmo"));
    ASSERT_EQ(mayor.size(), 2u);
    EXPECT_EQ(mayor[0].employeeid, 1001);
    EXPECT_EQ(mayor[0].name, "Santos, Juan");

    QStringList notes;
    const auto all = generator.employeesWithPunches(March2024, std::nullopt, &notes);
    ASSERT_EQ(all.size(), 4u); // 1001, 1002, 1003 twice
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("Unlinked, Pat (bio ID 5)")) << notes[0].toStdString();

    std::vector<std::pair<int, int>> progress;
    db().resetRoundTrips();
    const DtrBatchResult result = generator.generateMany(
        all, March2024, [&](int done, int total) { progress.emplace_back(done, total); });
    EXPECT_EQ(result.employees, 4);
    EXPECT_EQ(result.days, 4 * 31);
    EXPECT_EQ(db().roundTrips(), 6); // two rounds (1003 has two bio IDs), one statement each
    EXPECT_EQ(progress.back(), std::make_pair(4, 4));
    ASSERT_EQ(result.notes.size(), 1);
    EXPECT_TRUE(result.notes[0].contains("1003")) << result.notes[0].toStdString();
    EXPECT_EQ(dayRow(db(), 1001, "2024-03-04").tardy, 1);
    EXPECT_EQ(dayRow(db(), 1002, "2024-03-04").tardy, 2);
    // Both bio IDs of 1003 fed the month: the 3rd's morning and the 33rd's afternoon.
    EXPECT_EQ(dayRow(db(), 1003, "2024-03-04").time1, "08:33:00");
    EXPECT_EQ(dayRow(db(), 1003, "2024-03-05").time3, "13:10:00");
    EXPECT_TRUE(dayRows(db(), 1004).empty());

    const auto profiles = generator.employeeProfiles(1003);
    ASSERT_EQ(profiles.size(), 2u);
    EXPECT_EQ(profiles[1].bioid, 33);
    EXPECT_THROW(generator.employeeProfiles(4242), UserError);
}

} // namespace

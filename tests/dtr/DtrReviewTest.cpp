#include "DtrTestData.h"

#include "data/Errors.h"
#include "dtr/AuditLog.h"
#include "dtr/DtrGenerator.h"
#include "dtr/DtrReview.h"
#include "dtr/HolidayCalendar.h"
#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

using namespace orv;
using namespace orv::test;

namespace {

const DtrMonth March2024(QDate(2024, 3, 1));

class DtrReviewTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        m_review = std::make_unique<DtrReview>(db(), "3");
        database().exec("INSERT INTO end_user (end_userid, usernames) VALUES (3, 'clerk')");
        addPerson(db(), 1001, "7", "Santos", "Juan");
        addPunch(db(), 7, "2024-03-05 08:10:00", "check-in");  // Tuesday: a morning arrival
        addPunch(db(), 7, "2024-03-05 11:50:00", "check-in");  // a check-out typed as check-in
        addPunch(db(), 7, "2024-03-05 16:30:00", "check-out"); // early afternoon departure
        addHoliday(db(), "2024-03-08", "Special Holiday");     // Friday
        generate();
    }
    void generate() { DtrGenerator(db()).generateMonth(1001, 7, March2024); }
    DayRow day(int d) {
        return dayRow(db(), 1001, QStringLiteral("2024-03-%1").arg(d, 2, 10, QLatin1Char('0')));
    }
    static QDate march(int d) { return QDate(2024, 3, d); }
    QStringList audit() {
        QStringList out;
        for (const AuditLog::Entry& e : AuditLog::forEmployeeMonth(db(), 1001, March2024))
            out << QStringLiteral("%1 %2 %3 %4>%5")
                       .arg(e.username, e.day.toString("dd"), e.action, e.oldValue, e.newValue);
        return out;
    }
    DtrReview& review() { return *m_review; }

private:
    std::unique_ptr<DtrReview> m_review;
};

TEST_F(DtrReviewTest, MarksToggleOnlyOnEmptyDaysWithNoOtherText) {
    struct Case {
        DayMark mark;
        int day;
        bool toggles;
        const char* why;
    };
    const Case cases[] = {
        {DayMark::Absent, 6, true, "a plain weekday"},    {DayMark::Absent, 9, false, "a Saturday"},
        {DayMark::Absent, 8, false, "a holiday"},         {DayMark::Absent, 5, false, "a day with times"},
        {DayMark::Off, 7, true, "a plain weekday"},       {DayMark::Absent, 7, false, "a day showing --:--"},
        {DayMark::Off, 6, false, "a day showing Absent"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(review().toggleMark(c.mark, 1001, march(c.day)), c.toggles) << c.why;
        generate();
    }
    EXPECT_EQ(day(6).display, "Absent");
    EXPECT_EQ(day(7).display, "--:--");
    EXPECT_EQ(day(9).absents, 0);
    // Pressing again removes the mark.
    EXPECT_TRUE(review().toggleMark(DayMark::Absent, 1001, march(6)));
    generate();
    EXPECT_EQ(day(6).display, "");
    EXPECT_EQ(day(6).absents, 0);
    EXPECT_EQ(audit(), (QStringList{"clerk 06 absent 0>1", "clerk 07 off 0>1", "clerk 06 absent 1>0"}));
}

TEST_F(DtrReviewTest, LockedOrMissingDaysAreNeverChanged) {
    database().exec("UPDATE data_dtr SET att_lock = 1 WHERE att_dates = '2024-03-06'");
    EXPECT_FALSE(review().toggleMark(DayMark::Absent, 1001, march(6)));
    EXPECT_FALSE(review().toggleMark(DayMark::Off, 1001, march(6)));
    EXPECT_FALSE(review().setAddTardy(1001, march(6), 15));
    EXPECT_FALSE(review().setAddTardy(1001, QDate(2024, 4, 1), 15)); // not generated
    EXPECT_EQ(day(6).absents + day(6).off + day(6).addTardy, 0);
    EXPECT_TRUE(audit().isEmpty());
}

TEST_F(DtrReviewTest, AddedMinutesReplaceTheEarlierValue) {
    ASSERT_EQ(day(5).tardy, 10 + 30); // 08:10 arrival, 16:30 departure
    EXPECT_TRUE(review().setAddTardy(1001, march(5), 15));
    generate();
    EXPECT_EQ(day(5).tardy, 55);
    EXPECT_TRUE(review().setAddTardy(1001, march(5), 5));
    generate();
    EXPECT_EQ(day(5).tardy, 45);
    EXPECT_THROW(review().setAddTardy(1001, march(5), -1), UserError);
    EXPECT_EQ(audit(), (QStringList{"clerk 05 add tardy 0>15", "clerk 05 add tardy 15>5"}));
}

TEST_F(DtrReviewTest, RelabelClearsTheDaysTimesAndTheNextGenerationRefillsThem) {
    // 11:50 as check-in is PM-IN; re-labelled as check-out it becomes AM-OUT.
    ASSERT_EQ(day(5).time3, "11:50:00");
    const QueryResult punch =
        db().query("SELECT att_readid FROM attendance_read WHERE att_date = '2024-03-05 11:50'");
    const qint64 id = punch.toLongLong(0, "att_readid");
    database().exec("UPDATE data_dtr SET att_time3 = '2024-03-05 13:00:00' WHERE att_dates = '2024-03-02'");
    EXPECT_TRUE(review().relabelPunch(1001, march(5), id, "check-out"));
    EXPECT_EQ(QStringList({day(5).time1, day(5).time2, day(5).time3, day(5).time4}),
              QStringList({"-", "-", "-", "-"}));
    generate();
    EXPECT_EQ(QStringList({day(5).time1, day(5).time2, day(5).time3, day(5).time4}),
              QStringList({"08:10:00", "11:50:00", "-", "16:30:00"}));
    EXPECT_EQ(day(5).tardy, 10 + 10 + 30);
    EXPECT_EQ(day(2).time3, "13:00:00"); // other days untouched
    EXPECT_THROW(review().relabelPunch(1001, march(5), id, "break-out"), UserError);
    EXPECT_FALSE(review().relabelPunch(1001, march(5), id + 1000, "check-in"));
    EXPECT_EQ(audit(), (QStringList{"clerk 05 punch re-label check-in>check-out"}));
}

TEST_F(DtrReviewTest, VerifierIsKeptForEveryProfileOfTheEmployee) {
    addPerson(db(), 1001, "70", "Santos", "Juan");
    EXPECT_EQ(review().verifier(1001), DtrVerifier());
    const DtrVerifier v{"ROBERTO M. VILLANUEVA", "Municipal Mayor", "Head of Office"};
    review().saveVerifier(1001, v);
    EXPECT_EQ(review().verifier(1001), v);
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM bioemp_profile WHERE hposition = 'Municipal Mayor'")
                  .toInt(0, "n"),
              2);
    review().saveVerifier(1001, v); // unchanged: no second entry
    EXPECT_THROW(review().saveVerifier(4242, v), UserError);
    const auto entries = AuditLog::forEmployeeMonth(db(), 1001, DtrMonth(QDate::currentDate()));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].action, "verifier");
    EXPECT_EQ(entries[0].newValue, "ROBERTO M. VILLANUEVA | Municipal Mayor | Head of Office");
}

TEST_F(DtrReviewTest, YearsWithPunchesAreListedOnce) {
    addPunch(db(), 7, "2022-12-31 23:59:59", "check-in");
    addPunch(db(), 9, "2025-01-01 00:00:00", "check-out");
    EXPECT_EQ(review().yearsWithPunches(), (QStringList{"2022", "2024", "2025"}));
}

TEST_F(DtrReviewTest, HolidayCalendarRefusesASecondHolidayOnADate) {
    HolidayCalendar calendar(db(), "3");
    EXPECT_EQ(calendar.add(march(25), "  Town Fiesta "), HolidayCalendar::AddResult::Added);
    EXPECT_EQ(calendar.add(march(25), HolidayCalendar::Regular), HolidayCalendar::AddResult::DateTaken);
    EXPECT_THROW(calendar.add(march(26), "   "), UserError);
    EXPECT_THROW(calendar.add(QDate(), "Regular Holiday"), UserError);
    EXPECT_THROW(calendar.add(march(26), QString(51, 'x')), UserError);
    const QueryResult stored =
        db().query("SELECT holidaysid, hol_descrip FROM holidays WHERE hol_date = '2024-03-25'");
    ASSERT_EQ(stored.rowCount(), 1);
    EXPECT_EQ(stored.text(0, "hol_descrip"), "Town Fiesta");
    generate();
    EXPECT_EQ(day(25).display, "Town Fiesta");

    EXPECT_TRUE(calendar.remove(stored.toLongLong(0, "holidaysid")));
    EXPECT_FALSE(calendar.remove(stored.toLongLong(0, "holidaysid")));
    generate();
    EXPECT_EQ(day(25).display, "");
    EXPECT_EQ(audit(),
              (QStringList{"clerk 25 holiday added >Town Fiesta", "clerk 25 holiday deleted Town Fiesta>"}));
}

TEST_F(DtrReviewTest, BeforeALoginTheTrailHasNoUser) {
    DtrReview anonymous(db(), QString());
    EXPECT_TRUE(anonymous.toggleMark(DayMark::Off, 1001, march(6)));
    const auto entries = AuditLog::forEmployeeMonth(db(), 1001, March2024);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].userid.isEmpty());
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM audit_log WHERE end_userid IS NULL").toInt(0, "n"), 1);
}

} // namespace

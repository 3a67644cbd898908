// The set-based generator must leave exactly the rows that the day-by-day,
// punch-by-punch statement sequence leaves, on copies of the same random month.
#include "ReferenceGeneration.h"

#include "dtr/DtrGenerator.h"
#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <set>

using namespace orv;
using namespace orv::test;

namespace {

QString quoted(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    QString s = v.toString();
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

// Builds the SQL of a nasty month: boundary times, modes in any letter case,
// several punches of a mode, holidays on weekdays and weekends (and with
// texts that look like the marks), stale rows with times and flags.
class NastyMonth {
public:
    NastyMonth(quint32 seed, const DtrMonth& month, int people)
        : m_rng(seed), m_month(month), m_people(people) {}

    std::vector<DtrEmployee> employees() const {
        std::vector<DtrEmployee> out;
        for (int i = 1; i <= m_people; ++i)
            out.push_back({1000 + i, i, {}});
        out.push_back({1000 + m_people + 1, 3, {}}); // shares a bio ID with someone else
        return out;
    }

    QString setup() {
        QStringList sql;
        for (const DtrEmployee& e : employees())
            sql << QStringLiteral(
                       "INSERT INTO bioemp_profile (employeeid, bioid, lname, fname) VALUES (%1, '%2', "
                       "'L%1', 'F%1');")
                       .arg(e.employeeid)
                       .arg(e.bioid);
        // Punches from the day before the month to the day after it.
        std::set<std::pair<int, QString>> used;
        for (int bio = 1; bio <= m_people + 1; ++bio) {
            for (QDate d = m_month.first().addDays(-1); d <= m_month.last().addDays(1); d = d.addDays(1)) {
                const int count = pick({0, 0, 1, 2, 3, 4, 4, 4, 5, 6, 8});
                for (int k = 0; k < count; ++k) {
                    const QString stamp = d.toString("yyyy-MM-dd") + " " + randomTime();
                    if (!used.insert({bio, stamp}).second)
                        continue;
                    sql << QStringLiteral(
                               "INSERT INTO attendance_read (bioid, att_date, check_mode) VALUES (%1, "
                               "'%2', %3);")
                               .arg(bio)
                               .arg(stamp, quoted(randomMode()));
                }
            }
        }
        for (const QDate& d : randomDays(5))
            sql << QStringLiteral(
                       "INSERT INTO holidays (hol_date, hol_descrip) VALUES ('%1', %2) ON CONFLICT DO "
                       "NOTHING;")
                       .arg(d.toString("yyyy-MM-dd"), quoted(randomHolidayText()));
        // Rows from earlier runs and hand edits, in the month and next to it.
        for (const DtrEmployee& e : employees()) {
            if (chance(30))
                continue;
            for (QDate d = m_month.first().addDays(-2); d <= m_month.last().addDays(2); d = d.addDays(1)) {
                if (chance(45))
                    continue;
                sql << QStringLiteral(
                           "INSERT INTO data_dtr (employeeid, bioid, att_dates, display_dtr, works, "
                           "att_time1, att_time2, att_time3, att_time4, tardy, add_tardy, holidays, "
                           "absents, att_off, att_lock) VALUES (%1, %2, '%3', %4, %5, %6, %7, %8, %9, "
                           "%10, %11, %12, %13, %14, %15);")
                           .arg(e.employeeid)
                           .arg(chance(80) ? e.bioid : e.bioid + 500)
                           .arg(d.toString("yyyy-MM-dd"),
                                quoted(pickText({QVariant(), "", "Absent", "--:--", "Sunday", "Saturday",
                                                 "Regular Holiday", "junk", "ABSENT"})),
                                QString::number(pick({0, 1, 1})), storedTime(d), storedTime(d), storedTime(d),
                                storedTime(d), QString::number(pick({0, 0, 12, 240})))
                           .arg(pick({0, 0, 0, 0, 5, 15, 30, 120}))
                           .arg(pick({0, 0, 0, 1}))
                           .arg(pick({0, 0, 0, 0, 1}))
                           .arg(pick({0, 0, 0, 0, 1}))
                           .arg(pick({0, 0, 0, 0, 0, 1}));
            }
        }
        return sql.join(QLatin1Char('\n'));
    }

    // What a clerk does between two generations: flags, relabels, calendar.
    QString adjustments() {
        QStringList sql;
        for (const DtrEmployee& e : employees()) {
            for (const QDate& d : randomDays(3))
                sql << QStringLiteral(
                           "UPDATE data_dtr SET %1 = %2 WHERE employeeid = %3 AND att_dates = '%4';")
                           .arg(pickText({"absents", "att_off", "add_tardy", "add_tardy"}).toString())
                           .arg(pick({0, 1, 1, 25}))
                           .arg(e.employeeid)
                           .arg(d.toString("yyyy-MM-dd"));
            if (chance(40)) {
                const QDate d = randomDays(1).front();
                sql << QStringLiteral(
                           "UPDATE data_dtr SET att_time1 = NULL, att_time2 = NULL, att_time3 = NULL, "
                           "att_time4 = NULL WHERE employeeid = %1 AND att_dates = '%2';")
                           .arg(e.employeeid)
                           .arg(d.toString("yyyy-MM-dd"));
            }
        }
        sql << QStringLiteral(
                   "UPDATE attendance_read SET check_mode = CASE WHEN check_mode = 'check-in' THEN "
                   "'check-out' ELSE 'check-in' END WHERE att_readid %% %1 = 0;")
                   .arg(pick({3, 5, 7}))
                   .replace(QStringLiteral("%%"), QStringLiteral("%"));
        sql << QStringLiteral(
            "DELETE FROM holidays WHERE holidaysid IN (SELECT holidaysid FROM holidays ORDER BY "
            "hol_date LIMIT 2);");
        for (const QDate& d : randomDays(2))
            sql << QStringLiteral(
                       "INSERT INTO holidays (hol_date, hol_descrip) VALUES ('%1', %2) ON CONFLICT DO "
                       "NOTHING;")
                       .arg(d.toString("yyyy-MM-dd"), quoted(randomHolidayText()));
        return sql.join(QLatin1Char('\n'));
    }

private:
    int pick(std::initializer_list<int> values) {
        return *(values.begin() + m_rng.bounded(static_cast<int>(values.size())));
    }
    QVariant pickText(std::initializer_list<QVariant> values) {
        return *(values.begin() + m_rng.bounded(static_cast<int>(values.size())));
    }
    bool chance(int percent) { return m_rng.bounded(100) < percent; }

    QString randomTime() {
        static const QStringList edges = {
            "07:59:59", "08:00:00", "08:00:59", "08:01:00", "10:59:59", "11:00:00", "11:59:59", "12:00:00",
            "12:00:59", "12:59:59", "13:00:00", "13:00:59", "13:01:00", "15:59:59", "16:00:00", "16:59:59",
            "17:00:00", "17:00:01", "18:59:59", "19:00:00", "00:00:00", "23:59:59", "01:30:00", "06:45:30"};
        if (chance(55))
            return edges.at(m_rng.bounded(static_cast<int>(edges.size())));
        const int second = m_rng.bounded(6 * 3600, 20 * 3600);
        return QTime(0, 0).addSecs(second).toString("HH:mm:ss");
    }
    QVariant randomMode() {
        return pickText({"check-in", "check-in", "check-in", "check-out", "check-out", "check-out",
                         "CHECK-IN", "Check-Out", "cHeCk-In", "break-out", "break-in", "overtime-in",
                         "overtime-out", QVariant(), "check-in ", "checkin", "check_in"});
    }
    QVariant randomHolidayText() {
        return pickText({"Regular Holiday", "Special Holiday", "Town Fiesta", "--:--", "ABSENT", "absent",
                         "Saint Peter's Day", "", QVariant(), "Araw ng Kagitingan", "Saturday"});
    }
    QString storedTime(const QDate& d) {
        if (chance(65))
            return QStringLiteral("NULL");
        return QStringLiteral("'%1 %2'").arg(d.toString("yyyy-MM-dd"), randomTime());
    }
    std::vector<QDate> randomDays(int n) {
        std::vector<QDate> out;
        for (int i = 0; i < n; ++i)
            out.push_back(m_month.first().addDays(m_rng.bounded(m_month.last().day())));
        return out;
    }

    QRandomGenerator m_rng;
    DtrMonth m_month;
    int m_people;
};

struct Copy {
    TestDatabase database;
    DataCon db{database.settings()};
};

void expectSameTables(DataCon& reference, DataCon& generated, const std::string& where) {
    const QStringList a = wholeTable(reference);
    const QStringList b = wholeTable(generated);
    ASSERT_EQ(a.size(), b.size()) << where;
    int shown = 0;
    for (qsizetype i = 0; i < a.size() && shown < 10; ++i)
        if (a[i] != b[i]) {
            ADD_FAILURE() << where << "\n  reference: " << a[i].toStdString()
                          << "\n  generator: " << b[i].toStdString();
            ++shown;
        }
}

struct Round {
    quint32 seed;
    DtrMonth month;
};

void PrintTo(const Round& r, std::ostream* os) {
    *os << r.month.key().toStdString() << "-seed" << r.seed;
}

class DtrEquivalence : public ::testing::TestWithParam<Round> {};

TEST_P(DtrEquivalence, GeneratorLeavesTheRowsOfTheStatementSequence) {
    const Round round = GetParam();
    const std::string where = "seed " + std::to_string(round.seed) + ", " + round.month.key().toStdString();
    NastyMonth month(round.seed, round.month, 20);
    const QString setup = month.setup();
    Copy reference, generated;
    reference.database.exec(setup);
    generated.database.exec(setup);

    // First pass: the batch path for the generator.
    for (const DtrEmployee& e : month.employees())
        referenceGenerate(reference.db, e.employeeid, e.bioid, round.month.first());
    DtrGenerator(generated.db).generateMany(month.employees(), round.month);
    expectSameTables(reference.db, generated.db, where + ", first pass");

    // Adjustments, then the one-employee path.
    const QString adjust = month.adjustments();
    reference.database.exec(adjust);
    generated.database.exec(adjust);
    for (const DtrEmployee& e : month.employees()) {
        referenceGenerate(reference.db, e.employeeid, e.bioid, round.month.first());
        DtrGenerator(generated.db).generateMonth(e, round.month);
    }
    expectSameTables(reference.db, generated.db, where + ", after adjustments");
}

INSTANTIATE_TEST_SUITE_P(
    Months, DtrEquivalence,
    ::testing::Values(Round{20240301, DtrMonth(QDate(2024, 3, 1))},   // Friday the 1st, 31 days
                      Round{20240201, DtrMonth(QDate(2024, 2, 1))},   // leap February
                      Round{20230401, DtrMonth(QDate(2023, 4, 1))},   // 30 days, Saturday the 1st
                      Round{20241201, DtrMonth(QDate(2024, 12, 1))}), // Sunday the 1st
    [](const auto& info) { return info.param.month.key().remove('-').toStdString(); });

} // namespace

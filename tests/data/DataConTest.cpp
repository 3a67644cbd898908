#include "data/DataCon.h"
#include "data/Errors.h"

#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace orv;
using orv::test::DatabaseTest;

namespace {

class DataConTest : public DatabaseTest {
protected:
    // Ends the program's server process from outside, as a restarted server
    // or a dropped network would.
    void killBackend() {
        const int pid = db().backendPid();
        database().exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
    }
};

TEST_F(DataConTest, ConnectsWithTheFixedValuesAndSortingOff) {
    const QueryResult r = db().query("SELECT current_user AS u, current_setting('application_name') AS app, "
                                     "current_setting('enable_sort') AS s, "
                                     "current_setting('jit') AS jit");
    EXPECT_EQ(r.text(0, "u"), "postgres");
    EXPECT_EQ(r.text(0, "app"), "Orvanta");
    EXPECT_EQ(r.text(0, "s"), "off");
    EXPECT_EQ(r.text(0, "jit"), "off");
}

TEST_F(DataConTest, ValuesAreBoundNotSpliced) {
    db().execute(
        "INSERT INTO holidays(hol_date, hol_descrip) VALUES (:d, :t)",
        SqlParams().bind("d", QDate(2024, 6, 12)).bind("t", "Independence'; DROP TABLE holidays; --"));
    const QueryResult r = db().query("SELECT hol_descrip, holidaysid FROM holidays WHERE hol_date = $1",
                                     SqlParams().add(QDate(2024, 6, 12)));
    ASSERT_EQ(r.rowCount(), 1);
    EXPECT_EQ(r.text(0, "HOL_DESCRIP"), "Independence'; DROP TABLE holidays; --");
    EXPECT_GT(r.toLongLong(0, "holidaysid"), 0);
    EXPECT_THROW(r.text(0, "nosuchcolumn"), std::out_of_range);
}

TEST_F(DataConTest, TransactionIsAllOrNothing) {
    EXPECT_THROW(db().transaction([](Transaction& t) {
        t.execute("INSERT INTO attendance_read(bioid, att_date, check_mode) VALUES (1, '2024-03-07 "
                  "09:05:02', 'check-in')");
        t.execute("INSERT INTO attendance_read(bioid, att_date, check_mode) VALUES (1, '2024-03-07 "
                  "09:05:02', 'check-in')");
    }),
                 std::exception);
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM attendance_read").toInt(0, "n"), 0);

    const int stored = db().transaction([](Transaction& t) {
        return static_cast<int>(
            t.execute("INSERT INTO attendance_read(bioid, att_date) VALUES (1, now()), (2, now())"));
    });
    EXPECT_EQ(stored, 2);
}

TEST_F(DataConTest, CallsFromManyThreadsAreSerialised) {
    std::atomic<int> failures = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                try {
                    db().transaction([&](Transaction& tx) {
                        tx.execute(
                            "INSERT INTO attendance_read(bioid, att_date) VALUES ($1, $2)",
                            SqlParams().add(t).add(QDateTime(QDate(2024, 3, 1), QTime(8, 0)).addSecs(i)));
                        // Another thread's statement would break this transaction if it got in.
                        tx.query("SELECT pg_sleep(0.001)");
                    });
                    db().query("SELECT count(*) FROM attendance_read");
                } catch (const std::exception&) {
                    ++failures;
                }
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM attendance_read").toInt(0, "n"), 240);
}

TEST_F(DataConTest, NestedCallOnTheSameThreadIsAnErrorNotADeadlock) {
    EXPECT_THROW(db().transaction([&](Transaction&) { db().query("SELECT 1"); }), std::logic_error);
    EXPECT_EQ(db().query("SELECT 1 AS one").toInt(0, "one"), 1); // still usable
}

TEST_F(DataConTest, FirstLossReconnectsAndRepeatsSecondLossEndsTheProgram) {
    QStringList fatal;
    db().setFatalHandler([&](const QString& reason) { fatal << reason; });

    killBackend();
    EXPECT_EQ(db().query("SELECT 7 AS seven").toInt(0, "seven"), 7);
    EXPECT_EQ(db().retryCount(), 1);
    EXPECT_TRUE(fatal.isEmpty());
    EXPECT_EQ(db().query("SELECT current_setting('enable_sort') AS s").text(0, "s"), "off");

    killBackend();
    EXPECT_THROW(db().query("SELECT 1"), ConnectionError);
    EXPECT_EQ(fatal.size(), 1);
}

TEST_F(DataConTest, NamedQueriesOpenWithUnsetParameters) {
    for (NamedQuery* q : db().namedQueries())
        EXPECT_NO_THROW(q->run(db())) << q->name().toStdString();
    EXPECT_EQ(db().namedQueries().size(), 7u);
}

TEST(DataConFailure, WrongPasswordOrUnreachableServerIsAConnectionError) {
    ConnectionSettings wrongPassword = orv::test::serverSettings();
    wrongPassword.password += "x";
    ConnectionSettings nobody = orv::test::serverSettings();
    nobody.port = 1; // nothing listens there
    for (const ConnectionSettings& s : {wrongPassword, nobody}) {
        DataCon db(s);
        EXPECT_THROW(db.connect(), ConnectionError);
        EXPECT_FALSE(db.isConnected());
    }
}

} // namespace

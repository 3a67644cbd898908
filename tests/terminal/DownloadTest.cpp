#include "ZkProtocol.h"
#include "ZkSimulator.h"
#include "ZkTerminal.h"
#include "data/Errors.h"
#include "devices/AttendanceDownloader.h"

#include "fixtures/TestDatabase.h"

#include <gtest/gtest.h>

#include <thread>

using namespace orv;
using orv::sim::SimPunch;
using orv::sim::SimulatorOptions;
using orv::sim::SimulatorState;
using orv::sim::ZkSimulator;
using orv::test::DatabaseTest;

namespace {

class DownloadTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        SimulatorOptions options;
        options.chunkPauseMs = 0;
        m_sim = std::make_unique<ZkSimulator>(options);
        m_sim->start();
        database().exec(
            QStringLiteral("INSERT INTO offices(officeid, off_name, off_short) VALUES (1, 'Accounting', "
                           "'ACC');"
                           "INSERT INTO zkteco_devices VALUES (1, '127.0.0.1', %1, 1);")
                .arg(m_sim->port()));
    }

    ZkSimulator& sim() { return *m_sim; }
    TerminalAddress address() { return {"Accounting", "127.0.0.1", m_sim->port(), 1}; }

    // Runs a download and keeps what it reported.
    DownloadResult download(int batchSize = 2000) {
        ZkTerminal terminal;
        terminal.setTimeout(2000);
        AttendanceDownloader downloader(db(), terminal);
        downloader.setBatchSize(batchSize);
        DownloadProgress progress;
        progress.status = [this](const QString& s) { statuses << s; };
        progress.started = [this](int n) { totals << n; };
        progress.lines = [this](const QStringList& l, int processed) {
            log << l;
            lastProcessed = processed;
        };
        return downloader.run(address(), progress);
    }

    int rows() { return db().query("SELECT count(*) AS n FROM attendance_read").toInt(0, "n"); }

    QStringList statuses;
    QList<int> totals;
    QStringList log;
    int lastProcessed = 0;

private:
    std::unique_ptr<ZkSimulator> m_sim;
};

TEST_F(DownloadTest, WordsForTheTerminalsCodes) {
    const char* verify[] = {"password", "finger", "card", "face", "4", "5"};
    const char* check[] = {"check-in", "check-out", "break-out", "break-in", "overtime-in", "overtime-out"};
    for (int code = 0; code <= 5; ++code) {
        EXPECT_EQ(AttendanceDownloader::verifyWord(code), verify[code]);
        EXPECT_EQ(AttendanceDownloader::checkWord(code), check[code]);
    }
    // Codes without a word are stored as their digits, not as the previous punch's word.
    EXPECT_EQ(AttendanceDownloader::verifyWord(15), "15");
    EXPECT_EQ(AttendanceDownloader::checkWord(255), "255");
    EXPECT_EQ(AttendanceDownloader::attDateText(2024, 3, 7, 9, 5, 2), "2024-03-07 09:05:02");
}

TEST_F(DownloadTest, StoresEveryPunchOnceClearsTheLogAndSetsTheClock) {
    SimulatorState state;
    state.punches.push_back({"1001", 1, 0, {2024, 3, 7, 9, 5, 2}});
    state.punches.push_back({"1002", 3, 1, {2024, 3, 7, 17, 30, 0}});
    state.punches.push_back({"0042", 15, 9, {2024, 3, 8, 8, 0, 59}}); // codes without a word
    state.punches.push_back({"1001", 1, 0, {2024, 3, 7, 9, 5, 2}});   // the same punch twice on the device
    state.generatePunches(4996, {"1", "2", "3", "4", "5"}, QDate(2024, 3, 1));
    state.setClock(QDateTime(QDate(2019, 6, 1), QTime(7, 0)));
    sim().setState(state);
    database().exec("INSERT INTO attendance_read(bioid, att_date, check_mode, verify_mode) "
                    "VALUES (1002, '2024-03-07 17:30:00', 'check-out', 'face')");

    db().resetRoundTrips();
    const DownloadResult r = download();
    EXPECT_EQ(r.read, 5000);
    EXPECT_EQ(r.stored, 4998);
    EXPECT_EQ(r.alreadyPresent, 2);
    EXPECT_TRUE(r.cleared);
    EXPECT_TRUE(r.clockSet);
    EXPECT_LE(db().roundTrips(), 10) << "at most one database round trip per 500 punches";
    EXPECT_EQ(rows(), 4999);

    const QueryResult first =
        db().query("SELECT to_char(att_date, 'YYYY-MM-DD HH24:MI:SS') AS d, check_mode, "
                   "verify_mode FROM attendance_read WHERE bioid = 1001");
    ASSERT_EQ(first.rowCount(), 1);
    EXPECT_EQ(first.text(0, "d"), "2024-03-07 09:05:02");
    EXPECT_EQ(first.text(0, "check_mode"), "check-in");
    EXPECT_EQ(first.text(0, "verify_mode"), "finger");
    const QueryResult odd =
        db().query("SELECT check_mode, verify_mode FROM attendance_read WHERE bioid = 42");
    ASSERT_EQ(odd.rowCount(), 1);
    EXPECT_EQ(odd.text(0, "check_mode"), "9");
    EXPECT_EQ(odd.text(0, "verify_mode"), "15");

    // Every punch read is listed, stored or skipped, numbered in order.
    ASSERT_EQ(log.size(), 5000);
    EXPECT_EQ(log[0],
              "1. Id_num :  1001  | Date :  2024-03-07  | Time : 09:05:02 | Verification Mode : finger  "
              "| Mode : check-in");
    EXPECT_EQ(log[1],
              "2. Id_num :  1002  | Date :  2024-03-07  | Time : 17:30:00 | Verification Mode : face  "
              "| Mode : check-out");
    EXPECT_EQ(log[2], "3. Id_num :  0042  | Date :  2024-03-08  | Time : 08:00:59 | Verification Mode : 15  "
                      "| Mode : 9");
    EXPECT_TRUE(log[4999].startsWith("5000. Id_num :  "));
    EXPECT_EQ(statuses, QStringList({"Please wait..", "Total attendance to download : 5000"}));
    EXPECT_EQ(totals, QList<int>{5000});
    EXPECT_EQ(lastProcessed, 5000);

    const SimulatorState after = sim().state();
    EXPECT_TRUE(after.punches.empty());
    EXPECT_LE(std::abs(QDateTime::currentDateTime().secsTo(after.clock())), 2);
    EXPECT_FALSE(sim().isDisabled());
    // The device was locked before the log was read and unlocked after it was cleared.
    const auto seen = sim().commandsSeen();
    const auto at = [&](quint16 c) { return std::find(seen.begin(), seen.end(), c) - seen.begin(); };
    EXPECT_LT(at(zk::CMD_DISABLEDEVICE), at(zk::CMD_DATA_WRRQ));
    EXPECT_LT(at(zk::CMD_CLEAR_ATTLOG),
              seen.rend() - std::find(seen.rbegin(), seen.rend(), zk::CMD_ENABLEDEVICE) - 1);

    // A second download finds an empty log and stores nothing.
    statuses.clear();
    log.clear();
    const DownloadResult again = download();
    EXPECT_EQ(again.read, 0);
    EXPECT_EQ(again.stored, 0);
    EXPECT_EQ(rows(), 4999);
    EXPECT_EQ(statuses, QStringList({"Please wait.."}));
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(DownloadTest, DroppedConnectionKeepsTheLogAndTheRetryStoresTheRest) {
    const int n = 3000;
    SimulatorState state;
    state.generatePunches(n, {"11", "12", "13"}, QDate(2024, 3, 1));
    const int chunks = (4 + 40 * n + 65471) / 65472;
    struct Case {
        const char* name;
        int dropAfter;     // requests answered before the connection drops
        int storedBefore;  // rows already there from an earlier, broken download
        int storedByFirst; // rows the broken download stores
    };
    // CONNECT, DISABLE, FREE_SIZES, DATA_WRRQ, one DATA_RDY per chunk, FREE_DATA; then CLEAR_ATTLOG.
    const Case cases[] = {
        {"in the middle of the read", 5, 1000, 0},
        {"just before the clear", 5 + chunks, 0, n},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        database().exec("DELETE FROM attendance_read");
        if (c.storedBefore > 0) {
            sim().setState(state);
            download(500); // a full download of the first punches, then put them back on the device
            database().exec(
                QStringLiteral("DELETE FROM attendance_read WHERE att_readid NOT IN (SELECT att_readid "
                               "FROM attendance_read ORDER BY att_readid LIMIT %1)")
                    .arg(c.storedBefore));
        }
        sim().setState(state);
        sim().setFaults({c.dropAfter, 0, -1});
        try {
            download();
            ADD_FAILURE() << "the broken download reported success";
        } catch (const UserError& e) {
            EXPECT_TRUE(e.text().contains("Accounting")) << e.text().toStdString();
        }
        EXPECT_EQ(rows(), c.storedBefore + c.storedByFirst);
        EXPECT_EQ(sim().state().punches.size(), static_cast<size_t>(n))
            << "the device's log must stay intact";
        EXPECT_FALSE(sim().isDisabled());

        const DownloadResult retry = download();
        EXPECT_EQ(retry.read, n);
        EXPECT_EQ(retry.stored, n - c.storedBefore - c.storedByFirst);
        EXPECT_EQ(retry.alreadyPresent, c.storedBefore + c.storedByFirst);
        EXPECT_EQ(rows(), n);
        EXPECT_TRUE(sim().state().punches.empty());
    }
}

TEST_F(DownloadTest, EnrolNumberThatIsNoNumberIsNamedAndNothingIsCleared) {
    SimulatorState state;
    state.punches.push_back({"1001", 1, 0, {2024, 3, 7, 8, 0, 0}});
    state.punches.push_back({"AB12", 1, 0, {2024, 3, 7, 8, 1, 0}});
    state.punches.push_back({"1003", 1, 0, {2024, 3, 7, 8, 2, 0}});
    sim().setState(state);
    try {
        download();
        ADD_FAILURE() << "the download reported success";
    } catch (const UserError& e) {
        EXPECT_TRUE(e.text().contains("\"AB12\"")) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains("Nothing was cleared")) << e.text().toStdString();
    }
    EXPECT_EQ(sim().state().punches.size(), 3u);
    EXPECT_FALSE(sim().isDisabled());
    EXPECT_EQ(rows(), 1); // what came before it is stored; the retry skips it
}

TEST_F(DownloadTest, PunchMadeDuringTheDownloadIsNotLost) {
    SimulatorState state;
    state.generatePunches(300, {"21", "22"}, QDate(2024, 3, 1));
    sim().setState(state);
    sim().setCommandHook([this](quint16 command) {
        if (command == zk::CMD_DATA_WRRQ || command == zk::CMD_CLEAR_ATTLOG)
            sim().punchAt({"99", 1, 0, {2024, 4, 1, 8, command == zk::CMD_CLEAR_ATTLOG ? 1 : 0, 0}});
    });
    const DownloadResult r = download();
    sim().setCommandHook({});
    EXPECT_EQ(r.read, 300);
    ASSERT_EQ(sim().state().punches.size(), 2u)
        << "punches made while the device was locked wait for the unlock";
    EXPECT_EQ(download().stored, 2);
    EXPECT_EQ(rows(), 302);
}

TEST_F(DownloadTest, TwoWorkstationsDownloadingTogetherStoreEachPunchOnce) {
    SimulatorState state;
    state.generatePunches(4000, {"31", "32", "33", "34"}, QDate(2024, 3, 1));
    sim().setState(state);
    DataCon second(database().settings());
    second.connect();
    DownloadResult a, b;
    std::exception_ptr errorA, errorB;
    const auto run = [this](DataCon& con, DownloadResult& out, std::exception_ptr& error) {
        try {
            ZkTerminal terminal;
            out = AttendanceDownloader(con, terminal).run(address());
        } catch (...) {
            error = std::current_exception();
        }
    };
    std::thread one([&] { run(db(), a, errorA); });
    std::thread two([&] { run(second, b, errorB); });
    one.join();
    two.join();
    EXPECT_FALSE(errorA) << errorText(errorA).toStdString();
    EXPECT_FALSE(errorB) << errorText(errorB).toStdString();
    EXPECT_EQ(rows(), 4000);
    EXPECT_EQ(a.stored + b.stored, 4000);
    EXPECT_TRUE(sim().state().punches.empty());
}

TEST_F(DownloadTest, UnreachableTerminalIsAnErrorNotAnEmptyDownload) {
    TerminalAddress nowhere = address();
    sim().stop();
    ZkTerminal terminal;
    AttendanceDownloader downloader(db(), terminal);
    try {
        downloader.run(nowhere);
        ADD_FAILURE() << "an unreachable terminal reported success";
    } catch (const UserError& e) {
        EXPECT_TRUE(e.text().startsWith("Unable to connect on Accounting device.")) << e.text().toStdString();
    }
}

TEST_F(DownloadTest, TerminalLookupFollowsTheDeviceRows) {
    database().exec("INSERT INTO offices(officeid, off_name) VALUES (2, 'Budget');"
                    "INSERT INTO zkteco_devices VALUES (2, '10.0.0.9', 4370, 3), (1, '10.0.0.8', 4371, 2);");
    EXPECT_EQ(AttendanceDownloader::officeNames(db()), QStringList({"Accounting", "Accounting", "Budget"}));
    const auto budget = AttendanceDownloader::findTerminal(db(), "budget");
    ASSERT_TRUE(budget);
    EXPECT_EQ(budget->address, "10.0.0.9");
    EXPECT_EQ(budget->machineNumber, 3);
    EXPECT_FALSE(AttendanceDownloader::findTerminal(db(), "Nobody' OR ''='"));
    EXPECT_EQ(AttendanceDownloader::allTerminals(db()).size(), 3u);
}

} // namespace

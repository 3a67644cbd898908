#include "TcpListener.h"
#include "ZkSimulator.h"

#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace orv;
using orv::sim::SimulatorOptions;
using orv::sim::SimulatorState;
using orv::sim::ZkSimulator;

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(test::binDir() + "/orvanta-cli", args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(DownloadCliTest, DownloadsOneOfficeOrEveryTerminalAndSaysWhichFailed) {
    test::TestDatabase database;
    QTemporaryDir dir;
    const QString settings = test::writeSettingsFile(dir.path(), database.settings());
    SimulatorOptions options;
    options.chunkPauseMs = 0;
    SimulatorState state;
    state.punches.push_back({"1001", 1, 0, {2024, 3, 7, 9, 5, 2}});
    state.punches.push_back({"1002", 0, 1, {2024, 3, 7, 17, 0, 0}});
    ZkSimulator accounting(options, state);
    accounting.start();
    int deadPort = 0;
    {
        TcpListener probe("127.0.0.1", 0);
        deadPort = probe.port();
    }
    database.exec(
        QStringLiteral("INSERT INTO offices(officeid, off_name) VALUES (1, 'Accounting'), (2, 'Budget');"
                       "INSERT INTO zkteco_devices VALUES (1, '127.0.0.1', %1, 1), (2, '127.0.0.1', %2, 1);")
            .arg(accounting.port())
            .arg(deadPort));

    const CliRun one = cli({"--settings", settings, "download", "--office", "accounting"});
    EXPECT_EQ(one.status, 0) << one.err.toStdString();
    EXPECT_TRUE(one.out.contains("Total attendance to download : 2\n")) << one.out.toStdString();
    EXPECT_TRUE(
        one.out.contains("1. Id_num :  1001  | Date :  2024-03-07  | Time : 09:05:02 | Verification Mode : "
                         "finger  | Mode : check-in\n"));
    EXPECT_TRUE(one.out.contains("End...\n100% attendance downloaded\nRead 2, stored 2, already present 0"));
    EXPECT_TRUE(accounting.state().punches.empty());

    accounting.modify([&](SimulatorState& s) { s.punches = state.punches; });
    const CliRun every = cli({"--settings", settings, "download", "--all"});
    EXPECT_EQ(every.status, 1) << "one terminal was not downloaded";
    EXPECT_TRUE(every.out.contains("Read 2, stored 0, already present 2")) << every.out.toStdString();
    EXPECT_TRUE(every.err.contains("Budget: Unable to connect on Budget device.")) << every.err.toStdString();
    EXPECT_TRUE(every.out.contains("1 of 2 downloaded.")) << every.out.toStdString();

    const CliRun unknown = cli({"--settings", settings, "download", "--office", "Nowhere"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("No terminal is registered for the office \"Nowhere\"."))
        << unknown.err.toStdString();
    EXPECT_EQ(cli({"--settings", settings, "download"}).status, 2);
}

} // namespace

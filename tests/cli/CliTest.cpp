#include "IniFile.h"
#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace orv;

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

CliRun cli(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(test::binDir() + "/orvanta-cli", args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class CliTest : public ::testing::Test {
protected:
    QString settingsFile() const { return m_dir.filePath("System_Control.ini"); }
    CliRun encipherAndCheck(const ConnectionSettings& s) {
        const CliRun written = cli({"--settings", settingsFile(), "encipher", "--server", s.server,
                                    "--database", s.database, "--port", QString::number(s.port), "--write"},
                                   s.password.toUtf8() + "\n");
        EXPECT_EQ(written.status, 0) << written.err.toStdString();
        return cli({"--settings", settingsFile(), "check-connection"});
    }
    QTemporaryDir m_dir;
    test::TestDatabase m_database;
};

TEST_F(CliTest, EncipheredSettingsConnect) {
    IniFile(settingsFile()).writeString("upControl", "version", "4"); // other sections are kept
    const CliRun r = encipherAndCheck(m_database.settings());
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Connected to " + m_database.name())) << r.out.toStdString();
    EXPECT_EQ(IniFile(settingsFile()).readString("upControl", "version"), "4");
    // The values on disk are enciphered, not plain.
    EXPECT_NE(IniFile(settingsFile()).readString("Sql_config", "Database"), m_database.name());
}

TEST_F(CliTest, WrongPasswordOrUnreachableServerFailsWithTheConnectionText) {
    ConnectionSettings wrong = m_database.settings();
    wrong.password = "not-the-password";
    ConnectionSettings unreachable = m_database.settings();
    unreachable.port = 1;
    for (const ConnectionSettings& s : {wrong, unreachable}) {
        const CliRun r = encipherAndCheck(s);
        EXPECT_NE(r.status, 0);
        EXPECT_TRUE(r.err.startsWith("System Connection Failed, Please contact your System Administrator!\n"))
            << r.err.toStdString();
    }
}

TEST_F(CliTest, PrintedSectionIsReadyToPaste) {
    const CliRun r =
        cli({"encipher", "--server", "localhost", "--database", "attendance", "--password", "pa'ss"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("[Sql_config]\n1="));
    const QStringList keys = {"1", "Password", "2", "Server", "3", "Database"};
    QStringList seen;
    for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts).mid(1))
        seen << line.section('=', 0, 0);
    EXPECT_EQ(seen, keys);
}

TEST_F(CliTest, UsageErrorsAreClear) {
    EXPECT_EQ(cli({}).status, 2);
    const CliRun unknown = cli({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("Unknown command \"frobnicate\""));
    const CliRun missing = cli({"encipher", "--server", "x"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("--database is required")) << missing.err.toStdString();
    const CliRun noFile = cli({"--settings", m_dir.filePath("none.ini"), "check-connection"});
    EXPECT_NE(noFile.status, 0);
    EXPECT_TRUE(noFile.err.contains("does not exist")) << noFile.err.toStdString();
}

} // namespace

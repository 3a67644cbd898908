#include "shell/StartupConnection.h"

#include "IniFile.h"
#include "data/DataCon.h"
#include "data/Session.h"
#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>

using namespace orv;

namespace {

class StartupConnectionTest : public ::testing::Test {
protected:
    // Runs the start-up against the settings file; returns true when it connected.
    bool runStartup() {
        IniFile ini(m_dir.filePath("System_Control.ini"));
        StartupConnection startup(m_db, m_session, ini);
        QSignalSpy ok(&startup, &StartupConnection::connected);
        QSignalSpy failed(&startup, &StartupConnection::failed);
        startup.start();
        for (int i = 0; i < 100 && ok.isEmpty() && failed.isEmpty(); ++i)
            ok.wait(100);
        if (!failed.isEmpty()) {
            m_failure = failed.first();
            return false;
        }
        return !ok.isEmpty();
    }

    QTemporaryDir m_dir;
    DataCon m_db;
    Session m_session;
    QList<QVariant> m_failure;
    test::TestDatabase m_database;
};

TEST_F(StartupConnectionTest, ConnectsFromTheEncipheredSettings) {
    test::writeSettingsFile(m_dir.path(), m_database.settings());
    IniFile(m_dir.filePath("System_Control.ini")).writeString("upControl", "version", "4");
    IniFile(m_dir.filePath("System_Control.ini")).writeString("upControl", "Upname", "relaybolt");
    ASSERT_TRUE(runStartup()) << m_failure.value(2).toString().toStdString();
    EXPECT_EQ(m_session.con_stat, "ok");
    EXPECT_EQ(m_session.currentversion, "4");
    EXPECT_EQ(m_session.apps, "relaybolt");
    EXPECT_EQ(m_session.server, m_database.settings().server);
    EXPECT_TRUE(m_db.isConnected());
}

TEST_F(StartupConnectionTest, WrongPasswordOrDeadServerGivesTheConnectionFailureBox) {
    ConnectionSettings wrong = m_database.settings();
    wrong.password += "-wrong";
    ConnectionSettings dead = m_database.settings();
    dead.port = 1;
    for (const ConnectionSettings& s : {wrong, dead}) {
        test::writeSettingsFile(m_dir.path(), s);
        EXPECT_FALSE(runStartup());
        ASSERT_EQ(m_failure.size(), 3);
        EXPECT_EQ(m_failure[0].toString(),
                  "System Connection Failed, Please contact your System Administrator!");
        EXPECT_EQ(m_failure[1].toString(), "Connection error");
        EXPECT_FALSE(m_failure[2].toString().isEmpty()); // the server's reason, for IT staff
        EXPECT_TRUE(m_session.con_stat.isEmpty());
    }
}

TEST_F(StartupConnectionTest, MissingSeedIsReportedInsteadOfLeavingNoLogin) {
    test::writeSettingsFile(m_dir.path(), m_database.settings());
    IniFile(m_dir.filePath("System_Control.ini")).eraseKey("Sql_config", "3");
    EXPECT_FALSE(runStartup());
    ASSERT_EQ(m_failure.size(), 3);
    EXPECT_TRUE(m_failure[0].toString().contains("\"3\"")) << m_failure[0].toString().toStdString();
    EXPECT_TRUE(m_failure[0].toString().contains("database"));
}

} // namespace

#include "fixtures/TestDatabase.h"

#include "IniFile.h"
#include "platform/ProgramLink.h"
#include "shell/VersionCheck.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

using namespace orv;

namespace {

class VersionCheckTest : public test::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        // A stand-in updater that writes down each start.
        QFile script(m_folder.filePath("relaybolt"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started >> \"$(dirname \"$0\")/starts.log\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void publish(const QString& versions) {
        database().exec("INSERT INTO apps_update (update_ver, url) SELECT v::numeric, 'http://builds.test/' "
                        "FROM unnest(string_to_array('" +
                        versions + "', ',')) AS v");
    }
    VersionCheck::Outcome run(const QString& installed, const QString& apps = "relaybolt") {
        VersionCheck check(db(), m_ini, m_folder.path());
        return check.check(installed, apps);
    }
    // Starts of the stand-in, counted after giving a late start time to show.
    int starts(int settleMs = 700) {
        QThread::msleep(static_cast<unsigned long>(settleMs));
        QFile log(m_folder.filePath("starts.log"));
        if (!log.open(QIODevice::ReadOnly))
            return 0;
        return static_cast<int>(log.readAll().count('\n'));
    }
    QString versionup() { return m_ini.readString("upControl", "versionup"); }

    QTemporaryDir m_folder;
    IniFile m_ini{m_folder.filePath("System_Control.ini")};
};

TEST_F(VersionCheckTest, SmallestNewerVersionIsWrittenAndTheUpdaterStartedOnce) {
    publish("3,5,7");
    const VersionCheck::Outcome o = run("4");
    EXPECT_TRUE(o.queried);
    EXPECT_EQ(o.newer, "5");
    EXPECT_TRUE(o.updaterStarted);
    EXPECT_TRUE(o.notice.isEmpty()) << o.notice.toStdString();
    EXPECT_EQ(versionup(), "5");
    for (int i = 0; i < 50 && starts(100) == 0; ++i) {
    }
    EXPECT_EQ(starts(), 1);
}

TEST_F(VersionCheckTest, RunningUpdaterIsNotStartedAgain) {
    publish("3,5,7");
    platform::ProgramAnnouncer updater(m_folder.path());
    ASSERT_TRUE(updater.announce("TVelmora_Updater", "Update System"));
    const VersionCheck::Outcome o = run("4");
    EXPECT_EQ(versionup(), "5");
    EXPECT_TRUE(o.updaterRunning);
    EXPECT_FALSE(o.updaterStarted);
    EXPECT_EQ(starts(), 0);
}

TEST_F(VersionCheckTest, NothingNewerWritesAndStartsNothing) {
    const VersionCheck::Outcome empty = run("4"); // no published build at all
    EXPECT_TRUE(empty.queried);
    publish("3,5,7");
    const VersionCheck::Outcome newest = run("7");
    EXPECT_TRUE(newest.queried);
    EXPECT_TRUE(newest.newer.isEmpty());
    EXPECT_TRUE(newest.notice.isEmpty());
    EXPECT_FALSE(m_ini.valueExists("upControl", "versionup"));
    EXPECT_EQ(starts(), 0);
}

TEST_F(VersionCheckTest, VersionsCompareAsNumbers) {
    publish("9,10,9.5");
    struct Case {
        const char* installed;
        const char* expected;
    } cases[] = {{"9", "9.5"}, {"9.5", "10"}, {"9.50", "10"}, {"10", ""}, {" 8 ", "9"}};
    for (const Case& c : cases) {
        m_ini.eraseKey("upControl", "versionup");
        platform::ProgramAnnouncer updater(m_folder.path()); // keeps the stand-in from starting
        ASSERT_TRUE(updater.announce("TVelmora_Updater", "Update System"));
        EXPECT_EQ(run(c.installed).newer, c.expected) << c.installed;
        EXPECT_EQ(versionup(), c.expected) << c.installed;
    }
    EXPECT_EQ(starts(0), 0);
}

TEST_F(VersionCheckTest, FailuresAreToldAndNothingIsStarted) {
    publish("3,5,7");
    const VersionCheck::Outcome noVersion = run("");
    EXPECT_FALSE(noVersion.queried);
    EXPECT_TRUE(noVersion.notice.contains("installed version")) << noVersion.notice.toStdString();

    for (const char* bad : {"1.0.0", "abc", "4; DROP TABLE apps_update"}) {
        const VersionCheck::Outcome badVersion = run(bad);
        EXPECT_FALSE(badVersion.queried);
        EXPECT_TRUE(badVersion.notice.contains("is not a number")) << badVersion.notice.toStdString();
    }

    const VersionCheck::Outcome noUpdater = run("4", "");
    EXPECT_EQ(noUpdater.newer, "5");
    EXPECT_TRUE(noUpdater.notice.contains("Upname")) << noUpdater.notice.toStdString();

    const VersionCheck::Outcome missingFile = run("4", "no-such-updater");
    EXPECT_FALSE(missingFile.updaterStarted);
    EXPECT_TRUE(missingFile.notice.contains("could not be started")) << missingFile.notice.toStdString();

    database().exec("DROP TABLE apps_update");
    m_ini.eraseKey("upControl", "versionup");
    const VersionCheck::Outcome noTable = run("4");
    EXPECT_EQ(noTable.notice,
              "The check for a newer version failed: ERROR: relation \"apps_update\" does not exist");
    EXPECT_FALSE(m_ini.valueExists("upControl", "versionup"));
    EXPECT_EQ(starts(), 0);
}

TEST_F(VersionCheckTest, WarmUpOpensEveryNamedQueryAndIgnoresErrors) {
    QStringList labels;
    VersionCheck check(db(), m_ini, m_folder.path());
    database().exec("DROP TABLE offices CASCADE"); // officeList now fails; the rest goes on
    check.warmUp([&](const QString& text) { labels << text; });
    EXPECT_EQ(labels, (QStringList{"Loding officeList...", "Loding Searchdtrname...", "Loding DTR_Details...",
                                   "Loding detailed_dtr...", "Loding Holidays...",
                                   "Loding DTR_QueryReports...", "Loding EmpImpList..."}));
    EXPECT_EQ(db().query("SELECT 1 AS one").toInt(0, "one"), 1);
}

} // namespace

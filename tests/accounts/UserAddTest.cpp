#include "AccountsFixture.h"

#include "accounts/LoginService.h"
#include "data/Session.h"
#include "fixtures/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace orv;

namespace {

class UserAddTest : public test::AccountsTest {
protected:
    struct Run {
        int status = -1;
        QString out, err;
    };
    Run userAdd(const QStringList& options, const QByteArray& password) {
        const QString settings = test::writeSettingsFile(m_dir.path(), database().settings());
        QProcess p;
        p.start(test::binDir() + "/orvanta-cli",
                QStringList{"--settings", settings, "user", "add"} + options);
        p.write(password);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QStringList options(const QString& username, const QString& office = "mmo") const {
        return {"--username", username, "--first", "Lorna",          "--last",     "Villanueva",
                "--office",   office,   "--email", "it@office.test", "--position", "IT Officer I"};
    }
    QTemporaryDir m_dir;
};

TEST_F(UserAddTest, CreatesAVerifiedAccountThatLogsInAtOnce) {
    const Run r = userAdd(options("itadmin"), "Str0ng pass\n");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("itadmin")) << r.out.toStdString();
    const QueryResult row = db().query("SELECT * FROM end_user WHERE usernames = 'itadmin'");
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.text(0, "activate_status"), "1");
    EXPECT_EQ(row.text(0, "officeid"), "1"); // found by its short name, letter case ignored
    EXPECT_EQ(row.text(0, "designation"), "IT Officer I");
    EXPECT_TRUE(row.text(0, "passwords").startsWith("$argon2id$"));
    Session s;
    const LoginService::Result login = LoginService(db(), s).login("itadmin", "Str0ng pass");
    EXPECT_EQ(login.outcome, LoginService::Outcome::Granted);
    EXPECT_TRUE(login.verified);
}

TEST_F(UserAddTest, RefusesWhatWouldMakeABadAccount) {
    addUser("itadmin", "pw");
    struct Case {
        QStringList options;
        QByteArray input;
        const char* message;
    } cases[] = {
        {options("ITADMIN"), "pw\n", "already taken"},
        {options("other", "Office of Nobody"), "pw\n", "no office named"},
        {options("other"), "\n", "No password"},
        {QStringList{"--username", "other"}, "pw\n", "--first is required"},
    };
    for (const Case& c : cases) {
        const Run r = userAdd(c.options, c.input);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_EQ(db().query("SELECT count(*) AS n FROM end_user").toInt(0, "n"), 1);
}

} // namespace

#include "AccountsFixture.h"

#include "accounts/LoginService.h"
#include "data/Session.h"

#include <gtest/gtest.h>

#include <QThread>

using namespace orv;
using Outcome = LoginService::Outcome;

namespace {

class LoginServiceTest : public test::AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        m_session.server = "localhost";
    }
    Session m_session;
};

TEST_F(LoginServiceTest, CredentialsCompareExactly) {
    const int id = addUser("alice", "it's Secret ");
    struct Case {
        const char* user;
        const char* password;
        Outcome expected;
    };
    const Case cases[] = {
        {"alice", "it's secret ", Outcome::WrongCredentials}, // letter case counts
        {"alice", "it's Secret", Outcome::WrongCredentials},  // no trimming
        {" alice", "it's Secret ", Outcome::WrongCredentials},
        {"Alice", "it's Secret ", Outcome::WrongCredentials},
        {"alice", "", Outcome::WrongCredentials},
        {"nobody", "x' OR '1'='1", Outcome::WrongCredentials},
        {"alice", "it's Secret ", Outcome::Granted}, // a quote in the password is just a character
    };
    LoginService login(db(), m_session);
    for (const Case& c : cases) {
        const LoginService::Result r = login.login(c.user, c.password);
        EXPECT_EQ(r.outcome, c.expected) << c.user << " / " << c.password;
        if (c.expected == Outcome::WrongCredentials) {
            EXPECT_TRUE(m_session.userid.isEmpty());
        }
    }
    EXPECT_EQ(m_session.userid, QString::number(id));
    EXPECT_EQ(m_session.officeid, "1");
}

TEST_F(LoginServiceTest, GrantedLoginRecordsTheProgramsOwnConnection) {
    const int id = addUser("alice", "pw");
    LoginService login(db(), m_session);
    login.readOwnConnection();
    const LoginService::Result r = login.login("alice", "pw");
    ASSERT_EQ(r.outcome, Outcome::Granted);
    EXPECT_EQ(r.welcome, "WELCOME : MARIA DELA CRUZ - local");
    EXPECT_TRUE(r.verified);
    EXPECT_FALSE(r.needsActivation());
    const QString pid = QString::number(db().backendPid());
    EXPECT_EQ(m_session.pid, pid);
    EXPECT_EQ(column(id, "status_up"), "1");
    EXPECT_EQ(column(id, "pid"), pid);
    const QString port = db().query("SELECT client_port FROM pg_stat_activity WHERE pid = pg_backend_pid()")
                             .text(0, "client_port");
    EXPECT_EQ(column(id, "client_port"), port);

    m_session.server = "db.lgu.local";
    EXPECT_EQ(login.login("alice", "pw").welcome, "WELCOME : MARIA DELA CRUZ - online");
}

TEST_F(LoginServiceTest, PlainTextRowLogsInOnceAndIsStoredHashed) {
    const int id = addUser("admin", "admin", 1, true);
    LoginService login(db(), m_session);
    EXPECT_EQ(login.login("admin", "Admin").outcome, Outcome::WrongCredentials);
    EXPECT_EQ(column(id, "passwords"), "admin"); // a failed attempt changes nothing
    EXPECT_EQ(login.login("admin", "admin").outcome, Outcome::Granted);
    const QString stored = column(id, "passwords");
    EXPECT_TRUE(stored.startsWith("$argon2id$")) << stored.toStdString();
    EXPECT_EQ(login.login("admin", "admin").outcome, Outcome::Granted);
    EXPECT_EQ(login.login("admin", stored).outcome, Outcome::WrongCredentials); // the hash is no password
}

TEST_F(LoginServiceTest, UnverifiedAccountIsGrantedAndSentToActivation) {
    addUser("bob", "pw", 0, false, "Bob_Santos@office.test");
    LoginService login(db(), m_session);
    const LoginService::Result r = login.login("bob", "pw");
    EXPECT_EQ(r.outcome, Outcome::Granted);
    EXPECT_FALSE(r.verified);
    EXPECT_TRUE(r.needsActivation());
    EXPECT_EQ(r.username, "bob");
    EXPECT_EQ(r.email, "Bob_Santos@office.test");
    // The same run logs in again after the activation: its own recorded
    // connection does not count as another workstation.
    db().execute("UPDATE end_user SET activate_status = 1");
    const LoginService::Result again = login.login("bob", "pw");
    EXPECT_EQ(again.outcome, Outcome::Granted);
    EXPECT_TRUE(again.verified);
}

// Two workstations on the same account: two real connections.
TEST_F(LoginServiceTest, SingleSessionGuard) {
    const int id = addUser("alice", "pw");
    DataCon other(database().settings());
    other.connect();
    Session otherSession;
    LoginService first(db(), m_session);
    LoginService second(other, otherSession);
    ASSERT_EQ(first.login("alice", "pw").outcome, Outcome::Granted);
    const int firstPid = db().backendPid();

    // Active within the threshold: refused, nothing changes.
    EXPECT_EQ(second.login("alice", "pw").outcome, Outcome::Busy);
    EXPECT_TRUE(otherSession.userid.isEmpty());
    EXPECT_EQ(column(id, "pid"), QString::number(firstPid));

    // Idle past the threshold: the first workstation's connection is ended.
    second.setIdleThreshold(std::chrono::seconds(1));
    QThread::msleep(1500);
    EXPECT_EQ(second.login("alice", "pw").outcome, Outcome::OtherTerminated);
    EXPECT_TRUE(otherSession.userid.isEmpty());
    bool ended = false;
    for (int i = 0; i < 50 && !ended; ++i, QThread::msleep(100))
        ended = other.query("SELECT 1 FROM pg_stat_activity WHERE pid = :p", SqlParams().bind("p", firstPid))
                    .empty();
    EXPECT_TRUE(ended);

    // The recorded connection is gone: the next attempt is granted.
    EXPECT_EQ(second.login("alice", "pw").outcome, Outcome::Granted);
    EXPECT_EQ(column(id, "pid"), QString::number(other.backendPid()));
    EXPECT_EQ(otherSession.userid, QString::number(id));
}

TEST_F(LoginServiceTest, GrantedWhenTheRecordedConnectionHasClosed) {
    addUser("alice", "pw");
    auto gone = std::make_unique<DataCon>(database().settings());
    gone->connect();
    Session goneSession;
    ASSERT_EQ(LoginService(*gone, goneSession).login("alice", "pw").outcome, Outcome::Granted);
    gone.reset(); // that workstation's program ended; status_up stays 1
    LoginService login(db(), m_session);
    Outcome outcome = Outcome::Busy;
    for (int i = 0; i < 50 && outcome == Outcome::Busy; ++i, QThread::msleep(100))
        outcome = login.login("alice", "pw").outcome; // until the server has noticed the close
    EXPECT_EQ(outcome, Outcome::Granted);
}

} // namespace

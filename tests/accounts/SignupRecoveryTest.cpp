#include "AccountsFixture.h"

#include "accounts/AccountActivation.h"
#include "accounts/CurlMailer.h"
#include "accounts/LoginService.h"
#include "accounts/PasswordChange.h"
#include "accounts/PasswordRecovery.h"
#include "accounts/SignupService.h"
#include "data/Session.h"
#include "fixtures/MailServer.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace orv;

namespace {

class MailedAccountsTest : public test::AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        m_server = std::make_unique<test::MailServer>();
        db().execute(
            "INSERT INTO accounts_nofi (usernames, passwords) VALUES (:u, :p)",
            SqlParams().bind("u", m_server->account().usernames).bind("p", m_server->account().passwords));
        m_mailer = std::make_unique<CurlMailer>(m_server->settings());
    }
    SignupService::Request request(const QString& username = "jdelacruz") const {
        SignupService::Request r;
        r.firstName = "Juan";
        r.lastName = "Dela Cruz";
        r.username = username;
        r.password = "Tamaraw 2024";
        r.email = "Juan_DC@Office.test";
        r.officeId = 2;
        return r;
    }
    bool logsIn(const QString& user, const QString& password) {
        Session s;
        return LoginService(db(), s).login(user, password).outcome == LoginService::Outcome::Granted;
    }

    std::unique_ptr<test::MailServer> m_server;
    std::unique_ptr<CurlMailer> m_mailer;
};

TEST_F(MailedAccountsTest, SignUpMailsTheCodeAndActivationAcceptsIt) {
    SignupService signup(db());
    const SignupService::Result r = signup.signUp(request(), *m_mailer);
    ASSERT_TRUE(r.created);
    EXPECT_TRUE(r.mailError.isEmpty()) << r.mailError.toStdString();

    const QueryResult row =
        db().query("SELECT * FROM end_user WHERE end_userid = :id", SqlParams().bind("id", r.userId));
    EXPECT_EQ(row.text(0, "end_fname"), "Juan");
    EXPECT_EQ(row.text(0, "officeid"), "2");
    EXPECT_EQ(row.text(0, "designation"), ""); // position left empty: empty text
    EXPECT_EQ(row.text(0, "activate_status"), "0");
    EXPECT_EQ(row.text(0, "status_up"), "0");
    EXPECT_TRUE(row.text(0, "passwords").startsWith("$argon2id$"));
    EXPECT_EQ(row.text(0, "email_code"), r.code);

    const auto mail = m_server->waitForMessages(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].subject, "Orvanta");
    EXPECT_EQ(mail[0].recipients, QStringList{"Juan_DC@Office.test"});
    EXPECT_EQ(mail[0].body.trimmed(),
              "This is your activation code for <jdelacruz> account : [ " + r.code + " ]");
    const QString mailed = QRegularExpression("\\[ (\\d+) \\]").match(mail[0].body).captured(1);
    EXPECT_EQ(mailed, r.code);

    AccountActivation activation(db());
    EXPECT_FALSE(activation.activate("jdelacruz", "Juan_DC@Office.test", mailed + "1"));
    // The address matches without letter case, "_" as itself.
    EXPECT_TRUE(activation.activate("jdelacruz", "juan_dc@office.TEST", mailed));
    EXPECT_EQ(column(r.userId, "activate_status"), "1");
    EXPECT_TRUE(logsIn("jdelacruz", "Tamaraw 2024"));
}

TEST_F(MailedAccountsTest, CodesCompareAsTextAndTheAddressDoesNotActAsAPattern) {
    const int id = addUser("bob", "pw", 0, false, "bob_s@office.test"); // code 42
    AccountActivation activation(db());
    EXPECT_FALSE(activation.activate("bob", "bob_s@office.test", "00042"));
    EXPECT_FALSE(activation.activate("bob", "bob_s@office.test", ""));
    EXPECT_FALSE(activation.activate("bob", "bobxs@office.test", "42"));
    EXPECT_FALSE(activation.activate("bob", "bob%", "42"));
    EXPECT_FALSE(activation.activate("Bob", "bob_s@office.test", "42"));
    EXPECT_EQ(column(id, "activate_status"), "0");
    EXPECT_TRUE(activation.activate("bob", "BOB_S@office.test", "42"));
    EXPECT_EQ(column(id, "activate_status"), "1");
}

TEST_F(MailedAccountsTest, SignUpNeedsEveryFieldButThePositionAndAFreeName) {
    SignupService signup(db());
    auto incomplete = request();
    incomplete.email.clear();
    EXPECT_FALSE(signup.signUp(incomplete, *m_mailer).created);
    incomplete = request();
    incomplete.officeId.reset();
    EXPECT_FALSE(signup.signUp(incomplete, *m_mailer).created);
    EXPECT_TRUE(db().query("SELECT 1 FROM end_user").empty());
    EXPECT_TRUE(m_server->messages().empty());

    addUser("j_cruz", "pw");
    EXPECT_TRUE(signup.usernameTaken("J_CRUZ"));  // letter case ignored
    EXPECT_FALSE(signup.usernameTaken("jxcruz")); // "_" is no wildcard
    EXPECT_FALSE(signup.usernameTaken("j%"));
    EXPECT_THROW(signup.signUp(request("J_Cruz"), *m_mailer), UserError);

    const auto offices = signup.offices();
    ASSERT_EQ(offices.size(), 2u);
    EXPECT_EQ(offices[0].name, "MUNICIPAL HEALTH OFFICE");
    EXPECT_EQ(offices[0].id, 2);
}

TEST_F(MailedAccountsTest, AFailedSignUpMailLeavesTheUnverifiedAccountAndSaysWhy) {
    m_server->stop();
    SignupService signup(db());
    const SignupService::Result r = signup.signUp(request(), *m_mailer);
    EXPECT_TRUE(r.created);
    EXPECT_TRUE(r.mailError.contains("could not be sent")) << r.mailError.toStdString();
    EXPECT_EQ(column(r.userId, "activate_status"), "0");

    db().execute("DELETE FROM accounts_nofi");
    const SignupService::Result noAccount = signup.signUp(request("other"), *m_mailer);
    EXPECT_TRUE(noAccount.mailError.contains("accounts_nofi")) << noAccount.mailError.toStdString();
}

TEST_F(MailedAccountsTest, RecoveryMailsANewPasswordAndStoresItsHash) {
    const int id = addUser("alice", "old pass", 1, false, "alice@office.test");
    addUser("carol", "pw", 0);
    PasswordRecovery recovery(db());
    EXPECT_TRUE(recovery.verifyUsername("  alice "));
    EXPECT_FALSE(recovery.verifyUsername("Alice"));
    EXPECT_FALSE(recovery.verifyUsername("carol")); // unverified accounts get no new password
    EXPECT_FALSE(recovery.verifyUsername("nobody"));

    EXPECT_EQ(recovery.reset(" alice  ", *m_mailer), "alice@office.test");
    const auto mail = m_server->waitForMessages(1);
    ASSERT_EQ(mail.size(), 1u);
    EXPECT_EQ(mail[0].subject, "Orvanta");
    EXPECT_EQ(mail[0].recipients, QStringList{"alice@office.test"});
    const QRegularExpressionMatch m =
        QRegularExpression("^This is your new password \\[ ([A-Za-z0-9_.]{10}) \\] "
                           "for your username : \\[ alice \\]$")
            .match(mail[0].body.trimmed());
    ASSERT_TRUE(m.hasMatch()) << mail[0].body.toStdString();
    const QString newPassword = m.captured(1);
    EXPECT_TRUE(column(id, "passwords").startsWith("$argon2id$"));
    EXPECT_FALSE(logsIn("alice", "old pass"));
    EXPECT_TRUE(logsIn("alice", newPassword));
}

TEST_F(MailedAccountsTest, RecoveryWithTheMailServerDownKeepsTheOldPassword) {
    const int id = addUser("alice", "old pass");
    const QString before = column(id, "passwords");
    m_server->stop();
    PasswordRecovery recovery(db());
    EXPECT_THROW(recovery.reset("alice", *m_mailer), MailError);
    EXPECT_EQ(column(id, "passwords"), before);
    EXPECT_TRUE(logsIn("alice", "old pass"));
}

TEST_F(MailedAccountsTest, PasswordChangeConfirmsTheTrimmedOldPasswordFirst) {
    const int id = addUser("alice", "old pass ");
    Session session;
    session.userid = QString::number(id);
    PasswordChange change(db(), session);
    // Save before the old password is confirmed does nothing.
    EXPECT_EQ(change.save("", ""), PasswordChange::SaveOutcome::NotVerified);
    EXPECT_TRUE(logsIn("alice", "old pass "));
    // The old password is trimmed before the comparison: "old pass " cannot be confirmed.
    EXPECT_FALSE(change.verifyOld("old pass "));
    const int other = addUser("bob", "bob pw");
    session.userid = QString::number(other);
    EXPECT_TRUE(change.verifyOld("  bob pw "));
    EXPECT_EQ(change.save("new one ", "new one"), PasswordChange::SaveOutcome::Mismatch);
    EXPECT_EQ(change.save("", ""), PasswordChange::SaveOutcome::Mismatch); // no empty password
    EXPECT_EQ(change.save("new one ", "new one "), PasswordChange::SaveOutcome::Saved);
    EXPECT_TRUE(logsIn("bob", "new one ")); // stored as typed
    EXPECT_FALSE(logsIn("bob", "bob pw"));
}

} // namespace

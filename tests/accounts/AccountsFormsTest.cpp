#include "AccountsFixture.h"

#include "accounts/ActivationForm.h"
#include "accounts/ChangepassForm.h"
#include "accounts/ForgotPassForm.h"
#include "accounts/LoginForm.h"
#include "accounts/SignupForm.h"
#include "fixtures/MailServer.h"
#include "fixtures/ScriptedDialogs.h"

#include "IniFile.h"
#include "data/Session.h"
#include "shell/FrameContext.h"
#include "shell/MainForm.h"
#include "shell/WelcomeForm.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QToolButton>

using namespace orv;

namespace {

class AccountsFormsTest : public test::AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        m_session.server = "localhost";
        m_session.con_stat = "ok";
        m_session.currentversion = "4";
        m_session.apps = "relaybolt";
        m_context = std::make_unique<FrameContext>(FrameContext{db(), m_session, m_ini});
        m_main = std::make_unique<TMainForm>(*m_context);
        m_mail = std::make_unique<test::MailServer>();
        m_mail->writeSettings(m_ini);
        db().execute(
            "INSERT INTO accounts_nofi (usernames, passwords) VALUES (:u, :p)",
            SqlParams().bind("u", m_mail->account().usernames).bind("p", m_mail->account().passwords));
    }
    void TearDown() override {
        m_main.reset();
        m_mail.reset();
        AccountsTest::TearDown();
    }
    static void type(QLineEdit* e, const QString& text) {
        e->clear();
        QTest::keyClicks(e, text);
    }
    bool ribbonShown() const {
        return m_main->sPageControl1->isVisibleTo(m_main.get()) && m_main->sPageControl1->isEnabled();
    }
    bool logsIn(const QString& user, const QString& password) {
        DataCon other(database().settings());
        Session s;
        return LoginService(other, s).login(user, password).outcome == LoginService::Outcome::Granted;
    }

    QTemporaryDir m_dir;
    IniFile m_ini{m_dir.filePath("System_Control.ini")};
    Session m_session;
    std::unique_ptr<FrameContext> m_context;
    std::unique_ptr<TMainForm> m_main;
    std::unique_ptr<test::MailServer> m_mail;
    test::ScriptedDialogs m_dialogs;
};

TEST_F(AccountsFormsTest, WrongCredentialsWarnAndChangeNothing) {
    addUser("alice", "pw");
    m_main->show();
    TLogin_forms login(*m_context, *m_main);
    login.show();
    type(login.sEdit1, "alice");
    type(login.sEdit2, "PW");
    QTest::mouseClick(login.sButton1, Qt::LeftButton);
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::Warning);
    EXPECT_EQ(m_dialogs.last().caption, "");
    EXPECT_EQ(m_dialogs.last().text, "Wrong email/number or password!");
    EXPECT_TRUE(login.isVisible());
    EXPECT_TRUE(login.sButton1->isEnabled());
    EXPECT_FALSE(ribbonShown());
    EXPECT_EQ(m_main->panelText(1), "");
}

TEST_F(AccountsFormsTest, EnterLogsInOnceRevealsTheRibbonAndWelcomes) {
    addUser("alice", "pw");
    m_main->show();
    TLogin_forms login(*m_context, *m_main);
    login.show();
    EXPECT_EQ(m_session.pid, QString::number(db().backendPid())); // read at activation
    type(login.sEdit1, "alice");
    type(login.sEdit2, "pw");
    QTest::keyClick(login.sEdit2, Qt::Key_Return);
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.texts().join('|').toStdString();
    EXPECT_TRUE(ribbonShown());
    EXPECT_EQ(m_main->panelText(1), "WELCOME : MARIA DELA CRUZ - local");
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_FALSE(login.isVisible());

    // Enter in the user-name field logs in with the password field as it is.
    TLogin_forms again(*m_context, *m_main);
    again.show();
    type(again.sEdit1, "alice");
    QTest::keyClick(again.sEdit1, Qt::Key_Return);
    EXPECT_EQ(m_dialogs.last().text, "Wrong email/number or password!");
    EXPECT_EQ(m_dialogs.shown().size(), 1u); // one attempt, not two
}

TEST_F(AccountsFormsTest, GuardMessagesForAnAccountInUseElsewhere) {
    addUser("alice", "pw");
    DataCon elsewhere(database().settings());
    Session elsewhereSession;
    ASSERT_EQ(LoginService(elsewhere, elsewhereSession).login("alice", "pw").outcome,
              LoginService::Outcome::Granted);

    TLogin_forms login(*m_context, *m_main);
    login.show();
    type(login.sEdit1, "alice");
    type(login.sEdit2, "pw");
    QTest::mouseClick(login.sButton1, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::Warning);
    EXPECT_EQ(m_dialogs.last().caption, "");
    EXPECT_EQ(m_dialogs.last().text, "This account is already log-in to other unit!");
    EXPECT_FALSE(ribbonShown());

    login.service().setIdleThreshold(std::chrono::seconds(1));
    QThread::msleep(1500);
    QTest::mouseClick(login.sButton1, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::Information);
    EXPECT_EQ(m_dialogs.last().caption, "");
    EXPECT_EQ(m_dialogs.last().text, "Please log-in again, thank you!");
    EXPECT_FALSE(ribbonShown());
    EXPECT_TRUE(login.isVisible());
}

TEST_F(AccountsFormsTest, UnverifiedAccountGetsTheActivationDialogOverTheLogin) {
    const int id = addUser("bob", "pw", 0, false, "bob_s@office.test"); // code 42
    TLogin_forms login(*m_context, *m_main);
    login.show();
    QString usernm, emails;
    QStringList afterWrongCode;
    m_dialogs.onNextModal([&](QDialog& d) {
        auto& a = dynamic_cast<TActivation_forms&>(d);
        usernm = a.usernm();
        emails = a.emails();
        EXPECT_TRUE(ribbonShown());           // already revealed behind the login
        QTest::keyClicks(a.sEdit1, "0x0042"); // only digits get in
        EXPECT_EQ(a.sEdit1->text(), "00042");
        QTest::mouseClick(a.sSpeedButton1, Qt::LeftButton);
        afterWrongCode = m_dialogs.texts();
        a.sEdit1->setText("42");
        QTest::keyClick(a.sEdit1, Qt::Key_Return);
        return a.result();
    });
    type(login.sEdit1, "bob");
    type(login.sEdit2, "pw");
    QTest::mouseClick(login.sButton1, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.modalsShown(), QStringList{"orv::TActivation_forms"});
    EXPECT_EQ(usernm, "bob");
    EXPECT_EQ(emails, "bob_s@office.test");
    EXPECT_EQ(afterWrongCode, QStringList{"Invalid Activation code!"});
    EXPECT_EQ(column(id, "activate_status"), "1");
    EXPECT_TRUE(login.isVisible()); // the login stays open after an unverified grant
    EXPECT_EQ(m_main->panelText(1), "WELCOME : MARIA DELA CRUZ - local");

    // Logging in again in the same run now closes the login.
    QTest::mouseClick(login.sButton1, Qt::LeftButton);
    EXPECT_EQ(login.result(), QDialog::Accepted);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"Invalid Activation code!"});
}

TEST_F(AccountsFormsTest, LinksOpenRecoveryAndSignUpAndXEndsTheProgram) {
    TLogin_forms login(*m_context, *m_main);
    m_main->show();
    login.show();
    emit login.sWebLabel1->linkActivated("#");
    QTest::mouseClick(login.sButton2, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.modalsShown(), (QStringList{"orv::TForgotPass_forms", "orv::TSignup_forms"}));
    EXPECT_TRUE(login.sWebLabel1->isEnabled());
    QTest::keyClick(&login, Qt::Key_Escape); // Escape does not get past the login
    EXPECT_TRUE(login.isVisible());
    QTest::mouseClick(login.sSpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(login.isVisible());
    EXPECT_FALSE(m_main->isVisible());
}

TEST_F(AccountsFormsTest, SignUpEndToEnd) {
    addUser("taken_name", "pw");
    TSignup_forms signup(*m_context);
    signup.show();
    ASSERT_EQ(signup.sComboBox1->count(), 2);
    EXPECT_EQ(signup.sComboBox1->itemText(0), "MUNICIPAL HEALTH OFFICE");
    EXPECT_EQ(signup.sComboBox1->currentIndex(), -1);
    type(signup.sEdit3, "TAKEN_NAME");
    EXPECT_FALSE(signup.sButton1->isEnabled());
    type(signup.sEdit3, "newclerk");
    EXPECT_TRUE(signup.sButton1->isEnabled());
    type(signup.sEdit1, "Ana");
    type(signup.sEdit2, "Reyes");
    type(signup.sEdit4, "Kalabaw-7");
    type(signup.sEdit6, "ana_reyes@office.test");
    QTest::mouseClick(signup.sButton1, Qt::LeftButton); // no office chosen: nothing happens
    EXPECT_TRUE(m_dialogs.modalsShown().isEmpty());
    EXPECT_TRUE(signup.sButton1->isEnabled());

    signup.sComboBox1->setCurrentIndex(1);
    QString mailed;
    m_dialogs.onNextModal([&](QDialog& d) {
        auto& a = dynamic_cast<TActivation_forms&>(d);
        EXPECT_FALSE(signup.isVisible()); // the sign-up made way for the activation
        const auto mail = m_mail->waitForMessages(1);
        EXPECT_EQ(mail.size(), 1u);
        if (mail.empty())
            return int(QDialog::Rejected);
        mailed = QRegularExpression("\\[ (\\d+) \\]").match(mail[0].body).captured(1);
        a.sEdit1->setText(mailed);
        QTest::mouseClick(a.sSpeedButton1, Qt::LeftButton);
        return a.result();
    });
    QTest::mouseClick(signup.sButton1, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.modalsShown(), QStringList{"orv::TActivation_forms"});
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.texts().join('|').toStdString();
    EXPECT_FALSE(mailed.isEmpty());
    const QueryResult row = db().query("SELECT * FROM end_user WHERE usernames = 'newclerk'");
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.text(0, "activate_status"), "1");
    EXPECT_EQ(row.text(0, "officeid"), "1"); // MUNICIPAL MAYOR'S OFFICE
    EXPECT_EQ(row.text(0, "email_code"), mailed);
    EXPECT_TRUE(logsIn("newclerk", "Kalabaw-7"));
}

TEST_F(AccountsFormsTest, SignUpWithTheMailDownStillAsksForTheCodeThenSaysWhy) {
    m_mail->stop();
    TSignup_forms signup(*m_context);
    signup.show();
    type(signup.sEdit1, "Ana");
    type(signup.sEdit2, "Reyes");
    type(signup.sEdit3, "newclerk");
    type(signup.sEdit4, "pw");
    type(signup.sEdit6, "ana@office.test");
    signup.sComboBox1->setCurrentIndex(0);
    bool boxBeforeActivation = true;
    m_dialogs.onNextModal([&](QDialog&) {
        boxBeforeActivation = !m_dialogs.shown().empty();
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(signup.sButton1, Qt::LeftButton);
    EXPECT_FALSE(boxBeforeActivation);
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::None);
    EXPECT_TRUE(m_dialogs.last().text.contains("could not be sent")) << m_dialogs.last().text.toStdString();
    EXPECT_EQ(db().query("SELECT activate_status FROM end_user WHERE usernames = 'newclerk'")
                  .text(0, "activate_status"),
              "0");
}

TEST_F(AccountsFormsTest, ForgotPasswordVerifiesThenMails) {
    addUser("alice", "old pw", 1, false, "alice@office.test");
    TForgotPass_forms recovery(*m_context);
    recovery.show();
    EXPECT_FALSE(recovery.sSpeedButton1->isEnabled());
    type(recovery.sEdit1, " alice ");
    QTest::keyClick(recovery.sEdit1, Qt::Key_Return);
    EXPECT_TRUE(recovery.sSpeedButton1->isEnabled());
    QTest::keyClicks(recovery.sEdit1, "x"); // any change needs a new Enter
    EXPECT_FALSE(recovery.sSpeedButton1->isEnabled());
    QTest::keyClick(recovery.sEdit1, Qt::Key_Return);
    EXPECT_FALSE(recovery.sSpeedButton1->isEnabled());
    QTest::keyClick(recovery.sEdit1, Qt::Key_Backspace);
    QTest::keyClick(recovery.sEdit1, Qt::Key_Return);
    ASSERT_TRUE(recovery.sSpeedButton1->isEnabled());

    m_mail->stop(); // first with the mail server down
    QTest::mouseClick(recovery.sSpeedButton1, Qt::LeftButton);
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::None);
    EXPECT_TRUE(logsIn("alice", "old pw"));
    EXPECT_FALSE(recovery.isVisible());

    m_mail = std::make_unique<test::MailServer>();
    m_mail->writeSettings(m_ini);
    db().execute("UPDATE accounts_nofi SET usernames = :u, passwords = :p",
                 SqlParams().bind("u", m_mail->account().usernames).bind("p", m_mail->account().passwords));
    TForgotPass_forms second(*m_context);
    second.show();
    type(second.sEdit1, "alice");
    QTest::keyClick(second.sEdit1, Qt::Key_Return);
    QTest::mouseClick(second.sSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(second.result(), QDialog::Accepted);
    const auto mail = m_mail->waitForMessages(1);
    ASSERT_EQ(mail.size(), 1u);
    const QString password =
        QRegularExpression("new password \\[ (\\S{10}) \\]").match(mail[0].body).captured(1);
    EXPECT_TRUE(logsIn("alice", password));
    EXPECT_FALSE(logsIn("alice", "old pw"));
}

TEST_F(AccountsFormsTest, ChangePasswordFromTheMainMenu) {
    const int id = addUser("alice", "old pw");
    m_session.userid = QString::number(id);
    const QString before = column(id, "passwords");
    QStringList boxes;
    m_dialogs.onNextModal([&](QDialog& d) {
        auto& c = dynamic_cast<Tchangepass_forms&>(d);
        EXPECT_FALSE(c.sEdit2->isEnabled());
        QTest::mouseClick(c.sSpeedButton1, Qt::LeftButton); // Save before the old password: nothing
        EXPECT_EQ(column(id, "passwords"), before);
        type(c.sEdit1, "wrong");
        QTest::keyClick(c.sEdit1, Qt::Key_Return);
        EXPECT_FALSE(c.sEdit2->isEnabled());
        type(c.sEdit1, " old pw ");
        QTest::keyClick(c.sEdit1, Qt::Key_Return);
        EXPECT_FALSE(c.sEdit1->isEnabled());
        EXPECT_TRUE(c.sEdit2->isEnabled() && c.sEdit3->isEnabled());
        type(c.sEdit2, "new pw");
        type(c.sEdit3, "new pW");
        QTest::mouseClick(c.sSpeedButton1, Qt::LeftButton);
        boxes = m_dialogs.texts();
        type(c.sEdit3, "new pw");
        QTest::mouseClick(c.sSpeedButton1, Qt::LeftButton);
        return c.result();
    });
    m_main->C1Click();
    EXPECT_EQ(m_dialogs.modalsShown(), QStringList{"orv::Tchangepass_forms"});
    EXPECT_EQ(boxes, QStringList{"Please enter your new password again!"});
    EXPECT_EQ(m_dialogs.last().icon, MsgIcon::Information);
    EXPECT_TRUE(logsIn("alice", "new pw"));
}

class SplashTest : public AccountsFormsTest {
protected:
    // Shows the splash and waits until it hands over to the login; returns
    // the splash label's text at that moment.
    QString runSplash(TWelcome_forms& splash) {
        QString label;
        bool loginShown = false;
        m_dialogs.onNextModal([&](QDialog& d) {
            loginShown = dynamic_cast<TLogin_forms*>(&d) != nullptr;
            label = splash.sLabel1->text();
            EXPECT_FALSE(splash.isVisible());
            return int(QDialog::Accepted);
        });
        splash.show();
        for (int i = 0; i < 200 && !loginShown; ++i)
            QTest::qWait(50);
        EXPECT_TRUE(loginShown);
        return label;
    }
    QTemporaryDir m_install;
};

TEST_F(SplashTest, NewerVersionIsRecordedThenTheLoginOpens) {
    database().exec("INSERT INTO apps_update (update_ver) VALUES (3), (5), (7)");
    TWelcome_forms splash(*m_context, *m_main, m_install.path());
    m_session.apps = "no-updater-here";
    splash.setNoticeDelay(10);
    const QString label = runSplash(splash);
    EXPECT_EQ(m_ini.readString("upControl", "versionup"), "5");
    EXPECT_EQ(splash.outcome().newer, "5");
    EXPECT_TRUE(label.contains("could not be started")) << label.toStdString();
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST_F(SplashTest, AFailedVersionQueryIsToldAndTheLoginStillOpens) {
    database().exec("DROP TABLE apps_update");
    TWelcome_forms splash(*m_context, *m_main, m_install.path());
    splash.setNoticeDelay(10);
    const QString label = runSplash(splash);
    EXPECT_TRUE(label.startsWith("The check for a newer version failed")) << label.toStdString();
    EXPECT_FALSE(m_ini.valueExists("upControl", "versionup"));
}

TEST_F(SplashTest, NothingNewerGoesStraightToTheLogin) {
    TWelcome_forms splash(*m_context, *m_main, m_install.path());
    const QString label = runSplash(splash); // no notice: no delay either
    EXPECT_EQ(label, "Loding EmpImpList...");
    EXPECT_TRUE(splash.outcome().notice.isEmpty());
}

} // namespace

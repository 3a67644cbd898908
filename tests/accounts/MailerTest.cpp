#include "accounts/CurlMailer.h"
#include "fixtures/MailServer.h"

#include "IniFile.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace orv;

namespace {

void expectFailure(CurlMailer& mailer, const MailAccount& account, const MailMessage& message,
                   const QString& part) {
    try {
        mailer.send(account, message);
        ADD_FAILURE() << "the send did not fail";
    } catch (const MailError& e) {
        EXPECT_TRUE(e.text().contains(part, Qt::CaseInsensitive)) << e.text().toStdString();
    }
}

const MailMessage Hello{"clerk_one@office.test", "Orvanta",
                        "This is your activation code for <bob> account : [ 42 ]"};

TEST(CurlMailer, DeliversOverImplicitTlsWithTheNotificationAccount) {
    test::MailServer server;
    CurlMailer mailer(server.settings());
    mailer.send(server.account(), Hello);
    const auto got = server.waitForMessages(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].authUser, server.options().user);
    EXPECT_EQ(got[0].mailFrom, server.options().user); // the account's name is a mail address
    EXPECT_EQ(got[0].from, server.options().user);
    EXPECT_EQ(got[0].recipients, QStringList{"clerk_one@office.test"});
    EXPECT_EQ(got[0].subject, "Orvanta");
    EXPECT_EQ(got[0].body.trimmed(), Hello.body);
}

TEST(CurlMailer, NonAsciiTextAndAnAccountNameThatIsNoAddress) {
    test::MailServer::Options o;
    o.user = "notifier";
    test::MailServer server(o);
    CurlMailer mailer(server.settings());
    mailer.send(server.account(), {"ana@office.test", "Orvanta ñ", "Línea con ñ\n. a line with a dot"});
    const auto got = server.waitForMessages(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].mailFrom, "<>"); // no sender address
    EXPECT_EQ(got[0].subject, "Orvanta ñ");
    EXPECT_EQ(got[0].body.trimmed(), "Línea con ñ\n. a line with a dot");
}

TEST(CurlMailer, TheServerCertificateIsChecked) {
    test::MailServer server;
    MailSettings noCa = server.settings();
    noCa.caFile.clear(); // self-signed: not trusted without it
    CurlMailer strict(noCa);
    expectFailure(strict, server.account(), Hello, "certificate");
    EXPECT_TRUE(server.messages().empty());

    MailSettings unchecked = noCa;
    unchecked.verifyPeer = false;
    CurlMailer lax(unchecked);
    lax.send(server.account(), Hello);
    EXPECT_EQ(server.waitForMessages(1).size(), 1u);
}

TEST(CurlMailer, FailuresCarryTheReason) {
    test::MailServer server;
    CurlMailer mailer(server.settings());
    expectFailure(mailer, {server.options().user, "wrong"}, Hello, "Login denied");

    test::MailServer::Options rejecting;
    rejecting.rejectRecipients = true;
    test::MailServer refusing(rejecting);
    CurlMailer toRefusing(refusing.settings());
    expectFailure(toRefusing, refusing.account(), Hello, "could not be sent");

    MailSettings none = server.settings();
    none.host.clear();
    CurlMailer unset(none);
    expectFailure(unset, server.account(), Hello, "Host in section [Mail]");

    // An address that would reach into the SMTP dialogue is refused before connecting.
    expectFailure(mailer, server.account(), {"a@b.test>\r\nRCPT TO:<c@d.test", "Orvanta", "x"},
                  "not a valid");
    expectFailure(mailer, server.account(), {"", "Orvanta", "x"}, "not a valid");

    const int port = server.port();
    server.stop();
    MailSettings down = server.settings();
    down.port = port;
    CurlMailer toDown(down);
    expectFailure(toDown, server.account(), Hello, QString::number(port));
    EXPECT_TRUE(refusing.messages().empty());
}

TEST(MailSettings, ReadsTheMailSectionWithItsDefaults) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("System_Control.ini"));
    MailSettings s = MailSettings::fromIni(ini);
    EXPECT_TRUE(s.host.isEmpty()); // no default that points anywhere real
    EXPECT_EQ(s.port, 465);
    EXPECT_TRUE(s.verifyPeer);
    ini.writeString("mail", "host", "smtp.office.test");
    ini.writeString("Mail", "Port", "2465");
    ini.writeString("Mail", "CAFile", "/etc/orvanta/mail-ca.pem");
    ini.writeString("Mail", "VerifyPeer", "0");
    s = MailSettings::fromIni(ini);
    EXPECT_EQ(s.host, "smtp.office.test");
    EXPECT_EQ(s.port, 2465);
    EXPECT_EQ(s.caFile, "/etc/orvanta/mail-ca.pem");
    EXPECT_FALSE(s.verifyPeer);
}

} // namespace

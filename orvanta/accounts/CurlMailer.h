#pragma once

#include "MailSettings.h"
#include "Mailer.h"

#include <QByteArray>

namespace orv {

// Sends mail over SMTP with implicit TLS (smtps://host:port) through libcurl,
// logging in with the notification account. The server's certificate is
// checked against the system's trusted certificates plus CAFile, unless
// VerifyPeer=0. The From address is the account's user name when that is a
// mail address; otherwise the envelope sender stays empty.
class CurlMailer : public Mailer {
public:
    explicit CurlMailer(MailSettings settings);

    void send(const MailAccount& account, const MailMessage& message) override;

    // The message as it goes over the wire (headers and body, CRLF line ends).
    static QByteArray compose(const QString& from, const MailMessage& message);

private:
    MailSettings m_settings;
};

} // namespace orv

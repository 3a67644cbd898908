#pragma once

#include "data/Errors.h"

#include <QString>

namespace orv {

// The system's notification mail account (table accounts_nofi, first row).
struct MailAccount {
    QString usernames;
    QString passwords;
};

struct MailMessage {
    QString to;
    QString subject;
    QString body;
};

// A mail that could not be handed to the server; the text says why.
class MailError : public UserError {
public:
    using UserError::UserError;
};

// Sends one message with the notification account. Throws MailError.
class Mailer {
public:
    virtual ~Mailer() = default;
    virtual void send(const MailAccount& account, const MailMessage& message) = 0;
};

} // namespace orv

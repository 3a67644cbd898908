#pragma once

#include "Mailer.h"

namespace orv {

class DataCon;

// Reads the notification mail account; throws MailError when the table
// holds none, since no mail can go out then.
class NotificationAccount {
public:
    static MailAccount read(DataCon& db);
};

} // namespace orv

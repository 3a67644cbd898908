#pragma once

#include <QString>

namespace orv {

class IniFile;

// Where mail goes, from section [Mail] of the settings file:
//   Host        the SMTP server of the notification account's provider (no default)
//   Port        465 (implicit TLS from the first byte)
//   CAFile      optional PEM file with an extra certificate to trust
//   VerifyPeer  1 (check the server's certificate and name); 0 turns the check off
struct MailSettings {
    QString host;
    int port = 465;
    QString caFile;
    bool verifyPeer = true;
    int connectTimeoutSeconds = 20;
    int timeoutSeconds = 60;

    static MailSettings fromIni(const IniFile& ini);
};

} // namespace orv

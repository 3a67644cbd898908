#include "MailSettings.h"

#include "IniFile.h"

namespace orv {

MailSettings MailSettings::fromIni(const IniFile& ini) {
    const QString section = QStringLiteral("Mail");
    MailSettings s;
    s.host = ini.readString(section, QStringLiteral("Host")).trimmed();
    s.port = ini.readInteger(section, QStringLiteral("Port"), 465);
    s.caFile = ini.readString(section, QStringLiteral("CAFile")).trimmed();
    s.verifyPeer = ini.readString(section, QStringLiteral("VerifyPeer")).trimmed() != QLatin1String("0");
    return s;
}

} // namespace orv

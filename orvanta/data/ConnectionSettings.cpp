#include "ConnectionSettings.h"
#include "Errors.h"

#include "Cipher.h"
#include "IniFile.h"

namespace orv {

namespace {

const QString Section = QStringLiteral("Sql_config");

std::uint16_t seedOf(const IniFile& ini, const QString& key, const QString& what) {
    const QString text = ini.readString(Section, key);
    const auto seed = parseSeed(text);
    if (!seed)
        throw SettingsError(
            QStringLiteral("The settings file %1 has no valid key number for the %2: [%3] \"%4\" must be a "
                           "whole number, but it is %5. Please contact your System Administrator.")
                .arg(ini.path(), what, Section, key,
                     text.isEmpty() ? QStringLiteral("missing") : QStringLiteral("\"%1\"").arg(text)));
    return *seed;
}

QString deciphered(const IniFile& ini, const QString& seedKey, const QString& valueKey, const QString& what) {
    const std::uint16_t seed = seedOf(ini, seedKey, what);
    return DecryptStr(QString::fromLatin1(ini.readBytes(Section, valueKey)), seed);
}

std::string quoted(const QString& value) {
    std::string out = "'";
    for (const char c : value.toStdString()) {
        if (c == '\'' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "'";
}

} // namespace

ConnectionSettings ConnectionSettings::fromIni(const IniFile& ini) {
    ConnectionSettings s;
    s.password = deciphered(ini, QStringLiteral("1"), QStringLiteral("Password"), QStringLiteral("password"));
    s.server = deciphered(ini, QStringLiteral("2"), QStringLiteral("Server"), QStringLiteral("server"));
    s.database = deciphered(ini, QStringLiteral("3"), QStringLiteral("Database"), QStringLiteral("database"));
    const QString port = ini.readString(Section, QStringLiteral("Port")).trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        s.port = port.toInt(&ok);
        if (!ok || s.port <= 0 || s.port > 65535)
            throw SettingsError(
                QStringLiteral("The settings file %1 has an invalid port: [%2] \"Port\" is \"%3\". "
                               "Please contact your System Administrator.")
                    .arg(ini.path(), Section, port));
    }
    return s;
}

ConnectionSettings ConnectionSettings::withDatabase(const QString& name) const {
    ConnectionSettings s = *this;
    s.database = name;
    return s;
}

std::string ConnectionSettings::conninfo() const {
    return "host=" + quoted(server) + " port=" + std::to_string(port) + " dbname=" + quoted(database) +
           " user=" + quoted(user) + " password=" + quoted(password) +
           " application_name=" + quoted(applicationName) +
           " connect_timeout=" + std::to_string(connectTimeoutSeconds) + " client_encoding='UTF8'";
}

QString ConnectionSettings::describe() const {
    return QStringLiteral("%1 on %2:%3").arg(database, server).arg(port);
}

} // namespace orv

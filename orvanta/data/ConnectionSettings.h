#pragma once

#include <QString>

#include <string>

namespace orv {

class IniFile;

// Where and how the program reaches its database. Server, database and
// password come enciphered from section [Sql_config] of the settings file;
// the port is 5432 unless [Sql_config] Port says otherwise.
struct ConnectionSettings {
    QString server;
    QString database;
    QString password;
    int port = 5432;
    QString user = QStringLiteral("postgres");
    QString applicationName = QStringLiteral("Orvanta");
    int connectTimeoutSeconds = 50;

    // Throws SettingsError naming the missing or bad key.
    static ConnectionSettings fromIni(const IniFile& ini);

    // The same server and credentials, another database (the payroll database).
    ConnectionSettings withDatabase(const QString& name) const;

    // libpq connection string; every value quoted.
    std::string conninfo() const;
    // "database on server:port", for messages.
    QString describe() const;
};

} // namespace orv

// encipher: writes a ready [Sql_config] section for a server, database and password.
#include "CliContext.h"
#include "Commands.h"

#include "Cipher.h"
#include "data/Errors.h"

namespace orv::cli {

int runEncipher(CliContext& c) {
    c.allowOnly({QStringLiteral("server"), QStringLiteral("database"), QStringLiteral("password"),
                 QStringLiteral("port"), QStringLiteral("write"), QStringLiteral("settings")});
    const QString server = c.required(QStringLiteral("server"));
    const QString database = c.required(QStringLiteral("database"));
    // The password is read from standard input unless given, so it stays out of the shell history.
    const QString password = c.option(QStringLiteral("password")).value_or(c.readLine());
    const std::optional<QString> port = c.option(QStringLiteral("port"));
    if (port) {
        bool ok = false;
        const int p = port->toInt(&ok);
        if (!ok || p <= 0 || p > 65535)
            throw UserError(
                QStringLiteral("--port must be a number from 1 to 65535, not \"%1\".").arg(*port));
    }

    struct Entry {
        QString seedKey, valueKey;
        Enciphered value;
    };
    const Entry entries[] = {{QStringLiteral("1"), QStringLiteral("Password"), encipherForIni(password)},
                             {QStringLiteral("2"), QStringLiteral("Server"), encipherForIni(server)},
                             {QStringLiteral("3"), QStringLiteral("Database"), encipherForIni(database)}};
    const QString section = QStringLiteral("Sql_config");
    if (c.flag(QStringLiteral("write"))) {
        IniFile& ini = c.settings();
        for (const Entry& e : entries) {
            ini.writeString(section, e.seedKey, QString::number(e.value.seed));
            ini.writeString(section, e.valueKey, e.value.value);
        }
        if (port)
            ini.writeString(section, QStringLiteral("Port"), *port);
        else
            ini.eraseKey(section, QStringLiteral("Port"));
        c.out() << "Wrote [Sql_config] to " << c.settingsPath() << "\n";
        return 0;
    }
    // The enciphered values are Latin-1 bytes: write them as such.
    QByteArray text = "[Sql_config]\n";
    for (const Entry& e : entries) {
        text += e.seedKey.toLatin1() + '=' + QByteArray::number(e.value.seed) + '\n';
        text += e.valueKey.toLatin1() + '=' + e.value.value.toLatin1() + '\n';
    }
    if (port)
        text += "Port=" + port->toLatin1() + '\n';
    c.out().flush();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace orv::cli

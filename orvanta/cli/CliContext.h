#pragma once

#include "data/DataCon.h"

#include "IniFile.h"

#include <QStringList>
#include <QTextStream>

#include <memory>
#include <optional>

namespace orv::cli {

// A command's view of its command line, its output and the system.
class CliContext {
public:
    CliContext(QStringList arguments, QString settingsPath, QTextStream& out, QTextStream& err);

    const QStringList& arguments() const { return m_arguments; }
    // "--name value" or "--name=value"; nullopt when absent. Throws UserError
    // when the option is given without a value.
    std::optional<QString> option(const QString& name) const;
    // Like option(), but a missing option is a UserError naming it.
    QString required(const QString& name) const;
    bool flag(const QString& name) const;
    // A required whole number option.
    int integer(const QString& name) const;
    // Arguments that are not options or option values.
    QStringList positional() const;
    // Refuses options the command does not know, so a typo is not silently ignored.
    void allowOnly(const QStringList& names) const;

    QTextStream& out() { return m_out; }
    QTextStream& err() { return m_err; }
    // One line from standard input (for passwords), without the line end.
    QString readLine();

    const QString& settingsPath() const { return m_settingsPath; }
    IniFile& settings() { return m_ini; }
    // The program's database connection, made from the settings file on
    // first use (as Orvanta makes it). Throws SettingsError/ConnectionError.
    DataCon& db();

private:
    QStringList m_arguments;
    QString m_settingsPath;
    QTextStream& m_out;
    QTextStream& m_err;
    IniFile m_ini;
    std::unique_ptr<DataCon> m_db;
};

// A command: its name, a one-line summary, its usage, and what it does.
// run() returns the exit status; errors thrown are printed by the caller.
struct Command {
    QString name;
    QString summary;
    QString usage;
    int (*run)(CliContext&);
};

const std::vector<Command>& commands();

} // namespace orv::cli

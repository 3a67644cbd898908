#include "CliContext.h"

#include "data/Errors.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace orv::cli {

CliContext::CliContext(QStringList arguments, QString settingsPath, QTextStream& out, QTextStream& err)
    : m_arguments(std::move(arguments)), m_settingsPath(std::move(settingsPath)), m_out(out), m_err(err),
      m_ini(m_settingsPath) {}

std::optional<QString> CliContext::option(const QString& name) const {
    const QString flagName = QStringLiteral("--") + name;
    for (qsizetype i = 0; i < m_arguments.size(); ++i) {
        const QString& a = m_arguments.at(i);
        if (a == flagName) {
            if (i + 1 >= m_arguments.size())
                throw UserError(QStringLiteral("%1 needs a value.").arg(flagName));
            return m_arguments.at(i + 1);
        }
        if (a.startsWith(flagName + QLatin1Char('=')))
            return a.mid(flagName.size() + 1);
    }
    return std::nullopt;
}

QString CliContext::required(const QString& name) const {
    const auto v = option(name);
    if (!v || v->isEmpty())
        throw UserError(QStringLiteral("--%1 is required.").arg(name));
    return *v;
}

bool CliContext::flag(const QString& name) const {
    return m_arguments.contains(QStringLiteral("--") + name);
}

int CliContext::integer(const QString& name) const {
    const QString text = required(name);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw UserError(QStringLiteral("--%1 must be a whole number, not \"%2\".").arg(name, text));
    return value;
}

QStringList CliContext::positional() const {
    QStringList out;
    for (qsizetype i = 0; i < m_arguments.size(); ++i) {
        const QString& a = m_arguments.at(i);
        if (a.startsWith(QLatin1String("--"))) {
            if (!a.contains(QLatin1Char('=')) && i + 1 < m_arguments.size() &&
                !m_arguments.at(i + 1).startsWith(QLatin1String("--")))
                ++i; // its value
            continue;
        }
        out << a;
    }
    return out;
}

void CliContext::allowOnly(const QStringList& names) const {
    for (const QString& a : m_arguments) {
        if (!a.startsWith(QLatin1String("--")))
            continue;
        const QString name = a.mid(2).section(QLatin1Char('='), 0, 0);
        if (!names.contains(name))
            throw UserError(QStringLiteral("Unknown option --%1.").arg(name));
    }
}

QString CliContext::readLine() {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

DataCon& CliContext::db() {
    if (!m_db) {
        if (!m_ini.exists())
            throw SettingsError(QStringLiteral("The settings file %1 does not exist.").arg(m_settingsPath));
        auto db = std::make_unique<DataCon>(ConnectionSettings::fromIni(m_ini));
        db->setFatalHandler([](const QString& reason) {
            std::fprintf(stderr, "The connection to the database was lost twice: %s\n",
                         reason.toLocal8Bit().constData());
        });
        db->connect();
        m_db = std::move(db);
    }
    return *m_db;
}

} // namespace orv::cli

#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace orv {

// An error whose message a clerk can read and act on.
class UserError : public std::runtime_error {
public:
    explicit UserError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// The settings file lacks what the connection needs.
class SettingsError : public UserError {
public:
    using UserError::UserError;
};

// The database cannot be reached (refused, wrong password, unknown host,
// time-out, lost twice).
class ConnectionError : public UserError {
public:
    using UserError::UserError;
};

// The text of any exception, for a message box or the command line.
QString errorText(const std::exception_ptr& error);

} // namespace orv

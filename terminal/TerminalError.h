#pragma once

#include <QString>

#include <stdexcept>

namespace orv {

// A failed exchange with a terminal: unreachable, timed out, or a reply that
// does not follow the protocol. The message says which, in words a clerk can
// pass on to the office's IT staff.
class TerminalError : public std::runtime_error {
public:
    explicit TerminalError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

} // namespace orv

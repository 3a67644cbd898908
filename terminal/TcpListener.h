#pragma once

#include "TcpSocket.h"

#include <QString>

namespace orv {

// A listening TCP socket.
class TcpListener {
public:
    // Binds address:port (port 0 picks a free one) and listens.
    TcpListener(const QString& address, int port);
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    int port() const { return m_port; }
    // A new connection, or a closed socket when none came within timeoutMs.
    TcpSocket accept(int timeoutMs);

private:
    int m_fd = -1;
    int m_port = 0;
};

} // namespace orv

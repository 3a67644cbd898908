#include "TcpListener.h"
#include "TerminalError.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv {

namespace {
QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}
} // namespace

TcpListener::TcpListener(const QString& address, int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::inet_pton(AF_INET, address.toLatin1().constData(), &addr.sin_addr) != 1)
        throw TerminalError(QStringLiteral("%1 is not an IPv4 address to listen on.").arg(address));
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        throw TerminalError(QStringLiteral("Cannot open a socket: %1").arg(systemError(errno)));
    const int one = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_fd, 16) != 0) {
        const int code = errno;
        ::close(m_fd);
        m_fd = -1;
        throw TerminalError(
            QStringLiteral("Cannot listen on %1:%2: %3").arg(address).arg(port).arg(systemError(code)));
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL, 0) | O_NONBLOCK);
    socklen_t len = sizeof addr;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
}

TcpListener::~TcpListener() {
    if (m_fd >= 0)
        ::close(m_fd);
}

TcpSocket TcpListener::accept(int timeoutMs) {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return {};
    const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return {};
    return TcpSocket(fd);
}

} // namespace orv

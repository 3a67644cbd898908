#include "TcpSocket.h"
#include "TerminalError.h"

#include <QDeadlineTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orv {

namespace {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

[[noreturn]] void lost(int code) {
    if (code == ECONNRESET || code == EPIPE)
        throw TerminalError(QStringLiteral("The terminal closed the connection."));
    throw TerminalError(QStringLiteral("The connection to the terminal was lost: %1").arg(systemError(code)));
}

void setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// poll() for one event, retried on EINTR, bounded by the deadline.
int waitFor(int fd, short events, const QDeadlineTimer& deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int left = static_cast<int>(qMax<qint64>(0, deadline.remainingTime()));
        const int r = ::poll(&p, 1, left);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            throw TerminalError(
                QStringLiteral("Waiting for the terminal failed: %1").arg(systemError(errno)));
        return r == 0 ? 0 : p.revents;
    }
}

} // namespace

TcpSocket::TcpSocket(int fd) : m_fd(fd) {
    if (m_fd >= 0) {
        setNonBlocking(m_fd);
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
}

TcpSocket::~TcpSocket() {
    close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void TcpSocket::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void TcpSocket::shutdown() {
    if (m_fd >= 0)
        ::shutdown(m_fd, SHUT_RDWR);
}

TcpSocket TcpSocket::connectTo(const QString& host, int port, int timeoutMs) {
    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    if (port <= 0 || port > 65535)
        throw TerminalError(QStringLiteral("The terminal's port %1 is not a valid port number.").arg(port));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray name = host.trimmed().toUtf8();
    const QByteArray service = QByteArray::number(port);
    const int rc = ::getaddrinfo(name.constData(), service.constData(), &hints, &found);
    if (rc != 0 || !found)
        throw TerminalError(QStringLiteral("The terminal address %1 is unknown: %2")
                                .arg(host, QString::fromLocal8Bit(::gai_strerror(rc))));
    QDeadlineTimer deadline(timeoutMs);
    QString lastReason = QStringLiteral("no address");
    for (addrinfo* a = found; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            lastReason = systemError(errno);
            continue;
        }
        TcpSocket s(fd);
        if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            ::freeaddrinfo(found);
            return s;
        }
        if (errno != EINPROGRESS) {
            lastReason = systemError(errno);
            continue;
        }
        const int ev = waitFor(fd, POLLOUT, deadline);
        if (ev == 0) {
            lastReason = QStringLiteral("no answer within %1 s").arg(timeoutMs / 1000.0);
            break;
        }
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len);
        if (err == 0) {
            ::freeaddrinfo(found);
            return s;
        }
        lastReason = systemError(err);
    }
    ::freeaddrinfo(found);
    throw TerminalError(QStringLiteral("Unable to reach the terminal at %1: %2").arg(where, lastReason));
}

void TcpSocket::writeAll(const QByteArray& data, int timeoutMs) {
    if (m_fd < 0)
        throw TerminalError(QStringLiteral("The connection to the terminal is closed."));
    QDeadlineTimer deadline(timeoutMs);
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n =
            ::send(m_fd, data.constData() + sent, static_cast<size_t>(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (waitFor(m_fd, POLLOUT, deadline) == 0)
                throw TerminalError(QStringLiteral("The terminal did not take our request within %1 s.")
                                        .arg(timeoutMs / 1000.0));
            continue;
        }
        lost(errno);
    }
}

QByteArray TcpSocket::readSome(int max, int timeoutMs) {
    if (m_fd < 0)
        throw TerminalError(QStringLiteral("The connection to the terminal is closed."));
    QDeadlineTimer deadline(timeoutMs);
    QByteArray buffer(max, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::recv(m_fd, buffer.data(), static_cast<size_t>(max), 0);
        if (n > 0) {
            buffer.truncate(n);
            return buffer;
        }
        if (n == 0)
            throw TerminalError(QStringLiteral("The terminal closed the connection."));
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            lost(errno);
        if (waitFor(m_fd, POLLIN, deadline) == 0)
            return {};
    }
}

} // namespace orv

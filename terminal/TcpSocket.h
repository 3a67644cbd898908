#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// A connected TCP socket (POSIX), closed with the object. Blocking calls take
// a time-out and throw TerminalError when it passes, when the peer closes the
// connection or when the system reports an error. The socket belongs to no
// thread; it must only not be used from two threads at once.
class TcpSocket {
public:
    TcpSocket() = default;
    explicit TcpSocket(int fd);
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Connects within timeoutMs (name lookup included). TCP_NODELAY is set.
    static TcpSocket connectTo(const QString& host, int port, int timeoutMs);

    bool isOpen() const { return m_fd >= 0; }
    void close();
    // Ends both directions at once; a thread blocked in poll() wakes up.
    void shutdown();

    void writeAll(const QByteArray& data, int timeoutMs);
    // Up to max bytes; waits at most timeoutMs for the first. Returns an empty
    // array on time-out. Throws when the peer has closed the connection.
    QByteArray readSome(int max, int timeoutMs);

private:
    int m_fd = -1;
};

} // namespace orv

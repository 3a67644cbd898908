#pragma once

#include "TcpSocket.h"
#include "ZkProtocol.h"

#include <QByteArray>

#include <optional>

namespace orv {

// Frames terminal packets on a TCP stream by their length prefix: a read may
// hold several packets, and a packet may arrive over several reads.
class PacketStream {
public:
    PacketStream() = default;
    explicit PacketStream(TcpSocket socket) : m_socket(std::move(socket)) {}

    TcpSocket& socket() { return m_socket; }
    bool isOpen() const { return m_socket.isOpen(); }
    void close() {
        m_socket.close();
        m_buffer.clear();
    }

    // The next whole payload (header + data), or nullopt when none was
    // complete within timeoutMs (bytes of a partial packet are kept). Throws
    // TerminalError when the peer closed the connection or the prefix is bad.
    std::optional<QByteArray> readPayload(int timeoutMs);
    // readPayload, decoded; a missing reply is a TerminalError that says so.
    zk::Packet readPacket(int timeoutMs, bool verifyChecksum = true);

    void write(const QByteArray& frame, int timeoutMs) { m_socket.writeAll(frame, timeoutMs); }

private:
    std::optional<QByteArray> takePayload();

    TcpSocket m_socket;
    QByteArray m_buffer;
};

} // namespace orv

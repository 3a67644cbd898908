#include "PacketStream.h"
#include "TerminalError.h"

#include <QDeadlineTimer>

namespace orv {

std::optional<QByteArray> PacketStream::takePayload() {
    if (m_buffer.size() < zk::kPrefixSize)
        return std::nullopt;
    const quint32 length = zk::payloadLength(m_buffer.constData());
    if (m_buffer.size() < zk::kPrefixSize + static_cast<qsizetype>(length))
        return std::nullopt;
    QByteArray payload = m_buffer.mid(zk::kPrefixSize, length);
    m_buffer.remove(0, zk::kPrefixSize + length);
    return payload;
}

std::optional<QByteArray> PacketStream::readPayload(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (auto payload = takePayload())
            return payload;
        const int left = static_cast<int>(qMax<qint64>(0, deadline.remainingTime()));
        const QByteArray chunk = m_socket.readSome(256 * 1024, left);
        if (chunk.isEmpty())
            return std::nullopt;
        m_buffer.append(chunk);
    }
}

zk::Packet PacketStream::readPacket(int timeoutMs, bool verifyChecksum) {
    const auto payload = readPayload(timeoutMs);
    if (!payload)
        throw TerminalError(
            QStringLiteral("The terminal did not answer within %1 s.").arg(timeoutMs / 1000.0, 0, 'g', 3));
    return zk::decodePayload(*payload, verifyChecksum);
}

} // namespace orv

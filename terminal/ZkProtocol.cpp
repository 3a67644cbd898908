#include "ZkProtocol.h"
#include "TerminalError.h"

namespace orv::zk {

namespace {
constexpr unsigned char kMagic[4] = {0x50, 0x50, 0x82, 0x7D};
}

void putU16(QByteArray& out, quint16 v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void putU32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

quint16 getU16(const QByteArray& in, int offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(in.constData()) + offset;
    return static_cast<quint16>(p[0] | (p[1] << 8));
}

quint32 getU32(const QByteArray& in, int offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(in.constData()) + offset;
    return static_cast<quint32>(p[0]) | (static_cast<quint32>(p[1]) << 8) |
           (static_cast<quint32>(p[2]) << 16) | (static_cast<quint32>(p[3]) << 24);
}

quint16 checksum(const QByteArray& payload) {
    const auto* p = reinterpret_cast<const unsigned char*>(payload.constData());
    const qsizetype n = payload.size();
    quint32 sum = 0;
    qsizetype i = 0;
    for (; i + 1 < n; i += 2) {
        sum += static_cast<quint32>(p[i] | (p[i + 1] << 8));
        if (sum > 0xFFFF)
            sum -= 0xFFFF;
    }
    if (i < n) {
        sum += p[i];
        if (sum > 0xFFFF)
            sum -= 0xFFFF;
    }
    return static_cast<quint16>(~sum & 0xFFFF);
}

QByteArray encodePayload(quint16 command, quint16 session, quint16 reply, const QByteArray& data) {
    QByteArray out;
    out.reserve(kHeaderSize + data.size());
    putU16(out, command);
    putU16(out, 0);
    putU16(out, session);
    putU16(out, reply);
    out.append(data);
    const quint16 sum = checksum(out);
    out[2] = static_cast<char>(sum & 0xFF);
    out[3] = static_cast<char>(sum >> 8);
    return out;
}

QByteArray encodeFrame(quint16 command, quint16 session, quint16 reply, const QByteArray& data) {
    const QByteArray payload = encodePayload(command, session, reply, data);
    QByteArray out;
    out.reserve(kPrefixSize + payload.size());
    out.append(reinterpret_cast<const char*>(kMagic), 4);
    putU32(out, static_cast<quint32>(payload.size()));
    out.append(payload);
    return out;
}

quint32 payloadLength(const char* prefix) {
    for (int i = 0; i < 4; ++i)
        if (static_cast<unsigned char>(prefix[i]) != kMagic[i])
            throw TerminalError(QStringLiteral("The terminal sent data that is not a terminal reply "
                                               "(wrong packet start)."));
    const QByteArray bytes(prefix + 4, 4);
    const quint32 length = getU32(bytes, 0);
    if (length < kHeaderSize)
        throw TerminalError(
            QStringLiteral("The terminal sent a packet too short to hold a header (%1 bytes).").arg(length));
    if (length > kMaxPayload)
        throw TerminalError(
            QStringLiteral("The terminal announced a packet of %1 bytes, more than any reply can hold.")
                .arg(length));
    return length;
}

Packet decodePayload(const QByteArray& payload, bool verify) {
    if (payload.size() < kHeaderSize)
        throw TerminalError(
            QStringLiteral("The terminal sent a packet too short to hold a header (%1 bytes).")
                .arg(payload.size()));
    if (verify && checksum(payload) != 0)
        throw TerminalError(QStringLiteral("The terminal's reply arrived damaged (checksum mismatch)."));
    Packet p;
    p.command = getU16(payload, 0);
    p.checksum = getU16(payload, 2);
    p.session = getU16(payload, 4);
    p.reply = getU16(payload, 6);
    p.data = payload.mid(kHeaderSize);
    return p;
}

quint32 encodeTime(const DeviceTime& t) {
    const quint32 days = static_cast<quint32>((t.year % 100) * 12 * 31 + (t.month - 1) * 31 + (t.day - 1));
    return days * 86400u + static_cast<quint32>((t.hour * 60 + t.minute) * 60 + t.second);
}

DeviceTime decodeTime(quint32 value) {
    DeviceTime t;
    t.second = static_cast<int>(value % 60);
    value /= 60;
    t.minute = static_cast<int>(value % 60);
    value /= 60;
    t.hour = static_cast<int>(value % 24);
    value /= 24;
    t.day = static_cast<int>(value % 31) + 1;
    value /= 31;
    t.month = static_cast<int>(value % 12) + 1;
    value /= 12;
    t.year = 2000 + static_cast<int>(value);
    return t;
}

DeviceTime toDeviceTime(const QDateTime& local) {
    const QDate d = local.date();
    const QTime tm = local.time();
    return {d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second()};
}

QDateTime toDateTime(const DeviceTime& t) {
    const QDate d(t.year, t.month, t.day);
    const QTime tm(t.hour, t.minute, t.second);
    if (!d.isValid() || !tm.isValid())
        return {};
    return QDateTime(d, tm);
}

QByteArray bulkRequest(quint16 innerCommand, quint32 fct) {
    QByteArray out;
    out.append('\x01');
    putU16(out, innerCommand);
    putU32(out, fct);
    putU32(out, 0);
    return out;
}

} // namespace orv::zk

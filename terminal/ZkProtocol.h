#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

#include <optional>

// The wire format of ZKTeco standalone terminals on TCP port 4370: an 8-byte
// stream prefix (magic and payload length), an 8-byte command header
// (command, checksum, session id, reply number), then the command's data.
// All integers are little-endian.
namespace orv::zk {

// Commands.
inline constexpr quint16 CMD_CONNECT = 1000;
inline constexpr quint16 CMD_EXIT = 1001;
inline constexpr quint16 CMD_ENABLEDEVICE = 1002;
inline constexpr quint16 CMD_DISABLEDEVICE = 1003;
inline constexpr quint16 CMD_RESTART = 1004;
inline constexpr quint16 CMD_REFRESHDATA = 1013;
inline constexpr quint16 CMD_REFRESHOPTION = 1014;
inline constexpr quint16 CMD_GET_VERSION = 1100;
inline constexpr quint16 CMD_AUTH = 1102;
inline constexpr quint16 CMD_PREPARE_DATA = 1500;
inline constexpr quint16 CMD_DATA = 1501;
inline constexpr quint16 CMD_FREE_DATA = 1502;
inline constexpr quint16 CMD_DATA_WRRQ = 1503;
inline constexpr quint16 CMD_DATA_RDY = 1504;
inline constexpr quint16 CMD_DB_RRQ = 7;
inline constexpr quint16 CMD_USER_WRQ = 8;
inline constexpr quint16 CMD_USERTEMP_RRQ = 9;
inline constexpr quint16 CMD_OPTIONS_RRQ = 11;
inline constexpr quint16 CMD_OPTIONS_WRQ = 12;
inline constexpr quint16 CMD_ATTLOG_RRQ = 13;
inline constexpr quint16 CMD_CLEAR_DATA = 14;
inline constexpr quint16 CMD_CLEAR_ATTLOG = 15;
inline constexpr quint16 CMD_DELETE_USER = 18;
inline constexpr quint16 CMD_DELETE_USERTEMP = 19;
inline constexpr quint16 CMD_GET_FREE_SIZES = 50;
inline constexpr quint16 CMD_STARTVERIFY = 60;
inline constexpr quint16 CMD_STARTENROLL = 61;
inline constexpr quint16 CMD_CANCELCAPTURE = 62;
inline constexpr quint16 CMD_STATE_RRQ = 64;
inline constexpr quint16 CMD_TMP_WRITE = 87;
inline constexpr quint16 CMD_GET_USERTEMP = 88;
inline constexpr quint16 CMD_CHECKSUM_BUFFER = 119;
inline constexpr quint16 CMD_DEL_FPTMP = 134;
// Face templates are documented by no public source. 150 is the read that
// users report; 151 is this project's own write. Both are a private extension
// that our simulator serves; a terminal that refuses them has no face support
// through this client.
inline constexpr quint16 CMD_FACE_RRQ = 150;
inline constexpr quint16 CMD_FACE_WRQ = 151;
inline constexpr quint16 CMD_GET_TIME = 201;
inline constexpr quint16 CMD_SET_TIME = 202;
inline constexpr quint16 CMD_REG_EVENT = 500;

// Replies.
inline constexpr quint16 CMD_ACK_OK = 2000;
inline constexpr quint16 CMD_ACK_ERROR = 2001;
inline constexpr quint16 CMD_ACK_DATA = 2002;
inline constexpr quint16 CMD_ACK_RETRY = 2003;
inline constexpr quint16 CMD_ACK_REPEAT = 2004;
inline constexpr quint16 CMD_ACK_UNAUTH = 2005;
inline constexpr quint16 CMD_ACK_UNKNOWN = 65535;
inline constexpr quint16 CMD_ACK_ERROR_CMD = 65533;

// Data-type codes of bulk reads.
inline constexpr quint32 FCT_ATTLOG = 1;
inline constexpr quint32 FCT_FINGERTMP = 2;
inline constexpr quint32 FCT_USER = 5;

inline constexpr int kPrefixSize = 8;
inline constexpr int kHeaderSize = 8;
// Largest data block one bulk-read chunk asks for over TCP.
inline constexpr quint32 kMaxChunk = 0xFFC0;
// A payload length above this is not a terminal talking: refuse it before
// allocating anything.
inline constexpr quint32 kMaxPayload = 1u << 20;

// One packet, without the stream prefix.
struct Packet {
    quint16 command = 0;
    quint16 checksum = 0;
    quint16 session = 0;
    quint16 reply = 0;
    QByteArray data;
};

// The one's-complement sum of the payload's 16-bit words, complemented.
// Computed over header + data with the checksum field as it stands; for a new
// packet that field is 0, and a correct packet verifies to 0.
quint16 checksum(const QByteArray& payload);

// Header + data with a correct checksum.
QByteArray encodePayload(quint16 command, quint16 session, quint16 reply, const QByteArray& data);
// The stream prefix followed by the payload.
QByteArray encodeFrame(quint16 command, quint16 session, quint16 reply, const QByteArray& data);

// Reads the payload length from an 8-byte prefix. Throws TerminalError when
// the magic is wrong or the length is outside 8..kMaxPayload.
quint32 payloadLength(const char* prefix);
// Splits a payload into a packet. Throws TerminalError when it is shorter
// than a header or its checksum does not verify (unless verify is false).
Packet decodePayload(const QByteArray& payload, bool verify = true);

// Little-endian helpers.
void putU16(QByteArray& out, quint16 v);
void putU32(QByteArray& out, quint32 v);
quint16 getU16(const QByteArray& in, int offset);
quint32 getU32(const QByteArray& in, int offset);

// The terminal's clock: local time, two-digit year, every month 31 days.
struct DeviceTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const DeviceTime&) const = default;
};
quint32 encodeTime(const DeviceTime& t);
DeviceTime decodeTime(quint32 value);
DeviceTime toDeviceTime(const QDateTime& local);
// An invalid QDateTime when the fields are no real date (a corrupt record).
QDateTime toDateTime(const DeviceTime& t);

// The 11-byte request of a buffered bulk read.
QByteArray bulkRequest(quint16 innerCommand, quint32 fct);

} // namespace orv::zk

#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// The record layouts of the terminal's tables.
namespace orv::zk {

// One punch of the attendance log.
struct AttendanceRecord {
    quint16 sn = 0;    // the terminal's internal user index
    QString userId;    // the enrol number as text
    quint8 verify = 0; // 0 password, 1 finger, 2 card, 3 face, ...
    quint32 time = 0;  // encoded as encodeTime
    quint8 state = 0;  // 0 check-in, 1 check-out, 2 break-out, 3 break-in, 4/5 overtime in/out
    quint32 workCode = 0;
};

// One user of the user table.
struct UserRecord {
    quint16 sn = 0;
    quint8 privilege = 0; // bit 0: disabled; bits 3..1: level (0 user, 1 enroller, 3 admin, 7 super-admin)
    QString password;
    QString name;
    quint32 card = 0;
    quint8 group = 1;
    QString userId;
};

inline constexpr int kAttendance40 = 40;
inline constexpr int kUser72 = 72;
inline constexpr int kUser28 = 28;

QByteArray encodeAttendance40(const AttendanceRecord& r);

// Decodes a table of records of recordSize bytes each (40 or more: the TFT
// layout; 16: numeric PIN; 8: sn only, userId left empty). Throws
// TerminalError when the table length is no multiple of the record size or
// the size is one this client does not know.
std::vector<AttendanceRecord> decodeAttendance(const QByteArray& table, int recordSize);

QByteArray encodeUser72(const UserRecord& u);
QByteArray encodeUser28(const UserRecord& u);
std::vector<UserRecord> decodeUsers(const QByteArray& table, int recordSize);

// Text of a fixed-width, NUL-padded field, and the field for a text
// (truncated so that a terminating NUL fits when nulTerminated).
QString fieldText(const QByteArray& bytes, int offset, int width);
QByteArray textField(const QString& text, int width, bool nulTerminated = true);

// SDK privilege (0 user, 1 enroller, 2 admin, 3 super-admin) and enabled flag
// to the privilege byte, and back.
quint8 privilegeByte(int sdkPrivilege, bool enabled);
int sdkPrivilege(quint8 privilegeByte);
bool isEnabled(quint8 privilegeByte);

} // namespace orv::zk

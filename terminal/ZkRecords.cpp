#include "ZkRecords.h"
#include "TerminalError.h"
#include "ZkProtocol.h"

namespace orv::zk {

QString fieldText(const QByteArray& bytes, int offset, int width) {
    QByteArray field = bytes.mid(offset, width);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    return QString::fromUtf8(field);
}

QByteArray textField(const QString& text, int width, bool nulTerminated) {
    QByteArray bytes = text.toUtf8();
    const int room = nulTerminated ? width - 1 : width;
    if (bytes.size() > room) {
        qsizetype cut = room;
        // Do not split a multi-byte character.
        while (cut > 0 && (static_cast<unsigned char>(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    bytes.append(QByteArray(width - bytes.size(), '\0'));
    return bytes;
}

QByteArray encodeAttendance40(const AttendanceRecord& r) {
    QByteArray out;
    out.reserve(kAttendance40);
    putU16(out, r.sn);
    out.append(textField(r.userId, 24, false));
    out.append(static_cast<char>(r.verify));
    putU32(out, r.time);
    out.append(static_cast<char>(r.state));
    out.append(QByteArray(8, '\0'));
    return out;
}

std::vector<AttendanceRecord> decodeAttendance(const QByteArray& table, int recordSize) {
    if (recordSize != 8 && recordSize != 16 && recordSize < kAttendance40)
        throw TerminalError(
            QStringLiteral(
                "The terminal keeps punches in %1-byte records, a layout this program does not know.")
                .arg(recordSize));
    if (table.size() % recordSize != 0)
        throw TerminalError(
            QStringLiteral("The terminal's punch log is cut short (%1 bytes, not a whole number "
                           "of %2-byte records).")
                .arg(table.size())
                .arg(recordSize));
    std::vector<AttendanceRecord> out;
    out.reserve(static_cast<size_t>(table.size() / recordSize));
    const auto byte = [&](qsizetype at) { return static_cast<quint8>(table.at(at)); };
    for (qsizetype at = 0; at < table.size(); at += recordSize) {
        AttendanceRecord r;
        const int o = static_cast<int>(at);
        if (recordSize >= kAttendance40) {
            r.sn = getU16(table, o);
            r.userId = fieldText(table, o + 2, 24);
            r.verify = byte(o + 26);
            r.time = getU32(table, o + 27);
            r.state = byte(o + 31);
        } else if (recordSize == 16) {
            r.userId = QString::number(getU32(table, o));
            r.time = getU32(table, o + 4);
            r.state = byte(o + 8);
            r.verify = byte(o + 9);
            r.workCode = getU32(table, o + 12);
        } else {
            r.sn = getU16(table, o);
            r.verify = byte(o + 2);
            r.time = getU32(table, o + 3);
            r.state = byte(o + 7);
        }
        out.push_back(std::move(r));
    }
    return out;
}

QByteArray encodeUser72(const UserRecord& u) {
    QByteArray out;
    out.reserve(kUser72);
    putU16(out, u.sn);
    out.append(static_cast<char>(u.privilege));
    out.append(textField(u.password, 8));
    out.append(textField(u.name, 24));
    putU32(out, u.card);
    out.append(static_cast<char>(u.group));
    out.append(QByteArray(8, '\0')); // timezone flag and three timezones: the group's
    out.append(textField(u.userId, 24));
    return out;
}

QByteArray encodeUser28(const UserRecord& u) {
    QByteArray out;
    out.reserve(kUser28);
    putU16(out, u.sn);
    out.append(static_cast<char>(u.privilege));
    out.append(textField(u.password, 5, false));
    out.append(textField(u.name, 8, false));
    putU32(out, u.card);
    out.append('\0');
    out.append(static_cast<char>(u.group));
    putU16(out, 0);
    putU32(out, u.userId.toUInt());
    return out;
}

std::vector<UserRecord> decodeUsers(const QByteArray& table, int recordSize) {
    if (recordSize != kUser72 && recordSize != kUser28)
        throw TerminalError(
            QStringLiteral(
                "The terminal keeps users in %1-byte records, a layout this program does not know.")
                .arg(recordSize));
    if (table.size() % recordSize != 0)
        throw TerminalError(
            QStringLiteral("The terminal's user table is cut short (%1 bytes).").arg(table.size()));
    std::vector<UserRecord> out;
    for (qsizetype at = 0; at < table.size(); at += recordSize) {
        const int o = static_cast<int>(at);
        UserRecord u;
        u.sn = getU16(table, o);
        u.privilege = static_cast<quint8>(table.at(o + 2));
        if (recordSize == kUser72) {
            u.password = fieldText(table, o + 3, 8);
            u.name = fieldText(table, o + 11, 24);
            u.card = getU32(table, o + 35);
            u.group = static_cast<quint8>(table.at(o + 39));
            u.userId = fieldText(table, o + 48, 24);
        } else {
            u.password = fieldText(table, o + 3, 5);
            u.name = fieldText(table, o + 8, 8);
            u.card = getU32(table, o + 16);
            u.group = static_cast<quint8>(table.at(o + 21));
            u.userId = QString::number(getU32(table, o + 24));
        }
        out.push_back(std::move(u));
    }
    return out;
}

quint8 privilegeByte(int sdkPrivilege, bool enabled) {
    static constexpr quint8 levels[] = {0, 2, 6, 14};
    const int index = sdkPrivilege < 0 ? 0 : (sdkPrivilege > 3 ? 3 : sdkPrivilege);
    return static_cast<quint8>(levels[index] | (enabled ? 0 : 1));
}

int sdkPrivilege(quint8 privilegeByte) {
    switch ((privilegeByte >> 1) & 7) {
    case 0:
        return 0;
    case 1:
        return 1;
    case 3:
    case 6:
        return 2;
    default:
        return 3;
    }
}

bool isEnabled(quint8 privilegeByte) {
    return (privilegeByte & 1) == 0;
}

} // namespace orv::zk

#include "ZkTerminal.h"
#include "TerminalError.h"

#include <QDateTime>
#include <QtDebug>

#include <algorithm>

namespace orv {

using namespace zk;

namespace {

// The terminal answered, but said no. The connection stays usable.
class Refusal : public TerminalError {
public:
    using TerminalError::TerminalError;
};

const QString kNoFaces = QStringLiteral("face templates not supported by this terminal");

QString replyName(quint16 code) {
    switch (code) {
    case CMD_ACK_OK:
        return QStringLiteral("OK");
    case CMD_ACK_ERROR:
        return QStringLiteral("an error");
    case CMD_ACK_UNAUTH:
        return QStringLiteral("a request for the communication key");
    case CMD_ACK_UNKNOWN:
    case CMD_ACK_ERROR_CMD:
        return QStringLiteral("an unknown-command reply");
    default:
        return QStringLiteral("reply code %1").arg(code);
    }
}

} // namespace

ZkTerminal::ZkTerminal() = default;

// Closing the socket is all: a terminal ends a session whose client went away.
ZkTerminal::~ZkTerminal() = default;

bool ZkTerminal::guarded(const std::function<void()>& work) {
    try {
        work();
        m_lastError.clear();
        return true;
    } catch (const Refusal& e) {
        m_lastError = e.text();
    } catch (const TerminalError& e) {
        // The stream is in an unknown state after a broken exchange.
        m_lastError = e.text();
        m_stream.close();
    }
    return false;
}

void ZkTerminal::requireConnection() const {
    if (!m_stream.isOpen())
        throw TerminalError(QStringLiteral("There is no connection to the terminal."));
}

void ZkTerminal::send(quint16 command, const QByteArray& data) {
    requireConnection();
    m_reply = m_reply >= 65534 ? 0 : static_cast<quint16>(m_reply + 1);
    m_stream.write(encodeFrame(command, m_session, m_reply, data), m_timeoutMs);
}

Packet ZkTerminal::receive() {
    for (;;) {
        Packet p = m_stream.readPacket(m_timeoutMs);
        if (p.command == CMD_REG_EVENT) { // an event the terminal sent unasked: acknowledge and skip
            m_stream.write(encodeFrame(CMD_ACK_OK, m_session, 0, {}), m_timeoutMs);
            continue;
        }
        if (p.reply != m_reply)
            throw TerminalError(
                QStringLiteral("The terminal answered another request than ours (reply number %1 "
                               "where %2 was expected).")
                    .arg(p.reply)
                    .arg(m_reply));
        if (m_session != 0 && p.session != m_session)
            throw TerminalError(QStringLiteral("The terminal answered for another session (%1 where %2 was "
                                               "expected).")
                                    .arg(p.session)
                                    .arg(m_session));
        return p;
    }
}

Packet ZkTerminal::exchange(quint16 command, const QByteArray& data) {
    send(command, data);
    return receive();
}

void ZkTerminal::expectOk(const Packet& reply, const QString& what) {
    if (reply.command != CMD_ACK_OK)
        throw Refusal(QStringLiteral("The terminal refused to %1 (it answered %2).")
                          .arg(what, replyName(reply.command)));
}

bool ZkTerminal::Connect_Net(const QString& address, int port) {
    m_stream.close();
    m_log.clear();
    m_logRead = false;
    m_logPosition = 0;
    m_users.reset();
    m_lockedByCaller = false;
    return guarded([&] {
        m_stream = PacketStream(TcpSocket::connectTo(address, port, m_timeoutMs));
        m_session = 0;
        m_reply = 65534; // the first request goes out as 0
        const Packet reply = exchange(CMD_CONNECT);
        if (reply.command == CMD_ACK_UNAUTH)
            throw TerminalError(
                QStringLiteral("The terminal at %1:%2 asks for a communication key; set its key "
                               "to 0 on the terminal's menu.")
                    .arg(address)
                    .arg(port));
        if (reply.command != CMD_ACK_OK)
            throw TerminalError(
                QStringLiteral("The terminal at %1:%2 did not accept the connection (it answered "
                               "%3).")
                    .arg(address)
                    .arg(port)
                    .arg(replyName(reply.command)));
        m_session = reply.session;
    });
}

void ZkTerminal::Disconnect() {
    if (m_stream.isOpen()) {
        const int saved = m_timeoutMs;
        m_timeoutMs = std::min(m_timeoutMs, 2000);
        try {
            exchange(CMD_EXIT);
        } catch (const TerminalError&) {
            // closing anyway
        }
        m_timeoutMs = saved;
    }
    m_stream.close();
    m_lockedByCaller = false;
}

void ZkTerminal::whileDisabled(const std::function<void()>& work) {
    if (m_lockedByCaller) {
        work();
        return;
    }
    expectOk(exchange(CMD_DISABLEDEVICE), QStringLiteral("lock its keypad"));
    try {
        work();
    } catch (...) {
        if (m_stream.isOpen()) {
            try {
                exchange(CMD_ENABLEDEVICE);
            } catch (const TerminalError&) {
            }
        }
        throw;
    }
    expectOk(exchange(CMD_ENABLEDEVICE), QStringLiteral("unlock its keypad"));
}

ZkTerminal::Counts ZkTerminal::counts() {
    const Packet reply = exchange(CMD_GET_FREE_SIZES);
    expectOk(reply, QStringLiteral("report its record counts"));
    if (reply.data.size() < 80)
        throw TerminalError(
            QStringLiteral("The terminal's record counts are cut short (%1 bytes).").arg(reply.data.size()));
    return {getU32(reply.data, 16), getU32(reply.data, 24), getU32(reply.data, 32)};
}

QByteArray ZkTerminal::receiveBlock(Packet first, const QString& what) {
    if (first.command == CMD_DATA)
        return first.data;
    if (first.command != CMD_PREPARE_DATA)
        throw Refusal(QStringLiteral("The terminal refused to send %1 (it answered %2).")
                          .arg(what, replyName(first.command)));
    if (first.data.size() < 4)
        throw TerminalError(QStringLiteral("The terminal announced %1 without saying its size.").arg(what));
    const quint32 size = getU32(first.data, 0);
    if (size > kMaxPayload)
        throw TerminalError(
            QStringLiteral("The terminal announced a block of %1 bytes, more than it may send at "
                           "once.")
                .arg(size));
    QByteArray block;
    block.reserve(static_cast<qsizetype>(size));
    while (block.size() < static_cast<qsizetype>(size)) {
        const Packet p = receive();
        if (p.command != CMD_DATA)
            throw TerminalError(QStringLiteral("The terminal broke off sending %1 after %2 of %3 bytes.")
                                    .arg(what)
                                    .arg(block.size())
                                    .arg(size));
        block.append(p.data);
    }
    if (block.size() != static_cast<qsizetype>(size))
        throw TerminalError(QStringLiteral("The terminal sent %1 bytes of %2 where it announced %3.")
                                .arg(block.size())
                                .arg(what)
                                .arg(size));
    const Packet done = receive();
    if (done.command != CMD_ACK_OK)
        throw TerminalError(QStringLiteral("The terminal did not close its transfer of %1 (it answered %2).")
                                .arg(what, replyName(done.command)));
    return block;
}

QByteArray ZkTerminal::readBulk(quint16 innerCommand, quint32 fct, const QString& what) {
    const Packet first = exchange(CMD_DATA_WRRQ, bulkRequest(innerCommand, fct));
    QByteArray buffer;
    if (first.command == CMD_DATA) {
        buffer = first.data;
    } else if ((first.command == CMD_ACK_OK || first.command == CMD_PREPARE_DATA) && first.data.size() >= 5) {
        const quint32 size = getU32(first.data, 1);
        constexpr quint32 kMaxTotal = 512u << 20;
        if (size > kMaxTotal)
            throw TerminalError(
                QStringLiteral("The terminal announced %1 of %2 bytes, more than a terminal holds.")
                    .arg(what)
                    .arg(size));
        buffer.reserve(static_cast<qsizetype>(size));
        for (quint32 offset = 0; offset < size; offset += kMaxChunk) {
            const quint32 length = std::min(kMaxChunk, size - offset);
            QByteArray request;
            putU32(request, offset);
            putU32(request, length);
            const QByteArray chunk = receiveBlock(exchange(CMD_DATA_RDY, request), what);
            if (chunk.size() != static_cast<qsizetype>(length))
                throw TerminalError(
                    QStringLiteral("The terminal sent %1 bytes of %2 where %3 were asked for.")
                        .arg(chunk.size())
                        .arg(what)
                        .arg(length));
            buffer.append(chunk);
        }
        exchange(CMD_FREE_DATA);
    } else {
        throw Refusal(QStringLiteral("The terminal refused to send %1 (it answered %2).")
                          .arg(what, replyName(first.command)));
    }
    if (buffer.size() < 4)
        throw TerminalError(QStringLiteral("The terminal sent %1 without its length.").arg(what));
    const quint32 n = getU32(buffer, 0);
    if (n > static_cast<quint32>(buffer.size() - 4))
        throw TerminalError(QStringLiteral("The terminal sent %1 cut short (%2 of %3 bytes).")
                                .arg(what)
                                .arg(buffer.size() - 4)
                                .arg(n));
    return buffer.mid(4, n);
}

void ZkTerminal::readLog() {
    const Counts c = counts();
    const QByteArray table = readBulk(CMD_ATTLOG_RRQ, 0, QStringLiteral("its punch log"));
    int size = kAttendance40;
    if (c.records > 0 && table.size() % c.records == 0)
        size = static_cast<int>(table.size() / c.records);
    std::vector<AttendanceRecord> log = decodeAttendance(table, size);
    if (size == 8) { // old firmware: punches name the user by index only
        const auto& list = users();
        for (auto& r : log) {
            const auto u =
                std::find_if(list.begin(), list.end(), [&](const UserRecord& x) { return x.sn == r.sn; });
            r.userId = u != list.end() ? u->userId : QString::number(r.sn);
        }
    }
    m_log = std::move(log);
    m_logRead = true;
    m_logPosition = 0;
}

bool ZkTerminal::ReadGeneralLogData(int) {
    m_logRead = false;
    m_log.clear();
    return guarded([&] {
        requireConnection();
        if (m_lockedByCaller)
            readLog();
        else
            whileDisabled([&] { readLog(); });
    });
}

bool ZkTerminal::SSR_GetGeneralLogData(int machineNumber, QString& enrollNumber, int& verifyMode,
                                       int& inOutMode, int& year, int& month, int& day, int& hour,
                                       int& minute, int& second, int& workCode) {
    if (!m_logRead && !ReadGeneralLogData(machineNumber))
        return false;
    if (m_logPosition >= m_log.size())
        return false;
    const AttendanceRecord& r = m_log[m_logPosition++];
    const DeviceTime t = decodeTime(r.time);
    enrollNumber = r.userId;
    verifyMode = r.verify;
    inOutMode = r.state;
    year = t.year;
    month = t.month;
    day = t.day;
    hour = t.hour;
    minute = t.minute;
    second = t.second;
    workCode = static_cast<int>(r.workCode);
    return true;
}

bool ZkTerminal::ClearGLog(int) {
    return guarded([&] {
        whileDisabled([&] {
            expectOk(exchange(CMD_CLEAR_ATTLOG), QStringLiteral("clear its punch log"));
            exchange(CMD_REFRESHDATA);
        });
    });
}

bool ZkTerminal::SetDeviceTime(int) {
    return guarded([&] {
        QByteArray data;
        putU32(data, encodeTime(toDeviceTime(QDateTime::currentDateTime())));
        expectOk(exchange(CMD_SET_TIME, data), QStringLiteral("set its clock"));
        exchange(CMD_REFRESHDATA);
    });
}

bool ZkTerminal::EnableDevice(int, bool enabled) {
    return guarded([&] {
        if (enabled) {
            expectOk(exchange(CMD_ENABLEDEVICE), QStringLiteral("unlock its keypad"));
            m_lockedByCaller = false;
        } else {
            expectOk(exchange(CMD_DISABLEDEVICE), QStringLiteral("lock its keypad"));
            m_lockedByCaller = true;
        }
    });
}

const std::vector<UserRecord>& ZkTerminal::users() {
    if (!m_users) {
        const Counts c = counts();
        const QByteArray table = readBulk(CMD_USERTEMP_RRQ, FCT_USER, QStringLiteral("its user list"));
        int size = kUser72;
        if (c.users > 0 && table.size() % c.users == 0 && table.size() / c.users == kUser28)
            size = kUser28;
        m_userRecordSize = size;
        m_users = decodeUsers(table, size);
    }
    return *m_users;
}

std::vector<UserRecord> ZkTerminal::readUsers() {
    std::vector<UserRecord> out;
    if (!guarded([&] { out = users(); }))
        throw TerminalError(m_lastError);
    return out;
}

std::optional<UserRecord> ZkTerminal::findUser(const QString& enrollNumber) {
    for (const UserRecord& u : users())
        if (u.userId == enrollNumber)
            return u;
    return std::nullopt;
}

UserRecord ZkTerminal::requireUser(const QString& enrollNumber) {
    auto u = findUser(enrollNumber);
    if (!u)
        throw Refusal(QStringLiteral("The terminal has no user with enrol number %1.").arg(enrollNumber));
    return *u;
}

bool ZkTerminal::SSR_SetUserInfo(int, const QString& enrollNumber, const QString& name,
                                 const QString& password, int privilege, bool enabled) {
    return guarded([&] {
        if (enrollNumber.trimmed().isEmpty())
            throw Refusal(QStringLiteral("A user needs an enrol number."));
        UserRecord u;
        if (auto existing = findUser(enrollNumber)) {
            u = *existing;
        } else {
            quint16 top = 0;
            for (const UserRecord& x : users())
                top = std::max(top, x.sn);
            if (top >= 65535)
                throw Refusal(QStringLiteral("The terminal's user table is full."));
            u.sn = static_cast<quint16>(top + 1);
            u.userId = enrollNumber;
        }
        u.name = name;
        u.password = password;
        u.privilege = privilegeByte(privilege, enabled);
        const QByteArray record = m_userRecordSize == kUser28 ? encodeUser28(u) : encodeUser72(u);
        whileDisabled([&] {
            expectOk(exchange(CMD_USER_WRQ, record), QStringLiteral("store user %1").arg(enrollNumber));
            exchange(CMD_REFRESHDATA);
        });
        auto& list = *m_users;
        const auto at =
            std::find_if(list.begin(), list.end(), [&](const UserRecord& x) { return x.sn == u.sn; });
        if (at != list.end())
            *at = u;
        else
            list.push_back(u);
    });
}

bool ZkTerminal::StartEnrollEx(const QString& enrollNumber, int fingerIndex, int flag) {
    return guarded([&] {
        QByteArray data = textField(enrollNumber, 24);
        data.append(static_cast<char>(fingerIndex & 0xFF));
        data.append(static_cast<char>(flag & 0xFF));
        exchange(CMD_CANCELCAPTURE);
        expectOk(exchange(CMD_STARTENROLL, data),
                 QStringLiteral("start the enrolment of %1").arg(enrollNumber));
    });
}

bool ZkTerminal::GetUserTmpExStr(int, const QString& enrollNumber, int fingerIndex, int& flag,
                                 QString& templateText, int& length) {
    flag = 0;
    templateText.clear();
    length = 0;
    return guarded([&] {
        const UserRecord u = requireUser(enrollNumber);
        QByteArray request;
        putU16(request, u.sn);
        request.append(static_cast<char>(fingerIndex & 0xFF));
        const Packet first = exchange(CMD_USERTEMP_RRQ, request);
        if (first.command == CMD_ACK_ERROR || first.command == CMD_ACK_OK)
            throw Refusal(
                QStringLiteral("User %1 has no template for finger %2.").arg(enrollNumber).arg(fingerIndex));
        const QByteArray bytes = receiveBlock(first, QStringLiteral("the template"));
        if (bytes.isEmpty())
            throw Refusal(
                QStringLiteral("User %1 has no template for finger %2.").arg(enrollNumber).arg(fingerIndex));
        // A single template comes without its flag; the terminal keeps only valid ones here.
        flag = 1;
        templateText = QString::fromLatin1(bytes.toBase64());
        length = static_cast<int>(bytes.size());
    });
}

bool ZkTerminal::SetUserTmpExStr(int, const QString& enrollNumber, int fingerIndex, int flag,
                                 const QString& templateText) {
    return guarded([&] {
        const auto decoded =
            QByteArray::fromBase64Encoding(templateText.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || (*decoded).isEmpty())
            throw Refusal(QStringLiteral("The template of finger %1 of user %2 is not a template text.")
                              .arg(fingerIndex)
                              .arg(enrollNumber));
        const QByteArray& bytes = *decoded;
        if (bytes.size() > 0xFFFF)
            throw Refusal(
                QStringLiteral("The template of finger %1 is too large for a terminal.").arg(fingerIndex));
        const UserRecord u = requireUser(enrollNumber);
        whileDisabled([&] {
            QByteArray size;
            putU32(size, static_cast<quint32>(bytes.size()));
            expectOk(exchange(CMD_PREPARE_DATA, size), QStringLiteral("take a template"));
            expectOk(exchange(CMD_DATA, bytes), QStringLiteral("take a template"));
            exchange(CMD_CHECKSUM_BUFFER);
            QByteArray write;
            putU16(write, u.sn);
            write.append(static_cast<char>(fingerIndex & 0xFF));
            write.append(static_cast<char>(flag & 0xFF));
            putU16(write, static_cast<quint16>(bytes.size()));
            const Packet stored = exchange(CMD_TMP_WRITE, write);
            exchange(CMD_FREE_DATA);
            expectOk(stored, QStringLiteral("store the template of finger %1").arg(fingerIndex));
            exchange(CMD_REFRESHDATA);
        });
    });
}

bool ZkTerminal::GetUserFaceStr(int, const QString& enrollNumber, int faceIndex, QString& templateText,
                                int& length) {
    templateText.clear();
    length = 0;
    return guarded([&] {
        const UserRecord u = requireUser(enrollNumber);
        QByteArray request;
        putU16(request, u.sn);
        request.append(static_cast<char>(50)); // all faces of the user
        const Packet first = exchange(CMD_FACE_RRQ, request);
        if (first.command == CMD_ACK_UNKNOWN || first.command == CMD_ACK_ERROR_CMD) {
            qWarning().noquote() << kNoFaces;
            throw Refusal(kNoFaces);
        }
        if (first.command == CMD_ACK_ERROR || first.command == CMD_ACK_OK)
            throw Refusal(QStringLiteral("User %1 has no face template.").arg(enrollNumber));
        const QByteArray block = receiveBlock(first, QStringLiteral("the face template"));
        // Records: u16 template length, u16 sn, u16 256 + face index, template bytes.
        for (qsizetype at = 0; at + 6 <= block.size();) {
            const int o = static_cast<int>(at);
            const quint16 size = getU16(block, o);
            const int index = getU16(block, o + 4) - 256;
            if (at + 6 + size > block.size())
                throw TerminalError(QStringLiteral("The terminal's face template of user %1 is cut short.")
                                        .arg(enrollNumber));
            if (index == faceIndex) {
                const QByteArray bytes = block.mid(at + 6, size);
                templateText = QString::fromLatin1(bytes.toBase64());
                length = static_cast<int>(bytes.size());
                return;
            }
            at += 6 + size;
        }
        throw Refusal(QStringLiteral("User %1 has no face template %2.").arg(enrollNumber).arg(faceIndex));
    });
}

bool ZkTerminal::SetUserFaceStr(int, const QString& enrollNumber, int faceIndex, const QString& templateText,
                                int) {
    return guarded([&] {
        const auto decoded =
            QByteArray::fromBase64Encoding(templateText.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || (*decoded).isEmpty())
            throw Refusal(QStringLiteral("There is no face template of user %1 to write.").arg(enrollNumber));
        if ((*decoded).size() > 60000)
            throw Refusal(QStringLiteral("The face template of user %1 is too large for a terminal.")
                              .arg(enrollNumber));
        const UserRecord u = requireUser(enrollNumber);
        QByteArray data;
        putU16(data, u.sn);
        data.append(static_cast<char>(faceIndex & 0xFF));
        data.append(*decoded);
        const Packet reply = exchange(CMD_FACE_WRQ, data);
        if (reply.command == CMD_ACK_UNKNOWN || reply.command == CMD_ACK_ERROR_CMD) {
            qWarning().noquote() << kNoFaces;
            throw Refusal(kNoFaces);
        }
        expectOk(reply, QStringLiteral("store the face template of user %1").arg(enrollNumber));
    });
}

} // namespace orv

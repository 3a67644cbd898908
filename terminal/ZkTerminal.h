#pragma once

#include "PacketStream.h"
#include "Terminal.h"
#include "ZkProtocol.h"
#include "ZkRecords.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

// A ZKTeco terminal reached over TCP (port 4370 by default), speaking the
// terminal's binary protocol directly. Plain sockets with a time-out on every
// wait, so the object can be created on one thread and used on a worker.
class ZkTerminal : public Terminal {
public:
    ZkTerminal();
    ~ZkTerminal() override;
    ZkTerminal(const ZkTerminal&) = delete;
    ZkTerminal& operator=(const ZkTerminal&) = delete;

    // How long to wait for each reply (and for the TCP connect).
    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }
    bool isConnected() const { return m_stream.isOpen(); }

    bool Connect_Net(const QString& address, int port) override;
    void Disconnect() override;
    bool ReadGeneralLogData(int machineNumber) override;
    int GeneralLogCount() const override { return static_cast<int>(m_log.size()); }
    bool SSR_GetGeneralLogData(int machineNumber, QString& enrollNumber, int& verifyMode, int& inOutMode,
                               int& year, int& month, int& day, int& hour, int& minute, int& second,
                               int& workCode) override;
    bool ClearGLog(int machineNumber) override;
    bool SetDeviceTime(int machineNumber) override;
    bool EnableDevice(int machineNumber, bool enabled) override;
    bool SSR_SetUserInfo(int machineNumber, const QString& enrollNumber, const QString& name,
                         const QString& password, int privilege, bool enabled) override;
    bool StartEnrollEx(const QString& enrollNumber, int fingerIndex, int flag) override;
    bool GetUserTmpExStr(int machineNumber, const QString& enrollNumber, int fingerIndex, int& flag,
                         QString& templateText, int& length) override;
    bool SetUserTmpExStr(int machineNumber, const QString& enrollNumber, int fingerIndex, int flag,
                         const QString& templateText) override;
    bool GetUserFaceStr(int machineNumber, const QString& enrollNumber, int faceIndex, QString& templateText,
                        int& length) override;
    bool SetUserFaceStr(int machineNumber, const QString& enrollNumber, int faceIndex,
                        const QString& templateText, int length) override;
    QString lastError() const override { return m_lastError; }

    // The users on the terminal (read once per connection).
    std::vector<zk::UserRecord> readUsers();

private:
    bool guarded(const std::function<void()>& work);
    void requireConnection() const;
    zk::Packet exchange(quint16 command, const QByteArray& data = {});
    void send(quint16 command, const QByteArray& data);
    zk::Packet receive();
    void expectOk(const zk::Packet& reply, const QString& what);
    QByteArray readBulk(quint16 innerCommand, quint32 fct, const QString& what);
    QByteArray receiveBlock(zk::Packet first, const QString& what);
    void readLog();
    const std::vector<zk::UserRecord>& users();
    std::optional<zk::UserRecord> findUser(const QString& enrollNumber);
    zk::UserRecord requireUser(const QString& enrollNumber);
    // Runs work with the device locked, unless the caller has locked it already.
    void whileDisabled(const std::function<void()>& work);
    struct Counts {
        quint32 users = 0;
        quint32 fingers = 0;
        quint32 records = 0;
    };
    Counts counts();

    PacketStream m_stream;
    int m_timeoutMs = 5000;
    quint16 m_session = 0;
    quint16 m_reply = 0;
    bool m_lockedByCaller = false;
    QString m_lastError;
    std::vector<zk::AttendanceRecord> m_log;
    bool m_logRead = false;
    size_t m_logPosition = 0;
    std::optional<std::vector<zk::UserRecord>> m_users;
    int m_userRecordSize = zk::kUser72;
};

} // namespace orv

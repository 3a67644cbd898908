#pragma once

#include <QString>

namespace orv {

// A time-and-attendance terminal, with the operations the screens use. Every
// operation answers true or false, as the terminals' own SDK does; after a
// false, lastError() tells why in a sentence the user can act on. A terminal
// object is created on one thread and may be used from another, but never
// from two threads at once.
class Terminal {
public:
    virtual ~Terminal() = default;

    // Opens a connection to address:port. A new call closes the previous
    // connection and starts the punch log over at its first punch.
    virtual bool Connect_Net(const QString& address, int port) = 0;
    virtual void Disconnect() = 0;

    // Reads the whole punch log of the terminal into memory in one transfer;
    // SSR_GetGeneralLogData then walks it. Not needed before
    // SSR_GetGeneralLogData (which reads on its first call), but it tells a
    // failed read apart from an empty log, and makes GeneralLogCount known.
    virtual bool ReadGeneralLogData(int machineNumber) = 0;
    // The number of punches the last ReadGeneralLogData read.
    virtual int GeneralLogCount() const = 0;

    // The next stored punch; false after the last one (or when the log could
    // not be read: see lastError()).
    virtual bool SSR_GetGeneralLogData(int machineNumber, QString& enrollNumber, int& verifyMode,
                                       int& inOutMode, int& year, int& month, int& day, int& hour,
                                       int& minute, int& second, int& workCode) = 0;
    // Empties the punch log.
    virtual bool ClearGLog(int machineNumber) = 0;
    // Sets the terminal's clock to this workstation's local time.
    virtual bool SetDeviceTime(int machineNumber) = 0;
    // Locks (false) or unlocks (true) the terminal's keypad and sensors, so
    // that nobody punches while its log is read and cleared.
    virtual bool EnableDevice(int machineNumber, bool enabled) = 0;

    // Creates or overwrites the user with this enrol number. privilege: 0
    // user, 1 enroller, 2 admin, 3 super-admin.
    virtual bool SSR_SetUserInfo(int machineNumber, const QString& enrollNumber, const QString& name,
                                 const QString& password, int privilege, bool enabled) = 0;
    // Starts the enrolment of a finger (0-9) or of index 111 on the terminal.
    virtual bool StartEnrollEx(const QString& enrollNumber, int fingerIndex, int flag) = 0;

    // Templates travel as text (base64 of the template bytes); length is the
    // number of template bytes.
    virtual bool GetUserTmpExStr(int machineNumber, const QString& enrollNumber, int fingerIndex, int& flag,
                                 QString& templateText, int& length) = 0;
    virtual bool SetUserTmpExStr(int machineNumber, const QString& enrollNumber, int fingerIndex, int flag,
                                 const QString& templateText) = 0;
    virtual bool GetUserFaceStr(int machineNumber, const QString& enrollNumber, int faceIndex,
                                QString& templateText, int& length) = 0;
    virtual bool SetUserFaceStr(int machineNumber, const QString& enrollNumber, int faceIndex,
                                const QString& templateText, int length) = 0;

    // Why the last operation answered false (empty after a success).
    virtual QString lastError() const = 0;
};

} // namespace orv

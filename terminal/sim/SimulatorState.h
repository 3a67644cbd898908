#pragma once

#include "ZkProtocol.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace orv::sim {

struct SimUser {
    quint16 sn = 0;
    QString userId;
    QString name;
    QString password;
    quint8 privilege = 0;
    quint32 card = 0;
    quint8 group = 1;
};

// Templates and faces belong to an enrol number, as on a terminal that
// enrols a person before the person's user record is written.
struct SimTemplate {
    QString userId;
    int finger = 0;
    int flag = 1;
    QByteArray data;
};

struct SimFace {
    QString userId;
    int index = 12;
    QByteArray data;
};

struct SimPunch {
    QString userId;
    int verify = 1;
    int state = 0;
    zk::DeviceTime time;
};

// Everything a simulated terminal keeps: users, templates, faces, punches and
// its clock (kept as an offset to this machine's local time). Saved as JSON.
class SimulatorState {
public:
    std::vector<SimUser> users;
    std::vector<SimTemplate> templates;
    std::vector<SimFace> faces;
    std::vector<SimPunch> punches;
    qint64 clockOffsetSeconds = 0;

    QDateTime clock() const { return QDateTime::currentDateTime().addSecs(clockOffsetSeconds); }
    void setClock(const QDateTime& deviceTime);

    QJsonObject toJson() const;
    // Throws std::runtime_error naming what is wrong in the object.
    static SimulatorState fromJson(const QJsonObject& object);
    // Written through a temporary file and a rename. Throws on failure.
    void save(const QString& path) const;
    // A missing file is an empty terminal; an unreadable one throws.
    static SimulatorState load(const QString& path);

    const SimUser* userById(const QString& userId) const;
    const SimUser* userBySn(quint16 sn) const;
    // Adds users with these enrol numbers where missing, named "Employee <id>".
    void ensureUsers(const QStringList& userIds);

    // Adds `count` punches of a working month spread over the given enrol
    // numbers: four a weekday per person (08:0x in, 12:0x out, 13:0x in,
    // 17:0x out), then further rounds a minute later. Mostly finger, some face
    // and card. Deterministic. Throws when the month cannot hold them.
    void generatePunches(int count, const QStringList& userIds, const QDate& month);
    // Reads punches from CSV lines "enrol,YYYY-MM-DD hh:mm:ss[,verify[,state]]"
    // (a header line is skipped). Throws naming the line of a bad row.
    void loadCsv(const QString& path);

    // "1".."count".
    static QStringList numberedIds(int count);
};

} // namespace orv::sim

#include "SimulatorState.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <stdexcept>

namespace orv::sim {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString timeText(const zk::DeviceTime& t) {
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                             t.second);
}

// Accepts any digits in the fields (a terminal may hold a broken date).
bool parseTime(const QString& text, zk::DeviceTime& out) {
    const QString s = text.trimmed();
    if (s.size() != 19 || s[4] != u'-' || s[7] != u'-' || s[10] != u' ' || s[13] != u':' || s[16] != u':')
        return false;
    bool ok[6];
    out.year = s.mid(0, 4).toInt(&ok[0]);
    out.month = s.mid(5, 2).toInt(&ok[1]);
    out.day = s.mid(8, 2).toInt(&ok[2]);
    out.hour = s.mid(11, 2).toInt(&ok[3]);
    out.minute = s.mid(14, 2).toInt(&ok[4]);
    out.second = s.mid(17, 2).toInt(&ok[5]);
    for (bool b : ok)
        if (!b)
            return false;
    return out.year >= 2000 && out.year <= 2099 && out.month >= 1 && out.month <= 12 && out.day >= 1 &&
           out.day <= 31 && out.hour < 24 && out.minute < 60 && out.second < 60;
}

} // namespace

void SimulatorState::setClock(const QDateTime& deviceTime) {
    clockOffsetSeconds = QDateTime::currentDateTime().secsTo(deviceTime);
}

QJsonObject SimulatorState::toJson() const {
    QJsonArray u;
    for (const SimUser& x : users)
        u.append(QJsonObject{{"sn", x.sn},
                             {"user_id", x.userId},
                             {"name", x.name},
                             {"password", x.password},
                             {"privilege", x.privilege},
                             {"card", static_cast<qint64>(x.card)},
                             {"group", x.group}});
    QJsonArray t;
    for (const SimTemplate& x : templates)
        t.append(QJsonObject{{"user_id", x.userId},
                             {"finger", x.finger},
                             {"flag", x.flag},
                             {"data", QString::fromLatin1(x.data.toBase64())}});
    QJsonArray f;
    for (const SimFace& x : faces)
        f.append(QJsonObject{
            {"user_id", x.userId}, {"index", x.index}, {"data", QString::fromLatin1(x.data.toBase64())}});
    QJsonArray p;
    for (const SimPunch& x : punches)
        p.append(QJsonObject{
            {"user_id", x.userId}, {"time", timeText(x.time)}, {"verify", x.verify}, {"state", x.state}});
    return QJsonObject{{"users", u},
                       {"templates", t},
                       {"faces", f},
                       {"punches", p},
                       {"clock_offset_seconds", static_cast<qint64>(clockOffsetSeconds)}};
}

SimulatorState SimulatorState::fromJson(const QJsonObject& o) {
    SimulatorState s;
    for (const QJsonValue& v : o.value("users").toArray()) {
        const QJsonObject x = v.toObject();
        SimUser u;
        u.sn = static_cast<quint16>(x.value("sn").toInt());
        u.userId = x.value("user_id").toString();
        u.name = x.value("name").toString();
        u.password = x.value("password").toString();
        u.privilege = static_cast<quint8>(x.value("privilege").toInt());
        u.card = static_cast<quint32>(x.value("card").toInteger());
        u.group = static_cast<quint8>(x.value("group").toInt(1));
        if (u.sn == 0 || u.userId.isEmpty())
            throw std::runtime_error("a user needs a non-zero sn and a user_id");
        s.users.push_back(u);
    }
    for (const QJsonValue& v : o.value("templates").toArray()) {
        const QJsonObject x = v.toObject();
        s.templates.push_back({x.value("user_id").toString(), x.value("finger").toInt(),
                               x.value("flag").toInt(1),
                               QByteArray::fromBase64(x.value("data").toString().toLatin1())});
    }
    for (const QJsonValue& v : o.value("faces").toArray()) {
        const QJsonObject x = v.toObject();
        s.faces.push_back({x.value("user_id").toString(), x.value("index").toInt(12),
                           QByteArray::fromBase64(x.value("data").toString().toLatin1())});
    }
    for (const QJsonValue& v : o.value("punches").toArray()) {
        const QJsonObject x = v.toObject();
        SimPunch p;
        p.userId = x.value("user_id").toString();
        p.verify = x.value("verify").toInt(1);
        p.state = x.value("state").toInt(0);
        if (!parseTime(x.value("time").toString(), p.time))
            throw std::runtime_error(
                ("punch time \"" + x.value("time").toString() + "\" is not YYYY-MM-DD hh:mm:ss")
                    .toStdString());
        s.punches.push_back(p);
    }
    s.clockOffsetSeconds = o.value("clock_offset_seconds").toInteger();
    return s;
}

void SimulatorState::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(("cannot write " + path + ": " + file.errorString()).toStdString());
    file.write(QJsonDocument(toJson()).toJson(QJsonDocument::Compact));
    if (!file.commit())
        throw std::runtime_error(("cannot write " + path + ": " + file.errorString()).toStdString());
}

SimulatorState SimulatorState::load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path + ": " + file.errorString()).toStdString());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull() || !doc.isObject())
        throw std::runtime_error(
            (path + " is not a simulator state file: " + error.errorString()).toStdString());
    try {
        return fromJson(doc.object());
    } catch (const std::exception& e) {
        throw std::runtime_error((path + ": " + QString::fromUtf8(e.what())).toStdString());
    }
}

const SimUser* SimulatorState::userById(const QString& userId) const {
    for (const SimUser& u : users)
        if (u.userId == userId)
            return &u;
    return nullptr;
}

const SimUser* SimulatorState::userBySn(quint16 sn) const {
    for (const SimUser& u : users)
        if (u.sn == sn)
            return &u;
    return nullptr;
}

void SimulatorState::ensureUsers(const QStringList& userIds) {
    quint16 top = 0;
    for (const SimUser& u : users)
        top = std::max(top, u.sn);
    for (const QString& id : userIds) {
        if (userById(id))
            continue;
        SimUser u;
        u.sn = ++top;
        u.userId = id;
        u.name = QStringLiteral("Employee %1").arg(id);
        users.push_back(u);
    }
}

void SimulatorState::generatePunches(int count, const QStringList& userIds, const QDate& month) {
    if (count <= 0)
        return;
    if (userIds.isEmpty())
        throw std::runtime_error("punches need at least one user");
    std::vector<QDate> days;
    for (QDate d(month.year(), month.month(), 1); d.month() == month.month(); d = d.addDays(1))
        if (d.dayOfWeek() <= 5)
            days.push_back(d);
    const qint64 perUser = static_cast<qint64>(days.size()) * 4 * 50; // up to 50 rounds, a minute apart
    if (static_cast<qint64>(count) > perUser * userIds.size())
        throw std::runtime_error(QStringLiteral("%1 punches do not fit in %2 for %3 users; give more users")
                                     .arg(count)
                                     .arg(month.toString("yyyy-MM"))
                                     .arg(userIds.size())
                                     .toStdString());
    static constexpr int slotHour[] = {8, 12, 13, 17};
    static constexpr int slotState[] = {0, 1, 0, 1};
    punches.reserve(punches.size() + static_cast<size_t>(count));
    const qsizetype m = userIds.size();
    for (int k = 0; k < count; ++k) {
        const qsizetype user = k % m;
        const qint64 j = k / m; // this user's j-th punch
        const int slot = static_cast<int>(j % 4);
        const qint64 dayIndex = (j / 4) % static_cast<qint64>(days.size());
        const int round = static_cast<int>(j / (4 * static_cast<qint64>(days.size())));
        const QDate d = days[static_cast<size_t>(dayIndex)];
        SimPunch p;
        p.userId = userIds[user];
        p.state = slotState[slot];
        p.verify = (k % 10 == 9) ? 3 : (k % 25 == 24 ? 2 : 1);
        const int minute = static_cast<int>((user * 7 + dayIndex * 3) % 10) + round;
        p.time = {d.year(),       d.month(), d.day(),
                  slotHour[slot], minute,    static_cast<int>((k * 37 + user) % 60)};
        punches.push_back(p);
    }
}

void SimulatorState::loadCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(("cannot read " + path + ": " + file.errorString()).toStdString());
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u',');
        SimPunch p;
        if (f.size() < 2 || !parseTime(f[1], p.time)) {
            if (lineNumber == 1)
                continue; // header
            throw std::runtime_error(
                QStringLiteral("%1 line %2: expected enrol,YYYY-MM-DD hh:mm:ss[,verify[,state]]")
                    .arg(path)
                    .arg(lineNumber)
                    .toStdString());
        }
        p.userId = f[0].trimmed();
        bool ok = true;
        if (f.size() > 2)
            p.verify = f[2].trimmed().toInt(&ok);
        if (ok && f.size() > 3)
            p.state = f[3].trimmed().toInt(&ok);
        if (!ok || p.userId.isEmpty())
            throw std::runtime_error(QStringLiteral("%1 line %2: bad enrol number or code")
                                         .arg(path)
                                         .arg(lineNumber)
                                         .toStdString());
        punches.push_back(p);
    }
}

QStringList SimulatorState::numberedIds(int count) {
    QStringList ids;
    for (int i = 1; i <= count; ++i)
        ids << QString::number(i);
    return ids;
}

} // namespace orv::sim

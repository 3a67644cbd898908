#include "ZkSimulator.h"
#include "PacketStream.h"
#include "TcpListener.h"
#include "TerminalError.h"
#include "ZkRecords.h"

#include <QCryptographicHash>
#include <QtDebug>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace orv::sim {

using namespace zk;

namespace {

QByteArray ackData(std::initializer_list<quint32> words) {
    QByteArray out;
    for (quint32 w : words)
        putU32(out, w);
    return out;
}

// A made-up template that starts the way ZKFinger v10 templates do.
QByteArray syntheticTemplate(const QString& userId, int finger) {
    QByteArray out("\x4D\xFD"
                   "SS21",
                   6);
    QByteArray seed = (userId + u'/' + QString::number(finger)).toUtf8();
    while (out.size() < 512) {
        seed = QCryptographicHash::hash(seed, QCryptographicHash::Sha256);
        out.append(seed);
    }
    out.truncate(512);
    return out;
}

const char* kVersion = "Ver 6.60 Jan 01 2020";

} // namespace

// One client connection: its session id, bulk buffer, upload buffer, faults.
struct ZkSimulator::Session {
    Session(ZkSimulator& owner, TcpSocket socket, SimulatorFaults f, int number)
        : sim(owner), stream(std::move(socket)), faults(f), id(number),
          sessionId(static_cast<quint16>(0x4000 + (number * 7919) % 0x3FFF + 1)) {}

    ZkSimulator& sim;
    PacketStream stream;
    SimulatorFaults faults;
    int id;
    quint16 sessionId;
    quint16 replyTo = 0;
    int answered = 0;
    int sentPackets = 0;
    bool closing = false;
    QByteArray bulk;
    QByteArray upload;

    void pause(int ms) {
        if (ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

    // Every reply packet goes out in one write.
    void reply(quint16 command, const QByteArray& data = {}) {
        pause(faults.delayMs);
        QByteArray frame = encodeFrame(command, sessionId, replyTo, data);
        if (++sentPackets == faults.corruptChecksumAt)
            frame[kPrefixSize + 2] = static_cast<char>(frame[kPrefixSize + 2] ^ 0x5A);
        stream.write(frame, 5000);
    }

    // A block in the PREPARE_DATA / DATA... / ACK_OK form.
    void sendBlock(const QByteArray& block) {
        reply(CMD_PREPARE_DATA, ackData({static_cast<quint32>(block.size()), 0}));
        for (qsizetype at = 0; at < block.size() || at == 0; at += kMaxChunk) {
            pause(sim.m_options.chunkPauseMs);
            reply(CMD_DATA, block.mid(at, kMaxChunk));
            if (block.isEmpty())
                break;
        }
        pause(sim.m_options.chunkPauseMs);
        reply(CMD_ACK_OK);
        pause(sim.m_options.chunkPauseMs);
    }

    QByteArray buildTable(quint16 inner, quint32 fct) {
        std::lock_guard lock(sim.m_mutex);
        const SimulatorState& s = sim.m_state;
        QByteArray records;
        if (inner == CMD_ATTLOG_RRQ) {
            records.reserve(static_cast<qsizetype>(s.punches.size()) * kAttendance40);
            for (const SimPunch& p : s.punches) {
                AttendanceRecord r;
                const SimUser* u = s.userById(p.userId);
                r.sn = u ? u->sn : 0;
                r.userId = p.userId;
                r.verify = static_cast<quint8>(p.verify);
                r.state = static_cast<quint8>(p.state);
                r.time = encodeTime(p.time);
                records.append(encodeAttendance40(r));
            }
        } else if (inner == CMD_USERTEMP_RRQ && fct == FCT_USER) {
            for (const SimUser& u : s.users)
                records.append(
                    encodeUser72({u.sn, u.privilege, u.password, u.name, u.card, u.group, u.userId}));
        } else if (inner == CMD_DB_RRQ && fct == FCT_FINGERTMP) {
            for (const SimTemplate& t : s.templates) {
                const SimUser* u = s.userById(t.userId);
                if (!u)
                    continue;
                putU16(records, static_cast<quint16>(t.data.size() + 6));
                putU16(records, u->sn);
                records.append(static_cast<char>(t.finger));
                records.append(static_cast<char>(t.flag));
                records.append(t.data);
            }
        } else {
            return {};
        }
        QByteArray buffer;
        putU32(buffer, static_cast<quint32>(records.size()));
        buffer.append(records);
        return buffer;
    }

    QByteArray freeSizes() {
        std::lock_guard lock(sim.m_mutex);
        const SimulatorState& s = sim.m_state;
        std::vector<quint32> w(23, 0);
        w[4] = static_cast<quint32>(s.users.size());
        w[6] = static_cast<quint32>(s.templates.size());
        w[8] = static_cast<quint32>(s.punches.size());
        w[14] = 10000;
        w[15] = 10000;
        w[16] = 200000;
        w[17] = w[14] - w[6];
        w[18] = w[15] - w[4];
        w[19] = w[16] > w[8] ? w[16] - w[8] : 0;
        w[20] = static_cast<quint32>(s.faces.size());
        w[22] = 3000;
        QByteArray out;
        for (quint32 v : w)
            putU32(out, v);
        return out;
    }

    QString option(const QString& name, bool& known) {
        known = true;
        if (name == "~SerialNumber")
            return QStringLiteral("ORVSIM%1").arg(sim.m_port);
        if (name == "~Platform")
            return QStringLiteral("ZMM220_TFT");
        if (name == "~DeviceName")
            return QStringLiteral("Orvanta simulator");
        if (name == "~OEMVendor")
            return QStringLiteral("Orvanta");
        if (name == "~PIN2Width")
            return QStringLiteral("9");
        if (name == "~ZKFPVersion")
            return QStringLiteral("10");
        if (name == "ZKFaceVersion")
            return QStringLiteral("7");
        if (name == "FaceFunOn")
            return sim.m_options.faces ? QStringLiteral("1") : QStringLiteral("0");
        if (name == "~OS" || name == "~SSR" || name == "~ExtendFmt")
            return QStringLiteral("1");
        if (name == "WorkCode" || name == "~IsABCPinEnable" || name == "~T9FunOn" ||
            name == "CompatOldFirmware")
            return QStringLiteral("0");
        if (name == "MAC")
            return QStringLiteral("00:17:61:00:00:01");
        if (name == "IPAddress")
            return sim.m_options.address;
        if (name == "~ProductTime")
            return QStringLiteral("2020-01-01 00:00:00");
        known = false;
        return {};
    }

    void persist() {
        std::lock_guard lock(sim.m_mutex);
        sim.persistLocked();
    }

    void handle(const Packet& p) {
        const QByteArray& d = p.data;
        switch (p.command) {
        case CMD_CONNECT:
        case CMD_REFRESHDATA:
        case CMD_REFRESHOPTION:
        case CMD_CANCELCAPTURE:
        case CMD_STARTVERIFY:
        case CMD_REG_EVENT:
        case CMD_OPTIONS_WRQ:
        case CMD_STATE_RRQ:
            reply(CMD_ACK_OK);
            return;
        case CMD_EXIT:
        case CMD_RESTART:
            reply(CMD_ACK_OK);
            closing = true;
            return;
        case CMD_DISABLEDEVICE: {
            std::lock_guard lock(sim.m_mutex);
            sim.m_disabledBy = id;
            break;
        }
        case CMD_ENABLEDEVICE: {
            std::lock_guard lock(sim.m_mutex);
            sim.releaseLockLocked(id);
            break;
        }
        case CMD_GET_VERSION:
            reply(CMD_ACK_OK, QByteArray(kVersion, static_cast<qsizetype>(std::strlen(kVersion)) + 1));
            return;
        case CMD_OPTIONS_RRQ: {
            QByteArray raw = d;
            const qsizetype nul = raw.indexOf('\0');
            if (nul >= 0)
                raw.truncate(nul);
            const QString name = QString::fromLatin1(raw);
            bool known = false;
            const QString value = option(name, known);
            if (!known) {
                reply(CMD_ACK_ERROR);
                return;
            }
            reply(CMD_ACK_OK, (name + u'=' + value).toLatin1() + QByteArray(1, '\0'));
            return;
        }
        case CMD_GET_FREE_SIZES:
            reply(CMD_ACK_OK, freeSizes());
            return;
        case CMD_GET_TIME: {
            QDateTime now;
            {
                std::lock_guard lock(sim.m_mutex);
                now = sim.m_state.clock();
            }
            reply(CMD_ACK_OK, ackData({encodeTime(toDeviceTime(now))}));
            return;
        }
        case CMD_SET_TIME: {
            if (d.size() < 4) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const QDateTime t = toDateTime(decodeTime(getU32(d, 0)));
            if (!t.isValid()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            {
                std::lock_guard lock(sim.m_mutex);
                sim.m_state.setClock(t);
                sim.persistLocked();
            }
            break;
        }
        case CMD_DATA_WRRQ: {
            if (d.size() < 7) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const QByteArray buffer = buildTable(getU16(d, 1), getU32(d, 3));
            if (buffer.isEmpty()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            if (buffer.size() <= sim.m_options.smallReplyBytes) {
                reply(CMD_DATA, buffer);
                return;
            }
            bulk = buffer;
            const auto size = static_cast<quint32>(bulk.size());
            QByteArray stat(1, '\0');
            putU32(stat, size);
            putU32(stat, size);
            putU32(stat, 0);
            reply(CMD_ACK_OK, stat);
            return;
        }
        case CMD_DATA_RDY: {
            if (d.size() < 8) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const quint32 offset = getU32(d, 0);
            const quint32 length = getU32(d, 4);
            if (length == 0) {
                reply(CMD_ACK_OK);
                return;
            }
            if (static_cast<qint64>(offset) + length > bulk.size()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            sendBlock(bulk.mid(offset, length));
            return;
        }
        case CMD_FREE_DATA:
            bulk.clear();
            upload.clear();
            break;
        case CMD_PREPARE_DATA: // an upload follows
            upload.clear();
            break;
        case CMD_DATA:
            upload.append(d);
            break;
        case CMD_CHECKSUM_BUFFER:
            reply(CMD_ACK_OK, ackData({static_cast<quint32>(qChecksum(upload))}));
            return;
        case CMD_CLEAR_ATTLOG:
        case CMD_CLEAR_DATA: {
            std::lock_guard lock(sim.m_mutex);
            SimulatorState& s = sim.m_state;
            const int what =
                (p.command == CMD_CLEAR_DATA && !d.isEmpty()) ? static_cast<quint8>(d.at(0)) : -1;
            if (p.command == CMD_CLEAR_ATTLOG || what == 1 || what == -1)
                s.punches.clear();
            if (what == 2 || what == -1)
                s.templates.clear();
            if (what == 5 || what == -1) {
                s.users.clear();
                s.templates.clear();
                s.faces.clear();
            }
            sim.persistLocked();
            break;
        }
        case CMD_USER_WRQ: {
            if (d.size() != kUser72 && d.size() != kUser28) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const UserRecord r = decodeUsers(d, static_cast<int>(d.size())).front();
            if (r.sn == 0 || r.userId.isEmpty()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            std::lock_guard lock(sim.m_mutex);
            auto& users = sim.m_state.users;
            // The same enrol number under another index: the new index replaces the old record.
            std::erase_if(users, [&](const SimUser& u) { return u.userId == r.userId && u.sn != r.sn; });
            SimUser u{r.sn, r.userId, r.name, r.password, r.privilege, r.card, r.group};
            auto at =
                std::find_if(users.begin(), users.end(), [&](const SimUser& x) { return x.sn == r.sn; });
            if (at != users.end())
                *at = u;
            else
                users.push_back(u);
            sim.persistLocked();
            break;
        }
        case CMD_DELETE_USER: {
            if (d.size() < 2) {
                reply(CMD_ACK_ERROR);
                return;
            }
            std::lock_guard lock(sim.m_mutex);
            auto& s = sim.m_state;
            const SimUser* u = s.userBySn(getU16(d, 0));
            if (u) {
                const QString userId = u->userId;
                std::erase_if(s.users, [&](const SimUser& x) { return x.userId == userId; });
                std::erase_if(s.templates, [&](const SimTemplate& x) { return x.userId == userId; });
                std::erase_if(s.faces, [&](const SimFace& x) { return x.userId == userId; });
                sim.persistLocked();
            }
            break;
        }
        case CMD_USERTEMP_RRQ:
        case CMD_GET_USERTEMP: {
            if (d.size() < 3) {
                reply(CMD_ACK_ERROR);
                return;
            }
            QByteArray bytes;
            {
                std::lock_guard lock(sim.m_mutex);
                const auto& s = sim.m_state;
                if (const SimUser* u = s.userBySn(getU16(d, 0)))
                    for (const SimTemplate& t : s.templates)
                        if (t.userId == u->userId && t.finger == static_cast<quint8>(d.at(2)))
                            bytes = t.data;
            }
            if (bytes.isEmpty()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            if (p.command == CMD_GET_USERTEMP)
                bytes.append('\0');
            sendBlock(bytes);
            return;
        }
        case CMD_TMP_WRITE: {
            if (d.size() < 6) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const quint16 size = getU16(d, 4);
            std::lock_guard lock(sim.m_mutex);
            auto& s = sim.m_state;
            const SimUser* u = s.userBySn(getU16(d, 0));
            if (!u || size == 0 || size > upload.size()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const int finger = static_cast<quint8>(d.at(2));
            const QString userId = u->userId;
            std::erase_if(s.templates,
                          [&](const SimTemplate& t) { return t.userId == userId && t.finger == finger; });
            s.templates.push_back({userId, finger, static_cast<quint8>(d.at(3)), upload.left(size)});
            sim.persistLocked();
            break;
        }
        case CMD_DELETE_USERTEMP:
        case CMD_DEL_FPTMP: {
            std::lock_guard lock(sim.m_mutex);
            auto& s = sim.m_state;
            QString userId;
            int finger = -1;
            if (p.command == CMD_DEL_FPTMP && d.size() >= 25) {
                userId = fieldText(d, 0, 24);
                finger = static_cast<quint8>(d.at(24));
            } else if (p.command == CMD_DELETE_USERTEMP && d.size() >= 3) {
                if (const SimUser* u = s.userBySn(getU16(d, 0)))
                    userId = u->userId;
                finger = static_cast<quint8>(d.at(2));
            }
            std::erase_if(s.templates,
                          [&](const SimTemplate& t) { return t.userId == userId && t.finger == finger; });
            sim.persistLocked();
            break;
        }
        case CMD_STARTENROLL: {
            // The person enrols at once: the template (or, for index 111, the
            // face) is there when the enrolment has started.
            QString userId;
            int finger = 0;
            if (d.size() >= 25) {
                userId = fieldText(d, 0, 24);
                finger = static_cast<quint8>(d.at(24));
            } else if (d.size() >= 5) {
                userId = QString::number(getU32(d, 0));
                finger = static_cast<quint8>(d.at(4));
            } else {
                reply(CMD_ACK_ERROR);
                return;
            }
            std::lock_guard lock(sim.m_mutex);
            auto& s = sim.m_state;
            if (finger == 111) {
                std::erase_if(s.faces, [&](const SimFace& f) { return f.userId == userId && f.index == 12; });
                s.faces.push_back({userId, 12, syntheticTemplate(userId, finger)});
            } else if (finger <= 9) {
                std::erase_if(s.templates,
                              [&](const SimTemplate& t) { return t.userId == userId && t.finger == finger; });
                s.templates.push_back({userId, finger, 1, syntheticTemplate(userId, finger)});
            } else {
                reply(CMD_ACK_ERROR);
                return;
            }
            sim.persistLocked();
            break;
        }
        case CMD_FACE_RRQ: {
            if (!sim.m_options.faces) {
                reply(CMD_ACK_UNKNOWN);
                return;
            }
            if (d.size() < 3) {
                reply(CMD_ACK_ERROR);
                return;
            }
            QByteArray block;
            {
                std::lock_guard lock(sim.m_mutex);
                const auto& s = sim.m_state;
                const quint16 sn = getU16(d, 0);
                if (const SimUser* u = s.userBySn(sn))
                    for (const SimFace& f : s.faces)
                        if (f.userId == u->userId) {
                            putU16(block, static_cast<quint16>(f.data.size()));
                            putU16(block, sn);
                            putU16(block, static_cast<quint16>(256 + f.index));
                            block.append(f.data);
                        }
            }
            if (block.isEmpty()) {
                reply(CMD_ACK_ERROR);
                return;
            }
            sendBlock(block);
            return;
        }
        case CMD_FACE_WRQ: {
            if (!sim.m_options.faces) {
                reply(CMD_ACK_UNKNOWN);
                return;
            }
            std::lock_guard lock(sim.m_mutex);
            auto& s = sim.m_state;
            const SimUser* u = d.size() > 3 ? s.userBySn(getU16(d, 0)) : nullptr;
            if (!u) {
                reply(CMD_ACK_ERROR);
                return;
            }
            const int index = static_cast<quint8>(d.at(2));
            const QString userId = u->userId;
            std::erase_if(s.faces, [&](const SimFace& f) { return f.userId == userId && f.index == index; });
            s.faces.push_back({userId, index, d.mid(3)});
            sim.persistLocked();
            break;
        }
        default:
            reply(CMD_ACK_UNKNOWN);
            return;
        }
        reply(CMD_ACK_OK);
    }
};

ZkSimulator::ZkSimulator(SimulatorOptions options, SimulatorState state)
    : m_options(std::move(options)), m_state(std::move(state)) {}

ZkSimulator::~ZkSimulator() {
    stop();
}

void ZkSimulator::start() {
    if (m_listener)
        return;
    m_listener = std::make_unique<TcpListener>(m_options.address, m_options.port);
    m_port = m_listener->port();
    m_stopping = false;
    m_acceptor = std::thread([this] { acceptLoop(); });
}

void ZkSimulator::stop() {
    if (!m_listener)
        return;
    m_stopping = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    {
        std::lock_guard lock(m_workersMutex);
        for (auto& w : m_workers)
            if (w->thread.joinable())
                w->thread.join();
        m_workers.clear();
    }
    m_listener.reset();
    std::lock_guard lock(m_mutex);
    m_disabledBy = 0;
    for (const SimPunch& p : m_pending)
        m_state.punches.push_back(p);
    m_pending.clear();
    persistLocked();
}

void ZkSimulator::acceptLoop() {
    int nextId = 0;
    while (!m_stopping) {
        TcpSocket socket = m_listener->accept(100);
        {
            std::lock_guard lock(m_workersMutex);
            m_workers.remove_if([](const std::unique_ptr<Worker>& w) {
                if (!w->done)
                    return false;
                w->thread.join();
                return true;
            });
        }
        if (!socket.isOpen())
            continue;
        SimulatorFaults faults;
        {
            std::lock_guard lock(m_mutex);
            if (m_faultsSet) {
                faults = m_faults;
                if (m_faultsOnce)
                    m_faultsSet = false;
            }
        }
        const int id = ++nextId;
        ++m_connections;
        auto worker = std::make_unique<Worker>();
        Worker* w = worker.get();
        w->thread = std::thread([this, w, faults, id, s = std::move(socket)]() mutable {
            serve(std::move(s), faults, id);
            w->done = true;
        });
        std::lock_guard lock(m_workersMutex);
        m_workers.push_back(std::move(worker));
    }
}

void ZkSimulator::serve(TcpSocket socket, SimulatorFaults faults, int id) {
    Session session(*this, std::move(socket), faults, id);
    if (!m_options.quiet)
        std::fprintf(stderr, "zksim: connection %d opened\n", id);
    try {
        while (!m_stopping && !session.closing) {
            const auto payload = session.stream.readPayload(100);
            if (!payload)
                continue;
            const Packet p = decodePayload(*payload, false);
            if (checksum(*payload) != 0)
                qWarning("zksim: request %u arrived with a wrong checksum; served anyway", p.command);
            if (p.command == CMD_ACK_OK) // acknowledgement of an event: no answer
                continue;
            std::function<void(quint16)> hook;
            {
                std::lock_guard lock(m_mutex);
                m_commands.push_back(p.command);
                hook = m_hook;
            }
            session.replyTo = p.reply;
            session.handle(p);
            ++session.answered;
            if (hook)
                hook(p.command);
            if (faults.dropAfterPackets >= 0 && session.answered >= faults.dropAfterPackets)
                break;
        }
    } catch (const std::exception& e) {
        if (!m_options.quiet)
            std::fprintf(stderr, "zksim: connection %d: %s\n", id, e.what());
    }
    session.stream.close();
    std::lock_guard lock(m_mutex);
    // A lost client's lock ends with its connection, as the terminal's own
    // time-out would end it.
    releaseLockLocked(id);
    if (!m_options.quiet)
        std::fprintf(stderr, "zksim: connection %d closed\n", id);
}

void ZkSimulator::releaseLockLocked(int sessionId) {
    if (m_disabledBy != sessionId)
        return;
    m_disabledBy = 0;
    if (!m_pending.empty()) {
        for (const SimPunch& p : m_pending)
            m_state.punches.push_back(p);
        m_pending.clear();
        persistLocked();
    }
}

void ZkSimulator::persistLocked() {
    if (m_options.stateFile.isEmpty())
        return;
    try {
        m_state.save(m_options.stateFile);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zksim: %s\n", e.what());
    }
}

SimulatorState ZkSimulator::state() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void ZkSimulator::setState(SimulatorState state) {
    std::lock_guard lock(m_mutex);
    m_state = std::move(state);
    persistLocked();
}

void ZkSimulator::modify(const std::function<void(SimulatorState&)>& change) {
    std::lock_guard lock(m_mutex);
    change(m_state);
    persistLocked();
}

void ZkSimulator::punch(const QString& userId, int verify, int state) {
    SimPunch p;
    p.userId = userId;
    p.verify = verify;
    p.state = state;
    {
        std::lock_guard lock(m_mutex);
        p.time = toDeviceTime(m_state.clock());
    }
    punchAt(p);
}

void ZkSimulator::punchAt(const SimPunch& punch) {
    std::lock_guard lock(m_mutex);
    if (m_disabledBy != 0) {
        m_pending.push_back(punch);
        return;
    }
    m_state.punches.push_back(punch);
    persistLocked();
}

bool ZkSimulator::isDisabled() const {
    std::lock_guard lock(m_mutex);
    return m_disabledBy != 0;
}

int ZkSimulator::pendingPunches() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_pending.size());
}

void ZkSimulator::setFaults(SimulatorFaults faults, bool everyConnection) {
    std::lock_guard lock(m_mutex);
    m_faults = faults;
    m_faultsOnce = !everyConnection;
    m_faultsSet = true;
}

void ZkSimulator::setCommandHook(std::function<void(quint16)> hook) {
    std::lock_guard lock(m_mutex);
    m_hook = std::move(hook);
}

std::vector<quint16> ZkSimulator::commandsSeen() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

} // namespace orv::sim

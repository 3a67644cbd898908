#include "TcpListener.h"
#include "TerminalError.h"
#include "ZkProtocol.h"
#include "ZkSimulator.h"
#include "ZkTerminal.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <thread>

using namespace orv;
using namespace orv::zk;
using orv::sim::SimulatorOptions;
using orv::sim::SimulatorState;
using orv::sim::ZkSimulator;

namespace {

// A server that answers the first request with the given bytes, whatever it
// was, and then keeps the connection open (or closes it) for a moment.
class ScriptedServer {
public:
    ScriptedServer(QByteArray answer, bool closeAtOnce) : m_listener("127.0.0.1", 0) {
        m_thread = std::thread([this, answer, closeAtOnce] {
            try {
                serve(answer, closeAtOnce);
            } catch (const TerminalError&) { // the client hung up first
            }
        });
    }
    ~ScriptedServer() { m_thread.join(); }
    int port() const { return m_listener.port(); }

private:
    void serve(const QByteArray& answer, bool closeAtOnce) {
        TcpSocket s = m_listener.accept(3000);
        if (!s.isOpen())
            return;
        if (closeAtOnce)
            return;
        QByteArray request;
        while (request.size() < 16) {
            const QByteArray chunk = s.readSome(64, 2000);
            if (chunk.isEmpty())
                return;
            request += chunk;
        }
        if (!answer.isEmpty())
            s.writeAll(answer, 1000);
        s.readSome(64, 1500); // hold the connection until the client gives up
    }

    TcpListener m_listener;
    std::thread m_thread;
};

QByteArray withChecksumFlipped(QByteArray frame) {
    frame[kPrefixSize + 2] = static_cast<char>(frame[kPrefixSize + 2] ^ 0x01);
    return frame;
}

TEST(ClientTest, MalformedRepliesFailQuicklyWithAClearMessage) {
    const QByteArray ok = encodeFrame(CMD_ACK_OK, 0x1234, 0, {});
    struct Case {
        const char* name;
        QByteArray answer;
        bool closeAtOnce;
        const char* message;
    };
    const Case cases[] = {
        {"short", QByteArray::fromHex("5050827D04000000D0070000"), false, "too short"},
        {"wrong checksum", withChecksumFlipped(ok), false, "checksum"},
        {"wrong reply id", encodeFrame(CMD_ACK_OK, 0x1234, 9, {}), false, "another request"},
        {"oversized length", QByteArray::fromHex("5050827DFFFFFF7FD0070000"), false, "more than any reply"},
        {"not a terminal", QByteArray("HTTP/1.1 400 Bad Request\r\n\r\n"), false, "not a terminal reply"},
        {"cut off", ok.left(12), false, "did not answer"},
        {"silent", QByteArray(), false, "did not answer"},
        {"closed", QByteArray(), true, "closed the connection"},
        {"refused", encodeFrame(CMD_ACK_ERROR, 0x1234, 0, {}), false, "did not accept"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(c.answer, c.closeAtOnce);
        ZkTerminal terminal;
        terminal.setTimeout(500);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(terminal.Connect_Net("127.0.0.1", server.port()));
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_TRUE(terminal.lastError().contains(c.message)) << terminal.lastError().toStdString();
        EXPECT_FALSE(terminal.isConnected());
    }
}

TEST(ClientTest, UnreachableTerminalIsReportedWithItsAddress) {
    int port = 0;
    {
        TcpListener probe("127.0.0.1", 0);
        port = probe.port();
    }
    ZkTerminal terminal;
    EXPECT_FALSE(terminal.Connect_Net("127.0.0.1", port));
    EXPECT_TRUE(terminal.lastError().contains(QStringLiteral("127.0.0.1:%1").arg(port)))
        << terminal.lastError().toStdString();
    QString enroll;
    int v, m, y, mo, d, h, mi, s, w;
    EXPECT_FALSE(terminal.SSR_GetGeneralLogData(1, enroll, v, m, y, mo, d, h, mi, s, w));
    EXPECT_FALSE(terminal.lastError().isEmpty());
}

SimulatorState punches(const std::vector<std::tuple<QString, int, int, DeviceTime>>& rows) {
    SimulatorState s;
    for (const auto& [user, verify, state, time] : rows)
        s.punches.push_back({user, verify, state, time});
    return s;
}

TEST(ClientTest, ReadsTheLogInBothReplyFormsAndRestartsOnReconnect) {
    for (const int count : {3, 5000}) { // one packet; chunked over several 64 KB reads
        SCOPED_TRACE(count);
        SimulatorState state;
        state.ensureUsers({"7", "AB12"});
        state.generatePunches(count - 2, {"1", "2", "3"}, QDate(2024, 3, 1));
        state.punches.push_back({"7", 9, 7, {2024, 3, 7, 9, 5, 2}});
        state.punches.push_back({"AB12", 0, 5, {2024, 3, 31, 23, 59, 59}});
        SimulatorOptions options;
        options.chunkPauseMs = 0;
        ZkSimulator sim(options, state);
        sim.start();

        ZkTerminal terminal;
        ASSERT_TRUE(terminal.Connect_Net("127.0.0.1", sim.port())) << terminal.lastError().toStdString();
        ASSERT_TRUE(terminal.ReadGeneralLogData(1)) << terminal.lastError().toStdString();
        EXPECT_EQ(terminal.GeneralLogCount(), count);
        QString enroll;
        int verify, mode, y, mo, d, h, mi, s, work;
        for (int i = 0; i < count; ++i) {
            ASSERT_TRUE(terminal.SSR_GetGeneralLogData(1, enroll, verify, mode, y, mo, d, h, mi, s, work));
            const auto& expected = state.punches[static_cast<size_t>(i)];
            ASSERT_EQ(enroll, expected.userId);
            ASSERT_EQ(verify, expected.verify);
            ASSERT_EQ(mode, expected.state);
            ASSERT_EQ((DeviceTime{y, mo, d, h, mi, s}), expected.time);
        }
        EXPECT_FALSE(terminal.SSR_GetGeneralLogData(1, enroll, verify, mode, y, mo, d, h, mi, s, work));
        EXPECT_TRUE(terminal.lastError().isEmpty());
        EXPECT_EQ((DeviceTime{y, mo, d, h, mi, s}), (DeviceTime{2024, 3, 31, 23, 59, 59}));

        // A new connection walks the log from its first punch again.
        ASSERT_TRUE(terminal.Connect_Net("127.0.0.1", sim.port()));
        ASSERT_TRUE(terminal.SSR_GetGeneralLogData(1, enroll, verify, mode, y, mo, d, h, mi, s, work));
        EXPECT_EQ(enroll, state.punches.front().userId);
        terminal.Disconnect();
    }
}

TEST(ClientTest, ClearsTheLogSetsTheClockAndLocksTheDevice) {
    SimulatorState state = punches({{"1", 1, 0, {2024, 3, 7, 9, 5, 2}}});
    state.setClock(QDateTime(QDate(2019, 1, 1), QTime(0, 0)));
    ZkSimulator sim({}, state);
    sim.start();
    ZkTerminal terminal;
    ASSERT_TRUE(terminal.Connect_Net("127.0.0.1", sim.port()));

    ASSERT_TRUE(terminal.EnableDevice(1, false));
    EXPECT_TRUE(sim.isDisabled());
    sim.punch("2"); // waits while the terminal is locked
    ASSERT_TRUE(terminal.ClearGLog(1));
    EXPECT_TRUE(sim.isDisabled()) << "clearing must not unlock a device the caller locked";
    EXPECT_TRUE(sim.state().punches.empty());
    ASSERT_TRUE(terminal.EnableDevice(1, true));
    EXPECT_FALSE(sim.isDisabled());
    ASSERT_EQ(sim.state().punches.size(), 1u);
    EXPECT_EQ(sim.state().punches.front().userId, "2");

    ASSERT_TRUE(terminal.SetDeviceTime(1));
    EXPECT_LE(std::abs(QDateTime::currentDateTime().secsTo(sim.state().clock())), 2);
}

TEST(ClientTest, UsersTemplatesAndFacesTravelBetweenTerminals) {
    ZkSimulator first;
    ZkSimulator second;
    first.start();
    second.start();
    ZkTerminal a;
    ZkTerminal b;
    ASSERT_TRUE(a.Connect_Net("127.0.0.1", first.port()));
    ASSERT_TRUE(b.Connect_Net("127.0.0.1", second.port()));

    ASSERT_TRUE(a.StartEnrollEx("1001", 3, 1)) << a.lastError().toStdString();
    ASSERT_TRUE(a.StartEnrollEx("1001", 111, 1));
    ASSERT_TRUE(a.SSR_SetUserInfo(1, "1001", "DELA CRUZ,JUAN ", "", 0, true)) << a.lastError().toStdString();
    ASSERT_TRUE(a.SSR_SetUserInfo(1, "1002", "SANTOS,ANA ", "12", 2, false));
    ASSERT_TRUE(a.SSR_SetUserInfo(1, "1001", "DELA CRUZ,JUAN JR", "", 0, true)); // overwrite keeps the index
    const SimulatorState s = first.state();
    ASSERT_EQ(s.users.size(), 2u);
    EXPECT_EQ(s.userById("1001")->name, "DELA CRUZ,JUAN JR");
    EXPECT_EQ(s.userById("1001")->sn, 1);
    EXPECT_EQ(s.userById("1002")->privilege, privilegeByte(2, false));

    int flag = 0, length = 0;
    QString text;
    ASSERT_TRUE(a.GetUserTmpExStr(1, "1001", 3, flag, text, length)) << a.lastError().toStdString();
    EXPECT_TRUE(text.startsWith("Tf1TUzIx")); // base64 of the template bytes, which start "\x4D\xFD" "SS21"
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(length, 512);
    int none = 0;
    QString empty;
    EXPECT_FALSE(a.GetUserTmpExStr(1, "1001", 4, flag, empty, none));
    EXPECT_TRUE(a.lastError().contains("no template for finger 4"));
    EXPECT_FALSE(a.GetUserTmpExStr(1, "9999", 0, flag, empty, none));
    EXPECT_TRUE(a.lastError().contains("no user with enrol number 9999"));
    EXPECT_TRUE(a.isConnected()) << "a refusal keeps the connection";
    QString face;
    int faceLength = 0;
    ASSERT_TRUE(a.GetUserFaceStr(1, "1001", 12, face, faceLength)) << a.lastError().toStdString();

    ASSERT_TRUE(b.SSR_SetUserInfo(1, "1001", "DELA CRUZ,JUAN JR", "", 0, true));
    EXPECT_FALSE(b.SetUserTmpExStr(1, "1001", 3, 1, "not base64!"));
    ASSERT_TRUE(b.SetUserTmpExStr(1, "1001", 3, 3, text)) << b.lastError().toStdString();
    ASSERT_TRUE(b.SetUserFaceStr(1, "1001", 12, face, faceLength)) << b.lastError().toStdString();
    QString copied, copiedFace;
    ASSERT_TRUE(b.GetUserTmpExStr(1, "1001", 3, flag, copied, length));
    EXPECT_EQ(copied, text);
    EXPECT_EQ(second.state().templates.front().flag, 3);
    ASSERT_TRUE(b.GetUserFaceStr(1, "1001", 12, copiedFace, faceLength));
    EXPECT_EQ(copiedFace, face);
    EXPECT_FALSE(b.SetUserFaceStr(1, "1001", 12, "", 0));
}

TEST(ClientTest, TerminalWithoutFaceSupportAnswersFalseWithTheReason) {
    SimulatorOptions options;
    options.faces = false;
    SimulatorState state;
    state.ensureUsers({"5"});
    ZkSimulator sim(options, state);
    sim.start();
    ZkTerminal terminal;
    ASSERT_TRUE(terminal.Connect_Net("127.0.0.1", sim.port()));
    QString face;
    int length = 0;
    EXPECT_FALSE(terminal.GetUserFaceStr(1, "5", 12, face, length));
    EXPECT_EQ(terminal.lastError(), "face templates not supported by this terminal");
    EXPECT_FALSE(terminal.SetUserFaceStr(1, "5", 12, "AAAA", 3));
    EXPECT_EQ(terminal.lastError(), "face templates not supported by this terminal");
}

TEST(ClientTest, InjectedFaultsBreakTheReadWithAClearMessage) {
    struct Case {
        const char* name;
        sim::SimulatorFaults faults;
        const char* message;
    };
    const Case cases[] = {
        {"dropped", {4, 0, -1}, "closed the connection"}, // CONNECT, FREE_SIZES, DISABLE, DATA_WRRQ
        {"corrupted", {-1, 0, 6}, "checksum"},            // inside the first chunk
        {"slow", {-1, 700, -1}, "did not answer"},
    };
    SimulatorState state;
    state.generatePunches(3000, {"1", "2"}, QDate(2024, 3, 1));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatorOptions options;
        options.chunkPauseMs = 0;
        ZkSimulator sim(options, state);
        sim.start();
        sim.setFaults(c.faults);
        ZkTerminal terminal;
        terminal.setTimeout(400);
        QElapsedTimer clock;
        clock.start();
        const bool connected = terminal.Connect_Net("127.0.0.1", sim.port());
        const bool read = connected && terminal.ReadGeneralLogData(1);
        EXPECT_FALSE(read);
        EXPECT_TRUE(terminal.lastError().contains(c.message)) << terminal.lastError().toStdString();
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(sim.state().punches.size(), 3000u);
        // The next connection has no faults and reads everything.
        terminal.setTimeout(5000);
        ASSERT_TRUE(terminal.Connect_Net("127.0.0.1", sim.port()));
        ASSERT_TRUE(terminal.ReadGeneralLogData(1)) << terminal.lastError().toStdString();
        EXPECT_EQ(terminal.GeneralLogCount(), 3000);
    }
}

} // namespace

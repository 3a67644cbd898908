#pragma once

#include "SimulatorState.h"

#include <QString>

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orv {
class TcpListener;
class TcpSocket;
} // namespace orv

namespace orv::sim {

// Faults to inject into a connection.
struct SimulatorFaults {
    int dropAfterPackets = -1;  // close the connection after answering this many requests
    int delayMs = 0;            // wait this long before every reply packet
    int corruptChecksumAt = -1; // send the n-th reply packet (1 = first) with a wrong checksum
};

struct SimulatorOptions {
    QString address = QStringLiteral("127.0.0.1");
    int port = 0;               // 0 picks a free port
    QString stateFile;          // empty: the state lives in memory only
    int chunkPauseMs = 20;      // pause between the packets of one bulk chunk
    int smallReplyBytes = 1024; // bulk data up to this size goes back in one packet
    bool faces = true;          // serve the face-template commands
    bool quiet = true;          // print no line per connection
};

// A simulated ZKTeco terminal serving the terminal protocol on TCP. It runs
// on threads of its own (one listener, one per connection) between start()
// and stop(), and keeps its state in memory and, when a state file is given,
// on disk after every change. Public calls are safe from any thread.
//
// The device lock: while a connection has the device disabled, a punch made
// on the terminal (punch()) waits, as a person waits at a locked terminal,
// and is stored once the device is enabled again or that connection ends.
class ZkSimulator {
public:
    explicit ZkSimulator(SimulatorOptions options = {}, SimulatorState state = {});
    ~ZkSimulator();
    ZkSimulator(const ZkSimulator&) = delete;
    ZkSimulator& operator=(const ZkSimulator&) = delete;

    // Throws TerminalError when the port cannot be bound.
    void start();
    void stop();
    int port() const { return m_port; }

    SimulatorState state() const;
    void setState(SimulatorState state);
    void modify(const std::function<void(SimulatorState&)>& change);
    // A person punches on the terminal now (at the terminal's clock, unless
    // time is given).
    void punch(const QString& userId, int verify = 1, int state = 0);
    void punchAt(const SimPunch& punch);
    bool isDisabled() const;
    int pendingPunches() const;

    // Faults for the next connection only (once) or for every later one.
    void setFaults(SimulatorFaults faults, bool everyConnection = false);
    // Called on the connection's thread after each request is answered, with
    // its command code; for tests that act in the middle of a session.
    void setCommandHook(std::function<void(quint16 command)> hook);
    // Every command code received so far, in order (client acknowledgements
    // excluded).
    std::vector<quint16> commandsSeen() const;
    int connectionsServed() const { return m_connections; }

private:
    struct Session;
    void acceptLoop();
    void serve(TcpSocket socket, SimulatorFaults faults, int id);
    void persistLocked();
    void releaseLockLocked(int sessionId);

    SimulatorOptions m_options;
    mutable std::mutex m_mutex;
    SimulatorState m_state;
    std::vector<SimPunch> m_pending;
    int m_disabledBy = 0; // session id holding the device lock, 0 when free
    SimulatorFaults m_faults;
    bool m_faultsOnce = true;
    bool m_faultsSet = false;
    std::function<void(quint16)> m_hook;
    std::vector<quint16> m_commands;

    std::unique_ptr<TcpListener> m_listener;
    int m_port = 0;
    std::atomic<bool> m_stopping = false;
    std::atomic<int> m_connections = 0;
    std::thread m_acceptor;
    struct Worker {
        std::thread thread;
        std::atomic<bool> done = false;
    };
    std::list<std::unique_ptr<Worker>> m_workers;
    std::mutex m_workersMutex;
};

} // namespace orv::sim

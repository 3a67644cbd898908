#pragma once

#include "ConnectionSettings.h"
#include "NamedQuery.h"
#include "QueryResult.h"
#include "SqlParams.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <pqxx/connection>
#include <pqxx/transaction>

namespace orv {

// A unit of writes that belong together, run inside one database transaction:
// either everything in it is stored or nothing is.
class Transaction {
public:
    Transaction(pqxx::work& work, std::atomic<qint64>& roundTrips) : m_work(work), m_roundTrips(roundTrips) {}

    QueryResult query(const QString& sql, const SqlParams& params = {});
    qint64 execute(const QString& sql, const SqlParams& params = {});
    // For bulk work (stream_to, arrays) that the two calls above do not cover.
    pqxx::work& raw() { return m_work; }

private:
    pqxx::work& m_work;
    std::atomic<qint64>& m_roundTrips;
};

// The program's one connection to its database. Every statement of the
// program goes through it; calls from any thread are serialised, so the UI
// and a background body never use the connection at the same moment.
//
// Lost connection: the first loss in the life of the object reconnects and
// repeats the failed call; a second loss (even hours later) calls the fatal
// handler, which ends the program, and the call fails with the server's error.
class DataCon {
public:
    explicit DataCon(ConnectionSettings settings = {});
    ~DataCon();
    DataCon(const DataCon&) = delete;
    DataCon& operator=(const DataCon&) = delete;

    const ConnectionSettings& settings() const { return m_settings; }
    // Sets where to connect; takes effect at the next connect.
    void configure(ConnectionSettings settings);

    // Connects (at most the connect time-out) and switches sorting off for
    // the planner. Throws ConnectionError with the server's reason.
    void connect();
    void disconnect();
    bool isConnected() const;

    QueryResult query(const QString& sql, const SqlParams& params = {});
    qint64 execute(const QString& sql, const SqlParams& params = {});

    // Runs body inside one transaction and commits; any exception rolls it back.
    template <class Body> auto transaction(Body&& body) {
        using R = std::invoke_result_t<Body&, Transaction&>;
        if constexpr (std::is_void_v<R>) {
            runInTransaction([&](Transaction& t) { body(t); });
        } else {
            std::optional<R> out;
            runInTransaction([&](Transaction& t) { out.emplace(body(t)); });
            return std::move(*out);
        }
    }

    // The server process id of this connection.
    int backendPid();

    // How many reconnects the lost-connection rule has granted.
    int retryCount() const { return m_retryCount; }
    // Called (on the thread that met the loss) when a second loss ends the program.
    void setFatalHandler(std::function<void(const QString&)> handler);
    // Counts exchanges with the server since the last reset (for measurement):
    // each statement, and the begin and commit of each transaction.
    qint64 roundTrips() const { return m_roundTrips; }
    void resetRoundTrips() { m_roundTrips = 0; }

    // The named queries that screens show in their grids.
    NamedQuery officeList;
    NamedQuery Searchdtrname;
    NamedQuery DTR_Details;
    NamedQuery detailed_dtr;
    NamedQuery Holidays;
    NamedQuery DTR_QueryReports;
    NamedQuery EmpImpList;
    // In creation order, for the start-up warm-up.
    std::vector<NamedQuery*> namedQueries();

private:
    void runLocked(const std::function<void(pqxx::connection&)>& work);
    void runInTransaction(const std::function<void(Transaction&)>& body);
    void open();

    ConnectionSettings m_settings;
    std::unique_ptr<pqxx::connection> m_connection;
    mutable std::mutex m_mutex;
    std::thread::id m_owner;
    int m_retryCount = 0;
    std::atomic<qint64> m_roundTrips = 0;
    std::function<void(const QString&)> m_fatalHandler;
};

} // namespace orv

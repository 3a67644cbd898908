#include "DataCon.h"
#include "Errors.h"

#include <pqxx/connection>
#include <pqxx/except>
#include <pqxx/nontransaction>
#include <pqxx/transaction>

#include <stdexcept>

namespace orv {

namespace {

pqxx::result run(pqxx::transaction_base& tx, const QString& sql, const SqlParams& params) {
    const SqlParams::Prepared p = params.prepare(sql);
    if (p.values.empty())
        return tx.exec(p.sql);
    std::vector<const char*> values;
    values.reserve(p.values.size());
    for (const auto& v : p.values)
        values.push_back(v ? v->c_str() : nullptr);
    return tx.exec_params(p.sql, pqxx::prepare::make_dynamic_params(values));
}

// Marks the calling thread as the connection's user for the length of a call,
// so a nested call from inside a transaction body is caught at once instead
// of deadlocking.
class OwnerMark {
public:
    explicit OwnerMark(std::thread::id& owner) : m_owner(owner) { m_owner = std::this_thread::get_id(); }
    ~OwnerMark() { m_owner = std::thread::id(); }
    OwnerMark(const OwnerMark&) = delete;
    OwnerMark& operator=(const OwnerMark&) = delete;

private:
    std::thread::id& m_owner;
};

} // namespace

QueryResult Transaction::query(const QString& sql, const SqlParams& params) {
    ++m_roundTrips;
    return QueryResult(run(m_work, sql, params));
}

qint64 Transaction::execute(const QString& sql, const SqlParams& params) {
    ++m_roundTrips;
    return static_cast<qint64>(run(m_work, sql, params).affected_rows());
}

DataCon::DataCon(ConnectionSettings settings)
    : officeList(QStringLiteral("officeList")), Searchdtrname(QStringLiteral("Searchdtrname")),
      DTR_Details(QStringLiteral("DTR_Details")), detailed_dtr(QStringLiteral("detailed_dtr")),
      Holidays(QStringLiteral("Holidays")), DTR_QueryReports(QStringLiteral("DTR_QueryReports")),
      EmpImpList(QStringLiteral("EmpImpList")), m_settings(std::move(settings)) {
    defineNamedQueries(*this);
}

DataCon::~DataCon() = default;

std::vector<NamedQuery*> DataCon::namedQueries() {
    return {&officeList, &Searchdtrname,    &DTR_Details, &detailed_dtr,
            &Holidays,   &DTR_QueryReports, &EmpImpList};
}

void DataCon::open() {
    try {
        auto connection = std::make_unique<pqxx::connection>(m_settings.conninfo());
        pqxx::nontransaction tx(*connection);
        tx.exec("set enable_sort to off");
        // With sorting off the planner prices every sort far above the JIT
        // threshold, and compiling each such statement costs about a second.
        tx.exec("set jit to off");
        tx.commit();
        m_connection = std::move(connection);
    } catch (const std::exception& e) {
        m_connection.reset();
        throw ConnectionError(QStringLiteral("Cannot connect to the database %1: %2")
                                  .arg(m_settings.describe(), QString::fromUtf8(e.what()).trimmed()));
    }
}

void DataCon::configure(ConnectionSettings settings) {
    std::lock_guard lock(m_mutex);
    m_settings = std::move(settings);
}

void DataCon::connect() {
    std::lock_guard lock(m_mutex);
    open();
}

void DataCon::disconnect() {
    std::lock_guard lock(m_mutex);
    m_connection.reset();
}

bool DataCon::isConnected() const {
    std::lock_guard lock(m_mutex);
    return m_connection && m_connection->is_open();
}

void DataCon::setFatalHandler(std::function<void(const QString&)> handler) {
    std::lock_guard lock(m_mutex);
    m_fatalHandler = std::move(handler);
}

void DataCon::runLocked(const std::function<void(pqxx::connection&)>& work) {
    if (m_owner == std::this_thread::get_id())
        throw std::logic_error("A database call was made from inside another one on the same thread.");
    std::lock_guard lock(m_mutex);
    OwnerMark mark(m_owner);
    if (!m_connection)
        open();
    try {
        work(*m_connection);
    } catch (const pqxx::broken_connection& lost) {
        if (m_retryCount > 0) {
            m_retryCount = 0;
            const QString reason = QString::fromUtf8(lost.what()).trimmed();
            m_connection.reset();
            if (m_fatalHandler)
                m_fatalHandler(reason);
            throw ConnectionError(
                QStringLiteral("The connection to the database was lost again: %1").arg(reason));
        }
        ++m_retryCount;
        m_connection.reset();
        try {
            open();
        } catch (const ConnectionError& e) {
            if (m_fatalHandler)
                m_fatalHandler(e.text());
            throw;
        }
        work(*m_connection);
    }
}

QueryResult DataCon::query(const QString& sql, const SqlParams& params) {
    QueryResult out;
    runLocked([&](pqxx::connection& c) {
        ++m_roundTrips;
        pqxx::nontransaction tx(c);
        out = QueryResult(run(tx, sql, params));
    });
    return out;
}

qint64 DataCon::execute(const QString& sql, const SqlParams& params) {
    return query(sql, params).affectedRows();
}

void DataCon::runInTransaction(const std::function<void(Transaction&)>& body) {
    runLocked([&](pqxx::connection& c) {
        m_roundTrips += 2; // begin and commit
        pqxx::work work(c);
        Transaction t(work, m_roundTrips);
        body(t);
        work.commit();
    });
}

int DataCon::backendPid() {
    return query(QStringLiteral("SELECT pg_backend_pid()")).toInt(0, QStringLiteral("pg_backend_pid"));
}

} // namespace orv

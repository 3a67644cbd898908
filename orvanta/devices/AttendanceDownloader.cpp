#include "AttendanceDownloader.h"

#include "Terminal.h"
#include "data/DataCon.h"
#include "data/Errors.h"

#include <QDate>
#include <QTime>

namespace orv {

namespace {

const QString kDeviceQuery =
    QStringLiteral("SELECT off_name,off_short,zkteco_ipadd,zkteco_port,zkteco_devicenum from zkteco_devices "
                   "INNER JOIN offices on "
                   "zkteco_devices.officeid = offices.officeid order by off_name");
const QString kLookupQuery = QStringLiteral(
    "SELECT zkteco_ipadd,zkteco_port,off_name,zkteco_devicenum from zkteco_devices INNER JOIN offices "
    "on zkteco_devices.officeid = offices.officeid WHERE off_name ilike :name");
// One statement per batch; the arrays travel as bound values.
const QString kInsertBatch =
    QStringLiteral("INSERT INTO attendance_read(bioid,att_date,check_mode,verify_mode) "
                   "SELECT * FROM unnest($1::integer[], $2::timestamp[], $3::varchar[], $4::text[]) "
                   "ON CONFLICT (bioid, att_date) DO NOTHING");

TerminalAddress addressOf(const QueryResult& r, int row) {
    TerminalAddress a;
    a.officeName = r.text(row, "off_name");
    a.address = r.text(row, "zkteco_ipadd").trimmed();
    a.port = r.isNull(row, "zkteco_port") ? 4370 : r.toInt(row, "zkteco_port");
    a.machineNumber = r.isNull(row, "zkteco_devicenum") ? 1 : r.toInt(row, "zkteco_devicenum");
    return a;
}

// An element of a PostgreSQL array literal, quoted.
QString arrayElement(const QString& text) {
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + out + u'"';
}

// The punches of one batch, as the four array literals of the statement.
struct Batch {
    QStringList bioids, dates, checks, verifies, lines;
    int size() const { return static_cast<int>(bioids.size()); }
    void clear() {
        bioids.clear();
        dates.clear();
        checks.clear();
        verifies.clear();
        lines.clear();
    }
};

QString literal(const QStringList& elements) {
    return u'{' + elements.join(u',') + u'}';
}

// A whole number that fits the bioid column, written by the terminal.
std::optional<int> enrolNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok || v > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

AttendanceDownloader::AttendanceDownloader(DataCon& db, Terminal& terminal)
    : m_db(db), m_terminal(terminal) {}

QStringList AttendanceDownloader::officeNames(DataCon& db) {
    const QueryResult r = db.query(kDeviceQuery);
    QStringList names;
    for (int i = 0; i < r.rowCount(); ++i)
        names << r.text(i, "off_name");
    return names;
}

std::optional<TerminalAddress> AttendanceDownloader::findTerminal(DataCon& db, const QString& officeName) {
    const QueryResult r = db.query(kLookupQuery, SqlParams().bind("name", officeName));
    if (r.empty())
        return std::nullopt;
    return addressOf(r, 0);
}

std::vector<TerminalAddress> AttendanceDownloader::allTerminals(DataCon& db) {
    const QueryResult r = db.query(kDeviceQuery);
    std::vector<TerminalAddress> out;
    for (int i = 0; i < r.rowCount(); ++i)
        out.push_back(addressOf(r, i));
    return out;
}

QString AttendanceDownloader::verifyWord(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("password");
    case 1:
        return QStringLiteral("finger");
    case 2:
        return QStringLiteral("card");
    case 3:
        return QStringLiteral("face");
    default:
        return QString::number(code); // includes "4" and "5"
    }
}

QString AttendanceDownloader::checkWord(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("check-in");
    case 1:
        return QStringLiteral("check-out");
    case 2:
        return QStringLiteral("break-out");
    case 3:
        return QStringLiteral("break-in");
    case 4:
        return QStringLiteral("overtime-in");
    case 5:
        return QStringLiteral("overtime-out");
    default:
        return QString::number(code);
    }
}

QString AttendanceDownloader::attDateText(int year, int month, int day, int hour, int minute, int second) {
    return QString::asprintf("%d-%.2d-%.2d %.2d:%.2d:%.2d", year, month, day, hour, minute, second);
}

QString AttendanceDownloader::logLine(int count, const QString& enrollNumber, const QString& attDate,
                                      const QString& verify, const QString& mode) {
    return QString::number(count) + QStringLiteral(". ") + QStringLiteral("Id_num :  ") + enrollNumber +
           QStringLiteral("  | Date :  ") + attDate.left(10) + QStringLiteral("  | Time : ") +
           attDate.mid(11) + QStringLiteral(" | Verification Mode : ") + verify +
           QStringLiteral("  | Mode : ") + mode;
}

DownloadResult AttendanceDownloader::run(const TerminalAddress& where, const DownloadProgress& progress) {
    const auto status = [&](const QString& text) {
        if (progress.status)
            progress.status(text);
    };
    const QString device = where.officeName.isEmpty() ? where.address : where.officeName;
    const int machine = where.machineNumber;
    DownloadResult result;

    status(QStringLiteral("Please wait.."));
    if (!m_terminal.Connect_Net(where.address, where.port))
        throw UserError(
            QStringLiteral("Unable to connect on %1 device. %2").arg(device, m_terminal.lastError()));
    if (!m_terminal.EnableDevice(machine, false))
        throw UserError(
            QStringLiteral("The %1 device could not be locked for the download; nothing was read or "
                           "cleared. %2")
                .arg(device, m_terminal.lastError()));

    // Unlocks the terminal; after a lost connection, through a new one.
    const auto unlock = [&]() -> bool {
        if (m_terminal.EnableDevice(machine, true))
            return true;
        return m_terminal.Connect_Net(where.address, where.port) && m_terminal.EnableDevice(machine, true);
    };

    try {
        if (!m_terminal.ReadGeneralLogData(machine))
            throw UserError(QStringLiteral("The punches could not be read from the %1 device; nothing was "
                                           "cleared. %2")
                                .arg(device, m_terminal.lastError()));
        const int total = m_terminal.GeneralLogCount();
        if (total > 0) {
            status(QStringLiteral("Total attendance to download : ") + QString::number(total));
            if (progress.started)
                progress.started(total);
        }

        Batch batch;
        const auto flush = [&] {
            if (batch.size() == 0)
                return;
            const qint64 inserted = m_db.transaction([&](Transaction& t) {
                return t.execute(kInsertBatch, SqlParams()
                                                   .add(literal(batch.bioids))
                                                   .add(literal(batch.dates))
                                                   .add(literal(batch.checks))
                                                   .add(literal(batch.verifies)));
            });
            result.stored += static_cast<int>(inserted);
            result.alreadyPresent += batch.size() - static_cast<int>(inserted);
            if (progress.lines)
                progress.lines(batch.lines, result.read);
            batch.clear();
        };

        QString enroll;
        int verify = 0, mode = 0, year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0,
            workCode = 0;
        while (m_terminal.SSR_GetGeneralLogData(machine, enroll, verify, mode, year, month, day, hour, minute,
                                                second, workCode)) {
            const int count = result.read + 1;
            const std::optional<int> bioid = enrolNumber(enroll);
            if (!bioid) {
                flush();
                throw UserError(
                    QStringLiteral("The %1 device holds a punch whose enrol number \"%2\" is not a "
                                   "number (punch %3 of %4). Nothing was cleared from the device; "
                                   "correct that user on the device and download again.")
                        .arg(device, enroll)
                        .arg(count)
                        .arg(total));
            }
            const QString date = attDateText(year, month, day, hour, minute, second);
            if (!QDate(year, month, day).isValid() || !QTime(hour, minute, second).isValid()) {
                flush();
                throw UserError(
                    QStringLiteral("The %1 device holds a punch of enrol number %2 with the impossible "
                                   "time %3 (punch %4 of %5). Nothing was cleared from the device.")
                        .arg(device, enroll, date)
                        .arg(count)
                        .arg(total));
            }
            result.read = count;
            const QString verifyText = verifyWord(verify);
            const QString checkText = checkWord(mode);
            batch.bioids << QString::number(*bioid);
            batch.dates << arrayElement(date);
            batch.checks << arrayElement(checkText);
            batch.verifies << arrayElement(verifyText);
            batch.lines << logLine(count, enroll, date, verifyText, checkText);
            if (batch.size() >= m_batchSize)
                flush();
        }
        if (!m_terminal.lastError().isEmpty())
            throw UserError(QStringLiteral("The punches could not be read from the %1 device; nothing was "
                                           "cleared. %2")
                                .arg(device, m_terminal.lastError()));
        flush();

        // Everything read is stored: now the log may go.
        if (!m_terminal.ClearGLog(machine))
            throw UserError(
                QStringLiteral("All %1 punches of the %2 device were stored, but its log could not be "
                               "cleared; the next download skips them. %3")
                    .arg(result.read)
                    .arg(device, m_terminal.lastError()));
        result.cleared = true;
        if (!m_terminal.SetDeviceTime(machine))
            throw UserError(
                QStringLiteral("The attendance of the %1 device was downloaded, but its clock could not "
                               "be set. %2")
                    .arg(device, m_terminal.lastError()));
        result.clockSet = true;
    } catch (...) {
        unlock();
        throw;
    }
    if (!unlock())
        throw UserError(
            QStringLiteral("The attendance of the %1 device was downloaded, but the device could not be "
                           "unlocked; restart it. %2")
                .arg(device, m_terminal.lastError()));
    return result;
}

} // namespace orv

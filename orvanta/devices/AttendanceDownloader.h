#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class DataCon;
class Terminal;

// One terminal row of zkteco_devices with its office's name.
struct TerminalAddress {
    QString officeName;
    QString address;
    int port = 4370;
    int machineNumber = 1;
};

// What a download did.
struct DownloadResult {
    int read = 0;           // punches read from the terminal
    int stored = 0;         // new rows of attendance_read
    int alreadyPresent = 0; // punches that were stored before
    bool cleared = false;   // the terminal's log was emptied
    bool clockSet = false;  // the terminal's clock was set
};

// Progress reports of a download, called on the thread that runs it.
struct DownloadProgress {
    std::function<void(const QString& text)> status;
    // The number of punches is known: the log starts afresh.
    std::function<void(int total)> started;
    // Log lines of punches just stored or skipped, and how many are done.
    std::function<void(const QStringList& lines, int processed)> lines;
};

// Copies every punch of a terminal into attendance_read, then empties the
// terminal's log and sets its clock.
//
// The terminal is locked (disabled) from before the log is read until after
// it is cleared, so no punch can arrive in between and be cleared unread;
// it is unlocked again afterwards, also after an error. Punches are stored
// in batches, each batch one statement in one transaction, and a punch
// already stored (same bioid and att_date, also by another workstation at
// the same moment) is skipped by the database's unique key. The log is
// cleared only after every punch read is stored; any failure before that
// leaves the terminal's log as it was and reports what happened.
class AttendanceDownloader {
public:
    AttendanceDownloader(DataCon& db, Terminal& terminal);

    // Punches per stored batch (one statement, one transaction each).
    void setBatchSize(int punches) { m_batchSize = punches > 0 ? punches : 1; }

    // Throws UserError with a message for the user when the terminal cannot
    // be reached or read, a punch cannot be stored, or the log or the lock
    // cannot be handled; the message says whether the log was cleared.
    DownloadResult run(const TerminalAddress& terminal, const DownloadProgress& progress = {});

    // The device list: off_name of every terminal row, by name.
    static QStringList officeNames(DataCon& db);
    // The first terminal row of the office named (as the connect looks it up).
    static std::optional<TerminalAddress> findTerminal(DataCon& db, const QString& officeName);
    // Every terminal row, by office name.
    static std::vector<TerminalAddress> allTerminals(DataCon& db);

    // The words stored for the terminal's codes; a code without a word is
    // stored as its digits.
    static QString verifyWord(int code);
    static QString checkWord(int code);
    // "YYYY-MM-DD hh:mm:ss".
    static QString attDateText(int year, int month, int day, int hour, int minute, int second);
    // One line of the download log.
    static QString logLine(int count, const QString& enrollNumber, const QString& attDate,
                           const QString& verify, const QString& mode);

private:
    DataCon& m_db;
    Terminal& m_terminal;
    int m_batchSize = 2000;
};

} // namespace orv

// download: copies the punches of one office's terminal (or of every terminal
// row) into attendance_read, clears the terminal's log and sets its clock.
#include "CliContext.h"
#include "Commands.h"

#include "ZkTerminal.h"
#include "data/Errors.h"
#include "devices/AttendanceDownloader.h"

namespace orv::cli {

int runDownload(CliContext& c) {
    c.allowOnly({QStringLiteral("settings"), QStringLiteral("office"), QStringLiteral("all")});
    const std::optional<QString> office = c.option(QStringLiteral("office"));
    const bool all = c.flag(QStringLiteral("all"));
    if (office.has_value() == all)
        throw UserError(QStringLiteral("Give either --office NAME or --all."));

    DataCon& db = c.db();
    std::vector<TerminalAddress> terminals;
    if (all) {
        terminals = AttendanceDownloader::allTerminals(db);
        if (terminals.empty())
            throw UserError(QStringLiteral("No terminal is registered in zkteco_devices."));
    } else {
        const auto found = AttendanceDownloader::findTerminal(db, *office);
        if (!found)
            throw UserError(QStringLiteral("No terminal is registered for the office \"%1\".").arg(*office));
        terminals.push_back(*found);
    }

    int failed = 0;
    DownloadResult total;
    for (const TerminalAddress& t : terminals) {
        c.out() << "== " << t.officeName << " (" << t.address << ":" << t.port << ", machine "
                << t.machineNumber << ")\n";
        DownloadProgress progress;
        progress.status = [&](const QString& s) { c.out() << s << "\n"; };
        progress.lines = [&](const QStringList& lines, int) {
            for (const QString& line : lines)
                c.out() << line << "\n";
            c.out().flush();
        };
        try {
            ZkTerminal terminal;
            const DownloadResult r = AttendanceDownloader(db, terminal).run(t, progress);
            c.out() << "End...\n100% attendance downloaded\n"
                    << "Read " << r.read << ", stored " << r.stored << ", already present "
                    << r.alreadyPresent << "; the terminal's log was cleared and its clock set.\n";
            total.read += r.read;
            total.stored += r.stored;
            total.alreadyPresent += r.alreadyPresent;
        } catch (const UserError& e) {
            ++failed;
            c.out().flush();
            c.err() << t.officeName << ": " << e.text() << "\n";
            c.err().flush();
        }
    }
    if (terminals.size() > 1)
        c.out() << "\nAll terminals: read " << total.read << ", stored " << total.stored
                << ", already present " << total.alreadyPresent << "; " << terminals.size() - failed << " of "
                << terminals.size() << " downloaded.\n";
    return failed == 0 ? 0 : 1;
}

} // namespace orv::cli

// check-connection: connects as Orvanta does and says so, or prints why not.
#include "CliContext.h"
#include "Commands.h"

#include "data/Errors.h"

namespace orv::cli {

int runCheckConnection(CliContext& c) {
    c.allowOnly({QStringLiteral("settings")});
    try {
        DataCon& db = c.db();
        const int pid = db.backendPid();
        c.out() << "Connected to " << db.settings().describe() << " as " << db.settings().user
                << " (server process " << pid << ").\n";
        return 0;
    } catch (const SettingsError&) {
        throw;
    } catch (const ConnectionError& e) {
        c.err() << "System Connection Failed, Please contact your System Administrator!\n"
                << e.text() << "\n";
        return 1;
    }
}

} // namespace orv::cli

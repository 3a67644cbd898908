// zksim: a simulated ZKTeco terminal on a TCP port, for tests, benchmarks and
// the demo. Runs until interrupted (SIGINT or SIGTERM) and keeps its state in
// a JSON file.
#include "SimulatorState.h"
#include "ZkSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <pthread.h>

using namespace orv::sim;

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "zksim: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Signals are taken by sigwait below, so block them before any thread starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zksim"));
    QCommandLineParser cli;
    cli.setApplicationDescription(
        QStringLiteral("Simulated ZKTeco terminal speaking the terminal protocol on TCP.\n"
                       "Preload options apply when the state file does not exist yet, or with --reset."));
    cli.addHelpOption();
    const QCommandLineOption port({"p", "port"}, "TCP port (0 picks a free one).", "P", "4370");
    const QCommandLineOption bind("bind", "Address to listen on.", "ADDR", "127.0.0.1");
    const QCommandLineOption stateFile("state", "JSON state file (users, templates, punches, clock).",
                                       "FILE");
    const QCommandLineOption reset("reset", "Start from an empty terminal even if the state file exists.");
    const QCommandLineOption punches("punches", "Preload N punches.", "N", "0");
    const QCommandLineOption users("users", "Preload M users with enrol numbers 1..M.", "M", "0");
    const QCommandLineOption userIds("user-ids", "Preload users with these enrol numbers (comma list).",
                                     "LIST");
    const QCommandLineOption month("month", "Month of the preloaded punches.", "YYYY-MM");
    const QCommandLineOption csv(
        "csv", "Preload punches from CSV: enrol,YYYY-MM-DD hh:mm:ss[,verify[,state]].", "FILE");
    const QCommandLineOption dropAfter("drop-after",
                                       "Fault: close each connection after answering K requests.", "K");
    const QCommandLineOption delay("delay", "Fault: wait MS milliseconds before every reply packet.", "MS");
    const QCommandLineOption corrupt(
        "corrupt-checksum", "Fault: send the N-th reply packet of each connection with a bad checksum.", "N");
    const QCommandLineOption chunkPause("chunk-pause", "Pause between the packets of one bulk chunk.", "MS",
                                        "20");
    const QCommandLineOption smallReply("small-reply", "Largest bulk reply sent in one packet.", "BYTES",
                                        "1024");
    const QCommandLineOption noFaces("no-faces", "Refuse the face-template commands, as most terminals do.");
    const QCommandLineOption verbose("verbose", "Print a line per connection.");
    cli.addOptions({port, bind, stateFile, reset, punches, users, userIds, month, csv, dropAfter, delay,
                    corrupt, chunkPause, smallReply, noFaces, verbose});
    cli.process(app);

    const auto number = [&](const QCommandLineOption& o, int& out) {
        bool ok = false;
        out = cli.value(o).toInt(&ok);
        return ok && out >= 0;
    };

    SimulatorOptions options;
    options.address = cli.value(bind);
    options.stateFile = cli.value(stateFile);
    options.faces = !cli.isSet(noFaces);
    options.quiet = !cli.isSet(verbose);
    if (!number(port, options.port) || options.port > 65535)
        return fail(QStringLiteral("--port needs a port number"));
    if (!number(chunkPause, options.chunkPauseMs) || !number(smallReply, options.smallReplyBytes))
        return fail(QStringLiteral("--chunk-pause and --small-reply need whole numbers"));

    SimulatorState state;
    const bool fresh = cli.isSet(reset) || options.stateFile.isEmpty() || !QFile::exists(options.stateFile);
    try {
        if (!fresh)
            state = SimulatorState::load(options.stateFile);
        const bool preload = cli.isSet(punches) || cli.isSet(users) || cli.isSet(userIds) || cli.isSet(csv);
        if (preload && !fresh) {
            std::fprintf(stderr, "zksim: %s exists; preload options skipped (use --reset to start over)\n",
                         options.stateFile.toLocal8Bit().constData());
        } else if (preload) {
            int punchCount = 0;
            int userCount = 0;
            if (!number(punches, punchCount) || !number(users, userCount))
                return fail(QStringLiteral("--punches and --users need whole numbers"));
            QStringList ids = cli.isSet(userIds) ? cli.value(userIds).split(u',', Qt::SkipEmptyParts)
                                                 : SimulatorState::numberedIds(userCount);
            for (QString& id : ids)
                id = id.trimmed();
            QDate first = QDate::currentDate();
            first = QDate(first.year(), first.month(), 1);
            if (cli.isSet(month)) {
                first =
                    QDate::fromString(cli.value(month) + QStringLiteral("-01"), QStringLiteral("yyyy-MM-dd"));
                if (!first.isValid())
                    return fail(QStringLiteral("--month needs YYYY-MM, e.g. 2024-03"));
            }
            if (punchCount > 0 && ids.isEmpty())
                ids = SimulatorState::numberedIds(10);
            state.ensureUsers(ids);
            state.generatePunches(punchCount, ids, first);
            if (cli.isSet(csv))
                state.loadCsv(cli.value(csv));
        }
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }

    ZkSimulator simulator(options, std::move(state));
    SimulatorFaults faults;
    bool anyFault = false;
    if (cli.isSet(dropAfter)) {
        if (!number(dropAfter, faults.dropAfterPackets))
            return fail(QStringLiteral("--drop-after needs a whole number"));
        anyFault = true;
    }
    if (cli.isSet(delay)) {
        if (!number(delay, faults.delayMs))
            return fail(QStringLiteral("--delay needs a whole number"));
        anyFault = true;
    }
    if (cli.isSet(corrupt)) {
        if (!number(corrupt, faults.corruptChecksumAt))
            return fail(QStringLiteral("--corrupt-checksum needs a whole number"));
        anyFault = true;
    }
    if (anyFault)
        simulator.setFaults(faults, true);
    try {
        simulator.start();
        if (fresh)
            simulator.modify([](SimulatorState&) {}); // write the preloaded state
    } catch (const std::exception& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    const SimulatorState now = simulator.state();
    std::printf("zksim: listening on %s:%d (%zu users, %zu punches)\n",
                options.address.toLocal8Bit().constData(), simulator.port(), now.users.size(),
                now.punches.size());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.stop();
    return 0;
}

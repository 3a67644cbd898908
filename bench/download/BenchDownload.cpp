// Download speed: punches per second from a zksim terminal into PostgreSQL,
// and database round trips per 1,000 punches, for 10,000 and 100,000
// punches. Writes its section of bench/RESULTS.md. Started by run.sh, which
// provides the database server.
#include "ZkTerminal.h"
#include "data/DataCon.h"
#include "devices/AttendanceDownloader.h"

#include "fixtures/TestDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace orv;

namespace {

struct Figures {
    int punches = 0;
    double readSeconds = 0;
    double totalSeconds = 0;
    qint64 roundTrips = 0;
    int stored = 0;
};

// A zksim process preloaded with `punches` punches of March 2024.
class SimProcess {
public:
    SimProcess(int punches, const QString& stateFile) {
        m_process.setProgram(QStringLiteral(ORV_ZKSIM));
        m_process.setArguments({"--port", "0", "--state", stateFile, "--reset", "--punches",
                                QString::number(punches), "--users", "250", "--month", "2024-03"});
        m_process.start();
        if (!m_process.waitForStarted(10000) || !m_process.waitForReadyRead(60000))
            throw std::runtime_error("zksim did not start");
        const QString line = QString::fromUtf8(m_process.readLine());
        const auto m = QRegularExpression(QStringLiteral(":(\\d+) \\(")).match(line);
        if (!m.hasMatch())
            throw std::runtime_error(("zksim said: " + line).toStdString());
        m_port = m.captured(1).toInt();
    }
    ~SimProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    int port() const { return m_port; }

private:
    QProcess m_process;
    int m_port = 0;
};

Figures measure(int punches, const QString& folder) {
    Figures f;
    f.punches = punches;
    SimProcess sim(punches, folder + QStringLiteral("/bench-%1.json").arg(punches));
    {
        // The terminal side alone: connect and read the whole log.
        ZkTerminal terminal;
        QElapsedTimer t;
        t.start();
        if (!terminal.Connect_Net("127.0.0.1", sim.port()) || !terminal.ReadGeneralLogData(1))
            throw std::runtime_error(terminal.lastError().toStdString());
        f.readSeconds = t.nsecsElapsed() / 1e9;
        if (terminal.GeneralLogCount() != punches)
            throw std::runtime_error("the terminal read a different number of punches");
        terminal.Disconnect();
    }
    test::TestDatabase database;
    DataCon db(database.settings());
    db.connect();
    ZkTerminal terminal;
    AttendanceDownloader downloader(db, terminal);
    db.resetRoundTrips();
    QElapsedTimer t;
    t.start();
    const DownloadResult r = downloader.run({"Bench", "127.0.0.1", sim.port(), 1});
    f.totalSeconds = t.nsecsElapsed() / 1e9;
    f.roundTrips = db.roundTrips();
    f.stored = r.stored;
    if (r.stored != punches || !r.cleared)
        throw std::runtime_error("the download did not store every punch");
    return f;
}

QString machine() {
    QString cpu = QStringLiteral("unknown CPU");
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name")) {
                cpu = QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
                break;
            }
    QString memory;
    QFile mem(QStringLiteral("/proc/meminfo"));
    if (mem.open(QIODevice::ReadOnly)) {
        const QByteArray first = mem.readLine();
        memory = QStringLiteral(", %1 GiB RAM")
                     .arg(first.simplified().split(' ').value(1).toDouble() / 1024 / 1024, 0, 'f', 1);
    }
    return QStringLiteral("%1, %2 cores (%3)%4, %5 %6")
        .arg(cpu)
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::currentCpuArchitecture(), memory, QSysInfo::prettyProductName(),
             QSysInfo::kernelVersion());
}

// Replaces this benchmark's section of RESULTS.md, keeping the others.
void writeResults(const QString& path, const QString& section) {
    const QString begin = QStringLiteral("<!-- download:begin -->");
    const QString end = QStringLiteral("<!-- download:end -->");
    QString text;
    QFile in(path);
    if (in.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(in.readAll());
    in.close();
    if (text.isEmpty())
        text = QStringLiteral("# Benchmark results\n\n");
    const QString block = begin + u'\n' + section + end;
    const qsizetype b = text.indexOf(begin);
    const qsizetype e = text.indexOf(end);
    if (b >= 0 && e > b)
        text.replace(b, e + end.size() - b, block);
    else
        text += (text.endsWith(u'\n') ? QString() : QStringLiteral("\n")) + block + u'\n';
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(("cannot write " + path).toStdString());
    out.write(text.toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString results = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench/RESULTS.md");
    try {
        QTemporaryDir folder;
        std::vector<Figures> all;
        for (const int n : {10000, 100000}) {
            const Figures f = measure(n, folder.path());
            std::printf("%d punches: read %.2f s, download %.2f s (%.0f punches/s), %lld round trips\n",
                        f.punches, f.readSeconds, f.totalSeconds, f.punches / f.totalSeconds,
                        static_cast<long long>(f.roundTrips));
            all.push_back(f);
        }
        QString section =
            QStringLiteral("## Attendance download (bench/download)\n\n"
                           "Run %1 on %2.\n\n"
                           "A zksim terminal on loopback (default 20 ms pause between the packets of a "
                           "bulk chunk) into a fresh PostgreSQL 15 database. *Read* is connect + the "
                           "whole punch log; *download* is the full road: connect, lock, read, store "
                           "in batches, clear, set the clock, unlock.\n\n"
                           "| punches | read (s) | download (s) | punches/s | DB round trips | "
                           "round trips per 1,000 punches |\n|---:|---:|---:|---:|---:|---:|\n")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm")), machine());
        for (const Figures& f : all)
            section += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |\n")
                           .arg(f.punches)
                           .arg(f.readSeconds, 0, 'f', 2)
                           .arg(f.totalSeconds, 0, 'f', 2)
                           .arg(f.punches / f.totalSeconds, 0, 'f', 0)
                           .arg(f.roundTrips)
                           .arg(f.roundTrips * 1000.0 / f.punches, 0, 'f', 2);
        section +=
            QStringLiteral("\nTarget: 100,000 punches in under 20 s, at most 1 round trip per 500 punches "
                           "(2 per 1,000).\n");
        writeResults(results, section);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_download: %s\n", e.what());
        return 1;
    }
    return 0;
}

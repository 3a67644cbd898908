// Time and peak memory of orvanta-cli report for one page and for a 500-page
// office batch, on a database seeded with a generated month. Each run is a
// child process measured with wait4(): wall time and the child's peak
// resident set. The figures replace the report section of bench/RESULTS.md.
//   bench_report [--employees N] [--runs N] [--results FILE]
#include "fixtures/TestDatabase.h"
#include "fixtures/TestEnvironment.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;

namespace {

struct Measure {
    double seconds = 0;
    long peakKb = 0;
    int status = -1;
};

// Runs program with args as a child and measures it.
Measure measure(const QString& program, const QStringList& args) {
    std::vector<QByteArray> storage;
    storage.push_back(program.toLocal8Bit());
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Measure m;
    m.seconds = timer.nsecsElapsed() / 1e9;
    m.peakKb = usage.ru_maxrss;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

Measure median(std::vector<Measure> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Measure& a, const Measure& b) { return a.seconds < b.seconds; });
    Measure m = runs[runs.size() / 2];
    for (const Measure& r : runs)
        m.peakKb = std::max(m.peakKb, r.peakKb); // the worst peak of all runs
    return m;
}

int pdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished();
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString machine() {
    QString cpu;
    QFile info("/proc/cpuinfo");
    if (info.open(QIODevice::ReadOnly)) {
        const auto m = QRegularExpression("model name\\s*:\\s*(.*)").match(QString::fromUtf8(info.readAll()));
        if (m.hasMatch())
            cpu = m.captured(1).trimmed();
    }
    QString memory;
    QFile mem("/proc/meminfo");
    if (mem.open(QIODevice::ReadOnly)) {
        const auto m = QRegularExpression("MemTotal:\\s*(\\d+) kB").match(QString::fromUtf8(mem.readAll()));
        if (m.hasMatch())
            memory = QString::number(m.captured(1).toLongLong() / 1024.0 / 1024.0, 'f', 1) + " GiB";
    }
    return QStringLiteral("%1, %2 logical CPUs, %3 RAM, %4")
        .arg(cpu.isEmpty() ? "unknown CPU" : cpu)
        .arg(QThread::idealThreadCount())
        .arg(memory, QSysInfo::prettyProductName());
}

// A month as the generation leaves it: weekends marked, a holiday, times
// with a few minutes of spread, some absences and days off.
void seed(test::TestDatabase& db, int employees) {
    db.exec(
        QStringLiteral(
            "INSERT INTO offices (officeid, off_name, off_short) VALUES (1, 'Bench Office', 'BO'), "
            "(2, 'Single Office', 'SO');"
            "INSERT INTO bioemp_profile (employeeid, bioid, lname, fname, mname, suffixs, officeid, "
            "emp_type, "
            "hfullname, hposition, hdesignation) "
            "SELECT 10000 + g, g::text, 'Lastname' || lpad(g::text, 4, '0'), 'Firstname', "
            "CASE WHEN g % 3 = 0 THEN NULL ELSE 'Middle' END, CASE WHEN g % 17 = 0 THEN 'Jr.' END, "
            "CASE WHEN g = 0 THEN 2 ELSE 1 END, 'Job Order', 'ROBERTO M. VILLANUEVA', 'Municipal Mayor', "
            "'Head of Office' FROM generate_series(0, %1) g;"
            "INSERT INTO data_dtr (employeeid, bioid, att_dates, display_dtr, works, holidays, absents, "
            "att_off) "
            "SELECT 10000 + g, g, d::date, "
            "CASE WHEN extract(isodow FROM d) = 6 THEN 'Saturday' WHEN extract(isodow FROM d) = 7 THEN "
            "'Sunday' WHEN d = '2024-03-28' THEN 'Maundy Thursday' WHEN (g + extract(day FROM d)::int) % 23 "
            "= 0 THEN 'Absent' ELSE '' END, "
            "CASE WHEN extract(isodow FROM d) IN (6, 7) THEN 0 ELSE 1 END, "
            "CASE WHEN d = '2024-03-28' THEN 1 ELSE 0 END, "
            "CASE WHEN (g + extract(day FROM d)::int) % 23 = 0 THEN 1 ELSE 0 END, 0 "
            "FROM generate_series(0, %1) g, generate_series('2024-03-01'::date, '2024-03-31'::date, "
            "interval '1 day') d;"
            "UPDATE data_dtr SET att_time1 = att_dates + time '07:40' + (employeeid % 30) * interval '1 "
            "minute', att_time2 = att_dates + time '12:00' + (employeeid % 7) * interval '1 minute', "
            "att_time3 = att_dates + time '12:45' + (employeeid % 20) * interval '1 minute', "
            "att_time4 = att_dates + time '17:00' + (employeeid % 25) * interval '1 minute' "
            "WHERE display_dtr = '';")
            .arg(employees));
}

// Replaces the part of file between the report markers (or appends it).
void writeSection(const QString& file, const QString& section) {
    const QString begin = "<!-- report:begin -->", end = "<!-- report:end -->";
    QString text;
    QFile f(file);
    if (f.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(f.readAll());
    f.close();
    if (text.isEmpty())
        text = "# Benchmark results\n\nEach section is written by its benchmark; see bench/.\n";
    const QString block = begin + "\n" + section + end;
    const qsizetype b = text.indexOf(begin), e = text.indexOf(end);
    if (b >= 0 && e > b)
        text.replace(b, e + end.size() - b, block);
    else
        text += (text.endsWith('\n') ? "\n" : "\n\n") + block + "\n";
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return;
    }
    f.write(text.toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const QString& name, const QString& fallback) {
        const qsizetype i = args.indexOf("--" + name);
        return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
    };
    const int employees = option("employees", "500").toInt();
    const int runs = std::max(1, option("runs", "3").toInt());
    const QString results = option("results", test::sourceDir() + "/bench/RESULTS.md");

    QTemporaryDir dir;
    test::TestDatabase db;
    std::printf("seeding %d employees with a generated month...\n", employees);
    seed(db, employees);
    const QString settings = test::writeSettingsFile(dir.path(), db.settings());
    const QString cli = test::binDir() + "/orvanta-cli";

    const QString one = dir.filePath("one.pdf"), batch = dir.filePath("batch.pdf");
    std::vector<Measure> single, office;
    for (int r = 0; r < runs; ++r) {
        single.push_back(measure(cli, {"--settings", settings, "report", "--employee", "10000", "--month",
                                       "2024-03", "--pdf", one}));
        office.push_back(measure(cli, {"--settings", settings, "report", "--office", "Bench Office",
                                       "--month", "2024-03", "--pdf", batch}));
    }
    const Measure s = median(single), o = median(office);
    const int onePages = pdfPages(one), batchPages = pdfPages(batch);
    const double batchMb = QFileInfo(batch).size() / 1024.0 / 1024.0;
    if (s.status != 0 || o.status != 0 || onePages != 1 || batchPages != employees) {
        std::fprintf(stderr, "a run failed (status %d / %d, pages %d / %d)\n", s.status, o.status, onePages,
                     batchPages);
        return 1;
    }
    const bool timeOk = o.seconds < 30, memoryOk = o.peakKb < 300 * 1024;
    const QString section =
        QStringLiteral(
            "## report: Form 48 PDF (orvanta-cli report)\n\n"
            "Measured %1 on %2.\n"
            "Each figure is the median wall time of %3 runs of the whole command (start, connect, read, "
            "paint, "
            "write) and the highest peak resident set of the child process (wait4 ru_maxrss). Data: a "
            "generated "
            "month (March 2024) of %4 employees in one office; `bench/report/run.sh` repeats it.\n\n"
            "| Run | Pages | Wall time | Peak memory | PDF size |\n|---|---|---|---|---|\n"
            "| `report --employee ID --month 2024-03` | 1 | %5 s | %6 MB | %7 KB |\n"
            "| `report --office NAME --month 2024-03` | %8 | %9 s | %10 MB | %11 MB |\n\n"
            "Target for %8 pages: under 30 s (%12) and under 300 MB peak (%13).\n\n")
            .arg(QDateTime::currentDateTime().toString("yyyy-MM-dd"), machine())
            .arg(runs)
            .arg(employees)
            .arg(s.seconds, 0, 'f', 2)
            .arg(s.peakKb / 1024.0, 0, 'f', 0)
            .arg(QFileInfo(one).size() / 1024.0, 0, 'f', 0)
            .arg(batchPages)
            .arg(o.seconds, 0, 'f', 2)
            .arg(o.peakKb / 1024.0, 0, 'f', 0)
            .arg(batchMb, 0, 'f', 1)
            .arg(timeOk ? "met" : "MISSED", memoryOk ? "met" : "MISSED");
    std::printf("%s", qPrintable(section));
    writeSection(results, section);
    std::printf("written to %s\n", qPrintable(results));
    return timeOk && memoryOk ? 0 : 1;
}

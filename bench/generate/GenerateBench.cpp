// Time and round trips of the month generation: one employee-month, and a
// month of 500 employees with four punches per working day. Writes its
// section of bench/RESULTS.md. Run through bench/generate/run.sh.
#include "data/DataCon.h"
#include "dtr/DtrGenerator.h"
#include "fixtures/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orv;

namespace {

constexpr int Employees = 500;
const DtrMonth Month(QDate(2024, 3, 1));

QString fileLine(const QString& path, const QString& key) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key.toLatin1()))
            return QString::fromLatin1(line.mid(line.indexOf(':') + 1)).simplified();
    return {};
}

QString machine(DataCon& db) {
    const double ramKb =
        fileLine(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal")).section(' ', 0, 0).toDouble();
    return QStringLiteral("%1 cores (nproc), %2, %3 GiB RAM, %4; %5, local server over TCP loopback")
        .arg(QThread::idealThreadCount())
        .arg(fileLine(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name")))
        .arg(ramKb / 1024.0 / 1024.0, 0, 'f', 1)
        .arg(QSysInfo::prettyProductName(),
             db.query(QStringLiteral("SELECT split_part(version(), ' on ', 1) AS v"))
                 .text(0, QStringLiteral("v")));
}

// 500 people with four punches on every working day, arriving and leaving
// a few minutes either side of the hours, and two holidays.
void fill(test::TestDatabase& database) {
    database.exec(
        QStringLiteral(
            "INSERT INTO offices (officeid, off_name, off_short) VALUES (1, 'Bench Office', 'BO');"
            "INSERT INTO bioemp_profile (employeeid, bioid, lname, fname, officeid) "
            "SELECT 10000 + i, i::text, 'Last' || i, 'First' || i, 1 FROM generate_series(1, %1) i;"
            "INSERT INTO attendance_read (bioid, att_date, check_mode, verify_mode) "
            "SELECT i, d + t + ((i * 7 + extract(day from d)::int * 13) %% 21 - 10) * interval '1 minute', "
            "m, 'finger' "
            "FROM generate_series(1, %1) i, generate_series('2024-03-01'::date, '2024-03-31', '1 day') d, "
            "(VALUES (time '08:00', 'check-in'), ('12:00', 'check-out'), ('13:00', 'check-in'), ('17:00', "
            "'check-out')) "
            "v(t, m) WHERE extract(isodow from d) < 6;"
            "INSERT INTO holidays (hol_date, hol_descrip) VALUES ('2024-03-28', 'Maundy Thursday'), "
            "('2024-03-29', 'Good Friday');"
            "ANALYZE;")
            .arg(Employees)
            .replace(QStringLiteral("%%"), QStringLiteral("%")));
}

struct Measure {
    double ms = 0;
    qint64 roundTrips = 0;
};

template <class F> Measure measure(DataCon& db, F&& f) {
    db.resetRoundTrips();
    QElapsedTimer t;
    t.start();
    f();
    return {static_cast<double>(t.nsecsElapsed()) / 1e6, db.roundTrips()};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void writeSection(const QString& path, const QString& section) {
    const QString begin = QStringLiteral("<!-- generate:begin -->");
    const QString end = QStringLiteral("<!-- generate:end -->");
    QString text;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(f.readAll());
    f.close();
    if (text.isEmpty())
        text = QStringLiteral("# Benchmarks\n\nFigures written by the programs under bench/.\n");
    const QString block = begin + QLatin1Char('\n') + section + end;
    const qsizetype a = text.indexOf(begin), b = text.indexOf(end);
    if (a >= 0 && b > a)
        text.replace(a, b + end.size() - a, block);
    else
        text += QLatin1Char('\n') + block + QLatin1Char('\n');
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(text.toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString results = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    try {
        test::TestDatabase database;
        fill(database);
        DataCon db(database.settings());
        db.connect();
        DtrGenerator generator(db);

        // One employee-month: the first run creates the rows, later runs refresh them.
        const Measure first = measure(db, [&] { generator.generateMonth(10001, 1, Month); });
        std::vector<double> again;
        qint64 againTrips = 0;
        for (int i = 0; i < 21; ++i) {
            const Measure m = measure(db, [&] { generator.generateMonth(10001, 1, Month); });
            again.push_back(m.ms);
            againTrips = m.roundTrips;
        }

        // The whole office in one run, first (creating) and again (refreshing).
        std::vector<DtrEmployee> people;
        const Measure listing = measure(db, [&] { people = generator.employeesWithPunches(Month); });
        DtrBatchResult batch;
        const Measure batchFirst = measure(db, [&] { batch = generator.generateMany(people, Month); });
        const Measure batchAgain = measure(db, [&] { generator.generateMany(people, Month); });
        // The same 500 months one at a time, as 500 clicks on Generate would.
        const Measure oneByOne = measure(db, [&] {
            for (const DtrEmployee& e : people)
                generator.generateMonth(e, Month);
        });
        const qint64 punches = db.query(QStringLiteral("SELECT count(*) AS n FROM attendance_read"))
                                   .toLongLong(0, QStringLiteral("n"));

        QString out;
        QTextStream s(&out);
        s << "## Month generation (bench/generate)\n\n"
          << "Machine: " << machine(db) << ".\n\n"
          << "Data: " << people.size() << " employees, " << punches << " punches in " << Month.label()
          << " (four per working day), two holidays. A round trip is one statement, or the begin or the "
             "commit\n"
          << "of a transaction (`DataCon::roundTrips()`).\n\n"
          << "| Work | Round trips | Time |\n|---|---|---|\n"
          << "| one employee-month, first generation (31 rows created) | " << first.roundTrips << " | "
          << QString::number(first.ms, 'f', 1) << " ms |\n"
          << "| one employee-month, generated again (median of 21) | " << againTrips << " | "
          << QString::number(median(again), 'f', 1) << " ms |\n"
          << "| list everyone with punches in the month | " << listing.roundTrips << " | "
          << QString::number(listing.ms, 'f', 1) << " ms |\n"
          << "| " << people.size() << " employee-months in one run, first (" << batch.days
          << " rows created) | " << batchFirst.roundTrips << " | "
          << QString::number(batchFirst.ms / 1000.0, 'f', 2) << " s |\n"
          << "| " << people.size() << " employee-months in one run, again | " << batchAgain.roundTrips
          << " | " << QString::number(batchAgain.ms / 1000.0, 'f', 2) << " s |\n"
          << "| " << people.size() << " employee-months one at a time | " << oneByOne.roundTrips << " | "
          << QString::number(oneByOne.ms / 1000.0, 'f', 2) << " s |\n\n"
          << "Targets: one employee-month in at most 5 round trips; 500 employees' month in under 10 s.\n"
          << "Run with `bench/generate/run.sh` (a throwaway cluster started as ./test.sh starts it: fsync "
             "off).\n";
        s.flush();
        std::fputs(out.toUtf8().constData(), stdout);
        if (!results.isEmpty())
            writeSection(results, out);
        const bool met =
            first.roundTrips <= 5 && againTrips <= 5 && batchFirst.ms < 10000 && batchAgain.ms < 10000;
        return met ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_generate: %s\n", e.what());
        return 2;
    }
}

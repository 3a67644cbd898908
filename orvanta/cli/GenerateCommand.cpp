// generate: the time records of a month, for one employee, one office or everyone with punches.
#include "CliContext.h"
#include "Commands.h"

#include "data/Errors.h"
#include "dtr/DtrGenerator.h"

#include <QElapsedTimer>

#include <unistd.h>

namespace orv::cli {

int runGenerate(CliContext& c) {
    c.allowOnly({QStringLiteral("month"), QStringLiteral("employee"), QStringLiteral("office"),
                 QStringLiteral("all"), QStringLiteral("settings")});
    const DtrMonth month = DtrMonth::parse(c.required(QStringLiteral("month")));
    const std::optional<QString> employee = c.option(QStringLiteral("employee"));
    const std::optional<QString> office = c.option(QStringLiteral("office"));
    const bool all = c.flag(QStringLiteral("all"));
    if (int(employee.has_value()) + int(office.has_value()) + int(all) != 1)
        throw UserError(QStringLiteral("Give exactly one of --employee ID, --office NAME or --all."));

    DtrGenerator generator(c.db());
    QStringList notes;
    std::vector<DtrEmployee> people;
    if (employee) {
        bool ok = false;
        const int id = employee->toInt(&ok);
        if (!ok)
            throw UserError(QStringLiteral("--employee must be an employee id (a whole number), not \"%1\".")
                                .arg(*employee));
        people = generator.employeeProfiles(id);
    } else {
        people = generator.employeesWithPunches(month, office, &notes);
    }
    const QString who = employee ? QStringLiteral("employee %1").arg(*employee)
                        : office ? QStringLiteral("office \"%1\"").arg(*office)
                                 : QStringLiteral("everyone with punches");
    if (people.empty()) {
        c.out() << "Nobody to generate for " << who << " in " << month.label() << ".\n";
        for (const QString& n : notes)
            c.out() << "Note: " << n << "\n";
        return 0;
    }

    // The progress line is rewritten in place on a terminal, one line per step otherwise.
    const bool terminal = isatty(STDERR_FILENO) == 1;
    QElapsedTimer timer;
    timer.start();
    const DtrBatchResult result = generator.generateMany(people, month, [&](int done, int total) {
        c.err() << (terminal ? "\r" : "") << "Generating " << month.label() << ": " << done << " of " << total
                << " employees" << (terminal ? "" : "\n");
        c.err().flush();
    });
    if (terminal)
        c.err() << "\n";
    c.out() << "Generated " << month.label() << " for " << result.employees << " employee month"
            << (result.employees == 1 ? "" : "s") << " (" << who << "), " << result.days << " days, in "
            << QString::number(static_cast<double>(timer.elapsed()) / 1000.0, 'f', 2) << " s.\n";
    for (const QString& n : notes + result.notes)
        c.out() << "Note: " << n << "\n";
    return 0;
}

} // namespace orv::cli

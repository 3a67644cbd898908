// audit: the manual changes that touch an employee's month, oldest first.
#include "CliContext.h"
#include "Commands.h"

#include "data/Dates.h"
#include "data/Errors.h"
#include "dtr/AuditLog.h"

namespace orv::cli {

int runAudit(CliContext& c) {
    c.allowOnly({QStringLiteral("employee"), QStringLiteral("month"), QStringLiteral("settings")});
    const int employee = c.integer(QStringLiteral("employee"));
    const DtrMonth month = DtrMonth::parse(c.required(QStringLiteral("month")));
    const auto entries = AuditLog::forEmployeeMonth(c.db(), employee, month);
    if (entries.empty()) {
        c.out() << "No changes recorded for employee " << employee << " in " << month.label() << ".\n";
        return 0;
    }
    c.out() << "Changes for employee " << employee << " in " << month.label() << ":\n";
    c.out() << QStringLiteral("%1  %2  %3  %4  %5\n")
                   .arg(QStringLiteral("When").leftJustified(19), QStringLiteral("By").leftJustified(14),
                        QStringLiteral("Day").leftJustified(10), QStringLiteral("What").leftJustified(15),
                        QStringLiteral("Change"));
    for (const AuditLog::Entry& e : entries) {
        const QString when = toShortDate(e.changedAt.date()) + QLatin1Char(' ') +
                             e.changedAt.time().toString(QStringLiteral("HH:mm:ss"));
        const QString by = e.userid.isEmpty()     ? QStringLiteral("-")
                           : e.username.isEmpty() ? QStringLiteral("user %1").arg(e.userid)
                                                  : e.username;
        const QString day = e.day.isValid() ? toShortDate(e.day) : QStringLiteral("-");
        const QString what = e.employeeid.isEmpty() ? e.action + QStringLiteral(" (calendar)") : e.action;
        const auto text = [](const QString& v) { return v.isEmpty() ? QStringLiteral("(none)") : v; };
        c.out() << QStringLiteral("%1  %2  %3  %4  %5 -> %6\n")
                       .arg(when.leftJustified(19), by.leftJustified(14), day.leftJustified(10),
                            what.leftJustified(15), text(e.oldValue), text(e.newValue));
    }
    return 0;
}

} // namespace orv::cli

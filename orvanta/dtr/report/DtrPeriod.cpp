#include "DtrPeriod.h"

#include <QRegularExpression>

namespace orv {

namespace {

// The database writes month names in English whatever the locale; so does the form.
const char* const MonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};

QString monthName(const QDate& d) {
    return QString::fromLatin1(MonthNames[d.month() - 1]);
}

} // namespace

QString DtrPeriod::text() const {
    return QStringLiteral("%1 %2 - %3, %4")
        .arg(monthName(first))
        .arg(first.day(), 2, 10, QLatin1Char('0'))
        .arg(last.day())
        .arg(last.year());
}

QString DtrPeriod::monthText() const {
    return QStringLiteral("%1 %2").arg(monthName(monthFirst)).arg(monthFirst.year());
}

DtrPeriod DtrPeriod::of(const QDate& month, DtrReportMode mode) {
    DtrPeriod p;
    p.monthFirst = QDate(month.year(), month.month(), 1);
    p.monthLast = QDate(month.year(), month.month(), month.daysInMonth());
    switch (mode) {
    case DtrReportMode::Monthly:
        p.first = p.monthFirst;
        p.last = p.monthLast;
        break;
    case DtrReportMode::FirstQuincena:
        p.first = p.monthFirst;
        p.last = QDate(month.year(), month.month(), 15);
        break;
    case DtrReportMode::SecondQuincena:
        p.first = QDate(month.year(), month.month(), 16);
        p.last = p.monthLast;
        break;
    }
    return p;
}

QStringList dtrReportModeNames() {
    return {QStringLiteral("Monthly"), QStringLiteral("First Quincena"), QStringLiteral("Second Quincena")};
}

std::optional<DtrReportMode> dtrReportModeAt(int index) {
    if (index < 0 || index > 2)
        return std::nullopt;
    return static_cast<DtrReportMode>(index);
}

std::optional<DtrReportMode> parseDtrReportMode(const QString& word) {
    const QString w = word.trimmed().toLower();
    const QStringList names = dtrReportModeNames();
    const QStringList shortNames = {QStringLiteral("monthly"), QStringLiteral("first"),
                                    QStringLiteral("second")};
    for (int i = 0; i < 3; ++i) {
        if (w == shortNames.at(i) || w == names.at(i).toLower())
            return static_cast<DtrReportMode>(i);
    }
    return std::nullopt;
}

QDate parseReportMonth(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})(-\\d{1,2})?$"));
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1);
}

} // namespace orv

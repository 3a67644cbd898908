#include "DtrBatch.h"

#include "Form48Document.h"

#include "data/DataCon.h"
#include "data/Errors.h"

#include <QRegularExpression>
#include <QStringList>

namespace orv {

namespace {

// The same texts as the single report's rows query.
const char* const RowsSql =
    "SELECT employeeid, att_dates, to_char(att_dates, 'fmdd.') as days, "
    "case when att_time1::TIMESTAMP ISNULL and att_time2::TIMESTAMP isnull and att_time3::TIMESTAMP isnull "
    "and att_time4::TIMESTAMP isnull then display_dtr else to_char(att_time1, 'fmHH:MI am') end as as_1, "
    "to_char(att_time2, 'fmHH:MI am') as as_2, to_char(att_time3, 'fmHH:MI am') as as_3, "
    "to_char(att_time4, 'fmHH:MI am') as as_4 "
    "FROM data_dtr WHERE employeeid = ANY(:ids::int[]) and att_dates BETWEEN :first::date and :last::date "
    "ORDER BY employeeid, att_dates";

// One row per employee (the first register row of each), with the regular
// days of the period (null without DTR rows).
const char* const EmployeesSql =
    "SELECT p.employeeid, p.fname, p.mname, p.lname, p.suffixs, p.hfullname, p.hposition, p.hdesignation, "
    "(SELECT sum(case when works = 1 and holidays = 0 then 1 else 0 end) FROM data_dtr d "
    " WHERE d.employeeid = p.employeeid and d.att_dates BETWEEN :first::date and :last::date) as re "
    "FROM (SELECT DISTINCT ON (employeeid) * FROM bioemp_profile "
    "      WHERE employeeid IS NOT NULL and (:officeid::int IS NULL or officeid = :officeid::int) "
    "      ORDER BY employeeid, bioemp_profileid) p "
    "ORDER BY upper(p.lname), upper(p.fname), upper(coalesce(p.mname, '')), p.employeeid";

QString sortName(const QueryResult& r, int i) {
    QString name = r.text(i, "lname").trimmed() + QStringLiteral(", ") + r.text(i, "fname").trimmed();
    const QString middle = r.text(i, "mname").trimmed();
    if (!middle.isEmpty())
        name += QLatin1Char(' ') + middle.left(1) + QLatin1Char('.');
    const QString suffix = r.text(i, "suffixs").trimmed();
    if (!suffix.isEmpty())
        name += QLatin1Char(' ') + suffix;
    return name;
}

} // namespace

DtrBatch::DtrBatch(DataCon& db, const QDate& month, DtrReportMode mode, const std::optional<QString>& office)
    : m_period(DtrPeriod::of(month, mode)) {
    QVariant officeId; // null: every office
    if (office) {
        const QueryResult found = db.query(
            QStringLiteral(
                "SELECT officeid, off_name FROM offices WHERE lower(btrim(off_name)) = "
                "lower(btrim(:name)) or lower(btrim(off_short)) = lower(btrim(:name)) ORDER BY officeid"),
            SqlParams().bind(QStringLiteral("name"), *office));
        if (found.empty()) {
            const QueryResult all =
                db.query(QStringLiteral("SELECT off_name FROM offices ORDER BY off_name"));
            QStringList names;
            for (int i = 0; i < all.rowCount(); ++i)
                names << all.text(i, 0);
            throw UserError(QStringLiteral("No office is named \"%1\". The offices are: %2.")
                                .arg(*office, names.isEmpty() ? QStringLiteral("(none)") : names.join(", ")));
        }
        officeId = found.toLongLong(0, "officeid");
        m_officeName = found.text(0, "off_name");
    }

    const QueryResult people =
        db.query(QString::fromLatin1(EmployeesSql), SqlParams()
                                                        .bind(QStringLiteral("first"), m_period.first)
                                                        .bind(QStringLiteral("last"), m_period.last)
                                                        .bind(QStringLiteral("officeid"), officeId));
    QStringList ids;
    for (int i = 0; i < people.rowCount(); ++i) {
        Employee e;
        e.employeeId = people.text(i, "employeeid");
        e.fullName = dtrFullName(people.text(i, "fname"), people.text(i, "mname"), people.text(i, "lname"),
                                 people.text(i, "suffixs"));
        e.sortName = sortName(people, i);
        e.regularDays = people.text(i, "re");
        e.verifierName = people.text(i, "hfullname");
        e.verifierPosition = people.text(i, "hposition");
        e.verifierDesignation = people.text(i, "hdesignation");
        if (people.isNull(i, "re")) {
            m_notGenerated.push_back(std::move(e));
        } else {
            ids << e.employeeId;
            m_employees.push_back(std::move(e));
        }
    }
    if (m_employees.empty()) {
        const QString where = office ? QStringLiteral("of %1 ").arg(m_officeName) : QString();
        throw UserError(QStringLiteral("No employee %1has a DTR for %2. Generate the month first.")
                            .arg(where, m_period.text()));
    }

    m_rows = db.query(QString::fromLatin1(RowsSql),
                      SqlParams()
                          .bind(QStringLiteral("ids"), QStringLiteral("{%1}").arg(ids.join(',')))
                          .bind(QStringLiteral("first"), m_period.first)
                          .bind(QStringLiteral("last"), m_period.last));
    const int idColumn = m_rows.requireColumn(QStringLiteral("employeeid"));
    for (int i = 0; i < m_rows.rowCount();) {
        const QString id = m_rows.text(i, idColumn);
        int end = i;
        while (end < m_rows.rowCount() && m_rows.text(end, idColumn) == id)
            ++end;
        m_ranges.insert(id, {i, end});
        i = end;
    }
}

QString DtrBatch::officeOf(DataCon& db, const QString& employeeId) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    if (!digits.match(employeeId.trimmed()).hasMatch())
        throw UserError(QStringLiteral("Please select an employee first."));
    const QueryResult r = db.query(QStringLiteral("SELECT o.off_name FROM bioemp_profile p JOIN offices o ON "
                                                  "o.officeid = p.officeid WHERE p.employeeid = :value "
                                                  "ORDER BY p.bioemp_profileid LIMIT 1"),
                                   SqlParams().bind(QStringLiteral("value"), employeeId.trimmed()));
    if (r.empty())
        throw UserError(QStringLiteral("The employee %1 belongs to no office.").arg(employeeId.trimmed()));
    return r.text(0, 0);
}

DtrReport DtrBatch::page(int index) const {
    const Employee& e = m_employees.at(static_cast<size_t>(index));
    DtrReport r;
    r.employeeId = e.employeeId;
    r.fullName = e.fullName;
    r.period = m_period;
    r.periodText = m_period.text();
    r.regularDays = e.regularDays;
    r.verifierName = e.verifierName;
    r.verifierPosition = e.verifierPosition;
    r.verifierDesignation = e.verifierDesignation;
    r.generated = true;
    r.rows.resize(static_cast<size_t>(m_period.daysInMonth()));
    const auto range = m_ranges.value(e.employeeId, {0, 0});
    const int dateColumn = m_rows.requireColumn(QStringLiteral("att_dates"));
    for (int i = range.first; i < range.second; ++i) {
        const QDate day = QDate::fromString(m_rows.text(i, dateColumn), Qt::ISODate);
        if (!day.isValid() || day < m_period.monthFirst || day > m_period.monthLast)
            continue;
        r.rows[static_cast<size_t>(day.day() - 1)] = {m_rows.text(i, "days"), m_rows.text(i, "as_1"),
                                                      m_rows.text(i, "as_2"), m_rows.text(i, "as_3"),
                                                      m_rows.text(i, "as_4")};
    }
    return r;
}

int DtrBatch::print(Form48Document& document, const std::function<bool(int, int)>& progress) const {
    const int total = pageCount();
    for (int i = 0; i < total; ++i) {
        document.addPage(page(i));
        if (progress && !progress(i + 1, total))
            return i + 1;
    }
    return total;
}

} // namespace orv

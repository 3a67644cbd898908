#pragma once

#include <QDate>
#include <QString>

namespace orv {

class DataCon;

// The holiday calendar: at most one holiday per date. Each change is written
// with its audit entry in one transaction. A change reaches a time record at
// the record's next generation.
class HolidayCalendar {
public:
    static const QString Regular; // "Regular Holiday"
    static const QString Special; // "Special Holiday"
    static constexpr int DescriptionLength = 50;

    HolidayCalendar(DataCon& db, QString userid) : m_db(db), m_userid(std::move(userid)) {}

    enum class AddResult { Added, DateTaken };
    // Throws UserError for an invalid date or an empty or too long description.
    AddResult add(const QDate& date, const QString& description);
    // False when no holiday has that id (already deleted elsewhere).
    bool remove(qint64 holidaysid);

private:
    DataCon& m_db;
    QString m_userid;
};

} // namespace orv

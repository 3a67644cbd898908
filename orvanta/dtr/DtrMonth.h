#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace orv {

// A calendar month of a time record, held by its first day.
class DtrMonth {
public:
    DtrMonth() = default;
    // The month that contains the given day.
    explicit DtrMonth(const QDate& anyDay);

    // "2024-03". Throws UserError naming the expected form.
    static DtrMonth parse(const QString& text);
    // The month of that name in the year (letter case ignored); invalid for an unknown name.
    static DtrMonth fromName(int year, const QString& name);
    // "January" .. "December".
    static const QStringList& names();

    bool isValid() const { return m_first.isValid(); }
    const QDate& first() const { return m_first; }
    QDate last() const { return m_first.addMonths(1).addDays(-1); }
    QDate nextFirst() const { return m_first.addMonths(1); }
    int year() const { return m_first.year(); }
    int month() const { return m_first.month(); }
    bool contains(const QDate& day) const { return isValid() && day >= m_first && day <= last(); }

    QString name() const;  // "March"
    QString label() const; // "March 2024"
    QString key() const;   // "2024-03"

    bool operator==(const DtrMonth& other) const { return m_first == other.m_first; }

private:
    QDate m_first;
};

} // namespace orv

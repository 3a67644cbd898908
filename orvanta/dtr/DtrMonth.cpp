#include "DtrMonth.h"

#include "data/Errors.h"

#include <QRegularExpression>

namespace orv {

DtrMonth::DtrMonth(const QDate& anyDay) {
    if (anyDay.isValid())
        m_first = QDate(anyDay.year(), anyDay.month(), 1);
}

DtrMonth DtrMonth::parse(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const QDate first = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1) : QDate();
    if (!first.isValid())
        throw UserError(
            QStringLiteral("\"%1\" is not a month: write it as YYYY-MM, for example 2024-03.").arg(text));
    return DtrMonth(first);
}

DtrMonth DtrMonth::fromName(int year, const QString& name) {
    for (qsizetype i = 0; i < names().size(); ++i)
        if (names().at(i).compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return DtrMonth(QDate(year, static_cast<int>(i) + 1, 1));
    return {};
}

const QStringList& DtrMonth::names() {
    static const QStringList list = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    return list;
}

QString DtrMonth::name() const {
    return isValid() ? names().at(month() - 1) : QString();
}

QString DtrMonth::label() const {
    return isValid() ? QStringLiteral("%1 %2").arg(name()).arg(year()) : QString();
}

QString DtrMonth::key() const {
    return isValid() ? m_first.toString(QStringLiteral("yyyy-MM")) : QString();
}

} // namespace orv

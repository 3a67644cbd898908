#include "DtrReport.h"

#include <QStringList>

namespace orv {

QString dtrFullName(const QString& first, const QString& middle, const QString& last, const QString& suffix) {
    QStringList parts;
    if (!first.trimmed().isEmpty())
        parts << first.trimmed();
    if (!middle.trimmed().isEmpty())
        parts << middle.trimmed().left(1) + QLatin1Char('.');
    if (!last.trimmed().isEmpty())
        parts << last.trimmed();
    if (!suffix.trimmed().isEmpty())
        parts << suffix.trimmed();
    return parts.join(QLatin1Char(' '));
}

} // namespace orv

#include "VersionCheck.h"

#include "IniFile.h"
#include "data/DataCon.h"
#include "data/Errors.h"
#include "platform/Platform.h"
#include "platform/ProgramLink.h"

#include <QRegularExpression>

namespace orv {

VersionCheck::VersionCheck(DataCon& db, IniFile& ini, QString installFolder)
    : m_db(db), m_ini(ini), m_installFolder(std::move(installFolder)) {}

void VersionCheck::warmUp(const std::function<void(const QString&)>& progress) {
    for (NamedQuery* q : m_db.namedQueries()) {
        if (progress)
            progress(QStringLiteral("Loding ") + q->name() + QStringLiteral("..."));
        try {
            q->run(m_db);
        } catch (...) { // a query that cannot open now opens with its screen
        }
    }
}

VersionCheck::Outcome VersionCheck::check(const QString& currentversion, const QString& apps) {
    Outcome out;
    if (currentversion.trimmed().isEmpty()) {
        out.notice = QStringLiteral("No newer version was looked for: the installed version "
                                    "([upControl] version) is not set.");
        return out;
    }
    // Published versions are numbers; anything else could not be compared.
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
    if (!number.match(currentversion.trimmed()).hasMatch()) {
        out.notice = QStringLiteral("No newer version was looked for: the installed version \"%1\" "
                                    "([upControl] version) is not a number.")
                         .arg(currentversion.trimmed());
        return out;
    }
    try {
        const QueryResult r =
            m_db.query(statement(), SqlParams().bind(QStringLiteral("value"), currentversion.trimmed()));
        out.queried = true;
        if (r.empty())
            return out;
        out.newer = r.text(0, QStringLiteral("update_ver"));
        m_ini.writeString(QStringLiteral("upControl"), QStringLiteral("versionup"), out.newer);
    } catch (...) {
        // The first line of the server's text says what went wrong.
        const QString reason =
            errorText(std::current_exception()).section(QLatin1Char('\n'), 0, 0).simplified();
        out.notice = QStringLiteral("The check for a newer version failed: %1").arg(reason);
        return out;
    }
    try {
        if (platform::ProgramFinder(m_installFolder).exists(updaterWindowClass())) {
            out.updaterRunning = true;
            return out;
        }
        if (apps.trimmed().isEmpty()) {
            out.notice =
                QStringLiteral("Version %1 is available, but no updater is set ([upControl] Upname).")
                    .arg(out.newer);
            return out;
        }
        const QString path = m_installFolder + QLatin1Char('/') + apps;
        out.updaterStarted = platform::openPath(path);
        if (!out.updaterStarted)
            out.notice = QStringLiteral("Version %1 is available, but the updater %2 could not be started.")
                             .arg(out.newer, path);
    } catch (...) {
        out.notice = QStringLiteral("Version %1 is available, but the updater could not be started: %2")
                         .arg(out.newer, errorText(std::current_exception()));
    }
    return out;
}

} // namespace orv

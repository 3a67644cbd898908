#pragma once

#include <QString>

#include <functional>

namespace orv {

class DataCon;
class IniFile;

// The start-up work behind the splash: open every named query once so the
// first screens come up quickly, then look in apps_update for the smallest
// published version above the installed one. When there is one it is written
// to [upControl] versionup and the updater (Relaybolt, [upControl] Upname in
// the install folder) is started, unless it is already running.
//
// Versions are compared by the database as numbers (apps_update.update_ver is
// numeric), so 10 comes after 9.
class VersionCheck {
public:
    struct Outcome {
        bool queried = false; // the version query ran
        QString newer;        // the version found, empty when none
        bool updaterRunning = false;
        bool updaterStarted = false;
        QString notice; // what the splash should tell: a failure or a skipped step
    };

    VersionCheck(DataCon& db, IniFile& ini, QString installFolder);

    // Opens each named query; errors are ignored. progress gets
    // "Loding " + name + "..." before each (called on the calling thread).
    void warmUp(const std::function<void(const QString&)>& progress);

    // Never throws: a failure comes back in notice.
    Outcome check(const QString& currentversion, const QString& apps);

    static QString statement() {
        return QStringLiteral("SELECT update_ver FROM apps_update WHERE update_ver > :value order by "
                              "update_ver asc limit 1 ");
    }
    static QString updaterWindowClass() { return QStringLiteral("TVelmora_Updater"); }

private:
    DataCon& m_db;
    IniFile& m_ini;
    QString m_installFolder;
};

} // namespace orv

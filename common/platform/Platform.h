#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Everything the programs need from the operating system. A port to another
// system replaces Platform.cpp.
namespace orv::platform {

// Folder in which the programs of one installation find each other's
// announcements: per user, per install folder.
QString announcementFolder(const QString& installFolder);

struct ProcessInfo {
    qint64 pid = 0;
    QString name;       // executable file name, e.g. "orvanta"
    QString executable; // full path when readable, else empty
};

// The processes running on this machine. Throws std::runtime_error when the
// list cannot be taken.
std::vector<ProcessInfo> processes();
bool processExists(qint64 pid);
qint64 currentPid();

// Starts a program or opens a file, without waiting for it. Returns false when
// it could not be started.
bool startDetached(const QString& program, const QStringList& arguments = {},
                   const QString& workingFolder = {});
// The shell's "open": a program is started, any other file is handed to the
// desktop's opener.
bool openPath(const QString& path);
// Starts a program with administrator rights through pkexec. Throws
// std::runtime_error with a clear message when that is not available.
bool startElevated(const QString& program, const QStringList& arguments = {});

// Gives unused heap memory back to the system.
void trimMemory();

} // namespace orv::platform

#include "Platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace orv::platform {

QString announcementFolder(const QString& installFolder) {
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isWritable())
        base = QDir::tempPath();
    const QByteArray scope =
        QCryptographicHash::hash(QDir(installFolder).canonicalPath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return base + QStringLiteral("/orvanta-%1/%2").arg(getuid()).arg(QString::fromLatin1(scope));
}

std::vector<ProcessInfo> processes() {
    QDir proc(QStringLiteral("/proc"));
    if (!proc.exists())
        throw std::runtime_error("The list of running programs cannot be read (/proc is missing).");
    std::vector<ProcessInfo> out;
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        ProcessInfo info;
        info.pid = pid;
        info.executable = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        if (!info.executable.isEmpty()) {
            info.name = QFileInfo(info.executable).fileName();
        } else {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            if (!comm.open(QIODevice::ReadOnly))
                continue; // ended while we looked
            info.name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        }
        out.push_back(std::move(info));
    }
    return out;
}

bool processExists(qint64 pid) {
    if (pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

qint64 currentPid() {
    return static_cast<qint64>(::getpid());
}

bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

bool openPath(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable())
        return startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !info.exists())
        return false;
    return startDetached(opener, {path});
}

bool startElevated(const QString& program, const QStringList& arguments) {
    if (::geteuid() == 0)
        return startDetached(program, arguments);
    const QString pkexec = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    if (pkexec.isEmpty())
        throw std::runtime_error("Administrator rights are needed to run " + program.toStdString() +
                                 ", but pkexec is not installed. Ask your system administrator to run it.");
    return startDetached(pkexec, QStringList{program} + arguments);
}

void trimMemory() {
    ::malloc_trim(0);
}

} // namespace orv::platform

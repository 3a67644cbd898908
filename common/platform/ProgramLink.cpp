#include "ProgramLink.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>

#include <optional>

namespace orv::platform {

namespace {

constexpr int ReplyTimeoutMs = 2000;
const QString Separator = QStringLiteral("@");

QString encodePart(const QString& s) {
    return QString::fromLatin1(QUrl::toPercentEncoding(s, {}, "@/"));
}
QString decodePart(const QString& s) {
    return QUrl::fromPercentEncoding(s.toLatin1());
}

QByteArray commandWord(ProgramCommand c) {
    switch (c) {
    case ProgramCommand::Close:
        return "close";
    case ProgramCommand::Quit:
        return "quit";
    case ProgramCommand::Restore:
        return "restore";
    case ProgramCommand::Minimise:
        return "minimise";
    case ProgramCommand::Ping:
        return "ping";
    case ProgramCommand::State:
        return "state";
    }
    return "ping";
}

// Connects to an announcement and exchanges one command; the answer after
// "ok", or nullopt when nobody answers.
std::optional<QByteArray> exchange(const QString& socketPath, ProgramCommand command) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(ReplyTimeoutMs))
        return std::nullopt;
    socket.write(commandWord(command) + '\n');
    if (!socket.waitForBytesWritten(ReplyTimeoutMs))
        return std::nullopt;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(ReplyTimeoutMs))
            return std::nullopt;
    const QByteArray reply = socket.readLine().trimmed();
    if (reply != "ok" && !reply.startsWith("ok "))
        return std::nullopt;
    return reply.mid(3);
}

// A live announcement accepts connections; one left by an ended program refuses them.
bool isLive(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    const bool live = socket.waitForConnected(ReplyTimeoutMs);
    socket.abort();
    return live;
}

} // namespace

ProgramAnnouncer::ProgramAnnouncer(QString installFolder, QObject* parent)
    : QObject(parent), m_installFolder(std::move(installFolder)) {}

ProgramAnnouncer::~ProgramAnnouncer() {
    for (auto& server : m_servers)
        server->close(); // removes the socket file
}

bool ProgramAnnouncer::announce(const QString& windowClass, const QString& title) {
    const QString folder = announcementFolder(m_installFolder);
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString path = folder + '/' + encodePart(windowClass) + Separator + encodePart(title);

    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        if (isLive(path))
            return false; // a live program holds it
        QLocalServer::removeServer(path);
        if (!server->listen(path))
            return false;
    }
    QLocalServer* raw = server.get();
    connect(raw, &QLocalServer::newConnection, this, [this, raw] { serve(*raw); });
    m_servers.push_back(std::move(server));
    return true;
}

void ProgramAnnouncer::serve(QLocalServer& server) {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray word = socket->readLine().trimmed();
                const QByteArray answer = word == "state" && m_state ? " " + m_state() : QByteArray();
                socket->write("ok" + answer + "\n");
                socket->flush();
                if (word == "close")
                    Q_EMIT closeRequested();
                else if (word == "quit")
                    Q_EMIT quitRequested();
                else if (word == "restore")
                    Q_EMIT restoreRequested();
                else if (word == "minimise")
                    Q_EMIT minimiseRequested();
            }
        });
    }
}

ProgramFinder::ProgramFinder(QString installFolder) : m_installFolder(std::move(installFolder)) {}

std::vector<ProgramEntry> ProgramFinder::find(const QString& windowClass, const QString& title) const {
    std::vector<ProgramEntry> found;
    const QDir folder(announcementFolder(m_installFolder));
    for (const QString& name : folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const qsizetype at = name.indexOf(Separator);
        if (at < 0)
            continue;
        ProgramEntry entry{decodePart(name.left(at)), decodePart(name.mid(at + 1)), folder.filePath(name)};
        if (!windowClass.isEmpty() && entry.windowClass != windowClass)
            continue;
        if (!title.isEmpty() && entry.title.compare(title, Qt::CaseInsensitive) != 0)
            continue;
        if (!isLive(entry.socketPath)) {
            QLocalServer::removeServer(entry.socketPath); // left by a program that ended abruptly
            continue;
        }
        found.push_back(std::move(entry));
    }
    return found;
}

bool ProgramFinder::exists(const QString& windowClass, const QString& title) const {
    return !find(windowClass, title).empty();
}

bool ProgramFinder::send(const QString& windowClass, const QString& title, ProgramCommand command) const {
    bool any = false;
    for (const ProgramEntry& entry : find(windowClass, title))
        any = exchange(entry.socketPath, command).has_value() || any;
    return any;
}

QByteArray ProgramFinder::state(const QString& windowClass, const QString& title) const {
    for (const ProgramEntry& entry : find(windowClass, title))
        if (const auto answer = exchange(entry.socketPath, ProgramCommand::State))
            return *answer;
    return {};
}

} // namespace orv::platform

#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLocalServer;

namespace orv::platform {

// What one program can ask another that has announced itself.
enum class ProgramCommand { Close, Quit, Restore, Minimise, Ping, State };

// A running program announces itself under a window class and a title, as a
// local socket in the install folder's announcement folder. Other programs of
// the same user and installation find it there and send it commands; the
// announcement ends with the object.
class ProgramAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit ProgramAnnouncer(QString installFolder, QObject* parent = nullptr);
    ~ProgramAnnouncer() override;

    // False when a live program already holds that class and title.
    bool announce(const QString& windowClass, const QString& title);
    // What the State command answers (for instance "minimised" or "normal").
    void setStateProvider(std::function<QByteArray()> provider) { m_state = std::move(provider); }

Q_SIGNALS:
    void closeRequested();
    void quitRequested();
    void restoreRequested();
    void minimiseRequested();

private:
    void serve(QLocalServer& server);

    QString m_installFolder;
    std::vector<std::unique_ptr<QLocalServer>> m_servers;
    std::function<QByteArray()> m_state;
};

struct ProgramEntry {
    QString windowClass;
    QString title;
    QString socketPath;
};

// Finds announced programs of the installation and sends them commands.
class ProgramFinder {
public:
    explicit ProgramFinder(QString installFolder);

    // Live programs; an empty class or title matches any. Titles compare
    // without letter case. Stale announcements of ended programs are removed.
    std::vector<ProgramEntry> find(const QString& windowClass, const QString& title = {}) const;
    bool exists(const QString& windowClass, const QString& title = {}) const;
    // Sends the command to every match; true when at least one confirmed it.
    bool send(const QString& windowClass, const QString& title, ProgramCommand command) const;
    // The State answer of the first match; empty when none answers.
    QByteArray state(const QString& windowClass, const QString& title = {}) const;

private:
    QString m_installFolder;
};

} // namespace orv::platform

#pragma once

#include <QObject>
#include <QString>

namespace orv {

class DataCon;
class IniFile;
struct Session;

// The program's start: in the background, read the installed version and the
// connection values from the settings file, decipher them and connect. On
// success `connected` is emitted on the UI thread; on failure `failed` is
// emitted there with the message to show and the technical reason, after
// which the program ends.
class StartupConnection : public QObject {
    Q_OBJECT
public:
    StartupConnection(DataCon& db, Session& session, IniFile& ini, QObject* parent = nullptr);

    // DataModuleCreate: returns at once.
    void start();

    static QString failureText() {
        return QStringLiteral("System Connection Failed, Please contact your System Administrator!");
    }
    static QString failureCaption() { return QStringLiteral("Connection error"); }

Q_SIGNALS:
    void connected();
    void failed(const QString& text, const QString& caption, const QString& reason);

private:
    DataCon& m_db;
    Session& m_session;
    IniFile& m_ini;
};

} // namespace orv

#include "StartupConnection.h"

#include "IniFile.h"
#include "data/Background.h"
#include "data/DataCon.h"
#include "data/Errors.h"
#include "data/Session.h"

namespace orv {

StartupConnection::StartupConnection(DataCon& db, Session& session, IniFile& ini, QObject* parent)
    : QObject(parent), m_db(db), m_session(session), m_ini(ini) {}

void StartupConnection::start() {
    AsyncAwait(
        this,
        [this] {
            const QString section = QStringLiteral("upControl");
            const QString version = m_ini.readString(section, QStringLiteral("version"));
            const QString upname = m_ini.readString(section, QStringLiteral("Upname"));
            try {
                const ConnectionSettings settings = ConnectionSettings::fromIni(m_ini);
                m_db.configure(settings);
                m_db.connect();
                postToUi(this, [this, version, upname, server = settings.server] {
                    m_session.currentversion = version;
                    m_session.apps = upname;
                    m_session.server = server;
                });
            } catch (const SettingsError& e) {
                postToUi(this, [this, text = e.text()] {
                    Q_EMIT failed(text, QStringLiteral("Settings error"), {});
                });
                throw;
            } catch (const std::exception& e) {
                postToUi(this, [this, reason = errorText(std::current_exception())] {
                    Q_EMIT failed(failureText(), failureCaption(), reason);
                });
                throw;
            }
        },
        [this] {
            m_session.con_stat = QStringLiteral("ok");
            Q_EMIT connected();
        });
}

} // namespace orv

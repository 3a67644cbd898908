// Orvanta: one running copy per user and installation; a second start brings
// the first to the front and ends.
#include "Dialogs.h"
#include "FrameContext.h"
#include "MainForm.h"
#include "StartupConnection.h"
#include "WelcomeForm.h"

#include "IniFile.h"
#include "data/Background.h"
#include "data/DataCon.h"
#include "data/Session.h"
#include "platform/ProgramLink.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

using namespace orv;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    const QString windowClass = QStringLiteral("TMainForm");
    const QString title = QStringLiteral("Orvanta");

    const platform::ProgramFinder finder(folder);
    if (finder.send(windowClass, title, platform::ProgramCommand::Restore))
        return 0;
    platform::ProgramAnnouncer announcer(folder);
    if (!announcer.announce(windowClass, title)) {
        finder.send(windowClass, title, platform::ProgramCommand::Restore);
        return 0;
    }
    // The updater also finds the program by the executable's base name.
    announcer.announce(QStringLiteral("TApplication"),
                       QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());

    Session session;
    session.IniName = QDir(folder).filePath(QStringLiteral("System_Control.ini"));
    IniFile ini(session.IniName);
    DataCon db;
    FrameContext context{db, session, ini};

    setUnhandledErrorHandler(
        [](const QString& message) { showError(nullptr, message, QStringLiteral("Orvanta")); });

    TMainForm MainForm(context, app.arguments().mid(1));
    QObject::connect(&announcer, &platform::ProgramAnnouncer::restoreRequested, &MainForm, [&MainForm] {
        if (MainForm.isMinimized())
            MainForm.showNormal();
        MainForm.raise();
        MainForm.activateWindow();
    });
    QObject::connect(&announcer, &platform::ProgramAnnouncer::minimiseRequested, &MainForm,
                     &QWidget::showMinimized);
    QObject::connect(&announcer, &platform::ProgramAnnouncer::closeRequested, &MainForm, &QWidget::close);
    QObject::connect(&announcer, &platform::ProgramAnnouncer::quitRequested, &app, &QCoreApplication::quit);
    announcer.setStateProvider(
        [&MainForm] { return MainForm.isMinimized() ? QByteArray("minimised") : QByteArray("normal"); });

    // A second loss of the connection ends the program.
    db.setFatalHandler(
        [](const QString&) { postToUi(QCoreApplication::instance(), [] { QCoreApplication::quit(); }); });

    StartupConnection startup(db, session, ini);
    QObject::connect(&startup, &StartupConnection::failed, &MainForm,
                     [&MainForm](const QString& text, const QString& caption, const QString& reason) {
                         Dialogs::current().message(nullptr, MsgIcon::Error, caption, text, QMessageBox::Ok,
                                                    reason);
                         MainForm.hide();
                         QCoreApplication::quit();
                     });
    // Connected: the splash (warm-up and version check), then the login.
    QObject::connect(&startup, &StartupConnection::connected, &MainForm, [&MainForm, &context] {
        TWelcome_forms splash(context, MainForm);
        Dialogs::current().showModal(splash);
    });

    MainForm.show();
    startup.start();
    const int status = app.exec();
    // Background bodies (the start-up, the splash's warm-up) use the
    // connection and the settings: let them end before those go.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}

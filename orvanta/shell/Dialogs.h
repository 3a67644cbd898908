#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace orv {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Every message box, file dialog and modal form of the program goes through
// this interface, so a test can answer them in advance instead of being
// blocked by them. The program installs the real one; tests install a
// scripted one (tests/fixtures/ScriptedDialogs.h).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Shows a message box; returns the button pressed. details, when given,
    // is offered behind a "Show Details..." button (for IT staff).
    virtual QMessageBox::StandardButton message(QWidget* parent, MsgIcon icon, const QString& caption,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                const QString& details = {}) = 0;
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter) = 0;
    // Shows one of the program's own forms modally; returns its result code.
    // When it has closed, the main window is activated again.
    virtual int showModal(QDialog& dialog) = 0;

    // The installed instance (the real dialogs unless a test installed its own).
    static Dialogs& current();
    // Installs d (not owned; nullptr restores the real dialogs).
    static void install(Dialogs* d);
    // Called after every modal form has closed (the main window's activation).
    static void setAfterModal(std::function<void()> hook);
    static void afterModal();
};

// Short forms for the common boxes; each uses Dialogs::current().
void showInformation(QWidget* parent, const QString& text, const QString& caption = {});
void showWarning(QWidget* parent, const QString& text, const QString& caption = {});
void showError(QWidget* parent, const QString& text, const QString& caption = {},
               const QString& details = {});
bool askYesNo(QWidget* parent, const QString& text, const QString& caption = {});

} // namespace orv

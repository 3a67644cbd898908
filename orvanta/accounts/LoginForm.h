#pragma once

#include "LoginService.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace orv {

struct FrameContext;
class TMainForm;

// The login dialog, shown modally after the splash. A granted login reveals
// the main window's ribbon and puts the welcome line into its status bar.
class TLogin_forms : public QDialog {
    Q_OBJECT
public:
    TLogin_forms(FrameContext& context, TMainForm& mainForm, QWidget* parent = nullptr);

    LoginService& service() { return m_service; }

    static QString wrongText() { return QStringLiteral("Wrong email/number or password!"); }
    static QString busyText() { return QStringLiteral("This account is already log-in to other unit!"); }
    static QString againText() { return QStringLiteral("Please log-in again, thank you!"); }

    QToolButton* sSpeedButton1 = nullptr; // "X"
    QLineEdit* sEdit1 = nullptr;          // user name
    QLineEdit* sEdit2 = nullptr;          // password
    QPushButton* sButton1 = nullptr;      // "LOGIN"
    QLabel* sWebLabel1 = nullptr;         // "forgot password?"
    QPushButton* sButton2 = nullptr;      // "Create new account"

public Q_SLOTS:
    void FormActivate();
    void login(const QString& username, const QString& password);
    void sButton1Click();
    void sSpeedButton1Click();
    void sWebLabel1Click();
    void sButton2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape does not dismiss the login: the program has no use without one.
    void reject() override {}

private:
    FrameContext& m_context;
    TMainForm& m_mainForm;
    LoginService m_service;
    bool m_closing = false;
};

} // namespace orv

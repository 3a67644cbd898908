#pragma once

#include "PasswordRecovery.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

namespace orv {

struct FrameContext;

// "forgot password?": a verified account gets a new password by mail.
class TForgotPass_forms : public QDialog {
    Q_OBJECT
public:
    explicit TForgotPass_forms(FrameContext& context, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;             // "Press enter to verify your username."
    QLineEdit* sEdit1 = nullptr;          // user name
    QToolButton* sSpeedButton1 = nullptr; // "Send to email"

public Q_SLOTS:
    void sEdit1Change();
    void verifyUsername();
    void sSpeedButton1Click();

private:
    FrameContext& m_context;
    PasswordRecovery m_recovery;
};

} // namespace orv

#pragma once

#include "SignupService.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orv {

struct FrameContext;

// "Create new account": stores an unverified account and mails its
// verification code, then asks for the code.
class TSignup_forms : public QDialog {
    Q_OBJECT
public:
    explicit TSignup_forms(FrameContext& context, QWidget* parent = nullptr);

    QLineEdit* sEdit1 = nullptr;     // first name
    QLineEdit* sEdit2 = nullptr;     // last name
    QLineEdit* sEdit3 = nullptr;     // user name
    QLineEdit* sEdit4 = nullptr;     // password
    QLineEdit* sEdit5 = nullptr;     // position
    QComboBox* sComboBox1 = nullptr; // office
    QLineEdit* sEdit6 = nullptr;     // e-mail address
    QLabel* sLabel1 = nullptr;       // "Sending activation code to your email."
    QPushButton* sButton1 = nullptr; // "Sign Up"

public Q_SLOTS:
    void FormActivate();
    void sEdit3Change();
    void sButton1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrameContext& m_context;
    SignupService m_service;
};

} // namespace orv
